// Straightforward detectors kept as oracles: header-and-footer types with a search for each
// footer at once through the scan's later windows, and QuickTime, Smacker, MIDI and MP3 mode exactly as
// they ran before walks were remembered, reads were served from memory and the frame-size sum
// stopped at the source end: every field is read with a seek and a read of the source itself
// (not through the view the engine's detectors read through), every walk is walked to its end. A scan with them must find what the engine finds, clip for clip.
// Used by the hostile-source tests and by the scan fuzzer; depends on nothing but the core.
#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "clipinfo/maldomp3.h"
#include "scan/detectors/classic/classic_detectors.h"

namespace rsf::reference {

// --- header-and-footer types ---

// The footer searches of one scan: a search from F that found X (or nothing) answers every later
// search from F..X, by footer.
struct FooterMemo {
  std::int64_t searched_from = -1;
  std::optional<std::int64_t> found;
};
using FooterMemos = std::map<std::string, FooterMemo, std::less<>>;

// The first footer at `from` or later as the scan's windows show it: in the window, then in each
// later window of the scan, read as the scan reads it, piece by piece. A failing piece ends that
// window's bytes, and the scan when read errors are not ignored; an ignored one is not counted
// here, as the scan counts it when it reads that window itself.
inline std::optional<std::int64_t> SearchFooter(ScanState& state, SourceStream& source, std::string_view footer,
                                                std::int64_t from) {
  const std::int64_t size = state.SourceSize();
  const std::int64_t window_end = state.WindowStart() + static_cast<std::int64_t>(state.Buffer().size());
  if (from >= state.WindowStart() && from < window_end) {
    const std::size_t hit = FindBytes(state.Buffer().subspan(static_cast<std::size_t>(from - state.WindowStart())), footer);
    if (hit != std::string_view::npos) return from + static_cast<std::int64_t>(hit);
  }
  std::vector<std::uint8_t> window;
  for (std::int64_t start = state.WindowStart() + kWindowStep; start < size; start += kWindowStep) {
    const std::int64_t count = std::min(kWindowSize, size - start);
    window.assign(static_cast<std::size_t>(count), 0);
    source.Seek(start);
    std::int64_t done = 0;
    try {
      for (; done < count; done += std::min(kCopyPieceSize, count - done))
        source.ReadBuffer(window.data() + done, std::min(kCopyPieceSize, count - done));
    } catch (const StreamReadError&) {
      if (!state.Options().ignore_read_errors) throw;
    }
    window.resize(static_cast<std::size_t>(done));
    const std::size_t offset = from > start ? static_cast<std::size_t>(from - start) : 0;
    if (offset >= window.size()) continue;
    const std::size_t hit = FindBytes(Bytes(window).subspan(offset), footer);
    if (hit != std::string_view::npos) return start + static_cast<std::int64_t>(offset + hit);
  }
  return std::nullopt;
}

// Each header's footer is searched for at once, however far on it lies.
inline void FindHEFOClips(ScanState& state, SourceStream& source, const TcliptypeHEFO& type, FooterMemos& memos) {
  const auto footer_length = static_cast<std::int64_t>(type.Footer.size());
  const Bytes window = state.Buffer();
  for (std::size_t p = 0; p + type.Header.size() <= window.size(); ++p) {
    if (!MatchesAt(window, p, type.Header) || !MatchesAt(window, p + type.SubSignatureOffset, type.SubSignature)) continue;
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    FooterMemo& memo = memos[std::string(type.Footer)];
    std::optional<std::int64_t> found;
    if (memo.searched_from >= 0 && start + 1 >= memo.searched_from && (!memo.found || start + 1 <= *memo.found)) {
      found = memo.found;
    } else {
      found = SearchFooter(state, source, type.Footer, start + 1);
      memo = {start + 1, found};
    }
    if (!found) return;
    state.AppendClip({start, std::string(type.Extension), *found + footer_length + type.FooterAdjustment, {}},
                     type.TypeName);
    if (*found + footer_length > state.WindowStart() + static_cast<std::int64_t>(window.size())) return;
    p = static_cast<std::size_t>(*found - state.WindowStart());
  }
}

// --- QuickTime ---

struct AtomHead {
  std::uint32_t size;
  std::string type;
};

inline std::optional<AtomHead> ReadAtomHead(SourceStream& source, std::int64_t source_size, std::int64_t at) {
  if (at < 0 || at > source_size - 8) return std::nullopt;
  std::uint8_t head[8] = {};
  source.Seek(at);
  if (source.Read(head, 8) != 8) return std::nullopt;
  const Bytes bytes(head);
  return AtomHead{ReadBE32(bytes, 0).value_or(0), TextUpToZero(bytes.subspan(4, 4))};
}

inline bool IsChainType(const std::optional<AtomHead>& head) {
  return head && !head->type.empty() && std::string_view("mdatfreewide").find(head->type) != std::string_view::npos;
}

struct AtomEnd {
  std::int64_t end;
  bool chain_ends;
};

inline AtomEnd EndOfAtom(SourceStream& source, std::int64_t source_size, std::int64_t at, std::uint32_t size) {
  if (size == 0) return {source_size, true};
  std::uint64_t length = size;
  if (size == 1) {
    std::uint8_t field[8] = {};
    if (at > source_size - 16) return {at, true};
    source.Seek(at + 8);
    if (source.Read(field, 8) != 8) return {at, true};
    length = ReadBE64(Bytes(field), 0).value_or(0);
  }
  if (length == 0) return {at, true};
  const auto room = static_cast<std::uint64_t>(source_size - at);
  if (length > room) return {source_size + 1, false};
  return {at + static_cast<std::int64_t>(length), false};
}

inline void FindQuicktimeClips(ScanState& state, SourceStream& source) {
  const SignatureId signature = state.Signature(kQuicktimeSignature);
  const std::int64_t source_size = state.SourceSize();
  for (std::size_t v = state.NextCandidate(signature, 0); v != kNoCandidate; v = state.NextCandidate(signature, v + 1)) {
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(v) - 4;
    if (start < 0) continue;
    const std::optional<AtomHead> moov = ReadAtomHead(source, source_size, start);
    if (!moov) return;
    AtomEnd step = EndOfAtom(source, source_size, start, moov->size);
    if (step.chain_ends) return;
    std::int64_t end = step.end;
    std::optional<AtomHead> next = ReadAtomHead(source, source_size, end);
    if (!IsChainType(next)) return;
    while (IsChainType(next)) {
      step = EndOfAtom(source, source_size, end, next->size);
      end = step.end;
      if (step.chain_ends) break;
      next = ReadAtomHead(source, source_size, end);
    }
    state.AppendClip({start, std::string(kQuicktimeExtension), std::min(end, source_size), {}}, kQuicktimeTypeName);
  }
}

// --- Smacker ---

inline std::uint32_t ReadSourceLE32(SourceStream& source, std::int64_t offset) {
  std::uint8_t field[4] = {};
  source.Seek(offset);
  if (source.Read(field, 4) != 4) return 0;
  return ReadLE32(field, 0).value_or(0);
}

// The whole table inside the source, in blocks of 4096 sizes; a failed block ends the sum.
inline std::int64_t SumFrameSizes(SourceStream& source, std::int64_t source_size, std::int64_t table, std::int64_t count) {
  constexpr std::int64_t kSizesPerRead = 4096;
  const std::int64_t readable = std::clamp<std::int64_t>((source_size - table) / 4, 0, count);
  std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(readable, kSizesPerRead) * 4));
  source.Seek(table);
  std::int64_t sum = 0;
  for (std::int64_t done = 0; done < readable;) {
    const std::int64_t wanted = std::min(readable - done, kSizesPerRead) * 4;
    const std::int64_t got = source.Read(block.data(), wanted);
    if (got <= 0) break;
    const Bytes sizes(block.data(), static_cast<std::size_t>(got));
    for (std::size_t at = 0; FitsIn(sizes.size(), at, 4); at += 4) sum += ReadLE32(sizes, at).value_or(0) & ~std::uint32_t{3};
    if (got < wanted) break;
    done += wanted / 4;
  }
  return sum;
}

inline void FindSmackerClips(ScanState& state, SourceStream& source) {
  const SignatureId signature = state.Signature(kSmackerSignature);
  const std::int64_t source_size = state.SourceSize();
  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate; p = state.NextCandidate(signature, p + 1)) {
    const Bytes buffer = state.Buffer();
    if (ReadLE16(buffer, p + 18) != std::uint16_t{0xFFFF}) continue;
    if (!MatchesAt(buffer, p + 3, "2") && !MatchesAt(buffer, p + 3, "4")) continue;
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    const auto stored_count = static_cast<std::int32_t>(ReadSourceLE32(source, start + 12));
    const std::int64_t frames = std::max<std::int64_t>(stored_count, 0);
    const std::int64_t trees_size = ReadSourceLE32(source, start + 52);
    const std::int64_t frame_bytes = SumFrameSizes(source, source_size, start + 104, frames);
    const std::int64_t end = start + 104 + 5 * frames + trees_size + frame_bytes;
    state.AppendClip({start, std::string(kSmackerExtension), std::min(end, source_size), {}}, kSmackerTypeName);
  }
}

// --- MIDI ---

inline void FindSequenceClips(ScanState& state, SourceStream& source, const TcliptypeSequence& type) {
  const SignatureId signature = state.Signature(type.Signature);
  const std::int64_t source_size = state.SourceSize();
  const auto identifier_size = static_cast<std::int64_t>(type.ChunkIdentifier.size());
  const std::int64_t chunk_head_size = identifier_size + type.LengthFieldSize;
  std::vector<std::uint8_t> head(static_cast<std::size_t>(chunk_head_size));
  for (std::size_t p = state.NextCandidate(signature, 0); p != kNoCandidate; p = state.NextCandidate(signature, p + 1)) {
    if (!MatchesAt(state.Buffer(), p + static_cast<std::size_t>(type.SubSignatureOffset), type.SubSignature)) continue;
    const std::int64_t start = state.WindowStart() + static_cast<std::int64_t>(p);
    std::int64_t end = start + type.FirstChunkOffset;
    while (end >= 0 && end <= source_size - identifier_size) {
      const std::int64_t wanted = std::min(chunk_head_size, source_size - end);
      source.Seek(end);
      const std::int64_t got = source.Read(head.data(), wanted);
      const Bytes chunk(head.data(), static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
      if (!MatchesAt(chunk, 0, type.ChunkIdentifier)) break;
      if (got < chunk_head_size) {
        end = source_size;
        break;
      }
      end += chunk_head_size + static_cast<std::int64_t>(ReadBE32(chunk, static_cast<std::size_t>(identifier_size)).value_or(0));
    }
    state.AppendClip({start, std::string(type.Extension), std::min(end, source_size), {}}, type.TypeName);
  }
}

// --- MP3 mode: a seek and a full read for every header ---

inline std::uint32_t ReadHeader(SourceStream& source, std::int64_t offset) {
  std::uint8_t bytes[4];
  source.Seek(offset);
  source.ReadBuffer(bytes, 4);
  return *ReadBE32(Bytes(bytes, 4), 0);
}

inline std::size_t NextFF(Bytes window, std::size_t from) {
  for (std::size_t i = from; i < window.size(); ++i)
    if (window[i] == 0xFF) return i;
  return kNoCandidate;
}

inline void FindMP3Clips(ScanState& state, SourceStream& source) {
  const std::int64_t size = state.SourceSize();
  std::size_t a = NextFF(state.Buffer(), 0);
  while (a != kNoCandidate) {
    const std::int64_t s = state.WindowStart() + static_cast<std::int64_t>(a);
    TMaldoMP3 record;
    std::int64_t off = 0;
    bool failed = false;
    for (int step = 0; step < 4; ++step) {
      if (s + off >= size - 4) {
        failed = true;
        break;
      }
      record = DecodeMP3Header(ReadHeader(source, s + off));
      off += record.FrameLength;
      if (!record.Valid) failed = true;
    }
    std::uint8_t first[4];
    source.Seek(s);
    if (failed || source.Read(first, 4) != 4 || !DecodeMP3Header(*ReadBE32(Bytes(first, 4), 0)).Valid) {
      a = NextFF(state.Buffer(), a + 1);
      continue;
    }
    std::int64_t e = s;
    for (;;) {
      state.Observer().ProcessMessages();
      if (state.Observer().Closing()) return;
      TMaldoMP3 frame;
      try {
        frame = DecodeMP3Header(ReadHeader(source, e));
      } catch (const StreamReadError&) {
        e = size;
        break;
      }
      if (!frame.Valid) break;
      e += frame.FrameLength;
    }
    std::string info = GetMP3Info(record);
    try {
      std::array<std::uint8_t, 128> tag{};
      source.Seek(e);
      source.ReadBuffer(tag.data(), 4);
      if (tag[0] == 'T' && tag[1] == 'A' && tag[2] == 'G') {
        source.Seek(e);
        source.ReadBuffer(tag.data(), 128);
        e += 128;
        info += "\r\n\r\n" + GetID3Info(Bytes(tag));
      }
    } catch (const StreamReadError&) {
    }
    state.AppendClip({s, std::string(kMp3Extension), e, info}, kMp3TypeName);
    state.MoveWindowTo(e - 1);
    a = NextFF(state.Buffer(), 0);
  }
  state.PositionBehindWindow();
}

// --- the window loop around them ---

struct Outcome {
  bool threw = false;
  std::string error;
  bool cancelled = false;
  ClipCatalogue catalogue;
  int read_errors = 0;
};

// The engine's window loop with the detectors above in place of the engine's own; the other
// types use the engine's detectors. `observer` sees what the engine's observer would see of
// clips, message rounds and the closing check.
inline Outcome Scan(SourceStream& source, const ScanOptions& options, ScanObserver& observer,
                    MatcherKind matcher = MatcherKind::kBest) {
  Outcome outcome;
  try {
    ScanState state(source, options, observer, outcome.catalogue, outcome.read_errors, matcher);
    FooterMemos footer_memos;
    const std::int64_t size = state.SourceSize();
    source.Seek(0);
    while (source.Position() < size) {
      if (observer.Closing()) {
        outcome.cancelled = true;
        break;
      }
      state.ReadWindow();
      state.SaveWindow();
      if (options.mp3_mode) {
        reference::FindMP3Clips(state, source);
      } else {
        auto run = [&](ClipKind kind, auto&& detector) {
          if (!options.Enabled(kind)) return;
          detector();
          state.RestoreWindow();
        };
        run(ClipKind::kQT, [&] { reference::FindQuicktimeClips(state, source); });
        run(ClipKind::kBMP, [&] { rsf::FindRIFFClips(state, kBitmapType); });
        run(ClipKind::kAVI, [&] { rsf::FindRIFFClips(state, kAviType); });
        run(ClipKind::kWAV, [&] { rsf::FindRIFFClips(state, kWavType); });
        run(ClipKind::kJPG, [&] { reference::FindHEFOClips(state, source, kJpegType, footer_memos); });
        run(ClipKind::kMPG, [&] { reference::FindHEFOClips(state, source, kMpegType, footer_memos); });
        run(ClipKind::kMVE, [&] { reference::FindHEFOClips(state, source, kMveType, footer_memos); });
        run(ClipKind::kRAM, [&] { reference::FindHEFOClips(state, source, kRealMediaType, footer_memos); });
        run(ClipKind::kBIK, [&] { rsf::FindBIKClips(state, kBinkType); });
        run(ClipKind::kSMK, [&] { reference::FindSmackerClips(state, source); });
        run(ClipKind::kMID, [&] { reference::FindSequenceClips(state, source, kMidiType); });
      }
      state.AdvanceWindow();
      observer.ProcessMessages();
    }
  } catch (const Error& error) {
    outcome.threw = true;
    outcome.error = error.what();
  }
  return outcome;
}

}  // namespace rsf::reference
