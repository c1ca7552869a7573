// Extraction: every ticked clip of the catalogue becomes a file of its own, named from the
// target prefix, the clip's list number and its extension.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/clip_catalogue.h"
#include "scan/source_stream.h"

namespace rsf {

inline constexpr const char* kNothingTickedWarning = "你没有选择任何剪辑 !";
inline constexpr const char* kExtractionDoneText = "提取完成。";

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
  // False when the file system refused what was written (a full disk shows here late).
  virtual bool Close() = 0;
};

// Creates (or replaces) a target file with exclusive access; raises FileCreateError.
using TargetFileFactory = std::function<std::unique_ptr<TargetFile>(const std::string& path)>;
std::unique_ptr<TargetFile> CreateTargetFile(const std::string& path);

enum class ExtractionOutcome {
  kNoSource,       // no scan yet: nothing happens, nothing is shown
  kNothingTicked,  // the front end shows kNothingTickedWarning
  kDone,           // every ticked clip was written; the front end shows kExtractionDoneText
};

// prefix + (index + 1) + extension.
std::string ClipFileName(const std::string& prefix, std::size_t index, const std::string& extension);

// Writes the clips whose entries are ticked (`ticked[i]` belongs to catalogue entry i; entries
// beyond `ticked` count as unticked). Stops at the first failing clip with its error
// (FileCreateError, StreamReadError, StreamWriteError); files written before it stay.
// Memory use does not grow with clip size.
ExtractionOutcome ExtractClips(SourceStream* source, const ClipCatalogue& catalogue, const std::vector<bool>& ticked,
                               const std::string& prefix, ExtractionObserver& observer,
                               const TargetFileFactory& create = CreateTargetFile);

// Copies the clip's bytes from the source into `target` in blocks of at most 61,440 bytes and
// closes the target on every path. Raises StreamReadError, or StreamWriteError (also when the
// close fails).
void WriteClip(SourceStream& source, const TFilestruct& clip, TargetFile& target);

}  // namespace rsf
