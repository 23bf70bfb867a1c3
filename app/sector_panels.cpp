#include "app/sector_panels.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QSignalBlocker>
#include <algorithm>
#include <tuple>
#include <utility>

#include "app/panel_parts.h"

namespace slab {

SectorInfoPanel::SectorInfoPanel(QWidget* parent) : QGroupBox("Sectors", parent) {
  setObjectName("SecInf");
  setToolTip(
      "The caption counts a sector's rows and columns from -1 (the room's outer ring), so the "
      "corner reads -1,-1.\nLists, tooltips and messages count them from 0, as the command "
      "line does: the caption's 1,4 is sector 2,5 there.");
  auto* layout = new QGridLayout(this);
  floorWall_ = Named(new QCheckBox("Wall", this), "FloorWall");
  layout->addWidget(floorWall_, 0, 0, 1, 2);
  floorHeight_ = Named(new QLineEdit(this), "FloorHeight");
  ceilingHeight_ = Named(new QLineEdit(this), "CeilingHeight");
  // The heights are shown, not edited ("Wall" is the one geometry edit), and look it: on the
  // window's own background, the way a label reads.
  for (QLineEdit* box : {floorHeight_, ceilingHeight_}) {
    box->setReadOnly(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
  }
  auto* floorLabel = new QLabel("Floor Height", this);
  auto* ceilingLabel = new QLabel("Ceiling Height", this);
  floorLabel->setBuddy(floorHeight_);
  ceilingLabel->setBuddy(ceilingHeight_);
  layout->addWidget(floorLabel, 1, 0);
  layout->addWidget(floorHeight_, 1, 1);
  layout->addWidget(ceilingLabel, 2, 0);
  layout->addWidget(ceilingHeight_, 2, 1);
  minecartStop_ = Named(new QPushButton("Minecart Stop", this), "Minecart_Stop");
  fd20_ = Named(new QPushButton("Minecart Left", this), "FD20");
  fd21_ = Named(new QPushButton("Minecart Right", this), "FD21");
  auto* minecart = new QHBoxLayout;
  for (auto [button, mode] :
       {std::pair{minecartStop_, MinecartMode::Stop}, std::pair{fd20_, MinecartMode::Left},
        std::pair{fd21_, MinecartMode::Right}}) {
    minecart->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, mode] { emit MinecartChosen(mode); });
  }
  layout->addLayout(minecart, 3, 0, 1, 2);
  connect(floorWall_, &QCheckBox::clicked, this, &SectorInfoPanel::WallClicked);
}

void SectorInfoPanel::Show(const SectorsView& view) {
  setTitle(Q(view.SecInf));
  ShowWall(view.FloorWall);
  floorHeight_->setEnabled(view.HeightsEnabled);
  ceilingHeight_->setEnabled(view.HeightsEnabled);
  floorHeight_->setText(Q(view.FloorHeight));
  ceilingHeight_->setText(Q(view.CeilingHeight));
  SetTextColour(minecartStop_, view.MinecartStop);
  SetTextColour(fd20_, view.FD20);
  SetTextColour(fd21_, view.FD21);
}

void SectorInfoPanel::Reset() {
  SectorsView empty;
  empty.SecInf = "Sectors";
  Show(empty);
}

void SectorInfoPanel::ShowCaptionsFor(Game game) {
  fd20_->setText(MinecartCaption(game, MinecartMode::Left));
  fd21_->setText(MinecartCaption(game, MinecartMode::Right));
}

void SectorInfoPanel::ShowWall(bool wall) {
  const QSignalBlocker block(floorWall_);
  floorWall_->setChecked(wall);
}

DoorsPanel::DoorsPanel(QWidget* parent) : QGroupBox("Doors", parent) {
  setObjectName("Frame1");
  auto* layout = new QFormLayout(this);
  doorSide_ = Named(new QLabel(this), "DoorSide");
  doorAbove_ = Named(new QLabel(this), "DoorAbove");
  doorBelow_ = Named(new QLabel(this), "DoorBelow");
  for (auto [value, caption] : {std::pair{doorSide_, "Side"}, std::pair{doorAbove_, "Above"},
                                std::pair{doorBelow_, "Below"}}) {
    auto* label = new QLabel(caption, this);
    label->setBuddy(value);
    layout->addRow(label, value);
  }
}

void DoorsPanel::Show(const DoorsView& view) {
  // Each value is heard with its label ("Side: Room 5"), not as a bare "None".
  for (auto [value, caption, text] : {std::tuple{doorSide_, "Side", &view.DoorSide},
                                      std::tuple{doorAbove_, "Above", &view.DoorAbove},
                                      std::tuple{doorBelow_, "Below", &view.DoorBelow}}) {
    value->setText(Q(*text));
    value->setAccessibleName(QString("%1: %2").arg(caption, Q(*text)));
  }
}

void DoorsPanel::Reset() { Show(DoorsView{"None", "None", "None"}); }

StaticMeshesPanel::StaticMeshesPanel(QWidget* parent) : QGroupBox("Static Meshes", parent) {
  setObjectName("Frame4");
  auto* layout = new QGridLayout(this);
  numStatic_ = Named(new QLabel(this), "NumStatic");
  layout->addWidget(numStatic_, 0, 0, 1, 2);
  auto* staticIdLabel = new QLabel("Static Mesh ID:", this);
  layout->addWidget(staticIdLabel, 1, 0, 1, 2);
  staticId_ = Named(new QComboBox(this), "StaticID");
  staticIdLabel->setBuddy(staticId_);
  staticId_->setAccessibleName("Static Mesh ID");
  layout->addWidget(staticId_, 2, 0, 1, 2);
  curMesh_ = Named(new QComboBox(this), "CurMesh");
  curMesh_->setAccessibleName("Static mesh to add");
  staticAdd_ = Named(new QPushButton("Add", this), "StaticAdd");
  staticRemove_ = Named(new QPushButton("Remove", this), "StaticRemove");
  staticAdd_->setAccessibleName("Add static mesh");
  staticRemove_->setAccessibleName("Remove static mesh");
  curMesh_->setEnabled(false);
  staticAdd_->setEnabled(false);
  staticRemove_->setEnabled(false);
  layout->addWidget(curMesh_, 3, 0, 1, 2);
  layout->addWidget(staticAdd_, 4, 0);
  layout->addWidget(staticRemove_, 4, 1);
  KeepPlaceWhenHidden(numStatic_);
  KeepPlaceWhenHidden(staticId_);
  connect(staticAdd_, &QPushButton::clicked, this,
          [this] { emit AddClicked(curMesh_->currentIndex()); });
  connect(staticRemove_, &QPushButton::clicked, this,
          [this] { emit RemoveClicked(staticId_->currentIndex()); });
}

void StaticMeshesPanel::Show(const SectorStaticsView& view, const std::vector<SectorStatic>& here) {
  if (view.NumStatic) numStatic_->setText(Q(*view.NumStatic));
  staticId_->clear();
  staticIndices_.clear();
  if (!here.empty()) {
    for (const SectorStatic& line : here) {
      staticId_->addItem(Q(line.Text));
      staticIndices_.push_back(line.Index);
    }
  } else if (view.StaticID) {
    staticId_->addItem(Q(*view.StaticID));
  }
  numStatic_->setVisible(view.Visible);
  staticId_->setVisible(view.Visible);
  staticRemove_->setEnabled(!here.empty());
}

void StaticMeshesPanel::ShowChoices(const std::vector<StaticMeshChoice>& choices) {
  curMesh_->clear();
  for (const StaticMeshChoice& choice : choices) curMesh_->addItem(Q(choice.Text));
  curMesh_->setEnabled(!choices.empty());
  staticAdd_->setEnabled(!choices.empty());
}

void StaticMeshesPanel::ChooseStatic(int index) {
  const auto line = std::find(staticIndices_.begin(), staticIndices_.end(), index);
  if (line != staticIndices_.end())
    staticId_->setCurrentIndex(static_cast<int>(line - staticIndices_.begin()));
}

void StaticMeshesPanel::Reset() {
  SectorStaticsView empty;
  empty.Visible = true;
  empty.NumStatic = "0 Static Meshes";
  Show(empty);
}

TriggersPanel::TriggersPanel(QWidget* parent) : QGroupBox("Triggers", parent) {
  setObjectName("Frame5");
  auto* layout = new QGridLayout(this);
  fdLabel_ = Named(new QLabel(this), "FD_lbl");
  auto* gotoObject = Named(new QPushButton("Find Object", this), "GotoObject");
  layout->addWidget(fdLabel_, 0, 0);
  layout->addWidget(gotoObject, 0, 1);
  triggerData_ = Named(new QListWidget(this), "TriggerData");
  triggerData_->setAccessibleName("Trigger actions");
  triggerData_->setMinimumHeight(80);
  layout->addWidget(triggerData_, 1, 0, 1, 2);
  triggerTimer_ = Named(new QLabel(this), "TriggerTimer");
  layout->addWidget(triggerTimer_, 2, 0);
  layout->addLayout(FlagBoxes(triggerFlags_, "TriggerFlags", "Trigger mask bit", this), 2, 1);
  connect(gotoObject, &QPushButton::clicked, this,
          [this] { emit ObjectSought(triggerData_->currentRow()); });
  // The trigger's mask is only shown: a click leaves the box as the mask has it.
  for (QCheckBox* box : triggerFlags_)
    connect(box, &QCheckBox::clicked, this, [box] { ShowFlag(box, TextColour(box)); });
}

void TriggersPanel::Show(const TriggersView& view) {
  // A part the sector has nothing for is emptied: lines left from another sector would be
  // read as this one's (and "Find Object" would act on them).
  fdLabel_->setText(Q(view.FDLabel));
  {
    const QSignalBlocker block(triggerData_);
    triggerData_->clear();
    if (view.TriggerData) {
      for (const std::string& line : view.TriggerData->Lines) triggerData_->addItem(Q(line));
      triggerData_->setCurrentRow(view.TriggerData->Selected);
    }
  }
  triggerTimer_->setText(view.TriggerTimer ? Q(*view.TriggerTimer) : QString("Timer: 0"));
  for (size_t i = 0; i < triggerFlags_.size(); ++i)
    ShowFlag(triggerFlags_[i], view.TriggerFlags ? (*view.TriggerFlags)[i] : kClearColour);
}

void TriggersPanel::Reset() {
  TriggersView empty;
  empty.FDLabel = "FD:0";
  Show(empty);
}

}  // namespace slab
