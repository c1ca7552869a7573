// Cue-sheet reading: one line at a time, split into words (a double-quoted word may hold
// spaces). Index times are minutes, seconds and frames of 75 a second, counted from the start
// of the track's file.
#include "cd/cue_sheet.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace rsf {
namespace {

std::string Upper(std::string_view word) {
  std::string upper(word);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

// The words of one line; a word that opens with a double quote runs to the closing one (or to
// the line's end when none follows).
std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      words.emplace_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    words.emplace_back(line.substr(i, end - i));
    i = end;
  }
  return words;
}

// A number of 1 to `digits` decimal digits.
std::optional<int> Number(std::string_view text, std::size_t digits) {
  if (text.empty() || text.size() > digits) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// mm:ss:ff as a sector count; minutes may run past 99 in long images.
std::optional<std::int64_t> IndexTime(std::string_view text) {
  const std::size_t first = text.find(':');
  const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const auto minutes = Number(text.substr(0, first), 4);
  const auto seconds = Number(text.substr(first + 1, second - first - 1), 2);
  const auto frames = Number(text.substr(second + 1), 2);
  if (!minutes || !seconds || !frames || *seconds >= 60 || *frames >= 75) return std::nullopt;
  return (static_cast<std::int64_t>(*minutes) * 60 + *seconds) * 75 + *frames;
}

std::optional<TrackMode> ModeOf(std::string_view word) {
  const std::string mode = Upper(word);
  if (mode == "AUDIO") return TrackMode::kAudio;
  if (mode == "MODE1/2352") return TrackMode::kMode1Raw;
  if (mode == "MODE1/2048") return TrackMode::kMode1Cooked;
  if (mode == "MODE2/2352") return TrackMode::kMode2Raw;
  if (mode == "MODE2/2336") return TrackMode::kMode2Cooked;
  return std::nullopt;
}

// The track whose lines are being read (`active`), until the next TRACK or FILE line.
struct OpenTrack {
  bool active = false;
  CueTrack track;
  bool has_first = false;
  bool has_start = false;
};

}  // namespace

CueSheetError::CueSheetError(int line, const std::string& what)
    : Error(line > 0 ? "CUE 表第 " + std::to_string(line) + " 行: " + what : "CUE 表: " + what), line_(line) {}

CueSheet ParseCueSheet(std::string_view text) {
  if (static_cast<std::int64_t>(text.size()) > kMaxCueSheetSize) throw CueSheetError(0, kCueTooLarge);
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  CueSheet sheet;
  OpenTrack open;
  // A track is complete once the next TRACK or FILE line or the end comes.
  const auto close_track = [&] {
    if (!open.active) return;
    if (!open.has_start) throw CueSheetError(open.track.line, kCueTrackWithoutStart);
    if (!open.has_first) open.track.first_sector = open.track.start_sector;
    if (!sheet.tracks.empty()) {
      const CueTrack& before = sheet.tracks.back();
      if (before.file == open.track.file && open.track.first_sector < before.start_sector)
        throw CueSheetError(open.track.start_line, kCueIndexBackwards);
    }
    sheet.tracks.push_back(open.track);
    open = OpenTrack{};
  };
  int line_number = 0;
  while (!text.empty()) {
    ++line_number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    const std::string keyword = Upper(words[0]);
    if (keyword == "FILE") {
      close_track();
      if (words.size() < 2 || words[1].empty()) throw CueSheetError(line_number, kCueFileNameMissing);
      if (words.size() < 3 || Upper(words[2]) != "BINARY") throw CueSheetError(line_number, kCueFileTypeUnsupported);
      sheet.files.push_back(words[1]);
      sheet.file_lines.push_back(line_number);
    } else if (keyword == "TRACK") {
      close_track();
      if (sheet.files.empty()) throw CueSheetError(line_number, kCueTrackWithoutFile);
      const auto number = words.size() > 1 ? Number(words[1], 2) : std::nullopt;
      if (!number || *number < 1 || *number > 99 ||
          (!sheet.tracks.empty() && *number <= sheet.tracks.back().number))
        throw CueSheetError(line_number, kCueTrackNumberInvalid);
      const auto mode = words.size() > 2 ? ModeOf(words[2]) : std::nullopt;
      if (!mode) throw CueSheetError(line_number, kCueTrackModeUnsupported);
      open = OpenTrack{};
      open.active = true;
      open.track.number = *number;
      open.track.mode = *mode;
      open.track.file = sheet.files.size() - 1;
      open.track.line = line_number;
    } else if (keyword == "INDEX") {
      if (!open.active) throw CueSheetError(line_number, kCueIndexWithoutTrack);
      const auto index = words.size() == 3 ? Number(words[1], 2) : std::nullopt;
      const auto time = words.size() == 3 ? IndexTime(words[2]) : std::nullopt;
      if (!index || !time) throw CueSheetError(line_number, kCueIndexInvalid);
      if (*index == 0 && !open.has_first) {
        open.track.first_sector = *time;
        open.has_first = true;
      } else if (*index == 1 && !open.has_start) {
        if (open.has_first && *time < open.track.first_sector) throw CueSheetError(line_number, kCueIndexBackwards);
        open.track.start_sector = *time;
        open.track.start_line = line_number;
        open.has_start = true;
      }
      // Indexes above 01 mark places inside a track; they move nothing.
    }
    // Every other line (REM, TITLE, PERFORMER, FLAGS, PREGAP, POSTGAP, ...) places no bytes.
  }
  close_track();
  if (sheet.tracks.empty()) throw CueSheetError(0, kCueNoTracks);
  return sheet;
}

}  // namespace rsf
