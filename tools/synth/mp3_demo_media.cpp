// The MP3 clips of the demo source.
#include "synth/mp3_demo_media.h"

#include "synth/mpeg_audio_synth.h"

namespace rsf::synth {

std::vector<ByteVector> Mp3DemoClips() {
  std::vector<ByteVector> clips;

  // MPEG-1 Layer III, 128 kbit/s, 44100 Hz, joint stereo: about 5 seconds, with a tag.
  MpegHeaderFields cbr;
  ByteVector tagged = MpegFrameRun(cbr, 190);
  Id3v1Fields tag;
  tag.title = "\xD6\xD0\xCE\xC4\xB8\xE8\xC7\xFA";  // 中文歌曲 in GBK
  tag.artist = "RSF Demo";
  tag.album = "Synthesized";
  tag.year = "2003";
  tag.comment = "MPEG-1 Layer III";
  tag.genre = 13;  // Pop
  tag.track = 1;
  const ByteVector tag_bytes = Id3v1Tag(tag);
  tagged.insert(tagged.end(), tag_bytes.begin(), tag_bytes.end());
  clips.push_back(std::move(tagged));

  // MPEG-2 Layer III, 22050 Hz, mono, variable bitrate.
  MpegHeaderFields vbr;
  vbr.version = MpegVersion::kMpeg2;
  vbr.sample_rate = 22050;
  vbr.channel_mode = 3;
  vbr.mode_extension = 0;
  constexpr int kPattern[] = {32, 40, 48, 64, 56, 40};
  std::vector<int> bitrates;
  for (int i = 0; i < 120; ++i) bitrates.push_back(kPattern[i % 6]);
  clips.push_back(MpegVbrRun(vbr, bitrates));

  // MPEG-1 Layer II, 192 kbit/s, 48000 Hz, stereo.
  MpegHeaderFields layer2;
  layer2.layer = 2;
  layer2.bitrate_kbps = 192;
  layer2.sample_rate = 48000;
  layer2.channel_mode = 0;
  clips.push_back(MpegFrameRun(layer2, 80));

  return clips;
}

}  // namespace rsf::synth
