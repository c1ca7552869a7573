// ID3v2: "ID3", version 2 to 4, a revision byte, flags and a 28-bit size in four 7-bit bytes (the
// tag's length after its 10-byte header; version 4 with the footer flag adds a 10-byte footer).
// APEv2 ahead of other tags starts with its header: "APETAGEX", version, the size of its items
// and footer, the item count and flags (bit 29 marks the header). Lyrics3 v2 runs from
// "LYRICSBEGIN" to "LYRICS200", the six digits before that giving the length of what lies
// between; Lyrics3 v1 ends with "LYRICSEND" within 5,100 bytes. ID3v1 is 128 bytes from "TAG".
#include "scan/detectors/mp3/mp3_tags.h"

#include <array>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "clipinfo/maldomp3.h"

namespace rsf {
namespace {

constexpr std::int64_t kId3v2Header = 10;
constexpr std::int64_t kApeHeader = 32;
constexpr std::uint32_t kApeIsHeader = 1u << 29;
constexpr std::string_view kLyricsBegin = "LYRICSBEGIN";
constexpr std::string_view kLyrics2End = "LYRICS200";
constexpr std::string_view kLyrics1End = "LYRICSEND";
constexpr std::int64_t kLyrics1Most = 5100;
constexpr std::int64_t kLyrics2Most = 999999;

bool At(SourceView& view, std::int64_t at, std::string_view text) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> bytes = view.ReadRecord(at, static_cast<std::int64_t>(text.size()), storage).ReadBytes(text.size());
  return bytes && MatchesAt(*bytes, 0, text);
}

std::optional<std::int64_t> ApeEnd(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor header = view.ReadRecord(at, kApeHeader, storage);
  const std::optional<Bytes> id = header.ReadBytes(8);
  if (!id || !MatchesAt(*id, 0, "APETAGEX")) return std::nullopt;
  const auto version = header.ReadLE32(), size = header.ReadLE32(), items = header.ReadLE32(), flags = header.ReadLE32();
  if (!version || !size || !items || !flags || (*flags & kApeIsHeader) == 0 || *size < kApeHeader) return std::nullopt;
  const std::int64_t end = at + kApeHeader + *size;
  if (end > view.Size()) return std::nullopt;
  return end;
}

// The offset of `text` at `from` or later, within `most` bytes of `from`.
std::optional<std::int64_t> Find(SourceView& view, std::int64_t from, std::string_view text, std::int64_t most) {
  const std::int64_t count = std::min(most + static_cast<std::int64_t>(text.size()), view.Size() - from);
  if (count <= 0) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  if (view.Read(from, bytes.data(), count) != count) return std::nullopt;
  const std::size_t hit = FindBytes(bytes, text);
  if (hit == std::string_view::npos) return std::nullopt;
  return from + static_cast<std::int64_t>(hit);
}

std::optional<std::int64_t> LyricsEnd(SourceView& view, std::int64_t at) {
  if (!At(view, at, kLyricsBegin)) return std::nullopt;
  if (const std::optional<std::int64_t> marker = Find(view, at, kLyrics2End, kLyrics2Most + 6)) {
    std::vector<std::uint8_t> storage;
    const std::optional<Bytes> digits = view.ReadRecord(*marker - 6, 6, storage).ReadBytes(6);
    std::int64_t length = 0;
    bool numeric = digits.has_value();
    if (digits)
      for (const std::uint8_t digit : *digits) {
        numeric = numeric && digit >= '0' && digit <= '9';
        length = length * 10 + (digit - '0');
      }
    if (numeric && *marker - 6 - at == length) return *marker + static_cast<std::int64_t>(kLyrics2End.size());
  }
  if (const std::optional<std::int64_t> marker = Find(view, at, kLyrics1End, kLyrics1Most))
    return *marker + static_cast<std::int64_t>(kLyrics1End.size());
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> Id3v2End(SourceView& view, std::int64_t at) {
  std::vector<std::uint8_t> storage;
  ByteCursor header = view.ReadRecord(at, kId3v2Header, storage);
  const std::optional<Bytes> id = header.ReadBytes(3);
  const auto version = header.ReadU8(), revision = header.ReadU8(), flags = header.ReadU8();
  const std::optional<Bytes> size = header.ReadBytes(4);
  if (!id || !MatchesAt(*id, 0, "ID3") || !version || *version < 2 || *version > 4 || !revision || *revision == 0xFF ||
      !flags || !size)
    return std::nullopt;
  std::int64_t length = 0;
  for (const std::uint8_t byte : *size) {
    if (byte & 0x80) return std::nullopt;
    length = length << 7 | byte;
  }
  const bool footer = *version == 4 && (*flags & 0x10) != 0;
  const std::int64_t end = at + kId3v2Header + length + (footer ? kId3v2Header : 0);
  if (end > view.Size()) return std::nullopt;
  return end;
}

void TakeTrailingTags(SourceView& view, std::int64_t& end, std::string& info) {
  bool ape = false, lyrics = false;
  for (;;) {
    if (!ape) {
      if (const std::optional<std::int64_t> tag = ApeEnd(view, end)) {
        end = *tag;
        ape = true;
        continue;
      }
    }
    if (!lyrics) {
      if (const std::optional<std::int64_t> tag = LyricsEnd(view, end)) {
        end = *tag;
        lyrics = true;
        continue;
      }
    }
    break;
  }
  try {
    std::array<std::uint8_t, kID3TagBytes> tag{};
    view.ReadFullFromSource(end, tag.data(), 3);
    if (!MatchesAt(Bytes(tag), 0, "TAG")) return;
    view.ReadFullFromSource(end, tag.data(), kID3TagBytes);
    end += static_cast<std::int64_t>(kID3TagBytes);
    info.append("\r\n\r\n").append(GetID3Info(Bytes(tag)));
  } catch (const StreamReadError&) {
  }
}

}  // namespace rsf
