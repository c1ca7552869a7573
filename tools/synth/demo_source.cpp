// Layout of the demo source.
#include "synth/demo_source.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "synth/container_synth.h"
#include "synth/demo_media.h"
#include "synth/mp3_demo_media.h"
#if RSF_HAVE_JPEG
#include "synth/jpeg_synth.h"
#endif

namespace rsf::synth {
namespace {

constexpr std::int64_t kWindowSize = 63488;
constexpr std::int64_t kWindowStep = 63448;

struct Pending {
  std::string extension;
  ByteVector bytes;
};

// JPEG images need libjpeg; a build without it (Windows) leaves them out of the demo.
void AddJpeg([[maybe_unused]] std::vector<Pending>& clips, [[maybe_unused]] int width, [[maybe_unused]] int height,
             [[maybe_unused]] unsigned seed, [[maybe_unused]] int quality = 75) {
#if RSF_HAVE_JPEG
  clips.push_back({".jpg", JfifImage(width, height, seed, quality)});
#endif
}

std::vector<Pending> NormalModeClips() {
  std::vector<Pending> clips;
  AddJpeg(clips, 64, 48, 1);
  clips.push_back({".mpg", MpegProgramStream(12, 7)});
  clips.push_back({".mve", InterplayMve(10, 3)});
  clips.push_back({".ram", RealMediaFile(20, 5)});
  AddJpeg(clips, 160, 120, 2, 90);
  clips.push_back({".mpg", MpegProgramStream(40, 11)});
  clips.push_back({".mve", InterplayMve(30, 13)});
  clips.push_back({".ram", RealMediaFile(60, 17)});
  AddJpeg(clips, 32, 32, 3);
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

// The extension a scan gives a synthesized clip, read from its first bytes.
std::string ExtensionOf(const ByteVector& clip) {
  const std::string_view head(reinterpret_cast<const char*>(clip.data()), std::min<std::size_t>(clip.size(), 16));
  if (head.starts_with("BM")) return ".bmp";
  if (head.starts_with("RIFF")) return head.substr(8, 4) == "AVI " ? ".avi" : ".wav";
  if (head.starts_with("BIK")) return ".bik";
  if (head.starts_with("SMK")) return ".smk";
  if (head.starts_with("MThd")) return ".mid";
  if (head.substr(4, 4) == "moov") return ".qt";
  return ".bin";
}

DemoSource BuildDemoSource(std::uint64_t seed) {
  DemoSource demo;
  std::vector<Pending> normal = NormalModeClips();
  for (ByteVector& clip : ExtraDemoClips(seed)) {
    std::string extension = ExtensionOf(clip);
    normal.push_back({std::move(extension), std::move(clip)});
  }
  std::int64_t cursor = 1000;
  demo.clips = Place(std::move(normal), cursor, seed);
  std::vector<Pending> mp3;
  for (ByteVector& clip : Mp3DemoClips()) mp3.push_back({".mp3", std::move(clip)});
  demo.mp3_clips = Place(std::move(mp3), cursor, seed + 1);
  cursor += 5000;
  std::vector<PlacedClip> all = demo.clips;
  all.insert(all.end(), demo.mp3_clips.begin(), demo.mp3_clips.end());
  demo.bytes = EmbedClips(static_cast<std::size_t>(cursor), all, seed);
  return demo;
}

}  // namespace rsf::synth
