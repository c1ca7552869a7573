// The controls of the main window, placed where the desktop core's layout has them
// (desktop/main_window_layout.h): pixel positions inside their parents with the edges each one
// follows when the window is resized.
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
#include <string>
#include <tuple>
#include <vector>

#include "cd/cd_mode.h"
#include "desktop/main_window_layout.h"
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

// Makes `control` a child of the parent its layout row names (the main panel or a control
// below it, placed earlier) at its designed rectangle, anchored as designed.
void PlaceAsDesigned(QWidget* control, QWidget& main_panel) {
  const desktop::ControlPlace& place = desktop::ControlPlaceOf(control->objectName().toStdString());
  const QString parent_name = QString::fromLatin1(place.parent);
  QWidget* parent = main_panel.objectName() == parent_name ? &main_panel : main_panel.findChild<QWidget*>(parent_name);
  auto* anchors = parent->findChild<Anchors*>(QString(), Qt::FindDirectChildrenOnly);
  if (anchors == nullptr) anchors = new Anchors(parent, desktop::DesignSizeOf(place.parent));
  anchors->Add(control, place.bounds, place.anchors);
}

}  // namespace

void TfrmMainForm::CreateControls() {
  setFont(WindowFont());
  stbarMain = Named(new StatusPanels(this), "stbarMain");
  setStatusBar(stbarMain);

  panelMain = Named(new QWidget(this), desktop::kMainPanelName);
  panelMain->setMinimumSize(desktop::kMainPanelMinimumSize.width, desktop::kMainPanelMinimumSize.height);
  setCentralWidget(panelMain);
  panel_anchors_ = new Anchors(panelMain, desktop::kMainPanelDesignSize);

  CreateSourceAndTarget();
  CreateClipPanes();
  CreateClipTypeBoxes();

  Gauge1 = Named(new Gauge, "Gauge1");
  PlaceAsDesigned(Gauge1, *panelMain);
}

void TfrmMainForm::CreateSourceAndTarget() {
  GroupBox1 = Named(new QGroupBox, "GroupBox1");
  PlaceAsDesigned(GroupBox1, *panelMain);
  edtSourceFile = Named(new QLineEdit(DisplayText(desktop::kSourceFieldInitial)), "edtSourceFile");
  edtSourceFile->setToolTip(DisplayText(desktop::kSourceFieldHint));
  PlaceAsDesigned(edtSourceFile, *panelMain);
  btnSourceBrowse = BrowseButton("btnSourceBrowse");
  PlaceAsDesigned(btnSourceBrowse, *panelMain);
  comboCDDRIVES = Named(new QComboBox(GroupBox1), "comboCDDRIVES");
  comboCDDRIVES->setEditable(false);
  comboCDDRIVES->setToolTip(DisplayText(kCdDriveListHint));
  comboCDDRIVES->hide();

  GroupBox2 = Named(new QGroupBox, "GroupBox2");
  PlaceAsDesigned(GroupBox2, *panelMain);
  edtTargetFiles = Named(new QLineEdit(DisplayText(desktop::kTargetFieldInitial)), "edtTargetFiles");
  edtTargetFiles->setToolTip(DisplayText(desktop::kTargetFieldHint));
  PlaceAsDesigned(edtTargetFiles, *panelMain);
  btnTargetBrowse = BrowseButton("btnTargetBrowse");
  PlaceAsDesigned(btnTargetBrowse, *panelMain);
}

void TfrmMainForm::CreateClipPanes() {
  pnlMiddle = Named(new QWidget, "pnlMiddle");
  PlaceAsDesigned(pnlMiddle, *panelMain);
  auto* row = new QHBoxLayout(pnlMiddle);
  row->setContentsMargins(0, 0, 0, 0);
  Splitter1 = Named(new QSplitter(Qt::Horizontal), "Splitter1");
  Splitter1->setHandleWidth(desktop::kSplitterWidth);
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
  const int middle_width = desktop::ControlPlaceOf("pnlMiddle").bounds.width;
  Splitter1->setSizes({desktop::kClipPanelWidth, middle_width - desktop::kClipPanelWidth - desktop::kSplitterWidth});
}

void TfrmMainForm::CreateClipTypeBoxes() {
  grpbxClips = Named(new QGroupBox(DisplayText(desktop::kClipTypesCaption)), "grpbxClips");
  grpbxClips->setToolTip(DisplayText(desktop::kClipTypesHint));
  PlaceAsDesigned(grpbxClips, *panelMain);

  grpbxMoreClips = Named(new QGroupBox(DisplayText(desktop::kMoreClipTypesCaption)), "grpbxMoreClips");
  grpbxMoreClips->setToolTip(DisplayText(desktop::kClipTypesHint));
  PlaceAsDesigned(grpbxMoreClips, *panelMain);

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
    const desktop::Rect bounds = desktop::CheckBoxBounds(type.row, type.column);
    box->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
    clip_type_boxes_[static_cast<std::size_t>(type.kind)] = box;
  }
}

}  // namespace rsf::ui
