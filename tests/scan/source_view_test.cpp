// The detectors' source view: Peek and the plain and full reads give the bytes, counts and
// failures a seek and a read of the source would give, from the window or a block read ahead,
// and leave unreadable parts and the source end to the source itself.
#include <gtest/gtest.h>

#include <random>

#include "base/errors.h"
#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "synth/random_filler.h"

namespace rsf {
namespace {

using test::FailingStream;

class PeekTest : public ::testing::Test {
 protected:
  explicit PeekTest(std::size_t size = 300000) : bytes_(synth::RandomBytes(size, 3)), source_(bytes_) {}

  ScanState& State() {
    if (!state_) state_ = std::make_unique<ScanState>(source_, options_, observer_, catalogue_, read_errors_);
    return *state_;
  }
  void WindowAt(std::int64_t start) {
    source_.Seek(start);
    State().ReadWindow();
  }
  std::vector<std::uint8_t> Expected(std::int64_t offset, std::int64_t count) const {
    return {bytes_.begin() + offset, bytes_.begin() + offset + count};
  }
  static std::vector<std::uint8_t> Copy(Bytes bytes) { return {bytes.begin(), bytes.end()}; }

  std::vector<std::uint8_t> bytes_;
  FailingStream source_;
  ScanOptions options_;
  test::RecordingObserver observer_;
  ClipCatalogue catalogue_;
  int read_errors_ = 0;
  std::unique_ptr<ScanState> state_;
};

TEST_F(PeekTest, BytesInsideTheWindowComeFromIt) {
  WindowAt(70000);
  const int calls = source_.calls();
  const std::optional<Bytes> peeked = State().View().Peek(70000 + 100, 8);
  ASSERT_TRUE(peeked);
  EXPECT_EQ(peeked->data(), State().Buffer().data() + 100) << "no copy";
  EXPECT_EQ(Copy(*State().View().Peek(70000 + kWindowSize - 8, 8)), Expected(70000 + kWindowSize - 8, 8));
  EXPECT_EQ(source_.calls(), calls) << "nothing read";
}

TEST_F(PeekTest, BytesBehindTheWindowComeFromOneBlockRead) {
  WindowAt(0);
  const int calls = source_.calls();
  for (std::int64_t offset = 100000; offset < 100000 + 20000; offset += 8)
    ASSERT_EQ(Copy(*State().View().Peek(offset, 8)), Expected(offset, 8));
  EXPECT_EQ(source_.calls(), calls + 1);
  // Before the window, and straddling its end, as well.
  WindowAt(150000);
  EXPECT_EQ(Copy(*State().View().Peek(10, 4)), Expected(10, 4));
  EXPECT_EQ(Copy(*State().View().Peek(150000 + kWindowSize - 2, 4)), Expected(150000 + kWindowSize - 2, 4));
}

TEST_F(PeekTest, TheSourceEndAndUnreadablePartsAreLeftToTheSource) {
  source_.FailRange(200000, 200010);
  WindowAt(0);
  EXPECT_FALSE(State().View().Peek(300000 - 4, 8)) << "past the source end";
  EXPECT_FALSE(State().View().Peek(-4, 8));
  EXPECT_TRUE(State().View().Peek(300000 - 8, 8));
  EXPECT_FALSE(State().View().Peek(200005, 4)) << "inside the unreadable range";
  EXPECT_FALSE(State().View().Peek(199998, 4)) << "across its start";
  // Just before it: the block stops short of the range and is read.
  const std::optional<Bytes> before = State().View().Peek(199990, 8);
  ASSERT_TRUE(before);
  EXPECT_EQ(Copy(*before), Expected(199990, 8));
  // The whole block that failed is left to the source, which reads what it can of it.
  EXPECT_FALSE(State().View().Peek(200010, 8));
  std::uint8_t behind[8];
  EXPECT_EQ(State().View().Read(200010, behind, 8), 8);
  EXPECT_EQ(std::vector<std::uint8_t>(behind, behind + 8), Expected(200010, 8));
  EXPECT_FALSE(State().View().Peek(1000, kWindowSize)) << "longer than a block";
}

TEST_F(PeekTest, PlainAndFullReadsGiveWhatASeekAndAReadGive) {
  options_.ignore_read_errors = true;  // windows over the unreadable ranges are read as far as they go
  source_.FailRange(120000, 120003);
  source_.FailRange(250000, 250500);
  FailingStream plain(bytes_);
  plain.FailRange(120000, 120003);
  plain.FailRange(250000, 250500);
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    if (round % 500 == 0) WindowAt(static_cast<std::int64_t>(rng() % 280000));
    const std::int64_t offset = static_cast<std::int64_t>(rng() % 300100) - 50;
    const std::int64_t count = static_cast<std::int64_t>(rng() % 40);
    std::vector<std::uint8_t> got(64, 0xAA), want(64, 0xAA);
    plain.Seek(offset);
    const std::int64_t want_count = plain.Read(want.data(), count);
    const std::int64_t got_count = State().View().Read(offset, got.data(), count);
    ASSERT_EQ(got_count, want_count) << offset << " " << count;
    if (want_count > 0) {
      ASSERT_EQ(got, want) << offset << " " << count;
    }
    // The full read raises exactly where the plain read delivers less than asked.
    bool raised = false;
    try {
      State().View().ReadFull(offset, got.data(), count);
    } catch (const StreamReadError&) {
      raised = true;
    }
    ASSERT_EQ(raised, count > 0 && want_count != count) << offset << " " << count;
  }
}

}  // namespace
}  // namespace rsf
