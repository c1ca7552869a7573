#!/usr/bin/env bash
# Builds RSF-Extractor in Release and runs it: the desktop program when a display is
# available, otherwise the command line rsfx on the same source.
#   ./run.sh [SOURCE]      (default: the bundled demo source)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/install-deps.sh
rsf_install_packages "${RSF_BUILD_PACKAGES[@]}"

cmake --preset release >/dev/null
cmake --build --preset release

source_file="${1:-build/release/demo/demo.bin}"
gui=build/release/bin/rsf-extractor
if [ -x "$gui" ] && { [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; }; then
  exec "$gui" "$source_file"
fi
if [ -x "$gui" ]; then
  echo "No display found (DISPLAY is not set): running the command line rsfx instead." >&2
fi
exec build/release/bin/rsfx scan "$source_file"
