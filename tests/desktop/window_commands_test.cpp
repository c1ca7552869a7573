// The main window's smaller commands in the desktop core: the general error display and the
// busy guard, the browse commands and the target prefix, drops, help, what closing does, and
// the About window's contents.
#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "base/errors.h"
#include "desktop/about_contents.h"
#include "desktop/product.h"
#include "desktop/target_path.h"
#include "desktop/window_texts.h"
#include "desktop_doubles.h"
#include "platform/system_info.h"
#include "synth/bitmap_synth.h"

namespace rsf::desktop::test {
namespace {

class WindowCommands : public PresenterTest {};

TEST_F(WindowCommands, ErrorsOfACommandAreShownInAStopBoxTitledWithTheProgram) {
  const struct {
    std::function<void()> command;
    const char* shown;
  } rows[] = {
      {[] { throw StreamReadError(); }, "数据流读取错误."},
      {[] { throw std::bad_alloc(); }, "内存不足."},
      {[] { throw 42; }, "未知错误."},
      {[] { throw std::runtime_error("错误!"); }, "错误!"},
  };
  for (const auto& row : rows) {
    boxes.shown.clear();
    presenter.Command(row.command);
    ASSERT_EQ(boxes.shown.size(), 1u) << row.shown;
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kStop);
    EXPECT_EQ(boxes.shown[0].caption, ApplicationTitle());
    EXPECT_EQ(boxes.shown[0].text, row.shown);
  }
}

TEST_F(WindowCommands, NoCommandRunsDuringAScan) {
  int ran = 0;
  view.on_events = [&] { presenter.Command([&] { ++ran; }); };
  Scan(synth::BitmapFile(16, 16, 24));
  EXPECT_GT(view.event_rounds, 0);
  EXPECT_EQ(ran, 0);
  presenter.Command([&] { ++ran; });
  EXPECT_EQ(ran, 1);
}

TEST_F(WindowCommands, BrowseCommandsFillTheFieldsAndCancelLeavesThem) {
  view.source = "/old/source.bin";
  view.target = "/old/Clip";
  presenter.OpenSource();
  presenter.SelectTarget();
  EXPECT_EQ(view.source, "/old/source.bin");
  EXPECT_EQ(view.target, "/old/Clip");

  dialogs.source_answer = "/游戏/数据.pak";
  dialogs.target_answer = "/rips/片段.avi";
  presenter.OpenSource();
  presenter.SelectTarget();
  EXPECT_EQ(view.source, "/游戏/数据.pak");
  EXPECT_EQ(view.target, "/rips/片段");
  EXPECT_TRUE(view.lines.empty() && view.busy_changes.empty()) << "choosing a source scans nothing";
}

// The test program's folder takes files; an empty home folder counts as none.
TEST(DefaultTargetPrefix, IsBesideTheProgramWhereItsFolderTakesFiles) {
  const std::string beside = platform::ProgramFolder() + "Clip";
  ASSERT_TRUE(platform::TakesUserFiles(platform::ProgramFolder()));
  EXPECT_EQ(DefaultTargetPrefix("/home/someone/"), beside);
  EXPECT_EQ(DefaultTargetPrefix(""), beside);
}

TEST(TargetPrefix, DropsTheExtensionOfTheFileNameOnly) {
  const struct {
    const char* chosen;
    const char* delimiters;
    const char* prefix;
  } rows[] = {
      {"/rips/intro.avi", "/", "/rips/intro"},
      {"/rips/a.b.txt", "/", "/rips/a.b"},
      {"/rips/movie", "/", "/rips/movie"},
      {"/rips/movie.", "/", "/rips/movie"},
      {"/rips.old/movie", "/", "/rips.old/movie"},
      {"/影片.收藏/片段.mpg", "/", "/影片.收藏/片段"},
      {"/影片/第一集", "/", "/影片/第一集"},
      {"intro.avi", "/", "intro"},
      {"/rips/.hidden", "/", "/rips/"},
      {"D:\\Rips\\intro.avi", "\\:", "D:\\Rips\\intro"},
      {"C:clip.avi", "\\:", "C:clip"},
      {"D:\\新建.文件夹\\表", "\\:", "D:\\新建.文件夹\\表"},
      {"/a\\b.c/d", "/", "/a\\b.c/d"},  // here a backslash is an ordinary character
  };
  for (const auto& row : rows) EXPECT_EQ(TargetPrefix(row.chosen, row.delimiters), row.prefix) << row.chosen;
}

TEST_F(WindowCommands, DroppedFilesEachTakeTheSourceFieldAndTheLastIsScannedWhenTheOptionSaysSo) {
  const std::string first = temp.Write("first.bin", synth::BitmapFile(16, 16, 24));
  const std::string last = temp.Write("last.bin", synth::BitmapFile(16, 17, 24));
  presenter.DropFiles({first, last});
  EXPECT_EQ(view.sources_set, (std::vector<std::string>{first, last}));
  EXPECT_EQ(view.lines.size(), 1u);
  EXPECT_EQ(view.busy_changes, (std::vector<bool>{true, false})) << "one scan, of the last file";

  presenter.Options().start_analysis_on_drop = false;
  presenter.DropFiles({first});
  EXPECT_EQ(view.source, first);
  EXPECT_EQ(view.busy_changes.size(), 2u);
}

// The guide is handed to the shell as a file address with its opening topic; a guide that is
// missing, or that nothing opens, is reported, and an answer that comes after the window
// began to close is dropped.
TEST_F(WindowCommands, HelpOpensTheGuideAtItsTopicOrSaysWhyNot) {
  presenter.ShowHelp();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::kError);
  EXPECT_EQ(boxes.shown[0].caption, "错误");
  EXPECT_EQ(boxes.shown[0].text, "不能打开帮助文件 \"" + help_file + "\" !");
  EXPECT_TRUE(shell.documents.empty());

  rsf::test::WriteWholeFile(help_file, {'<', 'p', '>'});
  presenter.ShowHelp();
  ASSERT_EQ(shell.documents.size(), 1u);
  const std::string& address = shell.documents[0];
  EXPECT_EQ(address.rfind("file://", 0), 0u) << address;
  EXPECT_EQ(address.substr(address.size() - 24), "#WelcometoRSF-Extractor1");
  EXPECT_EQ(boxes.shown.size(), 1u);

  shell.document_error = EACCES;
  shell.document_reason = "没有与这类文件关联的程序";
  presenter.ShowHelp();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes.shown[1].text,
            "当尝试打开用户指南时发生下列错误:     \n\r\n\r没有与这类文件关联的程序\n\r请用网页浏览器打开用户指南: " + help_file);

  shell.hold = true;
  presenter.ShowHelp();
  view.closing = true;
  shell.held.at(0)();
  EXPECT_EQ(boxes.shown.size(), 2u);
}

class OddGuideName : public PresenterTest {
 protected:
  OddGuideName() : PresenterTest("my guide#1%.html") {}
};

TEST_F(OddGuideName, EveryByteOutsideThePlainCharactersIsEncodedInTheGuidesAddress) {
  rsf::test::WriteWholeFile(help_file, {'<', 'p', '>'});
  presenter.ShowHelp();
  ASSERT_EQ(shell.documents.size(), 1u);
  const std::string& address = shell.documents[0];
  EXPECT_NE(address.find("/my%20guide%231%25.html#WelcometoRSF-Extractor1"), std::string::npos) << address;
}

// Closing the window deletes every copy, first to last; a copy that cannot be deleted asks
// retry or ignore, and a retry of a copy that has vanished meanwhile goes on to the next.
TEST_F(WindowCommands, CloseDeletesTheCopiesAskingRetryOrIgnoreForALockedOne) {
  const struct {
    const char* name;
    std::set<std::string> locked;
    std::deque<RetryIgnoreAnswer> answers;
    bool vanishes;
    std::vector<std::string> attempts;
    std::size_t questions;
  } rows[] = {
      {"RetryThenIgnore", {"b"}, {RetryIgnoreAnswer::kRetry, RetryIgnoreAnswer::kIgnore}, false, {"a", "b", "b", "c"}, 2},
      {"RetryAfterItVanished", {"b"}, {RetryIgnoreAnswer::kRetry}, true, {"a", "b", "c"}, 1},
      {"NothingLocked", {}, {}, false, {"a", "b", "c"}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedDeleter files;
    ScriptedBoxes asked;
    files.locked = row.locked;
    if (row.vanishes) files.on_attempt = [&](const std::string& path) { files.vanished.insert(path); };
    asked.answers = row.answers;
    DeleteTemporaryFiles({"a", "b", "c"}, files, asked);
    EXPECT_EQ(files.attempts, row.attempts);
    ASSERT_EQ(asked.questions.size(), row.questions);
    for (const ShownBox& question : asked.questions) {
      EXPECT_EQ(question.caption, "错误");
      EXPECT_EQ(question.text, "不能删除临时文件 \"b\" !");
    }
  }
}

TEST_F(WindowCommands, CloseWithoutCopiesAsksNothingAndReleasesTheFolder) {
  presenter.Close();
  EXPECT_EQ(player.calls, std::vector<std::string>{"close"});
  EXPECT_EQ(pictures.calls, std::vector<std::string>{"close"});
  EXPECT_TRUE(deleter.attempts.empty());
  EXPECT_TRUE(boxes.questions.empty());
  EXPECT_EQ(folder.releases, 1);
}

// The About panel's lines stand one under the other inside the panel, above its button, and
// the link opens the address it shows.
TEST(AboutContents, LinesStackInsideThePanelAndTheLinkOpensWhatItShows) {
  const AboutContents about = About();
  EXPECT_EQ(about.caption, "关于 " + std::string(kProductName) + " " + kVersionText + " ...");
  int last_top = 0;
  for (const AboutText& line : about.texts) {
    EXPECT_GT(line.top, last_top) << line.name;
    EXPECT_LT(line.top, about.button_top) << line.name;
    EXPECT_GT(line.left, about.logo_left) << line.name;
    last_top = line.top;
  }
  EXPECT_LE(about.button_top + about.button_height, about.height);
  const auto link = std::find_if(about.texts.begin(), about.texts.end(),
                                 [](const AboutText& line) { return line.style == AboutTextStyle::kLink; });
  ASSERT_NE(link, about.texts.end());
  EXPECT_EQ(HomePageUrl(), "http://" + link->text);
}

}  // namespace
}  // namespace rsf::desktop::test
