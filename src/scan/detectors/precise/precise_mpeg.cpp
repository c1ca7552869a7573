// MPEG program streams, MPEG-1 and MPEG-2: a pack header (its marker bits tell the two apart and
// are checked), then whatever start codes follow one after the other: further pack headers, the
// system header, PES packets of any stream, padding, each by its 16-bit length. Zero bytes
// between packs, as Video CD and Super Video CD write to fill their sectors, continue the stream
// when a pack follows them within a sector's length; zeros that fill the last pack's sector
// exactly belong to it too. A pack whose clock reference goes back begins another stream. The
// clip ends after the program end code (a proven end) when one follows, else after the last
// complete pack or packet (an open end). A stream needs at least one packet. Packet runs are
// long and any pack of them can be a candidate, so the memo keeps where the run from each
// element ends and whether a packet lies ahead.
//
// MPEG-1 and MPEG-2 video elementary streams: a sequence header followed by a group of pictures
// or a picture, then the start codes of video only, found one after another: pictures with their
// slices, further groups and sequence headers. It ends after the sequence end code (proven), or
// before the start code that follows its last whole picture (open). A sequence header inside a
// program stream already walked is that stream's video, not a stream of its own.
#include "scan/detectors/precise/precise_detectors.h"

namespace rsf {
namespace {

constexpr std::uint8_t kPackCode = 0xBA;
constexpr std::uint8_t kEndCode = 0xB9;
constexpr std::uint8_t kSystemHeaderCode = 0xBB;
constexpr std::uint8_t kSequenceHeaderCode = 0xB3;
constexpr std::uint8_t kSequenceEndCode = 0xB7;
constexpr std::uint8_t kGroupCode = 0xB8;
constexpr std::uint8_t kPictureCode = 0x00;
constexpr std::uint8_t kExtensionCode = 0xB5;
constexpr std::uint8_t kUserDataCode = 0xB2;
constexpr unsigned kPacketSeen = 1;
constexpr unsigned kEndCodeSeen = 2;
// Video CD and Super Video CD sectors carry 2,324 bytes: no more zeros stand between two packs.
constexpr std::int64_t kLongestSectorPadding = 2324;
// Slices are never this long: a start code further on is not this stream's.
constexpr std::int64_t kLongestVideoGap = std::int64_t{1} << 20;
// The program streams walked, open or not: the video inside them is no elementary stream.
constexpr std::string_view kProgramStreams = "MPEG program streams";

// The length of the pack header at `at`, 0 when the bytes there are none.
std::int64_t PackHeaderLength(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor head = view.ReadRecord(at, 14, storage);
  const std::optional<Bytes> bytes = head.ReadBytes(std::min<std::size_t>(head.Remaining(), 14));
  if (!bytes || bytes->size() < 12 || !MatchesAt(*bytes, 0, kMpegType.Header)) return 0;
  const Bytes b = *bytes;
  // MPEG-1: '0010' SCR marker bits; MPEG-2: '01' and its stuffing length in the last byte.
  if ((b[4] & 0xF1) == 0x21 && (b[6] & 0x01) && (b[8] & 0x01) && (b[9] & 0x80) && (b[11] & 0x01)) return 12;
  if (b.size() == 14 && (b[4] & 0xC4) == 0x44 && (b[6] & 0x04) && (b[8] & 0x04) && (b[9] & 0x01) &&
      (b[12] & 0x03) == 0x03)
    return 14 + (b[13] & 0x07);
  return 0;
}

// The system clock reference of the pack header at `at` (MPEG-1 or MPEG-2, 33 bits of 90 kHz),
// when one stands there.
std::optional<std::int64_t> ClockReference(SourceView& view, std::int64_t at) {
  if (PackHeaderLength(view, at) == 0) return std::nullopt;
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> bytes = view.ReadRecord(at + 4, 5, storage).ReadBytes(5);
  if (!bytes) return std::nullopt;
  const Bytes b = *bytes;
  const auto at_bits = [&](int byte, int shift, int mask) { return std::int64_t{(b[byte] >> shift) & mask}; };
  if ((b[0] & 0xF0) == 0x20)  // MPEG-1: 0010 s32-30 1 s29-15 1 s14-0 1
    return at_bits(0, 1, 7) << 30 | at_bits(1, 0, 0xFF) << 22 | at_bits(2, 1, 0x7F) << 15 | at_bits(3, 0, 0xFF) << 7 |
           at_bits(4, 1, 0x7F);
  // MPEG-2: 01 s32-30 1 s29-15 1 s14-0 1, the last field split across byte boundaries
  return at_bits(0, 3, 7) << 30 | at_bits(0, 0, 3) << 28 | at_bits(1, 0, 0xFF) << 20 | at_bits(2, 3, 0x1F) << 15 |
         at_bits(2, 0, 3) << 13 | at_bits(3, 0, 0xFF) << 5 | at_bits(4, 3, 0x1F);
}

// Whether the `count` bytes at `at` can be read and are all zero.
bool AllZero(SourceView& view, std::int64_t at, std::int64_t count) {
  if (count > 0 && view.Byte(at) != std::uint8_t{0}) return false;  // the common case, without a copy
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> bytes = view.ReadRecord(at, count, storage).ReadBytes(static_cast<std::size_t>(count));
  return bytes && std::all_of(bytes->begin(), bytes->end(), [](std::uint8_t b) { return b == 0; });
}

// Where a pack header (or the end code) stands behind the zero bytes at `at` that pad a
// sector; `at` when there are none or neither follows them.
std::int64_t PackAfterPadding(SourceView& view, std::int64_t at) {
  const std::int64_t limit = std::min(view.Size(), at + kLongestSectorPadding + 3);
  const std::int64_t first_other = view.FindByte(at, 0x01, limit);
  if (first_other >= limit || view.Byte(first_other) != std::uint8_t{1}) return at;
  if (first_other - at < 3 || !AllZero(view, at, first_other - at)) return at;
  const std::int64_t code_at = first_other - 2;
  return PackHeaderLength(view, code_at) != 0 || view.Byte(code_at + 3) == kEndCode ? code_at : at;
}

// The run of start codes from `at`: its end and whether a packet lay on it (packed); -1 as the
// end when nothing complete stands there.
std::int64_t RunFrom(ScanState& state, std::int64_t at) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kMpegPackets);
  WalkMemo::Walk walk(memo);
  std::int64_t end = at;
  unsigned seen = 0, beyond = 0;
  std::int64_t last_pack = -1;
  std::optional<std::int64_t> last_clock;
  for (;;) {
    // The clock never goes back within a stream: a pack whose clock does begins the next one
    // (as where files lie back to back). Looked at before the memo, which may know that pack
    // from a walk that began there.
    const std::optional<std::int64_t> clock = ClockReference(view, end);
    if (clock && last_clock && *clock < *last_clock) break;
    if (clock) last_clock = clock;
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
      const std::int64_t pack = PackAfterPadding(view, end);
      walk.Pass(end);
      if (pack <= end) {
        // Zeros that fill the last pack's sector exactly (and no further) pad it as the others.
        // Decided from the last pack alone, so that every walk along the chain ends alike.
        const std::int64_t sector_end = last_pack + kLongestSectorPadding;
        if (last_pack >= 0 && end < sector_end && sector_end <= view.Size() && AllZero(view, end, sector_end - end) &&
            !(sector_end + 4 <= view.Size() && AllZero(view, sector_end, 4)))
          end = sector_end;
        break;
      }
      end = pack;
      continue;
    }
    if (*code == kEndCode) {
      walk.Pass(end, kEndCodeSeen);
      seen |= kEndCodeSeen;
      end += 4;
      break;
    }
    std::int64_t length = 0;
    unsigned here = 0;
    if (*code == kPackCode) {
      length = PackHeaderLength(view, end);
      last_pack = end;
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

// The first start code prefix (00 00 01) at `from` or later and before `limit`, or -1.
std::int64_t NextStartCode(SourceView& view, std::int64_t from, std::int64_t limit) {
  for (std::int64_t at = from + 2; at < limit;) {
    const std::int64_t one = view.FindByte(at, 0x01, limit);
    if (one >= limit || view.Byte(one) != std::uint8_t{1}) return -1;  // none, or unreadable
    std::vector<std::uint8_t> storage;
    const std::optional<Bytes> before = view.ReadRecord(one - 2, 2, storage).ReadBytes(2);
    if (!before) return -1;  // cannot be read
    if ((*before)[0] == 0 && (*before)[1] == 0) return one - 2;
    at = one + 1;
  }
  return -1;
}

bool PlausibleSequenceHeader(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = view.ReadRecord(at, 12, storage).ReadBytes(12);
  if (!head) return false;
  const Bytes h = *head;
  const std::uint32_t size = *ReadBE24(h, 4);  // 12 bits of width, 12 of height
  const int width = static_cast<int>(size >> 12), height = static_cast<int>(size & 0xFFF);
  const int aspect = h[7] >> 4, rate = h[7] & 0x0F;
  return width > 0 && height > 0 && aspect > 0 && aspect < 15 && rate > 0 && rate < 9 && (h[10] & 0x20) != 0;
}

// The elementary stream from the sequence header at `start`: the end after its last whole
// picture (or its end code), -1 with no picture; kEndCodeSeen when it ended at the end code.
std::int64_t VideoFrom(ScanState& state, std::int64_t start) {
  SourceView& view = state.View();
  WalkMemo& memo = state.Walks(ScanState::WalkKind::kVideoStartCodes);
  WalkMemo::Walk walk(memo);
  std::int64_t whole_end = -1;  // behind the last whole picture
  unsigned flags = 0, beyond = 0;
  bool in_picture = false;
  std::int64_t at = start;
  for (;;) {
    std::vector<std::uint8_t> storage;
    const std::optional<std::uint8_t> code = view.ReadRecord(at + 3, 1, storage).ReadU8();
    if (!code) break;
    const bool ends_picture = *code == kPictureCode || *code == kGroupCode || *code == kSequenceHeaderCode ||
                              *code == kSequenceEndCode;
    if (ends_picture && in_picture) whole_end = at;
    if (*code == kSequenceHeaderCode) {
      // Where the walk stands between pictures, a later walk from here goes on alike.
      if (const std::optional<std::int64_t> known = memo.Find(at)) {
        const std::int64_t end = WalkMemo::EndOf(*known);
        beyond = WalkMemo::FlagsOf(*known);
        if (end > at) whole_end = end;
        break;
      }
      if (!PlausibleSequenceHeader(view, at)) break;
      walk.Pass(at);
      in_picture = false;
    } else if (*code == kSequenceEndCode) {
      if (whole_end == at) {
        walk.Pass(at, kEndCodeSeen);
        whole_end = at + 4;
        flags = kEndCodeSeen;
      }
      break;
    } else if (*code == kGroupCode || *code == kPictureCode) {
      in_picture = *code == kPictureCode;
    } else if (*code >= 0x01 && *code <= 0xAF) {
      if (!in_picture) break;  // a slice outside a picture
    } else if (*code == kExtensionCode || *code == kUserDataCode) {
    } else {
      break;  // not video (a system start code: a program stream follows)
    }
    const std::int64_t next = NextStartCode(view, at + 4, std::min(view.Size(), at + 4 + kLongestVideoGap));
    if (next < 0) break;
    at = next;
  }
  walk.EndPacked(whole_end, beyond);
  return WalkMemo::Pack(whole_end, flags | beyond);
}

std::optional<WalkEnd> VideoEnd(ScanState& state, std::int64_t start) {
  if (state.WalkedClips(kProgramStreams).Covered(start, start + 1) || !PlausibleSequenceHeader(state.View(), start))
    return std::nullopt;
  // A sequence header opens a stream only when a group of pictures or a picture follows it.
  std::int64_t at = start;
  for (int codes = 0;; ++codes) {
    at = NextStartCode(state.View(), at + 4, std::min(state.View().Size(), at + 4 + 4096));
    std::vector<std::uint8_t> storage;
    const std::optional<std::uint8_t> code = at < 0 ? std::nullopt : state.View().ReadRecord(at + 3, 1, storage).ReadU8();
    if (!code || codes > 4) return std::nullopt;
    if (*code == kGroupCode || *code == kPictureCode) break;
    if (*code != kExtensionCode && *code != kUserDataCode) return std::nullopt;
  }
  const std::int64_t run = VideoFrom(state, start);
  const std::int64_t end = WalkMemo::EndOf(run);
  if (end <= start) return std::nullopt;
  return WalkEnd{end, (WalkMemo::FlagsOf(run) & kEndCodeSeen) == 0};
}

std::optional<WalkEnd> ProgramStreamEnd(ScanState& state, std::int64_t start) {
  if (PackHeaderLength(state.View(), start) == 0) return std::nullopt;
  const std::int64_t run = RunFrom(state, start);
  if ((WalkMemo::FlagsOf(run) & kPacketSeen) == 0) return std::nullopt;
  state.WalkedClips(kProgramStreams).Add(start, WalkMemo::EndOf(run));
  return WalkEnd{WalkMemo::EndOf(run), (WalkMemo::FlagsOf(run) & kEndCodeSeen) == 0};
}

}  // namespace

void FindPreciseMpegClips(ScanState& state) {
  SourceView& view = state.View();
  // Both forms in one pass, in source order: a program stream is walked before the sequence
  // headers in its packets come up.
  EachWalkedCandidate(
      state, kPreciseMpegSignatures, 0, kMpegType.Extension, kMpegType.TypeName,
      [&](std::int64_t start) {
        const std::optional<std::uint8_t> code = view.Byte(start + 3);
        return code == kPackCode ? ProgramStreamEnd(state, start) : VideoEnd(state, start);
      },
      NoInfo);
}

}  // namespace rsf
