// The main window driven through its controls on the offscreen platform.
#include <QDockWidget>
#include <QHeaderView>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <fstream>

#include "app/level_files.h"
#include "floordata/walkers.h"
#include "map/draw_room.h"
#include "map/level_tables.h"
#include "map/overview.h"
#include "support/real_levels.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;
using test::kShowcaseTiger;

class WindowTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  // While a demo records: Tab held (capturing on) then released, then cursor up held, each
  // frame pass looking at the keyboard.
  void PlayIntoTheDemo() {
    keyboard_.Press(kDikTab);
    for (int t = 0; t < 300; t += 10) {
      clock_.Now = 5000 + t;
      if (t == 150) keyboard_.Release(kDikTab);
      if (t == 160) keyboard_.Press(kDikUp);
      FramePass(clock_.Now);
    }
  }
};

// Column `column` of the rows a list shows, top to bottom.
QStringList Column(const QTableView* table, int column) {
  QStringList texts;
  for (int row = 0; row < table->model()->rowCount(); ++row)
    texts << table->model()->index(row, column).data().toString();
  return texts;
}

// A finished demo: the header from the first Lara, its byte count, an Up key and the end marker.
void ExpectFinishedDemo(const Level& level) {
  ASSERT_GT(level.DemoData.size(), 11u);
  EXPECT_EQ(level.NumDemoData, static_cast<int16_t>(level.DemoData.size() * 4));
  EXPECT_EQ(level.DemoData[0], level.Items[0].X);
  EXPECT_EQ(level.DemoData.back(), -1);
  bool up = false;
  for (size_t i = 10; i + 1 < level.DemoData.size(); ++i) up |= (level.DemoData[i] & kDemoUp) != 0;
  EXPECT_TRUE(up);
}

TEST_F(WindowTest, OpenFillsTitleRoomsAndMap) {
  dialog_.Next = FileChoice{showcase_.string(), "showcase.tr2"};
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(window_->windowHandle()->title(), QString(kWindowTitle) + " [showcase.tr2]");
  EXPECT_EQ(Lines("RoomNumber"), QStringList({"Room 0", "Room 1", "Room 2", "Room 3"}));
  EXPECT_EQ(CurrentRoomRow(), 0);
  Choose("Mnu_Help_About");
  auto* about = Get<QWidget>("About_Frm");
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(about->findChild<QLabel*>("AboutPicture")->pixmap().isNull());
}

// The map fills its pane and zooms; every panel shows the clicked sector, and nothing of the
// sector before stays.
TEST_F(WindowTest, PanelsFollowTheClickedSectorAndNothingStaleStays) {
  OpenShowcase();
  RoomMapWidget* map = Get<RoomMapWidget>("RoomMap");
  // The 8 x 8 hall fills the pane: its last column lies at 95% of the pane's width.
  QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(map->width() * 95 / 100, map->height() / 2));
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 3,6]");
  const int fitted = map->SectorPixels();
  Key(Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_GT(map->SectorPixels(), fitted);
  Key(Qt::Key_0, Qt::ControlModifier);
  QApplication::processEvents();  // the pane lays the map out again
  EXPECT_EQ(map->SectorPixels(), fitted);

  ClickSector(2, 5);  // the wall switch on its switch trigger
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  EXPECT_EQ(Lines("TriggerData"),
            QStringList({"SWITCH for OBJECT 2 (Wall Switch)", "SWITCH for OBJECT 1 (Door 1)",
                         "SWITCH for CAMERA 0"}));
  ClickLine("SecCurItem", 0);
  EXPECT_TRUE(Text("ItemID").startsWith("Item 2 - ObjectID"));

  ClickSector(3, 3);  // under the loft: no trigger, no item
  EXPECT_EQ(Text("DoorAbove"), "2");
  EXPECT_TRUE(Lines("TriggerData").isEmpty());
  EXPECT_FALSE(Get<QLabel>("SecItemCnt")->isVisible());
  EXPECT_EQ(Text("ItemID"), "");
  // Nothing chosen: typing an OCB or pressing Rotate changes nothing and says why.
  QTest::keyClicks(Get<QLineEdit>("ItemOCB"), "7");
  Press("ItemRotate");
  EXPECT_EQ(window_->statusBar()->currentMessage(), kNoEntityStatus);
  ClickSector(7, 3);
  EXPECT_EQ(Text("DoorSide"), "1");
  EXPECT_EQ(Text("DoorAbove"), "None");
  ClickSector(5, 5);  // the block and a static mesh
  EXPECT_EQ(Get<QComboBox>("StaticID")->currentText(), "Furniture 0");
  ClickSector(0, 0);
  EXPECT_TRUE(Get<QCheckBox>("FloorWall")->isChecked());
  EXPECT_FALSE(window_->Doc().Modified);  // showing is no edit

  // Through the portal with the right button; choosing the room again drops the selection.
  ClickSector(7, 3, Qt::RightButton);
  EXPECT_EQ(Text("RoomInfo"), "Room 1 -  4* 6-0,0,0");
  ClickSector(2, 1);
  EXPECT_NE(Text("SecInf"), "Sectors");
  ChooseRoom(1);
  EXPECT_EQ(Text("SecInf"), "Sectors");
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(),
            ToQImage(DrawRoom(Lvl(), window_->Doc().GameVersion, 1)));
}

TEST_F(WindowTest, ItemFlagsAddedItemsTypesAndOcbEditTheLevel) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  Press("ActiveFlags_0");
  Press("ItemCB");
  EXPECT_EQ(Lvl().Items[0].Flags, 0x8200);
  EXPECT_EQ(TextColour(Get<QWidget>("ActiveFlags_0")), kSetColour);
  Press("ItemRotate");
  EXPECT_EQ(Lvl().Items[0].Angle, 0x4000 + 8192);
  auto* ocb = Get<QLineEdit>("ItemOCB");
  QTest::mouseClick(ocb, Qt::LeftButton);
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(ocb, "-12");
  EXPECT_EQ(Lvl().Items[0].OCB, -12);

  // A new item on an empty sector is chosen at once; the user steps down the type list.
  ClickSector(3, 1);
  Press("ItemAdd");
  ASSERT_EQ(Lvl().Items.size(), 9u);
  Get<QComboBox>("ItemDesc")->setFocus();
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Down);
  EXPECT_EQ(Lvl().Items[8].ObjectID, 28);  // the fourth model: the tiger, by the third game's id
  EXPECT_EQ(Text("ItemID"), "Item 8 - ObjectID 28");
}

// Two presses after one click both land on the clicked sector, nothing goes to the corner, and
// with no sector chosen nothing changes at all.
TEST_F(WindowTest, EditsStayOnTheClickedSectorAndNeedOne) {
  OpenShowcase();
  ClickSector(3, 1);
  Press("FloorWall");
  EXPECT_EQ(Lvl().Rooms[0].SectorAt(3, 1).Floor, 0x81);
  EXPECT_FALSE(Get<QLineEdit>("FloorHeight")->isEnabled());
  EXPECT_EQ(MapPixel(15, 35), QColor(0, 159, 0));

  ChooseRoom(3);
  const Sector corner = Lvl().Rooms[3].SectorAt(0, 0);
  ClickSector(3, 5);
  Press("FD20");
  Press("FD21");
  EXPECT_EQ(GetSectorFlags(Lvl(), Lvl().Rooms[3].SectorAt(3, 5).FDIndex) & 96, 96);
  EXPECT_EQ(Lvl().Rooms[3].SectorAt(0, 0).FDIndex, corner.FDIndex);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 2,4]");  // still the clicked sector
  EXPECT_EQ(TextColour(Get<QWidget>("FD21")), kSetColour);
  EXPECT_EQ(MapPixel(55, 35), QColor(255, 0, 0));

  const auto floorData = Lvl().FloorData;
  const Sector before = Lvl().Rooms[1].SectorAt(0, 0);
  const size_t items = Lvl().Items.size();
  ChooseRoom(1);  // nothing is selected there until the user clicks
  for (const char* button : {"FloorWall", "ItemAdd", "Minecart_Stop"}) Press(button);
  EXPECT_EQ(window_->statusBar()->currentMessage(), kNoSectorStatus);
  EXPECT_FALSE(Get<QCheckBox>("FloorWall")->isChecked());
  EXPECT_EQ(Lvl().Items.size(), items);
  EXPECT_EQ(Lvl().Rooms[1].SectorAt(0, 0).Floor, before.Floor);
  EXPECT_EQ(Lvl().FloorData, floorData);
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
  EXPECT_EQ(MapPixel(10 * 2 + 4, 10 * 3 + 4), QColor(0, 255, 255));  // one sector further
  // A button with the focus passes the keys on too; the OCB box being typed in keeps them.
  QTest::mouseClick(Get<QPushButton>("ItemRotate"), Qt::LeftButton);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x);
  QTest::mouseClick(Get<QLineEdit>("ItemOCB"), Qt::LeftButton);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(Lvl().Items[0].X, x);
}

// The door's triggers are visited in the index's order (room, then Z, then X) and round again,
// the panels going along.
TEST_F(WindowTest, FindObjectAndNextTriggerTakeThePanelsAlong) {
  OpenShowcase();
  ClickSector(2, 5);
  ClickLine("TriggerData", 1);  // the door
  Press("GotoObject");
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 5,3]");
  EXPECT_EQ(Lines("SecCurItem"), QStringList({"Item 1"}));
  ClickLine("SecCurItem", 0);
  for (auto [room, sector] : {std::pair{0, "1,4"}, {3, "3,1"}, {0, "1,4"}}) {
    Press("ItemNextTrigger");
    EXPECT_EQ(CurrentRoomRow(), room);
    EXPECT_EQ(Text("SecInf"), QString("Sector Info [Sector %1]").arg(sector));
  }
  ClickSector(5, 5);  // the block: no trigger acts on it
  ClickLine("SecCurItem", 0);
  Press("ItemNextTrigger");
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_EQ(sink_.Shown.back(), "No trigger found for this object!");
}

// A damaged file is refused and leaves nothing to save: Ctrl+S can write neither over it nor
// over the level open before it.
TEST_F(WindowTest, ARefusedOpenEmptiesTheWindowAndNothingCanBeSavedOverAFile) {
  const std::vector<uint8_t> whole = test::ReadFile(showcase_);
  const fs::path bad = dir_ / "bad.tr2";
  std::ofstream(bad, std::ios::binary)
      .write(reinterpret_cast<const char*>(whole.data()),
             static_cast<std::streamsize>(whole.size() / 2));
  const std::vector<uint8_t> badBytes = test::ReadFile(bad);
  OpenShowcase();
  Key(Qt::Key_O, Qt::ControlModifier);  // cancelled in the dialog: the level stays
  EXPECT_TRUE(window_->Doc().LevelLoaded);
  ClickSector(3, 1);
  Press("FloorWall");
  sink_.NextAnswer = Answer::No;
  dialog_.Next = FileChoice{bad.string(), "bad.tr2"};
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_FALSE(sink_.Shown.empty());
  EXPECT_NE(sink_.Shown.back().find("bad.tr2"), std::string::npos) << sink_.Shown.back();
  EXPECT_EQ(window_->windowTitle(), kWindowTitle);
  EXPECT_TRUE(Lines("RoomNumber").isEmpty());
  for (const char* action : {"Mnu_File_Save", "Mnu_File_SaveAs", "Mnu_Demo_Rec"})
    EXPECT_FALSE(Get<QAction>(action)->isEnabled()) << action;
  ClickSector(1, 1);  // nothing to click on
  EXPECT_EQ(Text("SecInf"), "Sectors");
  Key(Qt::Key_S, Qt::ControlModifier);
  Choose("Mnu_File_Save");  // even if it were reached some other way
  EXPECT_EQ(dialog_.Saves, 0);
  EXPECT_EQ(test::ReadFile(bad), badBytes);
  EXPECT_EQ(test::ReadFile(showcase_), whole);
}

// Undoing every edit saves the original bytes; a change left unsaved is asked about on Quit
// and at the close box, and Yes saves it before the end.
TEST_F(WindowTest, UndoingEverythingSavesTheOriginalAndQuitAsksAboutWhatIsLeft) {
  const std::vector<uint8_t> original = test::ReadFile(showcase_);
  OpenShowcase();
  auto* undo = Get<QAction>("Mnu_Edit_Undo");
  ChooseRoom(3);
  ClickSector(3, 5);
  Press("Minecart_Stop");
  Press("FD20");
  EXPECT_EQ(undo->text(), "Undo Add Minecart Left");
  ChooseRoom(0);
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  Key(Qt::Key_Down, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Get<QAction>("Mnu_Edit_Redo")->text(), "Redo Move Item 0");
  Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_FALSE(window_->Doc().Modified);
  EXPECT_FALSE(undo->isEnabled());
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(showcase_), original);

  Key(Qt::Key_Y, Qt::ControlModifier);  // the minecart stop again
  sink_.NextAnswer = Answer::Cancel;
  Choose("Mnu_File_Quit");
  EXPECT_EQ(sink_.Asked, std::vector<std::string>{kUnsavedQuestion});
  EXPECT_TRUE(window_->isVisible());
  window_->close();  // the close box asks the same
  EXPECT_EQ(sink_.Asked.size(), 2u);
  EXPECT_TRUE(window_->isVisible());
  sink_.NextAnswer = Answer::Yes;
  Choose("Mnu_File_Quit");
  EXPECT_FALSE(window_->isVisible());
  EXPECT_NE(test::ReadFile(showcase_), original);
}

// The lists of the whole level: sorted by a column title, filtered as the user types, a row
// followed by a double-click or Enter; an edit shows at once, the filter kept. Which rows match
// is the core's (map/level_lists_test).
TEST_F(WindowTest, TheLevelListsSortFilterLeadToTheirPlacesAndFollowEdits) {
  OpenShowcase();
  Key(Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  auto* items = Get<QTableView>("ItemsList");
  const int x = static_cast<int>(ItemColumn::X);
  QHeaderView* header = items->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(x) + 4, header->height() / 2));
  const QStringList xs = Column(items, x);
  ASSERT_EQ(xs.size(), 8);
  for (int i = 1; i < xs.size(); ++i) EXPECT_LE(xs[i - 1].toInt(), xs[i].toInt()) << i;

  QTest::keyClicks(Get<QLineEdit>("ItemFilter"), "tiger");
  ASSERT_EQ(Column(items, 0), QStringList({"Item 3"}));
  const QStringList tigerXs = Column(items, x);
  const QPoint row = items->visualRect(items->model()->index(0, 0)).center();
  QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, row);
  QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, row);
  EXPECT_EQ(CurrentRoomRow(), 1);
  // The list numbers the sector from 0; the caption alone counts from -1.
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,0]");
  EXPECT_EQ(Column(items, static_cast<int>(ItemColumn::Sector)), QStringList({"2,1"}));
  EXPECT_TRUE(Text("ItemID").startsWith("Item 3 - ObjectID"));
  const int32_t tigerX = Lvl().Items[kShowcaseTiger].X;
  Key(Qt::Key_Right, Qt::ControlModifier);  // the list keeps the focus
  EXPECT_EQ(Lvl().Items[kShowcaseTiger].X, tigerX + 1024);
  EXPECT_EQ(Column(items, 0), QStringList({"Item 3"}));
  EXPECT_NE(Column(items, x), tigerXs);

  // The second list opens as a tab beside the first, filled.
  Key(Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Get<QTableView>("TriggersList")->model()->rowCount(), 9);
  auto* triggerFilter = Get<QLineEdit>("TriggerFilter");
  QTest::keyClicks(triggerFilter, "camera");
  QTest::keyClick(triggerFilter, Qt::Key_Return);
  EXPECT_EQ(CurrentRoomRow(), 0);
  EXPECT_EQ(Text("SecInf"), "Sector Info [Sector 1,4]");
  EXPECT_EQ(Column(Get<QTableView>("TriggersList"), static_cast<int>(TriggerColumn::Sector)),
            QStringList({"2,5"}));
}

// Which file is the neighbour is the core's (level_files_test). The window passes over files
// that cannot be read, names them in the status bar without a box each, and never closes the
// level open for want of a readable neighbour.
TEST_F(WindowTest, F7AndF6PassOverFilesThatCannotBeReadAndNeverLeaveNothingOpen) {
  fs::copy_file(showcase_, dir_ / "a1.tr2");
  // Between a1.tr2 and showcase.tr2: an encrypted level and an empty file.
  std::ofstream(dir_ / "b.tr4", std::ios::binary) << "TR4c" << std::string(64, '\x7f');
  std::ofstream(dir_ / "c.phd", std::ios::binary).flush();
  auto status = [&] { return window_->statusBar()->currentMessage().toStdString(); };
  OpenShowcase();
  Key(Qt::Key_F6);
  EXPECT_EQ(window_->Doc().FilePath, (dir_ / "a1.tr2").string());
  EXPECT_EQ(status(), "Skipped 2 files that cannot be read: c.phd, b.tr4");
  EXPECT_TRUE(sink_.Shown.empty()) << sink_.Shown[0];
  Key(Qt::Key_F6);
  EXPECT_EQ(status(), "This is the first level of its folder.");
  Key(Qt::Key_F7);
  EXPECT_EQ(window_->Doc().FilePath, showcase_.string());
  EXPECT_EQ(Lines("RoomNumber").size(), 4);

  // Nothing readable that way: the level open stays open with its changes, unasked, and the
  // status bar says why.
  fs::remove(dir_ / "a1.tr2");
  fs::remove(dir_ / "c.phd");
  ClickSector(3, 1);
  Press("FloorWall");
  Key(Qt::Key_F6);
  EXPECT_TRUE(sink_.Asked.empty());
  EXPECT_TRUE(window_->Doc().Modified);
  EXPECT_EQ(window_->Doc().FilePath, showcase_.string());
  EXPECT_EQ(status(),
            "No level before this one can be read. Skipped b.tr4, which cannot be read: "
            "Unknown TR version!");
  EXPECT_TRUE(sink_.Shown.empty());

  // A file refused by Open leaves no level, yet F7 goes on from it through the folder.
  sink_.NextAnswer = Answer::No;  // the changes go
  dialog_.Next = FileChoice{(dir_ / "b.tr4").string(), "b.tr4"};
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_FALSE(window_->Doc().LevelLoaded);
  ASSERT_EQ(sink_.Shown.size(), 1u);  // Open names what is wrong
  Key(Qt::Key_F7);
  EXPECT_EQ(window_->Doc().FilePath, showcase_.string());
}

// F5 with unsaved changes asks whether to drop them, not whether to save them, and the file
// read again is shown at the room and sector the user was at.
TEST_F(WindowTest, ReloadAsksToDiscardTheChangesAndKeepsTheRoomAndSector) {
  OpenShowcase();
  const std::vector<uint8_t> file = test::ReadFile(showcase_);
  ChooseRoom(2);
  ClickSector(1, 1);
  const QString caption = Text("SecInf");
  const int16_t floor = Lvl().Rooms[2].SectorAt(1, 1).Floor;
  Press("FloorWall");
  ASSERT_TRUE(window_->Doc().Modified);
  sink_.NextAnswer = Answer::Cancel;
  Key(Qt::Key_F5);
  EXPECT_EQ(sink_.Asked, std::vector<std::string>{kReloadQuestion});
  EXPECT_TRUE(window_->Doc().Modified);
  sink_.NextAnswer = Answer::Yes;  // Reload
  Key(Qt::Key_F5);
  EXPECT_FALSE(window_->Doc().Modified);
  EXPECT_EQ(Lvl().Rooms[2].SectorAt(1, 1).Floor, floor);
  EXPECT_EQ(CurrentRoomRow(), 2);
  EXPECT_EQ(Text("SecInf"), caption);
  EXPECT_EQ(test::ReadFile(showcase_), file);  // nothing was saved on the way
  EXPECT_TRUE(sink_.Shown.empty());
}

// On the real levels of every game: F7 goes through each folder to its end with a level open
// all the way, and F5 at each keeps the room and sector.
TEST_F(WindowTest, F7ThroughTheRealLevelsOfEachGameAndF5KeepsThePlace) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const char* game : {"tr1/", "tr2/", "tr3/", "tr4/", "tr5/"}) {
    std::vector<fs::path> files = test::RealLevels({game});
    ASSERT_FALSE(files.empty()) << game;
    std::sort(files.begin(), files.end(), [](const fs::path& l, const fs::path& r) {
      return LevelNameLess(l.filename().string(), r.filename().string());
    });
    std::vector<bool> loads;
    for (const fs::path& file : files) loads.push_back(test::LoadFile(file)->Result.Loaded);
    // From the first readable file to the end of the folder.
    const size_t first =
        static_cast<size_t>(std::find(loads.begin(), loads.end(), true) - loads.begin());
    ASSERT_LT(first, files.size()) << game;
    const auto readable = static_cast<size_t>(
        std::count(loads.begin() + static_cast<long>(first), loads.end(), true));
    ASSERT_TRUE(window_->OpenLevel(files[first].string(), files[first].filename().string()));
    size_t visited = 1;
    for (;;) {
      SCOPED_TRACE(window_->Doc().FileTitle);
      const int room = static_cast<int>(Lvl().Rooms.size()) - 1;
      if (room > 0) {
        ChooseRoom(room);
        ClickSector(1, 1);
        const QString caption = Text("SecInf");
        Key(Qt::Key_F5);
        EXPECT_EQ(CurrentRoomRow(), room);
        EXPECT_EQ(Text("SecInf"), caption);
      }
      const std::string before = window_->Doc().FilePath;
      Key(Qt::Key_F7);
      ASSERT_TRUE(window_->Doc().LevelLoaded);
      if (window_->Doc().FilePath == before) break;
      ++visited;
    }
    EXPECT_EQ(visited, readable) << game;
    EXPECT_TRUE(window_->statusBar()->currentMessage().startsWith("This is the last level"));
  }
  // The encrypted fifth-game level beside the plain one opens too, for viewing, and the status
  // bar says it holds a fifth-game level under a fourth-game name.
  const auto lake = test::RealLevels({"tr5/"});
  const fs::path trc = *std::find_if(lake.begin(), lake.end(), [](const fs::path& p) {
    return p.filename().string().ends_with("lake.trc");
  });
  ASSERT_TRUE(window_->OpenLevel(trc.string(), trc.filename().string()));
  Key(Qt::Key_F6);
  EXPECT_TRUE(window_->Doc().FilePath.ends_with("lake-enc.tr4")) << window_->Doc().FilePath;
  EXPECT_TRUE(window_->Doc().CurrentLevel.Encrypted);
  EXPECT_TRUE(window_->statusBar()->currentMessage().contains("holds a fifth-game level"))
      << window_->statusBar()->currentMessage().toStdString();
}

// Frames come at most once per interval and only when something changed; a demo being
// recorded stops them, and the saved copy is a finished demo while the recording goes on.
// A frame shows as the overview of the room current when it was drawn.
TEST_F(WindowTest, FramesAreThrottledAndADemoRecordingStopsThemAndSavesAFinishedDemo) {
  OpenShowcase();
  auto* frameTimer = Get<QTimer>("FrameTimer");
  auto overviewOf = [&](int room) { return ToQImage(DrawLevelOverview(Lvl(), room)); };
  FramePass(1000);
  EXPECT_EQ(Get<RightViewWidget>("RoomView3D")->OverviewPicture(), overviewOf(0));
  EXPECT_FALSE(frameTimer->isActive());  // nothing more to draw: the timer rests
  ChooseRoom(3);
  EXPECT_TRUE(frameTimer->isActive());
  FramePass(1000 + kFrameInterval);  // too soon
  EXPECT_EQ(Get<RightViewWidget>("RoomView3D")->OverviewPicture(), overviewOf(0));
  FramePass(1000 + kFrameInterval + 1);
  EXPECT_EQ(Get<RightViewWidget>("RoomView3D")->OverviewPicture(), overviewOf(3));

  Choose("Mnu_Demo_Rec");
  ChooseRoom(1);
  PlayIntoTheDemo();
  EXPECT_EQ(Get<RightViewWidget>("RoomView3D")->OverviewPicture(),
            overviewOf(3));  // no frame while recording
  dialog_.Next = FileChoice{(dir_ / "demo.tr2").string(), "demo.tr2"};
  Choose("Mnu_File_SaveAs");
  EXPECT_TRUE(Get<QAction>("Mnu_Demo_Stop")->isEnabled());  // still recording
  ExpectFinishedDemo(test::LoadFile(dir_ / "demo.tr2")->Result.Lvl);
  Choose("Mnu_Demo_Stop");
  FramePass(clock_.Now + 100);
  EXPECT_EQ(Get<RightViewWidget>("RoomView3D")->OverviewPicture(), overviewOf(1));
}

// A demo recorded on a second-game level is saved as finished as on the showcase (a third-game
// level, above), and the file stays the second game's.
TEST_F(WindowTest, ADemoRecordedOnASecondGameLevelIsSavedFinished) {
  const fs::path second = dir_ / "second.tr2";
  test::WriteBytes(second, test::ComposeClassic(test::SecondGameShowcaseDraft()).Bytes);
  ASSERT_TRUE(window_->OpenLevel(second.string(), "second.tr2"));
  ASSERT_EQ(window_->Doc().GameVersion, Game::TR2);
  Choose("Mnu_Demo_Rec");
  PlayIntoTheDemo();
  Choose("Mnu_Demo_Stop");
  dialog_.Next = FileChoice{(dir_ / "demo.tr2").string(), "demo.tr2"};
  Choose("Mnu_File_SaveAs");
  const auto saved = test::LoadFile(dir_ / "demo.tr2");
  ASSERT_TRUE(saved->Result.Loaded);
  EXPECT_EQ(saved->GameVersion, Game::TR2);
  ExpectFinishedDemo(saved->Result.Lvl);
}

// The bounds (left, top, right, bottom) of the pixels of a picture that pass `keep`.
template <typename Keep>
std::tuple<int, int, int, int> Bounds(const QImage& picture, Keep keep) {
  int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if (keep(picture.pixelColor(x, y))) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {left, top, right, bottom};
}

// The overview shows the chosen room the way round its map does: the corridor, 4 sectors
// wide and 6 high on the map (10 pixels a sector, less the last outline), is 2 cells wide and
// 4 high (its inner sectors, 4 pixels a cell, less the one-pixel outline round the room) there
// too.
TEST_F(WindowTest, TheOverviewLiesAsTheRoomMapDoes) {
  OpenShowcase();
  ChooseRoom(1);
  FramePass(1000);
  const auto [mapLeft, mapTop, mapRight, mapBottom] =
      Bounds(Get<RoomMapWidget>("RoomMap")->MapPicture(), [](QColor c) { return c != Qt::black; });
  EXPECT_EQ(std::tuple(mapRight - mapLeft + 1, mapBottom - mapTop + 1), std::tuple(39, 59));
  const auto [left, top, right, bottom] =
      Bounds(Get<RightViewWidget>("RoomView3D")->OverviewPicture(),
             [](QColor c) { return c == QColor(255, 0, 0); });
  EXPECT_EQ(std::tuple(right - left + 1, bottom - top + 1), std::tuple(8 - 2, 16 - 2));
}

// Closed in the middle of things, with every list opened, a comparison shown and an OCB being
// typed, the window goes without its parts reaching a state already gone (a fault the sanitizer
// build reports) and without writing or asking anything.
TEST_F(WindowTest, TheWindowGoesCleanlyInTheMiddleOfThings) {
  OpenShowcase();
  const std::vector<uint8_t> saved = test::ReadFile(showcase_);
  for (const char* list :
       {"Mnu_View_Items", "Mnu_View_Triggers", "Mnu_View_Rooms", "Mnu_View_Lights",
        "Mnu_View_Cameras", "Mnu_View_Statics", "Mnu_View_Sounds", "Mnu_View_Legend"})
    Choose(list);
  ClickSector(3, 6);
  Press("FloorWall");  // the lists behind the one shown fall behind the level
  Choose("Mnu_File_CompareWithSaved");
  ASSERT_TRUE(Get<QDockWidget>("DifferencesDock")->isVisible());
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  auto* ocb = Get<QLineEdit>("ItemOCB");
  QTest::mouseClick(ocb, Qt::LeftButton);
  QTest::keyClicks(ocb, "5");
  ASSERT_EQ(QApplication::focusWidget(), ocb);

  window_.reset();
  EXPECT_EQ(test::ReadFile(showcase_), saved);
  EXPECT_TRUE(sink_.Asked.empty());
}

// The file saved by the end-to-end demo script (demo_end_to_end.sh), when it names one.
TEST(RecordedDemoFile, IsAFinishedDemo) {
  const char* path = std::getenv("SLAB_DEMO_FILE");
  if (path == nullptr) GTEST_SKIP() << "run by demo_end_to_end.sh";
  ExpectFinishedDemo(test::LoadFile(path)->Result.Lvl);
}

}  // namespace
}  // namespace slab
