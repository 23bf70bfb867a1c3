#include "app/differences_dock.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace slab {
namespace {

// The place a line leads to, kept on its item.
constexpr int kRoomRole = Qt::UserRole;
constexpr int kARole = Qt::UserRole + 1;
constexpr int kBRole = Qt::UserRole + 2;
constexpr int kEntityRole = Qt::UserRole + 3;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QTreeWidgetItem* Line(const QString& text, const DiffPlace& place) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setToolTip(0, text);
  item->setData(0, kRoomRole, place.Room);
  item->setData(0, kARole, place.A);
  item->setData(0, kBRole, place.B);
  item->setData(0, kEntityRole, place.Entity);
  return item;
}

}  // namespace

DifferencesDock::DifferencesDock(QWidget* parent) : QDockWidget("Differences", parent) {
  setObjectName("DifferencesDock");
  setAccessibleName("Differences");
  auto* body = new QWidget(this);
  summary_ = new QLabel(body);
  summary_->setObjectName("DifferencesSummary");
  summary_->setWordWrap(true);
  filter_ = new QLineEdit(body);
  filter_->setObjectName("DifferencesFilter");
  filter_->setAccessibleName("Differences filter");
  filter_->setPlaceholderText("Filter");
  filter_->setClearButtonEnabled(true);
  outline_ = new QCheckBox("Outline on map", body);
  outline_->setObjectName("DifferencesOutline");
  outline_->setAccessibleName(outline_->text());
  outline_->setChecked(true);
  list_ = new QTreeWidget(body);
  list_->setObjectName("DifferencesList");
  list_->setAccessibleName("Differences list");
  list_->setHeaderHidden(true);
  list_->setUniformRowHeights(true);
  // Long lines scroll sideways rather than being cut short in a narrow dock.
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(false);
  // A double-click goes to the line's place; the arrows open and close the groups.
  list_->setExpandsOnDoubleClick(false);
  list_->installEventFilter(this);

  auto* filters = new QHBoxLayout;
  filters->addWidget(filter_, 1);
  filters->addWidget(outline_);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(summary_);
  layout->addLayout(filters);
  layout->addWidget(list_, 1);
  setWidget(body);

  connect(filter_, &QLineEdit::textChanged, this, [this] { Fill(); });
  connect(filter_, &QLineEdit::returnPressed, this, [this] {
    // Enter in the filter box goes to the first line it left.
    QTreeWidgetItem* group = list_->topLevelItem(0);
    QTreeWidgetItem* first = group != nullptr && group->childCount() > 0 ? group->child(0) : group;
    if (first == nullptr) return;
    list_->setCurrentItem(first);
    GoToItem(first);
  });
  connect(list_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { GoToItem(item); });
  connect(outline_, &QCheckBox::toggled, this, &DifferencesDock::OutlineChanged);
  // Closing the dock takes the outline off the map; opening it again brings it back.
  connect(toggleViewAction(), &QAction::toggled, this, &DifferencesDock::OutlineChanged);
  ShowNone({});
}

void DifferencesDock::ShowDiff(const LevelDiff& diff, const QString& summary) {
  compared_ = true;
  groups_ = DiffGroups(diff);
  summary_->setText(summary);
  outline_->setEnabled(true);
  Fill();
  emit OutlineChanged();
}

void DifferencesDock::ShowNone(const QString& summary) {
  compared_ = false;
  groups_.clear();
  summary_->setText(summary);
  outline_->setEnabled(false);
  Fill();
  emit OutlineChanged();
}

bool DifferencesDock::OutlineShown() const {
  return compared_ && outline_->isChecked() && toggleViewAction()->isChecked();
}

void DifferencesDock::Fill() {
  // The line the user was on stays current where the new lines still hold it.
  const QTreeWidgetItem* was = list_->currentItem();
  const QString wasText = was != nullptr ? was->text(0) : QString();
  const QString wasGroup =
      was != nullptr && was->parent() != nullptr ? was->parent()->text(0) : QString();

  list_->clear();
  QTreeWidgetItem* current = nullptr;
  const std::string filter = filter_->text().toStdString();
  for (const DiffGroup& group : FilterDiffGroups(groups_, filter)) {
    QTreeWidgetItem* heading = Line(Q(group.Heading), group.Place);
    for (const DiffLine& line : group.Lines) {
      QTreeWidgetItem* item = Line(Q(line.Text), line.Place);
      for (const std::string& detail : line.Details) item->addChild(Line(Q(detail), line.Place));
      heading->addChild(item);
      if (current == nullptr && item->text(0) == wasText) current = item;
    }
    if (current == nullptr && wasGroup.isEmpty() && heading->text(0) == wasText) current = heading;
    list_->addTopLevelItem(heading);
  }
  list_->expandAll();
  if (current != nullptr) list_->setCurrentItem(current);
}

void DifferencesDock::GoToItem(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const int room = item->data(0, kRoomRole).toInt();
  if (room < 0) return;  // a section, a note: nowhere in the rooms
  emit GoTo(room, item->data(0, kARole).toInt(), item->data(0, kBRole).toInt(),
            item->data(0, kEntityRole).toInt());
}

bool DifferencesDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      GoToItem(list_->currentItem());
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}

}  // namespace slab
