// QuickTime clips: the moov atom and the chain of atoms after it, with 64-bit and run-to-end
// sizes, unconfirmed candidates, and candidates at the source start and across windows.
#include <gtest/gtest.h>

#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/quicktime_synth.h"

namespace rsf {
namespace {

using synth::AtomSize;
using synth::ByteVector;
using synth::ByteWriter;
using synth::QuicktimeMovie;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;
using test::Span;
using test::Spans;

const ScanOptions kQuicktime = OnlyTypes({ClipKind::kQT});

std::vector<Span> ScanSpans(const ByteVector& source) { return Spans(ScanBytes(source, kQuicktime).catalogue); }

std::int64_t Size(const ByteVector& bytes) { return static_cast<std::int64_t>(bytes.size()); }

TEST(FindQuicktimeClipsTest, MoovThenMdatAndTheAtomsThatFollowAtOnce) {
  // ftyp before the moov is not part of the clip; "atfr" is a piece of "mdatfreewide" and is taken.
  const ByteVector ftyp = synth::Atom("ftyp", ByteVector(12, 'q'));
  const ByteVector movie = QuicktimeMovie({{"mdat", 3000}, {"free", 10}, {"wide", 0}, {"atfr", 4}});
  ByteWriter file;
  file.Append(ftyp).Append(movie).Append(synth::Atom("udta", ByteVector(20, 1))).Append(synth::Atom("mdat", {}));
  const std::int64_t start = 500 + Size(ftyp);

  test::RecordingObserver observer;
  ScanEngine engine(observer);
  engine.StartAnalysis([&] { return std::make_unique<MemoryStream>(PlaceAt(10000, 500, file.bytes())); }, kQuicktime);
  EXPECT_EQ(Spans(engine.Catalogue()), (std::vector<Span>{{start, start + Size(movie)}}));
  ASSERT_EQ(observer.list_lines.size(), 1u);
  EXPECT_EQ(observer.list_lines[0], "文件 #1\tQuicktime 剪辑\t3 KByte");
  EXPECT_EQ(engine.Catalogue()[0].Extension, ".qt");
  ASSERT_FALSE(observer.statuses.empty());
  EXPECT_EQ(observer.statuses[0].text, "找到 Quicktime 头部 - 正在计算大小...");
}

TEST(FindQuicktimeClipsTest, UnconfirmedMoovEndsTheSearchOfItsWindow) {
  // mdat then moov with nothing after it: removed, and the good movie behind it in the same
  // window is not looked at; the one in a later window is.
  const ByteVector backwards = QuicktimeMovie({{"mdat", 500}}, false);
  const ByteVector movie = QuicktimeMovie({{"mdat", 500}});
  ByteVector source = PlaceAt(140000, 100, backwards);
  std::copy(movie.begin(), movie.end(), source.begin() + 5000);
  std::copy(movie.begin(), movie.end(), source.begin() + 70000);
  EXPECT_EQ(ScanSpans(source), (std::vector<Span>{{70000, 70000 + Size(movie)}}));
  // "moov" in unrelated text.
  EXPECT_TRUE(ScanSpans(PlaceAt(1000, 100, {'s', 'm', 'o', 'o', 'v', 'e'})).empty());
}

TEST(FindQuicktimeClipsTest, SizeZeroRunsToTheSourceEnd) {
  const ByteVector movie = QuicktimeMovie({{"free", 16}, {"mdat", 100, AtomSize::kToEnd}});
  EXPECT_EQ(ScanSpans(PlaceAt(5000, 200, movie)), (std::vector<Span>{{200, 5000}}));
  // A moov of size 0 has no end of its own: unconfirmed.
  ByteVector moov_to_end = QuicktimeMovie({{"mdat", 100}});
  moov_to_end[0] = moov_to_end[1] = moov_to_end[2] = moov_to_end[3] = 0;
  EXPECT_TRUE(ScanSpans(PlaceAt(5000, 200, moov_to_end)).empty());
}

TEST(FindQuicktimeClipsTest, SizeOneTakesTheSixtyFourBitSize) {
  const ByteVector movie = QuicktimeMovie({{"mdat", 2000, AtomSize::k64Bit}, {"free", 8, AtomSize::k64Bit}});
  EXPECT_EQ(ScanSpans(PlaceAt(5000, 300, movie)), (std::vector<Span>{{300, 300 + Size(movie)}}));

  const ByteVector moov = synth::MoovAtom();
  const auto with_tail = [&](const ByteVector& tail) { return ByteWriter().Append(moov).Append(synth::Atom("free", {})).Append(tail).Take(); };
  // The 64-bit size cut by the source end: the chain ends where that atom begins.
  ByteVector cut = with_tail({0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0});
  EXPECT_EQ(ScanSpans(cut), (std::vector<Span>{{0, Size(moov) + 8}}));
  // A 64-bit size of 0 does not move on; one far past the source end is cut at the end.
  ByteVector zero = with_tail({0, 0, 0, 1, 'm', 'd', 'a', 't', 0, 0, 0, 0, 0, 0, 0, 0, 9, 9});
  EXPECT_EQ(ScanSpans(zero), (std::vector<Span>{{0, Size(moov) + 8}}));
  ByteVector far = with_tail({0, 0, 0, 1, 'm', 'd', 'a', 't', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0});
  EXPECT_EQ(ScanSpans(far), (std::vector<Span>{{0, Size(far)}}));
}

TEST(FindQuicktimeClipsTest, NoStartBeforeTheSourceAndNoClipPastItsEnd) {
  // "moov" at offset 2 would start at -2: passed over, and the search goes on.
  const ByteVector movie = QuicktimeMovie({{"mdat", 400}});
  ByteVector source = PlaceAt(3000, 2, {'m', 'o', 'o', 'v', 0, 0, 0, 8, 'f', 'r', 'e', 'e'});
  std::copy(movie.begin(), movie.end(), source.begin() + 1000);
  EXPECT_EQ(ScanSpans(source), (std::vector<Span>{{1000, 1000 + Size(movie)}}));
  // An mdat longer than what is left: the clip ends at the source end.
  const ByteVector cut(movie.begin(), movie.end() - 100);
  EXPECT_EQ(ScanSpans(cut), (std::vector<Span>{{0, Size(cut)}}));
}

}  // namespace
}  // namespace rsf
