// One found clip, and the list line that shows it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rsf {

struct TFilestruct {
  std::int64_t StartOffset = 0;
  std::string Extension;  // with its dot: ".wav"
  std::int64_t EndOffset = 0;  // one past the clip's last byte
  std::string InfoText;        // lines joined by CR LF; empty for types without one
  // The precise rules could not prove the end from the clip's structure (an atom or a WAVE of
  // no stated size, a stream that simply stops): it ends where the next clip begins, or where
  // its walk ended, whichever comes first.
  bool OpenEnd = false;
  // A CD audio track's number (0: any other clip). Its offsets then lie among the disc image's
  // own bytes, not the source's, and its file is a WAVE: a header, then the track's samples.
  int AudioTrack = 0;
};

// The information text's last line for a clip with an open end.
inline constexpr std::string_view kOpenEndInfoLine = "结束 : 开放 (结构未给出, 止于下一个片段或数据末尾)";

using ClipCatalogue = std::vector<TFilestruct>;

// "文件 #" + number + TAB + type name + TAB + size in whole KBytes + " KByte".
std::string ListLine(std::size_t number, std::string_view type_name, const TFilestruct& clip);

// What the information pane shows for a clip: its information text as stored (one empty line
// when it has none), then its start offset, end offset and size in bytes.
std::vector<std::string> ClipDetailLines(const TFilestruct& clip);

}  // namespace rsf
