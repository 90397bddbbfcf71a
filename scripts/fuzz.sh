#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), makes their seed corpora and runs each target for a
# while, then prints a summary table.
#
#   scripts/fuzz.sh [SECONDS-PER-TARGET] [TARGET...]
#
#   SECONDS-PER-TARGET  default 60
#   TARGET              names like png_decoder_fuzz (or png_decoder); default all
#   FUZZ_BUILD          build folder (default build-fuzz)
#   FUZZ_JOBS           targets run at once (default 1)
#
# The corpora grow in $FUZZ_BUILD/corpus/<target> from run to run; each run keeps
# its logs and any crash, hang, leak or out-of-memory input in
# $FUZZ_BUILD/runs/<time>/<target>/. Exits non-zero when any target found one.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-60}
shift || true
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "usage: $0 [seconds-per-target] [target...]" >&2
  exit 2
fi
build=${FUZZ_BUILD:-build-fuzz}
[[ "$build" = /* ]] || build="$root/$build"
jobs=${FUZZ_JOBS:-1}

echo "== configure and build the fuzz targets in $build"
CC=clang CXX=clang++ cmake -S . -B "$build" -DTAVRICK_FUZZ=ON -DTAVRICK_TESTS=OFF -DTAVRICK_BENCH=OFF \
  >/dev/null
cmake --build "$build" --target fuzz_all -j"$(nproc)"

all_targets=()
for src in fuzz/*_fuzz.cpp; do
  all_targets+=("$(basename "$src" .cpp)")
done
targets=()
if (($# == 0)); then
  targets=("${all_targets[@]}")
else
  for name in "$@"; do
    name=${name%_fuzz}_fuzz
    if [[ ! -f "fuzz/$name.cpp" ]]; then
      echo "error: no fuzz target $name (have: ${all_targets[*]})" >&2
      exit 2
    fi
    targets+=("$name")
  done
fi
if ((${#targets[@]} == 0)); then
  echo "error: no fuzz targets found in fuzz/" >&2
  exit 1
fi

echo "== seed corpora in $build/corpus"
fuzz/make-seeds.sh "$build" "$build/corpus" >/dev/null

run_dir="$build/runs/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$run_dir"
echo "== running ${#targets[@]} target(s) for ${seconds}s each, $jobs at a time; logs in $run_dir"

# Leaks are checked by libFuzzer itself after every input that allocated more
# than it freed; a report ends the run with a leak-* file.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=0:detect_leaks=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_target() {
  local target=$1 dir="$run_dir/$1"
  mkdir -p "$dir" "$build/corpus/$target"
  local args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
              -artifact_prefix="$dir/")
  [[ -f "fuzz/dicts/$target.dict" ]] && args+=(-dict="$root/fuzz/dicts/$target.dict")
  local status=0
  (cd "$dir" && "$build/fuzz/$target" "${args[@]}" "$build/corpus/$target" >"$dir/log" 2>&1) || status=$?
  echo "$status" >"$dir/status"
  echo "   $target done (exit $status)"
}

for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do
    wait -n || true
  done
  run_target "$target" &
done
wait

# The summary: executions and coverage from the final statistics (or the last
# status line when the run ended early), and the inputs each target left behind.
failed=0
printf '\n%-26s %12s %8s %8s %8s  %s\n' target executions cov ft corpus result
for target in "${targets[@]}"; do
  dir="$run_dir/$target"
  log="$dir/log"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  status_line=$(grep -E '^#[0-9]+' "$log" | tail -n1 || true)
  [[ -n "$executions" ]] || executions=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$status_line")
  cov=$(grep -oE 'cov: [0-9]+' <<<"$status_line" | awk '{print $2}')
  ft=$(grep -oE 'ft: [0-9]+' <<<"$status_line" | awk '{print $2}')
  corpus=$(find "$build/corpus/$target" -type f | wc -l)
  found=$(find "$dir" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' -o -name 'slow-unit-*' \) -printf '%f ' | sed 's/ $//')
  result=ok
  if [[ -n "$found" ]]; then
    result="FOUND: $found"
    failed=1
  elif [[ "$(cat "$dir/status")" != 0 ]]; then
    result="FAILED (exit $(cat "$dir/status")), see $log"
    failed=1
  fi
  printf '%-26s %12s %8s %8s %8s  %s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" "$corpus" "$result"
done
echo
if ((failed)); then
  echo "Fuzzing found faults: the inputs are in $run_dir/<target>/ (reproduce: $build/fuzz/<target> FILE)."
  exit 1
fi
echo "Every target ran ${seconds}s without a crash, hang or leak."
