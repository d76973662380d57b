#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 20). With --keep,
# new inputs are merged into the repository's corpora; otherwise they go to a scratch folder.
# Usage: scripts/fuzz.sh [SECONDS] [--keep]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
keep=${2:-}
cmake -S tests/fuzz -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
ninja -C build/fuzz >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in fuzz_commands fuzz_answer fuzz_discovery fuzz_chart_csv; do
  corpus=tests/fuzz/corpus/$target
  mkdir -p "$scratch/$target"
  build/fuzz/$target -max_total_time="$seconds" -max_len=70000 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$scratch/$target" "$corpus" 2>"$scratch/$target.log" \
    || { tail -40 "$scratch/$target.log"; echo "fuzz: $target FAILED"; exit 1; }
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$target.log" | grep -o '[0-9]*$')
  echo "fuzz: $target passed ($runs inputs in ${seconds}s)"
  if [ "$keep" = --keep ]; then
    build/fuzz/$target -merge=1 "$corpus" "$scratch/$target" 2>/dev/null
  fi
done
