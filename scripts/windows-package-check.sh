#!/usr/bin/env bash
# The Windows packages and the installed programs, under Wine: builds the zip and the installer
# of the windows build (target windows_package), checks what the zip holds, installs silently as
# a user does by default (for the current user, no administrator rights), runs the installed
# programs — rsf-extractor.exe --self-check on the Linux build's demo source, whose clip list must
# be the Linux rsfx's (and the Linux window's, where that build has one), and both programs'
# --version — checks the Start-menu shortcut and the Uninstall key, then uninstalls silently:
# the installed files, the shortcut and the key must be gone, a file of the user's in the
# program's folder must stay, and without it the folder must go.
# Wine's programs always run with administrator rights, where the installer would install for
# all users: /CurrentUser asks for what a user without them gets. The installed programs are
# started by their Windows names, as the Start menu starts them (a program started by its Linux
# name sees its folder on drive Z:).
# Run by scripts/windows-tests.sh inside its Wine prefix, with its Wine server up:
#   scripts/windows-package-check.sh LINUX_BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
linux_build=$1
wine=/usr/lib/wine/wine64
: "${WINEPREFIX:?the Wine prefix of scripts/windows-tests.sh}"
# Installing makes a Start-menu shortcut; Wine's menu builder would copy it into the host's
# desktop menus.
[[ ${WINEDLLOVERRIDES:-} == *winemenubuilder.exe=d* ]] ||
  { echo "WINEDLLOVERRIDES must disable winemenubuilder.exe"; exit 1; }

cmake --build --preset windows --target windows_package >build/windows-package.log 2>&1 ||
  { cat build/windows-package.log; exit 1; }
zip=$(ls build/windows/package/RSF-Extractor-*-x64.zip)
setup=$(ls build/windows/package/RSF-Extractor-*-x64-setup.exe)
echo "packages: $(basename "$zip") ($(stat -c %s "$zip") bytes), $(basename "$setup") ($(stat -c %s "$setup") bytes)"
files="COPYRIGHT.txt README.md rsf-extractor.exe rsfextract.html rsfx.exe wnaspi32.dll"
zipped=$(zip -sf "$zip" | sed -n 's|^  RSF-Extractor/\(..*\)$|\1|p' | LC_ALL=C sort | tr '\n' ' ')
[ "$zipped" = "$files " ] || { echo "the zip holds: $zipped; expected: $files"; exit 1; }

# Wine names the user's folders after the Unix user.
user=$(id -un)
profile="$WINEPREFIX/drive_c/users/$user"
folder="$profile/AppData/Local/Programs/RSF-Extractor"
windows_folder="C:\\users\\$user\\AppData\\Local\\Programs\\RSF-Extractor"
shortcut="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/RSF-Extractor.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\RSF-Extractor'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# What an earlier, failed run may have left.
rm -rf "$folder" "$shortcut"
$wine reg delete "$key" /f </dev/null >/dev/null 2>&1 || true

$wine "$setup" /S /CurrentUser </dev/null
for file in $files Uninstall.exe; do
  [ -f "$folder/$file" ] || { echo "not installed: $windows_folder\\$file"; ls -la "$folder" || true; exit 1; }
done
[ -f "$shortcut" ] || { echo "no Start-menu shortcut: $shortcut"; exit 1; }
$wine reg query "$key" /v UninstallString </dev/null >"$work/key.txt" 2>&1 ||
  { echo "no Uninstall key $key"; cat "$work/key.txt"; exit 1; }
grep -qF "\"$windows_folder\\Uninstall.exe\"" "$work/key.txt" || { echo "the Uninstall key names:"; cat "$work/key.txt"; exit 1; }
echo "installed for the user into $windows_folder, with its Start-menu shortcut and Uninstall key"

# The installed window's self-check (its output redirected to a file), against the Linux rsfx.
demo="$linux_build/demo/demo.bin"
status=0
$wine "$windows_folder\\rsf-extractor.exe" --self-check "Z:${demo//\//\\}" </dev/null >"$work/self-check.raw" || status=$?
tr -d '\r' <"$work/self-check.raw" >"$work/self-check.txt"
[ $status = 0 ] || { echo "the installed window's self-check failed ($status):"; cat "$work/self-check.txt"; exit 1; }
"$linux_build/bin/rsfx" scan "$demo" | grep '^文件 #' >"$work/rsfx-list.txt"
grep '^文件 #' "$work/self-check.txt" >"$work/window-list.txt" || true
diff "$work/rsfx-list.txt" "$work/window-list.txt" >"$work/list.diff" ||
  { echo "the installed window's list differs from the Linux rsfx's:"; cat "$work/list.diff"; exit 1; }
for line in "user guide: $windows_folder\\rsfextract.html (found)" "ASPI provider: $windows_folder\\wnaspi32.dll (found)" \
            "target prefix: C:\\users\\$user\\Documents\\Clip"; do
  grep -qxF "$line" "$work/self-check.txt" || { echo "the self-check lacks \"$line\":"; cat "$work/self-check.txt"; exit 1; }
done
if [ -x "$linux_build/bin/rsf-extractor" ]; then
  QT_QPA_PLATFORM=offscreen "$linux_build/bin/rsf-extractor" --self-check "$demo" >"$work/linux-self-check.txt" 2>/dev/null || true
  diff <(grep -E '^(文件 #|status: )' "$work/linux-self-check.txt") <(grep -E '^(文件 #|status: )' "$work/self-check.txt") ||
    { echo "the installed window's list or status differs from the Linux window's"; exit 1; }
fi
echo "installed window: $(wc -l <"$work/window-list.txt") clips on the demo source, as the Linux rsfx; user guide, ASPI provider and a target in Documents found"

# Both --version lines, one output through a pipe, one into a file.
linux_version=$("$linux_build/bin/rsfx" --version)
$wine "$windows_folder\\rsfx.exe" --version </dev/null | tr -d '\r' >"$work/rsfx-version.txt"
$wine "$windows_folder\\rsf-extractor.exe" --version </dev/null >"$work/window-version.txt"
[ "$(cat "$work/rsfx-version.txt")" = "$linux_version" ] ||
  { echo "installed rsfx.exe --version: $(cat "$work/rsfx-version.txt"); Linux rsfx: $linux_version"; exit 1; }
[ "$(tr -d '\r' <"$work/window-version.txt")" = "rsf-extractor ${linux_version#rsfx }" ] ||
  { echo "installed rsf-extractor.exe --version: $(cat "$work/window-version.txt")"; exit 1; }
echo "installed programs: $(cat "$work/rsfx-version.txt"); $(tr -d '\r' <"$work/window-version.txt")"

# Uninstalling in place (_?=) waits for the end; the uninstaller cannot remove its own running
# file then, so it stays behind with the user's file.
echo "a clip the user extracted" >"$folder/Clip1.txt"
$wine "$windows_folder\\Uninstall.exe" /S "_?=$windows_folder" </dev/null
left=$(cd "$folder" && ls -A | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "Clip1.txt Uninstall.exe " ] || { echo "left after uninstalling: $left"; exit 1; }
[ ! -e "$shortcut" ] || { echo "the Start-menu shortcut is left: $shortcut"; exit 1; }
if $wine reg query "$key" </dev/null >/dev/null 2>&1; then echo "the Uninstall key is left: $key"; exit 1; fi
echo "uninstalled: the programs, the shortcut and the key removed, the user's file kept"

# As Settings → Apps runs it, the uninstaller hands its work to a copy of itself and returns at
# once; the copy removes the uninstaller and the folder too.
rm "$folder/Clip1.txt"
$wine "$setup" /S /CurrentUser </dev/null
$wine "$windows_folder\\Uninstall.exe" /S </dev/null
for _ in $(seq 600); do
  [ -e "$folder" ] || break
  sleep 0.1
done
[ ! -e "$folder" ] || { echo "left after uninstalling: $(ls -A "$folder" | tr '\n' ' ')"; exit 1; }
echo "uninstalled again: the program's folder is gone"
