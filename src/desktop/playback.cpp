// The order of PlayExecute: the selection, closing what the last playback opened, the room for
// the copy, the copy (a new file under a name nobody could foresee, listed for deletion at close
// as soon as it exists; a copy that fails is removed at once), then picture window, media
// player and shell.
#include "desktop/playback.h"

#include <fmt/format.h>

#include "base/errors.h"
#include "desktop/shell_failure.h"
#include "desktop/window_texts.h"
#include "scan/catalogue/clip_type_table.h"
#include "scan/extraction/extraction.h"

namespace rsf::desktop {
namespace {

constexpr int kCopyNameTries = 32;

}  // namespace

Playback::Playback(MainView& view, const DesktopServices& services, const ScanEngine& engine,
                   const WindowOptions& options)
    : view_(view), services_(services), engine_(engine), options_(options), draw_copy_number_(RandomCopyNumber) {
  std::weak_ptr<const bool> alive = alive_;
  services_.player.SetWindowClosedHandler([this, alive] {
    if (!alive.expired()) BackToIdle(kStatusInternalPlayer);
  });
  services_.pictures.SetPictureClosedHandler([this, alive] {
    if (!alive.expired()) BackToIdle(kStatusViewingPicture);
  });
}

void Playback::PlayExecute() {
  const int selected = view_.SelectedClip();
  const ClipCatalogue& catalogue = engine_.Catalogue();
  if (selected < 0 || static_cast<std::size_t>(selected) >= catalogue.size()) {
    services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, kNothingSelectedWarning);
    return;
  }
  const auto entry = static_cast<std::size_t>(selected);
  const TFilestruct& clip = catalogue[entry];

  services_.player.Close();
  services_.pictures.HidePicture();

  const std::string folder = services_.temporary_folder.Path();
  const std::int64_t size = clip.EndOffset - clip.StartOffset;
  if (size >= services_.temporary_folder.FreeBytes()) {
    services_.boxes.Show(BoxIcon::kError, kErrorCaption, kNoRoomForCopyError);
    return;
  }
  ShowActivity(kStatusCopyingClip);
  view_.RepaintNow();
  const std::string name = CopyClip(entry, folder);

  if (options_.internal_playback_first) {
    if (TryPicture(name) || TryMediaPlayer(entry, name)) return;
    if (view_.Closing()) return;
  }
  OpenInShell(name);
}

void Playback::CloseMedia() {
  services_.player.Close();
  services_.pictures.ClosePicture();
}

void Playback::DeleteCopies() { DeleteTemporaryFiles(copies_, services_.deleter, services_.boxes); }

std::string Playback::CopyClip(std::size_t entry, const std::string& folder) {
  const TFilestruct& clip = engine_.Catalogue()[entry];
  SourceStream* source = engine_.Source();
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
  copies_.push_back(name);
  WriteClip(*source, clip, *copy);
  return name;
}

bool Playback::TryPicture(const std::string& name) {
  ShowActivity(kStatusViewingPicture);
  return services_.pictures.ShowPictureFile(name);
}

bool Playback::TryMediaPlayer(std::size_t entry, const std::string& name) {
  ShowActivity(kStatusInternalPlayer);
  const TFilestruct& clip = engine_.Catalogue()[entry];
  const std::string title = fmt::format("文件 #{}  {}", entry + 1, TypeNameOf(clip));
  try {
    services_.player.Open(name, title);
  } catch (const MediaDeviceError&) {
    return false;
  }
  services_.player.Play();
  return true;
}

// The status shows the external player until the desktop has answered.
void Playback::OpenInShell(const std::string& name) {
  ShowActivity(kStatusExternalPlayer);
  std::weak_ptr<const bool> alive = alive_;
  services_.shell.OpenDocument(name, [this, alive](const platform::OpenOutcome& outcome) {
    if (alive.expired() || view_.Closing()) return;
    if (view_.Status(kStatusPanelActivity) == kStatusExternalPlayer) ShowActivity(kStatusIdle);
    if (outcome.error != 0) services_.boxes.Show(BoxIcon::kWarning, kWarningCaption, ShellFailureText(outcome));
  });
}

void Playback::ShowActivity(const char* text) { view_.SetStatus(kStatusPanelActivity, text); }

void Playback::BackToIdle(const char* showing) {
  if (!view_.Closing() && view_.Status(kStatusPanelActivity) == showing) ShowActivity(kStatusIdle);
}

}  // namespace rsf::desktop
