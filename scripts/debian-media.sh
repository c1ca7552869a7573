#!/usr/bin/env bash
# Copies real media files that Debian packages ship into FOLDER: sounds, music, pictures and
# movies of every type the tool finds, as their makers wrote them. The packages are fetched with
# apt-get download into ${RSF_DEB_CACHE:-/tmp/rsf-debs} (kept there for the next run) and unpacked
# with dpkg; nothing is installed.
#   scripts/debian-media.sh FOLDER [PACKAGE...]    (packages named: those alone)
# A file is taken when its first bytes are those of a type the tool finds, once for each content,
# at most 15 of one type or name ending from one package (RSF_MEDIA_PER_PACKAGE) and 60 of one
# type in all (RSF_MEDIA_PER_TYPE), none over 4 MB and 120 MB in all; its copy is named
# PACKAGE--NAME. A package that cannot be fetched (no package lists, no network) gives nothing;
# the script fails only when no file at all was taken: the caller counts what it finds. At the end one line for each
# package tells how many files it gave.
set -u
out=${1:?usage: debian-media.sh FOLDER}
cache=${RSF_DEB_CACHE:-/tmp/rsf-debs}
per_package=${RSF_MEDIA_PER_PACKAGE:-15}
per_type=${RSF_MEDIA_PER_TYPE:-60}
max_file=$((4 * 1024 * 1024))
max_total=$((120 * 1024 * 1024))

# Packages, those with the rarer forms first (so the size cap never leaves them out).
packages=(
  coccinella        # QuickTime with "moov" first and a last "mdat" whose size is 0 (to the end)
  xine-ui           # MPEG-1 video elementary stream ending in a sequence end code; MPEG-2 program
  wx3.2-examples    # MPEG-1 video elementary stream; bitmaps, GIFs, WAVEs
  gem-doc           # six MPEG-1 video sequences one after another; QuickTime with "mdat" first; AVI
  emacspeak         # RealAudio 4 with "RaTC" trailers; WAVEs (some named .mp3), Ogg Vorbis, MP3
  golang-github-gabriel-vasile-mimetype-dev # RealMedia .RMF, QuickTime, MP4, 3GP, Ogg Theora
  python-pygame-doc # MPEG-1 program stream with an end code; MP3, Ogg, WAVE, pictures
  k3b-data          # VCD and SVCD streams padded to sectors with zeros
  devede            # DVD program streams with navigation packs
  node-opencv       # QuickTime, AVI
  libjs-dojo-dojox  # a small QuickTime with "moov" first, GIFs
  libpython3.11-testsuite # AIFF, AIFF-C, 8SVX, VOC, WAVE, one picture of each type
  pangzero          # Creative Voice, MIDI, MP3
  allegro5-doc      # Creative Voice, pictures
  rockdodger        # ILBM pictures, AIFF, MOD
  xscavenger        # ILBM pictures (320x200)
  python3-sdl2      # ILBM, pictures
  pd-lyonpotpourri  # AIFF
  puredata-doc      # AIFF, WAVE, JPEG
  planetblupi-music-midi # MIDI
  pianobooster      # MIDI
  kobodeluxe-data   # MIDI
  tecnoballz-data   # MOD, WAVE
  ironseed-data     # MOD
  gweled            # S3M
  gl-117-data       # S3M, WAVE
  penguin-command   # S3M, WAVE
  ceferino-data     # XM, WAVE, JPEG
  heroes-sound-tracks # XM
  pingus-data       # IT
  sound-theme-freedesktop # Ogg Vorbis
  yaru-theme-sound  # Ogg Vorbis
  gourmand          # Ogg Opus
  lightsoff         # Ogg Theora
  five-or-more      # Ogg Theora with a skeleton stream
  python3-mecavideo # AVI (MPEG-4, VP9), MP4, Ogg Theora
  basic256          # MP3
  vonsh             # MP3
)
if [ $# -gt 1 ]; then
  shift
  packages=("$@")
fi
# The name endings worth a look; a file is judged by its bytes, not by its name.
endings=(wav voc aif aiff aifc 8svx svx iff lbm ilbm mid midi rmi kar mod s3m xm it bmp jpg jpeg
  gif png ogg oga ogv opus spx mp3 avi mpg mpeg mpv m1v m2v vob mov mp4 m4v m4a 3gp qt rm ra rmvb
  fli flc smk bik mve)

# Sets k to the type a file's first bytes show, or to nothing when the tool does not find that
# type. ext is the file's name ending in lower case; size its length.
kind() {
  local f=$1 ext=$2 size=$3 h m
  k=
  h=$(od -An -tx1 -v -N 64 -- "$f")
  h=${h//[$' \n']/}
  case $h in
    52494646????????57415645*) k=wave ;;
    52494646????????41564920*) k=avi ;;
    52494646????????524d4944*) k=rmid ;;
    437265617469766520566f6963652046*) k=voc ;;
    464f524d????????4149464[36]*) k=aiff ;;
    464f524d????????38535658*) k=8svx ;;
    464f524d????????494c424d* | 464f524d????????50424d20*) k=ilbm ;;
    4d546864*) k=midi ;;
    457874656e646564204d6f64756c653a*) k=xm ;;
    494d504d*) k=it ;;
    ffd8ff*) k=jpeg ;;
    474946383[79]61*) k=gif ;;
    89504e470d0a1a0a*) k=png ;;
    424d????????00000000*) k=bmp ;;
    4f676753*) k=ogg ;;
    000001ba* | 000001b3*) k=mpeg ;;
    ????????6674797* | ????????6d6f6f76* | ????????6d646174* | ????????77696465*) k=quicktime ;;
    2e524d46* | 2e7261fd*) k=realmedia ;;
    ????????11af* | ????????12af*) k=flic ;;
    534d4b3[24]*) k=smacker ;;
    42494b* | 4b4232*) k=bink ;;
    496e746572706c6179204d56452046696c651a*) k=mve ;;
    494433* | ff[ef][23ab]*) [ "$ext" = mp3 ] && k=mp3 ;;
    *)
      if [ "${h:88:8}" = 5343524d ]; then
        k=s3m
      elif [ "$ext" = mod ] && [ "$size" -ge 1084 ]; then
        # A module's signature lies after its title and 31 sample headers.
        m=$(od -An -c -j 1080 -N 4 -- "$f")
        m=${m//[$' \n']/}
        case $m in M.K. | 'M!K!' | FLT[48] | [2-9]CHN | [1-3][0-9]CH | OCTA | CD81) k=mod ;; esac
      fi ;;
  esac
}

mkdir -p "$out" "$cache"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Fetch the packages not cached yet, all at once; should that fail, one at a time.
missing=()
for p in "${packages[@]}"; do
  compgen -G "$cache/${p}_*.deb" >/dev/null || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if ! (cd "$cache" && apt-get download "${missing[@]}") >/dev/null 2>&1; then
    for p in "${missing[@]}"; do
      (cd "$cache" && apt-get download "$p") >/dev/null 2>&1
    done
  fi
fi

patterns=()
for e in "${endings[@]}"; do patterns+=("*.$e"); done
declare -A seen taken names
total=0
report=()
for p in "${packages[@]}"; do
  deb=$(compgen -G "$cache/${p}_*.deb" | sort -V | tail -n 1)
  if [ -z "$deb" ]; then
    report+=("$p 0 (not fetched)")
    continue
  fi
  dir=$work/$p
  mkdir -p "$dir"
  dpkg-deb --fsys-tarfile "$deb" 2>/dev/null |
    tar -x -C "$dir" --wildcards --ignore-case "${patterns[@]}" 2>/dev/null
  gave=0
  # Within each name ending, the smallest, the largest and those evenly between come first, so
  # that the files taken from a package span its sizes.
  find "$dir" -type f -size +63c -size -$((max_file + 1))c -printf '%s\t%p\n' |
    awk -F'\t' -v k=$per_package '
      { n = split($2, a, "."); e = tolower(a[n]); i = ++count[e]; size[e, i] = $1; path[e, i] = $2 }
      END {
        for (e in count) {
          m = count[e]
          for (i = 2; i <= m; i++) {
            s = size[e, i]; q = path[e, i]
            for (j = i - 1; j >= 1 && size[e, j] > s; j--) { size[e, j + 1] = size[e, j]; path[e, j + 1] = path[e, j] }
            size[e, j + 1] = s; path[e, j + 1] = q
          }
          delete done
          for (i = 0; i < k && i < m; i++) {
            j = (k > 1 && m > 1) ? int(1.5 + i * (m - 1) / (k - 1)) : 1
            if (!(j in done)) { done[j] = 1; print size[e, j] "\t" path[e, j] }
          }
          for (j = 1; j <= m; j++) if (!(j in done)) print size[e, j] "\t" path[e, j]
        }
      }' >"$dir.list"
  # One sha1sum for all of them, in the same order.
  while IFS=$'\t' read -r size f sum; do
    sum=${sum%% *}
    sum=${sum#\\}
    name=${f##*/}
    ext=${name##*.}
    ext=${ext,,}
    [ "${taken[$p.$ext]:-0}" -ge $per_package ] && continue
    [ $((total + size)) -gt $max_total ] && continue
    [ -n "${seen[$sum]:-}" ] && continue
    kind "$f" "$ext" "$size"
    [ -n "$k" ] || continue
    [ "${taken[$p:$k]:-0}" -ge $per_package ] && continue
    [ "${taken[$k]:-0}" -ge $per_type ] && continue
    seen[$sum]=1
    taken[$p.$ext]=$((${taken[$p.$ext]:-0} + 1))
    taken[$p:$k]=$((${taken[$p:$k]:-0} + 1))
    taken[$k]=$((${taken[$k]:-0} + 1))
    base=${name//[^A-Za-z0-9._+-]/_}
    copy=$p--$base
    n=2
    while [ -n "${names[$copy]:-}" ]; do
      copy=$p--${base%.*}-$n.${base##*.}
      n=$((n + 1))
    done
    names[$copy]=1
    cp -- "$f" "$out/$copy" || continue
    total=$((total + size))
    gave=$((gave + 1))
  done < <(paste "$dir.list" <(cut -f2 "$dir.list" | xargs -r -d '\n' sha1sum))
  report+=("$p $gave")
  rm -rf "$dir"
done
printf '%s\n' "${report[@]}"
found=$(find "$out" -maxdepth 1 -type f -name '*--*' | wc -l)
echo "$found files in $out, $((total / 1024)) KB taken this run"
# Nothing at all (no package lists, no network): fail, so that callers do not keep an empty folder.
[ "$found" -gt 0 ]
