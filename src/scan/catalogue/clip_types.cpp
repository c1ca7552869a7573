// Lookups over the clip-type constants.
#include "scan/catalogue/clip_types.h"

namespace rsf {

namespace {

constexpr std::array<TcliptypeWalked, kClipKindCount - kClassicClipKindCount> kWalkedTypes = {
    kVocType, kXmiType, kModType, kS3mType, kXmType, kItType, kGifType,
    kPngType, kOggType, kFlicType, kAiffType, kIlbmType, k8svxType};

}  // namespace

const TcliptypeWalked& WalkedType(ClipKind kind) {
  return kWalkedTypes.at(static_cast<std::size_t>(static_cast<int>(kind) - kClassicClipKindCount));
}

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
  for (const TcliptypeWalked& type : kWalkedTypes)
    if (type.Extension == extension) return type.TypeName;
  return {};
}

}  // namespace rsf
