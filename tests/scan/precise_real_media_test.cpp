// The precise rules on real media: the files scripts/real-media.sh makes with ffmpeg, sox,
// ImageMagick and exiftool (MPEG-1 and MPEG-2 program streams without end code, RealMedia, MP4
// with "moov" first and last, Motion JPEG and Cinepak AVI, streamed WAVE, MP3 with ID3v2,
// APEv2 and ID3v1 tags, top-down bitmaps, Exif JPEGs with thumbnails, progressive JPEGs), and
// synthesized ones where no Debian tool writes the format (RealMedia with an index, RealAudio,
// RealAudio's trailer, RMID, OpenDML AVI, APEv2 and Lyrics3 tags), laid into random filler at offsets across window boundaries: every one
// comes out whole, byte for byte, and what lies inside one is not listed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "scan/extraction/extraction.h"
#include "scan/engine/scan_state.h"
#include "stream/memory_stream.h"
#include "support/scan_harness.h"
#include "support/test_media.h"
#include "synth/container_synth.h"
#include "synth/midi_synth.h"
#include "synth/random_filler.h"
#include "synth/riff_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;

using test::Embedded;

// A RealAudio 4 file: its header (a header length of 40 after byte 16) and `audio` bytes.
ByteVector RealAudio4(std::uint32_t audio) {
  synth::ByteWriter out;
  out.Text(".ra\xFD").BE16(4).BE16(0).Text(".ra4").BE32(audio + 40).BE16(4).BE32(40);
  out.BE16(0).BE32(0).BE32(audio).BE32(0).BE32(0);
  while (out.size() < 56) out.U8(0);
  for (std::uint32_t i = 0; i < audio; ++i) out.U8(static_cast<std::uint8_t>(i * 13));
  return out.Take();
}

// The "RaTC" trailer RealAudio 4 writers put behind the audio: a chunk, then a last one that
// points back at the first (from the file's start).
ByteVector WithRaTrailer(ByteVector ra) {
  synth::ByteWriter trailer;
  trailer.Text("RaTC").BE32(16).Text(".ra4").BE32(8).Text("RaTC").BE32(static_cast<std::uint32_t>(ra.size()));
  ra.insert(ra.end(), trailer.bytes().begin(), trailer.bytes().end());
  return ra;
}

// A RIFF-wrapped MIDI file.
ByteVector Rmid() {
  const ByteVector midi = synth::MidiFile({.track_data_sizes = {300, 200}});
  return synth::RiffFile("RMID", synth::RiffChunk("data", midi));
}

// An OpenDML AVI: a Cinepak AVI from ffmpeg followed by an "AVIX" piece.
ByteVector OpenDml(const ByteVector& avi) {
  ByteVector file = avi;
  const ByteVector piece = synth::RiffFile("AVIX", synth::RiffChunk("movi", ByteVector(3001, 7)));
  file.insert(file.end(), piece.begin(), piece.end());
  return file;
}

// An MP3 file from ffmpeg with the tags no Debian encoder writes after the frames: APEv2 (its
// header, one item, its footer), Lyrics3 v2, then ID3v1.
ByteVector WithTrailingTags(ByteVector mp3) {
  synth::ByteWriter item;
  item.LE32(4).LE32(0).Text("Title").U8(0).Text("Tone");
  const auto ape_size = static_cast<std::uint32_t>(item.size() + 32);
  synth::ByteWriter tags;
  tags.Text("APETAGEX").LE32(2000).LE32(ape_size).LE32(1).LE32(0xA0000000u).Fill(8, 0);
  tags.Append(item.bytes());
  tags.Text("APETAGEX").LE32(2000).LE32(ape_size).LE32(1).LE32(0x80000000u).Fill(8, 0);
  const std::string lyrics = std::string("LYRICSBEGIN") + "IND00003110";
  tags.Text(lyrics).Text("000022").Text("LYRICS200");
  tags.Text("TAG").Fill(125, 0);
  const ByteVector& bytes = tags.bytes();
  mp3.insert(mp3.end(), bytes.begin(), bytes.end());
  return mp3;
}

class PreciseRealMedia : public ::testing::Test {
 protected:
  // The media are made once for the suite.
  static void SetUpTestSuite() {
    files_ = test::RealMedia();
    if (files_.empty()) return;
    files_["synth-realmedia-index.ram"] = synth::RealMediaFile(40, 3);
    files_["synth-realaudio4.ra"] = RealAudio4(5000);
    files_["synth-realaudio4-trailer.ra"] = WithRaTrailer(RealAudio4(4000));
    files_["synth-rmid.mid"] = Rmid();
    if (files_.count("mp3-id3v2.mp3")) files_["synth-tags.mp3"] = WithTrailingTags(files_["mp3-id3v2.mp3"]);
    if (files_.count("cinepak.avi")) files_["synth-opendml.avi"] = OpenDml(files_["cinepak.avi"]);
  }
  void SetUp() override {
    if (files_.size() < 24) GTEST_SKIP() << "ffmpeg, sox, ImageMagick and exiftool are needed";
  }

  // The files of the classic types (MP3 ones apart, or only those) in random filler.
  std::vector<std::uint8_t> Container(bool mp3, std::vector<Embedded>& placed) const {
    // A WAVE written to a pipe has no size to end it by: it comes last, at the source end.
    std::vector<std::pair<std::string, const ByteVector*>> order;
    for (const auto& [name, file] : files_)
      if (name.ends_with(".mp3") == mp3 && name != "wave-streamed.wav" && IsClassic(name)) order.emplace_back(name, &file);
    const bool streamed = !mp3 && files_.count("wave-streamed.wav");
    if (streamed) order.emplace_back("wave-streamed.wav", &files_.at("wave-streamed.wav"));
    return test::LayIntoFiller(order, placed, streamed);
  }

  static bool IsClassic(const std::string& name) {
    for (const char* extension : {".avi", ".bmp", ".jpg", ".mid", ".mov", ".mp3", ".mp4", ".mpg", ".ra", ".ram", ".rm", ".vob", ".wav"})
      if (name.ends_with(extension)) return true;
    return false;
  }

  void ExpectEveryFileWhole(bool mp3) {
    std::vector<Embedded> placed;
    const std::vector<std::uint8_t> source = Container(mp3, placed);
    ScanOptions options = ScanOptions::ClassicTypes();
    options.mp3_mode = mp3;
    options.precise = true;
    const auto found = test::ScanBytes(source, options);
    for (const Embedded& file : placed) {
      const bool whole = std::any_of(found.catalogue.begin(), found.catalogue.end(), [&](const TFilestruct& clip) {
        return clip.StartOffset == file.start && clip.EndOffset == file.end;
      });
      EXPECT_TRUE(whole) << file.name << " at " << file.start << " (" << file.end - file.start << " bytes)";
    }
    // Nothing else but chance finds in the filler: no clip starts inside an embedded file.
    for (const TFilestruct& clip : found.catalogue) {
      const auto inside = std::find_if(placed.begin(), placed.end(), [&](const Embedded& file) {
        return clip.StartOffset > file.start && clip.StartOffset < file.end;
      });
      EXPECT_EQ(inside, placed.end()) << clip.Extension << " at " << clip.StartOffset << " inside " << inside->name;
    }
  }

  static inline std::map<std::string, ByteVector> files_;
};

TEST_F(PreciseRealMedia, EveryFileComesOutWholeAndNothingInsideIsListedAgain) { ExpectEveryFileWhole(false); }

TEST_F(PreciseRealMedia, Mp3FilesComeOutWithTheirTags) { ExpectEveryFileWhole(true); }

TEST(PreciseDebianMedia, StreamFormsOfDebiansPackagesComeOutWhole) {
  // Real files as their makers wrote them: each whole, byte for byte, in random filler. The movie
  // whose last atom has size 0 keeps its tables' media whole (the 24 bytes of its empty last atom
  // behind them are nobody's), and the picture stored in its media data is part of it.
  const test::MediaFiles files = test::DebianStreamForms();
  const char* const whole[] = {"emacspeak--welcome.ra", "xine-ui--default.mpv", "wx3.2-examples--press.mpg",
                               "k3b-data--k3bphotovcd.mpg", "k3b-data--k3bphotosvcd.mpg",
                               "golang-github-gabriel-vasile-mimetype-dev--rmvb.rmvb"};
  const std::string movie = "coccinella--FakeSample.mov";
  std::vector<std::pair<std::string, const ByteVector*>> order;
  for (const std::string name : whole)
    if (files.count(name)) order.emplace_back(name, &files.at(name));
  if (files.count(movie)) order.emplace_back(movie, &files.at(movie));
  if (order.size() < 7) GTEST_SKIP() << "Debian's packages could not be fetched";
  std::vector<Embedded> placed;
  ScanOptions options = ScanOptions::ClassicTypes();
  options.precise = true;
  const ClipCatalogue catalogue = test::ScanBytes(test::LayIntoFiller(order, placed), options).catalogue;
  for (const Embedded& file : placed) {
    const std::int64_t end = file.name == movie ? file.end - 24 : file.end;
    const auto clip = std::find_if(catalogue.begin(), catalogue.end(),
                                   [&](const TFilestruct& c) { return c.StartOffset == file.start && c.EndOffset == end; });
    EXPECT_NE(clip, catalogue.end()) << file.name;
    if (clip != catalogue.end()) {
      EXPECT_FALSE(clip->OpenEnd) << file.name;
    }
    for (const TFilestruct& c : catalogue)
      EXPECT_FALSE(c.StartOffset > file.start && c.StartOffset < file.end) << c.Extension << " inside " << file.name;
  }
}

}  // namespace
}  // namespace rsf
