// Extraction failures that must not lose data: a disk that fills up (also only when the file is
// closed), a folder where nothing can be created, a source that shrinks between the scan and the
// extraction, links planted under target names, the source as its own target. The user gets
// the exact error text naming the clip; every file written before stays whole; the failing
// clip's name keeps what it held (nothing, or the older file) and no partial file is left; the
// engine and the source stay usable for the next extraction and the next scan.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <map>
#include <set>

#include <fmt/format.h>

#include "base/errors.h"
#include "scan/extraction/extraction.h"
#include "stream/file_stream.h"
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
      return std::make_unique<File>(*this, path);
    };
  }
  void Free(std::int64_t bytes) { room_ += bytes; }

  std::map<std::string, ByteVector> files;
  bool read_only = false;
  bool short_at_close = false;  // writes seem to succeed, Close reports the loss

 private:
  // Written aside; takes its name at Close, as the real target does.
  class File final : public TargetFile {
   public:
    File(Disk& disk, std::string path) : disk_(disk), path_(std::move(path)) {}
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
    bool Close() override {
      if (lost_) return false;
      disk_.files[path_] = bytes_;
      return true;
    }
    void Discard() override { bytes_.clear(); }

   private:
    Disk& disk_;
    std::string path_;
    ByteVector bytes_;
    bool lost_ = false;
  };

  std::int64_t room_;
};

class ExtractionFailureTest : public ::testing::Test {
 protected:
  ExtractionFailureTest() {
    test::WriteWholeFile(path_, demo_.bytes);
    ScanEngine engine(scan_observer_);
    engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, ScanOptions::ClassicTypes());
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
  // Every file of the disk: whole for the clips before `failing`, none for it and after it.
  void ExpectNothingFromTheFailingClipOn(const Disk& disk, std::size_t failing) const {
    for (std::size_t i = 0; i < catalogue_.size(); ++i) {
      const auto file = disk.files.find(Name(i));
      if (i < failing) {
        ASSERT_NE(file, disk.files.end()) << i;
        EXPECT_EQ(file->second, ClipBytes(i)) << "clip " << i << " written before stays whole";
      } else {
        EXPECT_EQ(file, disk.files.end()) << "nothing of clip " << i;
      }
    }
  }
  // The files in the target folder, the source among them.
  std::set<std::string> FolderFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) names.insert(entry.path().filename().string());
    return names;
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
    } catch (const ExtractionError& error) {
      EXPECT_EQ(error.cause(), "数据流写入错误");
      EXPECT_EQ(error.number(), 5u);
      EXPECT_EQ(error.file_name(), Name(4));
      EXPECT_EQ(std::string(error.what()),
                fmt::format("没有提取文件 #5: {}\n已写入 4 个文件；此名称下原有的文件保持不变，其余 {} 个选中的剪辑没有提取。\n数据流写入错误",
                            Name(4), catalogue_.size() - 5));
    }
    ExpectNothingFromTheFailingClipOn(disk, 4);

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
  } catch (const ExtractionError& error) {
    EXPECT_EQ(error.cause(), "不能创建文件 " + Name(3));
    EXPECT_EQ(std::string(error.what()), "没有提取文件 #4: " + Name(3) + "\n已写入 1 个文件；此名称下原有的文件保持不变。\n不能创建文件 " + Name(3));
  }
  EXPECT_EQ(disk.files.size(), 1u);
  EXPECT_EQ(disk.files[Name(1)], ClipBytes(1));

  // A real folder on a file system that takes no new files at all.
  const std::string refused = "/proc/rsf-extract-test-Clip";
  try {
    ExtractClips(&source, catalogue_, ticked, refused, status);
    FAIL();
  } catch (const ExtractionError& error) {
    const std::string first_line = "不能创建文件 " + ClipFileName(refused, 1, catalogue_[1].Extension) + "\n";
    EXPECT_EQ(error.cause().rfind(first_line, 0), 0u) << error.cause();
    EXPECT_GT(error.cause().size(), first_line.size()) << "the system's reason follows";
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
  // An older file under the third clip's name, from an earlier extraction.
  const ByteVector older = {'o', 'l', 'd'};
  test::WriteWholeFile(Name(2), older);
  try {
    ExtractClips(&source, catalogue_, std::vector<bool>(catalogue_.size(), true), prefix_, status);
    FAIL() << "a clip cut short must not be written as if whole";
  } catch (const ExtractionError& error) {
    EXPECT_TRUE(shrunk);
    EXPECT_EQ(error.cause(), "数据流读取错误");
    EXPECT_EQ(error.file_name(), Name(2));
  }
  EXPECT_EQ(ReadWholeFile(Name(0)), ClipBytes(0));
  EXPECT_EQ(ReadWholeFile(Name(1)), ClipBytes(1));
  EXPECT_EQ(ReadWholeFile(Name(2)), older) << "the failed clip left the older file as it was";
  EXPECT_FALSE(std::filesystem::exists(Name(3)));
  EXPECT_EQ(FolderFiles(), (std::set<std::string>{"demo.bin", "Clip1" + catalogue_[0].Extension,
                                                  "Clip2" + catalogue_[1].Extension, "Clip3" + catalogue_[2].Extension}))
      << "no partial file anywhere";

  // The engine scans the shorter file, and what it lists extracts whole.
  RecordingObserver observer;
  ScanEngine engine(observer);
  ASSERT_EQ(engine.StartAnalysis([&] { return std::make_unique<FileStream>(path_); }, ScanOptions::ClassicTypes()),
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

// A link planted under a target name is replaced by the clip; the file it pointed to keeps
// its bytes. A target name that is the source itself is refused, and the source stays whole.
TEST_F(ExtractionFailureTest, LinksAreReplacedAndTheSourceIsNeverATarget) {
  StatusLog status;
  std::vector<bool> ticked(catalogue_.size(), false);
  ticked[0] = ticked[1] = true;

  // The prefix names the source: clip 1's file would be the source itself.
  const std::string own = ClipFileName(dir_.File("own"), 0, catalogue_[0].Extension);
  test::WriteWholeFile(own, demo_.bytes);
  {
    FileStream same(own);
    try {
      ExtractClips(&same, catalogue_, ticked, dir_.File("own"), status);
      FAIL() << "the source was taken as a target";
    } catch (const ExtractionError& error) {
      EXPECT_EQ(error.number(), 1u);
      EXPECT_EQ(error.cause(), "目标文件就是源文件，不能覆盖");
    }
  }
  EXPECT_EQ(ReadWholeFile(own), demo_.bytes);

#ifndef _WIN32
  FileStream source(path_);
  const std::string victim = dir_.File("victim.txt");
  test::WriteWholeFile(victim, {'m', 'i', 'n', 'e'});
  std::filesystem::create_symlink(victim, Name(0));
  std::filesystem::create_symlink(dir_.File("not-yet.txt"), Name(1));
  ASSERT_EQ(ExtractClips(&source, catalogue_, ticked, prefix_, status), ExtractionOutcome::kDone);
  EXPECT_EQ(ReadWholeFile(victim), (ByteVector{'m', 'i', 'n', 'e'}));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("not-yet.txt")));
  for (std::size_t i : {0u, 1u}) {
    EXPECT_FALSE(std::filesystem::is_symlink(Name(i)));
    EXPECT_EQ(ReadWholeFile(Name(i)), ClipBytes(i));
  }

  // The replacing files are the user's files, made as the file-creation mask says, not private.
  const mode_t mask = ::umask(022);
  ASSERT_EQ(ExtractClips(&source, catalogue_, ticked, prefix_, status), ExtractionOutcome::kDone);
  ::umask(mask);
  struct stat info {};
  ASSERT_EQ(::stat(Name(0).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
#endif
}

}  // namespace
}  // namespace rsf
