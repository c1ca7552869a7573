// A source stream over a file opened read-only with read sharing.
#pragma once

#include <memory>
#include <string>

#include "platform/file.h"
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
  bool IsNamed(const std::string& path) const override { return file_->IsNamed(path); }

 private:
  std::unique_ptr<platform::File> file_;
  std::int64_t position_ = 0;
};

}  // namespace rsf
