// The viewer window, LevelView: one level's rooms in 3D, flown through with the keyboard,
// beside the texture browser. Opened by "/view FILE"; closing it ends the program.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "level/level.h"
#include "platform/messages.h"
#include "preview3d/gl/scene_renderer.h"
#include "preview3d/mesh_faces.h"
#include "preview3d/room_faces.h"
#include "preview3d/texels.h"
#include "preview3d/viewer_camera.h"

namespace slab {

class TextureStripView;

// The viewer's drawing area: receives the camera keys and draws each frame.
class ViewerArea : public QOpenGLWidget {
  Q_OBJECT

 public:
  ViewerArea(MessageSink& messages, QWidget* parent = nullptr);
  ~ViewerArea() override;

  void SetScene(const Level* level, const TextureStrip* strip,
                const std::vector<MeshFaceList>* statics, const std::vector<TextureTile>* tiles);
  ViewCamera& Camera() { return camera_; }
  void SetFpsText(std::string text) { fpsText_ = std::move(text); }
  const std::string& OverlayFps() const { return fpsText_; }
  const std::string& OverlayRoom() const { return roomText_; }
  bool OverlayDrawn() const { return overlayDrawn_; }
  bool DeviceFailed() const { return deviceFailed_; }

 signals:
  void DeviceUnavailable();

 protected:
  void initializeGL() override;
  void paintGL() override;
  void keyPressEvent(QKeyEvent* event) override;
  // Mouse look with the right button held; the wheel moves along the line of sight.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void DrawOverlay();

  MessageSink& messages_;
  std::unique_ptr<SceneRenderer> renderer_ = std::make_unique<SceneRenderer>();
  const Level* level_ = nullptr;
  const TextureStrip* strip_ = nullptr;
  const std::vector<MeshFaceList>* statics_ = nullptr;
  const std::vector<TextureTile>* tiles_ = nullptr;
  bool uploadPending_ = false;
  bool faceListBuilt_ = false;
  bool deviceFailed_ = false;
  ViewCamera camera_;
  std::string fpsText_;
  std::string roomText_ = "Not in any room";
  bool overlayDrawn_ = false;
  QPoint lookFrom_;  // where the last right-button drag step ended
};

// The viewer's overlay as a picture for the device: "Fps:" at (0, 0) and the room text at
// (80, 0), red (255, 0, 0) in the standard font, 10 points, bold, on transparent texels,
// painted without smoothing so every text pixel is fully red. ratio is the device pixel
// ratio: the picture holds device pixels.
QImage OverlayPicture(const std::string& fpsText, const std::string& roomText, qreal ratio);

class LevelView : public QWidget {
  Q_OBJECT

 public:
  explicit LevelView(MessageSink& messages, QWidget* parent = nullptr);
  ~LevelView() override;

  // Reads the level (asking for a file when path is empty), builds the texture strip and the
  // meshes, sets the caption and the start position. False when the file was refused (its
  // message shown): nothing is there to view.
  bool Open(const QString& path);

  const Level& CurrentLevel() const { return level_; }
  Game GameVersion() const { return gameVersion_; }
  const QString& Path() const { return path_; }
  ViewerArea* Area() { return area_; }
  // One frame-timer tick at time now (ms): draws when a frame is due.
  void Tick(int64_t now);

 protected:
  // Escape closes the window, as its close box does.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MessageSink& messages_;
  Level level_;
  Game gameVersion_ = Game::None;
  std::vector<TextureTile> tiles_;
  TextureStrip strip_;
  std::vector<MeshFaceList> statics_;
  std::vector<MoveableMeshFaces> moveables_;
  QString path_;
  ViewerArea* area_;
  TextureStripView* stripView_;
  QTimer frameTimer_;
  QElapsedTimer clock_;
  int64_t previousFrame_ = 0;
};

// Opens the viewer window on a level (the "/view" switch): the window is shown, deletes
// itself when closed and, as the program's last window, ends the program. With no usable 3D
// device the message is shown and the window closes. A refused file shows its message and
// no window: null.
LevelView* OpenLevelView(const QString& path, MessageSink& messages);

// The caption: "Slabwright LevelViewer - [" path "]".
QString LevelViewCaption(const QString& path);

}  // namespace slab
