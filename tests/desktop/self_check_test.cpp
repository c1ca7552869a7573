// The self-check's report, which every front end prints alike: the list's lines as the window
// shows them, the status, the target prefix, the user guide and the ASPI provider; and message
// boxes as lines of the report, a question answered with Ignore.
#include <cstdio>

#include "base/line_separator.h"
#include "desktop/product.h"
#include "desktop/self_check.h"
#include "desktop_doubles.h"
#include "platform/aspi_library.h"
#include "platform/file.h"

namespace rsf::desktop::test {
namespace {

// The report goes to a file of the test and is read back line by line.
class SelfCheck : public ::testing::Test, protected ServiceDoubles {
 protected:
  SelfCheck() {
    folder.folder = temp.File("");
    view.target = "/somewhere/Clip";
  }
  std::vector<std::string> Report(const std::function<void(std::FILE*)>& write) {
    std::FILE* out = std::fopen(temp.File("report.txt").c_str(), "w+b");
    EXPECT_NE(out, nullptr);
    if (out == nullptr) return {};
    write(out);
    std::rewind(out);
    std::vector<std::string> lines;
    std::string line;
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) {
      if (c != '\n') {
        line += static_cast<char>(c);
        continue;
      }
      lines.push_back(line);
      line.clear();
    }
    EXPECT_TRUE(line.empty()) << "every line of the report ends with a line break";
    std::fclose(out);
    return lines;
  }
  // Runs the self-check on `source` with the console's boxes; its report goes into `report`.
  int Run(const std::string& source) {
    int status = -1;
    report = Report([&](std::FILE* out) {
      ConsoleMessageBoxes console(out);
      MainPresenter presenter(view, {console, dialogs, shell, deleter, player, pictures, folder}, help_file);
      status = RunSelfCheck(view, presenter, source, out);
    });
    return status;
  }
  std::string ProviderLine() const {
    const std::string provider = platform::AspiLibraryPath();
    return "ASPI provider: " + provider + (platform::FileExists(provider) ? " (found)" : " (missing)");
  }

  rsf::test::TempDir temp;
  RecordingView view;
  std::string help_file = temp.File("guide.html");
  std::vector<std::string> report;
};

TEST_F(SelfCheck, ReportsTheWindowsListItsStatusTargetGuideAndProvider) {
  rsf::test::WriteWholeFile(help_file, {'<', 'p', '>'});
  const std::string source = temp.Write("game.dat", Bitmaps(2));
  EXPECT_EQ(Run(source), 0);
  EXPECT_EQ(view.source, source);
  ASSERT_EQ(view.lines.size(), 2u);
  const std::vector<std::string> expected = {
      view.lines[0], view.lines[1], "status: " + view.status[kStatusPanelActivity], "target prefix: /somewhere/Clip",
      "user guide: " + help_file + " (found)", ProviderLine()};
  EXPECT_EQ(report, expected);
  EXPECT_EQ(report[0].rfind("文件 #1\t", 0), 0u) << report[0];
  EXPECT_EQ(report[2].rfind(std::string("status: ") + kStatusScanFinished, 0), 0u) << report[2];
}

TEST_F(SelfCheck, FailsWhereTheGuideIsMissingOrTheScanDidNotFinish) {
  const std::string source = temp.Write("game.dat", Bitmaps(1));
  EXPECT_EQ(Run(source), 1) << "no user guide";
  EXPECT_EQ(report.size(), 5u);
  EXPECT_EQ(report[3], "user guide: " + help_file + " (missing)");

  rsf::test::WriteWholeFile(help_file, {'<', 'p', '>'});
  EXPECT_EQ(Run(temp.File("absent.dat")), 1) << "a source that cannot be opened";
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(report[0].rfind("message: " + ApplicationTitle() + ": ", 0), 0u) << report[0];
  for (const std::string& line : report) EXPECT_NE(line.rfind("文件 #", 0), 0u) << line;
}

TEST_F(SelfCheck, MessageBoxesAreLinesOfTheReportAndQuestionsAreIgnored) {
  RetryIgnoreAnswer answer = RetryIgnoreAnswer::kRetry;
  const std::vector<std::string> lines = Report([&](std::FILE* out) {
    ConsoleMessageBoxes console(out);
    console.Show(BoxIcon::kWarning, "警告", "第一行" RSF_LINE_SEPARATOR "第二行");
    answer = console.AskRetryIgnore("错误", "读取错误");
  });
  EXPECT_EQ(lines, (std::vector<std::string>{"message: 警告: 第一行", "第二行", "message: 错误: 读取错误"}));
  EXPECT_EQ(answer, RetryIgnoreAnswer::kIgnore);
}

}  // namespace
}  // namespace rsf::desktop::test
