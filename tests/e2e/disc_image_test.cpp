// rsfx on a mixed-mode disc image made at test time: real media in an ISO 9660 file system
// (genisoimage) as Mode 1 raw sectors, three audio tracks behind it, and its cue sheet. The
// sheet's scan lists what a scan of the file system alone lists, then the tracks; the tracks'
// WAVE files equal bchunk's, header and samples.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>

#include "support/scan_harness.h"
#include "support/test_media.h"

// The image is made with Debian's tools: POSIX builds only.
#ifndef _WIN32
namespace {

namespace fs = std::filesystem;
using rsf::test::CommandOutput;
using rsf::test::ReadWholeFile;
using rsf::test::TempDir;
using rsf::test::WriteWholeFile;

bool Have(const std::string& tool) { return !CommandOutput("command -v " + tool).empty(); }

std::vector<std::uint8_t> Tone(std::size_t bytes, int step) {
  std::vector<std::uint8_t> samples(bytes);
  for (std::size_t i = 0; i < bytes; ++i) samples[i] = static_cast<std::uint8_t>((i / 4) * static_cast<std::size_t>(step) + i % 4);
  return samples;
}

nlohmann::json Scan(const std::string& source, const std::string& options) {
  const std::string out = CommandOutput(std::string(RSFX_PATH) + " scan '" + source + "' --types all --json" + options);
  return nlohmann::json::parse(out, nullptr, false);
}

TEST(DiscImage, TheSheetScansAsItsFileSystemPlusTheTracksWhoseWavesEqualBchunks) {
  if (!Have("genisoimage") || !Have("bchunk")) GTEST_SKIP() << "genisoimage or bchunk missing";
  const rsf::test::MediaFiles media = rsf::test::RealMedia();
  ASSERT_GE(media.size(), 20u) << "real media for the data track";
  TempDir dir;
  fs::create_directory(dir.File("iso"));
  for (const auto& [name, bytes] : media) WriteWholeFile(dir.File("iso/" + name), bytes);
  ASSERT_EQ(std::system(("genisoimage -quiet -R -J -o '" + dir.File("data.iso") + "' '" + dir.File("iso") + "'").c_str()), 0);
  // The second track does not fill its last sector: the image pads it with silence.
  const std::vector<std::size_t> lengths = {2352 * 75, 2352 * 40 + 1000, 2352 * 20};
  std::string tracks;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    tracks += " '" + dir.Write("track" + std::to_string(i) + ".raw", Tone(lengths[i], static_cast<int>(i) + 3)) + "'";
  }
  ASSERT_EQ(std::system(("'" MAKE_DISC_IMAGE "' '" + dir.File("mixed") + "' '" + dir.File("data.iso") + "'" + tracks).c_str()), 0);

  for (const std::string rules : {"", " --precise"}) {
    SCOPED_TRACE(rules.empty() ? "classic" : "precise");
    const nlohmann::json sheet = Scan(dir.File("mixed.cue"), rules);
    const nlohmann::json iso = Scan(dir.File("data.iso"), rules);
    ASSERT_TRUE(sheet.is_object() && iso.is_object());
    EXPECT_EQ(sheet["size"], iso["size"]) << "the data track's 2048-byte sectors";
    EXPECT_EQ(sheet["read_errors"], 0);
    const auto& clips = sheet["clips"];
    ASSERT_EQ(clips.size(), iso["clips"].size() + 3);
    EXPECT_GE(iso["clips"].size(), 20u);
    for (std::size_t i = 0; i < iso["clips"].size(); ++i) {
      EXPECT_EQ(clips[i]["start"], iso["clips"][i]["start"]);
      EXPECT_EQ(clips[i]["end"], iso["clips"][i]["end"]);
      EXPECT_EQ(clips[i]["type"], iso["clips"][i]["type"]);
    }
    const std::int64_t sectors = iso["size"].get<std::int64_t>() / 2048;
    EXPECT_EQ(sheet["tracks_read"], "已读轨道 : 1 (MODE1/2352, " + std::to_string(sectors) +
                                        " 扇区), 2 (音轨, 0:01:00), 3 (音轨, 0:00:41), 4 (音轨, 0:00:20)");
    EXPECT_FALSE(iso.contains("tracks_read")) << "an ISO is a plain file";
    // Without its sheet the image gives its data track alone, and says what it left out.
    const nlohmann::json bare = Scan(dir.File("mixed.bin"), rules);
    EXPECT_EQ(bare["clips"], iso["clips"]);
    EXPECT_EQ(bare["tracks_read"], "已读轨道 : 1 (无 CUE 表的原始映像, " + std::to_string(sectors) +
                                       " 扇区; 其后 136 个扇区无同步, 未读)");
    for (std::size_t k = 0; k < 3; ++k) {
      const auto& track = clips[iso["clips"].size() + k];
      EXPECT_EQ(track["type"], "CD 音轨");
      EXPECT_EQ(track["end"].get<std::int64_t>() - track["start"].get<std::int64_t>(),
                static_cast<std::int64_t>((lengths[k] + 2351) / 2352 * 2352));
    }
  }

  fs::create_directory(dir.File("bchunk"));
  ASSERT_EQ(std::system(("cd '" + dir.File("bchunk") + "' && bchunk -w ../mixed.bin ../mixed.cue t >/dev/null").c_str()), 0);
  CommandOutput(std::string(RSFX_PATH) + " extract '" + dir.File("mixed.cue") + "' --types cdda --target '" + dir.File("clip") + "'");
  for (int k = 1; k <= 3; ++k) {
    SCOPED_TRACE(k);
    const std::vector<std::uint8_t> ours = ReadWholeFile(dir.File("clip" + std::to_string(k) + ".wav"));
    const std::vector<std::uint8_t> theirs = ReadWholeFile(dir.File("bchunk/t0" + std::to_string(k + 1) + ".wav"));
    ASSERT_GT(ours.size(), 44u);
    EXPECT_EQ(ours, theirs);
  }
  EXPECT_EQ(ReadWholeFile(dir.File("bchunk/t01.iso")), ReadWholeFile(dir.File("data.iso"))) << "the data track as bchunk reads it";
}

}  // namespace
#endif
