// Where a new encoding begins inside a run of layer III frames: the side information read from a
// frame's first bytes, and the rules over a sequence of frames (each kind of evidence, the
// reservoir's accounting at a split, an encoder that never uses the reservoir).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "scan/detectors/mp3/encoding_starts.h"
#include "scan/detectors/mp3/layer3_side_info.h"

namespace rsf {
namespace {

// A frame's facts: main_data_begin, room for main data, main data used, header frame.
Layer3Frame F(int begin, int room, int used, bool header_frame = false) { return {begin, room, used, header_frame}; }
const std::optional<Layer3Frame> kUnreadable;

struct RuleCase {
  std::string name;
  std::vector<std::optional<Layer3Frame>> frames;
  std::vector<std::size_t> starts;  // frames where a new encoding begins
};
void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }

class EncodingStartRules : public testing::TestWithParam<RuleCase> {};

// As the frame walk uses them: a new part begins at every start.
TEST_P(EncodingStartRules, SplitsWhereTheEvidenceHolds) {
  std::vector<std::size_t> starts;
  EncodingStarts encodings(4);
  for (std::size_t i = 0; i < GetParam().frames.size(); ++i) {
    if (encodings.BeginsAt(GetParam().frames[i])) {
      starts.push_back(i);
      encodings = EncodingStarts(4);
    }
    encodings.Take(GetParam().frames[i]);
  }
  EXPECT_EQ(starts, GetParam().starts);
}

// A file of an encoder that uses the reservoir: 0 first, then pointing back into what the frame
// before left unused, ending with 40 bytes unused.
std::vector<std::optional<Layer3Frame>> ReservoirFile() {
  return {F(0, 100, 60), F(40, 100, 110), F(30, 100, 100), F(30, 100, 90), F(40, 100, 100)};
}
std::vector<std::optional<Layer3Frame>> operator+(std::vector<std::optional<Layer3Frame>> a,
                                                  const std::vector<std::optional<Layer3Frame>>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, EncodingStartRules,
    testing::Values(
        RuleCase{"files of a reservoir encoder back to back", ReservoirFile() + ReservoirFile() + ReservoirFile(), {5, 10}},
        RuleCase{"an emptied reservoir mid-stream goes on",
                 ReservoirFile() + std::vector<std::optional<Layer3Frame>>{F(40, 100, 140), F(0, 100, 70), F(30, 100, 90)},
                 {}},
        RuleCase{"an encoder without reservoir is never cut",
                 std::vector<std::optional<Layer3Frame>>(12, F(0, 100, 96)), {}},
        RuleCase{"a header frame starts a file, the frame behind it does not",
                 ReservoirFile() +
                     std::vector<std::optional<Layer3Frame>>{F(0, 100, 0, true), F(0, 100, 60), F(40, 100, 110),
                                                             F(30, 100, 100), F(30, 100, 90)} +
                     ReservoirFile(),
                 {5, 10}},
        RuleCase{"a header frame of a stream without reservoir",
                 std::vector<std::optional<Layer3Frame>>(6, F(0, 100, 96)) +
                     std::vector<std::optional<Layer3Frame>>{F(0, 100, 0, true), F(0, 100, 96)},
                 {6}},
        RuleCase{"a part keeps four frames", {F(0, 100, 60), F(40, 100, 90), F(0, 100, 60), F(40, 100, 100), F(0, 100, 60, true)}, {4}},
        RuleCase{"main data reaching into the frame before's stops the accounting",
                 std::vector<std::optional<Layer3Frame>>{F(0, 100, 60), F(50, 100, 100)} + ReservoirFile() + ReservoirFile(),
                 {}},
        RuleCase{"main data past its own frame stops the accounting",
                 std::vector<std::optional<Layer3Frame>>{F(0, 100, 60), F(40, 100, 150), F(0, 100, 10)} + ReservoirFile() +
                     ReservoirFile(),
                 {}},
        RuleCase{"unreadable side information stops the accounting",
                 std::vector<std::optional<Layer3Frame>>{F(0, 100, 60), kUnreadable, F(40, 100, 110), F(30, 100, 100)} +
                     ReservoirFile(),
                 {}}));

// Side information written bit by bit behind a header.
class FrameBytes {
 public:
  explicit FrameBytes(std::uint32_t header, std::size_t size = 64) : bytes_(size, 0) {
    for (int i = 0; i < 4; ++i) bytes_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(header >> (24 - 8 * i));
    bit_ = (header & 0x10000u) ? 32 : 48;  // behind the checksum when there is one
  }
  FrameBytes& Put(unsigned value, unsigned count) {
    for (unsigned i = count; i-- > 0; ++bit_)
      if ((value >> i) & 1u) bytes_[bit_ / 8] |= static_cast<std::uint8_t>(0x80u >> (bit_ % 8));
    return *this;
  }
  FrameBytes& Skip(unsigned count) {
    bit_ += count;
    return *this;
  }
  FrameBytes& Text(std::size_t at, const std::string& text) {
    std::copy(text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at));
    return *this;
  }
  Bytes View(std::size_t count) const { return Bytes(bytes_.data(), count); }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t bit_;
};

TEST(Layer3SideInfoTest, ReadsTheReservoirAndTheHeaderFrames) {
  // MPEG-1 layer III, 128 kbit/s, 44,100 Hz, joint stereo, with a checksum: 417 bytes, 32 bytes of
  // side information behind 6. Granules of 1000, 2000, 3000 and 4001 bits.
  FrameBytes stereo(0xFFFA9040u);
  stereo.Put(300, 9).Skip(3 + 8);
  for (unsigned bits : {1000u, 2000u, 3000u, 4001u}) stereo.Put(bits, 12).Skip(47);
  const auto frame = ReadLayer3Frame(0xFFFA9040u, 417, stereo.View(42));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->main_data_begin, 300);
  EXPECT_EQ(frame->main_data_room, 417 - 6 - 32);
  EXPECT_EQ(frame->main_data_used, 1251);
  EXPECT_FALSE(frame->header_frame);
  EXPECT_FALSE(ReadLayer3Frame(0xFFFA9040u, 417, stereo.View(37))) << "side information cut short";

  // MPEG-2.5 layer III, 16 kbit/s, 11,025 Hz, mono, no checksum: 104 bytes, 9 bytes of side
  // information; an 8-bit main_data_begin and one granule of 63 bits.
  FrameBytes mono(0xFFE320C0u);
  mono.Put(255, 8).Skip(1).Put(777, 12);
  const auto low = ReadLayer3Frame(0xFFE320C0u, 104, mono.View(42));
  ASSERT_TRUE(low);
  EXPECT_EQ(low->main_data_begin, 255);
  EXPECT_EQ(low->main_data_room, 104 - 4 - 9);
  EXPECT_EQ(low->main_data_used, 98);

  EXPECT_TRUE(ReadLayer3Frame(0xFFE320C0u, 104, FrameBytes(0xFFE320C0u).Text(13, "Xing").View(42))->header_frame);
  EXPECT_TRUE(ReadLayer3Frame(0xFFE320C0u, 104, FrameBytes(0xFFE320C0u).Text(13, "Info").View(42))->header_frame);
  EXPECT_TRUE(ReadLayer3Frame(0xFFFB9040u, 417, FrameBytes(0xFFFB9040u).Text(36, "VBRI").View(42))->header_frame);
  EXPECT_FALSE(ReadLayer3Frame(0xFFFB9040u, 417, FrameBytes(0xFFFB9040u).Text(13, "Xing").View(42))->header_frame)
      << "inside the side information of a stereo MPEG-1 frame";
  EXPECT_FALSE(ReadLayer3Frame(0xFFFD9040u, 417, FrameBytes(0xFFFD9040u).View(42))) << "layer II has no reservoir";
}

}  // namespace
}  // namespace rsf
