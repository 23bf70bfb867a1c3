#include "preview3d/gl/gl_device.h"

#include <QOpenGLContext>
#include <array>
#include <cstddef>

namespace slab {
namespace {

const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 colour;
layout(location = 2) in vec2 texCoord;
uniform mat4 worldViewProjection;
out vec3 vertexColour;
out vec2 vertexTexCoord;
void main() {
  gl_Position = worldViewProjection * vec4(position, 1.0);
  vertexColour = colour.rgb;
  vertexTexCoord = texCoord;
}
)";

// Vertex colour times texture, no lighting; the transparent black has alpha 0 and is dropped.
const char* kFragmentShader = R"(#version 330 core
in vec3 vertexColour;
in vec2 vertexTexCoord;
uniform sampler2D page;
out vec4 fragmentColour;
void main() {
  vec4 texel = texture(page, vertexTexCoord);
  if (texel.a < 0.5) discard;
  fragmentColour = vec4(vertexColour * texel.rgb, 1.0);
}
)";

// A white quad of two triangles in one opaque batch, from its corners (x, y, u, v) in fan order.
FaceBatches WhiteQuad(const std::array<std::array<float, 4>, 4>& corners) {
  std::array<LitVertex, 5> fan{};
  for (size_t k = 0; k < 5; ++k) {
    const auto& c = corners[k % 4];
    fan[k] = LitVertex{c[0], c[1], 0, 0, kWhite, kWhite, c[2], c[3]};
  }
  FaceBatches quad;
  AppendFan(fan, 5, 0, 0, quad.Vertices);
  quad.Batches.push_back({Pass::Opaque, kNoSurface, 0, 6});
  return quad;
}

}  // namespace

GlDevice::~GlDevice() {
  // Without a current context the objects die with the context itself.
  if (!ready_ || QOpenGLContext::currentContext() == nullptr) return;
  DeletePages();
  Release(marker_);
  Release(overlayQuad_);
  if (overlay_ != 0) glDeleteTextures(1, &overlay_);
  if (!ownTextures_.empty())
    glDeleteTextures(static_cast<GLsizei>(ownTextures_.size()), ownTextures_.data());
  glDeleteTextures(1, &white_);
  glDeleteProgram(program_);
}

bool GlDevice::Initialise(std::string& error) {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  if (context == nullptr || !context->isValid()) {
    error = "no OpenGL context";
    return false;
  }
  const QSurfaceFormat format = context->format();
  if (format.version() < qMakePair(3, 3) || context->isOpenGLES()) {
    error = "OpenGL " + std::to_string(format.majorVersion()) + "." +
            std::to_string(format.minorVersion()) + " only";
    return false;
  }
  if (!initializeOpenGLFunctions()) {
    error = "the OpenGL 3.3 core functions are missing";
    return false;
  }

  auto compile = [&](GLenum type, const char* source) -> GLuint {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
      std::array<char, 1024> log{};
      glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
      error = std::string("shader: ") + log.data();
      glDeleteShader(shader);
      return 0;
    }
    return shader;
  };
  const GLuint vs = compile(GL_VERTEX_SHADER, kVertexShader);
  const GLuint fs = vs ? compile(GL_FRAGMENT_SHADER, kFragmentShader) : 0;
  if (vs == 0 || fs == 0) {
    if (vs) glDeleteShader(vs);
    return false;
  }
  program_ = glCreateProgram();
  glAttachShader(program_, vs);
  glAttachShader(program_, fs);
  glLinkProgram(program_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint linked = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  if (!linked) {
    error = "shader program does not link";
    glDeleteProgram(program_);
    program_ = 0;
    return false;
  }
  matrixLocation_ = glGetUniformLocation(program_, "worldViewProjection");
  glUseProgram(program_);
  glUniform1i(glGetUniformLocation(program_, "page"), 0);

  const Rgba white = PackRgba(255, 255, 255);
  white_ = 0;
  glGenTextures(1, &white_);
  glBindTexture(GL_TEXTURE_2D, white_);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

  ready_ = true;
  // The marker square, 0.2 units wide around its centre.
  Upload(
      WhiteQuad(
          {{{-0.1f, 0.1f, 0, 0}, {0.1f, 0.1f, 1, 0}, {0.1f, -0.1f, 1, 1}, {-0.1f, -0.1f, 0, 1}}}),
      marker_);
  // The overlay's quad spans (0, 0) to (1, 1) with the texture's top row at 0; DrawOverlay's
  // matrix stretches it over the picture's pixels.
  Upload(WhiteQuad({{{0, 0, 0, 0}, {1, 0, 1, 0}, {1, 1, 1, 1}, {0, 1, 0, 1}}}), overlayQuad_);

  // Direct3D's defaults that the picture depends on: clockwise faces are the front ones and
  // the others are culled, depth less-or-equal with writes.
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_TRUE);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CW);
  glCullFace(GL_BACK);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_BLEND);
  return true;
}

void GlDevice::DeletePages() {
  if (!pages_.empty()) glDeleteTextures(static_cast<GLsizei>(pages_.size()), pages_.data());
  pages_.clear();
}

void GlDevice::SetPages(const TextureStrip& strip) {
  if (!ready_) return;
  DeletePages();
  pages_.resize(static_cast<size_t>(strip.PageCount));
  if (pages_.empty()) return;
  glGenTextures(static_cast<GLsizei>(pages_.size()), pages_.data());
  for (int p = 0; p < strip.PageCount; ++p) {
    glBindTexture(GL_TEXTURE_2D, pages_[static_cast<size_t>(p)]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 strip.Page(p).data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
}

// Fills the texture with the picture; edges clamped, filtered as asked.
void GlDevice::UploadTexture(unsigned texture, std::span<const Rgba> texels, int width, int height,
                             int filter) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

unsigned GlDevice::MakeTexture(std::span<const Rgba> texels, int width, int height) {
  if (!ready_ || width <= 0 || height <= 0 ||
      texels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
    return 0;
  GLuint texture = 0;
  glGenTextures(1, &texture);
  UploadTexture(texture, texels, width, height, GL_LINEAR);
  ownTextures_.push_back(texture);
  return texture;
}

void GlDevice::Upload(const FaceBatches& batches, GpuGeometry& geometry) {
  UploadVertices(batches.Vertices, geometry);
  geometry.Batches = batches.Batches;
}

void GlDevice::UploadVertices(std::span<const LitVertex> vertices, GpuGeometry& geometry) {
  if (!ready_) return;
  if (geometry.Vao == 0) {
    glGenVertexArrays(1, &geometry.Vao);
    glGenBuffers(1, &geometry.Vbo);
  }
  glBindVertexArray(geometry.Vao);
  glBindBuffer(GL_ARRAY_BUFFER, geometry.Vbo);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(LitVertex)),
               vertices.data(), GL_STATIC_DRAW);
  const auto stride = static_cast<GLsizei>(sizeof(LitVertex));
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(LitVertex, X)));
  // 0xAARRGGBB is blue, green, red, alpha in memory.
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        reinterpret_cast<const void*>(offsetof(LitVertex, Colour)));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                        reinterpret_cast<const void*>(offsetof(LitVertex, U)));
  glBindVertexArray(0);
  geometry.VertexCount = vertices.size();
}

void GlDevice::Release(GpuGeometry& geometry) {
  if (!ready_ || geometry.Vao == 0) return;
  glDeleteBuffers(1, &geometry.Vbo);
  glDeleteVertexArrays(1, &geometry.Vao);
  geometry = GpuGeometry{};
}

void GlDevice::SetViewport(int width, int height) {
  if (!ready_) return;
  glViewport(0, 0, width, height);
  viewportWidth_ = width;
  viewportHeight_ = height;
}

void GlDevice::ClearFrame() {
  if (!ready_) return;
  glDepthMask(GL_TRUE);
  glClearColor(0, 0, 1, 1);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlDevice::SetViewProjection(const Mat4& view, const Mat4& projection) {
  viewProjection_ = Multiply(view, projection);
}

void GlDevice::SetWorld(const Mat4& world) {
  // Row-vector matrices handed over as they lie read column by column, which is the
  // transpose the shader's column-vector product needs.
  const Mat4 m = Multiply(world, viewProjection_);
  glUniformMatrix4fv(matrixLocation_, 1, GL_FALSE, &m.M[0][0]);
}

void GlDevice::BindSurface(int32_t surface) {
  const bool valid = surface >= 0 && static_cast<size_t>(surface) < pages_.size();
  glBindTexture(GL_TEXTURE_2D, valid ? pages_[static_cast<size_t>(surface)] : white_);
}

void GlDevice::Draw(const GpuGeometry& geometry, const Mat4& world) {
  if (!ready_ || geometry.Vao == 0) return;
  glUseProgram(program_);
  glActiveTexture(GL_TEXTURE0);
  SetWorld(world);
  glBindVertexArray(geometry.Vao);
  for (const Batch& batch : geometry.Batches) {
    if (batch.DrawPass == Pass::Additive) glEnable(GL_BLEND);
    BindSurface(batch.Surface);
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(batch.First), static_cast<GLsizei>(batch.Count));
  }
  glDisable(GL_BLEND);
  glBindVertexArray(0);
}

void GlDevice::DrawFaceByFace(const GpuGeometry& geometry, const Mat4& world) {
  if (!ready_ || geometry.Vao == 0) return;
  glUseProgram(program_);
  glActiveTexture(GL_TEXTURE0);
  glBindVertexArray(geometry.Vao);
  for (const Batch& batch : geometry.Batches) {
    // As drawing went before batching: texture, world transform and blend state per face.
    BindSurface(batch.Surface);
    SetWorld(world);
    if (batch.DrawPass == Pass::Additive)
      glEnable(GL_BLEND);
    else
      glDisable(GL_BLEND);
    glDrawArrays(GL_TRIANGLES, static_cast<GLint>(batch.First), static_cast<GLsizei>(batch.Count));
  }
  glDisable(GL_BLEND);
  glBindVertexArray(0);
}

void GlDevice::DrawMarker(const Mat4& world, unsigned texture) {
  if (!ready_ || texture == 0) return;
  glUseProgram(program_);
  glActiveTexture(GL_TEXTURE0);
  SetWorld(world);
  glBindTexture(GL_TEXTURE_2D, texture);
  glBindVertexArray(marker_.Vao);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glBindVertexArray(0);
}

void GlDevice::DrawOverlay(std::span<const Rgba> texels, int width, int height, int x, int y) {
  if (!ready_ || width <= 0 || height <= 0 || viewportWidth_ <= 0 || viewportHeight_ <= 0 ||
      texels.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
    return;
  if (overlay_ == 0) glGenTextures(1, &overlay_);
  glActiveTexture(GL_TEXTURE0);
  // Texel for pixel: nearest keeps the text's edges as they were painted.
  UploadTexture(overlay_, texels, width, height, GL_NEAREST);

  // Straight to clip space: u across the picture's width, v down its height, y flipped.
  const auto vw = static_cast<float>(viewportWidth_), vh = static_cast<float>(viewportHeight_);
  Mat4 m = Identity();
  m.M[0][0] = 2.0f * static_cast<float>(width) / vw;
  m.M[1][1] = -2.0f * static_cast<float>(height) / vh;
  m.M[3] = {-1 + 2.0f * static_cast<float>(x) / vw, 1 - 2.0f * static_cast<float>(y) / vh, 0, 1};
  glUseProgram(program_);
  glUniformMatrix4fv(matrixLocation_, 1, GL_FALSE, &m.M[0][0]);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_BLEND);
  glBindVertexArray(overlayQuad_.Vao);
  glDrawArrays(GL_TRIANGLES, 0, 6);
  glBindVertexArray(0);
  glEnable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
}

}  // namespace slab
