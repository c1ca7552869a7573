// Bitmap, AVI and WAVE clips: boundaries from the length field, information texts, the order of
// the three types within a window, and headers at window and source ends.
#include <gtest/gtest.h>

#include "clipinfo/maldoavi.h"
#include "scan/catalogue/clip_types.h"
#include "support/scan_harness.h"
#include "synth/bitmap_synth.h"
#include "synth/riff_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::OnlyTypes;
using test::PlaceAt;
using test::ScanBytes;

const ScanOptions kRiffTypes = OnlyTypes({ClipKind::kBMP, ClipKind::kAVI, ClipKind::kWAV});

struct Span {
  std::int64_t start, end;
  std::string extension;
  bool operator==(const Span&) const = default;
};
std::vector<Span> Spans(const ClipCatalogue& catalogue) {
  std::vector<Span> spans;
  for (const auto& clip : catalogue) spans.push_back({clip.StartOffset, clip.EndOffset, clip.Extension});
  return spans;
}

void Put(ByteVector& source, std::size_t offset, const ByteVector& clip) {
  std::copy(clip.begin(), clip.end(), source.begin() + static_cast<std::ptrdiff_t>(offset));
}

TEST(FindRIFFClipsTest, WaveAtOffset1000EndsAfterItsRiffSizePlusEight) {
  const ByteVector wave = synth::PcmWave(22050, 2, 16, 0);  // RIFF size 36
  ASSERT_EQ(wave.size(), 44u);
  const auto result = ScanBytes(PlaceAt(5000, 1000, wave), kRiffTypes);
  EXPECT_EQ(Spans(result.catalogue), (std::vector<Span>{{1000, 1044, ".wav"}}));
  ASSERT_EQ(result.list_lines.size(), 1u);
  EXPECT_EQ(result.list_lines[0], "文件 #1\tWAV 音频\t0 KByte");
  EXPECT_EQ(result.catalogue[0].InfoText, "22050 Hz 16 Bit 立体声\r\n速率      : 88200\r\n格式   : PCM");
}

TEST(FindRIFFClipsTest, RiffFormsOtherThanAviAndWaveAreNotClips) {
  ByteVector source(20000, 0);
  Put(source, 100, synth::RiffFile("RMID", synth::RiffChunk("data", ByteVector(40, 1))));
  // A WAVE file whose first chunk is not the format chunk.
  Put(source, 1000, synth::RiffFile("WAVE", synth::RiffChunk("LIST", ByteVector(20, 2))));
  Put(source, 2000, synth::RiffFile("AVI ", synth::RiffChunk("JUNK", ByteVector(20, 3))));
  EXPECT_TRUE(ScanBytes(source, kRiffTypes).catalogue.empty());
}

TEST(FindRIFFClipsTest, BitmapsAreNumberedBeforeAviBeforeWaveInOneWindow) {
  const ByteVector wave = synth::PcmWave(8000, 1, 8, 100);
  const ByteVector avi = synth::AviFile({.handler = "cvid"});
  const ByteVector bitmap = synth::BitmapFile(64, 48, 8);
  ByteVector source(avi.size() + wave.size() + bitmap.size() + 3000, 0);
  Put(source, 50, wave);
  Put(source, 1000, avi);
  Put(source, 2000 + avi.size(), bitmap);
  const auto b = static_cast<std::int64_t>(2000 + avi.size());
  const auto result = ScanBytes(source, kRiffTypes);
  EXPECT_EQ(Spans(result.catalogue),
            (std::vector<Span>{{b, b + static_cast<std::int64_t>(bitmap.size()), ".bmp"},
                               {1000, 1000 + static_cast<std::int64_t>(avi.size()), ".avi"},
                               {50, 50 + static_cast<std::int64_t>(wave.size()), ".wav"}}));
  ASSERT_EQ(result.list_lines.size(), 3u);
  EXPECT_EQ(result.list_lines[0], "文件 #1\tBitmap 图片\t" + std::to_string(bitmap.size() / 1024) + " KByte");
  EXPECT_EQ(result.catalogue[0].InfoText, "大小 : 64 x 48\r\nBPP : 8");
  EXPECT_EQ(result.catalogue[1].InfoText,
            "FPS : 10\r\n大小 : 64 x 48\r\n播放长度 : 0:1\r\n编码器 : Cinepak (cvid)");
}

TEST(FindRIFFClipsTest, NestedRiffClipsAreBothFound) {
  // A WAVE carried as the payload of an AVI frame: both RIFF headers are examined.
  const ByteVector wave = synth::PcmWave(11025, 1, 16, 50);
  const ByteVector avi = synth::AviFile({.frames = 1, .frame_bytes = 200});
  ByteVector outer = avi;
  const std::size_t frame_data = outer.size() - 200 - 8 - 16;  // first frame chunk's data, before idx1
  Put(outer, frame_data, wave);
  const auto result = ScanBytes(PlaceAt(3000, 0, outer), kRiffTypes);
  EXPECT_EQ(Spans(result.catalogue),
            (std::vector<Span>{{0, static_cast<std::int64_t>(avi.size()), ".avi"},
                               {static_cast<std::int64_t>(frame_data),
                                static_cast<std::int64_t>(frame_data + wave.size()), ".wav"}}));
}

TEST(FindRIFFClipsTest, ImplausibleBitmapHeadersArePassedOver) {
  ByteVector source(10000, 0);
  Put(source, 0, synth::BitmapFile(4000, 1, 1));
  Put(source, 2000, synth::BitmapFile(10, 10, 12));
  Put(source, 4000, synth::BitmapFile(10, -10, 24));  // top-down rows: negative height
  // "BMBM...": every other byte a candidate, none of them a header.
  for (std::size_t i = 8000; i < 10000; i += 2) Put(source, i, {'B', 'M'});
  EXPECT_TRUE(ScanBytes(source, OnlyTypes({ClipKind::kBMP})).catalogue.empty());
}

TEST(FindRIFFClipsTest, ClipsRunningPastTheSourceEndArePassedOver) {
  // The length fits between the window start and the source end, but not after the clip's start.
  const ByteVector wave = synth::PcmWave(8000, 1, 8, 2000);
  ByteVector cut(wave.begin(), wave.end() - 1);
  EXPECT_TRUE(ScanBytes(PlaceAt(40000, 40000 - cut.size(), cut), kRiffTypes).catalogue.empty());
  const ByteVector bitmap = synth::BitmapFile(30, 30, 24);
  EXPECT_TRUE(ScanBytes(PlaceAt(10000, 10000 - bitmap.size() + 1, ByteVector(bitmap.begin(), bitmap.end() - 1)),
                        kRiffTypes)
                  .catalogue.empty());
  // Ending exactly at the source end is fine.
  const auto exact = ScanBytes(PlaceAt(40000, 40000 - wave.size(), wave), kRiffTypes);
  EXPECT_EQ(Spans(exact.catalogue), (std::vector<Span>{{static_cast<std::int64_t>(40000 - wave.size()), 40000, ".wav"}}));
}

TEST(FindRIFFClipsTest, HeadersAcrossTheWindowEndAreFoundOnceWithTheirWholeInformation) {
  // Window k starts at k x 63,448 and ends 63,488 bytes later. Each clip is listed in the window
  // that holds its whole header, in window order.
  const ByteVector bitmap = synth::BitmapFile(33, 21, 24);  // its 35 checked bytes cross the end
  const ByteVector wave = synth::PcmWave(44100, 1, 16, 10);  // its sub-signature crosses the end
  const ByteVector avi = synth::AviFile({.micro_sec_per_frame = 40000, .handler = "cvid"});
  const ByteVector listed = synth::BitmapFile(20, 20, 8);  // wholly in the 40 shared bytes
  ByteVector source(300000, 0);
  Put(source, 63488 - 100, avi);  // its codec code lies past the first window's end
  Put(source, 63488 - 20 + 63448, bitmap);
  Put(source, 63488 - 10 + 2 * 63448, wave);
  Put(source, 63450 + 3 * 63448, listed);
  const auto result = ScanBytes(source, kRiffTypes);
  const auto at = [](std::int64_t start, const ByteVector& clip, const char* extension) {
    return Span{start, start + static_cast<std::int64_t>(clip.size()), extension};
  };
  EXPECT_EQ(Spans(result.catalogue),
            (std::vector<Span>{at(63388, avi, ".avi"), at(63468 + 63448, bitmap, ".bmp"),
                               at(63450 + 3 * 63448, listed, ".bmp"), at(63478 + 2 * 63448, wave, ".wav")}));
  ASSERT_EQ(result.catalogue.size(), 4u);
  EXPECT_EQ(result.catalogue[0].InfoText, GetAVIInfo(avi));
  EXPECT_NE(result.catalogue[0].InfoText.find("Cinepak (cvid)"), std::string::npos);
  EXPECT_EQ(result.catalogue[1].InfoText, "大小 : 33 x 21\r\nBPP : 24");
}

TEST(FindRIFFClipsTest, InformationBytesPastTheSourceEndReadAsZero) {
  const ByteVector avi = synth::AviFile({.frames = 0, .handler = "XVID"});
  ASSERT_LT(avi.size(), kAviInfoBytes);
  ByteVector padded = avi;
  padded.resize(kAviInfoBytes, 0);
  const auto result = ScanBytes(PlaceAt(1000, 1000 - avi.size(), avi), kRiffTypes);
  ASSERT_EQ(result.catalogue.size(), 1u);
  EXPECT_EQ(result.catalogue[0].InfoText, GetAVIInfo(padded));
}

}  // namespace
}  // namespace rsf
