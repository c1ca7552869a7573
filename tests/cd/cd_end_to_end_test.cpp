// CD mode end to end through the image ASPI provider, loaded by path like any ASPI library: a
// disc image with clips of several types is listed as a drive, scanned and extracted through
// TCDStream, scanned again through the device stream, and read with unreadable, missing and
// late sectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "base/errors.h"
#include "cd/BasicASPI.h"
#include "cd/aspi_request.h"
#include "cd/cd_mode.h"
#include "cd/wnaspi32.h"
#include "scan/extraction/extraction.h"
#include "scan/engine/scan_engine.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf {
namespace {

constexpr const char* kImageInquiry = "RSF     IMAGE CD-ROM    1.0 ";
constexpr const char* kImageVariables[] = {"RSFX_ASPI_IMAGES", "RSFX_ASPI_IMAGE_DELAY_MS", "RSFX_ASPI_IMAGE_BAD_SECTORS",
                                           "RSFX_ASPI_IMAGE_SLOW_SECTORS", "RSFX_ASPI_IMAGE_SYNC"};

class AspiImageProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_IMAGE_PROVIDER, 1);
    for (const char* name : kImageVariables) unsetenv(name);
  }
  void TearDown() override {
    for (const char* name : kImageVariables) unsetenv(name);
    unsetenv("RSFX_ASPI_LIBRARY");
    aspi::SetEventWait({});
  }

  // The demo source padded to whole sectors, then the 4096 bytes and the last block that a
  // CD stream leaves out: the stream holds the demo source and zero bytes up to its sector end.
  std::string DemoImage() {
    std::vector<std::uint8_t> bytes = demo_.bytes;
    bytes.resize((bytes.size() + 2047) / 2048 * 2048 + 3 * 2048, 0);
    return dir_.Write("demo.iso", bytes);
  }
  static void UseImages(const std::string& images) { setenv("RSFX_ASPI_IMAGES", images.c_str(), 1); }

  struct Scan {
    ScanOutcome outcome;
    std::vector<TFilestruct> clips;
    int read_errors;
  };
  // Scans the disc in `entry` the way the window's scan start opens it.
  Scan ScanEntry(const std::string& entry, bool nt_device_mode, bool ignore_read_errors = false) {
    ScanOptions options = ScanOptions::ClassicTypes();
    options.ignore_read_errors = ignore_read_errors;
    const ScanOutcome outcome =
        engine_.StartAnalysis([&] { return OpenCdSource(entry, nt_device_mode); }, options);
    std::vector<TFilestruct> clips(engine_.Catalogue().begin(), engine_.Catalogue().end());
    std::sort(clips.begin(), clips.end(), [](const auto& a, const auto& b) { return a.StartOffset < b.StartOffset; });
    return {outcome, clips, engine_.ReadErrorCount()};
  }

  void ExpectEveryDemoClip(const std::vector<TFilestruct>& clips) {
    ASSERT_EQ(clips.size(), demo_.clips.size());
    for (std::size_t i = 0; i < clips.size(); ++i) {
      EXPECT_EQ(clips[i].Extension, demo_.clips[i].extension) << i;
      EXPECT_EQ(clips[i].StartOffset, demo_.clips[i].start) << i;
      EXPECT_EQ(clips[i].EndOffset, demo_.clips[i].end) << i;
    }
  }

  const synth::DemoSource demo_ = synth::BuildDemoSource();
  test::TempDir dir_;
  test::RecordingObserver observer_;
  ScanEngine engine_{observer_};
};

TEST_F(AspiImageProviderTest, ImagesAreListedAsCdDrives) {
  const std::string image = DemoImage();
  UseImages("0:3=" + image + ";0:1=" + image + ";nonsense;0:x=" + image);
  EXPECT_EQ(GetASPI32SupportInfo(), 0x0101u);
  const CdDriveDiscovery found = DiscoverCdDrives(false);
  EXPECT_EQ(found.warning, "");
  EXPECT_EQ(found.entries, (std::vector<std::string>{std::string("0:1:0    ") + kImageInquiry,
                                                     std::string("0:3:0    ") + kImageInquiry}));

  UseImages("2:0=" + image);
  EXPECT_EQ(GetASPI32SupportInfo(), 0x0103u);
  EXPECT_EQ(AspiDeviceType(2, 0, 0), 5);
  EXPECT_EQ(AspiDeviceType(0, 0, 0), 250);
  EXPECT_EQ(AspiDeviceType(2, 0, 1), 250);
  EXPECT_EQ(AspiDeviceType(3, 0, 0), 255);
  EXPECT_EQ(AspiCdDriveList(), (std::vector<std::string>{std::string("2:0:0    ") + kImageInquiry}));
  const std::uint32_t blocks = static_cast<std::uint32_t>(std::filesystem::file_size(image) / 2048);
  EXPECT_EQ(AspiLastBlock(2, 0, 0), blocks - 1);
  EXPECT_EQ(AspiBlockLength(2, 0, 0), 2048u);
  std::uint8_t sector[2048];
  EXPECT_FALSE(AspiReadSectors(2, 0, 0, blocks - 1, sector, 1));
  EXPECT_TRUE(AspiReadSectors(2, 0, 0, blocks, sector, 1)) << "no block beyond the disc";

  unsetenv("RSFX_ASPI_IMAGES");
  EXPECT_EQ(GetASPI32SupportInfo(), 0x0100u) << "ready, without host adapters";
  EXPECT_EQ(DiscoverCdDrives(false).warning, kNoCdDriveWarning);
}

TEST_F(AspiImageProviderTest, ScanFindsEveryClipAndExtractionWritesThemByteForByte) {
  UseImages("0:1=" + DemoImage());
  const std::string entry = DiscoverCdDrives(false).entries.at(0);
  const Scan scan = ScanEntry(entry, false);
  ASSERT_EQ(scan.outcome, ScanOutcome::kFinished);
  EXPECT_EQ(engine_.Source()->Size(), static_cast<std::int64_t>((demo_.bytes.size() + 2047) / 2048 * 2048));
  ExpectEveryDemoClip(scan.clips);
  EXPECT_EQ(scan.read_errors, 0);

  ExtractionObserver quiet;
  const std::vector<bool> ticked(engine_.Catalogue().size(), true);
  ASSERT_EQ(ExtractClips(engine_.Source(), engine_.Catalogue(), ticked, dir_.File("clip"), quiet), ExtractionOutcome::kDone);
  for (std::size_t i = 0; i < engine_.Catalogue().size(); ++i) {
    const TFilestruct& clip = engine_.Catalogue()[i];
    const std::vector<std::uint8_t> expected(demo_.bytes.begin() + clip.StartOffset, demo_.bytes.begin() + clip.EndOffset);
    EXPECT_EQ(test::ReadWholeFile(ClipFileName(dir_.File("clip"), i, clip.Extension)), expected) << i;
  }
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);
}

TEST_F(AspiImageProviderTest, TheSameImageThroughTheDeviceStream) {
  const std::string image = DemoImage();
  const Scan scan = ScanEntry(image, true);
  ASSERT_EQ(scan.outcome, ScanOutcome::kFinished);
  EXPECT_EQ(engine_.Source()->Size(), static_cast<std::int64_t>(std::filesystem::file_size(image)));
  ExpectEveryDemoClip(scan.clips);
}

TEST_F(AspiImageProviderTest, AnswersAtOnceOrLateAllTheSame) {
  UseImages("0:1=" + DemoImage());
  setenv("RSFX_ASPI_IMAGE_SYNC", "1", 1);
  ExpectEveryDemoClip(ScanEntry("0:1:0", false).clips);
  unsetenv("RSFX_ASPI_IMAGE_SYNC");
  setenv("RSFX_ASPI_IMAGE_DELAY_MS", "1", 1);
  ExpectEveryDemoClip(ScanEntry("0:1:0", false).clips);
}

TEST_F(AspiImageProviderTest, UnreadableSectorsAreCountedWhenIgnoredAndStopTheScanOtherwise) {
  UseImages("0:1=" + DemoImage());
  // Sectors 40 to 45 (bytes 81,920 to 94,207) lie in the second window only.
  setenv("RSFX_ASPI_IMAGE_BAD_SECTORS", "0:1@40-45;0:2@0-100", 1);
  const Scan ignored = ScanEntry("0:1:0", false, true);
  EXPECT_EQ(ignored.outcome, ScanOutcome::kFinished);
  EXPECT_GE(ignored.read_errors, 1);
  EXPECT_EQ(observer_.panels[kStatusPanelActivity], "分析完成。错误 : " + std::to_string(ignored.read_errors));
  // Clips far from the unreadable window are found as on a sound disc.
  for (const auto& placed : {demo_.clips.front(), demo_.clips.back()})
    EXPECT_TRUE(std::any_of(ignored.clips.begin(), ignored.clips.end(), [&](const TFilestruct& clip) {
      return placed.start == clip.StartOffset && placed.end == clip.EndOffset;
    })) << placed.start;

  EXPECT_THROW(ScanEntry("0:1:0", false, false), StreamReadError);
  EXPECT_EQ(engine_.ReadErrorCount(), ignored.read_errors) << "a stopped scan counts nothing";

  setenv("RSFX_ASPI_IMAGE_BAD_SECTORS", "0:1@16-16", 1);
  EXPECT_EQ(ScanEntry("0:1:0", false).outcome, ScanOutcome::kNoDisc) << "block 16 unreadable: no data disc";
}

TEST_F(AspiImageProviderTest, EmptyDriveHasNoSize) {
  UseImages("0:1=;0:2=" + dir_.File("missing.iso"));
  EXPECT_EQ(AspiCdDriveList().size(), 2u) << "an empty drive is still a drive";
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1);
  EXPECT_EQ(ScanEntry("0:2:0", false).outcome, ScanOutcome::kNoDisc);
  EXPECT_EQ(ScanEntry(dir_.File("missing.iso"), true).outcome, ScanOutcome::kNoDisc);
  EXPECT_EQ(observer_.runs_started, 0);
}

TEST_F(AspiImageProviderTest, RequestAnsweredAfterItsLimitFailsAndIsReleasedOnceAnswered) {
  UseImages("0:1=" + DemoImage());
  setenv("RSFX_ASPI_IMAGE_SLOW_SECTORS", "0:1@16-16=1000", 1);
  // Limits shortened 100 times: the probe read of block 16 waits 250 ms.
  aspi::SetEventWait([](platform::EventHandle event, std::uint32_t limit_ms) {
    return platform::WaitForCompletionEvent(event, limit_ms / 100);
  });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(TCDStream(0, 1, 0).Size(), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
  EXPECT_EQ(aspi::PendingRequestCount(), 1u);

  // Other sectors answer meanwhile; the late answer lands in the block and buffer kept for it.
  std::uint8_t sector[2048];
  EXPECT_FALSE(AspiReadSectors(0, 1, 0, 17, sector, 1));
  for (int i = 0; i < 100 && aspi::PendingRequestCount() > 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    aspi::ReleaseCompletedRequests();
  }
  EXPECT_EQ(aspi::PendingRequestCount(), 0u);
}

}  // namespace
}  // namespace rsf
