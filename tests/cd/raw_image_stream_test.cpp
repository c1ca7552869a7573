// Disc images through their cue sheets: the EDC against a bit-by-bit reckoning, what each
// stored sector gives (a row per layout and fault), the sheet's lines and its faults with their
// line numbers, refused sectors failing a read like a bad sector on a disc, and the audio tracks
// beside the stream. The stream contract over the images stands with the CD streams'.
#include <gtest/gtest.h>

#include <cstring>

#include "base/crc32.h"
#include "base/errors.h"
#include "cd/cd_sector.h"
#include "cd/cue_sheet.h"
#include "cd/raw_image_stream.h"
#include "raw_images.h"
#include "support/scan_harness.h"
#include "synth/cd_sector_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::Cat;
using test::Counting;
using test::CountingBytes;
using test::Image;
using test::kDataBytes;
using test::kSamples;

TEST(CdEdc, AgreesWithTheReflectedPolynomialReckonedBitByBit) {
  const ByteVector bytes = CountingBytes(3000);
  for (const std::size_t length : {0u, 1u, 7u, 2064u, 3000u}) {
    std::uint32_t crc = 0;
    for (std::size_t i = 0; i < length; ++i) {
      crc ^= bytes[i];
      for (int bit = 0; bit < 8; ++bit) {
        // 0x8001801B with its 32 bits in reverse order.
        std::uint32_t reversed = 0;
        for (int k = 0; k < 32; ++k) reversed |= ((0x8001801Bu >> k) & 1u) << (31 - k);
        crc = (crc & 1) ? (crc >> 1) ^ reversed : crc >> 1;
      }
    }
    EXPECT_EQ(CdEdc(Bytes(bytes.data(), length)), crc) << length;
  }
}

struct SectorCase {
  std::string name;
  TrackMode mode;
  ByteVector sector;
  bool delivered;
  ByteVector user;  // what arrives when delivered
};

void PrintTo(const SectorCase& c, std::ostream* out) { *out << c.name; }

class SectorDecoding : public ::testing::TestWithParam<SectorCase> {};

TEST_P(SectorDecoding, DeliversTheUserDataOrRefuses) {
  std::vector<std::uint8_t> into(2048, 0xAA);
  EXPECT_EQ(UserDataOfSector(GetParam().mode, GetParam().sector, into.data()), GetParam().delivered);
  if (GetParam().delivered) {
    EXPECT_EQ(into, GetParam().user);
  }
}

std::vector<SectorCase> SectorCases() {
  const ByteVector user = CountingBytes(2048);
  const ByteVector mode1 = synth::Mode1Sector(16, user.data(), user.size());
  const ByteVector form1 = synth::Mode2Sector(16, false, user.data(), user.size());
  const ByteVector form2 = synth::Mode2Sector(16, true, user.data(), user.size());
  const auto changed = [](ByteVector sector, std::size_t at, std::uint8_t value) {
    sector[at] = value;
    return sector;
  };
  const auto without_edc = [](ByteVector sector, std::size_t at) {
    std::fill(sector.begin() + static_cast<std::ptrdiff_t>(at), sector.begin() + static_cast<std::ptrdiff_t>(at) + 4, 0);
    return sector;
  };
  ByteVector mode0(2352, 0);
  std::fill(mode0.begin() + 1, mode0.begin() + 11, 0xFF);
  const ByteVector cooked_form1(form1.begin() + 16, form1.begin() + 16 + 2336);
  return {
      {"Mode1", TrackMode::kMode1Raw, mode1, true, user},
      {"Mode1InAMode2Track", TrackMode::kMode2Raw, mode1, true, user},
      {"Mode1WithAFlippedDataByte", TrackMode::kMode1Raw, changed(mode1, 1000, mode1[1000] ^ 1), false, {}},
      {"Mode1WithAFlippedEdcByte", TrackMode::kMode1Raw, changed(mode1, 2065, mode1[2065] ^ 0x80), false, {}},
      {"Mode1WithAZeroEdcIsTakenUnchecked", TrackMode::kMode1Raw, without_edc(mode1, 2064), true, user},
      {"BrokenSync", TrackMode::kMode1Raw, changed(mode1, 5, 0xFE), false, {}},
      {"UnknownMode", TrackMode::kMode1Raw, changed(mode1, 15, 3), false, {}},
      {"Mode0GivesZeros", TrackMode::kMode1Raw, mode0, true, ByteVector(2048, 0)},
      {"Mode2Form1", TrackMode::kMode2Raw, form1, true, user},
      {"Mode2Form1WithABadEdc", TrackMode::kMode2Raw, changed(form1, 2072, form1[2072] ^ 1), false, {}},
      {"Mode2Form1WithAZeroEdcIsTakenUnchecked", TrackMode::kMode2Raw, without_edc(form1, 2072), true, user},
      {"Mode2Form2IsRefusedLikeByADrive", TrackMode::kMode2Raw, form2, false, {}},
      {"CutShortByTheImageEnd", TrackMode::kMode1Raw, ByteVector(mode1.begin(), mode1.begin() + 2000), false, {}},
      {"Cooked2048", TrackMode::kMode1Cooked, user, true, user},
      {"Cooked2048CutShort", TrackMode::kMode1Cooked, ByteVector(user.begin(), user.begin() + 100), false, {}},
      {"Cooked2336Form1", TrackMode::kMode2Cooked, cooked_form1, true, user},
      {"Cooked2336Form2", TrackMode::kMode2Cooked, ByteVector(form2.begin() + 16, form2.begin() + 16 + 2336), false, {}},
      {"AudioIsNoData", TrackMode::kAudio, mode1, false, {}},
  };
}

INSTANTIATE_TEST_SUITE_P(Layouts, SectorDecoding, ::testing::ValuesIn(SectorCases()),
                         [](const auto& info) { return info.param.name; });

TEST(CueSheet, ReadsFilesTracksAndIndexes) {
  const CueSheet sheet = ParseCueSheet(
      "\xEF\xBB\xBFREM made by hand\r\n"
      "file \"disc one.bin\" binary\r\n"
      "  TRACK 01 MODE1/2352\r\n"
      "    TITLE \"Data\"\r\n"
      "    INDEX 01 00:00:00\r\n"
      "  TRACK 02 AUDIO\r\n"
      "    PREGAP 00:02:00\r\n"
      "    INDEX 00 01:00:00\r\n"
      "    INDEX 01 01:02:00\r\n"
      "    INDEX 02 01:30:00\n"
      "FILE track3.bin BINARY\n"
      "  TRACK 03 audio\n"
      "    INDEX 01 00:00:10\n");
  ASSERT_EQ(sheet.files, (std::vector<std::string>{"disc one.bin", "track3.bin"}));
  ASSERT_EQ(sheet.tracks.size(), 3u);
  EXPECT_EQ(sheet.tracks[0].mode, TrackMode::kMode1Raw);
  EXPECT_EQ(sheet.tracks[0].start_sector, 0);
  EXPECT_EQ(sheet.tracks[1].mode, TrackMode::kAudio);
  EXPECT_EQ(sheet.tracks[1].first_sector, 60 * 75);
  EXPECT_EQ(sheet.tracks[1].start_sector, 62 * 75);
  EXPECT_EQ(sheet.tracks[1].start_line, 9);
  EXPECT_EQ(sheet.tracks[2].file, 1u);
  EXPECT_EQ(sheet.tracks[2].start_sector, 10);
  EXPECT_EQ(sheet.tracks[2].first_sector, 10) << "without INDEX 00 the track begins at INDEX 01";
}

struct SheetFault {
  std::string name;
  std::string text;
  int line;
  const char* what;
};

void PrintTo(const SheetFault& c, std::ostream* out) { *out << c.name; }

class CueSheetFaults : public ::testing::TestWithParam<SheetFault> {};

TEST_P(CueSheetFaults, NameTheLine) {
  try {
    ParseCueSheet(GetParam().text);
    FAIL() << "accepted";
  } catch (const CueSheetError& error) {
    EXPECT_EQ(error.line(), GetParam().line);
    const std::string expected = GetParam().line > 0 ? "CUE 表第 " + std::to_string(GetParam().line) + " 行: " + GetParam().what
                                                     : std::string("CUE 表: ") + GetParam().what;
    EXPECT_EQ(error.what(), expected);
  }
}

const std::string kFile = "FILE \"a.bin\" BINARY\n";
INSTANTIATE_TEST_SUITE_P(
    Lines, CueSheetFaults,
    ::testing::Values(
        SheetFault{"Empty", "", 0, kCueNoTracks}, SheetFault{"NotASheet", "\x7F" "ELF\x01\x02\n\x00\x00", 0, kCueNoTracks},
        SheetFault{"WaveFile", "FILE \"a.wav\" WAVE\n", 1, kCueFileTypeUnsupported},
        SheetFault{"FileWithoutName", "FILE\n", 1, kCueFileNameMissing},
        SheetFault{"TrackBeforeFile", "REM\nTRACK 01 AUDIO\n", 2, kCueTrackWithoutFile},
        SheetFault{"CdgMode", kFile + "TRACK 01 CDG\n", 2, kCueTrackModeUnsupported},
        SheetFault{"TrackNumberZero", kFile + "TRACK 00 AUDIO\n", 2, kCueTrackNumberInvalid},
        SheetFault{"TrackNumbersGoingBack", kFile + "TRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n", 4, kCueTrackNumberInvalid},
        SheetFault{"IndexBeforeTrack", kFile + "INDEX 01 00:00:00\n", 2, kCueIndexWithoutTrack},
        SheetFault{"SeventyFiveFrames", kFile + "TRACK 01 AUDIO\nINDEX 01 00:00:75\n", 3, kCueIndexInvalid},
        SheetFault{"SixtySeconds", kFile + "TRACK 01 AUDIO\nINDEX 01 00:60:00\n", 3, kCueIndexInvalid},
        SheetFault{"IndexWithoutTime", kFile + "TRACK 01 AUDIO\nINDEX 01\n", 3, kCueIndexInvalid},
        SheetFault{"TrackWithoutIndex01", kFile + "TRACK 01 AUDIO\nINDEX 00 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:05:00\n", 2,
                   kCueTrackWithoutStart},
        SheetFault{"StartsGoingBack", kFile + "TRACK 01 AUDIO\nINDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 01 00:04:00\n", 5,
                   kCueIndexBackwards},
        SheetFault{"TooLarge", std::string(static_cast<std::size_t>(kMaxCueSheetSize) + 1, ' '), 0, kCueTooLarge}),
    [](const auto& info) { return info.param.name; });

TEST(RawImageStream, ARefusedSectorFailsTheReadsThatMeetItLikeABadSectorOnADisc) {
  Image image;
  ByteVector bin = synth::RawDataTrack(CountingBytes(kDataBytes));
  bin[2 * 2352 + 500] ^= 0x40;  // sector 2's data no longer matches its EDC
  auto stream = OpenSourceFile(image.Sheet(synth::MixedModeCueSheet("image.bin", "MODE1/2352", {}), {{"image.bin", bin}}));
  ASSERT_EQ(stream->Size(), static_cast<std::int64_t>(kDataBytes));
  std::vector<std::uint8_t> buffer(4096);
  stream->Seek(1000);
  EXPECT_EQ(stream->Read(buffer.data(), 3096), 3096) << "sectors 0 and 1 read";
  EXPECT_EQ(stream->Read(buffer.data(), 1), -1);
  EXPECT_EQ(stream->Position(), 4096) << "a failed read moves nothing";
  EXPECT_THROW(stream->ReadBuffer(buffer.data(), 10), StreamReadError);
  stream->Seek(3 * 2048);
  EXPECT_EQ(stream->Read(buffer.data(), 4096), 4096) << "sectors 3 and 4 read on";
  EXPECT_EQ(stream->ReadAt(2 * 2048 - 1, buffer.data(), 2), -1);
}

TEST(RawImageStream, AudioTracksLieBesideTheDataAndReadFromTheImage) {
  Image image;
  const ByteVector second = CountingBytes(2352 * 2, 99);
  const ByteVector bin = Cat({synth::RawDataTrack(CountingBytes(kDataBytes)), kSamples, second, ByteVector(3, 0)});
  auto stream = OpenSourceFile(image.Sheet(synth::MixedModeCueSheet("image.bin", "MODE1/2352", {5, 6}), {{"image.bin", bin}}));
  EXPECT_EQ(stream->Size(), static_cast<std::int64_t>(kDataBytes)) << "the data track alone";
  const std::int64_t first = 5 * 2352;
  const std::vector<AudioTrackSpan> tracks = stream->AudioTracks();
  ASSERT_EQ(tracks.size(), 2u);
  EXPECT_EQ(tracks[0].number, 2);
  EXPECT_EQ(tracks[0].start, first);
  EXPECT_EQ(tracks[0].end, first + 2352) << "up to the next track's INDEX 01";
  EXPECT_EQ(tracks[1].number, 3);
  EXPECT_EQ(tracks[1].end, static_cast<std::int64_t>(bin.size()) - 3) << "to the file's end, in whole sample frames";
  std::vector<std::uint8_t> buffer(100);
  ASSERT_EQ(stream->ReadAudio(first + 10, buffer.data(), 100), 100);
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), kSamples.begin() + 10));
  EXPECT_EQ(stream->ReadAudio(first + 2352 - 40, buffer.data(), 100), 40) << "not past its track's end";
  EXPECT_EQ(stream->ReadAudio(100, buffer.data(), 10), -1) << "data sectors are no track's samples";
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_TRUE(stream->IsNamed(image.dir->File("image.bin")));
  EXPECT_FALSE(stream->IsNamed(image.dir->File("image.cue")));
}

TEST(RawImageStream, OpeningChecksTheFilesTheSheetNames) {
  Image image;
  const std::string sheet = image.Sheet(synth::MixedModeCueSheet("missing.bin", "MODE1/2352", {}), {});
  try {
    OpenSourceFile(sheet);
    FAIL() << "a sheet naming a missing file was opened";
  } catch (const CueSheetError& error) {
    EXPECT_EQ(error.line(), 1);
    EXPECT_STREQ(error.what(), ("CUE 表第 1 行: 不能打开映像文件 " + image.dir->File("missing.bin")).c_str());
  }
  const std::string beyond =
      image.Sheet(synth::MixedModeCueSheet("image.bin", "MODE1/2352", {9}), {{"image.bin", synth::RawDataTrack(CountingBytes(4096))}});
  try {
    OpenSourceFile(beyond);
    FAIL() << "a track beyond its file was accepted";
  } catch (const CueSheetError& error) {
    EXPECT_EQ(error.line(), 5);
    EXPECT_STREQ(error.what(), "CUE 表第 5 行: 轨道起点超出文件末尾");
  }
  // The extension alone, in any case, makes a sheet.
  const std::string text = synth::MixedModeCueSheet("image.bin", "MODE1/2352", {});
  EXPECT_EQ(OpenSourceFile(image.dir->Write("IMAGE.CUE", ByteVector(text.begin(), text.end())))->Size(), 4096);
}

// Without its sheet a ".bin" or ".img" that starts with sector syncs is read as one data track;
// the sectors without sync at its end (audio) are left out and said so.
TEST(RawImageStream, BareImagesAreFoundByTheirSectorSync) {
  Image image;
  const ByteVector data = CountingBytes(3 * 2048);
  const ByteVector mixed = Cat({synth::RawDataTrack(data, true), kSamples, kSamples});
  const auto bare = OpenSourceFile(image.dir->Write("disc.IMG", mixed));
  ASSERT_EQ(bare->Size(), 3 * 2048);
  std::vector<std::uint8_t> buffer(3 * 2048);
  EXPECT_EQ(bare->ReadAt(0, buffer.data(), 3 * 2048), 3 * 2048);
  EXPECT_EQ(ByteVector(buffer.begin(), buffer.end()), data) << "Mode 2 Form 1 user data";
  ASSERT_EQ(bare->ImageTracks().size(), 1u);
  EXPECT_EQ(bare->ImageTracks()[0].what, "无 CUE 表的原始映像, 3 扇区; 其后 3 个扇区无同步, 未读");
  EXPECT_TRUE(bare->AudioTracks().empty()) << "no sheet, no track bounds";
  // The same bytes by another name, an image whose second sector lacks its sync, and an ISO
  // are plain files.
  EXPECT_EQ(OpenSourceFile(image.dir->Write("disc.dat", mixed))->Size(), static_cast<std::int64_t>(mixed.size()));
  ByteVector one_sync = mixed;
  one_sync[2352 + 1] = 0;
  EXPECT_EQ(OpenSourceFile(image.dir->Write("odd.bin", one_sync))->Size(), static_cast<std::int64_t>(mixed.size()));
  EXPECT_EQ(OpenSourceFile(image.dir->Write("plain.iso", data))->Size(), 3 * 2048);
}

#ifndef _WIN32  // Windows reads such names in its own code page, whichever the system has
TEST(RawImageStream, FileNamesInTheSystemsCodePageFindTheirFiles) {
  Image image;
  // "光盘.bin" as a Chinese Windows writes it (GBK); the file itself has its UTF-8 name.
  const std::string sheet = synth::MixedModeCueSheet("\xB9\xE2\xC5\xCC.bin", "MODE1/2352", {});
  const auto stream = OpenSourceFile(image.Sheet(sheet, {{"光盘.bin", synth::RawDataTrack(CountingBytes(4096))}}));
  EXPECT_EQ(stream->Size(), 4096);
}
#endif

}  // namespace
}  // namespace rsf
