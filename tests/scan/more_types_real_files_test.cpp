// The further types on real files: what sox (VOC, AIFF, AIFF-C, 8SVX), ImageMagick (GIF, an
// animated GIF, PNG) and ffmpeg (Ogg Vorbis, Opus, Speex, FLAC, Theora with Vorbis) write, the
// tracker modules of Debian's game data packages, and synthesized files where no Debian tool
// writes the format (XMIDI, MOD variants, S3M, IT with compressed samples, FLI, FLC, ILBM),
// laid into random filler across window boundaries. Every one comes out whole under either
// rule set, and the information texts say what ffprobe, sox and ImageMagick read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scan/engine/scan_state.h"
#include "support/scan_harness.h"
#include "support/test_media.h"
#include "synth/iff_synth.h"
#include "synth/more_media_synth.h"
#include "synth/tracker_synth.h"

namespace rsf {
namespace {

using synth::ByteVector;

// The extension a file's contents call for (some game files are named after another format).
std::string ExtensionOf(const ByteVector& file) {
  const Bytes b(file);
  if (MatchesAt(b, 0, "Creative Voice File")) return ".voc";
  if (MatchesAt(b, 8, "XDIR")) return ".xmi";
  if (MatchesAt(b, 0, "Extended Module: ")) return ".xm";
  if (MatchesAt(b, 0, "IMPM")) return ".it";
  if (MatchesAt(b, 44, "SCRM")) return ".s3m";
  if (MatchesAt(b, 0, "GIF8")) return ".gif";
  if (MatchesAt(b, 1, "PNG")) return ".png";
  if (MatchesAt(b, 0, "OggS")) return ".ogg";
  if (MatchesAt(b, 4, "\x11\xAF") || MatchesAt(b, 4, "\x12\xAF")) return ".flc";
  if (MatchesAt(b, 8, "AIF")) return ".aif";
  if (MatchesAt(b, 8, "ILBM") || MatchesAt(b, 8, "PBM ")) return ".lbm";
  if (MatchesAt(b, 8, "8SVX")) return ".8svx";
  if (file.size() > 1084) return ".mod";
  return "";
}

// An information text's lines as label -> value.
std::map<std::string, std::string> Fields(const std::string& info) {
  std::map<std::string, std::string> fields;
  std::istringstream lines(info);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t colon = line.find(" : ");
    if (colon != std::string::npos) fields[line.substr(0, colon)] = line.substr(colon + 3);
  }
  return fields;
}

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

class MoreTypesRealFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const auto& [name, file] : test::RealMedia())
      if (!ExtensionOf(file).empty() && ExtensionOf(file) != ".mod") files_[name] = file;
    real_ = files_.size();
    for (const auto& [name, file] : test::GameModules()) files_["game-" + name] = file;
    games_ = files_.size() - real_;
    files_["synth.xmi"] = synth::XmidiFile(4);
    files_["synth-6chn.mod"] = synth::ModFile({.tag = "6CHN", .channels = 6, .patterns = 3, .sample_words = {500, 1, 0, 77}});
    files_["synth-16ch.mod"] = synth::ModFile({.tag = "16CH", .channels = 16, .patterns = 1});
    files_["synth-16bit.s3m"] = synth::S3mFile({.channels = 8, .pattern_data_sizes = {10, 300, 0}, .sample_lengths = {900, 40, 3},
                                                .sixteen_bit = true});
    files_["synth-compressed.it"] = synth::ItFile({.sample_lengths = {100, 70000}});
    files_["synth.fli"] = synth::FlicFile(320, 200, 4, false);
    files_["synth.flc"] = synth::FlicFile(64, 48, 2, true);
    files_["synth.lbm"] = synth::IlbmFile(33, 17, 5);
    files_["synth.voc"] = synth::VocFile(44100, 16, 2, 4000);
  }

  void SetUp() override {
    if (real_ < 14) GTEST_SKIP() << "sox, ImageMagick and ffmpeg are needed";
  }

  // Every file in filler, scanned with every type; the clip each came out as (nullptr: none).
  std::map<std::string, const TFilestruct*> Scan(bool precise) {
    std::vector<std::pair<std::string, const ByteVector*>> order;
    for (const auto& [name, file] : files_) order.emplace_back(name, &file);
    std::vector<test::Embedded> placed;
    const std::vector<std::uint8_t> source = test::LayIntoFiller(order, placed);
    ScanOptions options = ScanOptions::AllTypes();
    options.precise = precise;
    result_ = test::ScanBytes(source, options);
    std::map<std::string, const TFilestruct*> found;
    for (const test::Embedded& file : placed) {
      const auto clip = std::find_if(result_.catalogue.begin(), result_.catalogue.end(), [&](const TFilestruct& c) {
        return c.StartOffset == file.start && c.EndOffset == file.end && c.Extension == ExtensionOf(files_.at(file.name));
      });
      found[file.name] = clip == result_.catalogue.end() ? nullptr : &*clip;
    }
    return found;
  }

  static inline std::map<std::string, ByteVector> files_;
  static inline std::size_t real_ = 0, games_ = 0;
  test::ScanResult result_;
};

TEST_F(MoreTypesRealFiles, EveryFileComesOutWholeUnderEitherRuleSet) {
  if (games_ == 0) std::cerr << "note: no game data packages could be fetched; their modules are left out\n";
  for (const bool precise : {false, true}) {
    for (const auto& [name, clip] : Scan(precise)) EXPECT_TRUE(clip) << name << (precise ? " (precise)" : "");
  }
}

TEST_F(MoreTypesRealFiles, InformationTextsSayWhatTheToolsRead) {
  test::TempDir dir;
  for (const auto& [name, clip] : Scan(false)) {
    if (!clip || name.starts_with("synth")) continue;
    SCOPED_TRACE(name);
    const std::string path = dir.Write(name, files_.at(name));
    const std::map<std::string, std::string> fields = Fields(clip->InfoText);
    const std::string extension = clip->Extension;
    auto tool = [&](const std::string& command) { return Trimmed(test::CommandOutput(command + " '" + path + "' 2>/dev/null")); };
    if (extension == ".voc" || extension == ".aif" || extension == ".8svx") {
      EXPECT_EQ(fields.at("频率"), tool("sox --i -r") + " Hz");
      if (extension != ".8svx") {
        EXPECT_EQ(fields.at("声道"), tool("sox --i -c"));
        EXPECT_EQ(fields.at("位"), tool("sox --i -b"));
      }
    } else if (extension == ".gif") {
      const std::string frames = tool("identify -format '%w x %h\\n'");
      EXPECT_EQ(fields.at("大小"), frames.substr(0, frames.find('\n')));
      EXPECT_EQ(fields.at("帧数"), std::to_string(std::count(frames.begin(), frames.end(), '\n') + 1));
    } else if (extension == ".png") {
      EXPECT_EQ(fields.at("大小"), tool("identify -format '%w x %h'"));
      EXPECT_EQ(fields.at("位深"), tool("identify -format '%[png:IHDR.bit-depth-orig]'"));
    } else if (extension == ".ogg") {
      // One line per stream: codec, rate, channels (a video stream has neither).
      std::istringstream streams(tool("ffprobe -v error -show_entries stream=codec_name,sample_rate,channels -of csv=p=0"));
      std::string codecs;
      bool audio_seen = false;
      for (std::string line; std::getline(streams, line);) {
        std::vector<std::string> parts;
        std::istringstream items(line);
        for (std::string item; std::getline(items, item, ',');) parts.push_back(item);
        std::string codec = parts.at(0);
        codec[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(codec[0])));
        codecs += (codecs.empty() ? "" : " + ") + (codec == "Flac" ? std::string("FLAC") : codec);
        if (parts.size() == 3 && !audio_seen) {
          EXPECT_EQ(fields.at("频率"), parts[1] + " Hz");
          EXPECT_EQ(fields.at("声道"), parts[2]);
          audio_seen = true;
        }
      }
      EXPECT_EQ(fields.at("编码器"), codecs);
    } else {
      EXPECT_EQ(fields.at("标题"), tool("ffprobe -v error -show_entries format_tags=title -of default=nw=1:nk=1"));
    }
  }
}

}  // namespace
}  // namespace rsf
