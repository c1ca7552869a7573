// Extraction failures that must not lose data: a disk that fills up (also only when the file is
// closed), a folder where nothing can be created, a source that shrinks between the scan and the
// extraction. The user gets the exact error text; every file written before stays whole; the
// failing clip's file is the only incomplete one and the status text names it; the engine and
// the source stay usable for the next extraction and the next scan.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "base/errors.h"
#include "scan/extraction.h"
#include "scan/file_stream.h"
#include "support/scan_harness.h"
#include "synth/demo_source.h"

namespace rsf {
namespace {

using synth::ByteVector;
using test::ReadWholeFile;
using test::RecordingObserver;
using test::TempDir;

class StatusLog : public ExtractionObserver {
 public:
  void StatusText(const std::string& text) override {
    statuses.push_back(text);
    if (on_status) on_status(text);
  }
  std::vector<std::string> statuses;
  std::function<void(const std::string&)> on_status;
};

// A disk in memory with room for a number of bytes in all. Writes beyond it store what fits; a
// disk may also report the shortage only when a file is closed, as network and delayed-allocation
// file systems do.
class Disk {
 public:
  explicit Disk(std::int64_t room) : room_(room) {}

  TargetFileFactory Factory() {
    return [this](const std::string& path) -> std::unique_ptr<TargetFile> {
      if (read_only) throw FileCreateError(path);
      files[path].clear();  // replaced
      return std::make_unique<File>(*this, files[path]);
    };
  }
  void Free(std::int64_t bytes) { room_ += bytes; }

  std::map<std::string, ByteVector> files;
  bool read_only = false;
  bool short_at_close = false;  // writes seem to succeed, Close reports the loss

 private:
  class File final : public TargetFile {
   public:
    File(Disk& disk, ByteVector& bytes) : disk_(disk), bytes_(bytes) {}
    std::int64_t Write(const void* buffer, std::int64_t count) override {
      const std::int64_t stored = std::min(count, disk_.room_);
      const auto* in = static_cast<const std::uint8_t*>(buffer);
      bytes_.insert(bytes_.end(), in, in + stored);
      disk_.room_ -= stored;
      if (disk_.short_at_close && stored < count) {
        lost_ = true;
        return count;
      }
      return stored;
    }
    bool Close() override { return !lost_; }

   private:
    Disk& disk_;
    ByteVector& bytes_;
    bool lost_ = false;
  };

  std::int64_t room_;
};

class ExtractionFailureTest : public ::testing::Test {
 protected:
  ExtractionFailureTest() {
    test::WriteWholeFile(path_, demo_.bytes);
    ScanEngine engine(scan_observer_);
    engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, ScanOptions::AllTypes());
    catalogue_ = engine.Catalogue();
  }

  ByteVector ClipBytes(std::size_t index) const {
    const TFilestruct& clip = catalogue_[index];
    return {demo_.bytes.begin() + clip.StartOffset, demo_.bytes.begin() + clip.EndOffset};
  }
  std::string Name(std::size_t index) const { return ClipFileName(prefix_, index, catalogue_[index].Extension); }
  std::int64_t SizeOfFirst(std::size_t count) const {
    std::int64_t bytes = 0;
    for (std::size_t i = 0; i < count; ++i) bytes += catalogue_[i].EndOffset - catalogue_[i].StartOffset;
    return bytes;
  }
  // Every file of the disk: whole for the clips before `failing`, the failing one shorter, none after.
  void ExpectOnlyTheFailingClipIncomplete(const Disk& disk, std::size_t failing) const {
    for (std::size_t i = 0; i < catalogue_.size(); ++i) {
      const auto file = disk.files.find(Name(i));
      if (i < failing) {
        ASSERT_NE(file, disk.files.end()) << i;
        EXPECT_EQ(file->second, ClipBytes(i)) << "clip " << i << " written before stays whole";
      } else if (i == failing) {
        ASSERT_NE(file, disk.files.end());
        EXPECT_LT(file->second.size(), ClipBytes(i).size());
        const ByteVector whole = ClipBytes(i);
        EXPECT_TRUE(std::equal(file->second.begin(), file->second.end(), whole.begin())) << "what it holds is right";
      } else {
        EXPECT_EQ(file, disk.files.end()) << "nothing after the failing clip";
      }
    }
  }

  const synth::DemoSource demo_ = synth::BuildDemoSource();
  TempDir dir_;
  const std::string path_ = dir_.File("demo.bin");
  const std::string prefix_ = dir_.File("Clip");
  RecordingObserver scan_observer_;
  ClipCatalogue catalogue_;
};

TEST_F(ExtractionFailureTest, FullDiskStopsAtTheClipThatDidNotFit) {
  ASSERT_GE(catalogue_.size(), 6u);
  for (const bool short_at_close : {false, true}) {
    SCOPED_TRACE(short_at_close ? "shortage reported at close" : "shortage reported by the write");
    // Room for the first four clips and half of the fifth.
    const std::int64_t room = SizeOfFirst(4) + (catalogue_[4].EndOffset - catalogue_[4].StartOffset) / 2;
    Disk disk(room);
    disk.short_at_close = short_at_close;
    FileStream source(path_);
    StatusLog status;
    try {
      ExtractClips(&source, catalogue_, std::vector<bool>(catalogue_.size(), true), prefix_, status, disk.Factory());
      FAIL() << "a full disk must not pass unnoticed";
    } catch (const StreamWriteError& error) {
      EXPECT_STREQ(error.what(), "数据流写入错误");
    }
    EXPECT_EQ(status.statuses.back(), "正在提取 " + Name(4)) << "the status names the incomplete file";
    ExpectOnlyTheFailingClipIncomplete(disk, 4);

    // Room made: the same source, still open, extracts everything.
    disk.Free(SizeOfFirst(catalogue_.size()));
    ASSERT_EQ(ExtractClips(&source, catalogue_, std::vector<bool>(catalogue_.size(), true), prefix_, status,
                           disk.Factory()),
              ExtractionOutcome::kDone);
    for (std::size_t i = 0; i < catalogue_.size(); ++i) EXPECT_EQ(disk.files[Name(i)], ClipBytes(i)) << i;
  }
}

TEST_F(ExtractionFailureTest, FolderWhereNothingCanBeCreated) {
  FileStream source(path_);
  std::vector<bool> ticked(catalogue_.size(), false);
  ticked[1] = ticked[3] = true;

  // A folder made read-only after the first file (the disk double refuses every creation then).
  Disk disk(1 << 30);
  StatusLog status;
  status.on_status = [&](const std::string& text) { disk.read_only = text == "正在提取 " + Name(3); };
  try {
    ExtractClips(&source, catalogue_, ticked, prefix_, status, disk.Factory());
    FAIL();
  } catch (const FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "不能创建文件 " + Name(3));
  }
  EXPECT_EQ(disk.files.size(), 1u);
  EXPECT_EQ(disk.files[Name(1)], ClipBytes(1));

  // A real folder on a file system that takes no new files at all.
  const std::string refused = "/proc/rsf-extract-test-Clip";
  try {
    ExtractClips(&source, catalogue_, ticked, refused, status);
    FAIL();
  } catch (const FileCreateError& error) {
    EXPECT_EQ(std::string(error.what()), "不能创建文件 " + ClipFileName(refused, 1, catalogue_[1].Extension));
  }
  EXPECT_FALSE(std::filesystem::exists(ClipFileName(refused, 1, catalogue_[1].Extension)));

  // Nothing was lost on the way: the same extraction into a writable folder works.
  ASSERT_EQ(ExtractClips(&source, catalogue_, ticked, prefix_, status), ExtractionOutcome::kDone);
  EXPECT_EQ(ReadWholeFile(Name(1)), ClipBytes(1));
  EXPECT_EQ(ReadWholeFile(Name(3)), ClipBytes(3));
}

TEST_F(ExtractionFailureTest, SourceThatShrinksDuringTheExtraction) {
  // The third clip's start stays in the file, its end does not.
  ASSERT_GE(catalogue_.size(), 4u);
  const std::int64_t cut = (catalogue_[2].StartOffset + catalogue_[2].EndOffset) / 2;
  FileStream source(path_);
  StatusLog status;
  bool shrunk = false;
  status.on_status = [&](const std::string& text) {
    std::error_code error;
    if (text == "正在提取 " + Name(2)) std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(cut), error);
    shrunk = shrunk || (text == "正在提取 " + Name(2) && !error);
  };
  {
    // Where the source is opened deny-write (Windows), no other program can shrink it.
    std::error_code error;
    std::filesystem::resize_file(path_, demo_.bytes.size(), error);
    if (error) GTEST_SKIP() << "the open source cannot be changed here";
  }
  try {
    ExtractClips(&source, catalogue_, std::vector<bool>(catalogue_.size(), true), prefix_, status);
    FAIL() << "a clip cut short must not be written as if whole";
  } catch (const StreamReadError& error) {
    EXPECT_TRUE(shrunk);
    EXPECT_STREQ(error.what(), "数据流读取错误");
  }
  EXPECT_EQ(status.statuses.back(), "正在提取 " + Name(2));
  EXPECT_EQ(ReadWholeFile(Name(0)), ClipBytes(0));
  EXPECT_EQ(ReadWholeFile(Name(1)), ClipBytes(1));
  EXPECT_LT(ReadWholeFile(Name(2)).size(), ClipBytes(2).size());
  EXPECT_FALSE(std::filesystem::exists(Name(3)));

  // The engine scans the shorter file, and what it lists extracts whole.
  RecordingObserver observer;
  ScanEngine engine(observer);
  ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, ScanOptions::AllTypes()),
            ScanOutcome::kFinished);
  ASSERT_GE(engine.Catalogue().size(), 2u);
  for (const TFilestruct& clip : engine.Catalogue()) EXPECT_LE(clip.EndOffset, cut);
  ASSERT_EQ(ExtractClips(engine.Source(), engine.Catalogue(), std::vector<bool>(engine.Catalogue().size(), true),
                         dir_.File("Again"), status),
            ExtractionOutcome::kDone);
  const TFilestruct& first = engine.Catalogue()[0];
  EXPECT_EQ(ReadWholeFile(ClipFileName(dir_.File("Again"), 0, first.Extension)),
            ByteVector(demo_.bytes.begin() + first.StartOffset, demo_.bytes.begin() + first.EndOffset));
}

}  // namespace
}  // namespace rsf
