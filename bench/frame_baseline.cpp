// The yardstick of bench/frame_cost: the least an SDL2 + OpenGL 3.3 program does to put the
// same pixels on the screen as one game frame. It reads the triangles bench_frame_cost
// captured (back-buffer pixels, texture coordinates, colours, and for each draw the size and
// filter of the texture it sampled and its blending), makes textures of those sizes once,
// and every frame clears its 1024 x 768 window, streams the vertices in one upload, draws
// each run of equal texture and blending in one call straight into the window, and swaps.
// No engine code is linked in.
//
//   bench_frame_baseline <capture file> [frames]
//
// Prints one line (key=value): processor time per frame of the main thread and the driver's
// threads together.
#include <SDL2/SDL.h>
#include <unistd.h>

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drawing_threads.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWarmUpFrames = 60;

struct VERTEX {
  float x, y, u, v;
  uint32_t color;  // 0xAARRGGBB
};

// As bench_frame_cost writes them.
struct RUN {
  uint32_t firstVertex, vertexCount;
  uint32_t texture;
  uint32_t textureWidth, textureHeight;
  uint32_t linear;
  uint32_t blend;  // 0 none, 1 source alpha over, 2 added
};


bool readCapture(const char* path, std::vector<RUN>& runs, std::vector<VERTEX>& vertices) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char magic[6] = {};
  uint32_t count = 0;
  bool ok = std::fread(magic, 1, 6, file) == 6 && std::memcmp(magic, "PDCAP2", 6) == 0 &&
            std::fread(&count, sizeof count, 1, file) == 1;
  if (ok) {
    runs.resize(count);
    ok = count == 0 || std::fread(runs.data(), sizeof(RUN), count, file) == count;
  }
  ok = ok && std::fread(&count, sizeof count, 1, file) == 1;
  if (ok) {
    vertices.resize(count);
    ok = count == 0 || std::fread(vertices.data(), sizeof(VERTEX), count, file) == count;
  }
  std::fclose(file);
  return ok;
}

// Runs that follow one another with the same texture and blending make one draw.
std::vector<RUN> mergedRuns(const std::vector<RUN>& runs) {
  std::vector<RUN> merged;
  for (const RUN& run : runs) {
    if (!merged.empty() && merged.back().texture == run.texture && merged.back().blend == run.blend &&
        merged.back().firstVertex + merged.back().vertexCount == run.firstVertex) {
      merged.back().vertexCount += run.vertexCount;
    } else {
      merged.push_back(run);
    }
  }
  return merged;
}

const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPosition;
layout(location = 1) in vec2 aUV;
layout(location = 2) in vec4 aColor;
out vec2 vUV;
out vec4 vColor;
void main() {
  gl_Position = vec4(aPosition.x / 512.0 - 1.0, 1.0 - aPosition.y / 384.0, 0.0, 1.0);
  vUV = aUV;
  vColor = aColor;
}
)";

const char* kFragmentShader = R"(#version 330 core
uniform sampler2D uTexture;
in vec2 vUV;
in vec4 vColor;
out vec4 fragColor;
void main() { fragColor = texture(uTexture, vUV) * vColor; }
)";

GLuint compile(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  return shader;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_frame_baseline <capture file> [frames]\n");
    return 2;
  }
  std::vector<RUN> runs;
  std::vector<VERTEX> vertices;
  if (!readCapture(argv[1], runs, vertices)) {
    std::fprintf(stderr, "bench_frame_baseline: cannot read %s\n", argv[1]);
    return 1;
  }
  const int frames = argc > 2 ? std::atoi(argv[2]) : 300;

  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_Window* window = SDL_CreateWindow("baseline", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth,
                                        kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
  if (window == nullptr || SDL_GL_CreateContext(window) == nullptr) {
    std::fprintf(stderr, "bench_frame_baseline: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetSwapInterval(1);

  const GLuint program = glCreateProgram();
  glAttachShader(program, compile(GL_VERTEX_SHADER, kVertexShader));
  glAttachShader(program, compile(GL_FRAGMENT_SHADER, kFragmentShader));
  glLinkProgram(program);
  glUseProgram(program);

  // A texture of each captured size and filter, with some transparency.
  std::vector<GLuint> textures;
  for (const RUN& run : runs) {
    if (run.texture < textures.size()) continue;
    textures.resize(run.texture + 1, 0);
    const size_t texels = static_cast<size_t>(run.textureWidth) * run.textureHeight;
    std::vector<uint8_t> pixels(texels * 4);
    for (size_t i = 0; i < texels; ++i) {
      pixels[i * 4 + 0] = static_cast<uint8_t>(i & 0xFF);
      pixels[i * 4 + 1] = static_cast<uint8_t>(i >> 8);
      pixels[i * 4 + 2] = 128;
      pixels[i * 4 + 3] = static_cast<uint8_t>(((i & 0xFF) < 16) ? 0 : 255);
    }
    glGenTextures(1, &textures[run.texture]);
    glBindTexture(GL_TEXTURE_2D, textures[run.texture]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(run.textureWidth),
                 static_cast<GLsizei>(run.textureHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const GLint filter = run.linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  }
  const std::vector<RUN> draws = mergedRuns(runs);

  GLuint vertexArray = 0, buffer = 0;
  glGenVertexArrays(1, &vertexArray);
  glBindVertexArray(vertexArray);
  glGenBuffers(1, &buffer);
  glBindBuffer(GL_ARRAY_BUFFER, buffer);
  const GLsizeiptr bytes = static_cast<GLsizeiptr>(vertices.size() * sizeof(VERTEX));
  glBufferData(GL_ARRAY_BUFFER, bytes > 0 ? bytes : 1, nullptr, GL_STREAM_DRAW);
  glEnableVertexAttribArray(0);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(VERTEX), reinterpret_cast<void*>(0));
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(VERTEX), reinterpret_cast<void*>(8));
  glEnableVertexAttribArray(2);
  glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(VERTEX), reinterpret_cast<void*>(16));
  glViewport(0, 0, kWidth, kHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

  auto frame = [&] {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT);
    if (!vertices.empty()) glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
    GLuint bound = 0;
    uint32_t blend = 3;
    for (const RUN& run : draws) {
      if (textures[run.texture] != bound) glBindTexture(GL_TEXTURE_2D, bound = textures[run.texture]);
      if (run.blend != blend) {
        blend = run.blend;
        if (blend == 0) glDisable(GL_BLEND);
        else glEnable(GL_BLEND);
        if (blend != 0) glBlendFunc(GL_SRC_ALPHA, blend == 2 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
      }
      glDrawArrays(GL_TRIANGLES, static_cast<GLint>(run.firstVertex), static_cast<GLsizei>(run.vertexCount));
    }
    SDL_GL_SwapWindow(window);
    // Finished before the next frame, as the game's side does: see bench_frame_cost.
    glFinish();
  };
  for (int i = 0; i < kWarmUpFrames; ++i) frame();
  const double before = bench::drawingThreadsSeconds();
  for (int i = 0; i < frames; ++i) frame();
  const double cpu = bench::drawingThreadsSeconds() - before;
  std::fprintf(stderr, "baseline frames=%d cpu_ms=%.3f triangles=%zu draw_calls=%zu\n", frames,
               1000.0 * cpu / (frames > 0 ? frames : 1), vertices.size() / 3, draws.size());
  SDL_Quit();
  return 0;
}
