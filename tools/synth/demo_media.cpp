// Demo clips of the length-field types.
#include "synth/demo_media.h"

#include "synth/bink_synth.h"
#include "synth/bitmap_synth.h"
#include "synth/midi_synth.h"
#include "synth/quicktime_synth.h"
#include "synth/riff_synth.h"
#include "synth/smacker_synth.h"

namespace rsf::synth {

std::vector<ByteVector> ExtraDemoClips(std::uint64_t seed) {
  const auto vary = static_cast<std::uint32_t>(seed % 7);
  std::vector<ByteVector> clips;

  clips.push_back(BitmapFile(32 + static_cast<std::int32_t>(vary), 24, 8, seed));
  clips.push_back(BitmapFile(40, 30 + static_cast<std::int32_t>(vary), 24, seed + 1));
  clips.push_back(BitmapFile(17, 9, 4, seed + 2));

  clips.push_back(AviFile({.micro_sec_per_frame = 40000, .frames = 25 + vary, .width = 160, .height = 120,
                           .handler = "cvid", .frame_bytes = 300}));
  clips.push_back(AviFile({.micro_sec_per_frame = 33367, .frames = 12, .width = 320, .height = 240,
                           .handler = "DIVX", .frame_bytes = 500 + vary}));

  clips.push_back(PcmWave(22050, 2, 16, 2000 + vary));
  clips.push_back(AdpcmWave(AdpcmKind::kMicrosoft, 11025, 1, 4));
  clips.push_back(AdpcmWave(AdpcmKind::kIma, 44100, 2, 3 + vary));

  clips.push_back(BinkFile({.frames = 8 + vary, .width = 320, .height = 200, .frame_bytes = 400}));
  clips.push_back(BinkFile({.revision = 'b', .frames = 3, .frame_bytes = 1000}));

  clips.push_back(SmackerFile({.frame_sizes = {1001, 1200 + 4 * vary, 803}}));
  clips.push_back(SmackerFile({.version = '4', .width = 320, .height = 200, .frame_rate = -10000,
                               .frame_sizes = {4097, 2048}, .trees_size = 64}));

  clips.push_back(QuicktimeMovie({{"mdat", 2000 + vary}, {"free", 32}}));
  clips.push_back(QuicktimeMovie({{"wide", 0}, {"mdat", 3000, AtomSize::k64Bit}}));

  clips.push_back(MidiFile({.track_data_sizes = {100, 250 + vary}}));
  clips.push_back(MidiFile({.format = 0, .division = 480, .track_data_sizes = {1000}}));
  return clips;
}

}  // namespace rsf::synth
