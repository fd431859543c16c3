#!/usr/bin/env bash
# Installs what is missing, builds, runs every test; then builds and runs the
# whole suite again with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# and gives every libFuzzer target a short run. Exit 0 only when all passed.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

fuzz_seconds=${PAGEWELL_FUZZ_SECONDS:-20}
jobs=$(nproc)

ensure_packages

echo "== build (g++)"
build_main
echo "== tests (g++)"
ctest --test-dir build --output-on-failure --parallel "$jobs"

echo "== build (clang, ASan + UBSan, fuzz targets)"
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DPAGEWELL_SANITIZE=ON -DPAGEWELL_FUZZ=ON -DPAGEWELL_BENCH=OFF >/dev/null
cmake --build build-asan --parallel "$jobs"
echo "== tests (ASan + UBSan)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-suppressions.txt"
ctest --test-dir build-asan --output-on-failure --parallel "$jobs"

echo "== fuzzing (${fuzz_seconds} s each)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pids=()
names=()
for target in build-asan/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -r "fuzz/corpus/$name/." "$work/$name/corpus/" 2>/dev/null || true
  fi
  extra=()
  # The HTML targets mutate with the vocabulary's tags and attribute names.
  case "$name" in
    fuzz_html_lexer|fuzz_html_parse|fuzz_render|fuzz_frameset) extra+=(-dict=build-asan/bin/html.dict) ;;
  esac
  # The viewer targets touch so many features per input that the entropic
  # schedule's rare-feature bookkeeping would cost most of each input.
  case "$name" in
    fuzz_render|fuzz_frameset) extra+=(-entropic=0) ;;
  esac
  "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 "${extra[@]}" \
    -artifact_prefix="$work/$name/artifacts/" "$work/$name/corpus" >"$work/$name/log" 2>&1 &
  pids+=($!)
  names+=("$name")
  # Keep at most one target per core running.
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
done
failed=0
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz ${names[$i]}: ok"
  else
    echo "fuzz ${names[$i]}: FAILED"; tail -n 40 "$work/${names[$i]}/log"; failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "== all passed"
