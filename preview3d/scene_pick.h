// What a click or the pointer in the main window's 3D view is on: an item, a static mesh or a
// floor sector, found exactly against the faces as they are drawn (front faces only, as the
// device culls the backs), without any toolkit.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "floordata/object_names.h"
#include "level/level.h"
#include "preview3d/item_faces.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/orbit_camera.h"

namespace slab {

// A ray in sector units (Y up) from the eye through a point of the drawing area.
struct PickRay {
  double OriginX = 0, OriginY = 0, OriginZ = 0;
  double DirX = 0, DirY = 0, DirZ = 1;
};
// The ray through (x, y) of a width x height area (x right, y down, a pixel's centre at +0.5),
// with the projection drawing uses; nothing for an empty area.
std::optional<PickRay> RayThroughPoint(const OrbitCamera& camera, int width, int height, double x,
                                       double y);

// What the 3D view shows, as it draws it: the rooms shown (the current one and those beyond
// its doors when they are drawn), every static mesh definition's faces, and the items' faces
// built for those rooms.
struct PickScene {
  const Level* Lvl = nullptr;
  int CurrentRoom = -1;
  std::span<const int> Rooms;
  std::span<const MeshFaceList> StaticMeshes;
  const ItemFaces* Items = nullptr;
};

enum class PickKind { Nothing, Item, Static, Sector };
struct ScenePick {
  PickKind Kind = PickKind::Nothing;
  int Entity = -1;  // an item or AI object, as the item panel numbers them
  int Room = -1;    // the static mesh's room, or the sector's
  int Static = -1;  // index into the room's static meshes
  int SectorX = -1, SectorZ = -1;
  bool operator==(const ScenePick&) const = default;
};

// The nearest item or static mesh face that faces the eye wins, unless a face of a shown room
// lies before it. Otherwise the floor sector of the current room under the point, as
// PickFloorSector finds it (walls and ceilings neither count nor hide a floor there); off
// that floor, the nearest floor of another room shown that no face of theirs hides.
ScenePick PickInScene(const OrbitCamera& camera, const PickScene& scene, int width, int height,
                      double x, double y);

// The point of the shown rooms' faces the ray through (x, y) meets first; where it meets
// none, the point on the ray as deep as the camera's target, so a move about it keeps it
// under the pointer either way. Nothing for an empty area.
std::optional<Vec3> PointUnder(const OrbitCamera& camera, const PickScene& scene, int width,
                               int height, double x, double y);

// Where choosing a pick leads: the room of the item, static mesh or sector, and the sector
// (a, b) it stands on, numbered as the map numbers them; -1 for a place off the room's grid.
// Nothing for no pick, or an item or room the level lacks.
struct PickPlace {
  int Room = -1;
  int SectorX = -1, SectorZ = -1;
  bool operator==(const PickPlace&) const = default;
};
std::optional<PickPlace> PlaceOfPick(const Level& level, const ScenePick& pick);

// What the pointer is on, as the view's tooltip names it: "Item 5 - 12 Door", "AI 0 - 3",
// "Static mesh 2 of room 4 - Plant", "Room 0, Sector 1,4"; empty for nothing.
std::string PickName(const Level& level, Game gameVersion, const ObjectNames& names,
                     const ScenePick& pick);

}  // namespace slab
