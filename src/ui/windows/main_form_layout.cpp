// The controls of the main window, placed where the window was designed to have them: pixel
// positions inside their parents with the edges each one follows when the window is resized.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>
#include <vector>

#include "cd/cd_mode.h"
#include "scan/catalogue/clip_type_table.h"
#include "ui/widgets/anchors.h"
#include "ui/widgets/bevel_panel.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/widgets/gauge.h"
#include "ui/widgets/header_control.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/status_panels.h"
#include "ui/widgets/window_font.h"
#include "desktop/window_texts.h"

namespace rsf::ui {
namespace {

// panelMain's size in the design the positions below were taken from.
constexpr QSize kPanelMainDesignSize(552, 372 + kMoreTypesHeight);
constexpr QSize kPanelMainMinimumSize(464, 255 + kMoreTypesHeight);
constexpr int kSplitterWidth = 8;
constexpr int kClipPanelWidth = 241;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QPushButton* BrowseButton(const char* name) {
  auto* button = Named(new QPushButton(DisplayText(desktop::kBrowseButtonCaption)), name);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

// A bevelled panel with a header across its top and `body` filling the rest.
BevelPanel* HeaderedPanel(const char* name, HeaderControl* header, QWidget* body) {
  auto* panel = Named(new BevelPanel, name);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(2, 2, 2, 2);
  column->setSpacing(0);
  column->addWidget(header);
  column->addWidget(body, 1);
  return panel;
}

}  // namespace

void TfrmMainForm::CreateControls() {
  setFont(WindowFont());
  stbarMain = Named(new StatusPanels(this), "stbarMain");
  setStatusBar(stbarMain);

  panelMain = Named(new QWidget(this), "panelMain");
  panelMain->setMinimumSize(kPanelMainMinimumSize);
  setCentralWidget(panelMain);
  panel_anchors_ = new Anchors(panelMain, kPanelMainDesignSize);

  CreateSourceAndTarget();
  CreateClipPanes();
  CreateClipTypeBoxes();

  Gauge1 = Named(new Gauge, "Gauge1");
  panel_anchors_->Add(Gauge1, QRect(8, 345 + kMoreTypesHeight, 536, 19), kAnchorLeft | kAnchorRight | kAnchorBottom);
}

void TfrmMainForm::CreateSourceAndTarget() {
  GroupBox1 = Named(new QGroupBox, "GroupBox1");
  panel_anchors_->Add(GroupBox1, QRect(8, 8, 241, 49), kAnchorLeftTop);
  auto* source_anchors = new Anchors(GroupBox1, QSize(241, 49));
  edtSourceFile = Named(new QLineEdit(DisplayText(desktop::kSourceFieldInitial)), "edtSourceFile");
  edtSourceFile->setToolTip(DisplayText(desktop::kSourceFieldHint));
  source_anchors->Add(edtSourceFile, QRect(8, 16, 193, 21), kAnchorLeftTop | kAnchorRight);
  btnSourceBrowse = BrowseButton("btnSourceBrowse");
  source_anchors->Add(btnSourceBrowse, QRect(212, 16, 21, 21), kAnchorTop | kAnchorRight);
  comboCDDRIVES = Named(new QComboBox(GroupBox1), "comboCDDRIVES");
  comboCDDRIVES->setEditable(false);
  comboCDDRIVES->setToolTip(DisplayText(kCdDriveListHint));
  comboCDDRIVES->hide();

  GroupBox2 = Named(new QGroupBox, "GroupBox2");
  panel_anchors_->Add(GroupBox2, QRect(256, 8, 287, 49), kAnchorLeftTop | kAnchorRight);
  auto* target_anchors = new Anchors(GroupBox2, QSize(287, 49));
  edtTargetFiles = Named(new QLineEdit(DisplayText(desktop::kTargetFieldInitial)), "edtTargetFiles");
  edtTargetFiles->setToolTip(DisplayText(desktop::kTargetFieldHint));
  target_anchors->Add(edtTargetFiles, QRect(8, 16, 239, 21), kAnchorLeftTop | kAnchorRight);
  btnTargetBrowse = BrowseButton("btnTargetBrowse");
  target_anchors->Add(btnTargetBrowse, QRect(258, 16, 21, 21), kAnchorTop | kAnchorRight);
}

void TfrmMainForm::CreateClipPanes() {
  pnlMiddle = Named(new QWidget, "pnlMiddle");
  panel_anchors_->Add(pnlMiddle, QRect(8, 64, 534, 177), kAnchorAll);
  auto* row = new QHBoxLayout(pnlMiddle);
  row->setContentsMargins(0, 0, 0, 0);
  Splitter1 = Named(new QSplitter(Qt::Horizontal), "Splitter1");
  Splitter1->setHandleWidth(kSplitterWidth);
  Splitter1->setChildrenCollapsible(false);
  row->addWidget(Splitter1);

  HeaderControl1 = Named(new HeaderControl({{DisplayText(desktop::kHeaderFile), 80},
                                            {DisplayText(desktop::kHeaderType), 100},
                                            {DisplayText(desktop::kHeaderSize), 80}}),
                         "HeaderControl1");
  HeaderControl1->SetGrowsWithWidth(true);
  rzFoundClips = Named(new CheckListBox, "rzFoundClips");
  rzFoundClips->setToolTip(DisplayText(desktop::kClipListHint));
  panelClips = HeaderedPanel("panelClips", HeaderControl1, rzFoundClips);

  HeaderControl2 = Named(new HeaderControl({{DisplayText(desktop::kHeaderInfo), 5000}}), "HeaderControl2");
  Memo1 = Named(new QPlainTextEdit, "Memo1");
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFont(FixedPitchWindowFont());
  pnlPrevInfo = HeaderedPanel("pnlPrevInfo", HeaderControl2, Memo1);
  pnlPrevInfo->setToolTip(DisplayText(desktop::kInfoPanelHint));

  Splitter1->addWidget(panelClips);
  Splitter1->addWidget(pnlPrevInfo);
  // The clip list keeps its width; the information pane takes whatever the window adds.
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({kClipPanelWidth, 534 - kClipPanelWidth - kSplitterWidth});
}

void TfrmMainForm::CreateClipTypeBoxes() {
  grpbxClips = Named(new QGroupBox(DisplayText(desktop::kClipTypesCaption)), "grpbxClips");
  grpbxClips->setToolTip(DisplayText(desktop::kClipTypesHint));
  panel_anchors_->Add(grpbxClips, QRect(8, 243, 535, 97), kAnchorLeft | kAnchorRight | kAnchorBottom);

  grpbxMoreClips = Named(new QGroupBox(DisplayText(desktop::kMoreClipTypesCaption)), "grpbxMoreClips");
  grpbxMoreClips->setToolTip(DisplayText(desktop::kClipTypesHint));
  panel_anchors_->Add(grpbxMoreClips, QRect(8, 342, 535, kMoreTypesHeight - 2), kAnchorLeft | kAnchorRight | kAnchorBottom);

  constexpr int kTops[] = {24, 44, 64, 84};
  constexpr int kLefts[] = {16, 136, 256, 352};
  constexpr int kWidths[] = {117, 117, 93, 117};
  // Every type of the clip-type table in its group's grid; the classic ones ticked at start.
  // Made row by row, so that the focus moves through each grid as it reads.
  std::vector<const ClipTypeRecord*> in_grid_order;
  for (const ClipTypeRecord& type : ClipTypeTable()) in_grid_order.push_back(&type);
  std::ranges::stable_sort(in_grid_order, {}, [](const ClipTypeRecord* type) {
    return std::tuple(type->group, type->row, type->column);
  });
  for (const ClipTypeRecord* record : in_grid_order) {
    const ClipTypeRecord& type = *record;
    const bool classic = type.group == ClipTypeGroup::kClassic;
    auto* box = new QCheckBox(DisplayText(type.caption), classic ? grpbxClips : grpbxMoreClips);
    box->setObjectName(QStringLiteral("chk") + DisplayText(type.name).toUpper());
    box->setChecked(classic);
    box->setGeometry(kLefts[type.column], kTops[type.row], kWidths[type.column], 17);
    clip_type_boxes_[static_cast<std::size_t>(type.kind)] = box;
  }
}

}  // namespace rsf::ui
