// Header-and-footer clip types: where clips start and end, across window boundaries too.
#include <gtest/gtest.h>

#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/byte_writer.h"
#include "synth/container_synth.h"
#if RSF_HAVE_JPEG
#include "synth/jpeg_synth.h"
#endif

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;
using test::Span;
using test::Spans;

// A JFIF-like image of `size` bytes: header, APP0 with "JFIF", filler without markers, footer.
ByteVector Jfif(std::size_t size, std::uint8_t app = 0xE0, const char* id = "JFIF") {
  ByteWriter out;
  out.U8(0xFF).U8(0xD8).U8(0xFF).U8(app).BE16(16).Text(id);
  out.Fill(size - out.size() - 2, 0x20).U8(0xFF).U8(0xD9);
  return out.Take();
}

void Put(ByteVector& source, std::size_t offset, const ByteVector& clip) {
  std::copy(clip.begin(), clip.end(), source.begin() + static_cast<std::ptrdiff_t>(offset));
}

TEST(FindHEFOClipsTest, TwoImagesInOneWindowAndTheAPP0Requirement) {
  ByteVector source(20000, 0);
  Put(source, 100, Jfif(500));
  Put(source, 1000, Jfif(300));
  Put(source, 2000, Jfif(300, 0xE1, "Exif"));  // not APP0 JFIF: not a clip of this type
  Put(source, 3000, Jfif(300, 0xE0, "JFIX"));
  auto result = ScanBytes(source, OnlyTypes({ClipKind::kJPG}));
  EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{100, 600}, {1000, 1300}}));
  ASSERT_EQ(result.list_lines.size(), 2u);
  EXPECT_EQ(result.list_lines[1], "文件 #2\tJPEG 图片\t0 KByte");
  EXPECT_EQ(result.catalogue[0].Extension, ".jpg");
}

TEST(FindHEFOClipsTest, HeadersBetweenHeaderAndFooterAreNotExamined) {
  // An embedded thumbnail: the clip ends at the first end-of-image marker after its start,
  // and the inner header is not examined in this window.
  ByteWriter outer;
  outer.U8(0xFF).U8(0xD8).U8(0xFF).U8(0xE0).BE16(16).Text("JFIF").Fill(50, 0x20);
  outer.Append(Jfif(100)).Fill(50, 0x20).U8(0xFF).U8(0xD9);
  auto result = ScanBytes(PlaceAt(5000, 10, outer.bytes()), OnlyTypes({ClipKind::kJPG}));
  EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{10, 10 + 10 + 50 + 100}}));
}

TEST(FindHEFOClipsTest, FootersInLaterWindowsAndAcrossBoundaries) {
  ByteVector source(300000, 0);
  Put(source, 1000, Jfif(150000));  // footer two windows later
  auto far = ScanBytes(source, OnlyTypes({ClipKind::kJPG}));
  EXPECT_EQ(Spans(far.catalogue), (std::vector<Span>{{1000, 151000}}));

  // A footer whose first byte is the last byte of the first window: it straddles the
  // boundary to the next, non-overlapping part of the source and must still end the clip.
  ByteVector straddle(200000, 0);
  Put(straddle, 60000, Jfif(63488 - 60000 + 1));
  Put(straddle, 100000, Jfif(200));
  auto across = ScanBytes(straddle, OnlyTypes({ClipKind::kJPG}));
  EXPECT_EQ(Spans(across.catalogue), (std::vector<Span>{{60000, 63489}, {100000, 100200}}));
}

TEST(FindHEFOClipsTest, HeaderWithoutFooterGivesNoEntry) {
  ByteVector source(100000, 0);
  ByteVector open = Jfif(300);
  open.resize(298);  // footer cut off
  Put(source, 500, open);
  Put(source, 5000, open);
  auto result = ScanBytes(source, OnlyTypes({ClipKind::kJPG}));
  EXPECT_TRUE(result.catalogue.empty());
  EXPECT_TRUE(result.list_lines.empty());
}

TEST(FindHEFOClipsTest, EveryContainerTypeEndsWhereItsFormatSays) {
  const ByteVector mpeg = synth::MpegProgramStream(8, 1);
  const ByteVector mve = synth::InterplayMve(6, 2);
  const ByteVector rm = synth::RealMediaFile(10, 3);
#if RSF_HAVE_JPEG
  const ByteVector jpeg = synth::JfifImage(40, 30, 4);
#else
  const ByteVector jpeg = Jfif(1200);  // no libjpeg in this build (Windows): a structural image
#endif
  ByteVector source(120000, 0);
  Put(source, 100, mpeg);
  Put(source, 30000, mve);
  Put(source, 50000, rm);
  Put(source, 64000, jpeg);
  auto result = ScanBytes(source);
  const std::string rm_text(rm.begin(), rm.end());
  const auto rm_end = 50000 + static_cast<std::int64_t>(rm_text.find("INDX")) + 4;
  EXPECT_EQ(Spans(result.catalogue),
            (std::vector<Span>{{100, 100 + static_cast<std::int64_t>(mpeg.size())},
                               {30000, 30000 + static_cast<std::int64_t>(mve.size())},
                               {50000, rm_end},
                               {64000, 64000 + static_cast<std::int64_t>(jpeg.size())}}))
      << "MPEG-1, MVE, RealMedia of the first window in dispatch order, then the JPEG of the second";
  EXPECT_LT(rm_end, 50000 + static_cast<std::int64_t>(rm.size())) << "the index body is not part of the clip";
}

TEST(FindHEFOClipsTest, MpegPackWithoutSystemHeaderIsPassedOver) {
  ByteVector stream = synth::MpegProgramStream(3, 9);
  ByteWriter bare;
  bare.BE32(0x000001BA).Fill(8, 0x21).BE32(0x000001E0).Fill(20, 0x20);  // pack, then a PES packet
  bare.Append(stream);
  auto result = ScanBytes(PlaceAt(10000, 200, bare.bytes()), OnlyTypes({ClipKind::kMPG}));
  EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{200 + 36, 200 + 36 + static_cast<std::int64_t>(stream.size())}}));
}

TEST(FindHEFOClipsTest, BothMatchersGiveTheSameCatalogue) {
  ByteVector source(200000, 0);
  for (std::size_t at = 0; at + 400 < source.size(); at += 6151) Put(source, at, Jfif(300 + at % 97));
  auto best = ScanBytes(source, ScanOptions::ClassicTypes(), MatcherKind::kBest);
  auto portable = ScanBytes(source, ScanOptions::ClassicTypes(), MatcherKind::kPortable);
  EXPECT_EQ(Spans(best.catalogue), Spans(portable.catalogue));
  EXPECT_EQ(best.list_lines, portable.list_lines);
  EXPECT_GT(best.catalogue.size(), 30u);
}

}  // namespace
}  // namespace rsf
