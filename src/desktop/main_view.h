// What the desktop core needs of the main window, whatever toolkit draws it: the busy state,
// the clip list with its selection and ticks, the source and target fields, the drive list of
// CD mode, the gauge, the status panels and the event pump. Texts are UTF-8; paths are file
// names as the platform's file functions take them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rsf::desktop {

class MainView {
 public:
  // Busy: hourglass, panel, tool bar and menus disabled (and enabled again).
  virtual void SetBusy(bool busy) = 0;
  // Empties the clip list and the information pane, which belongs to its entries.
  virtual void ClearClipList() = 0;
  // Empties the clip list (and its information pane) and takes its tab stops from the header.
  virtual void StartClipList() = 0;
  virtual void AddClipLine(const std::string& line) = 0;
  virtual void TickAllClips() = 0;
  virtual void UntickAllClips() = 0;
  // The tick of every entry of the clip list, in list order.
  virtual std::vector<bool> ClipTicks() const = 0;
  // The selected entry of the clip list; -1 without one.
  virtual int SelectedClip() const = 0;
  // The information pane: the lines of the selected clip (none: empty).
  virtual void ShowClipDetail(const std::vector<std::string>& lines) = 0;
  // The source field (file mode) and the target field (the path prefix of extracted files).
  virtual std::string SourcePath() const = 0;
  virtual void SetSourcePath(const std::string& path) = 0;
  virtual std::string TargetPath() const = 0;
  virtual void SetTargetPath(const std::string& path) = 0;
  // The drive list of CD mode, filled with drive entries as drive discovery writes them.
  virtual void SetDriveEntries(const std::vector<std::string>& entries) = 0;
  virtual void SelectDrive(int index) = 0;
  // The entry of the selected drive; empty without a selection.
  virtual std::string SelectedDriveEntry() const = 0;
  // CD mode shown or left: the command's check, the drive list in place of the source field
  // and its browse command, and files dropped on the window refused while it is on.
  virtual void ShowCdMode(bool on) = 0;
  virtual void SetGaugeMaximum(std::int64_t maximum) = 0;
  virtual void SetGaugeProgress(std::int64_t position) = 0;
  // Panels 1 to 3 of the status bar (activity, elapsed time, remaining time).
  virtual void SetStatus(int panel, const std::string& text) = 0;
  virtual std::string Status(int panel) const = 0;
  virtual void RepaintNow() = 0;
  // Lets the toolkit handle what came in meanwhile: clicks, keys, repaints, a close.
  virtual void ProcessEvents() = 0;
  // True once the window has begun to close.
  virtual bool Closing() const = 0;

 protected:
  ~MainView() = default;
};

}  // namespace rsf::desktop
