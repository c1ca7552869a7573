// Extraction: every ticked clip of the catalogue becomes a file of its own, named from the
// target prefix, the clip's list number and its extension. A clip is written beside its name
// first and takes the name only when it is whole, so a failure never destroys the file that
// had the name before, and a link planted under the name is replaced, never written through.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/errors.h"
#include "scan/catalogue/clip_catalogue.h"
#include "stream/source_stream.h"

namespace rsf {

inline constexpr const char* kNothingTickedWarning = "你没有选择任何剪辑 !";
inline constexpr const char* kExtractionDoneText = "提取完成。";
// An audio track too long for the 32-bit sizes of a WAVE file.
inline constexpr const char* kTrackTooLongText = "音轨太长, 不能写成 WAVE 文件";
// Why a file that is written under a name nobody could foresee was not made: every name drawn
// was taken.
inline constexpr const char* kNoFreeTemporaryNameText = "临时文件名都已被占用";

class ExtractionObserver {
 public:
  virtual ~ExtractionObserver() = default;
  virtual void StatusText(const std::string& /*text*/) {}  // status panel 1
  virtual void Repaint() {}
  virtual void GaugeMaximum(std::int64_t) {}
  virtual void GaugeProgress(std::int64_t) {}
};

// A file being written. Write returns how many bytes were stored.
class TargetFile {
 public:
  virtual ~TargetFile() = default;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Finishes the file and gives it its name. False when the file system refused what was
  // written (a full disk shows here late); the name then keeps what it held before. Raises
  // FileCreateError when the file cannot take its name.
  virtual bool Close() = 0;
  // Drops what was written: the name keeps what it held before.
  virtual void Discard() = 0;
};

// Creates a target file for `path`; raises FileCreateError.
using TargetFileFactory = std::function<std::unique_ptr<TargetFile>(const std::string& path)>;
// The extraction's target: written under a new hidden name in the target's folder, renamed
// over `path` by Close. An existing file of that name is replaced only then.
std::unique_ptr<TargetFile> CreateTargetFile(const std::string& path);
// A target that is itself a new file: `path` must not exist yet (no link is followed). Null
// when the name is taken; raises FileCreateError otherwise. Discard removes it.
std::unique_ptr<TargetFile> CreateNewTargetFile(const std::string& path);

enum class ExtractionOutcome {
  kNoSource,       // no scan yet: nothing happens, nothing is shown
  kNothingTicked,  // the front end shows kNothingTickedWarning
  kDone,           // every ticked clip was written; the front end shows kExtractionDoneText
};

// A clip that could not be extracted. The text says which clip and file, how many files were
// written before it, that the name kept what it held and whether ticked clips were left, and
// last the cause's own text.
class ExtractionError : public Error {
 public:
  ExtractionError(std::size_t number, const std::string& file_name, std::int64_t written, std::int64_t left,
                  const std::string& cause);
  std::size_t number() const { return number_; }
  const std::string& file_name() const { return file_name_; }
  const std::string& cause() const { return cause_; }

 private:
  std::size_t number_;
  std::string file_name_;
  std::string cause_;
};

// prefix + (index + 1) + extension.
std::string ClipFileName(const std::string& prefix, std::size_t index, const std::string& extension);

// Writes the clips whose entries are ticked (`ticked[i]` belongs to catalogue entry i; entries
// beyond `ticked` count as unticked). Stops at the first failing clip with ExtractionError
// (its cause a FileCreateError, StreamReadError or StreamWriteError, or the refusal to write
// over the source itself); files written before it stay, the failing clip's name keeps what
// it held. Memory use does not grow with clip size.
ExtractionOutcome ExtractClips(SourceStream* source, const ClipCatalogue& catalogue, const std::vector<bool>& ticked,
                               const std::string& prefix, ExtractionObserver& observer,
                               const TargetFileFactory& create = CreateTargetFile);

// Copies the clip's bytes from the source into `target` in blocks of at most 61,440 bytes,
// then closes the target; on any failure the target is discarded. Raises StreamReadError, or
// StreamWriteError (also when the close fails), or the target's FileCreateError.
void WriteClip(SourceStream& source, const TFilestruct& clip, TargetFile& target);

}  // namespace rsf
