// Byte layouts the precise rules must delimit exactly, one per row: structures cut off at the
// source end that earlier candidates walked into, padding behind a clip, what a walk that joins
// another one's path must still decide for itself, and ends the structure does not prove (which
// end at the next clip and hide nothing) next to those that the tables of a movie prove.
#include <gtest/gtest.h>

#include "support/scan_harness.h"
#include "synth/bitmap_synth.h"
#include "synth/byte_writer.h"
#include "synth/random_filler.h"

namespace rsf {
namespace {

using synth::ByteVector;
using synth::ByteWriter;

struct Layout {
  const char* name;
  ClipKind kind;
  ByteVector bytes;
  std::vector<test::Span> expected;
  std::vector<bool> open = {};  // by clip: whether its end is open (none given: all proven)
  std::vector<ClipKind> also = {};  // further types enabled
};

ByteVector Mpeg1Pack() {
  return ByteWriter().BE32(0x000001BA).U8(0x21).U8(0).U8(0x01).U8(0).U8(0x01).U8(0x80).U8(0).U8(0x01).Take();
}

// An MPEG-1 pack header whose system clock reference is `clock`, with one packet behind it.
ByteVector Mpeg1PackWithPacket(std::uint64_t clock) {
  ByteWriter w;
  w.BE32(0x000001BA).U8(static_cast<std::uint8_t>(0x21 | ((clock >> 29) & 0x0E))).U8(static_cast<std::uint8_t>(clock >> 22));
  w.U8(static_cast<std::uint8_t>(((clock >> 14) & 0xFE) | 1)).U8(static_cast<std::uint8_t>(clock >> 7));
  w.U8(static_cast<std::uint8_t>(((clock << 1) & 0xFE) | 1)).U8(0x80).U8(0).U8(0x01);
  return w.BE32(0x000001E0).BE16(30).Fill(30, 0x22).Take();
}

ByteVector Box(std::string_view type, const ByteVector& body) {
  return ByteWriter().BE32(static_cast<std::uint32_t>(8 + body.size())).Text(type).Append(body).Take();
}

// A movie atom with one track whose chunks (offsets from the movie's first byte) hold samples
// of the given sizes, `per_chunk` to a chunk.
ByteVector MovieAtom(const std::vector<std::uint32_t>& chunk_offsets, const std::vector<std::uint32_t>& sizes,
                     std::uint32_t per_chunk) {
  ByteWriter stco, stsz;
  stco.BE32(0).BE32(static_cast<std::uint32_t>(chunk_offsets.size()));
  for (const std::uint32_t offset : chunk_offsets) stco.BE32(offset);
  stsz.BE32(0).BE32(0).BE32(static_cast<std::uint32_t>(sizes.size()));
  for (const std::uint32_t size : sizes) stsz.BE32(size);
  const ByteVector stsc = ByteWriter().BE32(0).BE32(1).BE32(1).BE32(per_chunk).BE32(1).Take();
  const ByteVector stbl = Box("stbl", ByteWriter().Append(Box("stsc", stsc)).Append(Box("stsz", stsz.Take()))
                                          .Append(Box("stco", stco.Take())).Take());
  return Box("moov", Box("trak", Box("mdia", Box("minf", stbl))));
}

// An MPEG-1 video elementary stream: sequence header, group, then pictures of one slice each.
ByteVector VideoStream(int pictures, bool end_code) {
  ByteWriter w;
  w.BE32(0x000001B3).U8(0x0A).U8(0x00).U8(0x78).U8(0x13).U8(0xFF).U8(0xFF).U8(0xE0).U8(0x18);
  w.BE32(0x000001B8).BE32(0x00080000);
  for (int i = 0; i < pictures; ++i) w.BE32(0x00000100).BE32(0x00100000).BE32(0x00000101).Fill(40, 0x5A);
  if (end_code) w.BE32(0x000001B7);
  return w.Take();
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
  // A movie whose last atom is an mdat of size 0 and whose movie atom places no sample: its end
  // is open. It ends at the next clip of any type, and the 50 bitmaps after it are all listed.
  {
    ByteWriter w;
    w.BE32(16).Text("ftypisom").Fill(4, 0).Append(Box("moov", ByteVector(20, 3))).BE32(0).Text("mdat");
    std::vector<test::Span> expected{{0, 0}};
    std::vector<bool> open{true};
    for (int i = 0; i < 50; ++i) {
      w.Append(synth::RandomBytes(300 + i * 13, i));
      const ByteVector bitmap = synth::BitmapFile(4 + i % 5, 3, 8, i);
      const auto at = static_cast<std::int64_t>(w.size());
      expected.push_back({at, at + static_cast<std::int64_t>(bitmap.size())});
      open.push_back(false);
      w.Append(bitmap);
    }
    expected[0].end = expected[1].start;
    w.Append(synth::RandomBytes(500, 99));
    rows.push_back({"OpenEndedMovieHidesNothing", ClipKind::kQT, w.Take(), expected, open, {ClipKind::kBMP}});
  }
  // The same movie with sample tables: the media data end proves the end, in random filler.
  {
    ByteWriter w;
    w.BE32(16).Text("ftypisom").Fill(4, 0);
    const std::uint32_t data = static_cast<std::uint32_t>(w.size() + MovieAtom({0, 0}, {0, 0, 0, 0}, 2).size() + 8);
    w.Append(MovieAtom({data, data + 500}, {100, 150, 200, 50}, 2)).BE32(0).Text("mdat").Fill(750, 0x44);
    const auto end = static_cast<std::int64_t>(w.size());
    w.Append(synth::RandomBytes(3000, 5));
    rows.push_back({"QuickTimeSizeZeroDataEndsByTheSampleTables", ClipKind::kQT, w.Take(), {{0, end}}});
  }
  // A fragmented movie ending in a fragment whose mdat has size 0: the track run places the data.
  {
    ByteWriter w;
    w.BE32(16).Text("ftypiso6").Fill(4, 0).Append(Box("moov", Box("mvex", ByteVector(12, 0))));
    const ByteVector tfhd = Box("tfhd", ByteWriter().BE32(0x020000).BE32(1).Take());
    ByteVector trun = Box("trun", ByteWriter().BE32(0x000201).BE32(3).BE32(0).BE32(10).BE32(20).BE32(30).Take());
    const ByteVector moof_probe = Box("moof", Box("traf", ByteWriter().Append(tfhd).Append(trun).Take()));
    const auto data_offset = static_cast<std::uint32_t>(moof_probe.size() + 8);  // from the fragment's start
    trun = Box("trun", ByteWriter().BE32(0x000201).BE32(3).BE32(data_offset).BE32(10).BE32(20).BE32(30).Take());
    w.Append(Box("moof", Box("traf", ByteWriter().Append(tfhd).Append(trun).Take()))).BE32(0).Text("mdat").Fill(60, 9);
    const auto end = static_cast<std::int64_t>(w.size());
    w.Append(synth::RandomBytes(2000, 6));
    rows.push_back({"FragmentSizeZeroDataEndsByTheTrackRun", ClipKind::kQT, w.Take(), {{0, end}}});
  }
  // Tables that place all media before the size-0 atom leave it empty: the movie ends after
  // its header, and the picture lying in its first mdat is part of it.
  {
    ByteWriter w;
    w.BE32(16).Text("ftypqt  ").Fill(4, 0);
    const auto data = static_cast<std::uint32_t>(w.size() + MovieAtom({0}, {0}, 1).size() + 8);
    w.Append(MovieAtom({data}, {400}, 1)).Append(Box("mdat", ByteVector(400, 0x31)));
    const std::int64_t end = static_cast<std::int64_t>(w.size()) + 8;
    w.BE32(0).Text("mdat").Fill(24, 0).Append(synth::RandomBytes(900, 11));
    rows.push_back({"QuickTimeSizeZeroAtomLeftEmpty", ClipKind::kQT, w.Take(), {{0, end}}});
  }
  // Sample tables whose sizes would add up past any 64-bit offset: no end from them, so the end
  // is open (and the sum never overflows).
  {
    ByteWriter stbl;
    stbl.Append(Box("stsc", ByteWriter().BE32(0).BE32(1).BE32(1).BE32(0xFFFFFFFF).BE32(1).Take()));
    stbl.Append(Box("stsz", ByteWriter().BE32(0).BE32(0xFFFFFFFF).BE32(0xFFFFFFFF).Take()));
    stbl.Append(Box("stco", ByteWriter().BE32(0).BE32(1).BE32(0x7FFFFFFF).Take()));
    ByteWriter w;
    w.BE32(16).Text("ftypisom").Fill(4, 0).Append(Box("moov", Box("trak", Box("mdia", Box("minf", Box("stbl", stbl.Take()))))));
    w.BE32(0).Text("mdat").Fill(100, 5);
    const auto size = static_cast<std::int64_t>(w.size());
    rows.push_back({"QuickTimeTablesBeyondAnyOffset", ClipKind::kQT, w.Take(), {{0, size}}, {true}});
  }
  // Movies back to back: the second one's file type atom begins it.
  {
    const ByteVector movie = ByteWriter().BE32(16).Text("ftypisom").Fill(4, 0).Append(Box("moov", ByteVector(30, 1)))
                                 .Append(Box("mdat", ByteVector(200, 2))).Take();
    const auto size = static_cast<std::int64_t>(movie.size());
    rows.push_back({"MoviesBackToBack", ClipKind::kQT, ByteWriter().Append(movie).Append(movie).Take(),
                    {{0, size}, {size, 2 * size}}});
  }
  // Program streams back to back without end codes: the pack whose clock goes back begins the
  // second. Neither end is proven.
  {
    ByteWriter first, second;
    first.Append(Mpeg1PackWithPacket(9000)).Append(Mpeg1PackWithPacket(12000));
    second.Append(Mpeg1PackWithPacket(3000)).Append(Mpeg1PackWithPacket(6000));
    const auto a = static_cast<std::int64_t>(first.size()), b = static_cast<std::int64_t>(second.size());
    rows.push_back({"ProgramStreamsBackToBack", ClipKind::kMPG,
                    ByteWriter().Append(first.bytes()).Append(second.bytes()).Append(synth::RandomBytes(600, 12)).Take(),
                    {{0, a}, {a, a + b}}, {true, true}});
  }
  // A WAVE whose form has an odd size ends without the pad byte its writer never wrote.
  {
    ByteWriter w;
    w.Text("RIFF").LE32(4 + 24 + 8 + 101).Text("WAVEfmt ").LE32(16).LE16(1).LE16(1).LE32(8000).LE32(8000).LE16(1).LE16(8);
    w.Text("data").LE32(101).Fill(101, 0x80);
    const auto end = static_cast<std::int64_t>(w.size());
    w.Append(synth::RandomBytes(300, 13));
    rows.push_back({"WaveOfOddSizeWithoutPadByte", ClipKind::kWAV, w.Take(), {{0, end}}});
  }
  // A Video CD stream: packs padded with zeros to their sector, then the end code (proven).
  {
    ByteWriter w;
    for (int i = 0; i < 3; ++i)
      w.Append(Mpeg1Pack()).BE32(0x000001E0).BE16(20).Fill(20, 0x22).Fill(300 + i, 0);
    w.Append(Mpeg1Pack()).BE32(0x000001B9);
    const auto end = static_cast<std::int64_t>(w.size());
    w.Append(synth::RandomBytes(1000, 7));
    rows.push_back({"MpegPacksPaddedToTheirSectors", ClipKind::kMPG, w.Take(), {{0, end}}});
  }
  // Video elementary streams: with the end code a proven end; without, the end is open and lies
  // before the picture that is not whole.
  {
    ByteWriter w;
    w.Append(synth::RandomBytes(100, 8));
    const ByteVector closed = VideoStream(3, true);
    w.Append(closed).Append(synth::RandomBytes(700, 9));
    const auto open_at = static_cast<std::int64_t>(w.size());
    const ByteVector open = VideoStream(4, false);
    w.Append(open).Append(synth::RandomBytes(800, 10));
    const std::int64_t last_picture = static_cast<std::int64_t>(open.size()) - 52;
    rows.push_back({"MpegVideoElementaryStreams", ClipKind::kMPG, w.Take(),
                    {{100, 100 + static_cast<std::int64_t>(closed.size())}, {open_at, open_at + last_picture}}, {false, true}});
  }
  // A WAVE written to a pipe (no sizes) with a bitmap inside its data: the bitmap is listed and
  // ends the WAVE, whose end is open.
  {
    ByteWriter w;
    w.Text("RIFF").LE32(0xFFFFFFFF).Text("WAVEfmt ").LE32(16).LE16(1).LE16(1).LE32(8000).LE32(8000).LE16(1).LE16(8);
    w.Text("data").LE32(0xFFFFFFFF).Fill(900, 0x80);
    const auto bitmap_at = static_cast<std::int64_t>(w.size());
    const ByteVector bitmap = synth::BitmapFile(6, 4, 8, 3);
    w.Append(bitmap).Fill(700, 0x80);
    // Bitmaps are looked for before WAVE files in a window, so the bitmap comes first.
    rows.push_back({"StreamedWaveEndsAtTheClipInside", ClipKind::kWAV, w.Take(),
                    {{bitmap_at, bitmap_at + static_cast<std::int64_t>(bitmap.size())}, {0, bitmap_at}}, {false, true},
                    {ClipKind::kBMP}});
  }
  return rows;
}

class PreciseRules : public ::testing::TestWithParam<Layout> {};

TEST_P(PreciseRules, DelimitTheLayoutExactly) {
  ScanOptions options = test::OnlyTypes({GetParam().kind});
  for (const ClipKind kind : GetParam().also) options.enabled[static_cast<std::size_t>(kind)] = true;
  options.precise = true;
  const ClipCatalogue catalogue = test::ScanBytes(GetParam().bytes, options).catalogue;
  EXPECT_EQ(test::Spans(catalogue), GetParam().expected);
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    const bool open = i < GetParam().open.size() && GetParam().open[i];
    EXPECT_EQ(catalogue[i].OpenEnd, open) << "clip " << i;
    // The information text says so too.
    EXPECT_EQ(catalogue[i].InfoText.ends_with(kOpenEndInfoLine), open) << "clip " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PreciseRules, ::testing::ValuesIn(Layouts()),
                         [](const ::testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rsf
