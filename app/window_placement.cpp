#include "app/window_placement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "app/recent_files_menu.h"

namespace slab {
namespace {

constexpr char kGeometryKey[] = "MainWindow/Geometry";
constexpr char kMaximisedKey[] = "MainWindow/Maximised";

// rect moved, and shrunk where it must, to lie inside area; never below least.
QRect FitInside(QRect rect, const QRect& area, const QSize& least) {
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
  settings.setValue(kGeometryKey, window.normalGeometry());
  settings.setValue(kMaximisedKey, window.isMaximized());
}

}  // namespace slab
