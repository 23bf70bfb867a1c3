// The main window's right-hand 3D view: the whole level (or the selected room and the rooms
// beyond its portals), their static meshes and items, the room's lights and the level's
// cameras, fixed cameras and sinks as markers, seen by the orbit camera. The window drives it:
// it hands over each opened level, says which room and sector are selected and what was
// chosen elsewhere, passes keys, and asks for frames. The mouse turns, slides and moves the
// camera; a click only says what it landed on (an item, a static mesh or a floor); the
// pointer's tooltip names what it rests on.
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
#include "platform/tick_clock.h"
#include "preview3d/camera_moves.h"
#include "preview3d/gl/markers.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/item_faces.h"
#include "preview3d/level_batches.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/orbit_camera.h"
#include "preview3d/room_faces.h"
#include "preview3d/scene_pick.h"
#include "preview3d/texels.h"
#include "preview3d/trigger_links.h"

namespace slab {

class Room3DView : public QOpenGLWidget {
  Q_OBJECT

 public:
  // Shows the window's document, naming items and statics with its names: the view is the
  // window's child, so both outlive it. Glides are timed by the window's clock.
  Room3DView(const Document& doc, const ObjectNames& names, MessageSink& messages, TickClock& clock,
             QWidget* parent = nullptr);
  ~Room3DView() override;

  // After a level was opened into the document (or the document emptied): builds the texture
  // strip with the main window's texel rules, telling progress how far it is, and the static
  // and moveable meshes. The first frame frames the current room whole.
  void LevelOpened(const TileProgress& progress = {});
  const TextureStrip& Strip() const { return strip_; }

  // What the window shows: the current room and selected sector (none: nothing is
  // highlighted), the DrawDoors box (the neighbours, when the whole level is not drawn) and
  // the Alternate box (the flip map). Another room than before is turned to, keeping distance
  // and tilt, unless the camera follows no selection or the room came from a click in here.
  void ShowRoom(int room, std::optional<SelectedSector> selected, bool drawDoors, bool alternates);
  // The item or AI object chosen (-1: none): it is outlined, and lines go to it from each
  // sector whose trigger names it.
  void ShowChosen(int entity);
  // The map's colour for trigger sectors (0xRRGGBB): their floors are tinted with it.
  void SetTriggerColour(uint32_t colour);
  // The lines of the selected sector's trigger and to the chosen item, as the last frame
  // placed them.
  const std::vector<SceneLine>& TriggerLines() const { return lines_; }

  // After an edit: the items' faces (position, angle, type, a new item), or the current
  // room's faces, are built again for the next frame; nothing else is.
  void ItemsChanged();
  void RoomGeometryChanged();
  // A static mesh of the current room was added or removed.
  void StaticsChanged();
  // How often the items' faces were built: the one way a test sees that an edit rebuilt the
  // items and not the whole scene (the pictures of both are alike).
  int ItemBuilds() const { return itemBuilds_; }

  // The camera as the next frame draws it (mid-glide: where the glide is now).
  const OrbitCamera& Camera() const { return camera_; }
  // Arrow keys and Page Up / Down without modifiers; true when the camera moved.
  bool OrbitKey(int keyCode, int shiftState);
  // Sector (x, z) of `room` was chosen elsewhere (the map, a list, a trigger's object): the
  // camera glides to look at it, keeping its distance and tilt, when it follows the selection.
  void TurnTo(int room, int x, int z);
  // The room was chosen by a click in this view: the camera stays where it is.
  void KeepCamera(int room);
  void SetFollowsSelection(bool follows) { follows_ = follows; }
  // The whole level, culled by the view, or only the current room and its neighbours.
  void SetWholeLevel(bool whole);
  // F: the camera glides to frame the selection; Home: the whole current room.
  void FrameSelection(const CameraSelection& selection);
  void FrameCurrentRoom();

  // Reads the marker pictures from the program's folder (a missing one is named in a
  // message and not drawn).
  void LoadMarkers(const std::filesystem::path& folder);

 signals:
  void DeviceFailed();
  // A glide is under way: another frame is wanted.
  void FrameWanted();
  // A left click in the view landed on the floor of sector (a, b) of a room shown.
  void SectorPicked(int room, int a, int b);
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
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The rooms drawn and picked: the whole level's as the camera sees it, or the current room
  // (and its neighbours with doors drawn).
  std::vector<int> RoomsDrawn() const;
  std::vector<int> RoomsNear() const;
  // The items' faces of the rooms that can be drawn, built again after a change.
  const ItemFaces& ShownItems();
  PickScene Scene();
  // What the point of the view shows, as last drawn.
  ScenePick PickAt(QPointF at);
  void Pick(QPointF at);
  void FrameNewRoom();
  double Aspect() const;
  // Ends a glide where it is now: the user takes the camera from there.
  void SettleGlide();
  void GlideTo(const OrbitCamera& to);
  // The user moved the camera: it stays where it was put from now on.
  void UserMoved();
  // The selected sector's outline, the trigger lines and the chosen item's box over the
  // picture.
  void DrawOverlay(int pixelsWide, int pixelsHigh, qreal ratio);
  // A marker's placement at a scene position, facing the camera.
  Mat4 MarkerAt(Vec3 at) const;

  MessageSink& messages_;
  TickClock& clock_;
  std::unique_ptr<SceneRenderer> renderer_ = std::make_unique<SceneRenderer>();
  bool deviceFailed_ = false;
  bool uploadPending_ = false;
  // Per room: its faces and static meshes are on the device as they are now.
  std::vector<bool> roomBuilt_;
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
  bool alternates_ = false;
  bool wholeLevel_ = true;
  bool follows_ = true;
  bool framePending_ = true;  // a level opened: frame its room once the view's size is known
  bool cameraMoved_ = false;  // since that framing, by the user or a glide
  int cameraKeptFor_ = -1;    // the room a click in here chose: no turn to it
  std::optional<Vec3> lookAfterFraming_;
  std::vector<int> drawn_;  // the rooms the last frame drew
  // The mouse: where a button went down, the last drag step, and whether it became a drag.
  QPointF pressedAt_, dragFrom_;
  bool dragging_ = false;
  bool flying_ = false;  // W, A, S or D went with the right button held
  std::optional<CameraGlide> glide_;
  uint32_t triggerColour_ = 0;
  int chosen_ = -1;
  bool linesStale_ = true;
  std::vector<SceneLine> lines_;
  OrbitCamera camera_;
};

// The key code the cameras use for a Qt key, or 0.
int CameraKeyCode(int qtKey);

}  // namespace slab
