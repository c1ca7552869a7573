// A cue sheet: the text that lays out a disc image's tracks over one or more image files
// (FILE "name" BINARY, TRACK nn mode, INDEX nn mm:ss:ff). Reading it checks every line the
// layout depends on and names the line of the first fault.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "cd/cd_sector.h"

namespace rsf {

// "CUE 表第 <line> 行: <what>" (line 0: the sheet as a whole, "CUE 表: <what>").
class CueSheetError : public Error {
 public:
  CueSheetError(int line, const std::string& what);
  int line() const { return line_; }

 private:
  int line_;
};

// The faults a sheet can have, as the user reads them.
inline constexpr const char* kCueFileTypeUnsupported = "不支持的文件类型 (只支持 BINARY)";
inline constexpr const char* kCueTrackModeUnsupported = "不支持的轨道模式";
inline constexpr const char* kCueTrackNumberInvalid = "轨道号无效";
inline constexpr const char* kCueTrackWithoutFile = "轨道之前没有 FILE 行";
inline constexpr const char* kCueIndexWithoutTrack = "索引之前没有 TRACK 行";
inline constexpr const char* kCueIndexInvalid = "索引无效 (应为 INDEX nn mm:ss:ff)";
inline constexpr const char* kCueIndexBackwards = "索引位置早于前一个轨道";
inline constexpr const char* kCueTrackWithoutStart = "轨道没有 INDEX 01";
inline constexpr const char* kCueFileNameMissing = "FILE 行缺少文件名";
inline constexpr const char* kCueTrackBeyondFile = "轨道起点超出文件末尾";
inline constexpr const char* kCueNoTracks = "没有任何轨道";
inline constexpr const char* kCueTooLarge = "文件太大, 不是 CUE 表";
inline constexpr const char* kCueFileUnopened = "不能打开映像文件";

struct CueTrack {
  int number = 0;
  TrackMode mode = TrackMode::kAudio;
  std::size_t file = 0;           // index into CueSheet::files
  std::int64_t first_sector = 0;  // the first INDEX (00 or 01), sectors into its file
  std::int64_t start_sector = 0;  // INDEX 01
  int line = 0;                   // of the TRACK line
  int start_line = 0;             // of the INDEX 01 line
};

struct CueSheet {
  std::vector<std::string> files;  // as the sheet spells them
  std::vector<int> file_lines;     // the line of each FILE
  std::vector<CueTrack> tracks;    // in sheet order
};

// The longest text taken as a sheet.
inline constexpr std::int64_t kMaxCueSheetSize = 1 << 20;

// Raises CueSheetError. Lines end in LF or CR LF; a UTF-8 byte-order mark is skipped; REM,
// TITLE, PERFORMER, FLAGS, PREGAP and the other lines that place no bytes are passed over.
CueSheet ParseCueSheet(std::string_view text);

}  // namespace rsf
