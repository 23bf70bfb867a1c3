#include "app/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <map>

#include "app/sector_map_widget.h"
#include "preview3d/gl/room3d_view.h"

namespace slab {
namespace {

constexpr char kStatusBarName[] = "Status bar";

// The toolkit's own combo box interface names the box by its current text on Linux, so two
// boxes read as "Lara" and "Architecture 8" with nothing to say what they choose. This one
// keeps the name and the value apart: the name from the box's accessible name or its label.
class ComboBoxAccessible : public QAccessibleWidget {
 public:
  explicit ComboBoxAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    const QString value = Box()->isEditable() ? Box()->lineEdit()->text() : Box()->currentText();
    if (t == QAccessible::Value) return value;
    const QString own = QAccessibleWidget::text(t);
    return t == QAccessible::Name && own.isEmpty() ? value : own;
  }
  int childCount() const override { return Box()->isEditable() ? 2 : 1; }
  QAccessibleInterface* child(int index) const override {
    if (index == 0) return QAccessible::queryAccessibleInterface(Box()->view());
    if (index == 1 && Box()->isEditable())
      return QAccessible::queryAccessibleInterface(Box()->lineEdit());
    return nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    if (child->object() == Box()->view()) return 0;
    if (Box()->isEditable() && child->object() == Box()->lineEdit()) return 1;
    return -1;
  }
  QAccessibleInterface* focusChild() const override {
    return Box()->isEditable() ? child(1) : nullptr;
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = Box()->view()->isVisible();
    return s;
  }
  QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) return;
    if (Box()->view()->isVisible())
      Box()->hidePopup();
    else
      Box()->showPopup();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QComboBox* Box() const { return static_cast<QComboBox*>(object()); }
};

// One tab of a tab bar: named by its text, chosen by pressing it.
class TabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  TabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

  bool isValid() const override { return bar_ != nullptr && index_ < bar_->count(); }
  QObject* object() const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(bar_);
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    const QString name = bar_->accessibleTabName(index_);
    return name.isEmpty() ? bar_->tabText(index_).remove('&') : name;
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect tab = bar_->tabRect(index_);
    return QRect(bar_->mapToGlobal(tab.topLeft()), tab.size());
  }
  QAccessible::Role role() const override { return QAccessible::PageTab; }
  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) return s;
    s.selectable = true;
    s.focusable = true;
    s.selected = bar_->currentIndex() == index_;
    s.invisible = !bar_->isVisible();
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (isValid() && action == pressAction()) bar_->setCurrentIndex(index_);
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<QTabBar> bar_;
  int index_;
};

// The toolkit's tab bar is named by its current tab, which says nothing of what the bar holds;
// a main window's dock tab bar is named by the docks it holds.
class TabBarAccessible : public QAccessibleWidget {
 public:
  explicit TabBarAccessible(QWidget* widget)
      : QAccessibleWidget(widget, QAccessible::PageTabList) {}
  ~TabBarAccessible() override {
    for (const auto& [index, id] : tabs_) QAccessible::deleteAccessibleInterface(id);
  }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    if (!Bar()->accessibleName().isEmpty()) return Bar()->accessibleName();
    QStringList names;
    for (int i = 0; i < Bar()->count(); ++i) names << Bar()->tabText(i).remove('&');
    return names.isEmpty() ? QString("Dock tabs") : "Dock tabs: " + names.join(", ");
  }
  int childCount() const override { return Bar()->count(); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= Bar()->count()) return nullptr;
    auto found = tabs_.find(index);
    if (found != tabs_.end()) return QAccessible::accessibleInterface(found->second);
    auto* tab = new TabAccessible(Bar(), index);
    tabs_[index] = QAccessible::registerAccessibleInterface(tab);
    return tab;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : tabs_)
      if (QAccessible::accessibleInterface(id) == child) return index;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint at = Bar()->mapFromGlobal(QPoint(x, y));
    const int index = Bar()->tabAt(at);
    return index >= 0 ? child(index) : nullptr;
  }

 private:
  QTabBar* Bar() const { return static_cast<QTabBar*>(object()); }
  mutable std::map<int, QAccessible::Id> tabs_;
};

QAccessibleInterface* NamedControls(const QString& className, QObject* object) {
  // The room map, the overview and the 3D view are pictures the user works in, not empty
  // containers a screen reader passes over: a canvas, named, with what is selected as its
  // description.
  for (const QMetaObject* view :
       {&RoomMapWidget::staticMetaObject, &RightViewWidget::staticMetaObject,
        &Room3DView::staticMetaObject})
    if (className == QLatin1String(view->className()))
      return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Canvas);
  if (className == QLatin1String("QComboBox"))
    return new ComboBoxAccessible(static_cast<QWidget*>(object));
  // Only the bars a main window makes for its docks: a tab widget's bar is named by its pages.
  if (className == QLatin1String("QTabBar") && qobject_cast<QMainWindow*>(object->parent()))
    return new TabBarAccessible(static_cast<QWidget*>(object));
  return nullptr;
}

}  // namespace

void InstallAccessibleNames() {
  static const bool installed = [] {
    QAccessible::installFactory(NamedControls);
    return true;
  }();
  (void)installed;
}

void NameWindowButtons(QMainWindow& window) {
  for (QDockWidget* dock : window.findChildren<QDockWidget*>()) {
    const QString title = dock->windowTitle().remove('&');
    if (auto* close = dock->findChild<QAbstractButton*>("qt_dockwidget_closebutton"))
      close->setAccessibleName("Close " + title);
    if (auto* detach = dock->findChild<QAbstractButton*>("qt_dockwidget_floatbutton"))
      detach->setAccessibleName("Float or dock " + title);
  }
  for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
    if (box->accessibleName().isEmpty()) continue;
    for (QToolButton* clear : box->findChildren<QToolButton*>())
      if (clear->accessibleName().isEmpty() && clear->text().isEmpty())
        clear->setAccessibleName("Clear " + box->accessibleName());
  }
}

void AnnounceStatusMessages(QStatusBar& bar) {
  bar.setAccessibleName(kStatusBarName);
  QObject::connect(&bar, &QStatusBar::messageChanged, &bar, [&bar](const QString& message) {
    bar.setAccessibleName(message.isEmpty() ? QString(kStatusBarName) : message);
    if (message.isEmpty()) return;
    QAccessibleEvent alert(&bar, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  });
}

}  // namespace slab
