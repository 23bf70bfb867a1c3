// The main window as a user drives it: mouse clicks and keys sent to its controls, found by
// their names, with stand-ins for the file dialog, child processes, keyboard and clock.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/sector_map_widget.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab::test {

class TestDialog : public FileDialog {
 public:
  std::optional<FileChoice> ShowOpen(const FileRequest& request) override {
    Asked = request;
    return Next;
  }
  std::optional<FileChoice> ShowSave(const FileRequest& request) override {
    Asked = request;
    ++Saves;
    return Next;
  }
  std::optional<FileChoice> Next;
  FileRequest Asked;  // what the last dialog was asked to show
  int Saves = 0;
};

class WindowFixture : public TempFolderTest {
 protected:
  // The window shown with the showcase level written beside it; `view3d` gives it the 3D view,
  // which needs a real display.
  void Start(bool view3d) {
    TempFolderTest::SetUp();
    showcase_ = dir_ / "showcase.tr2";
    WriteShowcaseLevel(showcase_);
    window_ = std::make_unique<MainWindow>(
        WindowServices{sink_, dialog_, processes_, keyboard_, clock_, SLAB_BIN_DIR, view3d});
    RecordingSink namesSink;
    window_->SetObjectNames(LoadObjectNames(SLAB_BIN_DIR, namesSink));
    EXPECT_TRUE(namesSink.Shown.empty()) << "the built names file: " << namesSink.Shown[0];
    window_->resize(1280, 900);
    window_->show();
    window_->activateWindow();
    // Without a window manager an X window is never made active; offscreen it always is.
    ASSERT_TRUE(view3d ? QTest::qWaitForWindowExposed(window_.get())
                       : QTest::qWaitForWindowActive(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    TempFolderTest::TearDown();
  }

  void OpenShowcase() { ASSERT_TRUE(window_->OpenLevel(showcase_.string(), "showcase.tr2")); }
  // Opened as a user opens it: Ctrl+O and the file chosen in the dialog.
  void OpenWithKeys(const std::filesystem::path& file) {
    dialog_.Next = FileChoice{file.string(), file.filename().string()};
    Key(Qt::Key_O, Qt::ControlModifier);
    dialog_.Next.reset();
  }

  template <typename T>
  T* Get(const QString& name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
  }
  // What a label or a group's title says.
  QString Text(const QString& name) {
    if (auto* group = window_->findChild<QGroupBox*>(name)) return group->title();
    auto* label = Get<QLabel>(name);
    return label != nullptr ? label->text() : QString();
  }
  QStringList Lines(const QString& name) {
    QStringList lines;
    auto* list = Get<QListWidget>(name);
    for (int i = 0; list && i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }
  int CurrentRoomRow() { return Get<QListWidget>("RoomNumber")->currentRow(); }
  const Level& Lvl() { return window_->Doc().CurrentLevel; }
  // The frame timer's next pass, at time `now` (ms) on the window's clock, as the event loop
  // would deliver it. A resting timer gets none, as on a real clock.
  void FramePass(int64_t now) {
    clock_.Now = now;
    auto* timer = Get<QTimer>("FrameTimer");
    if (timer == nullptr || !timer->isActive()) return;
    QTimerEvent pass(timer->timerId());
    QCoreApplication::sendEvent(timer, &pass);
  }
  QColor MapPixel(int x, int y) {
    return Get<RoomMapWidget>("RoomMap")->MapPicture().pixelColor(x, y);
  }

  // The user's click on sector (a, b) of the current room, on the map as it is shown.
  void ClickSector(int a, int b, Qt::MouseButton button = Qt::LeftButton) {
    RoomMapWidget* map = Get<RoomMapWidget>("RoomMap");
    QTest::mouseClick(map, button, {}, map->WidgetPoint(QPoint(10 * b + 5, 10 * a + 5)).toPoint());
  }
  // A click on line `row` of a list, as a user chooses it (the list takes the focus).
  void ClickLine(const QString& name, int row) {
    auto* list = Get<QListWidget>(name);
    ASSERT_LT(row, list->count()) << name.toStdString();
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  void ChooseRoom(int room) { ClickLine("RoomNumber", room); }
  // A click where a user clicks a button: its middle, or a check box's box.
  void Press(const QString& name) {
    auto* button = Get<QAbstractButton>(name);
    QPoint at = button->rect().center();
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
      QStyleOptionButton option;
      option.initFrom(box);
      at = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();
    }
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
  }
  // A key pressed where the focus is now.
  void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window_.get(), static_cast<Qt::Key>(key), modifiers);
  }
  // A menu entry without a shortcut, chosen as a click on it does.
  void Choose(const QString& action) { Get<QAction>(action)->trigger(); }

  std::filesystem::path showcase_;
  RecordingSink sink_;
  TestDialog dialog_;
  NoProcessRunner processes_;
  TestKeyboard keyboard_;
  ManualTickClock clock_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace slab::test
