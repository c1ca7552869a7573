#!/usr/bin/env bash
# Short fuzz runs for CI: builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) in build/fuzz, generates their seed corpora from the media
# synthesizers, and runs every target for FUZZ_SECONDS (default 60), one per processor at a time,
# from its seeds and the corpus earlier runs left. Fails on any crash, leak, timeout, out-of-memory or sanitizer report, and
# prints one summary line per target. A finding is kept in build/fuzz/artifacts; the reproducer
# is `build/fuzz/fuzz/<target> build/fuzz/artifacts/<file>`.
#   FUZZ_SECONDS   seconds per target (default 60)
#   FUZZ_TARGETS   targets to run, separated by spaces (default all)
#   FUZZ_JOBS      build jobs and targets run at once (default: the number of processors)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-deps.sh
# The core's build packages, and clang with its runtime (libFuzzer and the sanitizers).
rsf_install_packages g++ cmake ninja-build pkg-config libfmt-dev libcli11-dev nlohmann-json3-dev \
  libjpeg62-turbo-dev clang-14 libclang-rt-14-dev
if [ "$(dpkg --print-architecture 2>/dev/null)" = amd64 ]; then
  rsf_install_packages libhyperscan-dev
fi

seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-$(nproc)}
build=build/fuzz
targets=${FUZZ_TARGETS:-"clip_info_fuzzer scan_fuzzer rsfx_options_fuzzer cd_stream_fuzzer aspi_request_fuzzer"}

echo "== Fuzz targets (clang, ASan + UBSan)"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_GUI=OFF -DBUILD_TESTING=OFF -DBUILD_BENCH=OFF -DENABLE_FUZZING=ON -DENABLE_ASAN=ON \
  -DRSF_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs" --target fuzzers >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }

mkdir -p "$build/corpus" "$build/artifacts" "$build/logs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# One target per processor at a time; each writes its summary line to its own file.
run_target() {
  local target=$1 log="$build/logs/$1.log" status=0 execs coverage corpus
  mkdir -p "$build/corpus/$target"
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -max_len=16384 \
    -dict="$build/fuzz/signatures.dict" -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 \
    "$build/corpus/$target" "$build/fuzz/seeds/$target" >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2 || true)
  corpus=$(find "$build/corpus/$target" -type f | wc -l)
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
    printf '%-22s FAILED  see %s\n' "$target" "$log" >"$build/logs/$target.summary"
    grep -E 'ERROR:|runtime error:|SUMMARY:|check failed|Test unit written' "$log" | head -n 8 >&2 || true
  else
    printf '%-22s ok      %ss  %s execs  coverage %s  corpus %s\n' "$target" "$seconds" "${execs:-?}" \
      "${coverage:-?}" "$corpus" >"$build/logs/$target.summary"
  fi
}
for target in $targets; do
  rm -f "$build/logs/$target.summary"
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run_target "$target" &
done
wait

echo "== Fuzz summary"
failed=0
for target in $targets; do
  cat "$build/logs/$target.summary" 2>/dev/null || { printf '%-22s FAILED  no summary\n' "$target"; failed=1; }
  grep -q ' FAILED ' "$build/logs/$target.summary" 2>/dev/null && failed=1
done
exit "$failed"
