// The "Items" frame: the items on the selected sector, the chosen one's type, flags, OCB and
// place, and the buttons that edit it. It shows view models and says by a signal what the
// user asked for; the window turns that into a command.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "floordata/sector_panel.h"
#include "map/item_panel.h"
#include "map/place_texts.h"

namespace slab {

class ItemsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit ItemsPanel(QWidget* parent = nullptr);

  // The sector's count and, when the view rebuilds it, its list of entities.
  void ShowSectorItems(const SectorItemsView& items);
  // Makes a line of the sector's list current without a signal (-1: none).
  void MarkLine(int line);
  // Chooses a line of the sector's list as a click on it does (ItemChosen follows).
  void ChooseLine(int line);
  // The chosen entity: its caption, OCB, triggers, flags, where it stands, and its line of the
  // type list (-1 or past the list: none).
  void Show(const ItemPanelView& view, const std::optional<EntityPlace>& place, int typeRow);
  void ShowFlags(const ItemFlagColours& colours);
  // No entity chosen.
  void Clear();
  // No sector shown: the list emptied as well.
  void Reset();
  // The type list's lines; allItems: the box that chose them.
  void ShowTypes(const std::vector<std::string>& lines, bool allItems);
  // The OCB box's text as the user left it ("-" reads 0 but is the start of "-5").
  QString OcbText() const { return itemOcb_->text(); }
  void KeepOcbText(const QString& text);
  // Whether the OCB box holds a number the field cannot take (shown as refused).
  bool OcbRefused() const;

 signals:
  void ItemChosen(int line);
  void FlagToggled(ItemFlagBox flag);
  // Typing in the OCB box that makes a number the field takes (or the start of one).
  void OcbEdited(const std::string& text);
  // Typing that makes no such number: the box shows it is refused; the item keeps its OCB.
  void OcbRefusedText();
  // Enter, or the focus leaving the box: the typing so far is one finished edit.
  void OcbCommitted();
  void TypeChosen(int row);
  void RotateClicked();
  void AddClicked();
  // The Remove button, or Delete in the sector's item list.
  void RemoveClicked();
  void NextTriggerClicked();
  void AllItemsClicked();

 private:
  void BuildButtons();
  void Connect();
  void OcbTyped(const QString& text);
  void ShowOcbRefused(bool refused);

  QLabel* secItemCnt_;
  QLabel* itemId_;
  QLabel* itemPlace_;  // where the chosen entity stands
  QListWidget* secCurItem_;
  QPushButton* itemAdd_ = nullptr;
  QPushButton* itemRemove_ = nullptr;
  QPushButton* itemRotate_ = nullptr;
  QPushButton* itemNextTrigger_ = nullptr;
  QLineEdit* itemOcb_ = nullptr;
  QComboBox* itemDesc_;
  QCheckBox* allItems_;
  std::array<QCheckBox*, 5> activeFlags_{};
  QCheckBox* itemInvisible_;
  QCheckBox* itemCb_;
  QLabel* itemNumTriggers_;
};

}  // namespace slab
