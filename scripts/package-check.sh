#!/usr/bin/env bash
# The Debian package and the installed programs: builds the package preset and
# rsf-extractor_<version>_<arch>.deb, validates the desktop entry and the AppStream data, checks
# the package with lintian (errors fail, warnings are listed), and where root asks apt whether
# its dependencies can be installed. Then it unpacks the package into a throw-away root and runs
# the programs from there: the installed rsfx on the demo source finds what the built one finds,
# and the installed window's self-check (offscreen) finds the same clips, its user guide and its
# ASPI provider inside that root.
#   scripts/package-check.sh
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/rsf-extractor_*.deb
(cd build/package && cpack -G DEB >/dev/null)
deb=$(ls build/package/rsf-extractor_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends Recommends | sed 's/^/  /'

desktop-file-validate packaging/rsf-extractor.desktop
appstreamcli validate --no-net packaging/io.github.rsf_extractor.metainfo.xml >/dev/null
echo "desktop entry and AppStream data: valid"

lintian --tag-display-limit 0 --info "$deb" > build/package/lintian.txt 2>&1 || true
if grep -q '^E:' build/package/lintian.txt; then
  echo "lintian found errors:"
  grep -E '^[EW]:' build/package/lintian.txt
  exit 1
fi
echo "lintian: $(grep -c '^W:' build/package/lintian.txt || true) warnings, no errors"
grep '^W:' build/package/lintian.txt | sed 's/^/  /' || true

if [ "$(id -u)" = 0 ]; then
  apt-get install --simulate -y "./$deb" >/dev/null
  echo "apt: the dependencies can be installed"
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
demo=build/package/demo/demo.bin
"$root/usr/bin/rsfx" --version
"$root/usr/bin/rsf-extractor" --version
"$root/usr/bin/rsfx" scan "$demo" --json > "$root/installed.json"
build/package/bin/rsfx scan "$demo" --json > "$root/built.json"
cmp "$root/installed.json" "$root/built.json"
clips=$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["clips"]))' "$root/installed.json")
echo "installed rsfx: $clips clips on the demo source, as the built one"

QT_QPA_PLATFORM=offscreen "$root/usr/bin/rsf-extractor" --self-check "$demo" > "$root/self-check.txt" 2>/dev/null
listed=$(grep -c '^文件 #' "$root/self-check.txt")
[ "$listed" = "$clips" ] || { echo "the installed window listed $listed clips, rsfx $clips"; cat "$root/self-check.txt"; exit 1; }
grep -qx "user guide: $root/usr/share/rsf-extractor/rsfextract.html (found)" "$root/self-check.txt" ||
  { echo "the installed window did not find its user guide:"; cat "$root/self-check.txt"; exit 1; }
grep -q "ASPI provider: $root/usr/lib/.*/rsf-extractor/libwnaspi32.so (found)" "$root/self-check.txt" ||
  { echo "the installed window did not find its ASPI provider:"; cat "$root/self-check.txt"; exit 1; }
echo "installed window: $listed clips, the user guide and the ASPI provider found inside the package"
