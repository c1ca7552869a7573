// Places where the playback and CD features plug into the main window. Each is empty until
// its feature installs it; the window then leaves the command without effect. Each hook gets
// the window as the narrow view its feature works with.
#pragma once

#include <functional>
#include <memory>

#include "stream/source_stream.h"

namespace rsf::ui {

class CdModeWindow;
class PlaybackWindow;

struct FormHooks {
  // PlayExecute: the action "播放剪辑" and a double-click on a clip entry.
  std::function<void(PlaybackWindow&)> play;
  // UseCDModeExecute, with the action's new check state; without a hook the check stays off.
  std::function<void(CdModeWindow&, bool on)> use_cd_mode;
  // The scan's source while CD mode is on (instead of the file named in the source field).
  std::function<std::unique_ptr<SourceStream>()> open_cd_source;
  // First step of closing the window: close the media player's device.
  std::function<void()> close_media;
};

}  // namespace rsf::ui
