#include "app/rooms_panel.h"

#include <QGridLayout>
#include <QSignalBlocker>

#include "app/panel_parts.h"
#include "level/text.h"
#include "map/map_state.h"

namespace slab {

RoomsPanel::RoomsPanel(QWidget* parent) : QGroupBox("Rooms", parent) {
  setObjectName("Frame3");
  auto* layout = new QGridLayout(this);
  roomNumber_ = Named(new QListWidget(this), "RoomNumber");
  roomNumber_->setAccessibleName("Rooms");
  roomNumber_->setMinimumHeight(90);
  layout->addWidget(roomNumber_, 0, 0, 4, 1);
  auto* roomAdd = Named(new QPushButton("Add", this), "RoomAdd");
  auto* roomDelete = Named(new QPushButton("Remove", this), "RoomDelete");
  roomAdd->setAccessibleName("Add room");
  roomDelete->setAccessibleName("Remove room");
  // Rooms are not added or removed: the buttons stand where users expect them and say so.
  roomAdd->setEnabled(false);
  roomDelete->setEnabled(false);
  roomAdd->setToolTip("Rooms are not added: a level keeps the rooms it was built with.");
  roomDelete->setToolTip("Rooms are not removed: a level keeps the rooms it was built with.");
  viewMode_ = Named(new QPushButton(kViewMode2D, this), "ViewMode");
  drawDoors_ = Named(new QCheckBox("DrawDoors", this), "DrawDoors");
  drawDoors_->setAccessibleName("Draw doors");  // said as words, not as its caption's one
  layout->addWidget(roomAdd, 0, 1);
  layout->addWidget(roomDelete, 1, 1);
  layout->addWidget(viewMode_, 2, 1);
  layout->addWidget(drawDoors_, 3, 1);
  roomInfo_ = Named(new QLabel("Room 0", this), "RoomInfo");
  altRoom_ = Named(new QLabel("No alternate", this), "AltRoom");
  layout->addWidget(roomInfo_, 4, 0, 1, 2);
  layout->addWidget(altRoom_, 5, 0);
  // The flip map: every room is shown as its alternate, where it has one.
  showAlternate_ = Named(new QCheckBox("Alternate", this), "ShowAlternate");
  layout->addWidget(showAlternate_, 5, 1);
  showBoxes_ = Named(new QCheckBox("Boxes", this), "ShowBoxes");
  layout->addWidget(showBoxes_, 6, 1);

  connect(roomNumber_, &QListWidget::currentRowChanged, this, &RoomsPanel::LineChosen);
  connect(roomNumber_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit LineClicked(roomNumber_->row(item)); });
  connect(showAlternate_, &QCheckBox::clicked, this, &RoomsPanel::AlternatesToggled);
  connect(viewMode_, &QPushButton::clicked, this, &RoomsPanel::ViewModeClicked);
  connect(drawDoors_, &QCheckBox::clicked, this, &RoomsPanel::DrawDoorsToggled);
  connect(showBoxes_, &QCheckBox::toggled, this, &RoomsPanel::BoxesToggled);
}

void RoomsPanel::ShowRooms(size_t count) {
  {
    const QSignalBlocker block(roomNumber_);
    roomNumber_->clear();
    for (size_t r = 0; r < count; ++r)
      roomNumber_->addItem(Q("Room" + NumText(static_cast<int64_t>(r))));
  }
  // The list shows whole rows: its height is a number of rows, not whatever the layout leaves.
  if (roomNumber_->count() > 0) {
    constexpr int kRoomRows = 6;
    roomNumber_->setFixedHeight(kRoomRows * roomNumber_->sizeHintForRow(0) +
                                2 * roomNumber_->frameWidth());
  }
}

void RoomsPanel::MarkLine(int line) {
  if (line < 0 || line >= roomNumber_->count()) return;
  const QSignalBlocker block(roomNumber_);
  roomNumber_->setCurrentRow(line);
}

void RoomsPanel::Show(const RoomView& view) {
  MarkLine(view.RoomNumber);
  roomInfo_->setText(Q(view.RoomInfo));
  altRoom_->setText(Q(view.AltRoom));
}

void RoomsPanel::Reset() {
  {
    const QSignalBlocker block(roomNumber_);
    roomNumber_->clear();
  }
  Show(RoomView{-1, "Room 0", "No alternate"});
}

void RoomsPanel::ShowViewMode(const std::string& caption) { viewMode_->setText(Q(caption)); }

}  // namespace slab
