// Windows: sources are read, not mapped (a mapped view of a file that shrinks raises an
// exception the scan would have to catch around every access).
#include "platform/file_mapping.h"

namespace rsf::platform {

std::unique_ptr<FileMapping> FileMapping::Map(const File&, std::int64_t, std::int64_t) { return nullptr; }

FileMapping::~FileMapping() = default;

bool FileMapping::Touch(std::int64_t, std::int64_t) const { return false; }

}  // namespace rsf::platform
