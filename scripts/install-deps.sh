#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that
# are missing. Sourced by run.sh and test.sh; needs root (apt-get) when something is missing.

# Building the core, rsfx and the desktop program.
RSF_BUILD_PACKAGES=(
  g++ cmake ninja-build pkg-config git          # compiler and build tools
  libfmt-dev                                    # text formatting
  libcli11-dev                                  # rsfx option parsing
  nlohmann-json3-dev                            # rsfx --json output
  libjpeg62-turbo-dev                           # JPEG encoding (synthesized media) and decoding (picture window)
  qt6-base-dev qt6-multimedia-dev               # the desktop program
  libgl-dev                                     # OpenGL headers Qt's CMake files ask for
  fonts-arphic-uming                            # a Song-style Simplified Chinese font for the window
  xdg-utils                                     # xdg-open: clips handed to the desktop's associated program
  qt6-translations-l10n                         # Qt's own texts (dialog buttons, context menus) in Chinese
  # The built-in player: Qt Multimedia plays through GStreamer; these plugins demultiplex and
  # decode WAVE, AVI, MPEG-1, MP3 and QuickTime clips.
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  librsvg2-bin                                  # rsvg-convert: the icon's PNG sizes from its SVG
)
# Hyperscan (one-pass signature search) exists for amd64 only; elsewhere the portable
# matcher is used.
if [ "$(dpkg --print-architecture 2>/dev/null)" = amd64 ]; then
  RSF_BUILD_PACKAGES+=(libhyperscan-dev)
fi
# Running the tests.
RSF_TEST_PACKAGES=(
  libgtest-dev libgmock-dev                     # GoogleTest and GoogleMock
  ffmpeg                                        # real media made at test time, and ffprobe
  sox imagemagick                               # sound files and pictures made at test time
  libimage-exiftool-perl                        # Exif JPEGs with thumbnails made at test time
  dpkg-dev lintian                              # the Debian package: dpkg-shlibdeps, its checks
  desktop-file-utils appstream                  # validating the desktop entry and the AppStream data
  locales libc-l10n                             # the system's error messages in Chinese (zh_CN.UTF-8)
  genisoimage bchunk                            # mixed-mode disc images made at test time, and a second reader of them
)

rsf_install_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
    return 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A fresh machine may have empty package lists.
  if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >/tmp/rsf-apt.log 2>&1; then
    apt-get update -q >>/tmp/rsf-apt.log 2>&1
    apt-get install -y -q --no-install-recommends "${missing[@]}" >>/tmp/rsf-apt.log 2>&1 \
      || { tail -n 30 /tmp/rsf-apt.log >&2; return 1; }
  fi
}

# The zh_CN.UTF-8 locale through which the program words the system's error messages in
# Chinese; generated when missing (needs root).
rsf_chinese_locale() {
  locale -a 2>/dev/null | grep -i '^zh_CN\.utf-\?8$' >/dev/null && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The zh_CN.UTF-8 locale is missing: system messages stay in English (run as root to generate it)" >&2
    return 0
  fi
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
}
