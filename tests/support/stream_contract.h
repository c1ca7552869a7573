// The contract every source stream keeps, as one parameterised suite that each test program
// instantiates with its streams (Okteta's AbstractByteArrayModelIfTest pattern): size, position,
// seeking (also past the end), plain reads that report what arrived and full reads that raise
// the stream read error. Where streams differ by design, a flag of the flavour says how.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "stream/source_stream.h"

namespace rsf::test {

struct StreamFlavour {
  std::string name;
  // Makes the stream; what it needs around it while the test runs (a folder, a stand-in
  // drive) it leaves in `keep`.
  std::function<std::unique_ptr<SourceStream>(std::shared_ptr<void>& keep)> make;
  // Byte `n` of the stream's contents.
  std::function<std::uint8_t(std::int64_t)> content;
  // What a read that runs over the stream's size does: deliver the bytes up to it (files),
  // fail whole and leave the position (a raw CD volume), or go on reading the medium behind
  // the size the drive reported (the ASPI stream).
  enum class PastTheEnd { kPartial, kFails, kReadsOn } past_the_end = PastTheEnd::kPartial;
  // A seek from the end counts back from it (size − offset) instead of forward.
  bool end_counts_back = false;
};

inline void PrintTo(const StreamFlavour& flavour, std::ostream* out) { *out << flavour.name; }

class SourceStreamContract : public ::testing::TestWithParam<StreamFlavour> {
 protected:
  void SetUp() override {
    stream_ = GetParam().make(keep_);
    size_ = stream_->Size();
    ASSERT_GE(size_, 4096);
  }
  std::vector<std::uint8_t> Content(std::int64_t from, std::int64_t count) const {
    std::vector<std::uint8_t> bytes;
    for (std::int64_t n = from; n < from + count; ++n) bytes.push_back(GetParam().content(n));
    return bytes;
  }

  std::shared_ptr<void> keep_;
  std::unique_ptr<SourceStream> stream_;
  std::int64_t size_ = 0;
};

TEST_P(SourceStreamContract, SizePositionAndSeeking) {
  SourceStream& stream = *stream_;
  EXPECT_EQ(stream.Size(), size_) << "asked again, the same";
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Seek(size_ - 50), size_ - 50);
  EXPECT_EQ(stream.Seek(10, kFromCurrent), size_ - 40);
  EXPECT_EQ(stream.Seek(-20, kFromCurrent), size_ - 60);
  EXPECT_EQ(stream.Seek(0, kFromEnd), size_);
  EXPECT_EQ(stream.Seek(30, kFromEnd), GetParam().end_counts_back ? size_ - 30 : size_ + 30);
  EXPECT_EQ(stream.Seek(size_ + 5000), size_ + 5000) << "seeking past the end is allowed";
  EXPECT_EQ(stream.Seek(1, 7), -1) << "unknown origin";
  EXPECT_EQ(stream.Position(), size_ + 5000) << "a refused seek moves nothing";
}

TEST_P(SourceStreamContract, PlainReadReportsWhatArrivedFullReadRaises) {
  SourceStream& stream = *stream_;
  std::vector<std::uint8_t> buffer(64);
  stream.Seek(100);
  ASSERT_EQ(stream.Read(buffer.data(), 64), 64);
  EXPECT_EQ(buffer, Content(100, 64));
  EXPECT_EQ(stream.Position(), 164);
  EXPECT_EQ(stream.Read(buffer.data(), 0), 0);
  EXPECT_EQ(stream.Position(), 164);
  stream.Seek(3000);
  stream.ReadBuffer(buffer.data(), 64);
  EXPECT_EQ(buffer, Content(3000, 64));
  EXPECT_EQ(stream.Position(), 3064);

  // Across the end.
  stream.Seek(size_ - 10);
  const std::int64_t got = stream.Read(buffer.data(), 64);
  switch (GetParam().past_the_end) {
    case StreamFlavour::PastTheEnd::kPartial:
      EXPECT_EQ(got, 10);
      EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 10), Content(size_ - 10, 10));
      EXPECT_EQ(stream.Position(), size_);
      EXPECT_EQ(stream.Read(buffer.data(), 64), 0) << "at the end nothing arrives and nothing is raised";
      break;
    case StreamFlavour::PastTheEnd::kFails:
      EXPECT_EQ(got, -1);
      EXPECT_EQ(stream.Position(), size_ - 10) << "a failed read moves nothing";
      break;
    case StreamFlavour::PastTheEnd::kReadsOn:
      EXPECT_EQ(got, 64);
      EXPECT_EQ(buffer, Content(size_ - 10, 64));
      break;
  }
  stream.Seek(size_ - 10);
  if (GetParam().past_the_end == StreamFlavour::PastTheEnd::kReadsOn) {
    EXPECT_NO_THROW(stream.ReadBuffer(buffer.data(), 64));
  } else {
    try {
      stream.ReadBuffer(buffer.data(), 64);
      FAIL() << "a short full read must raise";
    } catch (const StreamReadError& error) {
      EXPECT_STREQ(error.what(), "数据流读取错误");
    }
  }
}

}  // namespace rsf::test
