#include "preview3d/room_culling.h"

#include <algorithm>
#include <array>
#include <deque>

#include "preview3d/camera_moves.h"
#include "preview3d/scene_units.h"

namespace slab {
namespace {

bool Valid(const Level& level, int room) {
  return room >= 0 && static_cast<size_t>(room) < level.Rooms.size();
}

int AlternateOf(const Level& level, int room) {
  const int alternate = level.Rooms[static_cast<size_t>(room)].AlternateRoom;
  return Valid(level, alternate) && alternate != room ? alternate : -1;
}

}  // namespace

std::vector<int> LevelRooms(const Level& level, int current, bool alternates) {
  const size_t count = level.Rooms.size();
  std::vector<bool> isAlternate(count, false);
  for (size_t r = 0; r < count; ++r)
    if (const int alternate = AlternateOf(level, static_cast<int>(r)); alternate >= 0)
      isAlternate[static_cast<size_t>(alternate)] = true;
  std::vector<int> rooms;
  for (size_t r = 0; r < count; ++r) {
    if (isAlternate[r]) continue;
    const int alternate = AlternateOf(level, static_cast<int>(r));
    int shown = alternates && alternate >= 0 ? alternate : static_cast<int>(r);
    // The current room shows as itself, whichever side of the flip map it is on.
    if (current == static_cast<int>(r) || current == alternate) shown = current;
    rooms.push_back(shown);
  }
  if (Valid(level, current) && std::find(rooms.begin(), rooms.end(), current) == rooms.end())
    rooms.push_back(current);
  return rooms;
}

bool BoxInView(Vec3 min, Vec3 max, const Mat4& viewProjection) {
  // Per side of the view (left, right, below, above, near, far): are all corners beyond it?
  std::array<bool, 6> allOut{true, true, true, true, true, true};
  for (int i = 0; i < 8; ++i) {
    const Vec3 corner{(i & 1) ? max.X : min.X, (i & 2) ? max.Y : min.Y, (i & 4) ? max.Z : min.Z};
    const auto c = TransformPoint(corner, viewProjection);
    allOut[0] = allOut[0] && c[0] < -c[3];
    allOut[1] = allOut[1] && c[0] > c[3];
    allOut[2] = allOut[2] && c[1] < -c[3];
    allOut[3] = allOut[3] && c[1] > c[3];
    allOut[4] = allOut[4] && c[2] < -c[3];
    allOut[5] = allOut[5] && c[2] > c[3];
  }
  return std::none_of(allOut.begin(), allOut.end(), [](bool out) { return out; });
}

std::vector<int> RoomsInView(const Level& level, int current, bool alternates,
                             const Mat4& viewProjection, Vec3 eye) {
  const std::vector<int> shown = LevelRooms(level, current, alternates);
  // Where a portal leads, in the flip map's state shown: its adjoining room or that room's
  // counterpart.
  std::vector<bool> isShown(level.Rooms.size(), false);
  for (const int room : shown) isShown[static_cast<size_t>(room)] = true;
  std::vector<int> shownFor(level.Rooms.size(), -1);
  for (size_t r = 0; r < level.Rooms.size(); ++r) {
    if (isShown[r]) shownFor[r] = static_cast<int>(r);
    const int alternate = AlternateOf(level, static_cast<int>(r));
    if (alternate < 0) continue;
    const int pair = isShown[r]                                ? static_cast<int>(r)
                     : isShown[static_cast<size_t>(alternate)] ? alternate
                                                               : -1;
    shownFor[r] = pair;
    shownFor[static_cast<size_t>(alternate)] = pair;
  }
  std::vector<bool> done(level.Rooms.size(), false);
  std::vector<int> order;
  auto inView = [&](int room) {
    const auto box = RoomBox(level, room);
    return box && BoxInView(box->Min, box->Max, viewProjection);
  };
  std::deque<int> through;
  if (Valid(level, current)) {
    done[static_cast<size_t>(current)] = true;
    order.push_back(current);
    through.push_back(current);
  }
  while (!through.empty()) {
    const Room& room = level.Rooms[static_cast<size_t>(through.front())];
    through.pop_front();
    for (const Portal& portal : room.Portals) {
      if (!Valid(level, portal.AdjoiningRoom)) continue;
      const int next = shownFor[portal.AdjoiningRoom];
      if (next < 0 || done[static_cast<size_t>(next)]) continue;
      Vec3 min{1e9f, 1e9f, 1e9f}, max{-1e9f, -1e9f, -1e9f};
      for (size_t k = 0; k < 4; ++k) {
        const Vec3 p =
            ScenePosition(room.Info.X + portal.Vertices[3 * k], portal.Vertices[3 * k + 1],
                          room.Info.Z + portal.Vertices[3 * k + 2]);
        min = {std::min(min.X, p.X), std::min(min.Y, p.Y), std::min(min.Z, p.Z)};
        max = {std::max(max.X, p.X), std::max(max.Y, p.Y), std::max(max.Z, p.Z)};
      }
      if (!BoxInView(min, max, viewProjection)) continue;
      done[static_cast<size_t>(next)] = true;
      order.push_back(next);
      through.push_back(next);
    }
  }
  std::vector<std::pair<float, int>> rest;
  for (const int room : shown) {
    if (done[static_cast<size_t>(room)] || !inView(room)) continue;
    // The squared distance from the eye to the room's box.
    const auto box = RoomBox(level, room);
    auto gap = [](float v, float lo, float hi) { return v < lo ? lo - v : v > hi ? v - hi : 0.0f; };
    const float dx = gap(eye.X, box->Min.X, box->Max.X), dy = gap(eye.Y, box->Min.Y, box->Max.Y),
                dz = gap(eye.Z, box->Min.Z, box->Max.Z);
    rest.emplace_back(dx * dx + dy * dy + dz * dz, room);
  }
  std::stable_sort(rest.begin(), rest.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [distance, room] : rest) order.push_back(room);
  return order;
}

}  // namespace slab
