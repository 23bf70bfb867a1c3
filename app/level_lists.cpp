#include "app/level_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

#include "app/list_table.h"
#include "app/panel_parts.h"

namespace slab {
namespace {

constexpr char kChangesTitle[] = "Changes";

std::vector<std::string> ColumnsOf(const ListDockSpec& spec) {
  std::vector<std::string> columns = spec.Columns;
  if (spec.ChangesColumn) columns.emplace_back(kChangesTitle);
  return columns;
}

}  // namespace

LevelListDock::LevelListDock(ListDockSpec spec, const Document& doc, const ObjectNames& names,
                             const TriggerIndex& triggers, QWidget* parent)
    : QDockWidget(spec.Title, parent),
      spec_(std::move(spec)),
      doc_(doc),
      names_(names),
      triggers_(triggers) {
  Named(this, spec_.BaseName + "Dock");
  setAccessibleName(spec_.Title);
  auto* body = new QWidget(this);
  view_ = Named(new QTableView(body), spec_.BaseName);
  view_->installEventFilter(this);
  // The list asks for the width of its columns, so it opens with its titles in view where the
  // window has the room.
  view_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  model_ = new ListTableModel(ColumnsOf(spec_), this,
                              [this](int row, int column) { return Cell(row, column); });
  // Cells in the order every level list sorts them ("Room 9" before "Room 10", "-2" before
  // "1"); the row-order column as the rows stand.
  proxy_ = new AcceptedRowsProxy(
      [order = spec_.RowOrderColumn](const QModelIndex& left, const QModelIndex& right) {
        if (left.column() == order) return left.row() < right.row();
        return CompareCells(left.data().toString().toStdString(),
                            right.data().toString().toStdString()) < 0;
      },
      this);
  proxy_->setSourceModel(model_);
  SetUpListTable(view_, spec_.Title + " list", proxy_);
  if (spec_.ChangesColumn) {
    // The mark stands beside the first column, where it is seen without scrolling.
    const int changes = static_cast<int>(spec_.Columns.size());
    view_->horizontalHeader()->moveSection(changes, 1);
    view_->setColumnHidden(changes, true);
  }

  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(BuildControls(body));
  layout->addWidget(view_, 1);
  setWidget(body);

  connect(filter_, &QLineEdit::returnPressed, this, [this] { GoToRow(RowToGoTo(view_, proxy_)); });
  connect(view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) GoToRow(proxy_->mapToSource(index).row());
  });
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible && stale_) Rebuild(staleLevel_);
  });
}

QWidget* LevelListDock::BuildControls(QWidget* body) {
  auto* controls = new QWidget(body);
  auto* row = new QHBoxLayout(controls);
  row->setContentsMargins(0, 0, 0, 0);
  filter_ = Named(new QLineEdit(controls), spec_.FilterName);
  filter_->setAccessibleName(spec_.Title + " filter");
  filter_->setPlaceholderText("Filter");
  filter_->setClearButtonEnabled(true);
  row->addWidget(filter_, 1);
  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  if (!spec_.TypeName.isEmpty()) {
    type_ = Named(new QComboBox(controls), spec_.TypeName);
    type_->setAccessibleName("Type of " + spec_.Title.toLower());
    type_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    type_->setMinimumContentsLength(12);
    row->addWidget(type_);
    connect(type_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
  }
  for (const ListDockSpec::MarkBox& box : spec_.MarkBoxes) {
    auto* check = Named(new QCheckBox(box.Caption, controls), box.Name);
    check->setAccessibleName(box.Caption);
    row->addWidget(check);
    connect(check, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
    marks_.push_back(check);
  }
  return controls;
}

void LevelListDock::LevelChanged(bool newLevel) {
  staleLevel_ = staleLevel_ || newLevel;
  stale_ = true;
  if (isVisible()) Rebuild(staleLevel_);
}

void LevelListDock::Rebuild(bool newLevel) {
  const QModelIndex current = view_->currentIndex();
  const int currentRow = current.isValid() && !newLevel ? proxy_->mapToSource(current).row() : -1;
  const int keepType = type_ && type_->currentIndex() > 0 ? type_->currentData().toInt() : kAnyType;
  static const Document kNoDocument;
  const Document& doc = doc_.LevelLoaded ? doc_ : kNoDocument;
  model_->Reset([&] {
    rows_ = spec_.Build(doc, names_, triggers_);
    return static_cast<int>(rows_.Rows.size());
  });
  FillTypeChoices(keepType);
  ApplyFilter();
  if (currentRow >= 0 && currentRow < model_->rowCount({})) {
    const QModelIndex again = proxy_->mapFromSource(model_->index(currentRow, 0));
    if (again.isValid()) view_->setCurrentIndex(again);
  }
  // Measured once the filter has let the rows through (before, the table shows none and the
  // columns would only fit their titles); an edit later keeps the widths the user gave them.
  if ((newLevel || !measured_) && model_->rowCount({}) > 0) {
    view_->resizeColumnsToContents();
    measured_ = true;
  }
  stale_ = staleLevel_ = false;
}

void LevelListDock::FillTypeChoices(int keepType) {
  if (!type_) return;
  const QSignalBlocker blocker(type_);
  type_->clear();
  type_->addItem(spec_.AnyType, kAnyType);
  for (const TypeChoice& choice : rows_.Choices)
    type_->addItem(QString::fromStdString(choice.Text), choice.Type);
  const int at = keepType == kAnyType ? 0 : type_->findData(keepType);
  type_->setCurrentIndex(at < 0 ? 0 : at);
}

void LevelListDock::ApplyFilter() {
  uint8_t marks = 0;
  for (size_t i = 0; i < marks_.size(); ++i)
    if (marks_[i]->isChecked()) marks |= spec_.MarkBoxes[i].Mark;
  const ListFilter filter{filter_->text().toStdString(),
                          type_ ? type_->currentData().toInt() : kAnyType};
  proxy_->SetAccepted(model_->rowCount({}), MatchingRows(rows_, filter, marks));
}

QString LevelListDock::Cell(int row, int column) const {
  const ListRow& at = rows_.Rows[static_cast<size_t>(row)];
  if (column < static_cast<int>(at.Cells.size()))
    return QString::fromStdString(at.Cells[static_cast<size_t>(column)]);
  // The Changes column.
  const int room = at.Target.Room;
  return room >= 0 && static_cast<size_t>(room) < changed_.size() && changed_[room] != 0
             ? QString("changed")
             : QString();
}

void LevelListDock::MarkRow(const std::function<bool(const ListTarget&)>& wanted) {
  for (size_t row = 0; row < rows_.Rows.size(); ++row)
    if (wanted(rows_.Rows[row].Target)) return MarkListRow(view_, proxy_, static_cast<int>(row));
}

void LevelListDock::MarkEntity(int entity) {
  if (entity < 0) return;
  MarkRow([entity](const ListTarget& target) { return target.Entity == entity; });
}

void LevelListDock::MarkStatic(int room, int index) {
  MarkRow([room, index](const ListTarget& target) {
    return target.Room == room && target.Static == index;
  });
}

void LevelListDock::MarkChangedRooms(std::optional<std::vector<int>> rooms) {
  if (!spec_.ChangesColumn) return;
  changed_.clear();
  for (int room : rooms.value_or(std::vector<int>{})) {
    if (room < 0) continue;
    if (static_cast<size_t>(room) >= changed_.size()) changed_.resize(room + 1, 0);
    changed_[static_cast<size_t>(room)] = 1;
  }
  view_->setColumnHidden(static_cast<int>(spec_.Columns.size()), !rooms.has_value());
  model_->CellsChanged();
}

void LevelListDock::GoToRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= rows_.Rows.size()) return;
  const ListTarget& to = rows_.Rows[static_cast<size_t>(row)].Target;
  if (to.Room < 0) return;  // a room the level lacks is nowhere to go
  emit GoTo(to.Room, to.HasSector() ? to.SectorX : -1, to.HasSector() ? to.SectorZ : -1, to.Entity);
}

bool LevelListDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && IsEnterKey(event)) {
    if (view_->currentIndex().isValid()) GoToRow(RowToGoTo(view_, proxy_));
    return true;
  }
  return QDockWidget::eventFilter(watched, event);
}

ListDockSpec ItemsListSpec() {
  return {.Title = "Items",
          .BaseName = "ItemsList",
          .FilterName = "ItemFilter",
          .Columns = ItemColumnTitles(),
          .RowOrderColumn = static_cast<int>(ItemColumn::Index),
          .TypeName = "ItemTypeFilter",
          .AnyType = "All objects",
          .Build = [](const Document& doc, const ObjectNames& names, const TriggerIndex& triggers) {
            return ItemListRows(doc.CurrentLevel, doc.GameVersion, names, triggers);
          }};
}

ListDockSpec TriggersListSpec() {
  return {.Title = "Triggers",
          .BaseName = "TriggersList",
          .FilterName = "TriggerFilter",
          .Columns = TriggerColumnTitles(),
          .TypeName = "TriggerTypeFilter",
          .AnyType = "All types",
          .Build = [](const Document& doc, const ObjectNames& names, const TriggerIndex&) {
            return TriggerListRows(doc.CurrentLevel, doc.GameVersion, names);
          }};
}

ListDockSpec RoomsListSpec() {
  return {.Title = "Rooms",
          .BaseName = "RoomsList",
          .FilterName = "RoomsFilter",
          .Columns = RoomColumnTitles(),
          .MarkBoxes = {{"Has triggers", "RoomsTriggers", kRoomMarkTriggers},
                        {"Water", "RoomsWater", kRoomMarkWater},
                        {"Has alternate", "RoomsAlternate", kRoomMarkAlternate}},
          .ChangesColumn = true,
          .Build = [](const Document& doc, const ObjectNames&, const TriggerIndex&) {
            return RoomListRows(doc.CurrentLevel, doc.GameVersion);
          }};
}

ListDockSpec LightsListSpec() {
  return {.Title = "Lights",
          .BaseName = "LightsList",
          .FilterName = "LightsFilter",
          .Columns = LightColumnTitles(),
          .Build = [](const Document& doc, const ObjectNames&, const TriggerIndex&) {
            return PlainListRows(BuildLightRows(doc.CurrentLevel, doc.GameVersion));
          }};
}

ListDockSpec CamerasListSpec() {
  return {.Title = "Cameras and sinks",
          .BaseName = "CamerasList",
          .FilterName = "CamerasFilter",
          .Columns = CameraColumnTitles(),
          .Build = [](const Document& doc, const ObjectNames&, const TriggerIndex&) {
            return PlainListRows(BuildCameraRows(doc.CurrentLevel));
          }};
}

ListDockSpec StaticsListSpec() {
  return {.Title = "Static meshes",
          .BaseName = "StaticsList",
          .FilterName = "StaticsFilter",
          .Columns = StaticColumnTitles(),
          .Build = [](const Document& doc, const ObjectNames& names, const TriggerIndex&) {
            return PlainListRows(BuildStaticRows(doc.CurrentLevel, doc.GameVersion, names));
          }};
}

ListDockSpec SoundsListSpec() {
  return {.Title = "Sound sources",
          .BaseName = "SoundsList",
          .FilterName = "SoundsFilter",
          .Columns = SoundColumnTitles(),
          .Build = [](const Document& doc, const ObjectNames&, const TriggerIndex&) {
            return PlainListRows(BuildSoundRows(doc.CurrentLevel));
          }};
}

}  // namespace slab
