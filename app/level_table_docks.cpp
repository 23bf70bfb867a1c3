#include "app/level_table_docks.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/list_table.h"
#include "map/map_legend.h"

namespace slab {

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
  view_->installEventFilter(this);
  model_ = new ListTableModel(columns, this, [this](int row, int column) {
    const auto& cells = RowAt(row).Cells;
    return column < static_cast<int>(cells.size())
               ? QString::fromStdString(cells[static_cast<size_t>(column)])
               : ExtraCell(row, column);
  });
  // Sorted as the core compares cells ("Room 9" before "Room 10", "-2" before "1").
  proxy_ = new AcceptedRowsProxy(
      [](const QModelIndex& left, const QModelIndex& right) {
        return CompareCells(left.data().toString().toStdString(),
                            right.data().toString().toStdString()) < 0;
      },
      this);
  proxy_->setSourceModel(model_);
  SetUpListTable(view_, title + " list", proxy_);

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

void TableListDock::MarkStatic(int room, int index) {
  for (int row = 0; row < model_->rowCount({}); ++row) {
    const ListTarget& target = RowAt(row).Target;
    if (target.Room == room && target.Static == index) return MarkListRow(view_, proxy_, row);
  }
}

void TableListDock::ExtraCellsChanged() { model_->CellsChanged(); }

void TableListDock::ApplyFilter() {
  proxy_->SetAccepted(model_->rowCount({}), Matching(filter_->text().toStdString()));
}

void TableListDock::GoToRow(int row) {
  if (row < 0 || row >= model_->rowCount({})) return;
  const ListTarget& to = RowAt(row).Target;
  if (to.Room < 0) return;  // a room the level lacks is nowhere to go
  emit GoTo(to.Room, to.HasSector() ? to.SectorX : -1, to.HasSector() ? to.SectorZ : -1, to.Entity);
}

void TableListDock::GoToCurrent() { GoToRow(RowToGoTo(view_, proxy_)); }

bool TableListDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && IsEnterKey(event)) {
    if (view_->currentIndex().isValid()) GoToCurrent();
    return true;
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

TableListDock* NewLightsListDock(QWidget* parent) {
  return new BuiltRowsDock<ListRow>(
      "Lights", "LightsList", LightColumnTitles(),
      [](const Document& doc, const ObjectNames&) {
        return BuildLightRows(doc.CurrentLevel, doc.GameVersion);
      },
      parent);
}

TableListDock* NewCamerasListDock(QWidget* parent) {
  return new BuiltRowsDock<CameraRow>(
      "Cameras and sinks", "CamerasList", CameraColumnTitles(),
      [](const Document& doc, const ObjectNames&) { return BuildCameraRows(doc.CurrentLevel); },
      parent);
}

TableListDock* NewStaticsListDock(QWidget* parent) {
  return new BuiltRowsDock<ListRow>(
      "Static meshes", "StaticsList", StaticColumnTitles(),
      [](const Document& doc, const ObjectNames& names) {
        return BuildStaticRows(doc.CurrentLevel, doc.GameVersion, names);
      },
      parent);
}

TableListDock* NewSoundsListDock(QWidget* parent) {
  return new BuiltRowsDock<ListRow>(
      "Sound sources", "SoundsList", SoundColumnTitles(),
      [](const Document& doc, const ObjectNames&) { return BuildSoundRows(doc.CurrentLevel); },
      parent);
}

namespace {

// Paints a swatch cell itself: its colour whole (a selected row's highlight or a style's own
// cell look would hide it) and its text in the colour that reads on it.
class SwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QColor swatch = index.data(Qt::BackgroundRole).value<QBrush>().color();
    const Rgb text =
        ReadableTextOn(Rgb{static_cast<uint8_t>(swatch.red()), static_cast<uint8_t>(swatch.green()),
                           static_cast<uint8_t>(swatch.blue())});
    painter->save();
    painter->fillRect(option.rect, swatch);
    painter->setPen(QColor(text.R, text.G, text.B));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(8, 0);  // the text's margins
  }
};

}  // namespace

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
  // The colour and its kind as wide as they read; the meaning takes the rest of the dock's
  // width, however narrow, and wraps in it, its rows growing to fit.
  QHeaderView* header = table_->horizontalHeader();
  header->setMinimumSectionSize(24);
  header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(2, QHeaderView::Stretch);
  connect(header, &QHeaderView::sectionResized, table_, [this](int column) {
    if (column == 2) table_->resizeRowsToContents();
  });
  table_->setItemDelegateForColumn(0, new SwatchDelegate(table_));
  // The meanings wrap in a narrow dock rather than running off its edge.
  table_->setWordWrap(true);
  table_->setTextElideMode(Qt::ElideNone);
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
    table_->setItem(row, 0, swatch);
    const char* kind = e.Kind == LegendKind::Fill     ? "Square"
                       : e.Kind == LegendKind::Marker ? "Marker"
                                                      : "Line";
    table_->setItem(row, 1, new QTableWidgetItem(kind));
    table_->setItem(row, 2, new QTableWidgetItem(QString::fromStdString(e.Meaning)));
  }
  table_->resizeRowsToContents();
}

}  // namespace slab
