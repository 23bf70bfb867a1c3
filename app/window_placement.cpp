#include "app/window_placement.h"

#include <QDockWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "app/recent_files_menu.h"

namespace slab {
namespace {

constexpr char kGeometryKey[] = "MainWindow/Geometry";
constexpr char kMaximisedKey[] = "MainWindow/Maximised";

// rect moved, and shrunk where it must, to lie inside area; never below least, unless least
// itself is larger than the area.
QRect FitInside(QRect rect, const QRect& area, QSize least) {
  least = least.boundedTo(area.size());
  rect.setWidth(std::max(std::min(rect.width(), area.width()), least.width()));
  rect.setHeight(std::max(std::min(rect.height(), area.height()), least.height()));
  rect.moveLeft(
      std::clamp(rect.left(), area.left(), std::max(area.left(), area.right() - rect.width() + 1)));
  rect.moveTop(
      std::clamp(rect.top(), area.top(), std::max(area.top(), area.bottom() - rect.height() + 1)));
  return rect;
}

}  // namespace

void ShowPlaced(QMainWindow& window) {
  const QSettings settings(kSettingsOrganisation, kSettingsApplication);
  const QRect saved = settings.value(kGeometryKey).toRect();
  QScreen* screen = saved.isValid() ? QGuiApplication::screenAt(saved.center()) : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  QRect wanted = saved;
  if (!wanted.isValid()) {
    wanted = QRect(QPoint(), window.sizeHint());
    wanted.moveCenter(area.center());
  }
  window.setGeometry(FitInside(wanted, area, window.minimumSizeHint()));
  if (settings.value(kMaximisedKey, false).toBool())
    window.showMaximized();
  else
    window.show();
  // The frame the window system adds is known once the window is shown.
  KeepOnScreen(window);
}

void KeepOnScreen(QMainWindow& window) {
  if (!window.isVisible() || window.isMaximized() || window.isFullScreen() ||
      window.screen() == nullptr)
    return;
  // A frame reaching past the screen's edge would hide the right-hand scroll bars.
  const QRect area = window.screen()->availableGeometry();
  const QRect frame = window.frameGeometry();
  if (area.contains(frame)) return;
  const QSize extra = frame.size() - window.size();
  window.resize(FitInside(frame, area, window.minimumSizeHint() + extra).size() - extra);
  window.move(FitInside(window.frameGeometry(), area, QSize()).topLeft());
}

void SavePlacement(const QMainWindow& window) {
  QSettings settings(kSettingsOrganisation, kSettingsApplication);
  QRect geometry = window.normalGeometry();
  // A size the screen cannot show would come back reaching past it.
  if (window.screen() != nullptr)
    geometry.setSize(geometry.size().boundedTo(window.screen()->availableGeometry().size()));
  settings.setValue(kGeometryKey, geometry);
  settings.setValue(kMaximisedKey, window.isMaximized());
}

namespace {

// A dock's content in a frameless scroll area: the dock can be narrower (or lower) than its
// controls, which then scroll, so its controls never set the window's least size.
void ScrollWhenSmall(QDockWidget& dock) {
  QWidget* content = dock.widget();
  // A table or list alone scrolls already.
  if (content == nullptr || qobject_cast<QAbstractScrollArea*>(content) != nullptr) return;
  auto* scroll = new QScrollArea(&dock);
  scroll->setObjectName(dock.objectName() + "Scroll");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setFocusPolicy(Qt::NoFocus);
  dock.setWidget(scroll);
  scroll->setWidget(content);
}

// Watches the window's size: a window that a dock made grow (to the least size the window
// can have with it) and reach past the screen is brought back inside. A size the user or the
// program chose, and a window the user moved partly off the screen, are left as they are.
class DockPlacement : public QObject {
 public:
  explicit DockPlacement(QMainWindow& window) : QObject(&window), window_(&window) {
    window.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The type first: at teardown the window is no QMainWindow any more when its layout's
    // removal is reported, and window_ must not be read then.
    if (event->type() == QEvent::Resize && watched == window_) {
      const auto* resize = static_cast<QResizeEvent*>(event);
      const QSize least = window_->minimumSizeHint().expandedTo(window_->minimumSize());
      const QSize now = resize->size(), before = resize->oldSize();
      const bool forced = (now.width() > before.width() && now.width() <= least.width()) ||
                          (now.height() > before.height() && now.height() <= least.height());
      if (forced && before.isValid())
        QTimer::singleShot(0, this, [this] {
          if (window_ != nullptr) KeepOnScreen(*window_);
        });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QPointer<QMainWindow> window_;
};

}  // namespace

void KeepDocksOnScreen(QMainWindow& window) {
  for (QDockWidget* dock : window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly))
    ScrollWhenSmall(*dock);
  new DockPlacement(window);
}

}  // namespace slab
