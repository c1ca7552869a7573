#!/usr/bin/env bash
# Writes real media files, made by Debian's encoders and tools, into FOLDER: the files the
# precise rules and the further types must give back byte for byte when they lie in other data.
#   scripts/real-media.sh FOLDER
# Needs ffmpeg, sox, ImageMagick's convert and exiftool; a tool that is missing leaves its files
# out (the caller counts what it finds).
set -u
out=${1:?usage: real-media.sh FOLDER}
mkdir -p "$out"
cd "$out" || exit 1
ff() { ffmpeg -nostdin -loglevel error -y "$@" </dev/null; }
video="-f lavfi -i testsrc=duration=2:size=160x112:rate=25"
tone="-f lavfi -i sine=frequency=440:duration=2"

if command -v ffmpeg >/dev/null; then
  # MPEG-1 and MPEG-2 program streams as ffmpeg writes them: without a program end code.
  ff $video $tone -c:v mpeg1video -c:a mp2 -f mpeg mpeg1.mpg
  ff $video $tone -c:v mpeg2video -c:a mp2 -f vob mpeg2.vob
  ff $video $tone -c:v mpeg1video -c:a mp2 -f mpeg -muxrate 0 mpeg1-vbr.mpg
  # Video CD and Super Video CD streams: packs of 2324 bytes (a CD sector's payload), on a VCD
  # many ending in 20 zero bytes outside any packet; ffmpeg writes no end code, so a copy gets one.
  ff $video $tone -target ntsc-vcd vcd.mpg
  [ -s vcd.mpg ] && { cat vcd.mpg; printf '\0\0\1\271'; } > vcd-endcode.mpg
  ff $video $tone -target ntsc-svcd svcd.mpg
  # MPEG-1 and MPEG-2 video elementary streams (sequence headers, no packs); ffmpeg writes no
  # sequence end code, so a copy of the MPEG-1 one gets one.
  ff $video -c:v mpeg1video -f mpeg1video video.m1v
  [ -s video.m1v ] && { cat video.m1v; printf '\0\0\1\267'; } > video-endcode.m1v
  ff $video -c:v mpeg2video -f mpeg2video video.m2v
  # RealMedia to a file and to a pipe (this ffmpeg writes no index chunk either way; the pipe leaves
  # the header fields it would go back for unwritten).
  ff $video $tone -c:v rv10 -c:a ac3 -f rm real.rm
  ff $video $tone -c:v rv10 -c:a ac3 -f rm - > real-noindex.rm
  # MP4 and QuickTime with "moov" last (the usual layout) and first.
  ff $video $tone -c:v mpeg4 -c:a aac -f mp4 movie.mp4
  ff $video $tone -c:v mpeg4 -c:a aac -movflags +faststart -f mp4 movie-faststart.mp4
  ff $video $tone -c:v mjpeg -c:a pcm_s16le -f mov movie.mov
  # AVI: Motion JPEG (whose frames are JPEG images), Cinepak, and a WAVE inside an AVI.
  ff $video $tone -c:v mjpeg -c:a pcm_s16le -f avi mjpeg.avi
  ff $video $tone -c:v cinepak -c:a pcm_u8 -f avi cinepak.avi
  # WAVE, and WAVE written to a pipe (RIFF and data sizes left as FFFFFFFF / 0).
  ff $tone -c:a pcm_s16le wave.wav
  ff $tone -c:a pcm_s16le -f wav - > wave-streamed.wav
  # MP3 with an ID3v2 tag before, with an ID3v1 tag after, and with both.
  ff $tone -c:a libmp3lame -b:a 128k -id3v2_version 3 -metadata title=Tone mp3-id3v2.mp3
  ff $tone -c:a libmp3lame -b:a 96k -id3v2_version 0 -write_id3v1 1 -metadata title=Tone mp3-id3v1.mp3
  ff $tone -c:a libmp3lame -b:a 64k -id3v2_version 4 -write_id3v1 1 -metadata artist=Tester mp3-both.mp3
  # JPEG from ffmpeg (JFIF) and a bitmap.
  ff -f lavfi -i testsrc=size=200x150 -frames:v 1 ffmpeg.jpg
  ff -f lavfi -i testsrc=size=64x48 -frames:v 1 -c:v bmp ffmpeg.bmp
  # Ogg: Vorbis, Opus, Speex, FLAC in Ogg, and Theora video with Vorbis sound (grouped streams).
  ff $tone -c:a libvorbis -q:a 2 vorbis.ogg
  ff $tone -c:a libopus -b:a 48k opus.ogg
  ff -f lavfi -i sine=frequency=440:duration=2:sample_rate=16000 -c:a libspeex speex.ogg
  ff $tone -c:a flac -f ogg flac.ogg
  ff $video $tone -c:v libtheora -q:v 3 -c:a libvorbis -q:a 1 theora.ogg
fi

if command -v sox >/dev/null; then
  sox -n -r 22050 -c 1 -b 8 sox.wav synth 1 sine 660
  sox -n -r 44100 -c 2 -b 16 sox-stereo.wav synth 1 sine 440 sine 550
  # Creative Voice (8-bit mono, 16-bit stereo), AIFF, AIFF-C and 8SVX.
  sox -n -r 11025 -c 1 -b 8 -e unsigned-integer sox.voc synth 1 sine 500
  sox -n -r 22050 -c 2 -b 16 sox-stereo.voc synth 1 sine 300 sine 400
  sox -n -r 44100 -c 2 -b 16 sox.aiff synth 1.5 sine 440 sine 660
  sox -n -r 22050 -c 1 -b 16 sox.aifc synth 1 sine 330
  sox -n -r 8363 -c 1 -b 8 sox.8svx synth 1 sine 262
fi

if command -v convert >/dev/null; then
  # A top-down bitmap (negative height) and bottom-up ones, a JPEG of ImageMagick's own.
  convert -size 40x30 gradient:red-blue -define bmp:top-down=true topdown.bmp 2>/dev/null ||
    convert -size 40x30 gradient:red-blue -flip BMP3:topdown.bmp
  convert -size 37x23 gradient:green-yellow BMP3:bmp3.bmp
  convert -size 33x21 plasma: -type Palette BMP3:palette.bmp
  # A version 5 bitmap with an embedded colour profile (stored after the pixels).
  icc=/usr/share/color/icc/ghostscript/srgb.icc
  [ -f "$icc" ] && convert -size 20x10 gradient:red-blue -profile "$icc" BMP:profile.bmp
  convert -size 120x90 gradient:blue-white -quality 85 magick.jpg
  convert -size 96x64 plasma: -interlace Plane -quality 70 progressive.jpg
  # GIF, an animated GIF (three frames), PNG in colour and with a palette.
  convert -size 50x40 gradient:yellow-purple magick.gif
  convert -delay 10 -size 32x24 xc:red xc:green xc:blue -loop 0 animated.gif
  convert -size 64x32 gradient:red-white magick.png
  convert -size 30x30 plasma: -colors 16 PNG8:palette.png
fi

if command -v exiftool >/dev/null && [ -f magick.jpg ]; then
  # Exif JPEGs with a thumbnail in their APP1 segment, as cameras write them.
  convert -size 64x48 gradient:white-black thumb.jpg
  cp magick.jpg exif-thumbnail.jpg
  exiftool -q -overwrite_original -Make=Camera -Model=RSF '-ThumbnailImage<=thumb.jpg' exif-thumbnail.jpg
  # As a camera writes it: the Exif segment first, no JFIF segment at all.
  cp exif-thumbnail.jpg exif-camera.jpg
  exiftool -q -overwrite_original -JFIF:all= exif-camera.jpg
  cp progressive.jpg exif-progressive.jpg
  exiftool -q -overwrite_original -Artist=RSF -DateTimeOriginal='2026:12:09 06:00:00' exif-progressive.jpg
  rm -f thumb.jpg
fi
# A tool that failed leaves an empty file behind.
find . -type f -empty -delete
ls
