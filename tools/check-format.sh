#!/usr/bin/env bash
# Fails when a tracked C++ file differs from .clang-format.
#
# usage: tools/check-format.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t candidates < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t candidates < <(find . -type f \( -name '*.cpp' -o -name '*.h' \) \
                                  -not -path './build*' | sed 's|^\./||' | sort)
fi

files=("${candidates[@]}")

clang-format --dry-run --Werror "${files[@]}"
echo "Format: ${#files[@]} files as .clang-format wants them."
