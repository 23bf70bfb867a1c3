// The main window's controls as a user meets them in the first hour: what a level that cannot
// be saved allows, boxes that show and take what they look like they do, the keys listed in
// Help > Keys, the names a screen reader says, and where the window opens.
#include <QAccessible>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QWheelEvent>
#include <algorithm>
#include <fstream>
#include <functional>

#include "app/file_session.h"
#include "app/qt_seams.h"
#include "app/recent_files_menu.h"
#include "preview3d/gl/texture_strip_view.h"
#include "tools/compose_tr45.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

constexpr char kTr5Refused[] = "TR5 levels can't be saved at the moment!";

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

class WindowControlsTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  // Ctrl+O on a file, as the user picks it in the dialog.
  void OpenWithDialog(const fs::path& path) {
    dialog_.Next = FileChoice{path.string(), path.filename().string()};
    Key(Qt::Key_O, Qt::ControlModifier);
  }
  QString Status() { return window_->statusBar()->currentMessage(); }
  void ChooseLara() {
    ClickSector(2, 2);
    ClickLine("SecCurItem", 0);
  }
};

// A fifth-game level is viewed and edited but cannot be saved: the window says so, and every
// question about its changes offers to drop them instead of a save that would refuse.
TEST_F(WindowControlsTest, AFifthGameLevelIsReadOnlyAndItsChangesCanBeDropped) {
  const fs::path lake = dir_ / "lake.trc";
  WriteBytes(lake, test::ComposeTR5(test::SampleTr5Draft()).Bytes);
  const std::vector<uint8_t> bytes = test::ReadFile(lake);
  OpenWithDialog(lake);
  ASSERT_TRUE(window_->Doc().LevelLoaded);
  for (const char* action : {"Mnu_File_Save", "Mnu_File_SaveAs"})
    EXPECT_FALSE(Get<QAction>(action)->isEnabled()) << action;
  auto* saveState = Get<QLabel>("SaveState");
  EXPECT_TRUE(saveState->isVisible());
  EXPECT_EQ(saveState->text(), QString("Read-only: ") + kTr5Refused);

  ClickSector(1, 1);
  Press("FloorWall");
  ASSERT_TRUE(window_->Doc().Modified);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(lake), bytes);

  const std::string question = std::string(kTr5Refused) + " Discard the changes to lake.trc?";
  sink_.NextAnswer = Answer::Cancel;
  Choose("Mnu_File_Quit");
  ASSERT_EQ(sink_.Asked, std::vector<std::string>{question});
  EXPECT_TRUE(window_->isVisible());
  Key(Qt::Key_F5);  // cancelled too: the changes stay
  EXPECT_TRUE(window_->Doc().Modified);
  sink_.NextAnswer = Answer::Yes;  // Reload
  Key(Qt::Key_F5);
  EXPECT_FALSE(window_->Doc().Modified);
  EXPECT_NE(Lvl().Rooms[0].SectorAt(1, 1).Floor, 0x81);

  ClickSector(1, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::No;  // Discard
  window_->close();               // the close box: Discard lets the window go
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(sink_.Asked.size(), 4u);
  EXPECT_EQ(std::count(sink_.Shown.begin(), sink_.Shown.end(), kTr5Refused), 0);
  EXPECT_EQ(test::ReadFile(lake), bytes);
}

// The messages whose text does not name the file keep their text; the file heads the detail,
// above what the reader found.
TEST_F(WindowControlsTest, RefusalMessagesNameTheFile) {
  const fs::path unknown = dir_ / "lake.tr4";
  WriteBytes(unknown, {0x54, 0x52, 0x39, 0x00, 1, 2, 3, 4});
  OpenWithDialog(unknown);
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_EQ(sink_.Shown.back(), "Unknown TR version!");
  EXPECT_EQ(sink_.Details.back(),
            "File: " + unknown.string() +
                "\nThe file starts with 54 52 39 00 (\"TR9.\"), as no level does.");

  test::Tr5Draft draft = test::SampleTr5Draft();
  draft.Rooms[0].Marker = {'X', 'E', 'L', 'B'};
  const fs::path badRoom = dir_ / "badroom.trc";
  WriteBytes(badRoom, test::ComposeTR5(draft).Bytes);
  OpenWithDialog(badRoom);
  EXPECT_EQ(sink_.Shown.back(), "BAD Room!");
  EXPECT_TRUE(sink_.Details.back().starts_with("File: " + badRoom.string() + "\nRoom 0, at byte "))
      << sink_.Details.back();
  EXPECT_FALSE(window_->Doc().LevelLoaded);
}

// The flag boxes tick with their bit (and keep the blue text); the trigger's only show it.
TEST_F(WindowControlsTest, FlagBoxesTickWithTheirBits) {
  OpenShowcase();
  ClickSector(2, 5);  // the switch: its trigger's mask
  for (int i = 0; i < 5; ++i) {
    auto* box = Get<QCheckBox>(QString("TriggerFlags_%1").arg(i));
    EXPECT_EQ(box->isChecked(), TextColour(box) == kSetColour) << i;
  }
  auto* trigger0 = Get<QCheckBox>("TriggerFlags_0");
  const bool shown = trigger0->isChecked();
  Press("TriggerFlags_0");
  EXPECT_EQ(trigger0->isChecked(), shown);

  ChooseLara();
  const uint16_t flags = Lvl().Items[0].Flags;
  auto* first = Get<QCheckBox>("ActiveFlags_0");
  const bool wasSet = (flags & 0x200) != 0;
  EXPECT_EQ(first->isChecked(), wasSet);
  Press("ActiveFlags_0");
  EXPECT_EQ(first->isChecked(), !wasSet);
  EXPECT_EQ(TextColour(first), wasSet ? kClearColour : kSetColour);
  EXPECT_EQ(Lvl().Items[0].Flags & 0x200, wasSet ? 0 : 0x200);
  Press("ItemInvisible");
  EXPECT_TRUE(Get<QCheckBox>("ItemInvisible")->isChecked());
  EXPECT_EQ(Lvl().Items[0].Flags & 0x100, 0x100);
  Press("ItemInvisible");
  EXPECT_FALSE(Get<QCheckBox>("ItemInvisible")->isChecked());
  EXPECT_EQ(Lvl().Items[0].Flags, flags ^ 0x200);

  ClickSector(3, 3);  // nothing to flag there: the click leaves no tick
  Press("ActiveFlags_1");
  EXPECT_FALSE(Get<QCheckBox>("ActiveFlags_1")->isChecked());
  EXPECT_EQ(Status(), kNoEntityStatus);
}

// What the OCB field cannot hold is refused where the user sees it: every key arrives, the box
// says the text is refused, the status bar gives the range, and the item keeps its number;
// leaving the box with such a text shows the number again.
TEST_F(WindowControlsTest, TheOcbBoxRefusesWhatTheFieldCannotHoldVisibly) {
  OpenShowcase();
  ChooseLara();
  auto* ocb = Get<QLineEdit>("ItemOCB");
  QTest::mouseClick(ocb, Qt::LeftButton);
  for (auto [typed, stored] : {std::tuple{"70000", 7000}, {"12a3", 12}, {"-40000", -4000}}) {
    Key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ocb, typed);
    EXPECT_EQ(ocb->text(), typed) << "no key is eaten";
    EXPECT_EQ(Lvl().Items[0].OCB, stored) << typed;
    EXPECT_EQ(Status(), kOcbRangeStatus) << typed;
    EXPECT_FALSE(ocb->accessibleDescription().isEmpty()) << "a screen reader hears it";
    EXPECT_NE(ocb->palette().color(QPalette::Base),
              Get<QLineEdit>("FloorHeight")->palette().color(QPalette::Base));
    Key(Qt::Key_Return);
    EXPECT_EQ(ocb->text(), QString::number(stored).prepend(stored >= 0 ? " " : "")) << typed;
    EXPECT_TRUE(ocb->accessibleDescription().isEmpty());
  }
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(ocb, "-32768");
  EXPECT_EQ(Lvl().Items[0].OCB, -32768);
  EXPECT_TRUE(ocb->accessibleDescription().isEmpty());
}

// Each OCB committed with Enter is one step of the history, and Ctrl+Z in the box undoes the
// history, never only the box's text: what the box shows is what the item holds.
TEST_F(WindowControlsTest, EachCommittedOcbIsOneUndoStepAndCtrlZInTheBoxUndoesIt) {
  OpenShowcase();
  ChooseLara();
  const int16_t original = Lvl().Items[0].OCB;
  auto* ocb = Get<QLineEdit>("ItemOCB");
  QTest::mouseClick(ocb, Qt::LeftButton);
  const std::vector<int> values = {7000, 123, -5, 42};
  for (int value : values) {
    Key(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ocb, QString::number(value));
    Key(Qt::Key_Return);
  }
  EXPECT_EQ(Lvl().Items[0].OCB, 42);
  // Typing not yet committed goes as a whole with one Ctrl+Z.
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(ocb, "999");
  EXPECT_EQ(Lvl().Items[0].OCB, 999);
  for (int expected : {42, -5, 123, 7000, static_cast<int>(original)}) {
    ASSERT_EQ(QApplication::focusWidget(), ocb);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Lvl().Items[0].OCB, expected);
    EXPECT_EQ(ocb->text().trimmed(), QString::number(expected));
  }
  EXPECT_FALSE(window_->Doc().Modified) << "back at the saved level";
  // Ctrl+Y in the box redoes a step the same way.
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].OCB, 7000);
}

// A key that cannot move the item says why and leaves nothing to undo.
TEST_F(WindowControlsTest, CtrlArrowIntoTheWallSaysWhyAndRecordsNothing) {
  OpenShowcase();
  ChooseLara();
  const int32_t x = Lvl().Items[0].X;
  Key(Qt::Key_Left, Qt::ControlModifier);
  ASSERT_EQ(Lvl().Items[0].X, x - 1024);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x - 1024);
  EXPECT_EQ(Status(), "Item 0 stays where it is: the next sector is the room's wall.");
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x);
  EXPECT_FALSE(Get<QAction>("Mnu_Edit_Undo")->isEnabled());
}

// The heights only display: typing changes nothing, and they look like a display.
TEST_F(WindowControlsTest, HeightBoxesAreReadOnlyAndLookIt) {
  OpenShowcase();
  ClickSector(3, 1);
  for (const char* name : {"FloorHeight", "CeilingHeight"}) {
    auto* box = Get<QLineEdit>(name);
    const QString shown = box->text();
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "9");
    EXPECT_EQ(box->text(), shown) << name;
    EXPECT_EQ(box->palette().color(QPalette::Base), window_->palette().color(QPalette::Window))
        << name;
  }
  EXPECT_FALSE(window_->Doc().Modified);
}

// The wheel over the texture pages scrolls them.
TEST_F(WindowControlsTest, TheWheelScrollsTheTextureStrip) {
  test::DraftLevel pages = test::ShowcaseDraft();
  pages.NumTextiles = 6;  // more than the strip's frame shows
  pages.Textile16.clear();
  WriteBytes(dir_ / "pages.tr2", test::ComposeClassic(pages).Bytes);
  OpenWithDialog(dir_ / "pages.tr2");
  QApplication::processEvents();
  auto* strip = Get<TextureStripPicture>("TextPB");
  auto* scroll = Get<QScrollBar>("TextScroll");
  ASSERT_GT(scroll->maximum(), 0) << "the strip fits its frame: nothing to scroll";
  const QPointF at(strip->width() / 2.0, strip->height() / 2.0);
  QWheelEvent down(at, strip->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(strip, &down);
  EXPECT_GT(scroll->value(), 0);
  // The picture shows the strip from the scrolled-to row on.
  const QImage shown = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, strip->Image()
                       .copy(0, scroll->value(), strip->width(), strip->height())
                       .convertToFormat(QImage::Format_RGB32));
}

// Opening and closing the lists beside the map leaves the map and the 3D view as they were
// arranged; the lists show their whole column titles.
TEST_F(WindowControlsTest, ListDocksKeepTheViewsArrangedAndShowWholeHeadings) {
  window_->resize(1400, 1000);  // side by side, stacked once a list narrows them
  OpenShowcase();
  QApplication::processEvents();
  auto* views = Get<QSplitter>("SectorMap");
  ASSERT_EQ(views->orientation(), Qt::Horizontal);
  const int width = views->width();
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::processEvents();
  ASSERT_LT(views->width(), width) << "the list took no room from the views";
  EXPECT_EQ(views->orientation(), Qt::Horizontal);
  auto* table = Get<QTableView>("ItemsList");
  auto* header = table->horizontalHeader();
  ASSERT_GT(table->model()->rowCount(), 0);
  for (int i = 0; i < header->count(); ++i) {
    EXPECT_GE(header->sectionSize(i), header->sectionSizeHint(i)) << i;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
      const QString cell = table->model()->index(row, i).data().toString();
      EXPECT_GT(header->sectionSize(i), table->fontMetrics().horizontalAdvance(cell))
          << "column " << i << " cuts " << cell.toStdString();
    }
  }
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::processEvents();
  EXPECT_EQ(views->orientation(), Qt::Horizontal);
  EXPECT_EQ(views->width(), width);
}

// Help > Keys lists every shortcut of every menu entry, and which way each Ctrl+arrow moves
// the chosen item on the map.
TEST_F(WindowControlsTest, HelpKeysListsEveryShortcut) {
  Choose("Mnu_Help_Keys");
  auto* keys = Get<QLabel>("KeysText");
  ASSERT_NE(keys, nullptr);
  const QString text = keys->text();
  int shortcuts = 0;
  for (const QAction* action : window_->findChildren<QAction*>()) {
    for (const QKeySequence& shortcut : action->shortcuts()) {
      ++shortcuts;
      // Each key stands alone in a line's keys: "<b>Ctrl++, Ctrl+=</b>".
      const QString key = shortcut.toString(QKeySequence::NativeText).toHtmlEscaped();
      const QRegularExpression alone("(<b>|, )" + QRegularExpression::escape(key) + "(</b>|, )");
      EXPECT_TRUE(text.contains(alone))
          << action->objectName().toStdString() << " " << key.toStdString();
    }
  }
  EXPECT_GE(shortcuts, 14);
  for (auto [key, way] : {std::pair{"Ctrl+Right", "one sector down the map"},
                          {"Ctrl+Left", "one sector up the map"},
                          {"Ctrl+Up", "one sector right on the map"},
                          {"Ctrl+Down", "one sector left on the map"}})
    EXPECT_TRUE(text.contains(QString("<b>%1</b>&nbsp;&nbsp;</td><td>Move it %2").arg(key, way)))
        << key;
}

// What a screen reader says for each control: its text, its label's, or a short name; never
// the name the program's own tests find it by.
TEST_F(WindowControlsTest, EveryControlIsHeardByItsTextNeverByItsObjectName) {
  OpenShowcase();
  ChooseLara();
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  Choose("Mnu_Help_Keys");
  Choose("Mnu_Help_About");
  Choose("Mnu_Help_MineCart");
  int heard = 0;
  std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node,
                                                             int depth) {
    if (node == nullptr || depth > 40) return;
    const QObject* object = node->object();
    const QString name = node->text(QAccessible::Name);
    if (object != nullptr && !object->objectName().isEmpty() &&
        !object->objectName().startsWith("qt_")) {
      ++heard;
      EXPECT_NE(name, object->objectName()) << "heard as its object name: " << name.toStdString();
    }
    for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), depth + 1);
  };
  walk(QAccessible::queryAccessibleInterface(window_.get()), 0);
  for (const char* help : {"KeysHelp_Frm", "About_Frm", "MineCartHelp_Frm"})
    walk(QAccessible::queryAccessibleInterface(Get<QWidget>(help)), 0);
  EXPECT_GT(heard, 80);

  auto heardAs = [&](const QString& objectName) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(Get<QObject>(objectName));
    return node != nullptr ? node->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(QAccessible::queryAccessibleInterface(window_.get())->text(QAccessible::Name),
            "Slabwright 3.1 [showcase.tr2]");
  for (auto [object, spoken] : {std::pair{"FD20", "Minecart Left"},
                                {"RoomMap", "Room map"},
                                {"RoomView3D", "Level overview"},
                                {"TextPB", "Texture strip"},
                                {"RoomNumber", "Rooms"},
                                {"FloorHeight", "Floor Height"},
                                {"ItemOCB", "OCB"},
                                {"ItemCB", "Clear Body"},
                                {"Frame2", "Items"}})
    EXPECT_EQ(heardAs(object), spoken) << object;
}

// What each command asks of its file dialog, and the dialog the program builds from that:
// Open lists ".tub" levels and says each pattern once, the type stays when a folder is
// entered, Compare With says what it is for, and Save As proposes the open file.
TEST_F(WindowControlsTest, FileDialogsSayWhatTheyAreForAndKeepTheirFileType) {
  OpenShowcase();
  dialog_.Next.reset();  // every dialog cancelled
  Key(Qt::Key_O, Qt::ControlModifier);
  const FileRequest open = dialog_.Asked;
  EXPECT_NE(open.Filter.find("*.tub"), std::string::npos) << open.Filter;
  EXPECT_EQ(open.Start, dir_.string());
  Choose("Mnu_File_CompareWith");
  const FileRequest compare = dialog_.Asked;
  EXPECT_EQ(compare.Title, "Compare With");
  EXPECT_EQ(compare.Start, dir_.string());
  Choose("Mnu_File_SaveAs");
  const FileRequest saveAs = dialog_.Asked;
  EXPECT_EQ(saveAs.Start, showcase_.string());

  fs::create_directory(dir_ / "sub");
  std::ofstream(dir_ / "sub" / "UB1.TUB").flush();
  std::ofstream(dir_ / "sub" / "notes.txt").flush();
  std::ofstream(dir_ / "sub" / "level1.phd").flush();
  auto listed = [](QFileDialog& dialog) {
    auto* list = dialog.findChild<QListView*>("listView");
    QStringList names;
    QTest::qWait(50);  // the folder is read in the background
    for (int tries = 0; tries < 100 && names.isEmpty(); ++tries) {
      QTest::qWait(20);
      for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
    }
    names.sort();
    return names;
  };
  {
    auto dialog = NewLevelFileDialog(window_.get(), compare, false);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Compare With");
    auto* type = dialog->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(type, nullptr);
    const QString shown = "Tomb Raider levels (*.phd *.tub *.tr2 *.tr4 *.trc)";
    EXPECT_EQ(type->currentText(), shown);
    // Into the folder as a user goes: its name typed in the file name box, then Enter.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    name->setFocus();
    QTest::keyClicks(name, "sub");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString((dir_ / "sub").string()));
    EXPECT_EQ(type->currentText(), shown);
    EXPECT_EQ(listed(*dialog), QStringList({"UB1.TUB", "level1.phd"}));
    // And back up by a double-click on the parent's folder in the list, from there into sub.
    QTest::keyClicks(name, "..");
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(listed(*dialog), QStringList({"showcase.tr2", "sub"}));
    auto* list = dialog->findChild<QListView*>("listView");
    QModelIndex sub;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
      if (list->model()->index(row, 0, list->rootIndex()).data().toString() == "sub")
        sub = list->model()->index(row, 0, list->rootIndex());
    ASSERT_TRUE(sub.isValid());
    const QPoint at = list->visualRect(sub).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(type->currentText(), shown);
    EXPECT_EQ(listed(*dialog), QStringList({"UB1.TUB", "level1.phd"}));
  }
  {
    auto dialog = NewLevelFileDialog(window_.get(), saveAs, true);
    dialog->show();
    EXPECT_EQ(dialog->findChild<QLineEdit*>("fileNameEdit")->text(), "showcase.tr2");
    EXPECT_EQ(dialog->directory().absolutePath(), QString::fromStdString(dir_.string()));
  }
}

// The window opens inside the screen's available area and comes back where it was left.
class WindowPlacement : public test::WindowFixture {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    QSettings(kSettingsOrganisation, kSettingsApplication).remove("MainWindow");
  }
  std::unique_ptr<MainWindow> NewWindow() {
    return std::make_unique<MainWindow>(
        WindowServices{sink_, dialog_, processes_, keyboard_, clock_, SLAB_BIN_DIR, false});
  }
};

TEST_F(WindowPlacement, TheSmallestWindowFitsA1366By768Screen) {
  auto window = NewWindow();
  window->show();
  test::WriteShowcaseLevel(dir_ / "showcase.tr2");
  ASSERT_TRUE(window->OpenLevel((dir_ / "showcase.tr2").string(), "showcase.tr2"));
  const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
  EXPECT_LE(least.width(), 1366);
  EXPECT_LE(least.height(), 768 - 60);  // a panel and a title bar take their share
}

TEST_F(WindowPlacement, OpensInsideTheScreenAndComesBackWhereItWasLeft) {
  auto first = NewWindow();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  if (area.width() < first->minimumSizeHint().width() ||
      area.height() < first->minimumSizeHint().height())
    GTEST_SKIP() << "the screen is smaller than the window can be; run on a configured screen";
  first->ShowPlaced();
  EXPECT_TRUE(area.contains(first->frameGeometry())) << area.width() << "x" << area.height();

  const QRect left(area.left() + 40, area.top() + 30, area.width() - 100, area.height() - 90);
  first->setGeometry(left);
  first->close();
  auto second = NewWindow();
  second->ShowPlaced();
  EXPECT_EQ(second->geometry(), left);
  second->close();

  // A place saved on a screen that is no longer there is brought back onto this one.
  QSettings(kSettingsOrganisation, kSettingsApplication)
      .setValue("MainWindow/Geometry", QRect(area.right() + 2000, 100, area.width() + 500, 700));
  auto third = NewWindow();
  third->ShowPlaced();
  EXPECT_TRUE(area.contains(third->frameGeometry()));

  // A list opened beside a window as narrow as it can be widens the window, within the screen.
  third->resize(third->minimumSizeHint());
  third->move(area.right() - third->frameGeometry().width() - 5, area.top() + 10);
  third->findChild<QAction*>("Mnu_View_Items")->trigger();  // View > Items
  QApplication::processEvents();
  QApplication::processEvents();
  ASSERT_TRUE(third->findChild<QWidget*>("ItemsListDock")->isVisible());
  EXPECT_TRUE(area.contains(third->frameGeometry()));
}

// With every list and dock open the window stays on the screen: the docks share their place as
// tabs or scroll, the room list keeps "Room 1234" readable, and once the docks close the size
// kept for next time is the screen's at most; a larger one saved before comes back inside it.
// On the showcase and on a real level of each game.
TEST_F(WindowPlacement, EveryDockOpenKeepsTheWindowOnTheScreen) {
  auto window = NewWindow();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  if (area.width() < window->minimumSizeHint().width() ||
      area.height() < window->minimumSizeHint().height())
    GTEST_SKIP() << "the screen is smaller than the window can be; run on a configured screen";
  window->ShowPlaced();
  std::vector<fs::path> levels = {dir_ / "showcase.tr2"};
  test::WriteShowcaseLevel(levels[0]);
  for (const char* game : {"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})
    for (const fs::path& file : test::RealLevels({game}))
      if (test::LoadFile(file)->Result.Loaded) {
        levels.push_back(file);
        break;
      }
  auto* roomList = window->findChild<QListWidget*>("RoomNumber");
  const int readable = roomList->fontMetrics().horizontalAdvance("Room 1234");
  std::vector<QDockWidget*> docks;
  for (QDockWidget* dock : window->findChildren<QDockWidget*>()) docks.push_back(dock);
  ASSERT_GE(docks.size(), 9u);

  for (const fs::path& level : levels) {
    SCOPED_TRACE(level.filename().string());
    ASSERT_TRUE(window->OpenLevel(level.string(), level.filename().string()));
    // As wide and high as the screen lets it be, not maximised: the docks find room inside.
    window->setGeometry(area.adjusted(8, 40, -8, -8));
    for (QDockWidget* dock : docks) {
      dock->toggleViewAction()->trigger();  // its View menu entry
      QApplication::processEvents();
      QApplication::processEvents();
      ASSERT_TRUE(dock->isVisible()) << dock->objectName().toStdString();
      EXPECT_TRUE(area.contains(window->frameGeometry()))
          << dock->objectName().toStdString() << ": " << window->frameGeometry().width();
      EXPECT_LE(window->minimumSizeHint().expandedTo(window->minimumSize()).width(), area.width());
      EXPECT_GT(roomList->viewport()->width(), readable) << dock->objectName().toStdString();
    }
    for (QDockWidget* dock : docks) dock->toggleViewAction()->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(window->frameGeometry()));
  }
  window->close();
  const QRect kept =
      QSettings(kSettingsOrganisation, kSettingsApplication).value("MainWindow/Geometry").toRect();
  EXPECT_LE(kept.width(), area.width());

  // A window saved wider than this screen (as before docks were kept in bounds) comes back
  // inside it, and stays so with the docks open.
  QSettings(kSettingsOrganisation, kSettingsApplication)
      .setValue("MainWindow/Geometry", QRect(area.left(), area.top() + 30, 1456, area.height()));
  auto again = NewWindow();
  again->ShowPlaced();
  EXPECT_TRUE(area.contains(again->frameGeometry())) << again->frameGeometry().width();
}

}  // namespace
}  // namespace slab
