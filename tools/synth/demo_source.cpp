// Layout of the demo source.
#include "synth/demo_source.h"

#include <string>
#include <string_view>
#include <utility>

#include "synth/container_synth.h"
#include "synth/jpeg_synth.h"

namespace rsf::synth {
namespace {

constexpr std::int64_t kWindowSize = 63488;
constexpr std::int64_t kWindowStep = 63448;

struct Pending {
  std::string extension;
  ByteVector bytes;
};

std::vector<Pending> NormalModeClips() {
  std::vector<Pending> clips;
  clips.push_back({".jpg", JfifImage(64, 48, 1)});
  clips.push_back({".mpg", MpegProgramStream(12, 7)});
  clips.push_back({".mve", InterplayMve(10, 3)});
  clips.push_back({".ram", RealMediaFile(20, 5)});
  clips.push_back({".jpg", JfifImage(160, 120, 2, 90)});
  clips.push_back({".mpg", MpegProgramStream(40, 11)});
  clips.push_back({".mve", InterplayMve(30, 13)});
  clips.push_back({".ram", RealMediaFile(60, 17)});
  clips.push_back({".jpg", JfifImage(32, 32, 3)});
  return clips;
}

// The length a scan reports: a RealMedia clip ends right after the identifier of its index
// chunk, every other synthesized clip with its last byte.
std::int64_t ClipLength(const Pending& clip) {
  if (clip.extension == ".ram") {
    const std::string_view text(reinterpret_cast<const char*>(clip.bytes.data()), clip.bytes.size());
    return static_cast<std::int64_t>(text.find("INDX")) + 4;
  }
  return static_cast<std::int64_t>(clip.bytes.size());
}

// Places clips one after another with filler between them; every third clip is pushed onto
// the next window end so that it straddles two windows.
std::vector<PlacedClip> Place(std::vector<Pending> pending, std::int64_t& cursor, std::uint64_t seed) {
  std::vector<PlacedClip> placed;
  std::uint64_t state = seed;
  for (std::size_t i = 0; i < pending.size(); ++i) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    cursor += 700 + static_cast<std::int64_t>((state >> 33) % 2500);
    const auto size = static_cast<std::int64_t>(pending[i].bytes.size());
    if (i % 3 == 1) {
      std::int64_t window_end = (cursor / kWindowStep) * kWindowStep + kWindowSize;
      if (window_end - size / 2 < cursor) window_end += kWindowStep;
      cursor = window_end - size / 2;
    }
    placed.push_back({pending[i].extension, cursor, cursor + ClipLength(pending[i]), std::move(pending[i].bytes)});
    cursor += size;
  }
  return placed;
}

}  // namespace

DemoSource BuildDemoSource(std::uint64_t seed) {
  DemoSource demo;
  std::int64_t cursor = 1000;
  demo.clips = Place(NormalModeClips(), cursor, seed);
  cursor += 5000;
  std::vector<PlacedClip> all = demo.clips;
  all.insert(all.end(), demo.mp3_clips.begin(), demo.mp3_clips.end());
  demo.bytes = EmbedClips(static_cast<std::size_t>(cursor), all, seed);
  return demo;
}

}  // namespace rsf::synth
