// The order of PlayExecute: the selection, closing what the last playback opened, the room for
// the copy, the copy (a new file under a name nobody could foresee, listed for deletion at close
// as soon as it exists; a copy that fails is removed at once), then picture window, media
// player and shell.
#include "ui/features/playback.h"

#include <QPointer>
#include <fmt/format.h>
#include <optional>

#include "base/errors.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/extraction/extraction.h"
#include "ui/display_text.h"
#include "ui/windows/frmImageView.h"
#include "ui/services/media_player.h"
#include "ui/services/message_boxes.h"
#include "ui/services/picture_loader.h"
#include "ui/services/shell.h"
#include "ui/services/shell_failure.h"
#include "ui/services/temporary_files.h"
#include "ui/services/temporary_folder.h"
#include "desktop/window_texts.h"

namespace rsf::ui {
namespace {

constexpr int kCopyNameTries = 32;

}  // namespace

Playback::Playback(MessageBoxes& boxes, Shell& shell, MediaPlayer& player, TemporaryFolder& folder,
                   TfrmImage& picture_window)
    : boxes_(boxes),
      shell_(shell),
      player_(player),
      folder_(folder),
      picture_window_(picture_window),
      draw_copy_number_(RandomCopyNumber) {}

void Playback::Bind(PlaybackWindow& window) {
  QPointer<QWidget> alive(&window.Owner());
  // A window closed by the user ends what it showed: the status goes back to idle.
  auto back_to_idle = [alive, &window](const char* showing) {
    if (!alive.isNull() && !window.Closing() && window.ShowsActivity(showing)) window.ShowActivity(desktop::kStatusIdle);
  };
  player_.SetWindowClosedHandler([back_to_idle] { back_to_idle(desktop::kStatusInternalPlayer); });
  picture_window_.SetOnClosed([back_to_idle] { back_to_idle(desktop::kStatusViewingPicture); });
}

void Playback::PlayExecute(PlaybackWindow& window) {
  const int selected = window.SelectedClip();
  const ClipCatalogue& catalogue = window.Clips();
  if (selected < 0 || static_cast<std::size_t>(selected) >= catalogue.size()) {
    boxes_.Show(&window.Owner(), BoxIcon::kWarning, DisplayText(desktop::kWarningCaption), DisplayText(desktop::kNothingSelectedWarning));
    return;
  }
  const auto entry = static_cast<std::size_t>(selected);
  const TFilestruct& clip = catalogue[entry];

  player_.Close();
  picture_window_.hide();

  const std::string folder = folder_.Path();
  const std::int64_t size = clip.EndOffset - clip.StartOffset;
  if (size >= folder_.FreeBytes()) {
    boxes_.Show(&window.Owner(), BoxIcon::kError, DisplayText(desktop::kErrorCaption), DisplayText(desktop::kNoRoomForCopyError));
    return;
  }
  window.ShowActivity(desktop::kStatusCopyingClip);
  window.RepaintNow();
  const std::string name = CopyClip(window, entry, folder);

  if (window.InternalPlaybackFirst()) {
    if (TryPicture(window, name) || TryMediaPlayer(window, entry, name)) return;
    if (window.Closing()) return;
  }
  OpenInShell(window, name);
}

void Playback::CloseMedia() {
  player_.Close();
  picture_window_.close();
}

std::string Playback::CopyClip(PlaybackWindow& window, std::size_t entry, const std::string& folder) {
  const TFilestruct& clip = window.Clips()[entry];
  SourceStream* source = window.ClipSource();
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
  if (!copy) throw FileCreateError(name, kNoFreeTemporaryNameText);
  window.KeepTemporaryFile(name);
  WriteClip(*source, clip, *copy);
  return name;
}

bool Playback::TryPicture(PlaybackWindow& window, const std::string& name) {
  window.ShowActivity(desktop::kStatusViewingPicture);
  picture_window_.ClearPicture();
  const std::optional<QImage> picture = LoadPicture(name);
  if (!picture) return false;
  picture_window_.ShowPicture(*picture);
  return true;
}

bool Playback::TryMediaPlayer(PlaybackWindow& window, std::size_t entry, const std::string& name) {
  window.ShowActivity(desktop::kStatusInternalPlayer);
  const TFilestruct& clip = window.Clips()[entry];
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
void Playback::OpenInShell(PlaybackWindow& window, const std::string& name) {
  window.ShowActivity(desktop::kStatusExternalPlayer);
  QPointer<QWidget> alive(&window.Owner());
  shell_.OpenDocument(name, [this, alive, &window](const platform::OpenOutcome& outcome) {
    if (alive.isNull() || window.Closing()) return;
    if (window.ShowsActivity(desktop::kStatusExternalPlayer)) window.ShowActivity(desktop::kStatusIdle);
    if (outcome.error != 0) ShowShellFailure(boxes_, window.Owner(), outcome);
  });
}

}  // namespace rsf::ui
