#!/usr/bin/env bash
# smoke.sh FUZZER SEED_CORPUS SECONDS: runs a fuzz target for a few seconds from its committed
# seeds. New inputs go to a scratch folder, so the committed corpus stays as it is; a crash
# input is kept in the build folder (crash-*) for the regression test.
set -euo pipefail
fuzzer=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=16384 -print_final_stats=1 \
    "$scratch" "$seeds"
