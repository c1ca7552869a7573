// JPEG by its markers: a start-of-image marker followed at once by a marker that can open an
// image (an APPn segment of any kind, DQT, DHT, DRI, COM or a frame header); then segments by
// their lengths up to a start of scan, the entropy-coded data after it scanned for the next
// marker (stuffed FF 00, restart markers and fill bytes go on), further segments of progressive
// or multi-scan images, and the end-of-image marker. An image needs a frame header and a scan
// before its end; anything else ends the walk without a clip. Thumbnails inside APP segments
// are stepped over with their segment.
//
// From a marker the walk goes on alike whichever start-of-image led there, so the memo keeps,
// for the markers passed, the end reached and whether a frame header and a scan lay ahead; and
// entropy-coded data once scanned is remembered as a stretch without markers.
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr unsigned kFrameSeen = 1;
constexpr unsigned kScanSeen = 2;

bool IsFrameHeader(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers a JPEG file opens with after its start of image.
bool OpensAnImage(std::uint8_t marker) {
  return (marker >= 0xE0 && marker <= 0xEF) || marker == 0xDB || marker == 0xC4 || marker == 0xDD || marker == 0xFE ||
         marker == 0xCC || IsFrameHeader(marker);
}

bool StandsAlone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// The offset of the marker that ends the entropy-coded data at `from`, or nullopt when the data
// runs to the source end (or into bytes that cannot be read).
std::optional<std::int64_t> EndOfEntropyData(ScanState& state, std::int64_t from) {
  SourceView& view = state.View();
  StretchMemo& stretches = state.JpegEntropyStretches();
  std::int64_t at = from;
  for (;;) {
    if (const std::optional<std::int64_t> known = stretches.EndFrom(at)) at = *known;
    const std::int64_t ff = view.FindByte(at, kMarker, view.Size());
    if (ff >= view.Size() - 1) {
      if (ff >= view.Size()) stretches.Add(from, view.Size());  // no marker up to the source end
      return std::nullopt;
    }
    const std::optional<std::uint8_t> next = view.Byte(ff + 1);
    if (!next) return std::nullopt;
    if (*next == 0x00 || (*next >= 0xD0 && *next <= 0xD7)) {
      at = ff + 2;
    } else if (*next == kMarker) {
      at = ff + 1;
    } else {
      stretches.Add(from, ff);
      return ff;
    }
  }
}

// The walk from the marker at `at` (its FF): the end of the image (-1 when the structure breaks
// off first) and whether a frame header and a scan lay on the way, packed.
std::int64_t WalkFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kJpegSegments);
  WalkMemo::Walk walk(memo);
  unsigned seen = 0;
  std::int64_t end = -1;
  unsigned beyond = 0;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(at)) {
      end = WalkMemo::EndOf(*known);
      beyond = WalkMemo::FlagsOf(*known);
      break;
    }
    // Fill bytes may stand before a marker.
    std::int64_t code_at = at + 1;
    std::optional<std::uint8_t> code = view.Byte(code_at);
    while (code && *code == kMarker) code = view.Byte(++code_at);
    const unsigned here = !code ? 0u : IsFrameHeader(*code) ? kFrameSeen : *code == kStartOfScan ? kScanSeen : 0u;
    walk.Pass(at, here);
    seen |= here;
    if (view.Byte(at) != kMarker || !code || *code == 0x00 || *code == kStartOfImage) break;
    if (*code == kEndOfImage) {
      end = code_at + 1;
      break;
    }
    if (StandsAlone(*code)) {
      at = code_at + 1;
      continue;
    }
    std::vector<std::uint8_t> storage;
    const std::optional<std::uint16_t> length = view.ReadRecord(code_at + 1, 2, storage).ReadBE16();
    if (!length || *length < 2 || code_at + 1 + *length > view.Size()) break;
    const std::int64_t segment_end = code_at + 1 + *length;
    if (*code != kStartOfScan) {
      at = segment_end;
      continue;
    }
    const std::optional<std::int64_t> marker = EndOfEntropyData(state, segment_end);
    if (!marker) break;
    at = *marker;
  }
  walk.EndPacked(end, beyond);
  return WalkMemo::Pack(end, seen | beyond);
}

// The end of the image whose signature stands at `start`, or nullopt when none starts there.
std::optional<std::int64_t> JpegEnd(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  const std::optional<std::uint8_t> opener = view.Byte(start + 3);
  if (!opener || !OpensAnImage(*opener)) return std::nullopt;
  const std::int64_t walked = WalkFrom(state, start + 2);
  const std::int64_t end = WalkMemo::EndOf(walked);
  if (end < 0 || WalkMemo::FlagsOf(walked) != (kFrameSeen | kScanSeen)) return std::nullopt;
  return end;
}

}  // namespace

void FindPreciseJpegClips(ScanState& state) {
  EachWalkedCandidate(state, {kJpegStartSignature}, 0, kJpegType.Extension, kJpegType.TypeName,
                      [&](std::int64_t start) { return JpegEnd(state, start); }, NoInfo);
}

}  // namespace rsf
