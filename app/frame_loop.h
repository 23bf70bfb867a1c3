// The frame loop: the toolkit's event loop with a precise timer, so nothing busy-waits. A frame
// is drawn at most once per kFrameInterval and only when something asked for one; while a demo
// records the timer keeps polling it and drawing stays off.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace slab {

class TickClock;

// Frames are drawn at most once per this many milliseconds.
inline constexpr int kFrameInterval = 10;

class FrameLoop : public QObject {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<bool()> Polling;  // a recording wants the timer even with nothing to draw
    std::function<void()> Poll;
    std::function<void()> Draw;
  };
  // The timer is a child of `window`, found by its name "FrameTimer" like any other part of it;
  // it is connected through this object, so it does nothing once this is gone.
  FrameLoop(QObject& window, TickClock& clock, Hooks hooks);

  void Request();
  // Drawing stops while a demo records and starts again (with a frame) when it ends.
  void SetRenderEnabled(bool enabled);
  // The window closes: no frame is started again.
  void Stop();

 private:
  // One pass of the timer at time now (ms).
  void Tick(int64_t now);

  TickClock& clock_;
  Hooks hooks_;
  QTimer* timer_;
  bool running_ = true;
  bool renderEnabled_ = true;
  bool frameWanted_ = true;
  int64_t lastFrame_;
};

}  // namespace slab
