// The OpenGL 3.3 core device behind every 3D view: one texture per page, face batches in
// vertex buffers, and the fixed look of the preview (no lighting, linear filtering, black
// texels discarded, additive faces, blue background, left-handed and never mirrored).
// Every call needs the device's context to be current.
#pragma once

#include <QOpenGLFunctions_3_3_Core>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "preview3d/face_batches.h"
#include "preview3d/matrix.h"
#include "preview3d/texels.h"

namespace slab {

// The message shown when no usable 3D device is there.
inline constexpr const char* kNoDeviceMessage =
    "ERROR! Can't find any 3D Device (OpenGL 3.3 is needed)";
inline constexpr const char* kNoDeviceTitle = "OpenGL -> GetDevice";

// Face batches living in one vertex buffer.
struct GpuGeometry {
  unsigned Vao = 0;
  unsigned Vbo = 0;
  std::vector<Batch> Batches;
  size_t VertexCount = 0;
};

class GlDevice : protected QOpenGLFunctions_3_3_Core {
 public:
  GlDevice() = default;
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;
  ~GlDevice();

  // Needs a current OpenGL 3.3 core context; on failure says why in error.
  bool Initialise(std::string& error);
  bool Ready() const { return ready_; }

  // One texture per page (replacing the old ones); page p is surface p.
  void SetPages(const TextureStrip& strip);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // A picture of width x height RGBA texels for markers; returns its texture.
  unsigned MakeTexture(std::span<const Rgba> texels, int width, int height);

  void Upload(const FaceBatches& batches, GpuGeometry& geometry);
  void Release(GpuGeometry& geometry);

  void SetViewport(int width, int height);
  // Clears to blue and the depth to the far plane.
  void ClearFrame();
  void SetViewProjection(const Mat4& view, const Mat4& projection);

  // The opaque runs, then the additive ones with blending on.
  void Draw(const GpuGeometry& geometry, const Mat4& world);
  // Geometry made with one batch per face (OneBatchPerFace), one draw call each with its
  // state set every time: how drawing went before batching, kept for the benchmark.
  void DrawFaceByFace(const GpuGeometry& geometry, const Mat4& world);
  // A 0.2-sector square with the given texture, placed by world.
  void DrawMarker(const Mat4& world, unsigned texture);

  // A picture of width x height RGBA texels (rows from the top) drawn texel for pixel with its
  // top-left corner at pixel (x, y) of the viewport (y down), over the whole frame: no depth
  // test, no culling, transparent texels left out. Text drawn by a toolkit painter into such
  // a picture is how the overlays reach a core-profile context, which has no fixed-function
  // text or pixel drawing. One texture is kept and refilled each call.
  void DrawOverlay(std::span<const Rgba> texels, int width, int height, int x = 0, int y = 0);

 private:
  void UploadVertices(std::span<const LitVertex> vertices, GpuGeometry& geometry);
  void UploadTexture(unsigned texture, std::span<const Rgba> texels, int width, int height,
                     int filter);
  void BindSurface(int32_t surface);
  void SetWorld(const Mat4& world);
  void DeletePages();

  bool ready_ = false;
  unsigned program_ = 0;
  int matrixLocation_ = -1;
  unsigned white_ = 0;
  std::vector<unsigned> pages_;
  std::vector<unsigned> ownTextures_;
  GpuGeometry marker_;
  GpuGeometry overlayQuad_;
  unsigned overlay_ = 0;
  int viewportWidth_ = 0, viewportHeight_ = 0;
  Mat4 viewProjection_ = Identity();
};

}  // namespace slab
