#!/usr/bin/env bash
# Cross-builds the core, rsfx, the Win32 desktop program and the test suites for 64-bit Windows
# with MinGW-w64 and runs every test program under Wine, in a private Wine prefix, through ctest.
# The Windows rsfx is checked against the Linux build's rsfx and demo source: RSF_LINUX_BUILD
# names that build (default build/dev); rsfx and the demo source are built there first when
# missing. Then it makes the zip and the installer and checks the installed programs under Wine
# (scripts/windows-package-check.sh), and builds the desktop program for 32-bit Windows (the
# windows-i686 preset), which nothing here can run. Ends with ctest's summary and exits
# non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/install-deps.sh

RSF_WINDOWS_PACKAGES=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix                    # the cross compiler, POSIX threads (std::thread)
  g++-mingw-w64-i686-posix                      # the 32-bit desktop program, checks of the ASPI request blocks
  wine64                                        # runs the Windows programs
  zip nsis                                      # the portable zip and the installer (makensis)
  googletest                                    # GoogleTest sources, built with the cross compiler
  libfmt-dev libcli11-dev nlohmann-json3-dev    # used header-only by the cross build
  locales                                       # zh_CN locale sources (localedef)
)
rsf_install_packages "${RSF_WINDOWS_PACKAGES[@]}"
jobs=$(nproc)
started=$SECONDS

# The Linux side of the comparison.
linux_build=${RSF_LINUX_BUILD:-build/dev}
linux_build=$(realpath -m "$linux_build")
if [ ! -x "$linux_build/bin/rsfx" ] || [ ! -f "$linux_build/demo/demo.bin" ]; then
  echo "== Linux rsfx and demo source ($linux_build)"
  if [ ! -f "$linux_build/build.ninja" ]; then
    rsf_install_packages "${RSF_BUILD_PACKAGES[@]}"
    cmake -S . -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DBUILD_GUI=OFF -DBUILD_TESTING=OFF -DBUILD_BENCH=OFF >/dev/null
  fi
  cmake --build "$linux_build" -j "$jobs" --target rsfx demo_source
fi

# The tests run Wine as on a Chinese Windows (ANSI code page 936: LC_ALL=zh_CN.UTF-8, set by the
# test preset and here for every Wine process). Wine also needs that locale on the host to store
# non-ASCII file names; a private copy (LOCPATH, also in the preset) leaves the system's locales
# alone.
if [ ! -f build/windows/locale/zh_CN.UTF-8/LC_CTYPE ]; then
  mkdir -p build/windows/locale
  localedef -i zh_CN -f UTF-8 build/windows/locale/zh_CN.UTF-8
fi
wine_locale=(env LC_ALL=zh_CN.UTF-8 LOCPATH="$PWD/build/windows/locale")

# A Wine prefix of our own, kept between runs. One Wine server, started here and kept up for the
# whole run, serves every test program; its background services are started once, before the
# tests, with no pipe of ours to hold open (see scripts/wine-run.sh).
# Wine's menu builder stays off: shortcuts made in the prefix must not reach the host's menus.
export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;wnaspi32=n;winemenubuilder.exe=d"
mkdir -p build/windows
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Wine prefix $WINEPREFIX"
  "${wine_locale[@]}" /usr/lib/wine/wine64 wineboot -i </dev/null >build/windows/wineboot.log 2>&1 \
    || { cat build/windows/wineboot.log; exit 1; }
  /usr/lib/wine/wineserver -w
fi
# A CD drive for the device stream: r: is a folder, its raw device r:: the Linux demo source as a
# disc image. Wine takes the drive's type from the registry when its server starts.
mkdir -p build/windows/cd-drive
ln -sfn "$PWD/build/windows/cd-drive" "$WINEPREFIX/dosdevices/r:"
ln -sfn "$linux_build/demo/demo.bin" "$WINEPREFIX/dosdevices/r::"
if ! grep -q '^"r:"="cdrom"' "$WINEPREFIX/system.reg"; then
  "${wine_locale[@]}" /usr/lib/wine/wine64 reg add 'HKLM\Software\Wine\Drives' /v r: /d cdrom /f </dev/null >>build/windows/wineboot.log 2>&1
  /usr/lib/wine/wineserver -w
fi
export RSF_WINE_CD_DRIVE=r: RSF_WINE_CD_IMAGE="$linux_build/demo/demo.bin"
# The Win32 desktop program's tests make real windows without a screen: Wine's null graphics
# driver, chosen in the prefix before its server starts.
if ! grep -q '^"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  "${wine_locale[@]}" /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >>build/windows/wineboot.log 2>&1
  /usr/lib/wine/wineserver -w
fi

/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"${wine_locale[@]}" /usr/lib/wine/wine64 wineboot </dev/null >>build/windows/wineboot.log 2>&1

echo "== Windows cross build"
cmake --preset windows -DRSF_LINUX_DEMO_SOURCE="$linux_build/demo/demo.bin" \
  -DRSF_LINUX_RSFX="$linux_build/bin/rsfx" >build/windows-configure.log 2>&1 \
  || { cat build/windows-configure.log; exit 1; }
cmake --build --preset windows -j "$jobs"

echo "== Windows tests under Wine"
status=0
# A Wine process that starts while another is setting up can fail before the test program runs
# (seen as a failure after 0.00 s): such a test is started again, at most twice. A test that
# really fails fails all three times.
ctest --preset windows -j "$jobs" --repeat until-pass:3 >build/windows-ctest.log 2>&1 || status=$?
echo "Windows build and tests took $((SECONDS - started)) s"
if [ $status -ne 0 ]; then
  cat build/windows-ctest.log
  exit $status
fi

echo "== Windows packages and the installed programs"
step_started=$SECONDS
"${wine_locale[@]}" scripts/windows-package-check.sh "$linux_build"
echo "Windows packages and installed programs took $((SECONDS - step_started)) s"

# The 32-bit program is built, not run: Wine's 32-bit side is not installed here.
echo "== 32-bit Windows build of the desktop program"
step_started=$SECONDS
cmake --preset windows-i686 >build/windows-i686-configure.log 2>&1 || { cat build/windows-i686-configure.log; exit 1; }
cmake --build --preset windows-i686 -j "$jobs" >build/windows-i686-build.log 2>&1 ||
  { tail -n 60 build/windows-i686-build.log; exit 1; }
echo "32-bit build took $((SECONDS - step_started)) s"

sed -n '/tests passed/,$p' build/windows-ctest.log
