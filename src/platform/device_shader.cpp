// The shader pair that stands in for the fixed-function stages the engine uses: vertex colour
// times texture (white when untextured), point sprites, and Direct3D 9's conventions, which
// the engine's coordinates assume: depth from 0 to 1, and pixel centres on whole coordinates
// (OpenGL puts them at half-pixels); and its twin for draws whose triangles sample several
// texture stages, each triangle the stage its vertices name.
#include <string>

#include "platform/device_internal.h"
#include "platform/gl_functions.h"

namespace platform {
namespace {

const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aUV;
layout(location = 3) in float aSize;
uniform mat4 uMatrix;        // world * view * projection, row-vector layout as stored
uniform vec2 uPixel;         // one pixel in clip units, for the pixel-centre shift
uniform int uPointSprite;
uniform vec2 uPointSizeRange;
out vec4 vColor;
out vec2 vUV;
#ifdef STAGES
layout(location = 4) in float aStage;  // the texture stage this vertex samples
flat out int vStage;
#endif
void main() {
  vec4 p = uMatrix * vec4(aPosition, 1.0);
  p.z = 2.0 * p.z - p.w;          // depth 0..w -> -w..w
  p.y = -p.y;                     // rows are stored top first
  p.xy += 0.5 * uPixel * p.w;     // pixel centres on whole coordinates
  gl_Position = p;
  vColor = aColor;
  vUV = aUV;
#ifdef STAGES
  vStage = int(aStage + 0.5);
#endif
  gl_PointSize = (uPointSprite == 1) ? clamp(aSize, uPointSizeRange.x, uPointSizeRange.y) : 1.0;
}
)";

const char* kFragmentSource = R"(
uniform sampler2D uTexture;
uniform int uPointSprite;
in vec4 vColor;
in vec2 vUV;
out vec4 fragColor;
void main() {
  vec2 uv = (uPointSprite == 1) ? gl_PointCoord : vUV;
  fragColor = texture(uTexture, uv) * vColor;
}
)";

// Every triangle samples one stage, the same in all its vertices, so the stage picked is the
// same for every pixel the rasteriser shades together (which indexing samplers with it asks).
// Picking costs a software rasteriser a good share of a pixel's work: the renderer keeps
// large pictures to draws of one stage, drawn with the shader above.
const char* kStagesFragmentSource = R"(
uniform sampler2D uTextures[8];
in vec4 vColor;
in vec2 vUV;
flat in int vStage;
out vec4 fragColor;
void main() {
  fragColor = texture(uTextures[vStage], vUV) * vColor;
}
)";

const char* kHead = "#version 330 core\n";
const char* kStagesHead = "#version 330 core\n#extension GL_ARB_gpu_shader5 : require\n#define STAGES 1\n";

unsigned compile(GLenum kind, const char* source, std::string& error) {
  GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log - 1, nullptr, log);
    error = log;
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

unsigned buildDeviceProgram(bool stages, std::string& error) {
  const std::string head = stages ? kStagesHead : kHead;
  // The vertex source starts with its own version line: the head takes its place.
  const std::string vertexBody = std::string(kVertexSource).substr(std::string(kHead).size());
  GLuint vs = compile(GL_VERTEX_SHADER, (head + vertexBody).c_str(), error);
  if (!vs) return 0;
  const std::string fragment = head + (stages ? kStagesFragmentSource : kFragmentSource);
  GLuint fs = compile(GL_FRAGMENT_SHADER, fragment.c_str(), error);
  if (!fs) {
    glDeleteShader(vs);
    return 0;
  }
  GLuint program = glCreateProgram();
  glAttachShader(program, vs);
  glAttachShader(program, fs);
  glLinkProgram(program);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetProgramInfoLog(program, sizeof log - 1, nullptr, log);
    error = log;
    glDeleteProgram(program);
    return 0;
  }
  return program;
}

}  // namespace platform
