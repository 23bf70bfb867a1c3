// The main window's right-hand 3D view: the selected room (and, with doors shown, the rooms
// beyond its portals), their static meshes and items, the room's lights and the level's
// cameras, fixed cameras and sinks as markers, seen by the orbit camera. The window drives it: it
// hands over each opened level, says which room and sector are selected, passes keys and
// Alt-clicks, and asks for frames. A click says what it landed on (an item, a static mesh or
// a floor); the pointer's tooltip names what it rests on.
#pragma once

#include <QOpenGLWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "floordata/object_names.h"
#include "level/document.h"
#include "level/level.h"
#include "platform/messages.h"
#include "preview3d/gl/markers.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/item_faces.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/room_faces.h"
#include "preview3d/scene_pick.h"
#include "preview3d/texels.h"

namespace slab {

class Room3DView : public QOpenGLWidget {
  Q_OBJECT

 public:
  // Shows the window's document, naming items and statics with its names: the view is the
  // window's child, so both outlive it.
  Room3DView(const Document& doc, const ObjectNames& names, MessageSink& messages,
             QWidget* parent = nullptr);
  ~Room3DView() override;

  // After a level was opened into the document (or the document emptied): builds the texture
  // strip with the main window's texel rules, telling progress how far it is, and the static
  // and moveable meshes.
  void LevelOpened(const TileProgress& progress = {});
  const TextureStrip& Strip() const { return strip_; }

  // The room and sector selected on the map (none: nothing is highlighted) and the DrawDoors
  // box. A change of any of them clears the cached faces, so the next frame builds the room faces
  // again with the highlight where the map's selection is.
  void ShowRoom(int room, std::optional<SelectedSector> selected, bool drawDoors);
  // After an edit: the items' faces (position, angle, type, a new item), or the shown rooms'
  // faces, are built again for the next frame; nothing else is.
  void ItemsChanged();
  void RoomGeometryChanged();
  // How often the items' faces were built: the one way a test sees that an edit rebuilt the
  // items and not the whole scene (the pictures of both are alike).
  int ItemBuilds() const { return itemBuilds_; }

  OrbitCamera& Camera() { return camera_; }
  // Arrow keys and Page Up / Down without modifiers; true when the camera moved.
  bool OrbitKey(int keyCode, int shiftState);
  // A left click on sector (x, z) of the map of `room`; with Alt it becomes the camera's focus,
  // also when that room is still to be framed (the view hidden or not yet drawn since it was
  // chosen): the framing keeps it.
  void MapClick(int room, int x, int z, bool altHeld);

  // Reads the marker pictures from the program's folder (a missing one is named in a
  // message and not drawn).
  void LoadMarkers(const std::filesystem::path& folder);

 signals:
  void DeviceFailed();
  // A left click in the view landed on the floor of sector (a, b) of the current room.
  void SectorPicked(int a, int b);
  // ... on an item or AI object (numbered as the item panel numbers them), in any room shown.
  void ItemPicked(int entity);
  // ... on static mesh `index` of room `room`.
  void StaticPicked(int room, int index);

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeGL(int width, int height) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  std::vector<int> RoomsShown() const;
  // The items' faces of the rooms shown, built again after a change; drawn and picked alike.
  const ItemFaces& ShownItems();
  // What the point of the view shows, as last drawn.
  ScenePick PickAt(QPointF at);
  void FrameNewRoom();
  // A marker's placement at a scene position, facing the camera.
  Mat4 MarkerAt(Vec3 at) const;

  MessageSink& messages_;
  std::unique_ptr<SceneRenderer> renderer_ = std::make_unique<SceneRenderer>();
  bool deviceFailed_ = false;
  bool uploadPending_ = false;
  bool facesCached_ = false;
  bool itemsCached_ = false;
  bool itemsUploaded_ = false;
  ItemFaces items_;
  int itemBuilds_ = 0;
  const Document& doc_;
  const ObjectNames& names_;
  bool ready_ = false;  // the meshes and the strip are the document's level's
  TextureStrip strip_;
  std::vector<MeshFaceList> statics_;
  std::vector<MoveableMeshFaces> moveables_;
  std::vector<Marker> cameraMarkers_;  // one per camera record
  std::array<MarkerPicture, 4> markerPictures_;
  bool markersPending_ = false;
  int room_ = 0;
  std::optional<SelectedSector> selected_;
  bool drawDoors_ = false;
  bool framePending_ = true;  // the room changed: frame it once the view's size is known
  bool cameraMoved_ = false;  // by the keys since that framing
  // The last focus chosen on the map, until the next framing.
  struct ChosenFocus {
    int Room = 0;
    SelectedSector Sector;
  };
  std::optional<ChosenFocus> focusChosen_;
  OrbitCamera camera_;
};

// The key code the cameras use for a Qt key, or 0.
int CameraKeyCode(int qtKey);

}  // namespace slab
