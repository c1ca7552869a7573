// rsfx when extraction fails: the exact error text that names the clip; the files written
// before stay whole, nothing is left under the failing clip's name, and nothing is written
// after it. In-process, with the image ASPI provider
// standing in for a CD whose sectors fail, and with a folder that cannot take files.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <stdexcept>
#include <system_error>

#include "base/error_display.h"
#include "base/errors.h"
#include "cli/command_boundary.h"
#include "cli/rsfx_app.h"
#include "cli/rsfx_runner.h"
#include "support/scan_harness.h"
#include "synth/bitmap_synth.h"
#include "synth/riff_synth.h"

namespace rsf::cli {
namespace {

using synth::ByteVector;

// A small bitmap at 100 and a WAVE of 200,000 bytes at 1,000 in zeros, padded to whole sectors.
class RsfxFailureTest : public ::testing::Test {
 protected:
  RsfxFailureTest() {
    bytes_.assign(400 * 2048, 0);
    std::copy(bitmap_.begin(), bitmap_.end(), bytes_.begin() + 100);
    std::copy(wave_.begin(), wave_.end(), bytes_.begin() + 1000);
    test::WriteWholeFile(image_, bytes_);
  }

  const ByteVector bitmap_ = synth::BitmapFile(20, 10, 24);
  const ByteVector wave_ = synth::PcmWave(22050, 2, 16, 49'990);
  ByteVector bytes_;
  test::TempDir dir_;
  const std::string image_ = dir_.File("disc.iso");
  const std::string prefix_ = dir_.File("Clip");
};

TEST_F(RsfxFailureTest, CdSectorFailingInTheMiddleOfAClip) {
  ASSERT_EQ(wave_.size(), 200'004u);
  setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_IMAGE_PROVIDER, 1);
  setenv("RSFX_CD_ACCESS", "aspi", 1);
  setenv("RSFX_ASPI_IMAGES", ("0:1=" + image_).c_str(), 1);
  // Sector 48 holds bytes 98,304 to 100,351: inside the WAVE, in the scan's second window.
  setenv("RSFX_ASPI_IMAGE_BAD_SECTORS", "0:1@48-48", 1);

  const Outcome failed = Rsfx({"extract", "--cd", "0:1:0", "--ignore-read-errors", "--types", "bmp,wav", "--target", prefix_});
  for (const char* name : {"RSFX_ASPI_LIBRARY", "RSFX_CD_ACCESS", "RSFX_ASPI_IMAGES", "RSFX_ASPI_IMAGE_BAD_SECTORS"})
    unsetenv(name);

  EXPECT_EQ(failed.status, kExitRuntimeError);
  EXPECT_EQ(failed.err, ErrorDisplayText("没有提取文件 #2: " + prefix_ + "2.wav\n已写入 1 个文件；此名称下原有的文件保持不变。\n数据流读取错误") + "\n");
  EXPECT_NE(failed.out.find("分析完成。错误 : 1"), std::string::npos) << "the scan counted the bad sector";
  EXPECT_EQ(test::ReadWholeFile(prefix_ + "1.bmp"), bitmap_);
  EXPECT_FALSE(std::filesystem::exists(prefix_ + "2.wav")) << "no partial file";
  EXPECT_FALSE(std::filesystem::exists(prefix_ + "3.wav"));
}

TEST_F(RsfxFailureTest, TargetFolderThatCannotBeCreatedIn) {
  const std::string prefix = dir_.File("no-such-folder/Clip");
  const Outcome failed = Rsfx({"extract", image_, "--types", "bmp,wav", "--target", prefix});
  EXPECT_EQ(failed.status, kExitRuntimeError);
  EXPECT_EQ(failed.err.rfind("没有提取文件 #1: " + prefix + "1.bmp\n已写入 0 个文件；此名称下原有的文件保持不变，其余 1 个选中的剪辑没有提取。\n不能创建文件 " + prefix + "1.bmp\n", 0), 0u) << failed.err;

  // The same command into a folder that exists writes both clips whole.
  const Outcome done = Rsfx({"extract", image_, "--types", "bmp,wav", "--target", prefix_});
  ASSERT_EQ(done.status, kExitOk) << done.err;
  EXPECT_EQ(test::ReadWholeFile(prefix_ + "1.bmp"), bitmap_);
  EXPECT_EQ(test::ReadWholeFile(prefix_ + "2.wav"), wave_);
}

// Whatever a command raises ends it with status 1 and its text, never with an abort.
TEST(RsfxCommandBoundary, EveryExceptionIsARuntimeErrorWithItsText) {
  struct Case {
    std::function<int()> command;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {[]() -> int { throw StreamReadError(); }, "数据流读取错误.\n"},
      {[]() -> int { throw std::bad_alloc(); }, "内存不足.\n"},
      {[]() -> int { throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again), "thread"); },
       std::string("thread: ") + std::make_error_code(std::errc::resource_unavailable_try_again).message() + ".\n"},
      {[]() -> int { throw std::runtime_error("hyperscan scratch allocation failed"); },
       "hyperscan scratch allocation failed.\n"},
      {[]() -> int { throw 42; }, "未知错误.\n"},
      {[] { return kExitOk; }, ""},
  };
  for (const Case& c : cases) {
    std::FILE* err = std::tmpfile();
    const int status = RunCommand(err, c.command);
    EXPECT_EQ(status, c.shown.empty() ? kExitOk : kExitRuntimeError);
    EXPECT_EQ(Slurp(err), c.shown);
  }
}

}  // namespace
}  // namespace rsf::cli
