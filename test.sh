#!/usr/bin/env bash
# Builds and tests RSF-Extractor:
#   1. an AddressSanitizer + UndefinedBehaviorSanitizer build of the core tests;
#   2. a ThreadSanitizer build of the core tests (the background read-ahead and its failures);
#   3. the Windows build (MinGW-w64) with its tests under Wine, its zip and installer with the
#      installed programs checked under Wine, and the 32-bit Windows programs built;
#   4. short runs of every fuzz target (clang, libFuzzer, ASan + UBSan);
#   5. the Debian package: lintian, the desktop entry and AppStream validators, and the
#      installed programs run from the unpacked package (scripts/package-check.sh);
#   6. the full Linux build (warnings as errors, desktop program included) with every test.
# Ends with ctest's summary of the full build.
#   RSF_SKIP_WINDOWS=1 leaves out step 3, RSF_SKIP_FUZZ=1 step 4 and RSF_SKIP_PACKAGE=1 step 5
#   (for quick local runs).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/install-deps.sh
rsf_install_packages "${RSF_BUILD_PACKAGES[@]}" "${RSF_TEST_PACKAGES[@]}"
rsf_chinese_locale
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
mkdir -p build

echo "== Sanitizer build of the core tests"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" >build/asan-build.log 2>&1 || { tail -n 60 build/asan-build.log; exit 1; }
ctest --preset asan -j "$jobs" >build/asan-ctest.log 2>&1 || { cat build/asan-ctest.log; exit 1; }
tail -n 3 build/asan-ctest.log

echo "== ThreadSanitizer build of the core tests"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" >build/tsan-build.log 2>&1 || { tail -n 60 build/tsan-build.log; exit 1; }
ctest --preset tsan -j "$jobs" >build/tsan-ctest.log 2>&1 || { cat build/tsan-ctest.log; exit 1; }
tail -n 3 build/tsan-ctest.log

echo "== Full build"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs" >build/dev-build.log 2>&1 || { tail -n 60 build/dev-build.log; exit 1; }

if [ "${RSF_SKIP_WINDOWS:-0}" != 1 ]; then
  echo "== Windows build and its tests under Wine"
  RSF_LINUX_BUILD="$PWD/build/dev" scripts/windows-tests.sh >build/windows-tests.log 2>&1 \
    || { tail -n 80 build/windows-tests.log; exit 1; }
  grep -E ' took [0-9]+ s$' build/windows-tests.log || true
  tail -n 4 build/windows-tests.log
fi

if [ "${RSF_SKIP_FUZZ:-0}" != 1 ]; then
  echo "== Short fuzz runs"
  FUZZ_SECONDS="${FUZZ_SECONDS:-60}" scripts/fuzz-smoke.sh >build/fuzz-smoke.log 2>&1 \
    || { tail -n 60 build/fuzz-smoke.log; exit 1; }
  grep -E '^ *[a-z_]+_fuzzer' build/fuzz-smoke.log || tail -n 8 build/fuzz-smoke.log
fi

if [ "${RSF_SKIP_PACKAGE:-0}" != 1 ]; then
  echo "== Debian package and the installed programs"
  scripts/package-check.sh >build/package-check.log 2>&1 || { tail -n 60 build/package-check.log; exit 1; }
  sed -n '/^package: /,$p' build/package-check.log
fi

echo "== Tests of the full build"
ctest --preset dev -j "$jobs"
