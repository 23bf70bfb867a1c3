#include "tools/showcase_level.h"

#include <array>
#include <cstdint>
#include <vector>

namespace slab::test {
namespace {

constexpr uint8_t kWallByte = 0x81;
// A darkness halfway to black, and the same grey as the 15-bit colour the third game gives
// vertices and statics.
constexpr int16_t kDarkness = 4096;
constexpr int16_t kGrey15 = 15 << 10 | 15 << 5 | 15;
constexpr int16_t kDoubleSided = static_cast<int16_t>(0x8000);

// Texture tiles: 64 x 64 squares of page 0, one object texture each, in this order.
enum Tile : int16_t {
  kFlagstone,
  kBrick,
  kGrass,
  kPlanks,
  kRail,
  kWater,
  kLava,
  kLadder,
  kBars,
  kCrate,
  kTileCount
};

uint16_t Texel(int r, int g, int b) {  // 0..31 each
  auto c = [](int v) { return v < 0 ? 0 : v > 31 ? 31 : v; };
  return static_cast<uint16_t>(0x8000 | c(r) << 10 | c(g) << 5 | c(b));
}

// A little value noise so surfaces do not look flat.
int Noise(int x, int y, int seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               static_cast<uint32_t>(seed) * 2147483647u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<int>((h ^ (h >> 16)) & 7) - 3;
}

uint16_t TileTexel(Tile tile, int x, int y) {
  const int n = Noise(x, y, tile);
  switch (tile) {
    case kFlagstone: {
      const bool joint = x % 32 == 0 || y % 32 == 0;
      return joint ? Texel(8, 8, 7) : Texel(19 + n, 18 + n, 15 + n);
    }
    case kBrick: {
      const int row = y / 16;
      const bool joint = y % 16 == 0 || (x + (row % 2) * 16) % 32 == 0;
      return joint ? Texel(22, 21, 18) : Texel(20 + n, 8 + n / 2, 5);
    }
    case kGrass:
      return Texel(6 + n, 18 + n, 4);
    case kPlanks: {
      const bool joint = x % 16 == 0;
      return joint ? Texel(9, 5, 2) : Texel(21 + n, 13 + n, 6);
    }
    case kRail: {
      const bool rail = (x >= 12 && x < 18) || (x >= 46 && x < 52);
      const bool sleeper = y % 16 < 5;
      if (rail) return Texel(24, 24, 26);
      return sleeper ? Texel(14, 8, 3) : Texel(10 + n, 10 + n, 10 + n);
    }
    case kWater:
      return Texel(3, 10 + n, 24 + n);
    case kLava:
      return Texel(31, 12 + n * 2, 0);
    case kLadder: {
      const bool rung = y % 12 < 3 || x < 6 || x >= 58;
      return rung ? Texel(23, 15, 6) : Texel(6, 5, 4);
    }
    case kBars: {
      const bool bar = x % 16 < 3 || y % 16 < 3;
      return bar ? Texel(20, 20, 22) : Texel(4, 4, 5);
    }
    case kCrate: {
      const bool edge = x < 5 || y < 5 || x >= 59 || y >= 59 || x == y || x == 63 - y;
      return edge ? Texel(12, 7, 2) : Texel(22 + n, 15 + n, 7);
    }
    case kTileCount:
      break;
  }
  return Texel(31, 0, 31);
}

std::vector<uint16_t> Page() {
  std::vector<uint16_t> page(65536, Texel(0, 0, 0));
  for (int t = 0; t < kTileCount; ++t) {
    const int left = (t % 4) * 64, top = (t / 4) * 64;
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x)
        page[static_cast<size_t>(top + y) * 256 + left + x] = TileTexel(static_cast<Tile>(t), x, y);
  }
  return page;
}

ObjectTexture TileTexture(int t) {
  const auto left = static_cast<uint8_t>((t % 4) * 64), top = static_cast<uint8_t>((t / 4) * 64);
  const auto right = static_cast<uint8_t>(left + 63), bottom = static_cast<uint8_t>(top + 63);
  ObjectTexture texture;
  texture.Corners = {
      {{1, left, 1, top}, {255, right, 1, top}, {255, right, 255, bottom}, {1, left, 255, bottom}}};
  return texture;
}

// ---- Rooms ----

struct RoomPlan {
  RoomInfo Info;
  int NumX = 0, NumZ = 0;
  uint8_t Floor = 0;    // of every open sector
  uint8_t Ceiling = 0;  // likewise
};

DraftRoom PlanRoom(const RoomPlan& plan) {
  DraftRoom r;
  r.Info = plan.Info;
  r.NumXSectors = static_cast<int16_t>(plan.NumX);
  r.NumZSectors = static_cast<int16_t>(plan.NumZ);
  r.Sectors.resize(static_cast<size_t>(plan.NumX * plan.NumZ));
  for (int x = 0; x < plan.NumX; ++x)
    for (int z = 0; z < plan.NumZ; ++z) {
      Sector& s = r.Sectors[static_cast<size_t>(x * plan.NumZ + z)];
      const bool open = x > 0 && z > 0 && x < plan.NumX - 1 && z < plan.NumZ - 1;
      s.RoomBelow = s.RoomAbove = kNoRoom;
      s.Floor = open ? plan.Floor : kWallByte;
      s.Ceiling = open ? plan.Ceiling : kWallByte;
      s.BoxIndex = 0xFFFF;
    }
  r.AmbientIntensity1 = r.AmbientIntensity2 = kDarkness;
  return r;
}

Sector& At(DraftRoom& r, int x, int z) {
  return r.Sectors[static_cast<size_t>(x * r.NumZSectors + z)];
}

// A sector of a room and the floor-data list it points at.
struct FloorDataAt {
  int X, Z;
  uint16_t FDIndex;
};

void SetFloorData(DraftRoom& r, const std::vector<FloorDataAt>& sectors) {
  for (const FloorDataAt& s : sectors) At(r, s.X, s.Z).FDIndex = s.FDIndex;
}

void OpenPortalSector(DraftRoom& r, int x, int z, const RoomPlan& plan, uint16_t fdIndex) {
  Sector& s = At(r, x, z);
  s.Floor = plan.Floor;
  s.Ceiling = plan.Ceiling;
  s.FDIndex = fdIndex;
}

bool IsWall(const DraftRoom& r, int x, int z) {
  if (x < 0 || z < 0 || x >= r.NumXSectors || z >= r.NumZSectors) return true;
  const Sector& s = r.Sectors[static_cast<size_t>(x * r.NumZSectors + z)];
  return s.Floor == kWallByte && s.FDIndex == 0;
}

int16_t AddVertex(DraftRoom& r, int x, int y, int z) {
  r.Vertices.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(z),
                        kDarkness, 0, kGrey15});
  return static_cast<int16_t>(r.Vertices.size() - 1);
}

void AddQuad(DraftRoom& r, std::array<int16_t, 4> v, int16_t tile) {
  r.Rectangles.push_back({v, static_cast<int16_t>(tile | kDoubleSided), 0});
}

// Floors of the open sectors (except where a room below shows through) and walls along
// every edge between an open sector and a wall, up to the room's ceiling.
struct FloorTile {
  int X = 0, Z = 0;
  int16_t Tile = 0;
};

void BuildGeometry(DraftRoom& r, const std::vector<std::pair<int, int>>& climbable,
                   const std::vector<FloorTile>& floorTiles, int16_t floorTile) {
  const int top = r.Info.YTop;
  for (int x = 0; x < r.NumXSectors; ++x) {
    for (int z = 0; z < r.NumZSectors; ++z) {
      if (IsWall(r, x, z)) continue;
      const Sector& s = At(r, x, z);
      const int y = static_cast<int8_t>(s.Floor) * 256;
      const int x0 = x * kSectorUnits, x1 = x0 + kSectorUnits, z0 = z * kSectorUnits,
                z1 = z0 + kSectorUnits;
      if (s.RoomBelow == kNoRoom) {
        int16_t tile = floorTile;
        for (const FloorTile& special : floorTiles)
          if (special.X == x && special.Z == z) tile = special.Tile;
        AddQuad(r,
                {AddVertex(r, x0, y, z0), AddVertex(r, x1, y, z0), AddVertex(r, x1, y, z1),
                 AddVertex(r, x0, y, z1)},
                tile);
      }
      bool climb = false;
      for (auto [cx, cz] : climbable) climb |= cx == x && cz == z;
      const int16_t wallTile = climb ? kLadder : kBrick;
      if (IsWall(r, x - 1, z))
        AddQuad(r,
                {AddVertex(r, x0, y, z0), AddVertex(r, x0, y, z1), AddVertex(r, x0, top, z1),
                 AddVertex(r, x0, top, z0)},
                kBrick);
      if (IsWall(r, x + 1, z))
        AddQuad(r,
                {AddVertex(r, x1, y, z1), AddVertex(r, x1, y, z0), AddVertex(r, x1, top, z0),
                 AddVertex(r, x1, top, z1)},
                wallTile);
      if (IsWall(r, x, z - 1))
        AddQuad(r,
                {AddVertex(r, x1, y, z0), AddVertex(r, x0, y, z0), AddVertex(r, x0, top, z0),
                 AddVertex(r, x1, top, z0)},
                kBrick);
      if (IsWall(r, x, z + 1))
        AddQuad(r,
                {AddVertex(r, x0, y, z1), AddVertex(r, x1, y, z1), AddVertex(r, x1, top, z1),
                 AddVertex(r, x0, top, z1)},
                kBrick);
    }
  }
}

// A vertical portal on the plane x (room-relative) over sectors z0..z1-1.
Portal SidePortal(uint16_t room, int x, int z0, int z1, int yBottom, int yTop, int16_t normalX) {
  Portal p;
  p.AdjoiningRoom = room;
  p.Normal = {normalX, 0, 0};
  const auto X = static_cast<int16_t>(x), Z0 = static_cast<int16_t>(z0 * kSectorUnits),
             Z1 = static_cast<int16_t>(z1 * kSectorUnits), B = static_cast<int16_t>(yBottom),
             T = static_cast<int16_t>(yTop);
  p.Vertices = {X, B, Z0, X, T, Z0, X, T, Z1, X, B, Z1};
  return p;
}

// A horizontal portal at height y over the room-relative square x0..x1, z0..z1.
Portal FloorPortal(uint16_t room, int x0, int x1, int z0, int z1, int y, int16_t normalY) {
  Portal p;
  p.AdjoiningRoom = room;
  p.Normal = {0, normalY, 0};
  const auto X0 = static_cast<int16_t>(x0), X1 = static_cast<int16_t>(x1),
             Z0 = static_cast<int16_t>(z0), Z1 = static_cast<int16_t>(z1),
             Y = static_cast<int16_t>(y);
  p.Vertices = {X0, Y, Z0, X1, Y, Z0, X1, Y, Z1, X0, Y, Z1};
  return p;
}

// A white point light. The third game keeps its colour's red, green and blue bytes and its kind
// (1, a point) where the second game has two intensities, then the intensity and the fade.
RoomLight Light(const RoomInfo& info, int x, int y, int z) {
  RoomLight light;
  light.X = info.X + x;
  light.Y = y;
  light.Z = info.Z + z;
  light.Intensity1 = static_cast<int16_t>(0xFFFF);  // red, green
  light.Intensity2 = 0x01FF;                        // blue, a point light
  light.Fade1 = light.Fade2 = 6144;
  return light;
}

// ---- Meshes ----

// A box standing on its origin, every face given both ways round so it shows from any side.
std::vector<uint16_t> BoxMesh(int halfX, int height, int halfZ, int16_t tile) {
  std::vector<uint16_t> w;
  auto put = [&w](int v) { w.push_back(static_cast<uint16_t>(static_cast<int16_t>(v))); };
  put(0), put(-height / 2), put(0);  // centre
  const int radius = halfX + height + halfZ;
  put(radius & 0xFFFF), put(radius >> 16);
  put(8);
  for (int y : {0, -height})
    for (auto [x, z] :
         {std::pair{-halfX, -halfZ}, {halfX, -halfZ}, {halfX, halfZ}, {-halfX, halfZ}})
      put(x), put(y), put(z);
  put(-8);  // light values instead of normals
  for (int i = 0; i < 8; ++i) put(4096);
  const int faces[6][4] = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                           {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
  put(12);
  for (const auto& f : faces) {
    put(f[0]), put(f[1]), put(f[2]), put(f[3]), put(tile);
    put(f[3]), put(f[2]), put(f[1]), put(f[0]), put(tile);
  }
  put(0);  // textured triangles
  put(0);  // coloured rectangles
  put(0);  // coloured triangles
  return w;
}

// The middle of the room's sector n along one axis, in units from the room's corner.
constexpr int Middle(int n) { return n * kSectorUnits + kSectorUnits / 2; }

// The third game's object ids of the moveables the items use.
constexpr int16_t kLara = 0;
constexpr int16_t kTiger = 28;
constexpr int16_t kBoulder = 88;
constexpr int16_t kPushableBlock = 97;
constexpr int16_t kWallSwitch = 129;
constexpr int16_t kDoor1 = 131;
constexpr int16_t kDoor2 = 132;
constexpr int16_t kShotgun = 161;

// The third game keeps a sector's box number above four bits of floor material (0 here).
constexpr int kBoxShift = 4;

Item PlaceItem(int16_t objectId, int room, const RoomInfo& info, int x, int z, int y,
               int16_t angle = 0) {
  return Item{objectId,
              static_cast<int16_t>(room),
              info.X + Middle(x),
              y,
              info.Z + Middle(z),
              angle,
              -1,
              -1,
              0};
}

}  // namespace

DraftLevel ShowcaseDraft() {
  DraftLevel d;
  // The third game: its floor data knows the monkey-swing and minecart entries the rooms use.
  d.GameVersion = Game::TR3;
  for (int i = 0; i < 256; ++i) {
    d.Palette[i * 3] = d.Palette[i * 3 + 1] = d.Palette[i * 3 + 2] = static_cast<uint8_t>(i / 4);
    d.Palette16[i * 4] = d.Palette16[i * 4 + 1] = d.Palette16[i * 4 + 2] = static_cast<uint8_t>(i);
  }
  d.NumTextiles = 1;
  d.Textile16 = Page();
  for (int t = 0; t < kTileCount; ++t) d.ObjectTextures.push_back(TileTexture(t));

  // Floor data. Word 0 stays unused: index 0 means "no list".
  std::vector<uint16_t>& fd = d.FloorData;
  fd.push_back(0);
  auto list = [&fd](std::initializer_list<uint16_t> words) {
    const auto index = static_cast<uint16_t>(fd.size());
    fd.insert(fd.end(), words);
    return index;
  };
  const uint16_t toRoom0 = list({0x8001, 0});
  const uint16_t toRoom1 = list({0x8001, 1});
  const uint16_t toRoom3 = list({0x8001, 3});
  // Switch 2 opens door 1 and shows camera 0 (a camera action carries one more word).
  const uint16_t switchTrigger = list({0x8204, 0x3E00, 0x0002, 0x0001, 0x0400, 0x8000});
  const uint16_t padTrigger = list({0x8104, 0x3E05, 0x8000 | kShowcaseTiger});
  const uint16_t heavyTrigger = list({0x8504, 0x3E00, 0x8000 | kShowcaseBoulder});
  const uint16_t kill = list({0x8005});
  const uint16_t climb = list({0x8206});  // the wall on the +X side
  const uint16_t antipad = list({0x8604, 0x3E00, 0x8000 | kShowcaseTiger});
  const uint16_t monkey = list({0x8013});
  const uint16_t stop = list({0x0014, 0x8015});
  const uint16_t left = list({0x8014});
  const uint16_t right = list({0x8015});
  // Mask bits 1 and 3 only, timer 30: acts on the yard's door and the hall's door.
  const uint16_t yardTrigger =
      list({0x8004, 0x0A00 | 30, 0x0000 | kShowcaseYardDoor, 0x8000 | kShowcaseDoor});
  const uint16_t pickup = list({0x8404, 0x3E00, 0x8000 | kShowcaseShotgun});

  // Room 0: the hall.
  const RoomPlan hallPlan{{0, 0, 0, -3072}, 8, 8, 0, 0xF4};
  DraftRoom hall = PlanRoom(hallPlan);
  OpenPortalSector(hall, 7, 3, hallPlan, toRoom1);
  OpenPortalSector(hall, 7, 4, hallPlan, toRoom1);
  for (int x = 3; x <= 4; ++x)
    for (int z = 3; z <= 4; ++z) At(hall, x, z).RoomAbove = 2;
  SetFloorData(hall, {{2, 5, switchTrigger}, {4, 1, padTrigger}, {6, 6, heavyTrigger}});
  SetFloorData(hall, {{5, 2, kill}, {6, 1, climb}, {6, 2, climb}});
  BuildGeometry(hall, {{6, 1}, {6, 2}}, {{5, 2, kLava}}, kFlagstone);
  hall.Portals.push_back(SidePortal(1, 7 * kSectorUnits, 3, 5, 0, -2048, -1));
  hall.Portals.push_back(FloorPortal(2, 3072, 5120, 3072, 5120, -3072, 1));
  hall.Lights.push_back(Light(hall.Info, 4096, -2048, 4096));
  hall.StaticMeshes = {{Middle(1), 0, Middle(1), 0, kGrey15, kGrey15, 0},
                       {Middle(5), 0, Middle(5), 0x4000, kGrey15, kGrey15, 10},
                       {Middle(1), 0, Middle(6), 0, kGrey15, kGrey15, 0}};

  // Room 1: the corridor, from the hall's east wall to the yard. Adjoining rooms overlap by two
  // sectors, each one's edge column over the other's first open one, so that both sides of a
  // portal lie in one plane and a portal sector never leads to a portal sector back.
  const RoomPlan corridorPlan{{6 * kSectorUnits, 2 * kSectorUnits, 0, -2048}, 6, 4, 0, 0xF8};
  DraftRoom corridor = PlanRoom(corridorPlan);
  for (int z = 1; z <= 2; ++z) {
    OpenPortalSector(corridor, 0, z, corridorPlan, toRoom0);
    OpenPortalSector(corridor, 5, z, corridorPlan, toRoom3);
    At(corridor, 4, z).FDIndex = monkey;
    At(corridor, 4, z).Ceiling = 0xFA;
  }
  At(corridor, 1, 2).FDIndex = antipad;
  BuildGeometry(corridor, {}, {}, kPlanks);
  corridor.Portals.push_back(SidePortal(0, kSectorUnits, 1, 3, 0, -2048, 1));
  corridor.Portals.push_back(SidePortal(3, 5 * kSectorUnits, 1, 3, 0, -2048, -1));
  corridor.Lights.push_back(Light(corridor.Info, 3072, -1536, 2048));

  // Room 2: the loft over the middle of the hall.
  const RoomPlan loftPlan{{2 * kSectorUnits, 2 * kSectorUnits, -3072, -5120}, 5, 4, 0xF4, 0xEC};
  DraftRoom loft = PlanRoom(loftPlan);
  for (int x = 1; x <= 2; ++x)
    for (int z = 1; z <= 2; ++z) At(loft, x, z).RoomBelow = 0;
  BuildGeometry(loft, {}, {}, kGrass);
  loft.Portals.push_back(FloorPortal(0, 1024, 3072, 1024, 3072, -3072, -1));
  loft.Lights.push_back(Light(loft.Info, 2048, -4096, 2048));

  // Room 3: the minecart yard.
  const RoomPlan yardPlan{{10 * kSectorUnits, 0, 0, -3072}, 8, 8, 0, 0xF4};
  DraftRoom yard = PlanRoom(yardPlan);
  OpenPortalSector(yard, 0, 3, yardPlan, toRoom1);
  OpenPortalSector(yard, 0, 4, yardPlan, toRoom1);
  // The minecart track: its stops and turns, each on a rail tile.
  const std::vector<FloorDataAt> track = {{2, 2, stop}, {2, 3, left},  {2, 4, right},
                                          {3, 5, left}, {4, 5, right}, {5, 5, stop}};
  SetFloorData(yard, track);
  SetFloorData(yard, {{4, 2, yardTrigger}, {6, 6, pickup}, {6, 2, kill}});
  At(yard, 5, 1).Floor = At(yard, 5, 1).Ceiling = kWallByte;  // a pillar
  std::vector<FloorTile> yardTiles;
  for (const FloorDataAt& t : track) yardTiles.push_back({t.X, t.Z, kRail});
  yardTiles.push_back({6, 2, kLava});
  BuildGeometry(yard, {}, yardTiles, kFlagstone);
  yard.Portals.push_back(SidePortal(1, kSectorUnits, 3, 5, 0, -2048, 1));
  yard.Lights.push_back(Light(yard.Info, 4096, -2048, 4096));
  yard.StaticMeshes = {{yard.Info.X + Middle(6), 0, Middle(1), 0, kGrey15, kGrey15, 10}};

  d.Rooms = {hall, corridor, loft, yard};

  // Meshes: a crate, a door leaf, a small pickup box, a tall figure, a plant.
  const std::vector<std::vector<uint16_t>> meshes = {
      BoxMesh(384, 768, 384, kCrate), BoxMesh(512, 2048, 96, kPlanks),
      BoxMesh(160, 160, 160, kWater), BoxMesh(160, 760, 120, kGrass),
      BoxMesh(200, 900, 200, kGrass)};
  for (const auto& mesh : meshes) {
    d.MeshPointers.push_back(static_cast<int32_t>(d.MeshData.size() * 2));
    d.MeshData.insert(d.MeshData.end(), mesh.begin(), mesh.end());
  }
  Animation anim;
  anim.FrameSize = 11;  // bounding box, offset and one rotation
  anim.FrameRate = 1;
  d.Animations = {anim};
  d.Frames.assign(12, 0);
  // Object id (the third game's numbers) and mesh of every moveable the items use.
  const std::array<std::pair<int32_t, int16_t>, 8> moveables = {{{kLara, 3},
                                                                 {kDoor1, 1},
                                                                 {kWallSwitch, 2},
                                                                 {kTiger, 0},
                                                                 {kShotgun, 2},
                                                                 {kBoulder, 0},
                                                                 {kDoor2, 1},
                                                                 {kPushableBlock, 0}}};
  for (auto [id, mesh] : moveables) d.Moveables.push_back({id, 1, mesh, 0, 0, 0, 0});
  StaticMeshDef plant;
  plant.ID = 0;
  plant.Mesh = 4;
  plant.VisibilityBox = {-200, 200, -900, 0, -200, 200};
  plant.CollisionBox = plant.VisibilityBox;
  StaticMeshDef furniture = plant;
  furniture.ID = 10;
  furniture.Mesh = 0;
  furniture.VisibilityBox = {-384, 384, -768, 0, -384, 384};
  furniture.CollisionBox = furniture.VisibilityBox;
  d.StaticMeshDefs = {plant, furniture};

  const RoomInfo& h = d.Rooms[0].Info;
  const RoomInfo& c = d.Rooms[1].Info;
  const RoomInfo& l = d.Rooms[2].Info;
  const RoomInfo& y = d.Rooms[3].Info;
  d.Items = {PlaceItem(kLara, 0, h, 2, 2, 0, 0x4000), PlaceItem(kDoor1, 0, h, 6, 4, 0, -0x4000),
             PlaceItem(kWallSwitch, 0, h, 2, 5, 0),   PlaceItem(kTiger, 1, c, 2, 1, 0),
             PlaceItem(kShotgun, 3, y, 6, 6, 0),      PlaceItem(kBoulder, 2, l, 3, 1, -3072),
             PlaceItem(kDoor2, 3, y, 4, 4, 0),        PlaceItem(kPushableBlock, 0, h, 5, 5, 0)};
  d.Cameras = {{3 * kSectorUnits, -2048, 6 * kSectorUnits, 0, 0}};
  d.SoundSources = {{4096, -1024, 4096, 0, 0x80}};

  // One box per room, each overlapping the next.
  for (size_t i = 0; i < d.Rooms.size(); ++i) {
    const RoomInfo& info = d.Rooms[i].Info;
    Box b;
    b.Xmin = static_cast<uint8_t>(info.X / kSectorUnits + 1);
    b.Xmax = static_cast<uint8_t>(info.X / kSectorUnits + d.Rooms[i].NumXSectors - 1);
    b.Zmin = static_cast<uint8_t>(info.Z / kSectorUnits + 1);
    b.Zmax = static_cast<uint8_t>(info.Z / kSectorUnits + d.Rooms[i].NumZSectors - 1);
    b.TrueFloor = static_cast<int16_t>(info.YBottom);
    b.OverlapIndex = std::array<int16_t, 4>{0, 1, 3, 4}[i];
    d.Boxes.push_back(b);
    for (Sector& s : d.Rooms[i].Sectors)
      if (s.Floor != kWallByte) s.BoxIndex = static_cast<uint16_t>(i << kBoxShift);
  }
  // Each box's list ends with the top bit: 0 -> 1; 1 -> 0, 2; 2 -> 0; 3 -> 1, 2.
  d.Overlaps = {static_cast<int16_t>(0x8001), 0, static_cast<int16_t>(0x8002),
                static_cast<int16_t>(0x8000), 1, static_cast<int16_t>(0x8002)};
  d.SpriteTextures = {{0, 128, 0, 32 * 256 + 255, 32 * 256 + 255, -128, -256, 128, 0}};
  d.SpriteSequences = {{0, -1, 0}};
  for (size_t i = 0; i < d.LightMap.size(); ++i) d.LightMap[i] = static_cast<uint8_t>(i & 0xFF);
  d.SoundMap = {0};
  d.SoundDetails = {{{0, 0, 0x7F, 0x7F, 0, 0, 1, 0}}};
  d.SampleIndices = {0};
  return d;
}

DraftLevel SecondGameShowcaseDraft(bool keepThirdGameFloorData) {
  DraftLevel d = ShowcaseDraft();
  d.GameVersion = Game::TR2;
  auto onlyThirdGame = [&](uint16_t fdIndex) {
    if (keepThirdGameFloorData || fdIndex == 0 || fdIndex >= d.FloorData.size()) return false;
    const int function = d.FloorData[fdIndex] & 0x1F;
    return function == 19 || function == 20 || function == 21;
  };
  for (DraftRoom& room : d.Rooms) {
    for (Sector& s : room.Sectors) {
      if (onlyThirdGame(s.FDIndex)) s.FDIndex = 0;
      if (s.BoxIndex != 0xFFFF) s.BoxIndex = static_cast<uint16_t>(s.BoxIndex >> kBoxShift);
    }
    for (RoomVertex& v : room.Vertices) v.Lighting2 = kDarkness;
    for (RoomLight& light : room.Lights) light.Intensity1 = light.Intensity2 = 6144;
    for (RoomStatic& mesh : room.StaticMeshes) mesh.Intensity1 = mesh.Intensity2 = kDarkness;
  }
  // The second game's numbers for the same objects.
  const std::array<std::pair<int32_t, int32_t>, 8> ids = {{{kLara, 0},
                                                           {kDoor1, 106},
                                                           {kWallSwitch, 104},
                                                           {kTiger, 39},
                                                           {kShotgun, 136},
                                                           {kBoulder, 60},
                                                           {kDoor2, 107},
                                                           {kPushableBlock, 67}}};
  auto secondGameId = [&ids](int32_t id) {
    for (auto [third, second] : ids)
      if (third == id) return second;
    return id;
  };
  for (Moveable& m : d.Moveables) m.ObjectID = secondGameId(m.ObjectID);
  for (Item& item : d.Items) item.ObjectID = static_cast<int16_t>(secondGameId(item.ObjectID));
  return d;
}

void WriteShowcaseLevel(const std::filesystem::path& path) {
  WriteBytes(path, ComposeClassic(ShowcaseDraft()).Bytes);
}

}  // namespace slab::test
