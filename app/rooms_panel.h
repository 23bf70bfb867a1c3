// The "Rooms" frame: the room list, the view-mode button, the door and alternate boxes and the
// two labels about the chosen room.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <string>

#include "map/selection.h"

namespace slab {

class RoomsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit RoomsPanel(QWidget* parent = nullptr);
  // One line per room; the list keeps a height of whole lines.
  void ShowRooms(size_t count);
  // Marks the view's line (without a signal) and shows its labels.
  void Show(const RoomView& view);
  void Reset();
  // Makes a line current without a signal (one past the list: nothing happens).
  void MarkLine(int line);
  void ShowViewMode(const std::string& caption);
  int CurrentLine() const { return roomNumber_->currentRow(); }
  bool AlternatesShown() const { return showAlternate_->isChecked(); }
  bool DoorsDrawn() const { return drawDoors_->isChecked(); }
  bool BoxesShown() const { return showBoxes_->isChecked(); }
  // Makes a line current as a click would, with its signal.
  void ChooseLine(int line) { roomNumber_->setCurrentRow(line); }

 signals:
  // A line became current.
  void LineChosen(int line);
  // A line was clicked, whether or not it was current already.
  void LineClicked(int line);
  void AlternatesToggled();
  void ViewModeClicked();
  void DrawDoorsToggled();
  void BoxesToggled();

 private:
  QListWidget* roomNumber_;
  QPushButton* viewMode_;
  QCheckBox* drawDoors_;
  QLabel* roomInfo_;
  QLabel* altRoom_;
  QCheckBox* showAlternate_;
  QCheckBox* showBoxes_;  // the pathfinding boxes drawn over the map
};

}  // namespace slab
