#include "app/frame_loop.h"

#include <limits>
#include <utility>

#include "platform/tick_clock.h"

namespace slab {

FrameLoop::FrameLoop(QObject& window, TickClock& clock, Hooks hooks)
    : clock_(clock),
      hooks_(std::move(hooks)),
      timer_(new QTimer(&window)),
      lastFrame_(std::numeric_limits<int64_t>::min() / 2) {
  timer_->setObjectName("FrameTimer");
  timer_->setTimerType(Qt::PreciseTimer);
  timer_->setInterval(kFrameInterval);
  connect(timer_, &QTimer::timeout, this, [this] { Tick(clock_.NowMs()); });
}

void FrameLoop::Request() {
  frameWanted_ = true;
  if (running_ && !timer_->isActive()) timer_->start();
}

void FrameLoop::SetRenderEnabled(bool enabled) {
  renderEnabled_ = enabled;
  if (enabled) {
    Request();
  } else if (running_ && !timer_->isActive()) {
    timer_->start();  // the recording is polled
  }
}

void FrameLoop::Stop() {
  running_ = false;
  timer_->stop();
}

void FrameLoop::Tick(int64_t now) {
  if (hooks_.Polling()) hooks_.Poll();
  if (frameWanted_ && renderEnabled_ && now - lastFrame_ > kFrameInterval) {
    lastFrame_ = now;
    frameWanted_ = false;
    hooks_.Draw();
  }
  // Nothing to draw and nothing to poll: the timer rests until something changes.
  if (!hooks_.Polling() && (!frameWanted_ || !renderEnabled_)) timer_->stop();
}

}  // namespace slab
