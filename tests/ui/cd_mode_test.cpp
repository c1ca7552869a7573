// CD mode in the window, with disc images served by the image ASPI provider: entering lists
// the drives (or warns and stays in file mode), leaving asks no drive, every toggle and every
// change of drive empties the list, drops are refused, and a scan reads the selected drive's
// disc (an empty drive warns).
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

#include "cd/cd_mode.h"
#include "cd/wnaspi32.h"
#include "platform/cd_drives.h"
#include "ui/widgets/check_list_box.h"
#include "window_fixture.h"

namespace rsf::ui::test {
namespace {

constexpr const char* kImageInquiry = "RSF     IMAGE CD-ROM    1.0 ";

class CdModeTest : public WindowTest {
 protected:
  CdModeTest() {
    ::setenv("RSFX_CD_ACCESS", "aspi", 1);
    ::setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_IMAGE_PROVIDER, 1);
    ::unsetenv("RSFX_ASPI_IMAGES");
  }
  ~CdModeTest() override {
    aspi::RestoreLibrary();
    for (const char* name : {"RSFX_CD_ACCESS", "RSFX_ASPI_LIBRARY", "RSFX_ASPI_IMAGES"}) ::unsetenv(name);
  }

  // A disc image: `source` padded to whole sectors and three more, as a pressed disc ends. A
  // disc has at least the 17 sectors up to its volume descriptor, which the stream probes.
  std::string Image(const std::string& name, const SourceBuilder& source) {
    std::vector<std::uint8_t> bytes = source.Bytes();
    bytes.resize(std::max<std::size_t>((bytes.size() + 2047) / 2048, 17) * 2048 + 3 * 2048, 0);
    const std::string path = temp_.File(name);
    rsf::test::WriteWholeFile(path, bytes);
    return path;
  }
  static void Drives(const std::string& images) { ::setenv("RSFX_ASPI_IMAGES", images.c_str(), 1); }

  bool InFileMode() {
    TfrmMainForm& f = Form();
    return !f.UseCDMode->isChecked() && !f.comboCDDRIVES->isVisible() && f.edtSourceFile->isVisible() &&
           f.btnSourceBrowse->isVisible() && f.OpenSource->isEnabled() && f.acceptDrops();
  }
  bool InCdMode() {
    TfrmMainForm& f = Form();
    return f.UseCDMode->isChecked() && f.comboCDDRIVES->isVisible() && !f.edtSourceFile->isVisible() &&
           !f.btnSourceBrowse->isVisible() && !f.OpenSource->isEnabled() && !f.acceptDrops();
  }
  QStringList DriveItems() {
    QStringList items;
    for (int i = 0; i < Form().comboCDDRIVES->count(); ++i) items.push_back(Form().comboCDDRIVES->itemText(i));
    return items;
  }
  void ScanTwoClips() {
    ScanFile(WriteSource("two.bin", SourceBuilder().Filler(10).Jpeg(100).Filler(10).Jpeg(200)));
    ASSERT_EQ(Form().rzFoundClips->count(), 2);
  }
};

TEST_F(CdModeTest, TwoDrivesAreListedTheFirstSelectedAndTheDriveListTakesTheSourceFieldsPlace) {
  const std::string image = Image("disc.iso", SourceBuilder().Filler(5000).Wave(3000));
  Drives("0:3=" + image + ";0:1=" + image);
  Start();
  ASSERT_TRUE(InFileMode());
  ScanTwoClips();

  Form().UseCDMode->trigger();
  EXPECT_TRUE(boxes_->shown.empty());
  EXPECT_TRUE(InCdMode());
  EXPECT_EQ(DriveItems(), (QStringList{QStringLiteral("0:1:0    ") + QLatin1String(kImageInquiry),
                                       QStringLiteral("0:3:0    ") + QLatin1String(kImageInquiry)}));
  EXPECT_EQ(Form().comboCDDRIVES->currentIndex(), 0);
  EXPECT_EQ(Form().SelectedDriveEntry(), std::string("0:1:0    ") + kImageInquiry);
  EXPECT_EQ(Form().comboCDDRIVES->toolTip(), QStringLiteral("可用的 CD-ROM 驱动器"));
  EXPECT_EQ(Form().rzFoundClips->count(), 0) << "entering emptied the list";
  EXPECT_EQ(Form().Engine().Catalogue().size(), 2u);
}

TEST_F(CdModeTest, LeavingAsksNoDriveAndEveryToggleEmptiesTheList) {
  Drives("0:1=" + Image("disc.iso", SourceBuilder().Filler(5000).Jpeg(300).Filler(100)));
  Start();
  Form().UseCDMode->trigger();
  ASSERT_TRUE(InCdMode());
  Form().StartAnalysis->trigger();
  ASSERT_EQ(Form().rzFoundClips->count(), 1);

  int asked = 0;
  aspi::OverrideLibrary({[&] {
                           ++asked;
                           return 0u;
                         },
                         [&](void*) {
                           ++asked;
                           return 0u;
                         }});
  ::unsetenv("RSFX_ASPI_IMAGES");
  Form().UseCDMode->trigger();
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(boxes_->shown.empty());
  EXPECT_TRUE(InFileMode());
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Form().comboCDDRIVES->count(), 1) << "the hidden list keeps its drives";
  aspi::RestoreLibrary();

  ScanTwoClips();
  Form().UseCDMode->trigger();  // no drive now: the warning, and still the list is emptied
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_TRUE(InFileMode());
}

TEST_F(CdModeTest, WithoutAnAspiLibraryOrWithoutDrivesItWarnsAndStaysInFileMode) {
  Start();
  ::setenv("RSFX_ASPI_LIBRARY", temp_.File("no-such-library.so").c_str(), 1);
  Form().UseCDMode->trigger();
  ::setenv("RSFX_ASPI_LIBRARY", RSF_ASPI_IMAGE_PROVIDER, 1);
  Form().UseCDMode->trigger();  // the library answers, but serves no drive

  ASSERT_EQ(boxes_->shown.size(), 2u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("抱歉，不能找到 ASPI 驱动器。\n\n返回到文件模式..."));
  EXPECT_EQ(boxes_->shown[1].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[1].text, QStringLiteral("抱歉，不能找到任何 CD-ROM 驱动器。\n\n返回到文件模式..."));
  EXPECT_TRUE(InFileMode());
}

TEST_F(CdModeTest, RawDeviceAccessListsTheSystemsDrives) {
  ::unsetenv("RSFX_CD_ACCESS");
  Start();
  ASSERT_TRUE(Form().Presenter().NTDeviceMode());
  const std::vector<std::string> drives = platform::CdDriveNames();
  Form().UseCDMode->trigger();
  if (drives.empty()) {
    ASSERT_EQ(boxes_->shown.size(), 1u);
    EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("抱歉，不能找到任何 CD-ROM 驱动器。\n\n返回到文件模式..."));
    EXPECT_TRUE(InFileMode());
  } else {
    EXPECT_TRUE(InCdMode());
    EXPECT_EQ(Form().SelectedDriveEntry(), drives.front());
  }
}

TEST_F(CdModeTest, ScanReadsTheSelectedDriveAndAnotherDriveEmptiesTheList) {
  const SourceBuilder first = SourceBuilder().Filler(5000).Jpeg(300).Filler(100);
  const SourceBuilder second = SourceBuilder().Filler(70000).Wave(3000).Filler(100).Wave(5000);
  Drives("0:1=" + Image("first.iso", first) + ";0:3=" + Image("second.iso", second));
  Start();
  Form().UseCDMode->trigger();
  ASSERT_TRUE(InCdMode());

  // The user picks the second drive: the list empties, the catalogue waits for the scan.
  Form().StartAnalysis->trigger();
  ASSERT_EQ(Form().rzFoundClips->count(), 1);
  Form().comboCDDRIVES->setFocus();
  QTest::keyClick(Form().comboCDDRIVES, Qt::Key_Down);
  ASSERT_EQ(Form().comboCDDRIVES->currentIndex(), 1);
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Form().Engine().Catalogue().size(), 1u);

  Form().StartAnalysis->trigger();
  EXPECT_TRUE(boxes_->shown.empty());
  ASSERT_EQ(Form().Engine().Catalogue().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Form().Engine().Catalogue()[i].Extension, ".wav");
    EXPECT_EQ(Form().Engine().Catalogue()[i].StartOffset, second.Clips()[i].start);
    EXPECT_EQ(Form().Engine().Catalogue()[i].EndOffset, second.Clips()[i].end);
  }
  EXPECT_EQ(Panel(1), QStringLiteral("分析完成。错误 : 0"));

  // Playing a clip from the disc copies it like any other.
  ClickEntry(1);
  Form().Play->trigger();
  ASSERT_EQ(Form().TemporaryFiles().size(), 1u);
  const auto& clip = second.Clips()[1];
  EXPECT_EQ(rsf::test::ReadWholeFile(Form().TemporaryFiles()[0]),
            std::vector<std::uint8_t>(second.Bytes().begin() + clip.start, second.Bytes().begin() + clip.end));
  EXPECT_EQ(player_->calls.back(), "play");
}

TEST_F(CdModeTest, EmptyDriveWarnsAtTheScanAndKeepsTheList) {
  Drives("0:1=");
  Start();
  Form().UseCDMode->trigger();
  ASSERT_TRUE(InCdMode()) << "an empty drive is still a drive";
  Form().StartAnalysis->trigger();
  ASSERT_EQ(boxes_->shown.size(), 1u);
  EXPECT_EQ(boxes_->shown[0].icon, BoxIcon::kWarning);
  EXPECT_EQ(boxes_->shown[0].caption, QStringLiteral("警告"));
  EXPECT_EQ(boxes_->shown[0].text, QStringLiteral("错误访问 CD - 在驱动器中有光盘吗?"));
  EXPECT_FALSE(Form().Busy());
  EXPECT_TRUE(Form().panelMain->isEnabled());
}

TEST_F(CdModeTest, DropsAreRefusedInCdMode) {
  Drives("0:1=" + Image("disc.iso", SourceBuilder().Filler(5000)));
  Start();
  Form().UseCDMode->trigger();
  ASSERT_TRUE(InCdMode());
  const std::string dropped = WriteSource("dropped.bin", SourceBuilder().Filler(10).Jpeg(100));
  auto data = std::make_unique<QMimeData>();
  data->setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Form(), &enter);
  EXPECT_FALSE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Form(), &drop);
  QCoreApplication::processEvents();
  Form().WMDropFiles({QString::fromStdString(dropped)});
  EXPECT_NE(Form().edtSourceFile->text(), QString::fromStdString(dropped));
  EXPECT_EQ(Form().rzFoundClips->count(), 0);
  EXPECT_EQ(Form().Engine().Source(), nullptr) << "no scan of the dropped file";

  Form().UseCDMode->trigger();
  EXPECT_TRUE(Form().acceptDrops());
}

}  // namespace
}  // namespace rsf::ui::test
