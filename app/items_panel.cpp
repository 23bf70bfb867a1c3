#include "app/items_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>

#include "app/panel_parts.h"

namespace slab {
namespace {

// The OCB box. Undo and redo are the window's, not the box's: the level changes as the user
// types, so a box that undid only its own text would show a value the item does not hold.
class OcbBox : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  bool event(QEvent* event) override {
    // Letting the shortcut through reaches Edit > Undo and Edit > Redo.
    if (event->type() == QEvent::ShortcutOverride && IsHistoryKey(static_cast<QKeyEvent*>(event)))
      return false;
    return QLineEdit::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override {
    // With nothing to undo the shortcut is off and the key arrives here: it does nothing.
    if (IsHistoryKey(event)) return event->ignore();
    QLineEdit::keyPressEvent(event);
  }

 private:
  static bool IsHistoryKey(QKeyEvent* key) {
    const QKeyCombination pressed = key->keyCombination();
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           pressed == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
  }
};

}  // namespace

ItemsPanel::ItemsPanel(QWidget* parent) : QGroupBox("Items", parent) {
  setObjectName("Frame2");
  auto* layout = new QGridLayout(this);
  secItemCnt_ = Named(new QLabel(this), "SecItemCnt");
  KeepPlaceWhenHidden(secItemCnt_);
  layout->addWidget(secItemCnt_, 0, 0);
  itemId_ = Named(new QLabel(this), "ItemID");
  layout->addWidget(itemId_, 0, 1, 1, 2);
  itemPlace_ = Named(new QLabel(this), "ItemPlace");
  itemPlace_->setWordWrap(true);
  // An empty line keeps its height, so the panels do not jump as items are chosen.
  itemPlace_->setMinimumHeight(itemPlace_->fontMetrics().lineSpacing());
  layout->addWidget(itemPlace_, 1, 0, 1, 3);
  secCurItem_ = Named(new QListWidget(this), "SecCurItem");
  secCurItem_->setAccessibleName("Items on the sector");
  secCurItem_->setMaximumHeight(70);
  layout->addWidget(secCurItem_, 2, 0, 3, 1);
  BuildButtons();
  layout->addWidget(itemAdd_, 2, 1);
  layout->addWidget(itemRemove_, 2, 2);
  layout->addWidget(itemRotate_, 3, 1);
  layout->addWidget(itemNextTrigger_, 3, 2);
  auto* ocbRow = new QHBoxLayout;
  auto* ocbLabel = new QLabel("OCB:", this);
  ocbRow->addWidget(ocbLabel);
  ocbLabel->setBuddy(itemOcb_);
  ocbRow->addWidget(itemOcb_);
  layout->addLayout(ocbRow, 4, 1, 1, 2);
  itemDesc_ = Named(new QComboBox(this), "ItemDesc");
  itemDesc_->setAccessibleName("Item type");
  layout->addWidget(itemDesc_, 5, 0, 1, 2);
  allItems_ = Named(new QCheckBox("All Items", this), "AllItems");
  layout->addWidget(allItems_, 5, 2);
  layout->addLayout(FlagBoxes(activeFlags_, "ActiveFlags", "Activation bit", this), 6, 0, 1, 3);
  itemInvisible_ = Named(new QCheckBox("Invisible", this), "ItemInvisible");
  itemCb_ = Named(new QCheckBox("Clear Body", this), "ItemCB");
  layout->addWidget(itemInvisible_, 7, 0);
  layout->addWidget(itemCb_, 7, 1);
  itemNumTriggers_ = Named(new QLabel(this), "ItemNumTriggers");
  layout->addWidget(itemNumTriggers_, 8, 0, 1, 3);
  Connect();
}

void ItemsPanel::BuildButtons() {
  itemAdd_ = Named(new QPushButton("Add", this), "ItemAdd");
  itemAdd_->setAccessibleName("Add item");
  itemRemove_ = Named(new QPushButton("Remove", this), "ItemRemove");
  itemRemove_->setAccessibleName("Remove item");
  itemRemove_->setEnabled(false);  // until an entity is chosen
  itemRotate_ = Named(new QPushButton("Rotate", this), "ItemRotate");
  itemNextTrigger_ = Named(new QPushButton("Next Trigger", this), "ItemNextTrigger");
  itemOcb_ = Named(new OcbBox(this), "ItemOCB");
  itemOcb_->setAccessibleName("OCB");
  itemOcb_->setToolTip("A whole number from -32768 to 32767; Enter finishes the edit.");
}

void ItemsPanel::Connect() {
  connect(secCurItem_, &QListWidget::currentRowChanged, this, &ItemsPanel::ItemChosen);
  // Delete removes the chosen item while the user is in the list that chose it. The key itself,
  // not the toolkit's Delete sequence: on X11 desktops that also holds Ctrl+D, Duplicate's key.
  auto* remove = new QShortcut(QKeySequence(Qt::Key_Delete), secCurItem_, nullptr, nullptr,
                               Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, &ItemsPanel::RemoveClicked);
  for (size_t i = 0; i < activeFlags_.size(); ++i) {
    const auto flag = static_cast<ItemFlagBox>(static_cast<int>(ItemFlagBox::Active0) + i);
    connect(activeFlags_[i], &QCheckBox::clicked, this, [this, flag] { emit FlagToggled(flag); });
  }
  connect(itemInvisible_, &QCheckBox::clicked, this,
          [this] { emit FlagToggled(ItemFlagBox::Invisible); });
  connect(itemCb_, &QCheckBox::clicked, this, [this] { emit FlagToggled(ItemFlagBox::ClearBody); });
  connect(itemOcb_, &QLineEdit::textEdited, this, &ItemsPanel::OcbTyped);
  connect(itemOcb_, &QLineEdit::editingFinished, this, &ItemsPanel::OcbCommitted);
  connect(itemDesc_, &QComboBox::activated, this, &ItemsPanel::TypeChosen);
  connect(itemRotate_, &QPushButton::clicked, this, &ItemsPanel::RotateClicked);
  connect(itemAdd_, &QPushButton::clicked, this, &ItemsPanel::AddClicked);
  connect(itemRemove_, &QPushButton::clicked, this, &ItemsPanel::RemoveClicked);
  connect(itemNextTrigger_, &QPushButton::clicked, this, &ItemsPanel::NextTriggerClicked);
  connect(allItems_, &QCheckBox::clicked, this, &ItemsPanel::AllItemsClicked);
}

void ItemsPanel::OcbTyped(const QString& text) {
  const bool refused = CheckOcbText(text.toStdString()) == OcbText::Refused;
  ShowOcbRefused(refused);
  if (refused)
    emit OcbRefusedText();
  else
    emit OcbEdited(text.toStdString());
}

bool ItemsPanel::OcbRefused() const { return itemOcb_->property("refused").toBool(); }

void ItemsPanel::ShowOcbRefused(bool refused) {
  if (OcbRefused() == refused) return;
  itemOcb_->setProperty("refused", refused);
  QPalette palette = itemOcb_->style()->standardPalette();
  if (refused) {
    palette.setColor(QPalette::Base, QColor(255, 220, 220));
    palette.setColor(QPalette::Text, QColor(160, 0, 0));
  }
  itemOcb_->setPalette(refused ? palette : QPalette());
  itemOcb_->setAccessibleDescription(refused ? "Refused: not a whole number from -32768 to 32767"
                                             : QString());
}

void ItemsPanel::ShowSectorItems(const SectorItemsView& items) {
  if (items.SecItemCnt) secItemCnt_->setText(Q(*items.SecItemCnt));
  secItemCnt_->setVisible(items.SecItemCntVisible);
  const QSignalBlocker block(secCurItem_);
  secCurItem_->clear();
  if (items.SecCurItem) {
    for (const std::string& line : items.SecCurItem->Lines) secCurItem_->addItem(Q(line));
    secCurItem_->setCurrentRow(items.SecCurItem->Selected);
  }
}

void ItemsPanel::MarkLine(int line) {
  const QSignalBlocker block(secCurItem_);
  secCurItem_->setCurrentRow(line);
}

void ItemsPanel::ChooseLine(int line) { secCurItem_->setCurrentRow(line); }

void ItemsPanel::Show(const ItemPanelView& view, const std::optional<EntityPlace>& place,
                      int typeRow) {
  itemId_->setText(Q(view.Caption));
  itemPlace_->setText(place ? Q(place->Text()) : QString());
  {
    const QSignalBlocker block(itemOcb_);
    itemOcb_->setText(Q(view.ItemOCB));
  }
  ShowOcbRefused(false);
  if (view.ItemNumTriggers) itemNumTriggers_->setText(Q(*view.ItemNumTriggers));
  ShowFlags(view.Colours);
  itemRemove_->setEnabled(true);
  const QSignalBlocker block(itemDesc_);
  itemDesc_->setCurrentIndex(typeRow < itemDesc_->count() ? typeRow : -1);
}

void ItemsPanel::ShowFlags(const ItemFlagColours& colours) {
  for (size_t i = 0; i < activeFlags_.size(); ++i)
    ShowFlag(activeFlags_[i], colours.ActiveFlags[i]);
  ShowFlag(itemInvisible_, colours.ItemInvisible);
  ShowFlag(itemCb_, colours.ItemCB);
}

void ItemsPanel::Clear() {
  itemId_->clear();
  itemPlace_->clear();
  {
    const QSignalBlocker block(itemOcb_);
    itemOcb_->clear();
  }
  ShowOcbRefused(false);
  itemNumTriggers_->setText("This object has 0 triggers");
  ShowFlags(ItemFlagColours{});
  itemRemove_->setEnabled(false);
  const QSignalBlocker block(itemDesc_);
  itemDesc_->setCurrentIndex(-1);
}

void ItemsPanel::Reset() {
  {
    const QSignalBlocker block(secCurItem_);
    secCurItem_->clear();
  }
  secItemCnt_->setText("Of 1");
  secItemCnt_->show();
  Clear();
}

void ItemsPanel::ShowTypes(const std::vector<std::string>& lines, bool allItems) {
  {
    const QSignalBlocker block(allItems_);
    allItems_->setChecked(allItems);
  }
  const QSignalBlocker block(itemDesc_);
  itemDesc_->clear();
  for (const std::string& line : lines) itemDesc_->addItem(Q(line));
  itemDesc_->setCurrentIndex(-1);
}

void ItemsPanel::KeepOcbText(const QString& text) {
  const QSignalBlocker block(itemOcb_);
  itemOcb_->setText(text);
}

}  // namespace slab
