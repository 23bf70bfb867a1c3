// Checks of the rooms themselves: portals, rooms above and below, flipped rooms, engine limits.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>

#include "check/check_context.h"
#include "level/text.h"

namespace slab::checks {
namespace {

using Corner = std::array<int64_t, 3>;
using Corners = std::array<Corner, 4>;

// The one axis a portal's normal runs along, or -1.
int NormalAxis(const Portal& p) {
  int axis = -1;
  for (int k = 0; k < 3; ++k) {
    if (p.Normal[static_cast<size_t>(k)] == 0) continue;
    if (axis >= 0) return -1;
    axis = k;
  }
  return axis;
}

// A portal in world units: the plane along its axis, and its corners sorted with that
// coordinate left out, so two portals through the same four corners compare equal whichever
// corner each starts at. The games keep the side facing up an axis one unit short of the
// other side (X 46079 against 46080), so planes one unit apart are one plane.
struct WorldPortal {
  int64_t Plane = 0;
  Corners Across{};
};
WorldPortal ToWorld(const Room& room, const Portal& p, int axis) {
  WorldPortal w;
  for (size_t k = 0; k < 4; ++k) {
    Corner corner = {room.Info.X + int64_t{p.Vertices[3 * k]}, int64_t{p.Vertices[3 * k + 1]},
                     room.Info.Z + int64_t{p.Vertices[3 * k + 2]}};
    w.Plane = corner[static_cast<size_t>(axis)];
    corner[static_cast<size_t>(axis)] = 0;
    w.Across[k] = corner;
  }
  std::sort(w.Across.begin(), w.Across.end());
  return w;
}
constexpr int64_t kPlaneSlack = 1;

std::string PortalText(int room, int portal) {
  return RoomText(room) + "'s portal " + std::to_string(portal);
}

}  // namespace

// The games draw and walk from room to room through portals without checking the room number:
// one past the list reads another room's memory. A portal that does not come back lets Lara see
// (or the camera pass) one way only, which looks like a hole in the level.
void CheckPortals(Context& c) {
  const auto& rooms = c.L.Rooms;
  // A flip puts an alternate in its base room's place, so the neighbours of an alternate lead
  // back to its base: a room's way back may lead to the room, its base or its alternate.
  std::vector<int> baseOf(rooms.size(), -1);
  for (size_t r = 0; r < rooms.size(); ++r)
    if (HasRoom(c.L, rooms[r].AlternateRoom) && rooms[r].AlternateRoom != kNoRoom)
      baseOf[static_cast<size_t>(rooms[r].AlternateRoom)] = static_cast<int>(r);
  auto sameRoom = [&](int to, size_t r) {
    const int alternate = rooms[r].AlternateRoom;
    return to == static_cast<int>(r) || to == baseOf[r] ||
           (alternate != kNoRoom && to == alternate);
  };
  for (size_t r = 0; r < rooms.size(); ++r) {
    const Room& room = rooms[r];
    for (size_t p = 0; p < room.Portals.size(); ++p) {
      const Portal& portal = room.Portals[p];
      const Place at{.Room = static_cast<int>(r), .Portal = static_cast<int>(p)};
      const int to = portal.AdjoiningRoom;
      const std::string name = PortalText(static_cast<int>(r), static_cast<int>(p));
      if (!HasRoom(c.L, to)) {
        c.Add("portal-room", at,
              name + " leads to room " + std::to_string(to) +
                  LevelHas(rooms.size(), "room", "rooms"));
        continue;
      }
      if (to == static_cast<int>(r)) {
        c.Add("portal-self", at, name + " leads to its own room");
        continue;
      }
      const int axis = NormalAxis(portal);
      if (axis < 0) {
        c.Add("portal-normal", at,
              name + "'s normal (" + std::to_string(portal.Normal[0]) + ", " +
                  std::to_string(portal.Normal[1]) + ", " + std::to_string(portal.Normal[2]) +
                  ") is not along one axis");
        continue;
      }
      const WorldPortal mine = ToWorld(room, portal, axis);
      bool back = false, samePlane = false, sameCorners = false;
      for (const Portal& other : rooms[static_cast<size_t>(to)].Portals) {
        if (!sameRoom(other.AdjoiningRoom, r)) continue;
        back = true;
        // A way back with no one axis has its own finding.
        if (NormalAxis(other) < 0) samePlane = sameCorners = true;
        if (NormalAxis(other) != axis) continue;
        const WorldPortal theirs = ToWorld(rooms[static_cast<size_t>(to)], other, axis);
        if (std::abs(theirs.Plane - mine.Plane) > kPlaneSlack) continue;
        samePlane = true;
        if (theirs.Across == mine.Across) sameCorners = true;
      }
      if (!back)
        c.Add("portal-back", at,
              name + " leads to room " + std::to_string(to) +
                  ", which has no portal back to room " + std::to_string(r));
      else if (!samePlane)
        c.Add("portal-plane", at,
              name + " lies at " + "XYZ"[axis] + " " + std::to_string(mine.Plane) +
                  "; no portal of room " + std::to_string(to) + " back to it lies in that plane");
      else if (!sameCorners)
        c.Add("portal-corners", at,
              name + " to room " + std::to_string(to) +
                  " has no portal back through the same four corners");
    }
  }
}

// The games follow a sector's room below (or above) to find the floor (or ceiling) under a
// point, room after room, without a bound: a room number past the list reads garbage, and a
// loop never ends. A room below that does not link back up is common in the first three games'
// own levels and harmless unless something falls through it.
void CheckRoomsAboveBelow(Context& c) {
  const auto& rooms = c.L.Rooms;
  struct Way {
    const char* Check;
    const char* BackCheck;
    const char* Word;  // "below"
    const char* Back;  // "above"
    uint8_t Sector::*Link;
    uint8_t Sector::*BackLink;
  };
  const Way ways[] = {
      {"room-below", "room-below-back", "below", "above", &Sector::RoomBelow, &Sector::RoomAbove},
      {"room-above", "room-above-back", "above", "below", &Sector::RoomAbove, &Sector::RoomBelow}};
  ForEachSector(c.L, [&](int r, const Room& room, int x, int z, const Sector& sector) {
    const Place at{.Room = r, .SectorX = x, .SectorZ = z};
    const std::string name = RoomText(r) + "'s sector " + SectorPlace(x, z);
    const int64_t wx = SectorMiddle(room.Info.X, x), wz = SectorMiddle(room.Info.Z, z);
    for (const Way& way : ways) {
      const int to = sector.*way.Link;
      if (to == kNoRoom) continue;
      if (!HasRoom(c.L, to)) {
        c.Add(way.Check, at,
              name + " has room " + std::to_string(to) + " " + way.Word + " it" +
                  LevelHas(rooms.size(), "room", "rooms"));
        continue;
      }
      int a = 0, b = 0;
      const Room& other = rooms[static_cast<size_t>(to)];
      if (!SectorAtWorld(other, wx, wz, a, b) || other.SectorAt(a, b).*way.BackLink != r)
        c.Add(way.BackCheck, at,
              name + " has room " + std::to_string(to) + " " + way.Word +
                  " it, whose sector there does not have room " + std::to_string(r) + " " +
                  way.Back + " it");
      // Follow the links down (or up) from here; coming back to this room is a loop.
      std::vector<char> seen(rooms.size(), 0);
      seen[static_cast<size_t>(r)] = 1;
      int reached = to;
      while (HasRoom(c.L, reached) && !seen[static_cast<size_t>(reached)]) {
        seen[static_cast<size_t>(reached)] = 1;
        const Room& next = rooms[static_cast<size_t>(reached)];
        if (!SectorAtWorld(next, wx, wz, a, b)) break;
        reached = next.SectorAt(a, b).*way.Link;
      }
      if (reached == r)
        c.Add("room-loop", at,
              name + "'s rooms " + way.Word + " lead round to room " + std::to_string(r) +
                  " again, starting with room " + std::to_string(to));
    }
  });
}

// A flip swaps each base room with its alternate in place: the games copy the alternate over
// the base's slot without checking the number, and an alternate elsewhere or on another grid
// moves the floor under Lara. A trigger on the base that the alternate lacks stops working once
// the rooms are flipped.
void CheckFlippedRooms(Context& c) {
  const auto& rooms = c.L.Rooms;
  std::vector<int> baseOf(rooms.size(), -1);
  for (size_t r = 0; r < rooms.size(); ++r) {
    const Room& room = rooms[r];
    if (room.AlternateRoom < 0 || room.AlternateRoom == kNoRoom) continue;
    const int alt = room.AlternateRoom;
    const Place at{.Room = static_cast<int>(r)};
    const std::string name = RoomText(static_cast<int>(r));
    if (!HasRoom(c.L, alt)) {
      c.Add("flip-room", at,
            name + "'s alternate is room " + std::to_string(alt) +
                LevelHas(rooms.size(), "room", "rooms"));
      continue;
    }
    if (alt == static_cast<int>(r)) {
      c.Add("flip-self", at, name + " is its own alternate");
      continue;
    }
    int& base = baseOf[static_cast<size_t>(alt)];
    if (base >= 0)
      c.Add("flip-shared", at,
            name + "'s alternate, room " + std::to_string(alt) + ", is room " +
                std::to_string(base) + "'s alternate too");
    else
      base = static_cast<int>(r);
    const Room& other = rooms[static_cast<size_t>(alt)];
    if (other.Info.X != room.Info.X || other.Info.Z != room.Info.Z ||
        other.NumXSectors != room.NumXSectors || other.NumZSectors != room.NumZSectors) {
      c.Add("flip-place", at,
            name + " lies at X " + std::to_string(room.Info.X) + ", Z " +
                std::to_string(room.Info.Z) + " with " + std::to_string(room.NumXSectors) + " x " +
                std::to_string(room.NumZSectors) + " sectors; its alternate, room " +
                std::to_string(alt) + ", at X " + std::to_string(other.Info.X) + ", Z " +
                std::to_string(other.Info.Z) + " with " + std::to_string(other.NumXSectors) +
                " x " + std::to_string(other.NumZSectors));
      continue;
    }
    for (int x = 0; x < room.NumXSectors; ++x)
      for (int z = 0; z < room.NumZSectors; ++z) {
        if (!room.HasSector(x, z) || !other.HasSector(x, z)) continue;
        if (GetFirstTrigger(c.L, room.SectorAt(x, z).FDIndex) == kNoTrigger) continue;
        if (GetFirstTrigger(c.L, other.SectorAt(x, z).FDIndex) != kNoTrigger) continue;
        c.Add("flip-trigger", {.Room = static_cast<int>(r), .SectorX = x, .SectorZ = z},
              name + "'s sector " + SectorPlace(x, z) + " has a trigger; the same sector of its " +
                  "alternate, room " + std::to_string(alt) + ", has none");
      }
  }
}

// Limits the games' own code fixes in tables of a set size and does not check while loading.
void CheckEngineLimits(Context& c) {
  // The first two games build a room's screen vertices in a table of 1500.
  if (c.G == Game::TR1 || c.G == Game::TR2) {
    constexpr size_t kMostVertices = 1500;
    for (size_t r = 0; r < c.L.Rooms.size(); ++r)
      if (c.L.Rooms[r].Vertices.size() > kMostVertices)
        c.Add("limit-vertices", {.Room = static_cast<int>(r)},
              RoomText(static_cast<int>(r)) + " has " +
                  std::to_string(c.L.Rooms[r].Vertices.size()) + " vertices; " + GameText(c.G) +
                  " holds " + std::to_string(kMostVertices) + " in one room");
  }
  // The first three games keep items in a table of 256 and stop loading a level with more.
  if (c.G == Game::TR1 || c.G == Game::TR2 || c.G == Game::TR3) {
    constexpr size_t kMostItems = 256;
    if (c.L.Items.size() > kMostItems)
      c.Add("limit-items", {},
            "The level has " + std::to_string(c.L.Items.size()) + " items; " + GameText(c.G) +
                " holds " + std::to_string(kMostItems));
  }
}

}  // namespace slab::checks
