// The main window driven through its controls, found by their names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/main_window.h"
#include "app/sector_map_widget.h"
#include "floordata/walkers.h"
#include "level/load_level.h"
#include "map/draw_room.h"
#include "map/edit_commands.h"
#include "map/overview.h"
#include "support/real_levels.h"
#include "tools/showcase_level.h"

namespace slab {
namespace {

namespace fs = std::filesystem;
using test::kShowcaseDoor;

class TestDialog : public FileDialog {
 public:
  std::optional<FileChoice> ShowOpen(const std::string& filter) override {
    ++Opens;
    Filter = filter;
    return Next;
  }
  std::optional<FileChoice> ShowSave(const std::string&) override {
    ++Saves;
    return Next;
  }
  std::optional<FileChoice> Next;
  std::string Filter;
  int Opens = 0, Saves = 0;
};

class NoProcesses : public ProcessRunner {
 public:
  int Run(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
};

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("slab_app_" + std::to_string(::getpid()) + "_" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    showcase_ = dir_ / "showcase.tr2";
    test::WriteShowcaseLevel(showcase_);
    window_ = std::make_unique<MainWindow>(
        WindowServices{sink_, dialog_, processes_, keyboard_, clock_, SLAB_BIN_DIR, false});
    RecordingSink namesSink;
    window_->SetObjectNames(LoadObjectNames(SLAB_BIN_DIR, namesSink));
    window_->resize(1280, 900);
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  }
  void TearDown() override {
    window_.reset();
    fs::remove_all(dir_);
  }

  void OpenShowcase() { ASSERT_TRUE(window_->OpenLevel(showcase_.string(), "showcase.tr2")); }

  template <typename T>
  T* Get(const char* name) {
    T* widget = window_->findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QString Text(const char* name) {
    if (auto* label = window_->findChild<QLabel*>(name)) return label->text();
    if (auto* button = window_->findChild<QAbstractButton*>(name)) return button->text();
    if (auto* group = window_->findChild<QGroupBox*>(name)) return group->title();
    if (auto* edit = window_->findChild<QLineEdit*>(name)) return edit->text();
    ADD_FAILURE() << "no control " << name;
    return {};
  }
  QStringList Lines(const char* name) {
    QStringList lines;
    auto* list = Get<QListWidget>(name);
    for (int i = 0; list && i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
  }
  // The user's click on sector (a, b) of the current room, on the map as it is shown.
  void ClickSector(int a, int b, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = {}) {
    RoomMapWidget* map = window_->RoomMap();
    const QPoint at = map->WidgetPoint(QPoint(10 * b + 5, 10 * a + 5)).toPoint();
    QTest::mouseClick(map, button, modifiers, at);
  }
  // A click on line `row` of a list, as a user chooses it (the list takes the focus).
  void ClickLine(const char* name, int row) {
    auto* list = Get<QListWidget>(name);
    ASSERT_LT(row, list->count()) << name;
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  void ChooseRoom(int room) { ClickLine("RoomNumber", room); }
  // A click where a user clicks a button: its middle, or a check box's box.
  void Press(const char* name) {
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
  QString Status() { return window_->statusBar()->currentMessage(); }
  std::vector<char> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  const Level& Lvl() { return window_->Doc().CurrentLevel; }
  Rgb Colour(const char* name) { return TextColour(Get<QWidget>(name)); }

  fs::path dir_, showcase_;
  RecordingSink sink_;
  TestDialog dialog_;
  NoProcesses processes_;
  TestKeyboard keyboard_;
  ManualTickClock clock_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(WindowTest, ControlsAndMenusCarryTheirNamesAndCaptions) {
  EXPECT_EQ(window_->objectName(), "Slabwright2_Frm");
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1");
  const std::pair<const char*, const char*> captions[] = {
      {"Frame6", "Textures"},
      {"SecInf", "Sectors"},
      {"FloorWall", "Wall"},
      {"Minecart_Stop", "Minecart Stop"},
      {"FD20", "Minecart Left"},
      {"FD21", "Minecart Right"},
      {"Frame5", "Triggers"},
      {"GotoObject", "Find Object"},
      {"TriggerTimer", "Timer: 0"},
      {"FD_lbl", "FD:0"},
      {"Frame1", "Doors"},
      {"DoorSide", "None"},
      {"DoorAbove", "None"},
      {"DoorBelow", "None"},
      {"Frame4", "Static Meshes"},
      {"StaticRemove", "Remove"},
      {"NumStatic", "0 Static Meshes"},
      {"Frame3", "Rooms"},
      {"RoomDelete", "Remove"},
      {"ViewMode", "2D Map"},
      {"DrawDoors", "DrawDoors"},
      {"RoomInfo", "Room 0"},
      {"AltRoom", "No alternate"},
      {"Frame2", "Items"},
      {"ItemRotate", "Rotate"},
      {"ItemNextTrigger", "Next Trigger"},
      {"ItemRemove", "Remove"},
      {"ItemNumTriggers", "This object has 0 triggers"},
      {"ItemCB", "Clear Body"},
      {"ItemInvisible", "Invisible"},
      {"SecItemCnt", "Of 1"}};
  for (auto [name, caption] : captions) EXPECT_EQ(Text(name), caption) << name;
  for (const char* name :
       {"TextPB", "TextScroll", "SectorMap", "FloorHeight", "CeilingHeight", "TriggerData",
        "StaticID", "StaticAdd", "CurMesh", "RoomNumber", "RoomAdd", "AllItems", "ItemOCB",
        "ItemDesc", "SecCurItem", "ItemAdd", "ItemID"})
    EXPECT_NE(window_->findChild<QWidget*>(name), nullptr) << name;
  for (int i = 0; i < 5; ++i) {
    EXPECT_NE(window_->findChild<QCheckBox*>(QString("TriggerFlags_%1").arg(i)), nullptr);
    EXPECT_NE(window_->findChild<QCheckBox*>(QString("ActiveFlags_%1").arg(i)), nullptr);
  }
  const std::pair<const char*, const char*> menus[] = {
      {"Mnu_File", "&File"}, {"Mnu_Demo", "&Demo"}, {"Mnu_Help", "&Help"}};
  for (auto [name, title] : menus) EXPECT_EQ(Get<QMenu>(name)->title(), title) << name;
  const std::pair<const char*, const char*> actions[] = {{"Mnu_File_Open", "&Open"},
                                                         {"Mnu_File_Save", "&Save"},
                                                         {"Mnu_File_SaveAs", "Save As..."},
                                                         {"Mnu_File_Quit", "&Quit"},
                                                         {"Mnu_Demo_Rec", "Start Recording"},
                                                         {"Mnu_Demo_Stop", "Stop Recording"},
                                                         {"Mnu_Help_MineCart", "&MineCart Help"},
                                                         {"Mnu_Help_About", "&About"}};
  for (auto [name, text] : actions) EXPECT_EQ(Get<QAction>(name)->text(), text) << name;
  EXPECT_TRUE(Get<QAction>("Mnu_File_Line1")->isSeparator());
}

TEST_F(WindowTest, HelpWindowsShowTheirTexts) {
  Get<QAction>("Mnu_Help_About")->trigger();
  auto* about = window_->findChild<QWidget*>("About_Frm");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->findChild<QLabel*>("ProgramName")->text(), "Slabwright 3.1");
  EXPECT_FALSE(about->findChild<QLabel*>("AboutPicture")->pixmap().isNull());
  Get<QAction>("Mnu_Help_MineCart")->trigger();
  auto* help = window_->findChild<QWidget*>("MineCartHelp_Frm");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->windowTitle(), "MineCart Help");
  EXPECT_TRUE(help->findChild<QLabel*>("MineCartNote")->text().startsWith("NOTE: You need"));
  EXPECT_TRUE(
      help->findChild<QLabel*>("MineCartSteps")->text().endsWith("on a Minecart Stop sector."));
}

TEST_F(WindowTest, OpenFillsTitleRoomListTypeListAndShowsRoomZero) {
  dialog_.Next = FileChoice{showcase_.string(), "showcase.tr2"};
  Get<QAction>("Mnu_File_Open")->trigger();
  EXPECT_EQ(dialog_.Filter, "Tomb Raider levels(*.phd;*.tr2;*.tr4;*.trc)|*.phd;*.tr2;*.tr4;*.trc");
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1 [showcase.tr2]");
  EXPECT_EQ(Lines("RoomNumber"), QStringList({"Room 0", "Room 1", "Room 2", "Room 3"}));
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 0);
  EXPECT_EQ(Text("RoomInfo"), "Room 0 -  8* 8-0,0,0");
  auto* types = Get<QComboBox>("ItemDesc");
  ASSERT_EQ(types->count(), 8);
  EXPECT_EQ(types->itemText(0), "Lara");
  EXPECT_EQ(types->itemText(1), "Door 1");
  EXPECT_TRUE(window_->Doc().LevelLoaded);
  EXPECT_FALSE(window_->Doc().Modified);
  EXPECT_EQ(window_->Doc().FilePath, showcase_.string());
  EXPECT_EQ(Get<QScrollBar>("TextScroll")->value(), 0);
  // The map of room 0 is what the core draws.
  const QImage expected = ToQImage(DrawRoom(Lvl(), Game::TR2, 0));
  EXPECT_EQ(window_->RoomMap()->MapPicture(), expected);
}

TEST_F(WindowTest, ClickingSectorsFillsThePanels) {
  OpenShowcase();
  ClickSector(2, 5);  // the wall switch on its switch trigger
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  EXPECT_EQ(Text("FD_lbl"), " 3 Triggers");
  const QStringList lines = Lines("TriggerData");
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "SWITCH for OBJECT 2 (Wall Switch)");
  EXPECT_EQ(lines[1], "SWITCH for OBJECT 1 (Door 1)");
  EXPECT_EQ(lines[2], "SWITCH for CAMERA 0");
  EXPECT_EQ(Text("TriggerTimer"), "Timer 0");
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(TextColour(window_->findChild<QWidget*>(QString("TriggerFlags_%1").arg(i))),
              kSetColour);
  EXPECT_EQ(Text("SecItemCnt"), "1 item");
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 2"}));
  EXPECT_EQ(Text("FloorHeight"), "0");
  EXPECT_EQ(Text("CeilingHeight"), "244");

  ClickSector(3, 3);  // under the loft
  EXPECT_EQ(Text("DoorAbove"), "2");
  EXPECT_EQ(Text("FD_lbl"), " 0 Triggers");
  EXPECT_TRUE(Lines("TriggerData").isEmpty());  // nothing left from the switch's sector
  EXPECT_FALSE(Get<QLabel>("SecItemCnt")->isVisible());
  ClickSector(7, 3);
  EXPECT_EQ(Text("DoorSide"), "1");
  ClickSector(5, 5);  // the block and a static mesh
  EXPECT_EQ(Text("NumStatic"), "1 Static Mesh");
  EXPECT_EQ(Get<QComboBox>("StaticID")->currentText(), "Furniture 0");
  ClickSector(0, 0);
  EXPECT_TRUE(Get<QCheckBox>("FloorWall")->isChecked());
  EXPECT_FALSE(Get<QLineEdit>("FloorHeight")->isEnabled());
  EXPECT_FALSE(window_->Doc().Modified);  // showing a wall writes nothing

  // Through the portal with the right button, then the yard's trigger and minecart track.
  ClickSector(7, 3, Qt::RightButton);
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 1);
  EXPECT_EQ(Text("RoomInfo"), "Room 1 -  4* 6-0,0,0");
  ChooseRoom(3);
  ClickSector(4, 2);
  EXPECT_EQ(Text("TriggerTimer"), "Timer 30");
  const Rgb mask[5] = {kSetColour, kClearColour, kSetColour, kClearColour, kClearColour};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(TextColour(window_->findChild<QWidget*>(QString("TriggerFlags_%1").arg(i))), mask[i]);
  ClickSector(2, 3);  // a left turn
  EXPECT_EQ(Colour("FD20"), kSetColour);
  EXPECT_EQ(Colour("FD21"), kClearColour);
  EXPECT_EQ(Colour("Minecart_Stop"), kClearColour);
  ClickSector(2, 2);  // a stop
  EXPECT_EQ(Colour("FD20"), kSetColour);
  EXPECT_EQ(Colour("FD21"), kSetColour);
  EXPECT_EQ(Colour("Minecart_Stop"), kSetColour);
}

TEST_F(WindowTest, ItemFlagsAddedItemsAndTypesEditTheLevel) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  EXPECT_EQ(Text("ItemID"), "Item 0 - ObjectID 0");
  EXPECT_EQ(Get<QComboBox>("ItemDesc")->currentText(), "Lara");
  Press("ActiveFlags_0");
  EXPECT_EQ(Lvl().Items[0].Flags, 0x200);
  EXPECT_EQ(Colour("ActiveFlags_0"), kSetColour);
  EXPECT_FALSE(Get<QCheckBox>("ActiveFlags_0")->isChecked());
  EXPECT_TRUE(window_->Doc().Modified);
  Press("ItemInvisible");
  Press("ItemCB");
  EXPECT_EQ(Lvl().Items[0].Flags, 0x8300);
  Press("ActiveFlags_0");
  EXPECT_EQ(Lvl().Items[0].Flags, 0x8100);
  Press("ItemRotate");
  EXPECT_EQ(Lvl().Items[0].Angle, 0x4000 + 8192);

  // A new item on an empty sector is chosen at once, ready for its type.
  ClickSector(3, 1);
  Press("ItemAdd");
  ASSERT_EQ(Lvl().Items.size(), 9u);
  EXPECT_EQ(Lvl().Items[8].X, 3 * 1024 + 512);
  EXPECT_EQ(Lvl().Items[8].Z, 1 * 1024 + 512);
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 8"}));
  EXPECT_EQ(Text("ItemID"), "Item 8 - ObjectID 0");
  // The user steps down the type list to the tiger's moveable.
  auto* types = Get<QComboBox>("ItemDesc");
  types->setFocus();
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Down);
  EXPECT_EQ(Lvl().Items[8].ObjectID, 39);
  EXPECT_EQ(Text("ItemID"), "Item 8 - ObjectID 39");
  // Ctrl + Up moves it one sector along Z, with the focus still on the type list.
  Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[8].Z, 2 * 1024 + 512);

  Press("AllItems");
  EXPECT_EQ(types->count(), 374);
  // The OCB box stores what the user types.
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  auto* ocb = Get<QLineEdit>("ItemOCB");
  QTest::mouseClick(ocb, Qt::LeftButton);
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(ocb, "-12");
  EXPECT_EQ(Lvl().Items[0].OCB, -12);
  EXPECT_EQ(ocb->text(), "-12");
}

TEST_F(WindowTest, MinecartButtonsAndWallChangeTheSelectedSector) {
  OpenShowcase();
  ClickSector(1, 2);
  const auto before = static_cast<int32_t>(Lvl().FloorData.size() / 2);
  Press("FD20");
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(1, 2).FDIndex, before);
  EXPECT_EQ(Lvl().FloorData.size(), 2u * (before + 1));
  EXPECT_TRUE(window_->Doc().Modified);
  const QImage& map = window_->RoomMap()->MapPicture();
  EXPECT_EQ(map.pixelColor(2 * 10 + 5, 1 * 10 + 5), QColor(0, 0, 255));
  ClickSector(1, 2);
  Press("Minecart_Stop");
  EXPECT_EQ(GetSectorFlags(Lvl(), Lvl().Rooms[0].SectorAt(1, 2).FDIndex) & 96, 96);
  EXPECT_EQ(window_->RoomMap()->MapPicture().pixelColor(25, 15), QColor(255, 0, 0));

  ClickSector(3, 1);
  Press("FloorWall");
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Ceiling, 0x81);
  EXPECT_FALSE(Get<QLineEdit>("FloorHeight")->isEnabled());
  EXPECT_EQ(window_->RoomMap()->MapPicture().pixelColor(15, 35), QColor(0, 159, 0));
  Press("FloorWall");  // unchecking restores nothing
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
}

TEST_F(WindowTest, FindObjectAndNextTriggerFollowTriggersBothWays) {
  OpenShowcase();
  ClickSector(2, 5);
  ClickLine("TriggerData", 2);  // the camera: leads nowhere
  Press("GotoObject");
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  ClickLine("TriggerData", 1);  // the door
  Press("GotoObject");
  EXPECT_EQ(window_->Map().SelectedSectorX, 6);
  EXPECT_EQ(window_->Map().SelectedSectorZ, 4);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 5,3]");
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 1"}));

  ClickLine("SecCurItem", 0);
  EXPECT_EQ(Text("ItemNumTriggers"), "This object has 2 triggers");
  Press("ItemNextTrigger");
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  Press("ItemNextTrigger");
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 3);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");
  EXPECT_EQ(Lines("TriggerData")[1], "TRIGGER for OBJECT 1 (Door 1)");
  Press("ItemNextTrigger");
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 0);
  EXPECT_EQ(window_->Map().NavigationEntity, kShowcaseDoor);

  ClickSector(5, 5);  // the block: no trigger acts on it
  ClickLine("SecCurItem", 0);
  Press("ItemNextTrigger");
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_EQ(sink_.Shown.back(), "No trigger found for this object!");
  EXPECT_EQ(sink_.Titles.back(), "Slabwright2");
}

TEST_F(WindowTest, QuitAndCloseAskAboutUnsavedChanges) {
  OpenShowcase();
  window_->MenuFileQuit();  // nothing changed: no question
  EXPECT_TRUE(sink_.Asked.empty());
  EXPECT_FALSE(window_->Running());

  SetUp();
  OpenShowcase();
  ClickSector(3, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::Cancel;
  Get<QAction>("Mnu_File_Quit")->trigger();
  ASSERT_EQ(sink_.Asked.size(), 1u);
  EXPECT_EQ(sink_.Asked[0], "Current file isn't saved. Save it now?");
  EXPECT_TRUE(window_->Running());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
  // The close box asks the same.
  window_->close();
  EXPECT_EQ(sink_.Asked.size(), 2u);
  EXPECT_TRUE(window_->isVisible());
  // Yes saves first, then ends.
  sink_.NextAnswer = Answer::Yes;
  window_->MenuFileQuit();
  EXPECT_FALSE(window_->Running());
  EXPECT_FALSE(window_->isVisible());
  RecordingSink readSink;
  EXPECT_EQ(LoadLevel(showcase_, readSink).Lvl.Rooms[0].SectorAt(3, 1).Floor, 0x81);
}

TEST_F(WindowTest, OpenKeepsTheLevelWhenCancelledAndEmptiesTheWindowOnARefusedFile) {
  OpenShowcase();
  dialog_.Next.reset();
  window_->MenuFileOpen();
  EXPECT_EQ(dialog_.Opens, 1);
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1 [showcase.tr2]");
  EXPECT_EQ(Lvl().Rooms.size(), 4u);
  EXPECT_TRUE(window_->Doc().LevelLoaded);

  // With unsaved changes, Cancel on the question keeps everything, without a dialog.
  ClickSector(3, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::Cancel;
  window_->MenuFileOpen();
  EXPECT_EQ(dialog_.Opens, 1);
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);

  const fs::path bad = dir_ / "bad.tr2";
  std::ofstream(bad, std::ios::binary) << "not a level at all";
  sink_.NextAnswer = Answer::No;
  dialog_.Next = FileChoice{bad.string(), "bad.tr2"};
  window_->MenuFileOpen();
  EXPECT_FALSE(sink_.Shown.empty());
  EXPECT_TRUE(Lines("RoomNumber").isEmpty());
  EXPECT_EQ(Get<QComboBox>("ItemDesc")->count(), 0);
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1");
  EXPECT_FALSE(window_->Doc().LevelLoaded);
  EXPECT_TRUE(window_->Doc().FilePath.empty());
  EXPECT_EQ(window_->RoomMap()->MapPicture().pixelColor(5, 5), QColor(Qt::black));
  ClickSector(1, 1);  // nothing to click on
  EXPECT_EQ(Text("SecInf"), "Sectors");
}

// A damaged file is refused and leaves nothing to save: Ctrl+S can't write over it.
TEST_F(WindowTest, SavingAfterARefusedOpenLeavesTheFileAsItWas) {
  const std::vector<char> whole = FileBytes(showcase_);
  const fs::path bad = dir_ / "bad.tr2";
  std::ofstream(bad, std::ios::binary)
      .write(whole.data(), static_cast<std::streamsize>(whole.size() / 2));
  const std::vector<char> before = FileBytes(bad);
  dialog_.Next = FileChoice{bad.string(), "bad.tr2"};
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialog_.Opens, 1);
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_NE(sink_.Shown.back().find("bad.tr2"), std::string::npos) << sink_.Shown.back();
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1");
  EXPECT_FALSE(Get<QAction>("Mnu_File_Save")->isEnabled());
  EXPECT_FALSE(Get<QAction>("Mnu_File_SaveAs")->isEnabled());
  EXPECT_FALSE(Get<QAction>("Mnu_Demo_Rec")->isEnabled());
  Key(Qt::Key_S, Qt::ControlModifier);
  Get<QAction>("Mnu_File_Save")->trigger();  // even if it were reached some other way
  EXPECT_EQ(FileBytes(bad), before);
  EXPECT_EQ(dialog_.Saves, 0);
  // The same after a level was open: the refused file replaces it with nothing.
  OpenShowcase();
  ClickSector(3, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::No;
  Key(Qt::Key_O, Qt::ControlModifier);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(FileBytes(bad), before);
  EXPECT_EQ(FileBytes(showcase_), whole);
}

// Two presses after one click both land on the clicked sector; nothing goes to the corner.
TEST_F(WindowTest, EditsStayOnTheSelectedSectorAndNeedOne) {
  OpenShowcase();
  ChooseRoom(3);
  const Sector corner = Lvl().Rooms[3].SectorAt(0, 0);
  ClickSector(3, 5);
  Press("FD20");
  Press("FD21");
  const uint16_t list = Lvl().Rooms[3].SectorAt(3, 5).FDIndex;
  EXPECT_EQ(GetSectorFlags(Lvl(), list) & 96, 96);
  EXPECT_EQ(Lvl().Rooms[3].SectorAt(0, 0).FDIndex, corner.FDIndex);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 2,4]");  // still the clicked sector
  EXPECT_EQ(Colour("FD20"), kSetColour);
  EXPECT_EQ(Colour("FD21"), kSetColour);

  // Another room: nothing is selected there until the user clicks.
  const size_t items = Lvl().Items.size();
  ChooseRoom(1);
  EXPECT_EQ(Text("SecInf"), "Sectors");
  Press("FloorWall");
  EXPECT_FALSE(Get<QCheckBox>("FloorWall")->isChecked());
  Press("ItemAdd");
  Press("Minecart_Stop");
  EXPECT_EQ(Status(), kNoSectorStatus);
  EXPECT_EQ(Lvl().Items.size(), items);
  EXPECT_EQ(Lvl().Rooms[1].SectorAt(0, 0).Floor, corner.Floor);
  EXPECT_EQ(Lvl().Rooms[1].SectorAt(0, 0).FDIndex, 0);
  EXPECT_TRUE(sink_.Shown.empty());
}

TEST_F(WindowTest, CtrlArrowsMoveTheChosenItemWhereverTheFocusIs) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);  // Lara; the list keeps the focus
  ASSERT_EQ(QApplication::focusWidget(), Get<QWidget>("SecCurItem"));
  const int32_t x = Lvl().Items[0].X;
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x + 1024);
  EXPECT_EQ(Text("ItemID"), "Item 0 - ObjectID 0");  // still chosen though it left the sector
  Key(Qt::Key_PageUp, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].Y, -128);
  // The map shows it one sector further.
  EXPECT_EQ(window_->RoomMap()->MapPicture().pixelColor(10 * 2 + 4, 10 * 3 + 4),
            QColor(0, 255, 255));
  // A button with the focus passes the keys on too; the OCB box being typed in keeps them.
  QTest::mouseClick(Get<QPushButton>("ItemRotate"), Qt::LeftButton);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x);
  QTest::mouseClick(Get<QLineEdit>("ItemOCB"), Qt::LeftButton);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x);
}

TEST_F(WindowTest, PanelsFollowTheSelectionAndNothingStaleStays) {
  OpenShowcase();
  ClickSector(2, 5);
  ClickLine("SecCurItem", 0);
  EXPECT_TRUE(Text("ItemID").startsWith("Item 2 - ObjectID"));
  ClickSector(1, 3);  // plain floor: no trigger, no item
  EXPECT_EQ(Text("FD_lbl"), " 0 Triggers");
  EXPECT_TRUE(Lines("TriggerData").isEmpty());
  EXPECT_EQ(Text("ItemID"), "");
  EXPECT_EQ(Text("ItemOCB"), "");
  // Nothing chosen: typing an OCB or pressing Rotate changes nothing and says why.
  QTest::keyClicks(Get<QLineEdit>("ItemOCB"), "7");
  Press("ItemRotate");
  EXPECT_EQ(Status(), kNoEntityStatus);
  EXPECT_FALSE(window_->Doc().Modified);

  ClickSector(3, 3);  // under the loft
  EXPECT_EQ(Text("DoorAbove"), "2");
  ChooseRoom(1);
  EXPECT_EQ(Text("DoorAbove"), "None");
  // Choosing the current room again wipes the selection and its outline.
  ClickSector(2, 1);
  EXPECT_NE(Text("SecInf"), "Sectors");
  ChooseRoom(1);
  EXPECT_EQ(Text("SecInf"), "Sectors");
  EXPECT_EQ(window_->RoomMap()->MapPicture(), ToQImage(DrawRoom(Lvl(), Game::TR2, 1)));
}

TEST_F(WindowTest, UndoAndRedoNameTheEditAndUndoingEverythingSavesTheOriginal) {
  const std::vector<char> original = FileBytes(showcase_);
  OpenShowcase();
  auto* undo = Get<QAction>("Mnu_Edit_Undo");
  EXPECT_FALSE(undo->isEnabled());
  ChooseRoom(3);
  ClickSector(3, 5);
  Press("Minecart_Stop");
  Press("FD20");
  EXPECT_EQ(undo->text(), "Undo Add Minecart Left");
  ChooseRoom(0);
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(undo->text(), "Undo Move Item 0");
  EXPECT_TRUE(window_->Doc().Modified);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Get<QAction>("Mnu_Edit_Redo")->text(), "Redo Move Item 0");
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window_->Doc().Modified);
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(window_->MenuFileSave());
  EXPECT_EQ(FileBytes(showcase_), original);
}

TEST_F(WindowTest, TheMapFillsItsPaneZoomsAndTheListsGoWhereTheirRowsLead) {
  OpenShowcase();
  RoomMapWidget* map = window_->RoomMap();
  EXPECT_GE(map->DeviceScale(), 3);  // the 8 x 8 hall is more than 80 pixels wide
  QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(map->width() * 85 / 100, map->height() / 2));
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,6]");
  const int scale = map->DeviceScale();
  Key(Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(map->DeviceScale(), scale + 1);
  Key(Qt::Key_0, Qt::ControlModifier);
  QApplication::processEvents();  // the pane lays the map out again
  EXPECT_EQ(map->DeviceScale(), scale);

  // Every item is listed; a double-click on the tiger's row goes to its room and sector.
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  auto* items = Get<QTableView>("ItemsList");
  ASSERT_TRUE(items->isVisible());
  EXPECT_EQ(items->model()->rowCount(),
            static_cast<int>(Lvl().Items.size() + Lvl().AIObjects.size()));
  const QRect row = items->visualRect(items->model()->index(test::kShowcaseTiger, 0));
  QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 1);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,0]");
  EXPECT_TRUE(Text("ItemID").startsWith("Item 3 - ObjectID"));
  // Keys still move it: the list keeps the focus.
  const int32_t x = Lvl().Items[test::kShowcaseTiger].X;
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[test::kShowcaseTiger].X, x + 1024);
}

TEST_F(WindowTest, F7AndF6OpenTheNeighbouringLevelsAndF5ReadsTheFileAgain) {
  const fs::path second = dir_ / "w2.tr2";
  fs::copy_file(showcase_, dir_ / "a1.tr2");
  fs::copy_file(showcase_, second);
  ASSERT_TRUE(window_->OpenLevel((dir_ / "a1.tr2").string(), "a1.tr2"));
  Key(Qt::Key_F7);
  EXPECT_EQ(window_->Doc().FilePath, (dir_ / "showcase.tr2").string());
  Key(Qt::Key_F7);
  EXPECT_EQ(window_->Doc().FilePath, second.string());
  Key(Qt::Key_F7);  // the last one: it stays
  EXPECT_EQ(window_->Doc().FilePath, second.string());
  Key(Qt::Key_F6);
  EXPECT_EQ(window_->Doc().FilePath, (dir_ / "showcase.tr2").string());
  // Reload asks about unsaved changes first, then reads the file as it is.
  ClickSector(3, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::No;
  Key(Qt::Key_F5);
  EXPECT_EQ(sink_.Asked.size(), 1u);
  EXPECT_NE(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
  EXPECT_FALSE(window_->Doc().Modified);
}

// The flip map: with "Alternate" checked the room list's line shows its alternate room.
TEST_F(WindowTest, AlternateShowsEachRoomsAlternate) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const fs::path& file : test::RealLevels({"tr4/", "tr3/", "tr2/"})) {
    if (!window_->OpenLevel(file.string(), file.filename().string())) continue;
    int room = -1;
    for (size_t r = 0; r < Lvl().Rooms.size() && room < 0; ++r) {
      const int alternate = Lvl().Rooms[r].AlternateRoom;
      if (alternate >= 0 && alternate != 255 && static_cast<size_t>(alternate) < Lvl().Rooms.size())
        room = static_cast<int>(r);
    }
    if (room < 0) continue;
    SCOPED_TRACE(file.string());
    const int alternate = Lvl().Rooms[static_cast<size_t>(room)].AlternateRoom;
    ChooseRoom(room);
    Press("ShowAlternate");
    EXPECT_EQ(window_->Map().CurrentRoom, alternate);
    EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), room);
    EXPECT_TRUE(Text("RoomInfo").startsWith(QString("Room %1 ").arg(alternate)));
    Press("ShowAlternate");
    EXPECT_EQ(window_->Map().CurrentRoom, room);
    return;
  }
  GTEST_SKIP() << "no real level with an alternate room";
}

TEST_F(WindowTest, EveryControlCarriesItsNameForScreenReaders) {
  OpenShowcase();
  // Every named widget can be found by a name (Qt's own parts, such as a tab bar's arrows,
  // keep the names Qt gives them); the window's controls by their own.
  for (QWidget* widget : window_->findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_")) continue;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
  }
  for (const char* name : {"RoomMap", "RoomView3D", "FD20", "SecCurItem", "ItemOCB", "RoomNumber",
                           "ItemsList", "ItemFilter", "TriggersList", "TriggerFilter"}) {
    auto* widget = window_->findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name;
    EXPECT_EQ(widget->accessibleName(), name);
  }
}

TEST_F(WindowTest, FramesAreDrawnAtMostOncePerTenMillisecondsAndShowTheOverview) {
  OpenShowcase();
  const int before = window_->FramesDrawn();
  window_->FrameTick(1000);
  EXPECT_EQ(window_->FramesDrawn(), before + 1);
  EXPECT_FALSE(window_->FrameTimerActive());  // nothing more to draw: the timer rests
  ChooseRoom(3);
  EXPECT_TRUE(window_->FrameTimerActive());
  window_->FrameTick(1010);
  EXPECT_EQ(window_->FramesDrawn(), before + 1);
  window_->FrameTick(1011);
  EXPECT_EQ(window_->FramesDrawn(), before + 2);
  EXPECT_FALSE(window_->RightViewIs3D());
  EXPECT_EQ(window_->RightView()->OverviewPicture(), ToQImage(DrawLevelOverview(Lvl(), 3)));
  // The yard's inner sectors are red; the hall's top lies above the yard's bottom: dark grey.
  const QImage& overview = window_->RightView()->OverviewPicture();
  EXPECT_EQ(overview.pixelColor(13 * 4, 1 * 4), QColor(255, 0, 0));
  EXPECT_EQ(overview.pixelColor(1 * 4, 1 * 4), QColor(96, 96, 96));
  EXPECT_EQ(overview.pixelColor(0, 0), QColor(255, 255, 255));
}

TEST_F(WindowTest, DemoRecordingStopsDrawingAndSavesAFinishedDemo) {
  OpenShowcase();
  Get<QAction>("Mnu_Demo_Rec")->trigger();
  ASSERT_TRUE(window_->Recorder().DemoRecording);
  EXPECT_FALSE(window_->RenderEnabled());
  EXPECT_TRUE(window_->Doc().Modified);
  EXPECT_EQ(sink_.Shown.back(),
            "Please start Tomb Raider II, load the current level and press TAB to start "
            "recording'");
  keyboard_.Press(kDikTab);
  for (int t = 0; t < 300; t += 10) {
    clock_.Now = 5000 + t;
    if (t == 150) keyboard_.Release(kDikTab);
    if (t == 160) keyboard_.Press(kDikUp);
    window_->FrameTick(clock_.Now);
  }
  const int frames = window_->FramesDrawn();
  EXPECT_TRUE(window_->FrameTimerActive());  // it polls the recorder

  const fs::path saved = dir_ / "demo.tr2";
  dialog_.Next = FileChoice{saved.string(), "demo.tr2"};
  ASSERT_TRUE(window_->MenuFileSaveAs());
  EXPECT_TRUE(window_->Recorder().DemoRecording);  // the recording goes on
  RecordingSink readSink;
  const Level read = LoadLevel(saved, readSink).Lvl;
  ASSERT_GT(read.DemoData.size(), 11u);
  EXPECT_EQ(read.NumDemoData, static_cast<int16_t>(read.DemoData.size() * 4));
  EXPECT_EQ(read.DemoData.back(), -1);
  EXPECT_EQ(read.DemoData[0], Lvl().Items[0].X);
  bool up = false;
  for (size_t i = 10; i + 1 < read.DemoData.size(); ++i) up |= (read.DemoData[i] & kDemoUp) != 0;
  EXPECT_TRUE(up);
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1 [demo.tr2]");

  Get<QAction>("Mnu_Demo_Stop")->trigger();
  EXPECT_FALSE(window_->Recorder().DemoRecording);
  EXPECT_TRUE(window_->RenderEnabled());
  window_->FrameTick(clock_.Now + 100);
  EXPECT_EQ(window_->FramesDrawn(), frames + 1);
}

TEST_F(WindowTest, RealLevelsOpenAndTheirSectorsCanBeClicked) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const fs::path& file : test::RealLevels({"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"})) {
    SCOPED_TRACE(file.string());
    sink_.Shown.clear();
    const bool loaded = window_->OpenLevel(file.string(), file.filename().string());
    EXPECT_EQ(Lines("RoomNumber").size(), static_cast<qsizetype>(Lvl().Rooms.size()));
    if (!loaded) continue;
    const Game version = window_->Doc().GameVersion;
    EXPECT_EQ(Text("FD20"), version >= Game::TR4 ? "Trigger Triggerer" : "Minecart Left");
    EXPECT_EQ(Get<QComboBox>("ItemDesc")->count(), static_cast<int>(Lvl().Moveables.size()));
    for (int room = 0; room < static_cast<int>(Lvl().Rooms.size()); room += 7) {
      ChooseRoom(room);
      ClickSector(1, 1);
      EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 0,0]");
    }
    window_->FrameTick(window_->FramesDrawn() * 100 + 100000);
  }
}

// The file saved by the end-to-end demo script (demo_end_to_end.sh), when it names one.
TEST(RecordedDemoFile, HoldsHeaderMasksAndEndMarker) {
  const char* path = std::getenv("SLAB_DEMO_FILE");
  if (path == nullptr) GTEST_SKIP() << "run by demo_end_to_end.sh";
  RecordingSink sink;
  const Level level = LoadLevel(path, sink).Lvl;
  ASSERT_GT(level.DemoData.size(), 11u);
  EXPECT_EQ(level.NumDemoData, static_cast<int16_t>(level.DemoData.size() * 4));
  EXPECT_EQ(level.DemoData[0], level.Items[0].X);
  EXPECT_EQ(level.DemoData.back(), -1);
  bool up = false;
  for (size_t i = 10; i + 1 < level.DemoData.size(); ++i) up |= (level.DemoData[i] & kDemoUp) != 0;
  EXPECT_TRUE(up);
}

}  // namespace
}  // namespace slab
