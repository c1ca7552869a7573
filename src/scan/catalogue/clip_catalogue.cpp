// List lines of catalogue entries.
#include "scan/catalogue/clip_catalogue.h"

#include <fmt/format.h>

namespace rsf {

std::string ListLine(std::size_t number, std::string_view type_name, const TFilestruct& clip) {
  // Integer division truncates toward zero, as the list has always shown sizes.
  return fmt::format("文件 #{}\t{}\t{} KByte", number, type_name, (clip.EndOffset - clip.StartOffset) / 1024);
}

std::vector<std::string> ClipDetailLines(const TFilestruct& clip) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (true) {
    const std::size_t end = clip.InfoText.find("\r\n", begin);
    lines.push_back(clip.InfoText.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    if (end == std::string::npos) break;
    begin = end + 2;
  }
  lines.push_back(fmt::format("起始偏移量   : {}", clip.StartOffset));
  lines.push_back(fmt::format("结束偏移量   : {}", clip.EndOffset));
  lines.push_back(fmt::format("大小         : {}", clip.EndOffset - clip.StartOffset));
  return lines;
}

}  // namespace rsf
