// A source stream over a file opened read-only with read sharing; scans read it in place
// through mappings of a few MiB at a time where the system allows.
#pragma once

#include <memory>
#include <string>

#include "platform/file.h"
#include "platform/file_mapping.h"
#include "stream/source_stream.h"

namespace rsf {

class FileStream final : public SourceStream {
 public:
  // Raises FileOpenError when the file cannot be opened.
  explicit FileStream(const std::string& path);

  std::int64_t Size() const override;
  std::int64_t Position() const override { return position_; }
  using SourceStream::Seek;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  std::int64_t Read(void* buffer, std::int64_t count) override;
  bool CanReadConcurrently() const override { return true; }
  std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const override;
  std::optional<InPlace> BytesInPlace(std::int64_t offset, std::int64_t count) override;
  bool IsNamed(const std::string& path) const override { return file_->IsNamed(path); }

 private:
  std::unique_ptr<platform::File> file_;
  // The stretches of the file mapped last, the latest first: scans ask for windows one after
  // another (and a few ahead), so one mapping serves many of them and is let go once the
  // windows in it are.
  std::shared_ptr<const platform::FileMapping> stretches_[2];
  bool mappable_ = true;
  std::int64_t position_ = 0;
};

}  // namespace rsf
