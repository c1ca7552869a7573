// MIDI clips: the header test, the walk over track chunks, and walks that meet a foreign chunk
// or the source end.
#include <gtest/gtest.h>

#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/midi_synth.h"
#include "synth/riff_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;
using synth::MidiFile;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;

const ScanOptions kMidi = OnlyTypes({ClipKind::kMID});

struct Span {
  std::int64_t start, end;
  bool operator==(const Span&) const = default;
};
std::vector<Span> ScanSpans(const ByteVector& source) {
  std::vector<Span> spans;
  for (const auto& clip : ScanBytes(source, kMidi).catalogue) spans.push_back({clip.StartOffset, clip.EndOffset});
  return spans;
}

TEST(FindSequenceClipsTest, TwoTracksAtOffset5000FollowedByOtherBytes) {
  ByteVector source(8000, 0x55);
  const ByteVector midi = MidiFile({.track_data_sizes = {100, 250}});
  std::copy(midi.begin(), midi.end(), source.begin() + 5000);

  test::RecordingObserver observer;
  ScanEngine engine(observer);
  engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(source); }, kMidi);
  ASSERT_EQ(engine.Catalogue().size(), 1u);
  EXPECT_EQ(engine.Catalogue()[0].StartOffset, 5000);
  EXPECT_EQ(engine.Catalogue()[0].EndOffset, 5380);
  EXPECT_EQ(engine.Catalogue()[0].Extension, ".mid");
  EXPECT_EQ(observer.list_lines[0], "文件 #1\tMidi 序列\t0 KByte");
  ASSERT_FALSE(observer.statuses.empty());
  EXPECT_EQ(observer.statuses[0].text, "找到  Midi 序列 头部 - 正在计算大小...");
}

TEST(FindSequenceClipsTest, HeaderLengthOtherThanSixIsNotAMidiFile) {
  EXPECT_TRUE(ScanSpans(PlaceAt(2000, 10, MidiFile({.header_length = 7}))).empty());
}

TEST(FindSequenceClipsTest, ForeignChunkEndsTheClip) {
  const ByteVector midi = MidiFile({.track_data_sizes = {100, 250}, .foreign_after = 0});
  EXPECT_EQ(ScanSpans(PlaceAt(2000, 0, midi)), (std::vector<Span>{{0, 14 + 108}}));
}

TEST(FindSequenceClipsTest, InsideARiffWrapperTheClipStartsAtTheHeader) {
  const ByteVector midi = MidiFile({});
  const ByteVector rmid = synth::RiffFile("RMID", synth::RiffChunk("data", midi));
  EXPECT_EQ(ScanSpans(PlaceAt(3000, 100, rmid)),
            (std::vector<Span>{{100 + 20, 100 + 20 + static_cast<std::int64_t>(midi.size())}}));
}

TEST(FindSequenceClipsTest, WalksEndingAtTheSourceEnd) {
  const ByteVector midi = MidiFile({.track_data_sizes = {100, 250}});
  const auto size = static_cast<std::int64_t>(midi.size());
  // Ending exactly at the source end.
  EXPECT_EQ(ScanSpans(PlaceAt(4000, 4000 - midi.size(), midi)), (std::vector<Span>{{4000 - size, 4000}}));
  // A track cut short: the clip is cut at the source end.
  EXPECT_EQ(ScanSpans(ByteVector(midi.begin(), midi.end() - 50)), (std::vector<Span>{{0, size - 50}}));
  // An identifier of three bytes at the end is not a track: the clip ends before it.
  ByteVector stub = ByteWriter().Append(midi).Text("MTr").Take();
  EXPECT_EQ(ScanSpans(stub), (std::vector<Span>{{0, size}}));
  // A track whose length is not wholly readable runs to the source end.
  ByteVector half = ByteWriter().Append(midi).Text("MTrk").U8(0).U8(0).Take();
  EXPECT_EQ(ScanSpans(half), (std::vector<Span>{{0, size + 6}}));
  // A length of FFFFFFF8 moves far on instead of standing still.
  ByteVector huge = ByteWriter().Append(midi).Text("MTrk").BE32(0xFFFFFFF8).Fill(20, 0).Take();
  EXPECT_EQ(ScanSpans(huge), (std::vector<Span>{{0, size + 28}}));
}

}  // namespace
}  // namespace rsf
