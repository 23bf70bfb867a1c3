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
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/main_window.h"
#include "app/overview.h"
#include "app/sector_map_widget.h"
#include "floordata/walkers.h"
#include "level/load_level.h"
#include "map/draw_room.h"
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
    window_->show();
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
  // A left click on sector (a, b) of the current room through the map's mouse handler.
  void ClickSector(int a, int b, int button = kLeftButton, int shift = 0) {
    window_->SectorMapMouseDown(button, shift, 10 * b + 5, 10 * a + 5);
  }
  void ChooseRoom(int room) { Get<QListWidget>("RoomNumber")->setCurrentRow(room); }
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
  const QImage expected = ToQImage(DrawRoom(Lvl(), kTR2, 0));
  EXPECT_EQ(window_->SectorMap()->MapPicture(), expected);
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
  EXPECT_EQ(Lines("TriggerData").size(), 3);  // the last trigger's lines stay
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
  ClickSector(7, 3, kRightButton);
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
  Get<QListWidget>("SecCurItem")->setCurrentRow(0);
  EXPECT_EQ(Text("ItemID"), "Item 0 - ObjectID 0");
  EXPECT_EQ(Get<QComboBox>("ItemDesc")->currentText(), "Lara");
  Get<QCheckBox>("ActiveFlags_0")->click();
  EXPECT_EQ(Lvl().Items[0].Flags, 0x200);
  EXPECT_EQ(Colour("ActiveFlags_0"), kSetColour);
  EXPECT_FALSE(Get<QCheckBox>("ActiveFlags_0")->isChecked());
  EXPECT_TRUE(window_->Doc().Modified);
  Get<QCheckBox>("ItemInvisible")->click();
  Get<QCheckBox>("ItemCB")->click();
  EXPECT_EQ(Lvl().Items[0].Flags, 0x8300);
  Get<QCheckBox>("ActiveFlags_0")->click();
  EXPECT_EQ(Lvl().Items[0].Flags, 0x8100);
  Get<QPushButton>("ItemRotate")->click();
  EXPECT_EQ(Lvl().Items[0].Angle, 0x4000 + 8192);

  // A new item on an empty sector is chosen at once, ready for its type.
  ClickSector(3, 1);
  Get<QPushButton>("ItemAdd")->click();
  ASSERT_EQ(Lvl().Items.size(), 9u);
  EXPECT_EQ(Lvl().Items[8].X, 3 * 1024 + 512);
  EXPECT_EQ(Lvl().Items[8].Z, 1 * 1024 + 512);
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 8"}));
  EXPECT_EQ(Text("ItemID"), "Item 8 - ObjectID 0");
  auto* types = Get<QComboBox>("ItemDesc");
  types->setCurrentIndex(3);
  emit types->activated(3);  // the user's choice: the tiger's moveable
  EXPECT_EQ(Lvl().Items[8].ObjectID, 39);
  EXPECT_EQ(Text("ItemID"), "Item 8 - ObjectID 39");
  // Ctrl + Up moves it one sector along Z.
  window_->MapKeyDown(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[8].Z, 2 * 1024 + 512);

  Get<QCheckBox>("AllItems")->click();
  EXPECT_EQ(types->count(), 374);
  // The OCB box stores what the user types.
  ClickSector(2, 2);
  Get<QListWidget>("SecCurItem")->setCurrentRow(0);
  auto* ocb = Get<QLineEdit>("ItemOCB");
  ocb->clear();
  ocb->setFocus();
  ocb->insert("12");
  emit ocb->textEdited("12");
  EXPECT_EQ(Lvl().Items[0].OCB, 12);
}

TEST_F(WindowTest, MinecartButtonsAndWallChangeTheSelectedSector) {
  OpenShowcase();
  ClickSector(1, 2);
  const int32_t before = Lvl().NumFloorData;
  Get<QPushButton>("FD20")->click();
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(1, 2).FDIndex, before);
  EXPECT_EQ(Lvl().NumFloorData, before + 1);
  EXPECT_TRUE(window_->Doc().Modified);
  const QImage& map = window_->SectorMap()->MapPicture();
  EXPECT_EQ(map.pixelColor(2 * 10 + 5, 1 * 10 + 5), QColor(0, 0, 255));
  ClickSector(1, 2);
  Get<QPushButton>("Minecart_Stop")->click();
  EXPECT_EQ(GetSectorFlags(Lvl(), Lvl().Rooms[0].SectorAt(1, 2).FDIndex) & 96, 96);
  EXPECT_EQ(window_->SectorMap()->MapPicture().pixelColor(25, 15), QColor(255, 0, 0));

  ClickSector(3, 1);
  Get<QCheckBox>("FloorWall")->click();
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Ceiling, 0x81);
  EXPECT_FALSE(Get<QLineEdit>("FloorHeight")->isEnabled());
  EXPECT_EQ(window_->SectorMap()->MapPicture().pixelColor(15, 35), QColor(0, 159, 0));
  Get<QCheckBox>("FloorWall")->click();  // unchecking restores nothing
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
}

TEST_F(WindowTest, FindObjectAndNextTriggerFollowTriggersBothWays) {
  OpenShowcase();
  ClickSector(2, 5);
  Get<QListWidget>("TriggerData")->setCurrentRow(2);  // the camera: leads nowhere
  Get<QPushButton>("GotoObject")->click();
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  Get<QListWidget>("TriggerData")->setCurrentRow(1);  // the door
  Get<QPushButton>("GotoObject")->click();
  EXPECT_EQ(window_->Map().SelectedSectorX, 6);
  EXPECT_EQ(window_->Map().SelectedSectorZ, 4);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 5,3]");
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 1"}));

  Get<QListWidget>("SecCurItem")->setCurrentRow(0);
  EXPECT_EQ(Text("ItemNumTriggers"), "This object has 2 triggers");
  auto* next = Get<QPushButton>("ItemNextTrigger");
  next->click();
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  next->click();
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 3);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,1]");
  EXPECT_EQ(Lines("TriggerData")[1], "TRIGGER for OBJECT 1 (Door 1)");
  next->click();
  EXPECT_EQ(Get<QListWidget>("RoomNumber")->currentRow(), 0);
  EXPECT_EQ(window_->Map().NavigationEntity, kShowcaseDoor);

  ClickSector(5, 5);  // the block: no trigger acts on it
  Get<QListWidget>("SecCurItem")->setCurrentRow(0);
  next->click();
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
  Get<QCheckBox>("FloorWall")->click();
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
  int version = 0;
  EXPECT_EQ(LoadLevel(showcase_, version, readSink).Lvl.Rooms[0].SectorAt(3, 1).Floor, 0x81);
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
  Get<QCheckBox>("FloorWall")->click();
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
  EXPECT_EQ(window_->windowTitle(), "Slabwright 3.1 [bad.tr2]");
  EXPECT_EQ(window_->SectorMap()->MapPicture().pixelColor(5, 5), QColor(Qt::black));
  ClickSector(1, 1);  // nothing to click on
  EXPECT_EQ(Text("SecInf"), "Sectors");
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
  EXPECT_EQ(window_->SectorMap()->OverviewPicture(), ToQImage(DrawLevelOverview(Lvl(), 3)));
  // The yard's inner sectors are red; the hall's top lies above the yard's bottom: dark grey.
  const QImage& overview = window_->SectorMap()->OverviewPicture();
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
  int version = 0;
  const Level read = LoadLevel(saved, version, readSink).Lvl;
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
    const int version = window_->Doc().GameVersion;
    EXPECT_EQ(Text("FD20"), version >= kTR4 ? "Trigger Triggerer" : "Minecart Left");
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
  int version = 0;
  const Level level = LoadLevel(path, version, sink).Lvl;
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
