#!/usr/bin/env bash
# Makes the corpus of the MP3 splitting benchmark (mp3_split_bench) in FOLDER, the same bytes on
# every run with Debian 12's espeak-ng, sox and ffmpeg:
#   FOLDER/clips/NNN.mp3 and FOLDER/clips.txt: 250 short clips (0.5 to 5 s of speech from
#     espeak-ng, or speech-like noise from sox), encoded in 25 groups of 10 that share their
#     encoder and settings, as the speech of a game is: libmp3lame CBR and VBR and libshine,
#     8 to 64 kbit/s, mono and stereo, 8 to 48 kHz, with and without a Xing/Info frame and ID3
#     tags. clips.txt lists them in the order the benchmark puts them back to back, one line each:
#     the file, then its group's settings.
#   FOLDER/untagged-shine/NNN.mp3: 10 libshine clips with neither tags nor a Xing frame, which
#     nothing tells apart; the benchmark checks only that they are never cut inside a file.
#   FOLDER/streams/*.mp3: 16 continuous streams of 1 to 10 minutes (music-like sound from sox,
#     speech from espeak-ng), 32 to 320 kbit/s, CBR and VBR, MPEG-1, MPEG-2 and MPEG-2.5.
# Needs espeak-ng, sox and ffmpeg (libmp3lame, libshine).
#   bench/mp3-split-corpus.sh FOLDER
set -euo pipefail
out="${1:?usage: mp3-split-corpus.sh FOLDER}"
mkdir -p "$out/clips" "$out/untagged-shine" "$out/streams" "$out/work"
work="$out/work"

sentences=(
  "Move out."
  "Enemy spotted near the bridge."
  "I need more gold."
  "Yes, my lord?"
  "The gate is open, go now!"
  "We have lost contact with the second squad, fall back to the ridge and wait."
  "Ready."
  "Construction complete."
  "Our base is under attack."
  "Welcome back, commander. The council has been waiting for your report on the northern front."
  "Hold the line!"
  "Affirmative."
  "That is not possible."
  "The treasure lies beyond the mountains of the east."
  "Unit lost."
  "Reinforcements have arrived."
  "Why do you keep poking me?"
  "Take this potion, it will heal your wounds."
  "Mission accomplished."
  "Insufficient funds."
)
voices=(en en-us de fr es it en+f3 en+m3 nl pt)

# One clip's sound: speech from espeak-ng (four in five) or speech-like noise from sox, 0.5 to 5 s.
make_sound() {
  local n=$1 wav=$2
  local text=${sentences[$((n % ${#sentences[@]}))]}
  local voice=${voices[$(((n / 3) % ${#voices[@]}))]}
  local speed=$((130 + (n * 37) % 90))
  if ((n % 5 == 4)); then
    local length
    length=$(printf '0.%d' $((5 + n % 5)))
    [ $((n % 2)) = 0 ] && length=$((1 + n % 4)).$((n % 10))
    sox -R -n -r 22050 -c 1 "$wav" synth "$length" brownnoise synth "$length" sine amod $((3 + n % 5)) \
      lowpass $((1500 + (n * 97) % 2000)) gain -3
  else
    espeak-ng -v "$voice" -s "$speed" -w "$work/speech.wav" "$text"
    # Between 0.5 and 5 seconds.
    sox "$work/speech.wav" "$wav" pad 0 0.3 trim 0 5
  fi
}

# encoder settings... -> ffmpeg options. Settings: encoder (lame, shine), rate (CBR kbit/s or
# vbrQ), sample rate, channels, tags (none, xing, id3v2, id3v1, all).
encode() {
  local wav=$1 mp3=$2 encoder=$3 rate=$4 hz=$5 channels=$6 tags=$7
  local args=(-v error -y -i "$wav" -ar "$hz" -ac "$channels" -fflags +bitexact -flags:a +bitexact)
  if [ "$encoder" = shine ]; then args+=(-c:a libshine); else args+=(-c:a libmp3lame); fi
  case $rate in
    vbr*) args+=(-q:a "${rate#vbr}") ;;
    *) args+=(-b:a "${rate}k") ;;
  esac
  case $tags in
    none) args+=(-write_xing 0 -id3v2_version 0) ;;
    xing) args+=(-id3v2_version 0) ;;
    id3v2) args+=(-write_xing 0 -id3v2_version 3 -metadata title="line") ;;
    # ffmpeg writes an ID3v1 tag only with an ID3v2 tag in front: that one is cut off below.
    id3v1) args+=(-write_xing 0 -id3v2_version 3 -write_id3v1 1 -metadata title="line") ;;
    all) args+=(-id3v2_version 4 -write_id3v1 1 -metadata title="line") ;;
  esac
  ffmpeg "${args[@]}" "$mp3"
  if [ "$tags" = id3v1 ]; then
    local size
    # The ID3v2 tag's length: a 10-byte header and 7 bits of size in each of its bytes 6 to 9.
    size=$(od -An -tu1 -j6 -N4 "$mp3" | awk '{ print 10 + $1 * 2097152 + $2 * 16384 + $3 * 128 + $4 }')
    tail -c +$((size + 1)) "$mp3" >"$work/cut.mp3"
    mv "$work/cut.mp3" "$mp3"
  fi
}

groups=(
  "lame 16 11025 1 none"    "lame 8 8000 1 none"      "lame 24 22050 1 none"    "lame 32 16000 1 xing"
  "lame 64 44100 2 none"    "lame 48 32000 1 none"    "lame 32 24000 2 id3v1"   "lame 56 48000 2 none"
  "lame vbr9 11025 1 none"  "lame vbr7 22050 1 none"  "lame vbr5 44100 2 none"  "lame vbr4 16000 1 xing"
  "lame vbr6 12000 1 none"  "lame vbr8 8000 1 id3v2"  "lame 40 22050 2 all"     "lame 16 12000 2 none"
  "shine 32 32000 1 all"    "shine 64 44100 2 xing"   "shine 40 44100 1 id3v1"  "shine 48 48000 1 id3v2"
  "shine 56 44100 2 xing"   "lame 64 48000 1 none"    "lame vbr9 24000 1 id3v1" "lame 8 11025 1 none"
  "lame vbr3 32000 2 none"
)
: >"$out/clips.txt"
n=0
for group in "${groups[@]}"; do
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    name=$(printf '%03d.mp3' "$n")
    make_sound "$n" "$work/clip.wav"
    # shellcheck disable=SC2086
    encode "$work/clip.wav" "$out/clips/$name" $group
    echo "$name $group" >>"$out/clips.txt"
    n=$((n + 1))
  done
done
for k in 0 1 2 3 4 5 6 7 8 9; do
  make_sound $((300 + k)) "$work/clip.wav"
  encode "$work/clip.wav" "$(printf '%s/untagged-shine/%03d.mp3' "$out" "$k")" shine 48 44100 1 none
done

# Continuous streams. Music-like: a phrase of plucked notes over a moving drone, with noise
# hits, repeated with a slowly changing filter; speech: espeak-ng reading a long text.
music() {
  local wav=$1 seconds=$2 seed=$3
  local notes=(C3 E3 G3 A3 C4 D4 E4 G4 B3 F3)
  local parts=() i
  for i in 0 1 2 3 4 5 6 7; do parts+=(pluck "${notes[$(((seed + i * 3) % 10))]}"); done
  sox -R -n -r 44100 -c 2 "$work/phrase.wav" synth 0.4 "${parts[0]}" "${parts[1]}" : synth 0.3 "${parts[2]}" "${parts[3]}" \
    : synth 0.5 "${parts[4]}" "${parts[5]}" : synth 0.2 pinknoise : synth 0.6 "${parts[6]}" "${parts[7]}"
  sox -R -n -r 44100 -c 2 "$work/drone.wav" synth "$seconds" sine $((55 + seed))-$((110 + seed)) sine 220-330 gain -14
  sox "$work/phrase.wav" "$work/phrases.wav" repeat $((seconds / 2 + 1)) trim 0 "$seconds" reverb 40
  sox -m "$work/phrases.wav" "$work/drone.wav" "$wav" gain -2
}
speech() {
  local wav=$1 seconds=$2 voice=$3
  head -c 20000 /usr/share/common-licenses/GPL-3 | espeak-ng -v "$voice" -s 175 -w "$work/long.wav" --stdin
  sox "$work/long.wav" "$wav" trim 0 "$seconds"
}
streams=(
  "music 60 lame 32 22050 1"     "music 180 lame 128 44100 2"   "music 120 lame 320 48000 2"
  "music 240 lame vbr2 44100 2"  "music 90 lame vbr6 32000 2"   "music 60 lame 64 24000 2"
  "music 120 lame vbr4 16000 1"  "music 60 lame 32 11025 1"     "music 90 lame vbr5 8000 1"
  "music 600 lame 192 44100 2"   "music 120 shine 128 44100 2"  "speech 120 lame 32 16000 1"
  "speech 180 lame 16 11025 1"   "speech 90 lame vbr9 22050 1"  "speech 60 lame 48 32000 1"
  "speech 120 lame vbr7 12000 1"
)
k=0
for stream in "${streams[@]}"; do
  read -r kind seconds encoder rate hz channels <<<"$stream"
  if [ "$kind" = music ]; then music "$work/stream.wav" "$seconds" "$k"; else speech "$work/stream.wav" "$seconds" en; fi
  encode "$work/stream.wav" "$out/streams/$(printf '%02d-%s-%s-%s-%s-%sch.mp3' "$k" "$kind" "$encoder" "$rate" "$hz" "$channels")" \
    "$encoder" "$rate" "$hz" "$channels" all
  k=$((k + 1))
done
rm -rf "$work"
echo "corpus in $out: $(wc -l <"$out/clips.txt") clips, 10 untagged libshine clips, ${#streams[@]} streams"
