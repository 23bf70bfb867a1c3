#include "app/map_legend_dock.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "map/map_legend.h"

namespace slab {

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
