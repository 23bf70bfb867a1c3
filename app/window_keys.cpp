#include "app/window_keys.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <array>
#include <utility>

#include "preview3d/viewer_camera.h"

namespace slab {
namespace {

// The keys that, with Ctrl, move the chosen entity; Help > Keys lists them from here.
constexpr std::array<std::pair<int, MoveKey>, 6> kMoveKeys{{{Qt::Key_Up, MoveKey::Up},
                                                            {Qt::Key_Down, MoveKey::Down},
                                                            {Qt::Key_Left, MoveKey::Left},
                                                            {Qt::Key_Right, MoveKey::Right},
                                                            {Qt::Key_PageUp, MoveKey::PageUp},
                                                            {Qt::Key_PageDown, MoveKey::PageDown}}};

// The keys that move the 3D camera while the 3D view shows, and what each does: the key
// handler takes these and no others, and Help > Keys lists them from here.
struct CameraKey {
  int Key;
  const char* What;
};
constexpr std::array<CameraKey, 8> kCameraKeys{{
    {Qt::Key_Left, "Circle the camera around the point it looks at"},
    {Qt::Key_Right, "Circle the camera around that point the other way"},
    {Qt::Key_Up, "Raise the camera: look down more steeply"},
    {Qt::Key_Down, "Lower the camera"},
    {Qt::Key_PageUp, "Move the camera nearer"},
    {Qt::Key_PageDown, "Move the camera farther"},
    {Qt::Key_F, "Frame the selection: the chosen item or static mesh, else the sector"},
    {Qt::Key_Home, "Frame the whole current room"},
}};

// A menu entry's caption without its mnemonic and its trailing dots: "Save As".
QString PlainCaption(QString text) {
  text.remove('&');
  if (text.endsWith("...")) text.chop(3);
  return text;
}

void AddMenuLines(const QMenuBar& menus, std::vector<KeyLine>& lines) {
  for (QAction* menuAction : menus.actions()) {
    const QMenu* menu = menuAction->menu();
    if (menu == nullptr) continue;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator() || action->shortcuts().isEmpty()) continue;
      QStringList keys;
      for (const QKeySequence& shortcut : action->shortcuts())
        keys << shortcut.toString(QKeySequence::NativeText);
      lines.push_back({"Menus", keys.join(", "),
                       PlainCaption(menu->title()) + " > " + PlainCaption(action->text())});
    }
  }
}

}  // namespace

std::optional<MoveKey> MoveKeyFor(int qtKey) {
  for (const auto& [key, move] : kMoveKeys)
    if (key == qtKey) return move;
  return std::nullopt;
}

bool IsCameraKey(int qtKey) {
  return std::any_of(kCameraKeys.begin(), kCameraKeys.end(),
                     [qtKey](const CameraKey& key) { return key.Key == qtKey; });
}

std::vector<KeyLine> WindowKeyLines(const QMenuBar& menus) {
  std::vector<KeyLine> lines;
  AddMenuLines(menus, lines);
  // The window's own key handler: Ctrl moves the chosen item, the keys alone the 3D camera.
  for (const auto& [qtKey, move] : kMoveKeys)
    lines.push_back(
        {"The chosen item (anywhere in the window except while typing in a text box)",
         QKeySequence(Qt::CTRL | static_cast<Qt::Key>(qtKey)).toString(QKeySequence::NativeText),
         "Move it " + QString::fromStdString(MoveKeyEffect(move))});
  for (const CameraKey& camera : kCameraKeys)
    lines.push_back({"The 3D view (while it shows and no list or text box has the focus)",
                     QKeySequence(camera.Key).toString(QKeySequence::NativeText), camera.What});
  const QString mouse = "The mouse";
  lines.push_back(
      {mouse, "Click on the map",
       "Select the sector; the 3D view turns to it (View > 3D View Follows Selection)"});
  lines.push_back(
      {mouse, "Click in the 3D view",
       "Select the floor's sector, or choose the item or static mesh; the camera stays"});
  lines.push_back(
      {mouse, "Left drag in the 3D view", "Circle the camera around the point it looks at"});
  lines.push_back({mouse, "Right or middle drag in the 3D view", "Slide the camera"});
  lines.push_back(
      {mouse, "Wheel in the 3D view", "Move the camera nearer or farther, toward the pointer"});
  lines.push_back({mouse, "Right button held with W, A, S, D in the 3D view",
                   "Fly forward, left, back, right; dragging then looks round"});
  lines.push_back({mouse, "Pointer in the 3D view", "Name what it rests on"});
  lines.push_back({mouse, "Right click on the map",
                   "Go through the sector's portal, else to the room below (with Shift: above)"});
  lines.push_back({mouse, "Wheel on the map", "Zoom the map about the pointer"});
  lines.push_back({mouse, "Wheel on the textures", "Scroll the texture strip"});
  lines.push_back({mouse, "Click on the level overview",
                   "Choose the room shown there; click again for the next room stacked there"});
  lines.push_back({mouse, "Pointer on the level overview", "Name the room under it"});
  lines.push_back({mouse, "Wheel on the level overview", "Zoom the overview"});
  lines.push_back({"The map (while it has the focus)", "+ / -", "Next / previous room"});
  lines.push_back({"The map, the 3D view or the sector's item list (while it has the focus)",
                   QKeySequence(Qt::Key_Delete).toString(QKeySequence::NativeText),
                   "Remove the chosen item"});
  const QString enter = QKeySequence(Qt::Key_Return).toString(QKeySequence::NativeText);
  const QString lists = "The lists (while one has the focus)";
  lines.push_back(
      {lists, enter + " or double-click",
       "Go to the row's room and sector (and choose its item, light, camera or static)"});
  lines.push_back({lists, enter + " in a list's filter", "Go to its current row, or its first"});
  lines.push_back({lists, enter + " on a line of Differences", "Go to the changed place"});
  lines.push_back({lists, enter + " in the Go to Room box", "Go to that room"});
  // The viewer is a window of its own ("/view FILE"); its keys are listed here all the same.
  for (const ViewerKeyHelp& key : kViewerKeys)
    lines.push_back({"The 3D viewer window (/view FILE)", key.Keys, key.What});
  return lines;
}

WindowKeys::WindowKeys(QWidget& window, Actions actions)
    : window_(window), actions_(std::move(actions)) {
  qApp->installEventFilter(this);
}

bool WindowKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* focus = QApplication::focusWidget();
  if (widget == nullptr || widget->window() != &window_ || (focus && focus->window() != &window_))
    return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  const auto* edit = qobject_cast<const QLineEdit*>(focus);
  const bool editing = edit != nullptr && !edit->isReadOnly();
  const bool inList = qobject_cast<const QAbstractItemView*>(focus) != nullptr ||
                      qobject_cast<const QComboBox*>(focus) != nullptr ||
                      qobject_cast<const QAbstractSpinBox*>(focus) != nullptr;
  const std::optional<MoveKey> move = MoveKeyFor(key->key());
  if (modifiers == Qt::ControlModifier && !editing && move) return actions_.Move(*move);
  if (modifiers == Qt::NoModifier && !editing && !inList && IsCameraKey(key->key()))
    return actions_.Camera(key->key());
  return false;
}

}  // namespace slab
