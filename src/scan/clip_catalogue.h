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
};

using ClipCatalogue = std::vector<TFilestruct>;

// "文件 #" + number + TAB + type name + TAB + size in whole KBytes + " KByte".
std::string ListLine(std::size_t number, std::string_view type_name, const TFilestruct& clip);

// What the information pane shows for a clip: its information text as stored (one empty line
// when it has none), then its start offset, end offset and size in bytes.
std::vector<std::string> ClipDetailLines(const TFilestruct& clip);

}  // namespace rsf
