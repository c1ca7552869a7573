// One contract every detector keeps, run over a known clip of each type (the demo source's
// smallest, or for the further types a synthesized one) with only that type enabled, and for
// MP3 mode over a frame run:
//  - the clip cut short at every length (every one up to 300 bytes, then spread over the rest)
//    is scanned without harm, and nothing listed lies outside the source; so is the clip cut
//    short across a window boundary, and the clip with a field of its first bytes rewritten to
//    claim more than the source holds, whole and cut short;
//  - the clip with its signature on, just before and across a window boundary is found once,
//    with its exact boundaries;
//  - random noise gives what the plain reference detectors give (they know the classic types);
//  - the start of the clip in the last bytes of the source is scanned without harm.
// Under the precise rules too, where the clip is listed whole.
// Under the sanitizer builds this also proves that no detector reads outside what it was given.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "reference_detectors.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"
#include "synth/iff_synth.h"
#include "synth/more_media_synth.h"
#include "synth/picture_synth.h"
#include "synth/random_filler.h"
#include "synth/tracker_synth.h"

namespace rsf {
namespace {

struct DetectorCase {
  const char* name;
  const char* extension;  // of the demo clip it is run over
  std::optional<ClipKind> kind;  // none: MP3 mode
  synth::ByteVector (*make)() = nullptr;  // the clip, where the demo source has none of the type
};

const DetectorCase kCases[] = {
    {"QuickTime", ".qt", ClipKind::kQT},  {"Bitmap", ".bmp", ClipKind::kBMP},    {"Avi", ".avi", ClipKind::kAVI},
    {"Wave", ".wav", ClipKind::kWAV},     {"Jpeg", ".jpg", ClipKind::kJPG},      {"Mpeg", ".mpg", ClipKind::kMPG},
    {"Mve", ".mve", ClipKind::kMVE},      {"RealMedia", ".ram", ClipKind::kRAM}, {"Bink", ".bik", ClipKind::kBIK},
    {"Smacker", ".smk", ClipKind::kSMK},  {"Midi", ".mid", ClipKind::kMID},      {"Mp3", ".mp3", std::nullopt},
    {"Voc", ".voc", ClipKind::kVOC, [] { return synth::VocFile(11025, 8, 1, 3000); }},
    {"Xmi", ".xmi", ClipKind::kXMI, [] { return synth::XmidiFile(3); }},
    {"Mod", ".mod", ClipKind::kMOD, [] { return synth::ModFile(); }},
    {"S3m", ".s3m", ClipKind::kS3M, [] { return synth::S3mFile(); }},
    {"Xm", ".xm", ClipKind::kXM, [] { return synth::XmFile(); }},
    {"It", ".it", ClipKind::kIT, [] { return synth::ItFile(); }},
    {"Gif", ".gif", ClipKind::kGIF, [] { return synth::GifFile(20, 10, 2); }},
    {"Png", ".png", ClipKind::kPNG, [] { return synth::PngFile(30, 20); }},
    {"Ogg", ".ogg", ClipKind::kOGG, [] { return synth::OggVorbisFile(22050, 2, 3); }},
    {"Flic", ".flc", ClipKind::kFLIC, [] { return synth::FlicFile(32, 24, 3, true); }},
    {"Aiff", ".aif", ClipKind::kAIFF, [] { return synth::AiffFile(22050, 1, 16, 500); }},
    {"Ilbm", ".lbm", ClipKind::kILBM, [] { return synth::IlbmFile(40, 20, 4); }},
    {"Svx8", ".8svx", ClipKind::k8SVX, [] { return synth::Svx8File(8363, 700); }},
};

class DetectorContract : public ::testing::TestWithParam<std::tuple<DetectorCase, bool>> {
 protected:
  DetectorContract() {
    if (Case().make) {
      clip_ = Case().make();
      listed_ = static_cast<std::int64_t>(clip_.size());
    }
    const synth::DemoSource demo = Case().make ? synth::DemoSource{} : synth::BuildDemoSource();
    const auto& placed = Case().kind ? demo.clips : demo.mp3_clips;
    for (const synth::PlacedClip& candidate : placed)
      if (candidate.extension == Case().extension && (clip_.empty() || candidate.bytes.size() < clip_.size())) {
        clip_ = candidate.bytes;
        // RealMedia's classic rule ends inside the index.
        listed_ = Precise() ? static_cast<std::int64_t>(clip_.size()) : candidate.end - candidate.start;
      }
    if (Case().kind) {
      options_ = test::OnlyTypes({*Case().kind});
    } else {
      options_.mp3_mode = true;
    }
    options_.precise = Precise();
  }

  static const DetectorCase& Case() { return std::get<0>(GetParam()); }
  static bool Precise() { return std::get<1>(GetParam()); }

  // Scans `bytes` and checks what holds for any source: the catalogue within the source, in
  // step with the list, no entry twice.
  test::ScanResult Scan(const std::vector<std::uint8_t>& bytes) const {
    test::ScanResult result = test::ScanBytes(bytes, options_);
    std::set<std::pair<std::int64_t, std::string>> seen;
    for (const TFilestruct& clip : result.catalogue) {
      EXPECT_GE(clip.StartOffset, 0);
      EXPECT_LE(clip.StartOffset, clip.EndOffset);
      EXPECT_LE(clip.EndOffset, static_cast<std::int64_t>(bytes.size())) << "listed past the source end";
      EXPECT_TRUE(seen.emplace(clip.StartOffset, clip.Extension).second) << "listed twice";
    }
    EXPECT_EQ(result.list_lines.size(), result.catalogue.size());
    return result;
  }

  void SetUp() override {
#if !RSF_HAVE_JPEG
    if (Case().kind == ClipKind::kJPG) GTEST_SKIP() << "this build's demo source holds no JPEG images";
#endif
  }

  std::vector<std::uint8_t> clip_;
  std::int64_t listed_ = 0;  // how much of the clip the type's rule lists
  ScanOptions options_;
};

TEST_P(DetectorContract, TruncatedAtEveryLength) {
  ASSERT_FALSE(clip_.empty());
  const auto whole = Scan(clip_);
  EXPECT_EQ(test::Spans(whole.catalogue), (std::vector<test::Span>{{0, listed_}}));
  std::vector<std::size_t> lengths;
  for (std::size_t length = 0; length < std::min<std::size_t>(clip_.size(), 300); ++length) lengths.push_back(length);
  for (std::size_t length = 300; length < clip_.size(); length += std::max<std::size_t>(1, clip_.size() / 150))
    lengths.push_back(length);
  for (const std::size_t length : lengths) {
    SCOPED_TRACE(length);
    const auto cut = Scan(std::vector<std::uint8_t>(clip_.begin(), clip_.begin() + static_cast<std::ptrdiff_t>(length)));
    if (HasFailure()) return;
  }
}

// The clip cut short where it straddles a window boundary (where a scan fuzzer run found an XM
// header reaching past the source end), the source ending with it: a header found in one
// window goes on behind it, and the detector reads the rest through the view.
TEST_P(DetectorContract, CutShortAcrossAWindowBoundary) {
  ASSERT_FALSE(clip_.empty());
  const std::size_t lengths[] = {20, 84, 300, clip_.size() / 3, clip_.size() - 1};
  for (const std::int64_t start : {std::int64_t{kWindowStep - 12}, std::int64_t{kWindowSize - 5}})
    for (const std::size_t length : lengths) {
      if (length == 0 || length >= clip_.size()) continue;
      SCOPED_TRACE(testing::Message() << start << " + " << length);
      const std::vector<std::uint8_t> cut(clip_.begin(), clip_.begin() + static_cast<std::ptrdiff_t>(length));
      Scan(test::PlaceAt(static_cast<std::size_t>(start) + length, static_cast<std::size_t>(start), cut));
      if (HasFailure()) return;
    }
}

// The clip with one field of its first bytes rewritten (to nothing, to all ones, to a size
// larger than the source yet inside what detectors accept), whole and cut short behind the
// field: whatever its sizes and counts now claim, nothing listed runs past the source end. A
// count of zero that skips the walk which checks the sizes, or a header size added after the
// last check, shows here and not only in a fuzzer's run.
TEST_P(DetectorContract, RewrittenFieldsNeverRunPastTheSourceEnd) {
  ASSERT_FALSE(clip_.empty());
  // 4,096 and 1 MiB read either way round, as 16-bit fields 4,096 or 16 and then 0.
  constexpr std::uint8_t kValues[][4] = {
      {0x00, 0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x10, 0x00, 0x00}, {0x00, 0x00, 0x10, 0x00}};
  // Not at offset 0: a bound taken relative to the clip's start must still hold.
  constexpr std::size_t kLead = 333;
  const std::size_t fields = std::min<std::size_t>(clip_.size(), 160);
  for (std::size_t at = 0; at + 4 <= fields; at += 2)
    for (const auto& value : kValues) {
      std::vector<std::uint8_t> clip = clip_;
      std::copy(std::begin(value), std::end(value), clip.begin() + static_cast<std::ptrdiff_t>(at));
      for (const std::size_t kept : {at + 24, at + 100, clip.size()}) {
        if (kept > clip.size()) continue;
        SCOPED_TRACE(testing::Message() << "field at " << at << " = " << int{value[0]} << " " << int{value[1]} << " "
                                        << int{value[2]} << " " << int{value[3]} << ", " << kept << " bytes kept");
        const std::vector<std::uint8_t> cut(clip.begin(), clip.begin() + static_cast<std::ptrdiff_t>(kept));
        Scan(test::PlaceAt(kLead + kept, kLead, cut));
        if (HasFailure()) return;
      }
    }
}

TEST_P(DetectorContract, SignatureStraddlingAWindowBoundaryIsFoundOnce) {
  ASSERT_FALSE(clip_.empty());
  // Before the first window's end, inside the 40 bytes both windows hold, just before and at
  // the second window's start.
  for (const std::int64_t start : {std::int64_t{kWindowSize - 2}, std::int64_t{kWindowSize - 5}, std::int64_t{kWindowSize - 13},
                                   std::int64_t{kWindowStep + 10}, std::int64_t{kWindowStep - 1}, std::int64_t{kWindowStep}}) {
    SCOPED_TRACE(start);
    const std::size_t size = static_cast<std::size_t>(start) + clip_.size() + 3000;
    const auto found = Scan(test::PlaceAt(size, static_cast<std::size_t>(start), clip_));
    EXPECT_EQ(test::Spans(found.catalogue), (std::vector<test::Span>{{start, start + listed_}}));
  }
}

TEST_P(DetectorContract, RandomNoiseGivesWhatThePlainDetectorsGive) {
  for (const std::uint64_t seed : {1u, 2u}) {
    const std::vector<std::uint8_t> noise = synth::RandomBytes(200000, seed);
    const auto found = Scan(noise);
    if (Precise() || Case().make) continue;  // the plain detectors know only the classic rules and types
    MemoryStream stream(noise);
    test::RecordingObserver observer;
    const reference::Outcome expected = reference::Scan(stream, options_, observer);
    ASSERT_FALSE(expected.threw);
    EXPECT_EQ(test::Spans(found.catalogue), test::Spans(expected.catalogue)) << seed;
  }
}

TEST_P(DetectorContract, ClipStartInTheLastBytesOfTheSource) {
  ASSERT_FALSE(clip_.empty());
  for (std::size_t kept = 1; kept <= std::min<std::size_t>(clip_.size(), 80); ++kept) {
    SCOPED_TRACE(kept);
    std::vector<std::uint8_t> bytes(5000, 0);
    bytes.insert(bytes.end(), clip_.begin(), clip_.begin() + static_cast<std::ptrdiff_t>(kept));
    Scan(bytes);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryDetector, DetectorContract, ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<DetectorCase, bool>>& info) {
                           return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Precise" : "");
                         });

}  // namespace
}  // namespace rsf
