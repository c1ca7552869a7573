// MPEG program streams, MPEG-1 and MPEG-2: a pack header (its marker bits tell the two apart and
// are checked), then whatever start codes follow one after the other: further pack headers, the
// system header, PES packets of any stream, padding, each by its 16-bit length; the clip ends
// after the program end code when one follows, else after the last complete pack or packet. A
// stream needs at least one packet. Packet runs are long and any pack of them can be a
// candidate, so the memo keeps where the run from each element ends and whether a packet lies
// ahead.
#include "scan/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::uint8_t kPackCode = 0xBA;
constexpr std::uint8_t kEndCode = 0xB9;
constexpr std::uint8_t kSystemHeaderCode = 0xBB;
constexpr unsigned kPacketSeen = 1;

// The length of the pack header at `at`, 0 when the bytes there are none.
std::int64_t PackHeaderLength(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, 14, storage);
  const std::optional<Bytes> bytes = head.ReadBytes(std::min<std::size_t>(head.Remaining(), 14));
  if (!bytes || bytes->size() < 12 || !MatchesAt(*bytes, 0, "\x00\x00\x01\xBA"sv)) return 0;
  const Bytes b = *bytes;
  // MPEG-1: '0010' SCR marker bits; MPEG-2: '01' and its stuffing length in the last byte.
  if ((b[4] & 0xF1) == 0x21 && (b[6] & 0x01) && (b[8] & 0x01) && (b[9] & 0x80) && (b[11] & 0x01)) return 12;
  if (b.size() == 14 && (b[4] & 0xC4) == 0x44 && (b[6] & 0x04) && (b[8] & 0x04) && (b[9] & 0x01) &&
      (b[12] & 0x03) == 0x03)
    return 14 + (b[13] & 0x07);
  return 0;
}

// The run of start codes from `at`: its end and whether a packet lay on it (packed); -1 as the
// end when nothing complete stands there.
std::int64_t RunFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kMpegPackets);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  unsigned seen = 0, beyond = 0;
  for (;;) {
    if (const std::optional<std::int64_t> known = memo.Find(end)) {
      end = WalkMemo::EndOf(*known);
      beyond = WalkMemo::FlagsOf(*known);
      break;
    }
    std::vector<std::uint8_t> storage;
    ByteCursor head = view.ReadRecord(end, 6, storage);
    const std::optional<Bytes> prefix = head.ReadBytes(3);
    const std::optional<std::uint8_t> code = head.ReadU8();
    if (!prefix || !code || !MatchesAt(*prefix, 0, "\x00\x00\x01"sv)) {
      walk.Pass(end);
      break;
    }
    if (*code == kEndCode) {
      walk.Pass(end);
      end += 4;
      break;
    }
    std::int64_t length = 0;
    unsigned here = 0;
    if (*code == kPackCode) {
      length = PackHeaderLength(view, end);
    } else if (*code >= kSystemHeaderCode) {
      const std::optional<std::uint16_t> body = head.ReadBE16();
      if (body) length = 6 + *body;
      if (*code > kSystemHeaderCode) here = kPacketSeen;
    }
    // A packet counts only when it lies whole in the source.
    const bool whole = length != 0 && end + length <= view.Size();
    walk.Pass(end, whole ? here : 0u);
    if (!whole) break;
    seen |= here;
    end += length;
  }
  walk.EndPacked(end, beyond);
  return WalkMemo::Pack(end, seen | beyond);
}

}  // namespace

std::optional<std::int64_t> MpegEnd(ScanState& state, std::int64_t start) {
  if (PackHeaderLength(state.View(), start) == 0) return std::nullopt;
  const std::int64_t run = RunFrom(state, start);
  if (WalkMemo::FlagsOf(run) != kPacketSeen) return std::nullopt;
  return WalkMemo::EndOf(run);
}

void FindPreciseMpegClips(ScanState& state) {
  EachWalkedCandidate(state, {"\x00\x00\x01\xBA"sv}, 0, kMpegType.Extension, kMpegType.TypeName,
                      [&](std::int64_t start) { return MpegEnd(state, start); }, NoInfo);
}

}  // namespace rsf
