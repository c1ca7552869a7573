// The list of found clips: one line per entry with a two-state tick box, text drawn with tab
// expansion so that tab-separated columns sit under the sections of a header above the list.
#pragma once

#include <QListWidget>
#include <vector>

class QHeaderView;

namespace rsf::ui {

class CheckListBox final : public QListWidget {
  Q_OBJECT

 public:
  static constexpr int kEntryHeight = 15;
  explicit CheckListBox(QWidget* parent = nullptr);

  // Appends an unticked entry.
  void AddLine(const QString& line);
  int Count() const { return count(); }
  bool Ticked(int entry) const;
  void SetTicked(int entry, bool ticked);
  void SetAllTicked(bool ticked);
  std::vector<bool> Ticks() const;
  // The selected entry, or -1.
  int SelectedEntry() const;

  // Tab stops in pixels from the list's left edge.
  const std::vector<int>& TabStops() const { return tab_stops_; }
  // Sets tab stop k just past the right edge of header section k, so that the text after the
  // k-th tab starts under section k + 1. Stops beyond the last section keep their values.
  void UpdateFromHeader(const QHeaderView& header);
  // Where the text of an entry starts, behind its tick box.
  int TextLeft() const;

 signals:
  // The user clicked into the list or moved the selection with the keyboard.
  void EntryClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::vector<int> tab_stops_;
};

}  // namespace rsf::ui
