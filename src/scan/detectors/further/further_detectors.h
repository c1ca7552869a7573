// The detectors of the further types (the check boxes under "更多类型:"): each finds its
// signature anywhere through the signature index and walks the clip's structure over the
// source view to its exact end, linear in the bytes it covers and never past the source end.
// They behave the same under both rule sets.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/text_encoding.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/catalogue/clip_types.h"
#include "scan/engine/scan_state.h"
#include "scan/walk/walked_candidates.h"

namespace rsf {

void FindVocClips(ScanState& state, const ClipTypeRecord& type);
void FindXmiClips(ScanState& state, const ClipTypeRecord& type);
void FindModClips(ScanState& state, const ClipTypeRecord& type);
void FindS3mClips(ScanState& state, const ClipTypeRecord& type);
void FindXmClips(ScanState& state, const ClipTypeRecord& type);
void FindItClips(ScanState& state, const ClipTypeRecord& type);
void FindGifClips(ScanState& state, const ClipTypeRecord& type);
void FindPngClips(ScanState& state, const ClipTypeRecord& type);
void FindOggClips(ScanState& state, const ClipTypeRecord& type);
void FindFlicClips(ScanState& state, const ClipTypeRecord& type);
// AIFF (and AIFC), ILBM (and PBM) and 8SVX: IFF "FORM" files of the record's kind.
void FindIffClips(ScanState& state, const ClipTypeRecord& type);

// The signatures the detectors look for (the scan indexes them up front).
inline constexpr std::string_view kVocSignature = "Creative Voice File\x1A"sv;
inline constexpr std::string_view kXmiSignature = "XDIR"sv;  // 8 bytes into the file, after "FORM" and a size
inline constexpr std::string_view kS3mSignature = "SCRM"sv;  // 44 bytes into the file
inline constexpr std::string_view kXmSignature = "Extended Module: "sv;
inline constexpr std::string_view kItSignature = "IMPM"sv;
inline constexpr std::string_view kGif87Signature = "GIF87a"sv;
inline constexpr std::string_view kGif89Signature = "GIF89a"sv;
inline constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n"sv;
inline constexpr std::string_view kOggSignature = "OggS"sv;
// The FLIC magic, 4 bytes into the file: FLI (AF11) and FLC (AF12), little-endian.
inline constexpr std::string_view kFliSignature = "\x11\xAF"sv;
inline constexpr std::string_view kFlcSignature = "\x12\xAF"sv;
// 31-sample module tags, 1,080 bytes into the file: ProTracker's and StarTrekker's, then the
// channel-count tags "1CHN" to "9CHN" and "10CH" to "32CH".
inline constexpr std::string_view kModTags[] = {
    "M.K.", "M!K!", "FLT4", "FLT8", "1CHN", "2CHN", "3CHN", "4CHN", "5CHN", "6CHN", "7CHN", "8CHN",
    "9CHN", "10CH", "11CH", "12CH", "13CH", "14CH", "15CH", "16CH", "17CH", "18CH", "19CH", "20CH",
    "21CH", "22CH", "23CH", "24CH", "25CH", "26CH", "27CH", "28CH", "29CH", "30CH", "31CH", "32CH"};
inline constexpr std::int64_t kModTagOffset = 1080;
static_assert(kModTagOffset + 4 <= kLongestLeadIn, "open ends settle only once every clip before them is found");
// IFF form types, 8 bytes into the file (after "FORM" and the size).
inline constexpr std::string_view kAiffForms[] = {"AIFF"sv, "AIFC"sv};
inline constexpr std::string_view kIlbmForms[] = {"ILBM"sv, "PBM "sv};
inline constexpr std::string_view k8svxForms[] = {"8SVX"sv};

// --- what the detectors share ---

// The `count` bytes at `at`, when all of them can be read.
inline std::optional<Bytes> BytesAt(SourceView& view, std::int64_t at, std::size_t count, std::vector<std::uint8_t>& storage) {
  return view.ReadRecord(at, static_cast<std::int64_t>(count), storage).ReadBytes(count);
}

// Whether an IFF group header begins at `at`: `id` ("FORM", "CAT "), a size that holds at
// least the type, and one of `types`.
inline bool IffGroupAt(SourceView& view, std::int64_t at, std::string_view id, std::span<const std::string_view> types) {
  std::vector<std::uint8_t> storage;
  const std::optional<Bytes> head = BytesAt(view, at, 12, storage);
  if (!head || !MatchesAt(*head, 0, id) || *ReadBE32(*head, 4) < 4) return false;
  return std::any_of(types.begin(), types.end(), [&](std::string_view type) { return MatchesAt(*head, 8, type); });
}

// A header's name field: up to its first zero byte, decoded from GBK, trailing spaces dropped.
inline std::string NameField(Bytes field) {
  std::string text = TextUpToZero(field);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return GbkToUtf8(text);
}

// Appends "label : value" as a line of an information text.
inline void AddInfoLine(std::string& text, std::string_view label, std::string_view value) {
  if (!text.empty()) text += "\r\n";
  text.append(label).append(" : ").append(value);
}

// A playing time in the AVI information text's form, minutes:seconds ("0:7", "3:12").
inline std::string PlayingTime(std::int64_t seconds) {
  return std::to_string(seconds / 60) + ":" + std::to_string(seconds % 60);
}

}  // namespace rsf
