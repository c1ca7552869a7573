// MP3 mode: frame runs and their tags, where runs end, the window move behind each clip, read
// errors and closing during a run, and agreement with a detector that reads every header from the
// source on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>

#include "base/errors.h"
#include "clipinfo/maldomp3.h"
#include "scan/detectors/classic/classic_detectors.h"
#include "scan/reference_detectors.h"
#include "scan/engine/scan_engine.h"
#include "support/scan_harness.h"
#include "synth/byte_writer.h"
#include "synth/mp3_demo_media.h"
#include "synth/mpeg_audio_synth.h"
#include "synth/random_filler.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::MpegHeaderFields;
using test::FailingStream;
using test::PlaceAt;
using test::RecordingObserver;

constexpr const char* kCbrInfo =
    "类型    : MPEG-1\r\n层      : 层 3\r\n比特率  : 128 kbps\r\n频率      :44100 hz\r\n模式      :Joint Stereo";

ScanOptions Mp3Mode(bool ignore_read_errors = false) {
  ScanOptions options;
  options.mp3_mode = true;
  options.ignore_read_errors = ignore_read_errors;
  return options;
}

ByteVector Cat(ByteVector a, const ByteVector& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

ByteVector Frames(std::size_t count) { return synth::MpegFrameRun(MpegHeaderFields{}, count); }

// A whole frame of the default kind whose header differs only as `change` says.
ByteVector OddFrame(const std::function<void(MpegHeaderFields&)>& change) {
  MpegHeaderFields fields;
  change(fields);
  ByteVector frame = synth::MpegHeaderBytes(fields);
  frame.resize(417, 0x11);
  return frame;
}

struct Span {
  std::int64_t start, end;
  bool operator==(const Span&) const = default;
};
void PrintTo(const Span& span, std::ostream* out) { *out << "[" << span.start << ", " << span.end << ")"; }

std::vector<Span> Spans(const ClipCatalogue& catalogue) {
  std::vector<Span> spans;
  for (const TFilestruct& clip : catalogue) spans.push_back({clip.StartOffset, clip.EndOffset});
  return spans;
}

// A memory stream whose reads fail when `fails(position, count)` says so.
class PickyStream : public MemoryStream {
 public:
  PickyStream(ByteVector bytes, std::function<bool(std::int64_t, std::int64_t)> fails)
      : MemoryStream(std::move(bytes)), fails_(std::move(fails)) {}
  std::int64_t Read(void* buffer, std::int64_t count) override {
    return fails_(Position(), count) ? -1 : MemoryStream::Read(buffer, count);
  }

 private:
  std::function<bool(std::int64_t, std::int64_t)> fails_;
};

struct Found {
  bool threw = false;
  ScanOutcome outcome = ScanOutcome::kFinished;
  ClipCatalogue catalogue;
  int read_errors = 0;
};

Found ScanStream(std::unique_ptr<SourceStream> stream, const ScanOptions& options, RecordingObserver& observer) {
  ScanEngine engine(observer);
  Found run;
  try {
    run.outcome = engine.StartAnalysis([&] { return std::move(stream); }, options);
  } catch (const StreamReadError&) {
    run.threw = true;
  }
  run.catalogue = engine.Catalogue();
  run.read_errors = engine.ReadErrorCount();
  EXPECT_EQ(run.catalogue.size(), observer.list_lines.size());
  return run;
}

Found Scan(ByteVector bytes, const ScanOptions& options = Mp3Mode()) {
  RecordingObserver observer;
  return ScanStream(std::make_unique<MemoryStream>(std::move(bytes)), options, observer);
}

TEST(FindMP3ClipsTest, RunOfHundredFramesWithAndWithoutTag) {
  RecordingObserver observer;
  const Found plain =
      ScanStream(std::make_unique<MemoryStream>(PlaceAt(100000, 20000, Frames(100))), Mp3Mode(), observer);
  ASSERT_EQ(plain.catalogue.size(), 1u);
  EXPECT_EQ(Spans(plain.catalogue), (std::vector<Span>{{20000, 61700}}));
  EXPECT_EQ(plain.catalogue[0].Extension, ".mp3");
  EXPECT_EQ(plain.catalogue[0].InfoText, kCbrInfo);
  EXPECT_EQ(observer.list_lines, std::vector<std::string>{"文件 #1\tMP3 音频\t40 KByte"});
  EXPECT_EQ(observer.statuses[0].panel, kStatusPanelActivity);
  EXPECT_EQ(observer.statuses[0].text, "找到 MP3 头部 - 正在计算大小 ...");
  EXPECT_GE(observer.repaints, 1);
  // Messages run for each of the 100 frames and for the header that ends the run, then once as
  // the window ends.
  EXPECT_EQ(observer.message_rounds, 102);

  synth::Id3v1Fields fields;
  fields.title = "Title";
  fields.genre = 17;
  const ByteVector tag = synth::Id3v1Tag(fields);
  const Found tagged = Scan(PlaceAt(100000, 20000, Cat(Frames(100), tag)));
  ASSERT_EQ(tagged.catalogue.size(), 1u);
  EXPECT_EQ(Spans(tagged.catalogue), (std::vector<Span>{{20000, 61828}}));
  EXPECT_EQ(tagged.catalogue[0].InfoText, std::string(kCbrInfo) + "\r\n\r\n" + GetID3Info(Bytes(tag)));
  EXPECT_NE(tagged.catalogue[0].InfoText.find("标题    : Title\r\n"), std::string::npos);
}

TEST(FindMP3ClipsTest, FewerThanFourValidFramesAreNoClip) {
  EXPECT_TRUE(Scan(PlaceAt(20000, 1000, Cat(Frames(3), ByteVector(500, 0x42)))).catalogue.empty());
  const ByteVector nil = OddFrame([](MpegHeaderFields& f) { f.emphasis = 2; });
  EXPECT_TRUE(Scan(PlaceAt(20000, 1000, Cat(Frames(3), nil))).catalogue.empty());
}

TEST(FindMP3ClipsTest, HeadersInTheLastFourBytesAreNotProbed) {
  // The fourth header in the last four bytes fails the probe; one byte more and it passes, the
  // run then reaching to the source end.
  const ByteVector four = Frames(4);
  const ByteVector cut(four.begin(), four.begin() + 3 * 417 + 4);
  EXPECT_TRUE(Scan(PlaceAt(1000 + cut.size(), 1000, cut)).catalogue.empty());
  EXPECT_EQ(Spans(Scan(PlaceAt(1000 + cut.size() + 1, 1000, cut)).catalogue),
            (std::vector<Span>{{1000, 1000 + static_cast<std::int64_t>(cut.size()) + 1}}));
  // A sync at the very end of a source, and a source of fewer than four bytes.
  EXPECT_TRUE(Scan(PlaceAt(5000, 4997, {0xFF, 0xFB, 0x90})).catalogue.empty());
  EXPECT_TRUE(Scan({0xFF, 0xFB}).catalogue.empty());
}

TEST(FindMP3ClipsTest, RunToTheSourceEndEndsThere) {
  const ByteVector run = Frames(20);
  EXPECT_EQ(Spans(Scan(PlaceAt(5000 + run.size(), 5000, run)).catalogue),
            (std::vector<Span>{{5000, 5000 + static_cast<std::int64_t>(run.size())}}));
  const ByteVector cut(run.begin(), run.end() - 100);
  EXPECT_EQ(Spans(Scan(PlaceAt(5000 + cut.size(), 5000, cut)).catalogue),
            (std::vector<Span>{{5000, 5000 + static_cast<std::int64_t>(cut.size())}}));
  // A last header cut to three bytes cannot be read: the run still ends at the source end.
  const ByteVector ragged(run.begin(), run.begin() + 10 * 417 + 3);
  EXPECT_EQ(Spans(Scan(PlaceAt(5000 + ragged.size(), 5000, ragged)).catalogue),
            (std::vector<Span>{{5000, 5000 + static_cast<std::int64_t>(ragged.size())}}));
}

TEST(FindMP3ClipsTest, RunEndsAtTheFirstInvalidHeaderWithoutItsLength) {
  const ByteVector run = Frames(100);
  const auto run_end = static_cast<std::int64_t>(20000 + run.size());
  // Emphasis "NIL" is the only fault of this header; its frame is not part of the run.
  const ByteVector nil = OddFrame([](MpegHeaderFields& f) { f.emphasis = 2; });
  EXPECT_EQ(Spans(Scan(PlaceAt(100000, 20000, Cat(run, nil))).catalogue), (std::vector<Span>{{20000, run_end}}));
  // Nor can such a header in the last four bytes stretch the clip past the source end.
  const ByteVector nil_header(nil.begin(), nil.begin() + 4);
  const Found at_end = Scan(PlaceAt(20000 + run.size() + 4, 20000, Cat(run, nil_header)));
  EXPECT_EQ(Spans(at_end.catalogue), (std::vector<Span>{{20000, run_end}}));
  // A free-format header with the padding bit adds no padding byte.
  const ByteVector free_format = OddFrame([](MpegHeaderFields& f) {
    f.bitrate_kbps = 0;
    f.padding = true;
  });
  EXPECT_EQ(Spans(Scan(PlaceAt(100000, 20000, Cat(run, free_format))).catalogue),
            (std::vector<Span>{{20000, run_end}}));
}

TEST(FindMP3ClipsTest, VariableBitrateShowsTheFourthFrame) {
  const ByteVector run = synth::MpegVbrRun(MpegHeaderFields{}, {128, 160, 192, 64, 320, 32, 256});
  const Found found = Scan(PlaceAt(30000, 100, run));
  ASSERT_EQ(found.catalogue.size(), 1u);
  EXPECT_EQ(found.catalogue[0].EndOffset, 100 + static_cast<std::int64_t>(run.size()));
  EXPECT_NE(found.catalogue[0].InfoText.find("比特率  : 64 kbps\r\n"), std::string::npos);
}

TEST(FindMP3ClipsTest, NextWindowStartsAtTheClipsLastByte) {
  // The tag's genre byte 255 is the first byte of the next window, and here also the sync byte
  // of a second run that continues with the rest of its header.
  synth::Id3v1Fields fields;
  fields.genre = 255;
  ByteVector first = Cat(Frames(10), synth::Id3v1Tag(fields));
  const ByteVector second = Frames(8);
  first.insert(first.end(), second.begin() + 1, second.end());
  const Found found = Scan(PlaceAt(50000, 1000, first));
  const std::int64_t first_end = 1000 + 10 * 417 + 128;
  EXPECT_EQ(Spans(found.catalogue), (std::vector<Span>{{1000, first_end}, {first_end - 1, first_end - 1 + 8 * 417}}));
  EXPECT_NE(found.catalogue[0].InfoText.find("风格   : Unknown\r\n"), std::string::npos);
  EXPECT_EQ(found.catalogue[1].InfoText, kCbrInfo);
}

TEST(FindMP3ClipsTest, DemoClipsAreFoundWithTheirTag) {
  ByteVector source(2000, 0);
  std::vector<Span> expected;
  for (const ByteVector& clip : synth::Mp3DemoClips()) {
    expected.push_back(
        {static_cast<std::int64_t>(source.size()), static_cast<std::int64_t>(source.size() + clip.size())});
    source = Cat(Cat(source, clip), ByteVector(3000, 0));
  }
  const Found found = Scan(source);
  EXPECT_EQ(Spans(found.catalogue), expected);
  ASSERT_EQ(found.catalogue.size(), 3u);
  EXPECT_NE(found.catalogue[0].InfoText.find("标题    : 中文歌曲\r\n"), std::string::npos);
  EXPECT_NE(found.catalogue[1].InfoText.find("比特率  : 64 kbps"), std::string::npos);
}

TEST(FindMP3ClipsTest, CheckBoxesHaveNoEffectInMp3Mode) {
  ByteVector jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  jpeg.resize(2000, 0x20);
  jpeg.push_back(0xFF);
  jpeg.push_back(0xD9);
  ByteVector source = PlaceAt(40000, 1000, jpeg);
  const ByteVector run = Frames(20);
  std::copy(run.begin(), run.end(), source.begin() + 10000);
  const std::vector<Span> mp3_only = {{10000, 10000 + 20 * 417}};

  ScanOptions all = ScanOptions::ClassicTypes();
  all.mp3_mode = true;
  EXPECT_EQ(Spans(Scan(source, all).catalogue), mp3_only);
  EXPECT_EQ(Spans(Scan(source, Mp3Mode()).catalogue), mp3_only);
  const Found without = Scan(source, ScanOptions::ClassicTypes());
  EXPECT_TRUE(std::ranges::any_of(without.catalogue, [](const TFilestruct& c) { return c.Extension == ".jpg"; }));
  EXPECT_TRUE(std::ranges::none_of(without.catalogue, [](const TFilestruct& c) { return c.Extension == ".mp3"; }));
}

TEST(FindMP3ClipsTest, RunsAcrossWindowBoundaries) {
  // Starts well inside, a probe that leaves the window, a header split by the window end, a run
  // first seen in the overlap, and a run longer than two windows.
  for (const std::int64_t start : {63000, 63300, 63486, 63460, 126896 - 10}) {
    const Found found = Scan(PlaceAt(400000, static_cast<std::size_t>(start), Frames(400)));
    EXPECT_EQ(Spans(found.catalogue), (std::vector<Span>{{start, start + 400 * 417}})) << "start " << start;
  }
  ByteVector two = PlaceAt(300000, 63300, Frames(30));
  const ByteVector second = Frames(300);
  std::copy(second.begin(), second.end(), two.begin() + 63300 + 30 * 417 + 50);
  EXPECT_EQ(Spans(Scan(two).catalogue),
            (std::vector<Span>{{63300, 63300 + 30 * 417}, {63300 + 30 * 417 + 50, 63300 + 30 * 417 + 50 + 300 * 417}}));
}

TEST(FindMP3ClipsTest, ClosingDuringTheWalkDropsTheUnfinishedClip) {
  ByteVector source = PlaceAt(100000, 1000, Frames(20));
  const ByteVector second = Frames(50);
  std::copy(second.begin(), second.end(), source.begin() + 30000);
  for (const int close_at : {5, 25}) {
    RecordingObserver observer;
    observer.on_messages = [&] { observer.closing = observer.message_rounds >= close_at; };
    const Found run = ScanStream(std::make_unique<MemoryStream>(source), Mp3Mode(), observer);
    EXPECT_EQ(run.outcome, ScanOutcome::kCancelled);
    // The first walk takes 21 rounds; closing in the second leaves only the first clip.
    EXPECT_EQ(run.catalogue.size(), close_at > 21 ? 1u : 0u) << close_at;
    // Nothing more is walked; the window ends with its own round of messages.
    EXPECT_EQ(observer.message_rounds, close_at + 1);
  }
}

TEST(FindMP3ClipsTest, ReadErrors) {
  const ByteVector source = PlaceAt(200000, 63300, Frames(100));
  // The probe's second header lies beyond the window and cannot be read: the run ends with the
  // error even when read errors are ignored.
  for (const bool ignore : {false, true}) {
    auto stream = std::make_unique<FailingStream>(source);
    stream->FailRange(63300 + 417, 63300 + 418);
    RecordingObserver observer;
    const Found run = ScanStream(std::move(stream), Mp3Mode(ignore), observer);
    EXPECT_TRUE(run.threw);
    EXPECT_EQ(run.read_errors, 0);
  }
  // The probe's steps go on after an invalid header: a free-format header with the padding bit
  // ends a window, the next step (one byte on) reads across the window end into bytes that
  // cannot be read.
  {
    ByteVector bytes = PlaceAt(100000, 63484 - 417, Frames(1));
    const ByteVector free_format = OddFrame([](MpegHeaderFields& f) {
      f.bitrate_kbps = 0;
      f.padding = true;
    });
    std::copy(free_format.begin(), free_format.begin() + 4, bytes.begin() + 63484);
    auto stream = std::make_unique<FailingStream>(bytes);
    stream->FailRange(63488, 63489);
    RecordingObserver observer;
    EXPECT_TRUE(ScanStream(std::move(stream), Mp3Mode(true), observer).threw);
  }
  // A header of the walk that cannot be read ends the clip at the source end; the window behind
  // it starts at the source's last byte.
  {
    auto stream = std::make_unique<FailingStream>(source);
    stream->FailRange(63300 + 50 * 417, 63300 + 50 * 417 + 1);
    RecordingObserver observer;
    const Found run = ScanStream(std::move(stream), Mp3Mode(), observer);
    EXPECT_FALSE(run.threw);
    EXPECT_EQ(Spans(run.catalogue), (std::vector<Span>{{63300, 200000}}));
  }
  // Read-ahead blocks that fail do not hide headers a 4-byte read gets.
  {
    RecordingObserver observer;
    const Found run = ScanStream(
        std::make_unique<PickyStream>(source, [](std::int64_t, std::int64_t count) { return count == 65536; }),
        Mp3Mode(), observer);
    EXPECT_EQ(Spans(run.catalogue), (std::vector<Span>{{63300, 63300 + 100 * 417}}));
  }
  // A tag that cannot be read is not part of the clip.
  {
    RecordingObserver observer;
    const Found run =
        ScanStream(std::make_unique<PickyStream>(PlaceAt(30000, 1000, Cat(Frames(10), synth::Id3v1Tag({}))),
                                                 [](std::int64_t, std::int64_t count) { return count == 128; }),
                   Mp3Mode(), observer);
    ASSERT_EQ(Spans(run.catalogue), (std::vector<Span>{{1000, 1000 + 10 * 417}}));
    EXPECT_EQ(run.catalogue[0].InfoText, kCbrInfo);
  }
  // The first frame read back short: that candidate is passed over and the run is found from
  // its second frame.
  {
    RecordingObserver observer;
    const Found run = ScanStream(
        std::make_unique<PickyStream>(PlaceAt(30000, 1000, Frames(10)),
                                      [](std::int64_t at, std::int64_t count) { return at == 1000 && count == 4; }),
        Mp3Mode(), observer);
    EXPECT_FALSE(run.threw);
    EXPECT_EQ(Spans(run.catalogue), (std::vector<Span>{{1417, 1000 + 10 * 417}}));
  }
}

// --- agreement with a detector that seeks and reads every header from the source ---

struct RandomSource {
  ByteVector bytes;
  std::vector<std::pair<std::int64_t, std::int64_t>> bad_ranges;
  bool ignore_read_errors = false;
  int close_at = -1;  // message round at which the program starts closing
};

struct Result {
  bool threw = false;
  bool cancelled = false;
  ClipCatalogue catalogue;
  std::vector<std::string> list_lines;
  int read_errors = 0;
  int message_rounds = 0;
};

Result ScanRandom(const RandomSource& input, bool through_reference) {
  auto stream = std::make_unique<FailingStream>(input.bytes);
  for (const auto& [begin, end] : input.bad_ranges) stream->FailRange(begin, end);
  RecordingObserver observer;
  observer.on_messages = [&] { observer.closing = observer.message_rounds == input.close_at || observer.closing; };
  const ScanOptions options = Mp3Mode(input.ignore_read_errors);
  Result result;
  if (!through_reference) {
    const Found run = ScanStream(std::move(stream), options, observer);
    result = {run.threw, run.outcome == ScanOutcome::kCancelled, run.catalogue, {}, run.read_errors, 0};
  } else {
    const reference::Outcome run = reference::Scan(*stream, options, observer);
    result = {run.threw, run.cancelled, run.catalogue, {}, run.read_errors, 0};
  }
  result.list_lines = observer.list_lines;
  result.message_rounds = observer.message_rounds;
  return result;
}

// A valid header of random version, layer, bitrate, sample rate and flags.
std::uint32_t RandomValidHeader(std::mt19937& rng) {
  for (;;) {
    const std::uint32_t word = 0xFFE00000u | (rng() & 0x1FFFFFu);
    if (DecodeMP3Header(word).Valid) return word;
  }
}

void PutWord(ByteVector& bytes, std::size_t at, std::uint32_t word) {
  for (int i = 0; i < 4 && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(word >> (24 - 8 * i));
}

RandomSource MakeRandomSource(std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto below = [&](std::uint32_t n) { return static_cast<std::size_t>(rng() % n); };
  RandomSource input;
  const std::size_t size = 1000 + below(260000);
  switch (below(3)) {
    case 0:
      input.bytes = synth::RandomBytes(size, seed);
      break;
    case 1:
      input.bytes.assign(size, 0);
      break;
    default:  // dense with sync-like bytes, so many candidates reach the probe
      input.bytes.resize(size);
      for (auto& byte : input.bytes) byte = below(3) == 0 ? 0xFF : static_cast<std::uint8_t>(0xE0 | below(32));
  }
  const std::size_t runs = below(7);
  for (std::size_t r = 0; r < runs; ++r) {
    std::size_t at = below(static_cast<std::uint32_t>(size));
    const std::size_t frames = below(4) == 0 ? 1 + below(6) : 1 + below(300);
    const bool vbr = below(2) == 0;
    std::uint32_t word = RandomValidHeader(rng);
    for (std::size_t f = 0; f < frames && at < size; ++f) {
      if (vbr) word = RandomValidHeader(rng);
      PutWord(input.bytes, at, word);
      at += static_cast<std::size_t>(DecodeMP3Header(word).FrameLength);
    }
    switch (below(5)) {
      case 0: {  // a tag, its genre often 255
        synth::Id3v1Fields fields;
        fields.title = "T" + std::to_string(r);
        fields.genre = below(2) == 0 ? 255 : static_cast<std::uint8_t>(below(256));
        const ByteVector tag = synth::Id3v1Tag(fields);
        for (std::size_t i = 0; i < tag.size() && at + i < size; ++i) input.bytes[at + i] = tag[i];
        break;
      }
      case 1:  // a header invalid only through its emphasis
        PutWord(input.bytes, at, (RandomValidHeader(rng) & ~3u) | 2u);
        break;
      case 2:  // free format with padding
        PutWord(input.bytes, at, (RandomValidHeader(rng) & ~0xF000u) | 0x200u);
        break;
      default:
        break;
    }
  }
  if (below(3) == 0) {
    for (std::size_t i = 1 + below(3); i > 0; --i) {
      const auto begin = static_cast<std::int64_t>(below(static_cast<std::uint32_t>(size)));
      input.bad_ranges.push_back({begin, begin + 1 + static_cast<std::int64_t>(below(5000))});
    }
    input.ignore_read_errors = below(2) == 0;
  }
  if (below(4) == 0) input.close_at = 1 + static_cast<int>(below(400));
  return input;
}

TEST(FindMP3ClipsTest, SameResultsAsReadingEveryHeaderFromTheSource) {
  int with_clips = 0, with_errors = 0;
  for (std::uint32_t seed = 1; seed <= 48; ++seed) {
    const RandomSource input = MakeRandomSource(seed);
    const Result expected = ScanRandom(input, true);
    const Result actual = ScanRandom(input, false);
    SCOPED_TRACE("seed " + std::to_string(seed));
    EXPECT_EQ(actual.threw, expected.threw);
    EXPECT_EQ(actual.cancelled, expected.cancelled);
    EXPECT_EQ(Spans(actual.catalogue), Spans(expected.catalogue));
    for (std::size_t i = 0; i < std::min(actual.catalogue.size(), expected.catalogue.size()); ++i)
      EXPECT_EQ(actual.catalogue[i].InfoText, expected.catalogue[i].InfoText) << "clip " << i;
    EXPECT_EQ(actual.list_lines, expected.list_lines);
    EXPECT_EQ(actual.read_errors, expected.read_errors);
    EXPECT_EQ(actual.message_rounds, expected.message_rounds);
    with_clips += expected.catalogue.empty() ? 0 : 1;
    with_errors += expected.threw || expected.read_errors > 0 ? 1 : 0;
  }
  // The inputs exercise what they are meant to.
  EXPECT_GE(with_clips, 20);
  EXPECT_GE(with_errors, 4);
}

}  // namespace
}  // namespace rsf
