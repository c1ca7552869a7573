#!/usr/bin/env bash
# Builds and tests RSF-Extractor: an AddressSanitizer + UndefinedBehaviorSanitizer build of the
# core tests, then the full build (warnings as errors, desktop program included) with every
# test. Ends with ctest's summary of the full build.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/install-deps.sh
rsf_install_packages "${RSF_BUILD_PACKAGES[@]}" "${RSF_TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== Sanitizer build of the core tests"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" >build/asan-ctest.log 2>&1 || { cat build/asan-ctest.log; exit 1; }
tail -n 3 build/asan-ctest.log

echo "== Full build"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"
