// The right-hand view and the texture pages: the 3D room view where the device allows it and
// the view mode asks for it, the level overview otherwise. Draws a frame when the frame loop
// says so and passes the view's picks on as places of the level.
#pragma once

#include <QObject>
#include <functional>

#include "app/frame_loop.h"
#include "app/window_services.h"
#include "floordata/object_names.h"
#include "level/document.h"
#include "map/edit_history.h"
#include "map/map_state.h"
#include "preview3d/scene_pick.h"
#include "preview3d/texels.h"

class QMenu;

namespace slab {

class Room3DView;
class RightViewWidget;
class RoomsPanel;
class TextureStripView;

class RightViewDriver : public QObject {
  Q_OBJECT

 public:
  struct Parts {
    RightViewWidget& RightView;
    TextureStripView& Textures;
    const RoomsPanel& Rooms;  // whether doors are drawn
  };
  // Without services.Enable3D the right-hand view always shows the overview.
  RightViewDriver(const Document& doc, const MapState& map, const ObjectNames& names,
                  const WindowServices& services, Parts parts, FrameLoop& frames);

  bool Is3D() const;
  Room3DView* View3D() const { return view3d_; }
  void Draw();
  // The view mode changed: the 3D view shows or hides.
  void ViewModeChanged();
  // A camera key while the 3D view shows; false when it did not move the camera.
  bool CameraKey(int qtKey);
  // The camera turns to a sector chosen on the map, through a list or by way-finding (not to
  // one a click in the 3D view chose).
  void SectorChosen(int room, int a, int b);
  // View > "3D View Follows Selection" and "Whole Level", both on at first.
  void AddMenuEntries(QMenu& viewMenu);
  void LevelEdited(EditKind kind);
  void LevelOpened(const TileProgress& progress);
  void LevelClosed();

 signals:
  // A left click in the 3D view landed on a sector (of any room shown), an item or a static.
  void SectorPicked(const PickPlace& place);
  void ItemPicked(int entity);
  void StaticPicked(int room, int index);

 private:
  // A click in the 3D view chose something: the window goes there, the camera stays.
  void Picked(const std::function<void()>& choose);
  // The 3D device failed: the right-hand view shows the overview from now on.
  void Disable3D();

  const Document& doc_;
  const MapState& map_;
  Parts parts_;
  FrameLoop& frames_;
  Room3DView* view3d_ = nullptr;
  bool device3dFailed_ = false;
  bool picking_ = false;
  TextureStrip strip_;  // the strip shown when there is no 3D view to build it
};

}  // namespace slab
