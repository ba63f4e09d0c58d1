#!/usr/bin/env bash
# Runs every libFuzzer program of a fuzz build for the given seconds each, one after the other.
# The corpus grows under <builddir>/corpus/<program> and is kept for the next run; seeds come from
# fuzz/corpus/<program> and a dictionary from fuzz/<program>.dict when they exist. Any crash,
# sanitizer finding, leak, time-out or memory blow-up makes the script fail; its input is kept in
# <builddir>/artifacts/<program>/.
set -euo pipefail

build=${1:?usage: fuzz.sh <builddir> [seconds]}
seconds=${2:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
programs=()
for p in "$build"/fuzz/fuzz_*; do
  [ -f "$p" ] && [ -x "$p" ] && programs+=("$p")
done
if [ ${#programs[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz_* programs in $build/fuzz" >&2
  exit 1
fi

failed=()
printf '%-24s %12s %8s %8s %10s %8s  %s\n' program execs exec/s cov features corpus result
for program in "${programs[@]}"; do
  name=$(basename "$program")
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  log="$build/$name.log"
  mkdir -p "$corpus" "$artifacts"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$artifacts/")
  [ -f "$source_dir/fuzz/$name.dict" ] && args+=(-dict="$source_dir/fuzz/$name.dict")
  dirs=("$corpus")
  [ -d "$source_dir/fuzz/corpus/$name" ] && dirs+=("$source_dir/fuzz/corpus/$name")

  result=ok
  if ! "$program" "${args[@]}" "${dirs[@]}" >"$log" 2>&1; then
    result="FAILED (log: $log)"
    failed+=("$name")
  fi

  # Figures from libFuzzer's last status line and its final statistics.
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
  printf '%-24s %12s %8s %8s %10s %8s  %s\n' "$name" "${execs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" \
    "${corp:-?}" "$result"
done

if [ ${#failed[@]} -gt 0 ]; then
  for name in "${failed[@]}"; do
    log="$build/$name.log"
    echo "---- $name ($log)" >&2
    # The finding's report (sanitizer, deadly signal, time-out or memory) and where its input went.
    first=$(grep -n -m 1 -E '^==[0-9]+== *(ERROR|WARNING)|deadly signal|ALARM|out-of-memory|runtime error' "$log" \
            | cut -d: -f1 || true)
    if [ -n "$first" ]; then
      sed -n "$((first > 3 ? first - 3 : 1)),$((first + 30))p" "$log" >&2
    else
      tail -n 40 "$log" >&2
    fi
    grep -E 'Test unit written|^Base64:' "$log" >&2 || true
  done
  echo "fuzz.sh: findings in: ${failed[*]}" >&2
  exit 1
fi
