// The scan run: window layout, the read-error count across runs, progress texts, the busy
// state and how runs end.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "scan/engine/scan_engine.h"
#include "scan/engine/time_text.h"
#include "support/scan_harness.h"
#include "synth/byte_writer.h"

namespace rsf {
namespace {

using test::FailingStream;
using test::RecordingObserver;

// Logs where every read starts and how long it is.
class LoggingStream : public FailingStream {
 public:
  using FailingStream::FailingStream;
  std::int64_t Read(void* buffer, std::int64_t count) override {
    reads.push_back({Position(), count});
    return FailingStream::Read(buffer, count);
  }
  std::vector<std::pair<std::int64_t, std::int64_t>> reads;
};

std::vector<std::pair<std::int64_t, std::int64_t>> WindowReads(std::size_t size) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  LoggingStream* stream = nullptr;
  engine.StartAnalysis(
      [&] {
        auto s = std::make_unique<LoggingStream>(std::vector<std::uint8_t>(size, 0x55));
        stream = s.get();
        return s;
      },
      ScanOptions{});  // no detector: only the window reads remain
  return stream->reads;
}

TEST(ScanEngineTest, WindowsOverlapByFortyBytesAndReadInPieces) {
  using Reads = std::vector<std::pair<std::int64_t, std::int64_t>>;
  EXPECT_EQ(WindowReads(0), Reads{});
  EXPECT_EQ(WindowReads(100), (Reads{{0, 100}}));
  EXPECT_EQ(WindowReads(63488), (Reads{{0, 61440}, {61440, 2048}, {63448, 40}}));
  EXPECT_EQ(WindowReads(63448 * 2 + 10),
            (Reads{{0, 61440}, {61440, 2048}, {63448, 61440}, {124888, 2018}, {126896, 10}}));
}

TEST(ScanEngineTest, EmptySourceEndsAtOnceWithTheCompletionText) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  EXPECT_EQ(engine.StartAnalysis([] { return std::make_unique<MemoryStream>(std::vector<std::uint8_t>{}); },
                                 ScanOptions::ClassicTypes()),
            ScanOutcome::kFinished);
  EXPECT_EQ(observer.panels[1], "分析完成。错误 : 0");
  EXPECT_TRUE(observer.ended_finished);
  EXPECT_EQ(observer.gauge, 0);
  EXPECT_TRUE(engine.Catalogue().empty());
}

TEST(ScanEngineTest, ReadErrorCountRunsOnAcrossRuns) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOptions options = ScanOptions::ClassicTypes();
  options.ignore_read_errors = true;
  auto failing_source = [] {
    // Two failing pieces: the second piece of the first window, the first piece of the third.
    auto stream = std::make_unique<FailingStream>(std::vector<std::uint8_t>(200000, 0x11));
    stream->FailRange(62000, 62001);
    stream->FailRange(130000, 130001);
    return stream;
  };
  EXPECT_EQ(engine.StartAnalysis(failing_source, options), ScanOutcome::kFinished);
  EXPECT_EQ(observer.panels[1], "分析完成。错误 : 2");
  EXPECT_EQ(engine.StartAnalysis(failing_source, options), ScanOutcome::kFinished);
  EXPECT_EQ(observer.panels[1], "分析完成。错误 : 4");

  options.ignore_read_errors = false;
  try {
    engine.StartAnalysis(failing_source, options);
    FAIL() << "an unignored read error ends the run";
  } catch (const StreamReadError& e) {
    EXPECT_STREQ(e.what(), "数据流读取错误");
  }
  EXPECT_EQ(engine.ReadErrorCount(), 4);
  EXPECT_FALSE(engine.Running());
  EXPECT_FALSE(observer.busy) << "the busy state is given back after an error";
  EXPECT_EQ(observer.gauge, 0);
}

TEST(ScanEngineTest, IgnoredErrorLeavesWhatWasReadBeforeTheFailingPiece) {
  // A JPEG in the first piece is found although the second piece of the window fails; one in
  // the failing piece is found in the next window, which starts where it always would.
  synth::ByteWriter jpeg;
  jpeg.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").Fill(100, 0x20).U8(0xFF).U8(0xD9);
  auto bytes = test::PlaceAt(150000, 1000, jpeg.bytes());
  std::copy(jpeg.bytes().begin(), jpeg.bytes().end(), bytes.begin() + 63460);
  RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOptions options = test::OnlyTypes({ClipKind::kJPG});
  options.ignore_read_errors = true;
  engine.StartAnalysis(
      [&] {
        auto stream = std::make_unique<FailingStream>(bytes);
        stream->FailCall(2);  // the second piece of the first window
        return stream;
      },
      options);
  ASSERT_EQ(engine.Catalogue().size(), 2u);
  EXPECT_EQ(engine.Catalogue()[0].StartOffset, 1000);
  EXPECT_EQ(engine.Catalogue()[1].StartOffset, 63460);
  EXPECT_EQ(engine.ReadErrorCount(), 1);
}

TEST(ScanEngineTest, ProgressTextsAndCompletion) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  double now = 100.0;
  engine.SetClock([&] { return now += 1.5; });
  engine.StartAnalysis([] { return std::make_unique<MemoryStream>(std::vector<std::uint8_t>(200000, 1)); },
                       ScanOptions::ClassicTypes());
  EXPECT_EQ(observer.gauge_maximum, 200000);
  EXPECT_EQ(observer.message_rounds, 4) << "messages are processed once per window";
  bool saw_analysing = false;
  for (const auto& status : observer.statuses) {
    if (status.panel == 1 && status.text == "正在分析...") saw_analysing = true;
    if (status.panel == 2) {
      EXPECT_EQ(status.text.rfind("使用时间: 00:00:0", 0), 0u) << status.text;
    }
    if (status.panel == 3) {
      EXPECT_EQ(status.text.rfind("剩余: 00:00:", 0), 0u) << status.text;
    }
  }
  EXPECT_TRUE(saw_analysing);
  EXPECT_EQ(observer.panels[1], "分析完成。错误 : 0");
  EXPECT_GT(observer.repaints, 0);
}

TEST(ScanEngineTest, TimeTexts) {
  EXPECT_EQ(TimeOfDayText(0), "00:00:00");
  EXPECT_EQ(TimeOfDayText(3723.9), "01:02:03");
  EXPECT_EQ(TimeOfDayText(86400 + 61), "00:01:01") << "hours wrap like a time of day";
  EXPECT_EQ(TimeOfDayText(-5), "00:00:00");
  EXPECT_EQ(RemainingSeconds(10, 1000, 250), 30);
  EXPECT_EQ(RemainingSeconds(10, 1000, 0), 0) << "nothing read yet: no estimate";
}

TEST(ScanEngineTest, ClosingStopsAtTheNextWindowWithoutCompletion) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  observer.on_messages = [&] { observer.closing = true; };
  EXPECT_EQ(engine.StartAnalysis([] { return std::make_unique<MemoryStream>(std::vector<std::uint8_t>(300000)); },
                                 ScanOptions::ClassicTypes()),
            ScanOutcome::kCancelled);
  EXPECT_EQ(observer.message_rounds, 1);
  EXPECT_NE(observer.panels[1].rfind("分析完成", 0), 0u);
  EXPECT_FALSE(observer.ended_finished);
}

TEST(ScanEngineTest, NoSecondRunWhileOneRuns) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  ScanOutcome inner = ScanOutcome::kFinished;
  observer.on_messages = [&] {
    inner = engine.StartAnalysis([] { return std::make_unique<MemoryStream>(std::vector<std::uint8_t>(10)); },
                                 ScanOptions::ClassicTypes());
  };
  EXPECT_EQ(engine.StartAnalysis([] { return std::make_unique<MemoryStream>(std::vector<std::uint8_t>(70000)); },
                                 ScanOptions::ClassicTypes()),
            ScanOutcome::kFinished);
  EXPECT_EQ(inner, ScanOutcome::kBusy);
  EXPECT_EQ(engine.Source()->Size(), 70000) << "the refused start did not touch the running source";
}

// A stream that reports no disc, as CD streams do for an empty drive.
class NoDiscStream : public MemoryStream {
 public:
  NoDiscStream() : MemoryStream({}) {}
  std::int64_t Size() const override { return -1; }
};

TEST(ScanEngineTest, NegativeSizeAndOpenFailureLeaveTheCatalogue) {
  RecordingObserver observer;
  ScanEngine engine(observer);
  synth::ByteWriter jpeg;
  jpeg.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").Fill(10, 0x20).U8(0xFF).U8(0xD9);
  engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(jpeg.bytes()); }, ScanOptions::ClassicTypes());
  ASSERT_EQ(engine.Catalogue().size(), 1u);

  EXPECT_EQ(engine.StartAnalysis([] { return std::make_unique<NoDiscStream>(); }, ScanOptions::ClassicTypes()),
            ScanOutcome::kNoDisc);
  EXPECT_EQ(engine.Catalogue().size(), 1u);
  EXPECT_EQ(observer.runs_started, 1);
  EXPECT_NE(engine.Source(), nullptr) << "the new stream stays the held source";

  EXPECT_THROW(engine.StartAnalysis([]() -> std::unique_ptr<SourceStream> { throw FileOpenError("x"); },
                                    ScanOptions::ClassicTypes()),
               FileOpenError);
  EXPECT_EQ(engine.Source(), nullptr) << "the previous source is closed before the new one opens";
  EXPECT_EQ(engine.Catalogue().size(), 1u);
  EXPECT_FALSE(engine.Running());
}

TEST(ScanEngineTest, ListLinesShowWholeKilobytes) {
  EXPECT_EQ(ListLine(3, "WAV 音频", TFilestruct{0, ".wav", 12345, {}}), "文件 #3\tWAV 音频\t12 KByte");
  EXPECT_EQ(ListLine(1, "JPEG 图片", TFilestruct{5, ".jpg", 5 + 1023, {}}), "文件 #1\tJPEG 图片\t0 KByte");
  EXPECT_EQ(ListLine(1, "JPEG 图片", TFilestruct{5, ".jpg", 5 + 1024, {}}), "文件 #1\tJPEG 图片\t1 KByte");
}

}  // namespace
}  // namespace rsf
