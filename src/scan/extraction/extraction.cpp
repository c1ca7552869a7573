// The extraction run and the block copy it shares with playback, and the two kinds of target
// file: one renamed over its name when whole, one that is a new file from the start.
#include "scan/extraction/extraction.h"

#include <fmt/format.h>

#include <algorithm>

#include "base/random_text.h"
#include "platform/file.h"
#include "scan/engine/copy_piece_size.h"
#include "scan/extraction/cd_audio_wave.h"

namespace rsf {
namespace {

constexpr int kNameTries = 16;

// Written under a hidden name of its own in the target's folder (so that the rename stays in
// one file system and happens in one step), flushed to the storage, then renamed.
class ReplacingTargetFile final : public TargetFile {
 public:
  explicit ReplacingTargetFile(std::string path) : path_(std::move(path)) {
    const std::string folder = platform::FolderOf(path_);
    try {
      for (int attempt = 0; attempt < kNameTries && !file_; ++attempt) {
        staging_ = folder + ".rsfx-" + RandomHexDigits(8) + ".part";
        // Renamed into the user's name when whole: made as any saved file, not a private one.
        file_ = platform::File::CreateNew(staging_, platform::File::Access::kAsUserMaskAllows);
      }
    } catch (const FileCreateError& error) {
      throw FileCreateError(path_, error.reason());
    }
    if (!file_) throw FileCreateError(path_, kNoFreeTemporaryNameText);
  }
  ~ReplacingTargetFile() override { Discard(); }

  std::int64_t Write(const void* buffer, std::int64_t count) override { return file_ ? file_->Write(buffer, count) : 0; }

  bool Close() override {
    if (!file_) return false;
    const bool kept = file_->Flush() && file_->Close();
    if (!kept) {
      Discard();
      return false;
    }
    file_.reset();
    const std::string refusal = platform::RenameReplacing(staging_, path_);
    if (!refusal.empty()) {
      platform::RemoveFile(staging_);
      staging_.clear();
      throw FileCreateError(path_, refusal);
    }
    staging_.clear();
    return true;
  }

  void Discard() override {
    file_.reset();
    if (!staging_.empty()) platform::RemoveFile(staging_);
    staging_.clear();
  }

 private:
  std::string path_;
  std::string staging_;
  std::unique_ptr<platform::File> file_;
};

class NewTargetFile final : public TargetFile {
 public:
  NewTargetFile(std::string path, std::unique_ptr<platform::File> file) : path_(std::move(path)), file_(std::move(file)) {}
  ~NewTargetFile() override {
    if (file_) Discard();
  }
  std::int64_t Write(const void* buffer, std::int64_t count) override { return file_ ? file_->Write(buffer, count) : 0; }
  bool Close() override {
    if (!file_) return false;
    const bool kept = file_->Close();
    file_.reset();
    if (!kept) platform::RemoveFile(path_);
    return kept;
  }
  void Discard() override {
    file_.reset();
    platform::RemoveFile(path_);
  }

 private:
  std::string path_;
  std::unique_ptr<platform::File> file_;
};

std::string ExtractionErrorText(std::size_t number, const std::string& file_name, std::int64_t written,
                                std::int64_t left, const std::string& cause) {
  std::string text = fmt::format("没有提取文件 #{}: {}\n已写入 {} 个文件；此名称下原有的文件保持不变", number,
                                 file_name, written);
  if (left > 0) text += fmt::format("，其余 {} 个选中的剪辑没有提取", left);
  return text + "。\n" + cause;
}

}  // namespace

ExtractionError::ExtractionError(std::size_t number, const std::string& file_name, std::int64_t written,
                                 std::int64_t left, const std::string& cause)
    : Error(ExtractionErrorText(number, file_name, written, left, cause)),
      number_(number),
      file_name_(file_name),
      cause_(cause) {}

std::unique_ptr<TargetFile> CreateTargetFile(const std::string& path) {
  return std::make_unique<ReplacingTargetFile>(path);
}

std::unique_ptr<TargetFile> CreateNewTargetFile(const std::string& path) {
  std::unique_ptr<platform::File> file = platform::File::CreateNew(path);
  if (!file) return nullptr;
  return std::make_unique<NewTargetFile>(path, std::move(file));
}

std::string ClipFileName(const std::string& prefix, std::size_t index, const std::string& extension) {
  return prefix + std::to_string(index + 1) + extension;
}

void WriteClip(SourceStream& source, const TFilestruct& clip, TargetFile& target) {
  try {
    std::int64_t count = clip.EndOffset - clip.StartOffset;
    std::int64_t at = clip.StartOffset;
    if (clip.AudioTrack != 0) {
      // An audio track is the one clip whose file is not a copy of source bytes: a WAVE header,
      // then its samples from the image.
      const auto header = CdAudioWaveHeader(count);
      if (!header) throw Error(kTrackTooLongText);
      if (target.Write(header->data(), kWaveHeaderSize) != kWaveHeaderSize) throw StreamWriteError();
    } else {
      source.Seek(clip.StartOffset);
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, kCopyPieceSize)));
    while (count > 0) {
      const std::int64_t piece = std::min(count, kCopyPieceSize);
      if (clip.AudioTrack == 0)
        source.ReadBuffer(block.data(), piece);
      else if (source.ReadAudio(at, block.data(), piece) != piece)
        throw StreamReadError();
      if (target.Write(block.data(), piece) != piece) throw StreamWriteError();
      count -= piece;
      at += piece;
    }
  } catch (...) {
    target.Discard();
    throw;
  }
  if (!target.Close()) throw StreamWriteError();
}

ExtractionOutcome ExtractClips(SourceStream* source, const ClipCatalogue& catalogue, const std::vector<bool>& ticked,
                               const std::string& prefix, ExtractionObserver& observer,
                               const TargetFileFactory& create) {
  if (!source) return ExtractionOutcome::kNoSource;
  const std::size_t entries = std::min(catalogue.size(), ticked.size());
  const auto tick_count = std::count(ticked.begin(), ticked.begin() + static_cast<std::ptrdiff_t>(entries), true);
  if (tick_count == 0) return ExtractionOutcome::kNothingTicked;

  observer.GaugeMaximum(tick_count - 1);
  observer.GaugeProgress(0);
  std::int64_t written = 0;
  for (std::size_t i = 0; i < entries; ++i) {
    if (!ticked[i]) continue;
    const TFilestruct& clip = catalogue[i];
    const std::string name = ClipFileName(prefix, i, clip.Extension);
    observer.StatusText("正在提取 " + name);
    observer.Repaint();
    try {
      if (source->IsNamed(name)) throw Error("目标文件就是源文件，不能覆盖");
      const std::unique_ptr<TargetFile> target = create(name);
      if (!target) throw FileCreateError(name);
      WriteClip(*source, clip, *target);
    } catch (const Error& error) {
      throw ExtractionError(i + 1, name, written, tick_count - written - 1, error.what());
    }
    observer.GaugeProgress(written++);
  }
  return ExtractionOutcome::kDone;
}

}  // namespace rsf
