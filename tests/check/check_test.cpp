// Each check on a composed level carrying exactly its fault: the clean level gives no finding,
// the faulty one gives findings of that check only, with the values that prove it.
#include "check/check.h"

#include <gtest/gtest.h>

#include <functional>

#include "check_fixture.h"
#include "tools/compose_tr45.h"

namespace slab {
namespace {

using test::DraftLevel;
using test::DraftRoom;

constexpr int kHall = 0, kCorridor = 1, kLoft = 2, kYard = 3;

Sector& At(DraftRoom& room, int x, int z) {
  return room.Sectors[static_cast<size_t>(x * room.NumZSectors + z)];
}

// Appends a floor-data list and points the room's sector at it.
void PutList(DraftLevel& d, int room, int x, int z, std::initializer_list<uint16_t> words) {
  At(d.Rooms[static_cast<size_t>(room)], x, z).FDIndex = static_cast<uint16_t>(d.FloorData.size());
  d.FloorData.insert(d.FloorData.end(), words);
}

// A portal on the yard's west wall, over the sectors that lead to the corridor.
Portal YardPortal(uint16_t to) {
  Portal p;
  p.AdjoiningRoom = to;
  p.Normal = {1, 0, 0};
  p.Vertices = {0, 0, 1024, 0, -1024, 1024, 0, -1024, 2048, 0, 0, 2048};
  return p;
}

// The yard again, in its place: an alternate with the same lists, and no portals of its own.
DraftRoom YardCopy(const DraftLevel& d) {
  DraftRoom copy = d.Rooms[kYard];
  copy.Portals.clear();
  copy.StaticMeshes.clear();
  return copy;
}

struct FaultCase {
  const char* Name;
  std::function<void(DraftLevel&)> Fault;
  const char* Check;
  const char* Proof;  // a part of the first finding's message
  Game GameVersion = Game::TR3;
};

// Named in failure messages by its case, not its bytes.
void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.Name; }

class OneFault : public testing::TestWithParam<FaultCase> {};

TEST_P(OneFault, GivesFindingsOfItsCheckOnly) {
  const FaultCase& c = GetParam();
  const std::vector<Finding> clean = test::FindingsOf(test::CheckDraft(c.GameVersion));
  DraftLevel faulty = test::CheckDraft(c.GameVersion);
  c.Fault(faulty);
  const std::vector<Finding> added = test::Added(clean, test::FindingsOf(faulty));
  ASSERT_FALSE(added.empty()) << c.Name;
  for (const Finding& f : added) EXPECT_EQ(f.Check, c.Check) << test::Listed(added);
  EXPECT_NE(added[0].Message.find(c.Proof), std::string::npos) << test::Listed(added);
  const auto info = std::find_if(CheckList().begin(), CheckList().end(),
                                 [&](const CheckInfo& i) { return i.Id == c.Check; });
  ASSERT_NE(info, CheckList().end());
  EXPECT_EQ(added[0].Level, info->Level);
}

const FaultCase kFaults[] = {
    {"PortalToNoRoom", [](DraftLevel& d) { d.Rooms[kYard].Portals.push_back(YardPortal(230)); },
     "portal-room", "Room 3's portal 1 leads to room 230; the level has 4 rooms"},
    {"PortalToItself", [](DraftLevel& d) { d.Rooms[kYard].Portals.push_back(YardPortal(3)); },
     "portal-self", "Room 3's portal 1 leads to its own room"},
    {"PortalWithoutWayBack",
     [](DraftLevel& d) { d.Rooms[kLoft].Portals.push_back(YardPortal(kYard)); }, "portal-back",
     "Room 2's portal 1 leads to room 3, which has no portal back to room 2"},
    {"PortalSidesInTwoPlanes",
     [](DraftLevel& d) {
       for (size_t k = 0; k < 4; ++k) d.Rooms[kCorridor].Portals[0].Vertices[3 * k] = 2048;
     },
     "portal-plane", "lies at X 7168; no portal of room 1 back to it lies in that plane"},
    {"PortalSidesWithOtherCorners",
     [](DraftLevel& d) { d.Rooms[kCorridor].Portals[0].Vertices[8] = 4 * 1024; }, "portal-corners",
     "Room 0's portal 0 to room 1 has no portal back through the same"},
    {"PortalNormalAcross",
     [](DraftLevel& d) {
       d.Rooms[kHall].Portals[0].Normal = {-1, 1, 0};
     },
     "portal-normal", "Room 0's portal 0's normal (-1, 1, 0) is not along one axis"},
    {"FloorDataIndexPastTheEnd", [](DraftLevel& d) { At(d.Rooms[kHall], 0, 3).FDIndex = 60000; },
     "floor-index", "Room 0's sector 0,3 starts its floor data at word 60000; the floor data has"},
    {"ListWithoutEnd", [](DraftLevel& d) { PutList(d, kHall, 3, 1, {0x0005}); }, "floor-end",
     "Room 0's sector 3,1's list starts at word"},
    {"UnknownFunction",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x0005, 0x8016});
     },
     "floor-function", "holds function 22 at word"},
    {"TwoTriggers",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x0004, 0x3E00, 0x8003, 0x8004, 0x3E00, 0x8001});
     },
     "floor-triggers", "Room 0's sector 3,1 holds 2 triggers; the game tests only the first"},
    {"SectorPortalToNoRoom",
     [](DraftLevel& d) {
       PutList(d, kHall, 0, 3, {0x8001, 200});
     },
     "sector-portal-room", "Room 0's sector 0,3 has a portal to room 200; the level has 4 rooms"},
    {"RoomBelowMissing", [](DraftLevel& d) { At(d.Rooms[kHall], 1, 1).RoomBelow = 200; },
     "room-below", "Room 0's sector 1,1 has room 200 below it; the level has 4 rooms"},
    {"RoomAboveMissing", [](DraftLevel& d) { At(d.Rooms[kHall], 1, 1).RoomAbove = 4; },
     "room-above", "Room 0's sector 1,1 has room 4 above it"},
    {"RoomBelowNotLinkingBack", [](DraftLevel& d) { At(d.Rooms[kHall], 1, 1).RoomBelow = kYard; },
     "room-below-back", "whose sector there does not have room 0 above it"},
    {"RoomAboveNotLinkingBack", [](DraftLevel& d) { At(d.Rooms[kLoft], 1, 1).RoomBelow = kNoRoom; },
     "room-above-back", "Room 0's sector 3,3 has room 2 above it"},
    {"RoomsBelowInALoop",
     [](DraftLevel& d) {
       At(d.Rooms[kHall], 3, 3).RoomBelow = kLoft;
       At(d.Rooms[kLoft], 1, 1).RoomAbove = kHall;
     },
     "room-loop", "Room 0's sector 3,3's rooms below lead round to room 0 again"},
    {"ObjectActionNamesNoItem",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 140});
     },
     "trigger-item", "Room 0's trigger at sector 3,1 names item 140; the level has 8 items"},
    // The games read ten bits: 513 is not item 1.
    {"TenthBitOfTheItemCounts",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 0x200 | 1});
     },
     "trigger-item", "names item 513"},
    {"TargetActionNamesNoItem",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 0x1800 | 9});
     },
     "trigger-item", "names item 9; the level has 8 items"},
    {"CameraActionNamesNoCamera",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x0400 | 5, 0x8000});
     },
     "trigger-camera", "names camera 5; the level has 1 camera"},
    {"SinkActionNamesNoSink",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 0x0800 | 3});
     },
     "trigger-sink", "names sink 3; the level has 1 camera or sink"},
    {"SwitchTriggerStartingWithAFlip",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8204, 0x3E00, 0x0C01, 0x8001});
     },
     "trigger-first-action", "is a switch trigger whose first action is of kind 3"},
    {"SwitchTriggerForAnItemElsewhere",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8204, 0x3E00, 0x0001, 0x8003});
     },
     "trigger-first-item",
     "Room 0's trigger at sector 3,1 is a switch trigger whose switch, item 1, stands 3 "
     "sectors away (X 6656, Z 4608)"},
    {"KeyTriggerWithNothingAfterTheKeyhole",
     [](DraftLevel& d) {
       PutList(d, kHall, 2, 4, {0x8304, 0x3E00, 0x8002});
     },
     "trigger-alone",
     "Room 0's trigger at sector 2,4 is a key trigger with no action after its keyhole, item 2"},
    {"ItemInNoRoom", [](DraftLevel& d) { d.Items[7].Room = 9; }, "item-room",
     "Item 7 stands in room 9; the level has 4 rooms"},
    {"ItemWithoutModel", [](DraftLevel& d) { d.Items[7].ObjectID = 300; }, "item-model",
     "Item 7 is of type 300, for which the level has no model or sprite"},
    {"ItemOutsideItsRoom", [](DraftLevel& d) { d.Items[7].X = -5000; }, "item-outside",
     "Item 7 stands outside the sectors of its room 0 (X -5000"},
    {"ItemInAWall",
     [](DraftLevel& d) {
       d.Items[7].X = 512;
       d.Items[7].Z = 3 * 1024 + 512;
     },
     "item-wall", "Item 7 stands in the wall sector 0,3 of room 0"},
    {"ItemBelowTheFloor", [](DraftLevel& d) { d.Items[7].Y = 2048; }, "item-height",
     "Item 7 stands at Y 2048, below the floor of room 0's sector 5,5 at Y 0"},
    {"TwoLaras", [](DraftLevel& d) { d.Items[kCorridor].ObjectID = 0; }, "lara-count",
     "The level has 2 items of Lara's type"},
    {"NoLara", [](DraftLevel& d) { d.Items[0].ObjectID = d.Items[test::kShowcaseBlock].ObjectID; },
     "lara-count", "The level has Lara's model but no item of her type"},
    {"RoomFaceTexturePastTheList",
     [](DraftLevel& d) { d.Rooms[kHall].Rectangles[2].Texture = int16_t(0x8000 | 500); },
     "texture-room", "Room 0's rectangle 2 uses object texture 500; the level has 10"},
    {"MeshFaceTexturePastTheList",
     // The crate's first rectangle's texture: after the centre, radius, vertices and lights.
     [](DraftLevel& d) { d.MeshData[3 + 2 + 1 + 24 + 1 + 8 + 1 + 4] = 600; }, "texture-mesh",
     "Mesh 0 has a face with object texture 600; the level has 10 object textures"},
    {"TextureOnAMissingPage", [](DraftLevel& d) { d.ObjectTextures[3].Tile = 5; }, "texture-page",
     "Object texture 3 lies on page 5; the level has 1 page"},
    {"AnimatedRangeNamesNoTexture",
     [](DraftLevel& d) {
       d.AnimatedTextures = {1, 1, 0, 50};
     },
     "texture-animated", "Animated-texture range 0 names object texture 50; the level has 10"},
    {"AnimatedRangesEndEarly",
     [](DraftLevel& d) {
       d.AnimatedTextures = {2, 1, 0, 1};
     },
     "texture-animated", "The animated textures hold 2 ranges, but their 4 words end"},
    {"RoomSpriteNamesNoSprite",
     [](DraftLevel& d) {
       d.Rooms[kHall].Sprites = {{0, 7}};
     },
     "sprite-room", "Room 0's sprite 0 names sprite texture 7; the level has 1 sprite texture"},
    {"RoomSpriteOnNoVertex",
     [](DraftLevel& d) {
       d.Rooms[kHall].Sprites = {{9999, 0}};
     },
     "sprite-room", "stands on vertex 9999"},
    {"SpriteSequencePastTheTable", [](DraftLevel& d) { d.SpriteSequences[0].NegativeLength = -3; },
     "sprite-sequence", "takes 3 sprites from sprite 0; the level has 1 sprite texture"},
    {"StaticOfAnUndefinedId", [](DraftLevel& d) { d.Rooms[kHall].StaticMeshes[0].ObjectID = 33; },
     "static-undefined", "Room 0's static 0 is of id 33, which the level does not define"},
    {"StaticMeshNamesNoMesh", [](DraftLevel& d) { d.StaticMeshDefs[0].Mesh = 40; }, "static-mesh",
     "Static mesh 0 (id 0) names mesh 40; the level has 5 meshes"},
    {"StaticBoxUpsideDown",
     [](DraftLevel& d) { d.StaticMeshDefs[1].CollisionBox = {384, -384, -768, 0, -384, 384}; },
     "static-box", "Static mesh 1 (id 10)'s collision box runs from 384 down to -384 along X"},
    {"SectorInNoBox", [](DraftLevel& d) { At(d.Rooms[kHall], 1, 1).BoxIndex = 9 << 4; },
     "box-index", "Room 0's sector 1,1 is in box 9; the level has 4 boxes"},
    {"OverlapsStartPastTheList", [](DraftLevel& d) { d.Boxes[2].OverlapIndex = 100; },
     "box-overlaps", "Box 2's overlaps start at 100; the level has 6 overlaps"},
    {"OverlapsWithoutEnd", [](DraftLevel& d) { d.Overlaps.back() = 2; }, "box-overlaps",
     "Box 3's overlap list has no end before the overlaps end at 6"},
    {"OverlapNamesNoBox", [](DraftLevel& d) { d.Overlaps[0] = int16_t(0x8000 | 9); },
     "box-overlaps", "Box 0 overlaps box 9; the level has 4 boxes"},
    {"AlternateMissing", [](DraftLevel& d) { d.Rooms[kHall].AlternateRoom = 9; }, "flip-room",
     "Room 0's alternate is room 9; the level has 4 rooms"},
    {"OwnAlternate", [](DraftLevel& d) { d.Rooms[kYard].AlternateRoom = kYard; }, "flip-self",
     "Room 3 is its own alternate"},
    {"SharedAlternate",
     [](DraftLevel& d) {
       d.Rooms.push_back(YardCopy(d));
       d.Rooms.push_back(YardCopy(d));
       d.Rooms[kYard].AlternateRoom = 4;
       d.Rooms[5].AlternateRoom = 4;
     },
     "flip-shared", "Room 5's alternate, room 4, is room 3's alternate too"},
    {"AlternateElsewhere",
     [](DraftLevel& d) {
       d.Rooms.push_back(YardCopy(d));
       d.Rooms[4].Info.X += 1024;
       At(d.Rooms[4], 0, 3).FDIndex = At(d.Rooms[4], 0, 4).FDIndex = 0;  // its way to room 1
       d.Rooms[kYard].AlternateRoom = 4;
     },
     "flip-place",
     "Room 3 lies at X 10240, Z 0 with 8 x 8 sectors; its alternate, room 4, at X 11264"},
    {"AlternateWithoutTheBaseTrigger",
     [](DraftLevel& d) {
       d.Rooms.push_back(YardCopy(d));
       At(d.Rooms[4], 4, 2).FDIndex = 0;
       d.Rooms[kYard].AlternateRoom = 4;
     },
     "flip-trigger", "Room 3's sector 4,2 has a trigger; the same sector of its alternate, room 4"},
    {"MeshPastTheMeshData", [](DraftLevel& d) { d.MeshPointers[4] = 999999; }, "mesh-data",
     "Mesh 4 starts at byte 999999; the mesh data has"},
    {"ModelMeshesPastThePointers", [](DraftLevel& d) { d.Moveables[0].StartingMesh = 10; },
     "model-mesh", "Model 0 (type 0) takes 1 meshes from mesh 10; the level has 5 meshes"},
    {"ModelTreePastTheTrees", [](DraftLevel& d) { d.Moveables[1].NumMeshes = 3; }, "model-tree",
     "Model 1 (type 131) has 3 meshes and its tree starts at 0; the mesh trees have 0 words"},
    {"ModelFramesPastTheFrames", [](DraftLevel& d) { d.Moveables[0].FrameOffset = 1000; },
     "model-frames", "Model 0 (type 0)'s frames start at byte 1000; the frames have 24 bytes"},
    {"ModelAnimationMissing", [](DraftLevel& d) { d.Moveables[0].Animation = 5; },
     "model-animation", "Model 0 (type 0) starts with animation 5; the level has 1 animation"},
    {"AnimationFramesPastTheFrames", [](DraftLevel& d) { d.Animations[0].FrameOffset = 1000; },
     "anim-frames", "Animation 0's frames start at byte 1000"},
    {"NextAnimationMissing", [](DraftLevel& d) { d.Animations[0].NextAnimation = 4; }, "anim-next",
     "Animation 0 leads to animation 4; the level has 1 animation"},
    {"NextFrameOutsideTheNextAnimation", [](DraftLevel& d) { d.Animations[0].NextFrame = 9; },
     "anim-next-frame",
     "Animation 0 leads to frame 9 of animation 0, which runs from frame 0 to 0"},
    {"StateChangesPastTheList", [](DraftLevel& d) { d.Animations[0].NumStateChanges = 2; },
     "anim-states", "Animation 0 takes 2 state changes from 0; the level has 0 state changes"},
    {"DispatchToNoAnimation",
     [](DraftLevel& d) {
       d.Animations[0].NumStateChanges = 1;
       d.StateChanges = {{1, 1, 0}};
       d.AnimDispatches = {{0, 0, 7, 0}};
     },
     "anim-dispatch", "State change 0 dispatches to animation 7; the level has 1 animation"},
    {"CommandsPastTheList",
     [](DraftLevel& d) {
       d.Animations[0].NumAnimCommands = 1;
       d.AnimCommands = {1, 0};
     },
     "anim-commands", "Animation 0's 1 commands from word 0 run past the commands' 2 words"},
    {"FrameSizeZero", [](DraftLevel& d) { d.Animations[0].FrameSize = 0; }, "anim-frame-size",
     "Animation 0 has a frame size of 0"},
    {"SoundMapPastTheDetails",
     [](DraftLevel& d) {
       d.SoundMap = {0, -1, 7};
     },
     "sound-map", "Sound-map entry 2 names sound detail 7; the level has 1 sound detail"},
    {"SoundSamplesPastTheIndices", [](DraftLevel& d) { d.SoundDetails[0].Bytes[6] = 3 << 2; },
     "sound-samples", "Sound detail 0 plays 3 samples from sample 0; the level has 1 sample"},
    {"SoundSourcePastTheSoundMap", [](DraftLevel& d) { d.SoundSources[0].SoundID = 400; },
     "sound-source", "Sound source 0 plays sound 400; the sound map has 370 entries"},
    {"SoundSourceOfAnEmptyEntry", [](DraftLevel& d) { d.SoundSources[0].SoundID = 5; },
     "sound-source-none", "Sound source 0 plays sound 5, which the sound map leaves empty"},
    {"TooManyVerticesForTheSecondGame",
     [](DraftLevel& d) { d.Rooms[kLoft].Vertices.resize(1501, d.Rooms[kLoft].Vertices[0]); },
     "limit-vertices", "Room 2 has 1501 vertices; the second game holds 1500 in one room",
     Game::TR2},
    {"TooManyItemsForTheThirdGame", [](DraftLevel& d) { d.Items.resize(257, d.Items[7]); },
     "limit-items", "The level has 257 items; the third game holds 256"},
    {"SameItemTwiceInOneTrigger",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x0003, 0x8003});
     },
     "trigger-repeat", "Room 0's trigger at sector 3,1 names item 3 twice"},
    {"OneSecretInTwoRooms",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 0x2800 | 1});
       PutList(d, kYard, 3, 3, {0x8004, 0x3E00, 0x8000 | 0x2800 | 1});
     },
     "secret-shared",
     "Room 3's trigger at sector 3,3 gives secret 1, as room 0's trigger at "
     "sector 3,1 does"},
    {"SectorPortalToARoomElsewhere",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8001, 3});
     },
     "sector-portal-place", "Room 0's sector 3,1 has a portal to room 3, which does not hold"},
    {"MusicOnAFloorTriggerThatIsNotOneShot",
     [](DraftLevel& d) {
       PutList(d, kHall, 3, 1, {0x8004, 0x3E00, 0x8000 | 0x2000 | 5});
     },
     "music-repeat", "Room 0's trigger at sector 3,1 plays track 5 and is not one-shot"},
};

INSTANTIATE_TEST_SUITE_P(Checks, OneFault, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                           return std::string(info.param.Name);
                         });

TEST(Checks, TheCleanLevelHasNoFindingAndEveryCheckIsTested) {
  const std::vector<Finding> clean = test::FindingsOf(test::CheckDraft());
  EXPECT_TRUE(clean.empty()) << test::Listed(clean);
  const std::vector<Finding> second = test::FindingsOf(test::CheckDraft(Game::TR2));
  EXPECT_TRUE(second.empty()) << test::Listed(second);
  std::set<std::string_view> tested;
  for (const FaultCase& c : kFaults) tested.insert(c.Check);
  tested.insert("trigger-flyby");  // on a fourth-game level, below
  const std::vector<uint8_t> readme = test::ReadFile(SLAB_README);
  const std::string text(readme.begin(), readme.end());
  for (const CheckInfo& info : CheckList()) {
    EXPECT_TRUE(tested.count(info.Id)) << info.Id;
    EXPECT_NE(text.find("`" + std::string(info.Id) + "`"), std::string::npos)
        << info.Id << " is not in the README";
  }
}

TEST(Checks, SecondGameKnowsNeitherMonkeySwingsNorMinecartTurns) {
  // The showcase's monkey-swing and minecart sectors are third-game functions.
  const std::vector<Finding> found =
      test::FindingsOf(test::SecondGameShowcaseDraft(/*keepThirdGameFloorData=*/true));
  ASSERT_EQ(found.size(), 10u) << test::Listed(found);
  for (const Finding& f : found) EXPECT_EQ(f.Check, "floor-function");
  EXPECT_EQ(found[0].Message,
            "Room 1's sector 4,1's list holds function 19; the second game knows functions 1 to "
            "6.");
  EXPECT_EQ(PlaceText(found[0].Where), "room 1, sector 4,1");
}

TEST(Checks, OneShotMusicAndASecretInABaseRoomAndItsAlternateAreFine) {
  DraftLevel d = test::CheckDraft();
  PutList(d, kHall, 3, 1, {0x8004, 0x3F00, 0x8000 | 0x2000 | 5});
  PutList(d, kYard, 3, 3, {0x8004, 0x3E00, 0x8000 | 0x2800 | 1});
  d.Rooms.push_back(YardCopy(d));
  d.Rooms[kYard].AlternateRoom = 4;
  const std::vector<Finding> found = test::FindingsOf(d);
  EXPECT_TRUE(found.empty()) << test::Listed(found);
}

TEST(Checks, FlyByActionNamesASequenceNoCameraBelongsTo) {
  test::Tr4Draft draft = test::SampleTr4Draft();
  for (Room& room : draft.Data.Rooms)
    for (Sector& sector : room.Sectors) sector.FDIndex = 0;
  auto findings = [](const test::Tr4Draft& d) {
    return test::FindingsOf(test::ComposeTR4(d).Bytes, "check.tr4");
  };
  const std::vector<Finding> before = findings(draft);
  // Sequence 0 is the sample's fly-by cameras' own; 5 has none.
  for (int sequence : {0, 5}) {
    test::Tr4Draft faulty = draft;
    Level& f = faulty.Data;
    const size_t at = f.FloorData.size() / 2;
    for (uint16_t word :
         {uint16_t(0x8004), uint16_t(0x3E00), uint16_t(0x3000 | sequence), uint16_t(0x8000)}) {
      f.FloorData.push_back(static_cast<uint8_t>(word & 0xFF));
      f.FloorData.push_back(static_cast<uint8_t>(word >> 8));
    }
    f.Rooms[0].Sectors[0].FDIndex = static_cast<uint16_t>(at);
    const std::vector<Finding> added = test::Added(before, findings(faulty));
    if (sequence == 0) {
      EXPECT_TRUE(added.empty()) << test::Listed(added);
    } else {
      ASSERT_EQ(added.size(), 1u) << test::Listed(added);
      EXPECT_EQ(added[0].Message,
                "Room 0's trigger at sector 0,0 names fly-by sequence 5; no fly-by camera "
                "belongs to it.");
    }
  }
}

TEST(Checks, SeverityCountsAndNewErrorsByCheckAndPlace) {
  const Place sector{.Room = 12, .SectorX = 3, .SectorZ = 4};
  const std::vector<Finding> before = {{"trigger-item", Severity::Error, sector, "a"},
                                       {"item-wall", Severity::Warning, {.Item = 2}, "b"}};
  std::vector<Finding> now = before;
  now.push_back({"trigger-item", Severity::Error, sector, "c"});  // a second at the same place
  now.push_back({"item-height", Severity::Note, {.Item = 3}, "d"});
  const std::vector<Finding> added = NewErrors(before, now);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].Message, "c");
  EXPECT_TRUE(NewErrors(now, before).empty());
  EXPECT_EQ(CountsText(CountSeverities(now)), "2 errors, 1 warning, 1 note");
  EXPECT_EQ(CountsText({}), "No problems found");
  EXPECT_EQ(PlaceText(sector), "room 12, sector 3,4");
  EXPECT_EQ(PlaceText({}), "level");
  EXPECT_EQ(PlaceText({.What = Record::Box, .Index = 7}), "box 7");
}

}  // namespace
}  // namespace slab
