// Signature-and-length clip types (bitmap, AVI, WAVE): a signature, a sub-signature at a fixed
// distance and a 32-bit little-endian length field that gives the clip's size. Accepted clips
// carry the information text of their header.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "clipinfo/maldoavi.h"
#include "clipinfo/maldobmp.h"
#include "clipinfo/maldowav.h"
#include "scan/detectors/classic/classic_detectors.h"

namespace rsf {
namespace {

enum class InfoKind { kNone, kBitmap, kAvi, kWave };

InfoKind InfoKindOf(const TcliptypeRIFF& type) {
  if (type.TypeName == kBitmapType.TypeName) return InfoKind::kBitmap;
  if (type.TypeName == kAviType.TypeName) return InfoKind::kAvi;
  if (type.TypeName == kWavType.TypeName) return InfoKind::kWave;
  return InfoKind::kNone;
}

// The first `count` bytes of the clip at window index p. A header near the window's end goes
// on in the source behind the window; whatever lies past the source end reads as zero.
std::vector<std::uint8_t> ClipHead(ScanState& state, std::size_t p, std::size_t count) {
  std::vector<std::uint8_t> head(count, 0);
  const Bytes buffer = state.Buffer();
  const std::size_t in_buffer = std::min(count, buffer.size() - p);
  const Bytes from_buffer = buffer.subspan(p, in_buffer);
  std::copy(from_buffer.begin(), from_buffer.end(), head.begin());
  if (in_buffer == count) return head;

  const std::int64_t behind = state.WindowStart() + static_cast<std::int64_t>(buffer.size());
  const std::int64_t got =
      state.View().ReadFromSource(behind, head.data() + in_buffer, static_cast<std::int64_t>(count - in_buffer));
  // A failed read may have written anything; the missing part counts as zero.
  const std::size_t kept = got > 0 ? static_cast<std::size_t>(got) : 0;
  std::fill(head.begin() + static_cast<std::ptrdiff_t>(in_buffer + kept), head.end(), 0);
  return head;
}

std::string InfoTextOf(ScanState& state, InfoKind kind, std::size_t p) {
  switch (kind) {
    case InfoKind::kBitmap:
      return GetBMPInfo(ClipHead(state, p, kBmpInfoBytes));
    case InfoKind::kAvi:
      return GetAVIInfo(ClipHead(state, p, kAviInfoBytes));
    case InfoKind::kWave:
      return GetWAVInfo(ClipHead(state, p, kWavInfoBytes));
    case InfoKind::kNone:
      break;
  }
  return {};
}

}  // namespace

void FindRIFFClips(ScanState& state, const TcliptypeRIFF& type) {
  const SignatureId signature = state.Signature(type.Signature);
  const InfoKind info_kind = InfoKindOf(type);
  const auto sub_signature_at = static_cast<std::size_t>(type.SubSignatureOffset);
  const auto length_at = static_cast<std::size_t>(type.LengthFieldOffset);

  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate;
       p = state.NextCandidate(signature, p + 1)) {
    const Bytes buffer = state.Buffer();
    if (!MatchesAt(buffer, p + sub_signature_at, type.SubSignature)) continue;
    // "BM" turns up everywhere; three 16-bit fields read in place sort out nearly all of it.
    // A header cut by the window's end lies whole in the next window.
    if (info_kind == InfoKind::kBitmap &&
        (!FitsIn(buffer.size(), p, kBmpInfoBytes) || !IsBMPHeader(buffer.subspan(p, kBmpInfoBytes))))
      continue;
    const std::optional<std::uint32_t> length = ReadLE32(buffer, p + length_at);
    if (!length) continue;

    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    const std::int64_t end = start + static_cast<std::int64_t>(*length) + type.LengthAdjustment;
    // A length running past the source end is noise, or a clip cut short: nothing to extract.
    if (end > state.SourceSize()) continue;

    state.AppendClip({start, std::string(type.Extension), end, InfoTextOf(state, info_kind, p)}, type.TypeName);
  }
}

}  // namespace rsf
