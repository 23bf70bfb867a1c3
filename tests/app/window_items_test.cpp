// The Items and Static Meshes panels as a designer uses them: removing an item that triggers
// name, duplicating one, placing and taking away a static mesh, and where an item stands.
#include <QTreeWidget>

#include "map/item_removal.h"
#include "window_fixture.h"

namespace slab {
namespace {

namespace fs = std::filesystem;

class WindowItemsTest : public test::WindowFixture {
 protected:
  void SetUp() override { Start(false); }

  // A copy of a real level in the test's folder, opened as a user opens it.
  fs::path OpenCopy(const fs::path& level) {
    const fs::path copy = dir_ / level.filename();
    fs::copy_file(level, copy);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
    OpenWithKeys(copy);
    return copy;
  }
  // The room's line, then the sector on the map (0-based grid coordinates).
  void GoTo(int room, int a, int b) {
    ChooseRoom(room);
    ClickSector(a, b);
  }
  bool Fits(int room) {
    const Room& r = Lvl().Rooms[static_cast<size_t>(room)];
    return r.NumXSectors <= 30 && r.NumZSectors <= 30;
  }
  // Where an item stands: its room and sector.
  std::array<int, 3> SpotOf(int item) {
    const Item& it = Lvl().Items[static_cast<size_t>(item)];
    const RoomInfo& info = Lvl().Rooms[static_cast<size_t>(it.Room)].Info;
    return {it.Room, (it.X - info.X) / 1024, (it.Z - info.Z) / 1024};
  }
  // Chooses the item in the item list of the sector it stands on.
  void ChooseItem(int item) {
    const auto [room, a, b] = SpotOf(item);
    GoTo(room, a, b);
    const int line = static_cast<int>(Lines("SecCurItem").indexOf(QString("Item %1").arg(item)));
    ASSERT_GE(line, 0) << "item " << item;
    ClickLine("SecCurItem", line);
  }
};

// An item that one trigger action names, on a room the map shows whole, and that action not
// its trigger's only one (so the trigger stays and shows one line fewer).
std::optional<RemovalPlan> NamedItem(const Level& level, const auto& fits) {
  for (int i = 0; i < static_cast<int>(level.Items.size()); ++i) {
    RemovalPlan plan = PlanEntityRemoval(level, i);
    if (plan.Naming.size() == 1 && !plan.Naming[0].TakesTrigger && fits(level.Items[i].Room) &&
        fits(plan.Naming[0].Room))
      return plan;
  }
  return std::nullopt;
}

TEST_F(WindowItemsTest, DeleteRemovesAnItemWithTheActionsNamingItAndUndoGivesTheSavedBytes) {
  SLAB_REQUIRE_REAL_LEVELS();
  const fs::path level = test::RealLevelsDir() / "tr2" / "lahm86__TRXInjectionTool__WALL.TR2";
  const std::vector<uint8_t> original = test::ReadFile(level);
  const fs::path copy = OpenCopy(level);
  const size_t items = Lvl().Items.size();
  const auto plan = NamedItem(Lvl(), [this](int room) { return Fits(room); });
  ASSERT_TRUE(plan) << "no item named by one action";
  const NamingAction& action = plan->Naming[0];
  GoTo(action.Room, action.X, action.Z);
  const QStringList triggerBefore = Lines("TriggerData");

  ChooseItem(plan->Entity);
  const QStringList listBefore = Lines("SecCurItem");
  EXPECT_TRUE(Get<QPushButton>("ItemRemove")->isEnabled());
  // Cancel keeps everything.
  sink_.NextAnswer = Answer::Cancel;
  Key(Qt::Key_Delete);
  ASSERT_EQ(sink_.Asked.size(), 1u);
  EXPECT_NE(sink_.Asked[0].find(plan->Caption + " is named by 1 trigger action"), std::string::npos)
      << sink_.Asked[0];
  EXPECT_EQ(Lines("SecCurItem"), listBefore);
  EXPECT_EQ(Lvl().Items.size(), items);

  sink_.NextAnswer = Answer::Yes;
  Key(Qt::Key_Delete);  // the focus stayed in the item list
  EXPECT_EQ(Lines("SecCurItem").size(), listBefore.size() - 1);
  EXPECT_FALSE(Get<QPushButton>("ItemRemove")->isEnabled()) << "nothing is chosen now";
  GoTo(action.Room, action.X, action.Z);
  const QStringList triggerAfter = Lines("TriggerData");
  EXPECT_EQ(triggerAfter.size(), triggerBefore.size() - 1);

  Key(Qt::Key_S, Qt::ControlModifier);
  Key(Qt::Key_Z, Qt::ControlModifier);
  dialog_.Next = FileChoice{(dir_ / "undone.tr2").string(), "undone.tr2"};
  Choose("Mnu_File_SaveAs");
  EXPECT_EQ(test::ReadFile(dir_ / "undone.tr2"), original);

  OpenWithKeys(copy);
  EXPECT_EQ(Lvl().Items.size(), items - 1);
  GoTo(action.Room, action.X, action.Z);
  EXPECT_EQ(Lines("TriggerData"), triggerAfter);
}

// A switch that sets off a trigger takes the trigger with it: the question names every action
// that goes, and the comparison with the saved file then lists exactly those.
TEST_F(WindowItemsTest, RemovingASwitchNamesEveryActionThatGoesAndTheComparisonAgrees) {
  SLAB_REQUIRE_REAL_LEVELS();
  OpenCopy(test::RealLevelsDir() / "tr2" / "Popov72__TRN__assault.tr2");
  constexpr int kPushButton = 13;
  ChooseItem(kPushButton);
  sink_.NextAnswer = Answer::Yes;
  Key(Qt::Key_Delete);
  ASSERT_EQ(sink_.Asked.size(), 1u);
  const std::string& question = sink_.Asked[0];
  EXPECT_NE(
      question.find("Room 50, sector 1,7: SWITCH for OBJECT 13 (Push Button), with the "
                    "whole trigger\n    and with it: OBJECT 14 (Doorbell), OBJECT 12 (Door 2)\n"),
      std::string::npos)
      << question;
  EXPECT_NE(question.find("Remove Item 13 and these 3 actions?"), std::string::npos) << question;

  Choose("Mnu_File_CompareWithSaved");
  std::vector<std::string> removed;
  auto* list = Get<QTreeWidget>("DifferencesList");
  for (QTreeWidgetItem* line :
       list->findItems("trigger action removed: ", Qt::MatchStartsWith | Qt::MatchRecursive))
    removed.push_back(
        line->text(0).toStdString().substr(std::string("trigger action removed: ").size()));
  EXPECT_EQ(removed, (std::vector<std::string>{"SWITCH for OBJECT 13 (Push Button)",
                                               "SWITCH for OBJECT 14 (Doorbell)",
                                               "SWITCH for OBJECT 12 (Door 2)"}));
}

TEST_F(WindowItemsTest, ALevelWithTheAddOnsDataSaysWhyAMiddleItemStays) {
  SLAB_REQUIRE_REAL_LEVELS();
  for (const fs::path& level : test::RealLevels({"tr4/"})) {
    if (test::LoadFile(level)->Result.Lvl.TrailingBlock.empty()) continue;
    OpenCopy(level);
    ASSERT_GT(Lvl().Items.size(), 1u);
    int item = 0;
    while (!Fits(Lvl().Items[static_cast<size_t>(item)].Room)) ++item;
    ChooseItem(item);
    Press("ItemRemove");
    ASSERT_FALSE(sink_.Shown.empty());
    EXPECT_NE(sink_.Shown.back().find("can't be removed"), std::string::npos) << sink_.Shown.back();
    EXPECT_FALSE(window_->Doc().Modified);
    return;
  }
  GTEST_SKIP() << "no fourth-game level with the add-on's data";
}

TEST_F(WindowItemsTest, CtrlDDuplicatesTheChosenItemAndChoosesTheCopy) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  const QStringList before = Lines("SecCurItem");
  const size_t items = Lvl().Items.size();
  Key(Qt::Key_D, Qt::ControlModifier);
  ASSERT_EQ(Lvl().Items.size(), items + 1);
  const QString copy = QString("Item %1").arg(items);
  EXPECT_TRUE(Text("ItemID").startsWith(copy)) << Text("ItemID").toStdString();
  EXPECT_EQ(Lines("SecCurItem").size(), before.size() + 1);
  EXPECT_EQ(Get<QListWidget>("SecCurItem")->currentItem()->text(), copy);
  EXPECT_EQ(Lvl().Items.back().ObjectID, Lvl().Items[0].ObjectID);
}

TEST_F(WindowItemsTest, TheItemPanelSaysWhereTheChosenItemStands) {
  OpenShowcase();
  ClickSector(2, 2);
  ClickLine("SecCurItem", 0);
  const Item& item = Lvl().Items[0];
  // The sector clicked, numbered from 0 as every list and message numbers it.
  const QString sector = "Sector 2,2";
  const int degrees = (item.Angle & 0xFFFF) * 360 / 65536;
  EXPECT_EQ(Text("ItemPlace"), QString("Room %1, %2, X %3, Y %4, Z %5, Facing %6°")
                                   .arg(item.Room)
                                   .arg(sector)
                                   .arg(item.X)
                                   .arg(item.Y)
                                   .arg(item.Z)
                                   .arg(degrees));
  Press("ItemRotate");  // an eighth of a turn
  EXPECT_TRUE(Text("ItemPlace").endsWith(QString("Facing %1°").arg((degrees + 45) % 360)))
      << Text("ItemPlace").toStdString();
}

TEST_F(WindowItemsTest, AStaticMeshPlacedAndTakenAwayLeavesTheLevelAsItWas) {
  SLAB_REQUIRE_REAL_LEVELS();
  const fs::path level = test::RealLevelsDir() / "tr2" / "lahm86__TRXInjectionTool__WALL.TR2";
  const std::vector<uint8_t> original = test::ReadFile(level);
  const fs::path copy = OpenCopy(level);
  ASSERT_FALSE(Lvl().StaticMeshDefs.empty());
  auto* curMesh = Get<QComboBox>("CurMesh");
  ASSERT_EQ(curMesh->count(), static_cast<int>(Lvl().StaticMeshDefs.size()));
  EXPECT_TRUE(curMesh->itemText(0).startsWith(QString::number(Lvl().StaticMeshDefs[0].ID) + " "));
  int room = 0;
  while (!Fits(room) || !Lvl().Rooms[static_cast<size_t>(room)].StaticMeshes.empty()) ++room;
  GoTo(room, 1, 1);
  const QImage map = Get<RoomMapWidget>("RoomMap")->MapPicture();
  EXPECT_FALSE(Get<QPushButton>("StaticRemove")->isEnabled());
  Press("StaticAdd");
  EXPECT_EQ(Text("NumStatic"), "1 Static Mesh");
  auto* here = Get<QComboBox>("StaticID");
  ASSERT_EQ(here->count(), 1);
  EXPECT_TRUE(curMesh->itemText(0).endsWith(" " + here->itemText(0)));
  EXPECT_NE(Get<RoomMapWidget>("RoomMap")->MapPicture(), map) << "the map marks the new static";
  Press("StaticRemove");
  // A sector without statics hides the count, as it always did.
  EXPECT_FALSE(Get<QLabel>("NumStatic")->isVisible());
  EXPECT_EQ(here->count(), 0);
  EXPECT_EQ(Get<RoomMapWidget>("RoomMap")->MapPicture(), map);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(copy), original);
}

}  // namespace
}  // namespace slab
