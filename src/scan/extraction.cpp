// The extraction run and the block copy it shares with playback.
#include "scan/extraction.h"

#include <algorithm>

#include "base/errors.h"
#include "platform/file.h"
#include "scan/scan_state.h"

namespace rsf {
namespace {

class PlatformTargetFile final : public TargetFile {
 public:
  explicit PlatformTargetFile(std::unique_ptr<platform::File> file) : file_(std::move(file)) {}
  std::int64_t Write(const void* buffer, std::int64_t count) override { return file_->Write(buffer, count); }
  bool Close() override { return file_->Close(); }

 private:
  std::unique_ptr<platform::File> file_;
};

}  // namespace

std::unique_ptr<TargetFile> CreateTargetFile(const std::string& path) {
  return std::make_unique<PlatformTargetFile>(platform::File::CreateExclusive(path));
}

std::string ClipFileName(const std::string& prefix, std::size_t index, const std::string& extension) {
  return prefix + std::to_string(index + 1) + extension;
}

void WriteClip(SourceStream& source, const TFilestruct& clip, TargetFile& target) {
  source.Seek(clip.StartOffset);
  try {
    std::int64_t count = clip.EndOffset - clip.StartOffset;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, kCopyPieceSize)));
    while (count > 0) {
      const std::int64_t piece = std::min(count, kCopyPieceSize);
      source.ReadBuffer(block.data(), piece);
      if (target.Write(block.data(), piece) != piece) throw StreamWriteError();
      count -= piece;
    }
  } catch (...) {
    target.Close();
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
    WriteClip(*source, clip, *create(name));
    observer.GaugeProgress(written++);
  }
  return ExtractionOutcome::kDone;
}

}  // namespace rsf
