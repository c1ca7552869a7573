// Read-only views of a source file in memory, so that a scan reads the page cache in place
// instead of copying it. A file that shrinks under a view must not end the program: a page
// that is no longer backed by the file reads as zeros, and the view says that it lost pages,
// so that the scan reads that part again the usual way (and meets the usual read error).
#pragma once

#include <cstdint>
#include <memory>

#include "base/bytes.h"

namespace rsf::platform {

class File;

class FileMapping {
 public:
  // Maps `length` bytes of `file` from `offset` (any offset; the view starts exactly there).
  // Null where the platform or the file does not allow it (then read instead).
  static std::unique_ptr<FileMapping> Map(const File& file, std::int64_t offset, std::int64_t length);
  ~FileMapping();
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;

  std::int64_t Offset() const { return offset_; }
  Bytes View() const { return {base_ + lead_, static_cast<std::size_t>(length_)}; }
  // Brings the pages holding [from, from + count) of the view into memory now; false when any
  // page of the view has been lost to a file that shrank (now or before).
  bool Touch(std::int64_t from, std::int64_t count) const;

 private:
  FileMapping(const std::uint8_t* base, std::int64_t offset, std::int64_t lead, std::int64_t length, int slot)
      : base_(base), offset_(offset), lead_(lead), length_(length), slot_(slot) {}
  const std::uint8_t* base_;  // the page-aligned start of the mapping
  std::int64_t offset_;       // the file offset of View()'s first byte
  std::int64_t lead_;         // bytes between the mapping's start and that byte
  std::int64_t length_;
  int slot_;  // where the bus-error handler finds it
};

}  // namespace rsf::platform
