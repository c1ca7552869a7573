// The boundary between the core's UTF-8 texts and the controls' UTF-16.
#include <gtest/gtest.h>

#include "base/line_separator.h"
#include "win32/file_dialogs.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

TEST(Win32Text, LinesOfTheCoreBreakAsControlsBreakThem) {
  const struct {
    const char* core;
    const wchar_t* shown;
  } rows[] = {
      {"第一行" RSF_LINE_SEPARATOR "第二行", L"第一行\r\n第二行"},
      {RSF_LINE_SEPARATOR RSF_LINE_SEPARATOR "注意", L"\r\n\r\n注意"},
      {"<源文件>", L"<源文件>"},
      {"", L""},
  };
  for (const auto& row : rows) EXPECT_EQ(DisplayText(row.core), row.shown) << row.core;
}

TEST(Win32Text, PathsGoThereAndBackUnchanged) {
  for (const char* path : {"C:\\游戏\\数据.pak", "D:\\rips\\Clip", "\\\\server\\共享\\𠀀.bin", ""})
    EXPECT_EQ(Utf8(Wide(path)), path);
}

// Every file by default, then the disc images; pairs ended by NULs, the list by one more.
TEST(Win32Text, SourceDialogFiltersAsTheCommonDialogTakesThem) {
  const wchar_t pairs[] = L"所有文件 (*.*)\0*.*\0光盘映像 (*.cue;*.bin;*.img)\0*.cue;*.bin;*.img\0";
  EXPECT_EQ(SourceFilterPairs(), std::wstring(pairs, sizeof pairs / sizeof pairs[0]));
}

}  // namespace
}  // namespace rsf::win32
