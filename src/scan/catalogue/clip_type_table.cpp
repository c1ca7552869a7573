// The clip-type table itself. A new type is one record here (besides its detector), placed
// where its detector is to run.
#include "scan/catalogue/clip_type_table.h"

#include <array>

#include "scan/detectors/classic/classic_detectors.h"
#include "scan/detectors/further/further_detectors.h"
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

using Signatures = std::span<const std::string_view>;

constexpr Signatures One(const std::string_view& signature) { return {&signature, 1}; }

// Signature lists of more than one entry, each string spelled where its format's constants stand.
// The classic header-and-footer types index their footers too: the scan's own index finds those
// that lie beyond a header's window.
constexpr std::string_view kJpegHeaderFooter[] = {kJpegType.Header, kJpegType.Footer};
constexpr std::string_view kMpegHeaderFooter[] = {kMpegType.Header, kMpegType.Footer};
constexpr std::string_view kMveHeaderFooter[] = {kMveType.Header, kMveType.Footer};
constexpr std::string_view kRealMediaHeaderFooter[] = {kRealMediaType.Header, kRealMediaType.Footer};
constexpr std::string_view kPreciseRealMediaSignatures[] = {kRealMediaType.Header, kRealAudioSignature};
constexpr std::string_view kPreciseMidiSignatures[] = {kRmidSignature, kMidiType.Signature};
constexpr std::string_view kGifSignatures[] = {kGif87Signature, kGif89Signature};
constexpr std::string_view kFlicSignatures[] = {kFliSignature, kFlcSignature};

// A classic type: a rule under each rule set; its caption may differ from its type name.
constexpr ClipTypeRecord Classic(ClipKind kind, std::string_view name, std::string_view type_name,
                                 std::string_view extension, std::string_view caption, int row, int column,
                                 ClipRules classic, ClipRules precise) {
  return {kind, name, type_name, extension, ClipTypeGroup::kClassic, caption, row, column, classic, precise};
}

// A further type: one rule under both rule sets, its type name on its check box.
constexpr ClipTypeRecord Further(ClipKind kind, std::string_view name, std::string_view type_name,
                                 std::string_view extension, int row, int column, ClipRules rules) {
  return {kind, name, type_name, extension, ClipTypeGroup::kFurther, type_name, row, column, rules, rules};
}

// The classic types' detectors take no record: nothing, or their classic parameters
// (TcliptypeRIFF, TcliptypeHEFO, ...).
template <void (*Find)(ScanState&)>
void Run(ScanState& state, const ClipTypeRecord&) { Find(state); }
template <typename Parameters, void (*Find)(ScanState&, const Parameters&), const Parameters& kParameters>
void RunWith(ScanState& state, const ClipTypeRecord&) { Find(state, kParameters); }

// clang-format off
constexpr ClipTypeRecord kTable[] = {
  Classic(ClipKind::kQT, "qt", kQuicktimeTypeName, kQuicktimeExtension, "Quicktime", 0, 2,
          {One(kQuicktimeSignature), Run<FindQuicktimeClips>},
          {kQuicktimeAtomSignatures, Run<FindPreciseQuicktimeClips>}),
  Classic(ClipKind::kBMP, "bmp", kBitmapType.TypeName, kBitmapType.Extension, "Bitmap 图片", 0, 3,
          {One(kBitmapType.Signature), RunWith<TcliptypeRIFF, FindRIFFClips, kBitmapType>},
          {One(kBitmapType.Signature), Run<FindPreciseBitmapClips>}),
  Classic(ClipKind::kAVI, "avi", kAviType.TypeName, kAviType.Extension, "AVI 视频", 1, 1,
          {One(kAviType.Signature), RunWith<TcliptypeRIFF, FindRIFFClips, kAviType>},
          {One(kAviType.Signature), RunWith<TcliptypeRIFF, FindPreciseRiffClips, kAviType>}),
  Classic(ClipKind::kWAV, "wav", kWavType.TypeName, kWavType.Extension, "WAV 音频", 2, 2,
          {One(kWavType.Signature), RunWith<TcliptypeRIFF, FindRIFFClips, kWavType>},
          {One(kWavType.Signature), RunWith<TcliptypeRIFF, FindPreciseRiffClips, kWavType>}),
  Classic(ClipKind::kJPG, "jpg", kJpegType.TypeName, kJpegType.Extension, "JPEG 图片", 1, 3,
          {kJpegHeaderFooter, RunWith<TcliptypeHEFO, FindHEFOClips, kJpegType>},
          {One(kJpegStartSignature), Run<FindPreciseJpegClips>}),
  Classic(ClipKind::kMPG, "mpg", kMpegType.TypeName, kMpegType.Extension, "MPEG-1 视频", 2, 1,
          {kMpegHeaderFooter, RunWith<TcliptypeHEFO, FindHEFOClips, kMpegType>},
          {kPreciseMpegSignatures, Run<FindPreciseMpegClips>}),
  Classic(ClipKind::kMVE, "mve", kMveType.TypeName, kMveType.Extension, "Interplay 视频", 0, 1,
          {kMveHeaderFooter, RunWith<TcliptypeHEFO, FindHEFOClips, kMveType>},
          {One(kMveType.Header), Run<FindPreciseMveClips>}),
  Classic(ClipKind::kRAM, "ram", kRealMediaType.TypeName, kRealMediaType.Extension, "RealMedia", 1, 0,
          {kRealMediaHeaderFooter, RunWith<TcliptypeHEFO, FindHEFOClips, kRealMediaType>},
          {kPreciseRealMediaSignatures, Run<FindPreciseRealMediaClips>}),
  Classic(ClipKind::kBIK, "bik", kBinkType.TypeName, kBinkType.Extension, "Bink 视频", 0, 0,
          {One(kBinkType.Signature), RunWith<TcliptypeBIK, FindBIKClips, kBinkType>},
          {One(kBinkType.Signature), RunWith<TcliptypeBIK, FindBIKClips, kBinkType>}),
  Classic(ClipKind::kSMK, "smk", kSmackerTypeName, kSmackerExtension, "Smacker 视频", 2, 0,
          {One(kSmackerSignature), Run<FindSmackerClips>},
          {One(kSmackerSignature), Run<FindSmackerClips>}),
  Classic(ClipKind::kMID, "mid", kMidiType.TypeName, kMidiType.Extension, "MIDI 音频", 1, 2,
          {One(kMidiType.Signature), RunWith<TcliptypeSequence, FindSequenceClips, kMidiType>},
          {kPreciseMidiSignatures, Run<FindPreciseMidiClips>}),
  Further(ClipKind::kVOC,  "voc",  "VOC 音频",  ".voc",  0, 0, {One(kVocSignature), FindVocClips}),
  Further(ClipKind::kXMI,  "xmi",  "XMI 音乐",  ".xmi",  0, 1, {One(kXmiSignature), FindXmiClips}),
  Further(ClipKind::kMOD,  "mod",  "MOD 音乐",  ".mod",  0, 2, {kModTags, FindModClips}),
  Further(ClipKind::kS3M,  "s3m",  "S3M 音乐",  ".s3m",  0, 3, {One(kS3mSignature), FindS3mClips}),
  Further(ClipKind::kXM,   "xm",   "XM 音乐",   ".xm",   1, 0, {One(kXmSignature), FindXmClips}),
  Further(ClipKind::kIT,   "it",   "IT 音乐",   ".it",   1, 1, {One(kItSignature), FindItClips}),
  Further(ClipKind::kGIF,  "gif",  "GIF 图片",  ".gif",  1, 2, {kGifSignatures, FindGifClips}),
  Further(ClipKind::kPNG,  "png",  "PNG 图片",  ".png",  1, 3, {One(kPngSignature), FindPngClips}),
  Further(ClipKind::kOGG,  "ogg",  "Ogg 媒体",  ".ogg",  2, 0, {One(kOggSignature), FindOggClips}),
  Further(ClipKind::kFLIC, "flic", "FLIC 动画", ".flc",  2, 1, {kFlicSignatures, FindFlicClips}),
  Further(ClipKind::kAIFF, "aiff", "AIFF 音频", ".aif",  2, 2, {kAiffForms, FindIffClips}),
  Further(ClipKind::kILBM, "ilbm", "IFF 图片",  ".lbm",  2, 3, {kIlbmForms, FindIffClips}),
  Further(ClipKind::k8SVX, "8svx", "8SVX 音频", ".8svx", 3, 0, {k8svxForms, FindIffClips}),
  // The audio tracks of a disc image's sheet: no signature, no detector; the scan lists them
  // after the source's last window.
  {ClipKind::kCDA, "cdda", kCdTrackTypeName, kCdTrackExtension, ClipTypeGroup::kFurther, kCdTrackTypeName, 3, 1,
   {}, {}, ClipOrigin::kSource},
};
// clang-format on

// Every kind has exactly one record, and the classic types come first.
constexpr bool EveryKindOnce() {
  if (std::size(kTable) != static_cast<std::size_t>(kClipKindCount)) return false;
  for (int kind = 0; kind < kClipKindCount; ++kind) {
    int records = 0;
    for (const ClipTypeRecord& record : kTable) records += static_cast<int>(record.kind) == kind;
    if (records != 1) return false;
  }
  for (std::size_t i = 1; i < std::size(kTable); ++i)
    if (kTable[i - 1].group == ClipTypeGroup::kFurther && kTable[i].group == ClipTypeGroup::kClassic) return false;
  return true;
}
static_assert(EveryKindOnce(), "each clip kind needs exactly one record, the classic ones first");

// Where each kind's record stands.
constexpr std::array<std::size_t, kClipKindCount> RecordIndexes() {
  std::array<std::size_t, kClipKindCount> indexes{};
  for (std::size_t i = 0; i < std::size(kTable); ++i) indexes[static_cast<std::size_t>(kTable[i].kind)] = i;
  return indexes;
}
constexpr std::array<std::size_t, kClipKindCount> kRecordIndexes = RecordIndexes();

}  // namespace

std::span<const ClipTypeRecord> ClipTypeTable() { return kTable; }

const ClipTypeRecord& ClipTypeOf(ClipKind kind) { return kTable[kRecordIndexes.at(static_cast<std::size_t>(kind))]; }

std::optional<ClipKind> ClipKindFromName(std::string_view name) {
  for (const ClipTypeRecord& record : kTable)
    if (record.name == name) return record.kind;
  return std::nullopt;
}

std::string_view TypeNameForExtension(std::string_view extension) {
  if (extension == kMp3Extension) return kMp3TypeName;
  for (const ClipTypeRecord& record : kTable)
    if (record.origin == ClipOrigin::kSignatures && record.extension == extension) return record.type_name;
  return {};
}

std::string_view TypeNameOf(const TFilestruct& clip) {
  return clip.AudioTrack != 0 ? kCdTrackTypeName : TypeNameForExtension(clip.Extension);
}

}  // namespace rsf
