// MP3 mode: a clip is a run of at least four valid MPEG audio frames, each starting where the
// previous one ends, optionally followed by an ID3 version 1 tag. After each clip the window
// moves behind it, so the scan goes on from the clip's last byte. Under the precise rules every
// frame of a run has the first frame's version, layer and sampling frequency, a layer III run
// ends where a new encoding begins (encoding_starts.h), a run starts at an ID3v2 tag that stands
// directly before its first frame, and APEv2 and Lyrics3 tags after it belong to the clip too
// (mp3_tags.h).
//
// Every 0xFF byte can start a frame, so headers are taken from memory wherever the bytes are at
// hand: the probe from the window, the frame walk through the source view (the window or a
// block read ahead). Those are the bytes a 4-byte read at the same offset would deliver, and
// where a block fails to read the view falls back to that 4-byte read, so the clips found and
// the read errors raised are the same as with a seek and a read for every header.
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "clipinfo/maldomp3.h"
#include "scan/detectors/mp3/encoding_starts.h"
#include "scan/detectors/mp3/find_mp3_clips.h"
#include "scan/detectors/mp3/layer3_side_info.h"
#include "scan/detectors/mp3/mp3_tags.h"

namespace rsf {
namespace {

constexpr std::string_view kFoundHeaderStatus = "找到 MP3 头部 - 正在计算大小 ...";
constexpr std::string_view kTagIdentifier = "TAG";
constexpr std::uint8_t kSyncByte = 0xFF;
constexpr int kProbeFrames = 4;
constexpr std::int64_t kHeaderBytes = 4;

std::uint32_t HeaderWord(const std::uint8_t* bytes) { return *ReadBE32(Bytes(bytes, kHeaderBytes), 0); }

// Whether the four bytes at `header` (inside the window) need the probe: a 0xFF byte, unless its
// header is invalid with a frame length of 0, for then the probe fails at once (its later steps
// would only decode the same four bytes of the window again). Such are the headers whose second
// byte lacks the three sync bits, whose version or layer is reserved, whose sampling frequency
// index is 3, or whose bitrate index is 0 or 15 without the padding bit.
inline bool NeedsProbe(const std::uint8_t* header) {
  const unsigned b0 = header[0];
  const unsigned b1 = header[1];
  const unsigned b2 = header[2];
  const unsigned bitrate_index = b2 >> 4;
  const bool fails = ((b1 & 0xE0u) != 0xE0u) | ((b1 & 0x18u) == 0x08u) | ((b1 & 0x06u) == 0u) | ((b2 & 0x0Cu) == 0x0Cu) |
                     (((bitrate_index == 0u) | (bitrate_index == 15u)) & ((b2 & 0x02u) == 0u));
  return (b0 == kSyncByte) & !fails;
}

// Sixteen positions at once: byte vectors of the first three header bytes of each position.
using ByteLanes = std::uint8_t __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(ByteLanes);

// The lanes (0 or all ones) where the probe needs more than a glance: NeedsProbe, lane by lane.
ByteLanes NeedsProbeLanes(const std::uint8_t* first) {
  ByteLanes b0, b1, b2;
  std::memcpy(&b0, first, kLanes);
  std::memcpy(&b1, first + 1, kLanes);
  std::memcpy(&b2, first + 2, kLanes);
  const ByteLanes bitrate_index = b2 >> 4;
  const auto fails = ((b1 & 0xE0) != 0xE0) | ((b1 & 0x18) == 0x08) | ((b1 & 0x06) == 0) | ((b2 & 0x0C) == 0x0C) |
                     (((bitrate_index == 0) | (bitrate_index == 15)) & ((b2 & 0x02) == 0));
  return reinterpret_cast<ByteLanes>((b0 == kSyncByte) & ~fails);
}

// Index of the first lane that is set, or kLanes.
std::size_t FirstSetLane(ByteLanes lanes) {
  std::uint64_t halves[2];
  std::memcpy(halves, &lanes, kLanes);
  // Lane i is byte i of the vector in memory, whatever the byte order of the machine.
  for (std::size_t half = 0; half < 2; ++half) {
    if (halves[half] == 0) continue;
    for (std::size_t lane = 0; lane < 8; ++lane)
      if (reinterpret_cast<const std::uint8_t*>(&halves[half])[lane] != 0) return half * 8 + lane;
  }
  return kLanes;
}

// The next 0xFF byte of the window at `from` or later whose probe needs more than a glance.
// Where 0xFF bytes are rare, memchr finds them; where they are dense (a source of nothing but
// 0xFF), sixteen positions are judged at once.
std::size_t NextCandidate(Bytes window, std::size_t from) {
  const std::uint8_t* bytes = window.data();
  const std::size_t size = window.size();
  // Positions whose four header bytes all lie in the window; a header cut by the window's end
  // is probed from the source.
  const std::size_t whole = size >= kHeaderBytes ? size - kHeaderBytes + 1 : 0;
  std::size_t at = from;
  while (at < size) {
    if (bytes[at] != kSyncByte) {
      const void* hit = std::memchr(bytes + at, kSyncByte, size - at);
      if (!hit) return kNoCandidate;
      at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - bytes);
    }
    if (at >= whole) return at;
    // The lanes read two bytes past their last position: only while those lie in the window.
    if (at + kLanes + 2 <= size) {
      const std::size_t lane = FirstSetLane(NeedsProbeLanes(bytes + at));
      if (lane < kLanes) return at + lane;
      at += kLanes;
      continue;
    }
    if (NeedsProbe(bytes + at)) return at;
    ++at;
  }
  return kNoCandidate;
}

// Four-byte frame headers at source offsets, through the view.
class FrameHeaderReader {
 public:
  explicit FrameHeaderReader(SourceView& view) : view_(view) {}

  std::optional<std::uint32_t> FromWindow(std::int64_t offset) const { return view_.WindowBE32(offset); }

  // A full 4-byte read at `offset`; raises StreamReadError when it fails.
  std::uint32_t Read(std::int64_t offset) {
    std::array<std::uint8_t, kHeaderBytes> bytes{};
    view_.ReadFull(offset, bytes.data(), kHeaderBytes);
    return HeaderWord(bytes.data());
  }

 private:
  SourceView& view_;
};

// The bits of a frame header that every frame of a run shares under the precise rules: the
// version (bits 20 and 19), the layer (18 and 17) and the sampling frequency index (11 and 10).
constexpr std::uint32_t kStreamBits = 0x001E0C00;

bool SameStream(std::uint32_t header, std::uint32_t first) { return (header & kStreamBits) == (first & kStreamBits); }

// Four valid headers in a row, each at the frame length of the one before (and, with `precise`,
// of the first one's stream). Returns the fourth. The steps after an invalid header still run,
// since their reads past the window may fail, and a read error here is not caught: it ends the
// run whether or not read errors are ignored.
std::optional<std::uint32_t> Probe(std::int64_t start, FrameHeaderReader& headers, std::int64_t source_size,
                                   bool precise) {
  std::uint32_t header = 0, first = 0;
  bool failed = false;
  std::int64_t off = 0;
  for (int step = 0; step < kProbeFrames; ++step) {
    const std::int64_t offset = start + off;
    if (offset >= source_size - kHeaderBytes) return std::nullopt;
    const std::optional<std::uint32_t> in_window = headers.FromWindow(offset);
    header = in_window ? *in_window : headers.Read(offset);
    if (step == 0) first = header;
    const MP3FrameShape shape = DecodeMP3FrameShape(header);
    off += shape.FrameLength;
    if (!shape.Valid || (precise && !SameStream(header, first))) {
      failed = true;
      // The remaining steps would decode the same bytes of the window again.
      if (in_window && shape.FrameLength == 0) return std::nullopt;
    }
  }
  if (failed) return std::nullopt;
  return header;
}

// The layer III facts of the frame at `offset`, from the bytes at hand or a plain read; nullopt
// for another layer or where its side information cannot be read.
std::optional<Layer3Frame> Layer3FactsAt(SourceView& view, std::int64_t offset, std::uint32_t header,
                                         std::int32_t frame_length) {
  const std::int64_t count = std::min({kLayer3FactBytes, static_cast<std::int64_t>(frame_length), view.Size() - offset});
  if (const std::optional<Bytes> bytes = view.Peek(offset, count)) return ReadLayer3Frame(header, frame_length, *bytes);
  std::array<std::uint8_t, kLayer3FactBytes> bytes{};
  const std::int64_t got = view.Read(offset, bytes.data(), count);
  if (got <= 0) return std::nullopt;
  return ReadLayer3Frame(header, frame_length, Bytes(bytes.data(), static_cast<std::size_t>(got)));
}

// Walks the frames from `start` (whose header is valid) and returns the offset behind the last
// valid one: the first header that is not valid ends the run and adds nothing, a failed read
// ends it at the source end. Under the precise rules a frame where a new encoding begins
// (encoding_starts.h) ends it too, when a run of its own starts there. Messages run once per
// frame; nullopt when the program is closing.
std::optional<std::int64_t> WalkFrames(ScanState& state, FrameHeaderReader& headers, std::int64_t start) {
  const bool precise = state.Options().precise;
  EncodingStarts encodings(kProbeFrames);
  std::int64_t end = start;
  std::optional<std::uint32_t> first;
  for (;;) {
    state.Observer().ProcessMessages();
    if (state.Observer().Closing()) return std::nullopt;
    std::uint32_t header = 0;
    try {
      header = headers.Read(end);
    } catch (const StreamReadError&) {
      return state.SourceSize();
    }
    const MP3FrameShape frame = DecodeMP3FrameShape(header);
    if (!first) first = header;
    if (!frame.Valid || (precise && !SameStream(header, *first))) return end;
    if (precise) {
      const std::optional<Layer3Frame> facts = Layer3FactsAt(state.View(), end, header, frame.FrameLength);
      if (encodings.BeginsAt(facts) && Probe(end, headers, state.SourceSize(), true)) return end;
      encodings.Take(facts);
    }
    end += frame.FrameLength;
  }
}

// Appends the ID3 version 1 tag at `end` to the clip when there is one; a failed read drops it.
void TakeTag(SourceView& view, std::int64_t& end, std::string& info) {
  try {
    std::array<std::uint8_t, kHeaderBytes> head{};
    view.ReadFullFromSource(end, head.data(), kHeaderBytes);
    if (!MatchesAt(Bytes(head), 0, kTagIdentifier)) return;
    std::array<std::uint8_t, kID3TagBytes> tag{};
    view.ReadFullFromSource(end, tag.data(), kID3TagBytes);
    end += static_cast<std::int64_t>(kID3TagBytes);
    info.append("\r\n\r\n").append(GetID3Info(Bytes(tag)));
  } catch (const StreamReadError&) {
  }
}

// The first frame's header read again with a plain read, as the walk starts from it. A read that
// delivers less, or bytes that no longer form a valid header, drops the candidate.
bool FirstFrameReadsBack(SourceView& view, std::int64_t start) {
  std::array<std::uint8_t, kHeaderBytes> bytes{};
  if (view.ReadFromSource(start, bytes.data(), kHeaderBytes) != kHeaderBytes) return false;
  return DecodeMP3FrameShape(HeaderWord(bytes.data())).Valid;
}

// Under the precise rules: the next ID3v2 tag from window index `from` on, before index
// `before`, that is directly followed by a frame run, with the offset of that run.
struct TaggedRun {
  std::size_t tag = kNoCandidate;
  std::int64_t frames = 0;
};

TaggedRun NextTaggedRun(ScanState& state, FrameHeaderReader& headers, std::size_t from, std::size_t before) {
  const SignatureId id = state.Signature(kId3v2Signature);
  for (std::size_t tag = state.NextCandidate(id, from); tag != kNoCandidate && tag < before;
       tag = state.NextCandidate(id, tag + 1)) {
    const std::int64_t tag_start = state.WindowStart() + static_cast<std::int64_t>(tag);
    if (const std::optional<std::int64_t> frames = Id3v2End(state.View(), tag_start))
      if (Probe(*frames, headers, state.SourceSize(), true)) return {tag, *frames};
  }
  return {};
}

}  // namespace

void FindMP3Clips(ScanState& state) {
  ScanObserver& observer = state.Observer();
  SourceView& view = state.View();
  FrameHeaderReader headers(view);
  const bool precise = state.Options().precise;

  std::size_t p = NextCandidate(state.Buffer(), 0);
  TaggedRun tagged = precise ? NextTaggedRun(state, headers, 0, p) : TaggedRun{};
  while (p != kNoCandidate || tagged.tag != kNoCandidate) {
    // A tag before the next frame candidate starts the clip there, its run behind it.
    const bool from_tag = tagged.tag != kNoCandidate;
    const std::size_t at = from_tag ? tagged.tag : p;
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(at);
    const std::int64_t frames = from_tag ? tagged.frames : start;
    const std::optional<std::uint32_t> fourth = Probe(frames, headers, state.SourceSize(), precise);
    auto next_candidate = [&](std::size_t after) {
      p = NextCandidate(state.Buffer(), from_tag ? p : after);
      tagged = precise ? NextTaggedRun(state, headers, at + 1, p) : TaggedRun{};
    };
    if (!fourth) {
      next_candidate(p + 1);
      continue;
    }
    observer.StatusText(kStatusPanelActivity, std::string(kFoundHeaderStatus));
    observer.Repaint();
    if (!FirstFrameReadsBack(view, frames)) {
      next_candidate(p + 1);
      continue;
    }
    std::string info = GetMP3Info(DecodeMP3Header(*fourth));
    const std::optional<std::int64_t> frames_end = WalkFrames(state, headers, frames);
    // Closing: leave at once; the clip was never catalogued, so list and catalogue stay in step.
    if (!frames_end) return;
    std::int64_t end = *frames_end;
    if (precise) {
      TakeTrailingTags(view, end, info);
    } else {
      TakeTag(view, end, info);
    }
    state.AppendClip({start, std::string(kMp3Extension), end, std::move(info)}, kMp3TypeName);

    // The next window starts at the clip's last byte, which may itself begin the next candidate.
    state.MoveWindowTo(end - 1);
    p = NextCandidate(state.Buffer(), 0);
    tagged = precise ? NextTaggedRun(state, headers, 0, p) : TaggedRun{};
  }
  // The time estimate reads the source position: leave it behind the searched window.
  state.PositionBehindWindow();
}

}  // namespace rsf
