// The sources the benchmarks scan, written to a file: random filler with clips of every classic
// type about every MiB (or of the further types), random filler dense with "BM", or MP3 frame
// runs back to back.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "synth/container_synth.h"
#include "synth/demo_media.h"
#include "synth/iff_synth.h"
#include "synth/jpeg_synth.h"
#include "synth/more_media_synth.h"
#include "synth/mp3_demo_media.h"
#include "synth/picture_synth.h"
#include "synth/random_filler.h"
#include "synth/tracker_synth.h"

namespace rsf::bench {

enum class Filler { kMixed, kFurtherTypes, kBitmapDense, kMp3Dense };

// Writes `mib` MiB: random filler with a clip of every type every ~1 MiB (mixed), random
// filler with "BM" every 64 bytes (bitmap-dense), or MP3 frame runs back to back (MP3-dense).
inline void WriteSource(const std::string& path, std::size_t mib, Filler filler) {
  std::ofstream out(path, std::ios::binary);
  std::vector<rsf::synth::ByteVector> clips = {
      rsf::synth::JfifImage(320, 240, 1), rsf::synth::MpegProgramStream(60, 2), rsf::synth::InterplayMve(40, 3),
      rsf::synth::RealMediaFile(80, 4)};
  for (auto& clip : rsf::synth::ExtraDemoClips(7)) clips.push_back(std::move(clip));
  if (filler == Filler::kFurtherTypes) {
    using namespace rsf::synth;
    clips = {VocFile(22050, 8, 1, 40000), XmidiFile(3), ModFile(), S3mFile(), XmFile(), ItFile(), GifFile(64, 48, 3),
             PngFile(80, 60), OggVorbisFile(44100, 2, 20), FlicFile(64, 48, 10, true), AiffFile(22050, 2, 16, 8000),
             IlbmFile(64, 48, 5), Svx8File(8363, 20000)};
  }
  const std::vector<rsf::synth::ByteVector> mp3s = rsf::synth::Mp3DemoClips();
  for (std::size_t i = 0; i < mib; ++i) {
    rsf::synth::ByteVector block = rsf::synth::RandomBytes(1 << 20, 1000 + i);
    if (filler == Filler::kMixed || filler == Filler::kFurtherTypes) {
      std::size_t at = 4096;
      for (std::size_t k = 0; k < 3; ++k) {
        const auto& clip = clips[(i * 3 + k) % clips.size()];
        if (at + clip.size() > block.size()) break;
        std::copy(clip.begin(), clip.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
        at += clip.size() + 5000;
      }
    } else if (filler == Filler::kBitmapDense) {
      for (std::size_t at = 0; at + 2 <= block.size(); at += 64) block[at] = 'B', block[at + 1] = 'M';
    } else {
      std::size_t at = 0;
      for (std::size_t k = 0;; ++k) {
        const auto& clip = mp3s[k % mp3s.size()];
        if (at + clip.size() > block.size()) break;
        std::copy(clip.begin(), clip.end(), block.begin() + static_cast<std::ptrdiff_t>(at));
        at += clip.size() + 16;
      }
    }
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  }
}

}  // namespace rsf::bench
