// Lookups over the clip-type constants.
#include "scan/clip_types.h"

namespace rsf {

std::optional<ClipKind> ClipKindFromName(std::string_view name) {
  for (int i = 0; i < kClipKindCount; ++i)
    if (kClipKindNames[i] == name) return static_cast<ClipKind>(i);
  return std::nullopt;
}

std::string_view TypeNameForExtension(std::string_view extension) {
  struct Entry {
    std::string_view extension, type_name;
  };
  static constexpr Entry kEntries[] = {
      {kQuicktimeExtension, kQuicktimeTypeName}, {kBitmapType.Extension, kBitmapType.TypeName},
      {kAviType.Extension, kAviType.TypeName},   {kWavType.Extension, kWavType.TypeName},
      {kJpegType.Extension, kJpegType.TypeName}, {kMpegType.Extension, kMpegType.TypeName},
      {kMveType.Extension, kMveType.TypeName},   {kRealMediaType.Extension, kRealMediaType.TypeName},
      {kBinkType.Extension, kBinkType.TypeName}, {kSmackerExtension, kSmackerTypeName},
      {kMidiType.Extension, kMidiType.TypeName}, {kMp3Extension, kMp3TypeName},
  };
  for (const Entry& entry : kEntries)
    if (entry.extension == extension) return entry.type_name;
  return {};
}

}  // namespace rsf
