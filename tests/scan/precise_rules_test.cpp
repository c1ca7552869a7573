// Byte layouts the precise rules must delimit exactly, one per row: structures cut off at the
// source end that earlier candidates walked into, padding behind a clip, and what a walk that
// joins another one's path must still decide for itself.
#include <gtest/gtest.h>

#include "support/scan_harness.h"
#include "synth/byte_writer.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;

struct Layout {
  const char* name;
  ClipKind kind;
  ByteVector bytes;
  std::vector<test::Span> expected;
};

ByteVector Mpeg1Pack() {
  return ByteWriter().BE32(0x000001BA).U8(0x21).U8(0).U8(0x01).U8(0).U8(0x01).U8(0x80).U8(0).U8(0x01).Take();
}

std::vector<Layout> Layouts() {
  std::vector<Layout> rows;
  // A file whose movie atom is cut off: the chain from "ftyp" has no movie, nor has the one from
  // "mdat", which joins it.
  rows.push_back({"QuickTimeMovieCutOff", ClipKind::kQT,
                  ByteWriter().BE32(16).Text("ftypisom").Fill(4, 0).BE32(16).Text("mdat").Fill(8, 7).BE32(0x7FFFFFFF)
                      .Text("moov").Fill(40, 1).Take(),
                  {}});
  // Two packs, then a packet longer than what is left: no packet lies whole, from either pack.
  {
    ByteWriter w;
    w.Append(Mpeg1Pack()).Append(Mpeg1Pack());
    w.BE32(0x000001E0).BE16(0xFFFF).Fill(30, 0x22);
    rows.push_back({"MpegPacketCutOff", ClipKind::kMPG, w.Take(), {}});
  }
  // RealMedia without the closing zero marker, in zero padding: the padding is not the marker.
  {
    ByteWriter w;
    w.Text(".RMF").BE32(18).BE16(0).BE32(0).BE32(2);
    w.Text("PROP").BE32(50).BE16(0).Fill(40, 0);
    w.Text("DATA").BE32(18 + 12).BE16(0).BE32(1).BE32(0).BE16(0).BE16(12).Fill(8, 0x33);
    const std::int64_t end = static_cast<std::int64_t>(w.size());
    w.Fill(100, 0);
    rows.push_back({"RealMediaInZeroPadding", ClipKind::kRAM, w.Take(), {{0, end}}});
  }
  return rows;
}

class PreciseRules : public ::testing::TestWithParam<Layout> {};

TEST_P(PreciseRules, DelimitTheLayoutExactly) {
  ScanOptions options = test::OnlyTypes({GetParam().kind});
  options.precise = true;
  EXPECT_EQ(test::Spans(test::ScanBytes(GetParam().bytes, options).catalogue), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PreciseRules, ::testing::ValuesIn(Layouts()),
                         [](const ::testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rsf
