// The panels that show the selected sector: "Sectors" with its wall box and minecart buttons,
// "Doors", "Static Meshes" and "Triggers". Each shows a view model and says what the user
// asked for by a signal; the window turns that into a command.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <vector>

#include "floordata/sector_panel.h"
#include "level/game.h"
#include "map/floor_edits.h"
#include "map/static_edits.h"

namespace slab {

class SectorInfoPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit SectorInfoPanel(QWidget* parent = nullptr);
  void Show(const SectorsView& view);
  void Reset();
  // The later games name two of the buttons after what they do there.
  void ShowCaptionsFor(Game game);
  // The wall box as the level has it, whatever a click left it as.
  void ShowWall(bool wall);

 signals:
  void WallClicked(bool checked);
  void MinecartChosen(MinecartMode mode);

 private:
  QCheckBox* floorWall_;
  QLineEdit* floorHeight_;
  QLineEdit* ceilingHeight_;
  QPushButton* minecartStop_;
  QPushButton* fd20_;
  QPushButton* fd21_;
};

class DoorsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit DoorsPanel(QWidget* parent = nullptr);
  void Show(const DoorsView& view);
  void Reset();

 private:
  QLabel* doorSide_;
  QLabel* doorAbove_;
  QLabel* doorBelow_;
};

class StaticMeshesPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit StaticMeshesPanel(QWidget* parent = nullptr);
  // The sector's count and the statics standing on it (StaticID lists them all).
  void Show(const SectorStaticsView& view, const std::vector<SectorStatic>& here = {});
  void Reset();
  // CurMesh: the level's static meshes to place.
  void ShowChoices(const std::vector<StaticMeshChoice>& choices);
  // Chooses the line of StaticID that lists the room's static mesh `index`, where it lists it.
  void ChooseStatic(int index);

 signals:
  // StaticAdd with CurMesh's line.
  void AddClicked(int choice);
  // StaticRemove with StaticID's line.
  void RemoveClicked(int line);

 private:
  QLabel* numStatic_;
  QComboBox* staticId_;
  std::vector<int> staticIndices_;  // the room's static mesh of each line of StaticID
  QComboBox* curMesh_;
  QPushButton* staticAdd_;
  QPushButton* staticRemove_;
};

class TriggersPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit TriggersPanel(QWidget* parent = nullptr);
  void Show(const TriggersView& view);
  void Reset();

 signals:
  // "Find Object" on a line of the trigger's actions (-1: none chosen).
  void ObjectSought(int triggerLine);

 private:
  QLabel* fdLabel_;
  QListWidget* triggerData_;
  QLabel* triggerTimer_;
  std::array<QCheckBox*, 5> triggerFlags_{};
};

}  // namespace slab
