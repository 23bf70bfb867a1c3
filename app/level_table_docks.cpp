#include "app/level_table_docks.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "map/map_legend.h"

namespace slab {

// The cells of the dock's rows as a table; the rows stay in the dock.
class TableRowsModel : public QAbstractTableModel {
 public:
  using Cell = std::function<QString(int row, int column)>;

  TableRowsModel(const std::vector<std::string>& titles, Cell cell, QObject* parent)
      : QAbstractTableModel(parent), cell_(std::move(cell)) {
    for (const std::string& title : titles) titles_ << QString::fromStdString(title);
  }

  // build replaces the rows and returns their number; the views let go of the old rows first.
  void Reset(const std::function<int()>& build) {
    beginResetModel();
    rows_ = build();
    endResetModel();
  }

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
    return cell_(index.row(), index.column());
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= titles_.size())
      return {};
    return titles_[section];
  }

 private:
  QStringList titles_;
  Cell cell_;
  int rows_ = 0;
};

// Shows the rows the core's filter accepted, computed once per change of the filter, sorted
// as the core compares cells ("Room 9" before "Room 10", "-2" before "1").
class TableRowsProxy : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void SetAccepted(int rows, const std::vector<int>& matching) {
    accepted_.assign(static_cast<size_t>(rows), 0);
    for (int row : matching)
      if (row >= 0 && row < rows) accepted_[static_cast<size_t>(row)] = 1;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return row >= 0 && static_cast<size_t>(row) < accepted_.size() && accepted_[row];
  }
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    return CompareCells(left.data().toString().toStdString(),
                        right.data().toString().toStdString()) < 0;
  }

 private:
  std::vector<char> accepted_;
};

TableListDock::TableListDock(const QString& title, const QString& baseName,
                             const std::vector<std::string>& columns, QWidget* parent)
    : QDockWidget(title, parent) {
  setObjectName(baseName + "Dock");
  setAccessibleName(title);
  auto* body = new QWidget(this);
  filter_ = new QLineEdit(body);
  filter_->setObjectName(baseName.chopped(4) + "Filter");  // "RoomsList" -> "RoomsFilter"
  filter_->setAccessibleName(title + " filter");
  filter_->setPlaceholderText("Filter");
  filter_->setClearButtonEnabled(true);
  view_ = new QTableView(body);
  view_->setObjectName(baseName);
  view_->setAccessibleName(title + " list");
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  // Column widths from the first rows only: measuring thousands of rows costs a visible pause.
  view_->horizontalHeader()->setResizeContentsPrecision(200);
  view_->horizontalHeader()->setStretchLastSection(true);
  view_->installEventFilter(this);
  model_ = new TableRowsModel(
      columns,
      [this](int row, int column) {
        const auto& cells = RowAt(row).Cells;
        return column < static_cast<int>(cells.size())
                   ? QString::fromStdString(cells[static_cast<size_t>(column)])
                   : ExtraCell(row, column);
      },
      this);
  proxy_ = new TableRowsProxy(this);
  proxy_->setSourceModel(model_);
  view_->setModel(proxy_);
  // The rows' own order until the user clicks a column title.
  view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  view_->setSortingEnabled(true);

  controls_ = new QWidget(body);
  auto* filters = new QHBoxLayout(controls_);
  filters->setContentsMargins(0, 0, 0, 0);
  filters->addWidget(filter_, 1);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(controls_);
  layout->addWidget(view_, 1);
  setWidget(body);

  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(filter_, &QLineEdit::returnPressed, this, [this] { GoToCurrent(); });
  connect(view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) GoToRow(proxy_->mapToSource(index).row());
  });
}

int TableListDock::VisibleRows() const { return proxy_->rowCount(); }

void TableListDock::AddFilterControl(QWidget* control) {
  control->setParent(controls_);
  controls_->layout()->addWidget(control);
}

void TableListDock::Refresh(const Document& doc, const ObjectNames& names) {
  const QModelIndex current = view_->currentIndex();
  const int currentRow = current.isValid() ? proxy_->mapToSource(current).row() : -1;
  static const Document kNoDocument;
  model_->Reset([&] { return Build(doc.LevelLoaded ? doc : kNoDocument, names); });
  ApplyFilter();
  if (currentRow >= 0 && currentRow < model_->rowCount({})) {
    const QModelIndex again = proxy_->mapFromSource(model_->index(currentRow, 0));
    if (again.isValid()) view_->setCurrentIndex(again);
  }
  // Measured once there are rows to measure; later the widths the user gave them stay.
  if (!measured_ && model_->rowCount({}) > 0) {
    view_->resizeColumnsToContents();
    measured_ = true;
  }
}

void TableListDock::ExtraCellsChanged() {
  const int rows = model_->rowCount({}), columns = model_->columnCount({});
  if (rows > 0) emit model_->dataChanged(model_->index(0, 0), model_->index(rows - 1, columns - 1));
}

void TableListDock::ApplyFilter() {
  proxy_->SetAccepted(model_->rowCount({}), Matching(filter_->text().toStdString()));
}

void TableListDock::GoToRow(int row) {
  if (row < 0 || row >= model_->rowCount({})) return;
  const ListTarget& to = RowAt(row).Target;
  if (to.Room < 0) return;  // a room the level lacks is nowhere to go
  emit GoTo(to.Room, to.HasSector() ? to.SectorX : -1, to.HasSector() ? to.SectorZ : -1, to.Entity);
}

void TableListDock::GoToCurrent() {
  QModelIndex index = view_->currentIndex();
  if (!index.isValid()) {
    // Enter in the filter box goes to the first row it left.
    index = proxy_->index(0, 0);
    if (!index.isValid()) return;
    view_->setCurrentIndex(index);
  }
  GoToRow(proxy_->mapToSource(index).row());
}

bool TableListDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (view_->currentIndex().isValid()) GoToCurrent();
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

namespace {

constexpr char kChangesTitle[] = "Changes";

std::vector<std::string> RoomsDockColumns() {
  std::vector<std::string> columns = RoomColumnTitles();
  columns.emplace_back(kChangesTitle);
  return columns;
}

}  // namespace

RoomsListDock::RoomsListDock(QWidget* parent)
    : RowsDock("Rooms", "RoomsList", RoomsDockColumns(), parent) {
  // The mark stands beside the room's number, where it is seen without scrolling.
  const int changes = static_cast<int>(RoomColumnTitles().size());
  View()->horizontalHeader()->moveSection(changes, 1);
  View()->setColumnHidden(changes, true);
  auto box = [this](const char* caption, const char* name) {
    auto* check = new QCheckBox(caption);
    check->setObjectName(name);
    check->setAccessibleName(caption);
    AddFilterControl(check);
    connect(check, &QCheckBox::toggled, this, [this] { ApplyFilter(); });
    return check;
  };
  triggers_ = box("Has triggers", "RoomsTriggers");
  water_ = box("Water", "RoomsWater");
  alternate_ = box("Has alternate", "RoomsAlternate");
}

int RoomsListDock::Build(const Document& doc, const ObjectNames&) {
  return Keep(BuildRoomRows(doc.CurrentLevel, doc.GameVersion));
}

void RoomsListDock::MarkChangedRooms(std::optional<std::vector<int>> rooms) {
  changed_.clear();
  if (rooms) {
    for (int room : *rooms) {
      if (room < 0) continue;
      if (static_cast<size_t>(room) >= changed_.size()) changed_.resize(room + 1, 0);
      changed_[static_cast<size_t>(room)] = 1;
    }
  }
  View()->setColumnHidden(static_cast<int>(RoomColumnTitles().size()), !rooms.has_value());
  ExtraCellsChanged();
}

QString RoomsListDock::ExtraCell(int row, int) const {
  const int room = RowAt(row).Target.Room;
  return room >= 0 && static_cast<size_t>(room) < changed_.size() && changed_[room] != 0
             ? QString("changed")
             : QString();
}

std::vector<int> RoomsListDock::Matching(const std::string& text) const {
  return MatchingRows(rows_, RoomFilter{text, triggers_->isChecked(), water_->isChecked(),
                                        alternate_->isChecked()});
}

LightsListDock::LightsListDock(QWidget* parent)
    : RowsDock("Lights", "LightsList", LightColumnTitles(), parent) {}

int LightsListDock::Build(const Document& doc, const ObjectNames&) {
  return Keep(BuildLightRows(doc.CurrentLevel, doc.GameVersion));
}

CamerasListDock::CamerasListDock(QWidget* parent)
    : RowsDock("Cameras and sinks", "CamerasList", CameraColumnTitles(), parent) {}

int CamerasListDock::Build(const Document& doc, const ObjectNames&) {
  return Keep(BuildCameraRows(doc.CurrentLevel));
}

StaticsListDock::StaticsListDock(QWidget* parent)
    : RowsDock("Static meshes", "StaticsList", StaticColumnTitles(), parent) {}

int StaticsListDock::Build(const Document& doc, const ObjectNames& names) {
  return Keep(BuildStaticRows(doc.CurrentLevel, doc.GameVersion, names));
}

SoundsListDock::SoundsListDock(QWidget* parent)
    : RowsDock("Sound sources", "SoundsList", SoundColumnTitles(), parent) {}

int SoundsListDock::Build(const Document& doc, const ObjectNames&) {
  return Keep(BuildSoundRows(doc.CurrentLevel));
}

MapLegendDock::MapLegendDock(QWidget* parent) : QDockWidget("Map Legend", parent) {
  setObjectName("MapLegendDock");
  setAccessibleName("Map Legend");
  table_ = new QTableWidget(0, 3, this);
  table_->setObjectName("MapLegendTable");
  table_->setAccessibleName("Map legend");
  table_->setHorizontalHeaderLabels({"Colour", "Drawn as", "Meaning"});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->horizontalHeader()->setStretchLastSection(true);
  setWidget(table_);
  ShowGame(Game::TR2);
}

void MapLegendDock::ShowGame(Game gameVersion) {
  const std::vector<LegendEntry> entries = MapLegend(gameVersion);
  table_->setRowCount(static_cast<int>(entries.size()));
  for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
    const LegendEntry& e = entries[static_cast<size_t>(row)];
    const QColor colour(e.Colour.R, e.Colour.G, e.Colour.B);
    // The swatch says its colour too, for whoever cannot see it.
    auto* swatch =
        new QTableWidgetItem(QString("%1, %2, %3").arg(e.Colour.R).arg(e.Colour.G).arg(e.Colour.B));
    swatch->setBackground(colour);
    swatch->setForeground(colour.lightness() < 128 ? Qt::white : Qt::black);
    table_->setItem(row, 0, swatch);
    const char* kind = e.Kind == LegendKind::Fill     ? "Square"
                       : e.Kind == LegendKind::Marker ? "Marker"
                                                      : "Line";
    table_->setItem(row, 1, new QTableWidgetItem(kind));
    table_->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(e.Meaning)));
  }
  table_->resizeColumnsToContents();
}

}  // namespace slab
