#!/usr/bin/env bash
# The demonstration: a fresh machine root in a temporary folder, then every step of
# tools/demo/*.sh in name order. Each step prints a short account of what it did.
set -euo pipefail
build=${1:?usage: demo.sh BUILD-DIR}
here=$(cd "$(dirname "$0")" && pwd)
export DEMO_BUILD=$(cd "$build" && pwd)
export DEMO_SOURCE=$(cd "$here/.." && pwd)
export DEMO_OUT=${DEMO_OUT:-$DEMO_SOURCE/demo-output}
export TAVIRO_NOW=${TAVIRO_NOW:-2026-12-07 09:05:00}
export DEMO_ROOT=$(mktemp -d)/machine
mkdir -p "$DEMO_ROOT/C"   # a fresh machine with drive C:; the tools never create a named root
export QUILLMERE="$DEMO_BUILD/bin/quillmere"
rm -rf "$DEMO_OUT"
mkdir -p "$DEMO_OUT"
echo "Machine root: $DEMO_ROOT"
echo "Output folder: $DEMO_OUT"
for step in "$here"/demo/*.sh; do
    echo
    echo "== $(basename "$step" .sh)"
    bash "$step"
done
