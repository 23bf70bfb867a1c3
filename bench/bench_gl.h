// What the drawing benchmarks share: an OpenGL 3.3 core context made current on an offscreen
// surface, drawing into a framebuffer of a given size. Needs a QGuiApplication.
#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

namespace slab::bench {

struct OffscreenGl {
  std::unique_ptr<QOpenGLContext> Context;
  std::unique_ptr<QOffscreenSurface> Surface;
  std::unique_ptr<QOpenGLFramebufferObject> Fbo;

  // False when no such context can be made current.
  bool Make(int width, int height) {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    Context = std::make_unique<QOpenGLContext>();
    Context->setFormat(format);
    Surface = std::make_unique<QOffscreenSurface>();
    Surface->setFormat(format);
    Surface->create();
    if (!Context->create() || !Context->makeCurrent(Surface.get())) return false;
    Fbo = std::make_unique<QOpenGLFramebufferObject>(
        width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
    Fbo->bind();
    return true;
  }
};

}  // namespace slab::bench
