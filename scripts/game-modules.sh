#!/usr/bin/env bash
# Copies the tracker modules that Debian's game data packages ship into FOLDER: MOD
# (tecnoballz-data), S3M (gweled), XM (ceferino-data) and IT (pingus-data) files, fetched with
# apt-get download and unpacked with dpkg; nothing is installed. Exits non-zero when a package
# cannot be fetched (no package lists, no network).
#   scripts/game-modules.sh FOLDER
set -eu
out=${1:?usage: game-modules.sh FOLDER}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download tecnoballz-data gweled ceferino-data pingus-data >/dev/null 2>&1
mkdir -p "$out"
for deb in ./*.deb; do
  dpkg --fsys-tarfile "$deb" | tar -x --wildcards '*.mod' '*.s3m' '*.xm' '*.it' 2>/dev/null || true
done
find . -type f \( -name '*.mod' -o -name '*.s3m' -o -name '*.xm' -o -name '*.it' \) -exec cp {} "$out"/ \;
ls "$out"
