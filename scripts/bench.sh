#!/usr/bin/env bash
# Runs every benchmark program (every executable bench_* in <builddir>/bench) and prints its figures.
# Extra arguments go to each program (for example --benchmark_filter=Lookup). Fails if any fails.
set -euo pipefail

build=${1:?usage: bench.sh <builddir> [program arguments...]}
shift

shopt -s nullglob
programs=()
for p in "$build"/bench/bench_*; do
  [ -f "$p" ] && [ -x "$p" ] && programs+=("$p")
done
if [ ${#programs[@]} -eq 0 ]; then
  echo "bench.sh: no bench_* programs in $build/bench" >&2
  exit 1
fi

failed=()
for program in "${programs[@]}"; do
  echo "==== $(basename "$program")"
  "$program" "$@" || failed+=("$(basename "$program")")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "bench.sh: failed: ${failed[*]}" >&2
  exit 1
fi
