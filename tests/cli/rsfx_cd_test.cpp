// rsfx in CD mode, in-process: `rsfx drives` and `--cd ENTRY` through the image ASPI provider
// and through the device stream on an image file, and the SOURCE / --cd usage rules.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "cd/cd_mode.h"
#include "cli/rsfx_app.h"
#include "cli/rsfx_runner.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf::cli {
namespace {

class RsfxCdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::uint8_t> bytes = demo_.bytes;
    bytes.resize((bytes.size() + 2047) / 2048 * 2048 + 3 * 2048, 0);
    test::WriteWholeFile(image_, bytes);
    setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_IMAGE_PROVIDER, 1);
    setenv("RSFX_CD_ACCESS", "aspi", 1);
    setenv("RSFX_ASPI_IMAGES", ("0:1=" + image_ + ";0:3=").c_str(), 1);
  }
  void TearDown() override {
    for (const char* name : {"RSFX_ASPI_LIBRARY", "RSFX_CD_ACCESS", "RSFX_ASPI_IMAGES"}) unsetenv(name);
  }

  const synth::DemoSource demo_ = synth::BuildDemoSource();
  test::TempDir dir_;
  const std::string image_ = dir_.File("disc.iso");
};

TEST_F(RsfxCdTest, DrivesListsTheEntriesOrWarns) {
  const Outcome listed = Rsfx({"drives"});
  EXPECT_EQ(listed.status, kExitOk) << listed.err;
  EXPECT_EQ(listed.out, "0:1:0    RSF     IMAGE CD-ROM    1.0 \n0:3:0    RSF     IMAGE CD-ROM    1.0 \n");

  setenv("RSFX_ASPI_IMAGES", "", 1);
  const Outcome none = Rsfx({"drives"});
  EXPECT_EQ(none.status, kExitRuntimeError);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, std::string(kNoCdDriveWarning) + "\n");

  setenv("RSFX_ASPI_LIBRARY", dir_.File("no-such-library.so").c_str(), 1);
  EXPECT_EQ(Rsfx({"drives"}).err, std::string(kNoAspiDriverWarning) + "\n");
}

TEST_F(RsfxCdTest, ScanAndExtractFromADrive) {
  const std::string entry = "0:1:0    RSF     IMAGE CD-ROM    1.0 ";
  const Outcome scan = Rsfx({"scan", "--cd", entry, "--json"});
  ASSERT_EQ(scan.status, kExitOk) << scan.err;
  const auto report = nlohmann::json::parse(scan.out);
  EXPECT_EQ(report["source"], entry);
  EXPECT_EQ(report["size"], (demo_.bytes.size() + 2047) / 2048 * 2048);
  EXPECT_EQ(report["clips"].size(), demo_.clips.size());

  const Outcome extract = Rsfx({"extract", "--cd", "0:1:0", "--target", dir_.File("clip"), "--only", "1"});
  ASSERT_EQ(extract.status, kExitOk) << extract.err;
  const auto& first = report["clips"][0];
  const std::vector<std::uint8_t> expected(demo_.bytes.begin() + first["start"].get<std::int64_t>(),
                                           demo_.bytes.begin() + first["end"].get<std::int64_t>());
  EXPECT_EQ(test::ReadWholeFile(dir_.File("clip1" + first["extension"].get<std::string>())), expected);

  const Outcome empty = Rsfx({"scan", "--cd", "0:3:0"});
  EXPECT_EQ(empty.status, kExitRuntimeError);
  EXPECT_EQ(empty.err, "错误访问 CD - 在驱动器中有光盘吗?\n");
  const Outcome bad = Rsfx({"scan", "--cd", "e:"});
  EXPECT_EQ(bad.status, kExitRuntimeError);
  EXPECT_EQ(bad.err, "无效的 CD 驱动器: e:.\n");
}

TEST_F(RsfxCdTest, DeviceEntriesInNtDeviceMode) {
  unsetenv("RSFX_CD_ACCESS");
  const Outcome scan = Rsfx({"scan", "--cd", image_, "--json"});
  ASSERT_EQ(scan.status, kExitOk) << scan.err;
  const auto report = nlohmann::json::parse(scan.out);
  EXPECT_EQ(report["source"], image_);
  EXPECT_EQ(report["size"], std::filesystem::file_size(image_));
  EXPECT_EQ(report["clips"].size(), demo_.clips.size());
}

TEST_F(RsfxCdTest, EitherSourceOrCd) {
  EXPECT_EQ(Rsfx({"scan"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"scan", image_, "--cd", "0:1:0"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"extract", "--target", dir_.File("x")}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"scan", "--cd"}).status, kExitUsageError) << "--cd needs its entry";
  EXPECT_EQ(Rsfx({"drives", "extra"}).status, kExitUsageError);
  EXPECT_EQ(Rsfx({"scan", image_}).status, kExitOk) << "a plain file as before";
}

}  // namespace
}  // namespace rsf::cli
