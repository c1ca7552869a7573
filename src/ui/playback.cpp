// The order of PlayExecute: the selection, closing what the last playback opened, the room for
// the copy, the copy (a new file under a name nobody could foresee, listed for deletion at close
// as soon as it exists; a copy that fails is removed at once), then picture window, media
// player and shell.
#include "ui/playback.h"

#include <QAction>
#include <QPointer>
#include <fmt/format.h>
#include <optional>

#include "base/errors.h"
#include "scan/clip_types.h"
#include "scan/extraction.h"
#include "scan/scan_observer.h"
#include "ui/check_list_box.h"
#include "ui/display_text.h"
#include "ui/errorcode.h"
#include "ui/frmImageView.h"
#include "ui/main_form.h"
#include "ui/media_player.h"
#include "ui/message_boxes.h"
#include "ui/picture_loader.h"
#include "ui/shell.h"
#include "ui/shell_failure.h"
#include "ui/status_panels.h"
#include "ui/temporary_files.h"
#include "ui/temporary_folder.h"
#include "ui/window_texts.h"

namespace rsf::ui {
namespace {

constexpr int kCopyNameTries = 32;

void SetActivity(TfrmMainForm& form, const char* text) {
  form.stbarMain->SetText(kStatusPanelActivity, DisplayText(text));
}

bool StatusShows(const TfrmMainForm& form, const char* text) {
  return form.stbarMain->Text(kStatusPanelActivity) == DisplayText(text);
}

}  // namespace

Playback::Playback(MessageBoxes& boxes, Shell& shell, MediaPlayer& player, TemporaryFolder& folder,
                   TfrmImage& picture_window)
    : boxes_(boxes),
      shell_(shell),
      player_(player),
      folder_(folder),
      picture_window_(picture_window),
      draw_copy_number_(RandomCopyNumber) {}

void Playback::Bind(TfrmMainForm& form) {
  QPointer<TfrmMainForm> window(&form);
  // A window closed by the user ends what it showed: the status goes back to idle.
  player_.SetWindowClosedHandler([window] {
    if (!window.isNull() && !window->Closing() && StatusShows(*window, kStatusInternalPlayer))
      SetActivity(*window, kStatusIdle);
  });
  picture_window_.SetOnClosed([window] {
    if (!window.isNull() && !window->Closing() && StatusShows(*window, kStatusViewingPicture))
      SetActivity(*window, kStatusIdle);
  });
}

void Playback::PlayExecute(TfrmMainForm& form) {
  const int selected = form.rzFoundClips->SelectedEntry();
  const ClipCatalogue& catalogue = form.Engine().Catalogue();
  if (selected < 0 || static_cast<std::size_t>(selected) >= catalogue.size()) {
    boxes_.Show(&form, BoxIcon::kWarning, DisplayText(kWarningCaption), DisplayText(kNothingSelectedWarning));
    return;
  }
  const auto entry = static_cast<std::size_t>(selected);
  const TFilestruct& clip = catalogue[entry];

  player_.Close();
  picture_window_.hide();

  const std::string folder = folder_.Path();
  const std::int64_t size = clip.EndOffset - clip.StartOffset;
  if (size >= folder_.FreeBytes()) {
    boxes_.Show(&form, BoxIcon::kError, DisplayText(kErrorCaption), DisplayText(kNoRoomForCopyError));
    return;
  }
  SetActivity(form, kStatusCopyingClip);
  form.repaint();
  const std::string name = CopyClip(form, entry, folder);

  if (form.Tryinternalplaybackfirst->isChecked()) {
    if (TryPicture(form, name) || TryMediaPlayer(form, entry, name)) return;
    if (form.Closing()) return;
  }
  OpenInShell(form, name);
}

void Playback::CloseMedia() {
  player_.Close();
  picture_window_.close();
}

std::string Playback::CopyClip(TfrmMainForm& form, std::size_t entry, const std::string& folder) {
  const TFilestruct& clip = form.Engine().Catalogue()[entry];
  SourceStream* source = form.Engine().Source();
  // A scan whose source could not be opened leaves its clips listed but no source to read.
  if (source == nullptr) throw StreamReadError();
  // A name that is taken (by an earlier copy, or by anything planted there) is never reused:
  // another name is drawn.
  std::string name;
  std::unique_ptr<TargetFile> copy;
  for (int attempt = 0; attempt < kCopyNameTries && !copy; ++attempt) {
    name = TemporaryClipName(folder, draw_copy_number_(), clip.Extension);
    copy = CreateNewTargetFile(name);
  }
  if (!copy) throw FileCreateError(name, "临时文件名都已被占用");
  form.TemporaryFiles().push_back(name);
  WriteClip(*source, clip, *copy);
  return name;
}

bool Playback::TryPicture(TfrmMainForm& form, const std::string& name) {
  SetActivity(form, kStatusViewingPicture);
  picture_window_.ClearPicture();
  const std::optional<QImage> picture = LoadPicture(name);
  if (!picture) return false;
  picture_window_.ShowPicture(*picture);
  return true;
}

bool Playback::TryMediaPlayer(TfrmMainForm& form, std::size_t entry, const std::string& name) {
  SetActivity(form, kStatusInternalPlayer);
  const TFilestruct& clip = form.Engine().Catalogue()[entry];
  const std::string title = fmt::format("文件 #{}  {}", entry + 1, TypeNameForExtension(clip.Extension));
  try {
    player_.Open(name, title);
  } catch (const MediaDeviceError&) {
    return false;
  }
  player_.Play();
  return true;
}

// The status shows the external player until the desktop has answered.
void Playback::OpenInShell(TfrmMainForm& form, const std::string& name) {
  SetActivity(form, kStatusExternalPlayer);
  shell_.OpenDocument(name, [this, window = QPointer<TfrmMainForm>(&form)](const platform::OpenOutcome& outcome) {
    if (window.isNull() || window->Closing()) return;
    if (StatusShows(*window, kStatusExternalPlayer)) SetActivity(*window, kStatusIdle);
    if (outcome.error != 0) ShowShellFailure(boxes_, *window, outcome);
  });
}

}  // namespace rsf::ui
