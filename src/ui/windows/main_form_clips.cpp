// The clip list and information pane, and what the presenter asks of them: ticks, the target
// prefix; ticking all or none and extraction forward to the presenter.
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "scan/extraction/extraction.h"
#include "ui/widgets/check_list_box.h"
#include "ui/display_text.h"
#include "ui/services/form_services.h"
#include "ui/widgets/gauge.h"
#include "ui/windows/main_form.h"
#include "ui/widgets/status_panels.h"
#include "desktop/window_texts.h"

namespace rsf::ui {

void TfrmMainForm::rzFoundClipsClick() { presenter_.ClipSelected(); }

void TfrmMainForm::ShowClipDetail(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown.push_back(QString::fromStdString(line));
  Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void TfrmMainForm::ClearClipList() {
  rzFoundClips->clear();
  Memo1->clear();
}

int TfrmMainForm::SelectedClip() const { return rzFoundClips->SelectedEntry(); }

void TfrmMainForm::SelectAllExecute() { presenter_.SelectAll(); }

void TfrmMainForm::UnSelectAllExecute() { presenter_.UnSelectAll(); }

void TfrmMainForm::SaveClipsExecute() { presenter_.SaveClips(); }

void TfrmMainForm::TickAllClips() { rzFoundClips->SetAllTicked(true); }

void TfrmMainForm::UntickAllClips() { rzFoundClips->SetAllTicked(false); }

std::vector<bool> TfrmMainForm::ClipTicks() const { return rzFoundClips->Ticks(); }

std::string TfrmMainForm::TargetPath() const { return LocalPath(edtTargetFiles->text()); }

void TfrmMainForm::SetTargetPath(const std::string& path) { edtTargetFiles->setText(PathFromLocal(path)); }

}  // namespace rsf::ui
