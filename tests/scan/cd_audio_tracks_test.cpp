// A source's CD audio tracks as clips: listed after every clip of its bytes when their type is
// ticked (not in MP3 mode, not unticked), outside the nesting and repeat rules of the byte
// clips; extracted as WAVE files, a header and the samples (the one clip that is not a copy of
// source bytes), and a track whose samples cannot be read fails like any clip.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/bytes.h"
#include "base/errors.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/engine/scan_engine.h"
#include "scan/extraction/cd_audio_wave.h"
#include "scan/extraction/extraction.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"
#include "synth/riff_synth.h"

namespace rsf {
namespace {

// Bytes in memory with audio tracks beside them; samples past `readable` cannot be read.
class SourceWithTracks final : public MemoryStream {
 public:
  SourceWithTracks(std::vector<std::uint8_t> bytes, std::vector<std::uint8_t> samples, std::vector<AudioTrackSpan> tracks)
      : MemoryStream(std::move(bytes)), samples_(std::move(samples)), tracks_(std::move(tracks)) {}
  std::vector<AudioTrackSpan> AudioTracks() const override { return tracks_; }
  std::int64_t ReadAudio(std::int64_t offset, void* buffer, std::int64_t count) const override {
    if (offset < 0 || offset + count > readable) return -1;
    std::memcpy(buffer, samples_.data() + offset, static_cast<std::size_t>(count));
    return count;
  }
  std::int64_t readable = 1 << 30;

 private:
  std::vector<std::uint8_t> samples_;
  std::vector<AudioTrackSpan> tracks_;
};

std::vector<std::uint8_t> Samples(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + i / 251);
  return bytes;
}

// A WAVE clip at 0 of the bytes; tracks 2 (one second) and 3 (ten sectors), the first at 0 of
// the image too, where a byte clip of the same extension starts.
std::unique_ptr<SourceWithTracks> MixedSource() {
  std::vector<std::uint8_t> bytes = synth::PcmWave(22050, 1, 8, 3000);
  bytes.resize(bytes.size() + 5000, 0xEE);
  return std::make_unique<SourceWithTracks>(bytes, Samples(176400 + 23520),
                                            std::vector<AudioTrackSpan>{{2, 0, 176400}, {3, 176400, 176400 + 23520}});
}

struct ListingCase {
  std::string name;
  bool ticked;
  bool mp3_mode;
  bool precise;
  std::size_t tracks_listed;
};

void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.name; }

class CdTrackListing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(CdTrackListing, TracksFollowTheByteClipsWhenTicked) {
  test::RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOptions options = ScanOptions::ClassicTypes();
  options.enabled[static_cast<std::size_t>(ClipKind::kCDA)] = GetParam().ticked;
  options.mp3_mode = GetParam().mp3_mode;
  options.precise = GetParam().precise;
  ASSERT_EQ(engine.StartAnalysis([] { return MixedSource(); }, options), ScanOutcome::kFinished);
  const ClipCatalogue& catalogue = engine.Catalogue();
  const std::size_t byte_clips = GetParam().mp3_mode ? 0 : 1;
  ASSERT_EQ(catalogue.size(), byte_clips + GetParam().tracks_listed);
  if (GetParam().tracks_listed == 0) return;
  EXPECT_EQ(catalogue[0].AudioTrack, 0);
  EXPECT_EQ(catalogue[0].StartOffset, 0);
  const TFilestruct& second = catalogue[1];
  EXPECT_EQ(second.AudioTrack, 2);
  EXPECT_EQ(second.StartOffset, 0) << "kept beside a byte clip of the same start and extension";
  EXPECT_EQ(second.EndOffset, 176400);
  EXPECT_EQ(second.Extension, ".wav");
  EXPECT_EQ(second.InfoText, "音轨 : 2\r\nPCM 44100 Hz, 16 位, 立体声\r\n时长 : 0:01:00");
  EXPECT_EQ(catalogue[2].InfoText, "音轨 : 3\r\nPCM 44100 Hz, 16 位, 立体声\r\n时长 : 0:00:10");
  ASSERT_EQ(observer.list_lines.size(), 3u);
  EXPECT_EQ(observer.list_lines[1], "文件 #2\tCD 音轨\t172 KByte");
}

INSTANTIATE_TEST_SUITE_P(Options, CdTrackListing,
                         ::testing::Values(ListingCase{"Ticked", true, false, false, 2},
                                           ListingCase{"TickedPrecise", true, false, true, 2},
                                           ListingCase{"Unticked", false, false, false, 0},
                                           ListingCase{"Mp3Mode", true, true, false, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(CdAudioWave, HeaderOfCanonicalPcm) {
  const auto header = CdAudioWaveHeader(23520);
  ASSERT_TRUE(header);
  const Bytes h(header->data(), header->size());
  EXPECT_EQ(std::string(h.begin(), h.begin() + 4), "RIFF");
  EXPECT_EQ(ReadLE32(h, 4), 36u + 23520u);
  EXPECT_EQ(std::string(h.begin() + 8, h.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(ReadLE32(h, 16), 16u);
  EXPECT_EQ(ReadLE16(h, 20), 1) << "PCM";
  EXPECT_EQ(ReadLE16(h, 22), 2) << "stereo";
  EXPECT_EQ(ReadLE32(h, 24), 44100u);
  EXPECT_EQ(ReadLE32(h, 28), 176400u);
  EXPECT_EQ(ReadLE16(h, 32), 4);
  EXPECT_EQ(ReadLE16(h, 34), 16);
  EXPECT_EQ(std::string(h.begin() + 36, h.begin() + 40), "data");
  EXPECT_EQ(ReadLE32(h, 40), 23520u);
  EXPECT_TRUE(CdAudioWaveHeader(0xFFFFFFFFll - 36));
  EXPECT_FALSE(CdAudioWaveHeader(0xFFFFFFFFll - 35)) << "the RIFF size would wrap";
  EXPECT_FALSE(CdAudioWaveHeader(-1));
}

class NullExtractionObserver : public ExtractionObserver {};

TEST(CdAudioExtraction, ATrackIsAWaveOfItsSamplesAndAByteClipACopy) {
  test::TempDir dir;
  auto source = MixedSource();
  ClipCatalogue catalogue = {{0, ".wav", 100, {}}, {176400, ".wav", 176400 + 23520, {}, false, 3}};
  NullExtractionObserver observer;
  ASSERT_EQ(ExtractClips(source.get(), catalogue, {true, true}, dir.File("c"), observer), ExtractionOutcome::kDone);
  const std::vector<std::uint8_t> copy = test::ReadWholeFile(dir.File("c1.wav"));
  EXPECT_EQ(copy, std::vector<std::uint8_t>(source->bytes().begin(), source->bytes().begin() + 100));
  const std::vector<std::uint8_t> wave = test::ReadWholeFile(dir.File("c2.wav"));
  ASSERT_EQ(wave.size(), 44u + 23520u);
  const auto header = CdAudioWaveHeader(23520);
  EXPECT_TRUE(std::equal(header->begin(), header->end(), wave.begin()));
  const std::vector<std::uint8_t> samples = Samples(176400 + 23520);
  EXPECT_TRUE(std::equal(wave.begin() + 44, wave.end(), samples.begin() + 176400));
}

TEST(CdAudioExtraction, UnreadableSamplesFailTheClipAndKeepTheName) {
  test::TempDir dir;
  auto source = MixedSource();
  source->readable = 100000;  // the second piece (61,440 to 122,880) cannot be read
  ClipCatalogue catalogue = {{0, ".wav", 176400, {}, false, 2}};
  NullExtractionObserver observer;
  try {
    ExtractClips(source.get(), catalogue, {true}, dir.File("c"), observer);
    FAIL() << "the failure was not reported";
  } catch (const ExtractionError& error) {
    EXPECT_EQ(error.cause(), "数据流读取错误");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("c1.wav")));
}

}  // namespace
}  // namespace rsf
