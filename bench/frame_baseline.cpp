// The yardstick of bench/frame_cost: the least an SDL2 + OpenGL 3.3 program does to put the
// same pixels on the screen as one game frame. It reads the triangles bench_frame_cost
// captured (back-buffer pixels, texture coordinates, colours) and every frame clears its
// 1024 x 768 window, streams those vertices, draws them in one call with one texture and
// alpha blending straight into the window, and swaps. No engine code is linked in.
//
//   bench_frame_baseline <capture file> [frames]
//
// Prints one line (key=value): processor time per frame of the main thread and the driver's
// threads together.
#include <SDL2/SDL.h>
#include <dirent.h>
#include <unistd.h>

#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES 1
#endif
#include <GL/glcorearb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWarmUpFrames = 60;

struct VERTEX {
  float x, y, u, v;
  uint32_t color;  // 0xAARRGGBB
};

std::string readLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// Counted the same way as the game's side: the main thread and the driver's named threads.
double drawingThreadsSeconds() {
  const std::string tasks = "/proc/self/task/";
  const std::string mainName = readLine(tasks + std::to_string(getpid()) + "/comm");
  double total = 0.0;
  DIR* folder = opendir(tasks.c_str());
  if (folder == nullptr) return 0.0;
  while (dirent* entry = readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    const std::string task = tasks + entry->d_name;
    if (std::stol(entry->d_name) != getpid() && readLine(task + "/comm") == mainName) continue;
    total += std::strtod(readLine(task + "/schedstat").c_str(), nullptr) / 1e9;
  }
  closedir(folder);
  return total;
}

bool readCapture(const char* path, std::vector<VERTEX>& vertices) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  char magic[6] = {};
  uint32_t count = 0;
  bool ok = std::fread(magic, 1, 6, file) == 6 && std::memcmp(magic, "PDCAP1", 6) == 0 &&
            std::fread(&count, sizeof count, 1, file) == 1;
  if (ok) {
    vertices.resize(count);
    ok = count == 0 || std::fread(vertices.data(), sizeof(VERTEX), count, file) == count;
  }
  std::fclose(file);
  return ok;
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
  std::vector<VERTEX> vertices;
  if (!readCapture(argv[1], vertices)) {
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

  // One picture for everything: a 256 x 256 gradient with some transparency.
  std::vector<uint8_t> texels(256 * 256 * 4);
  for (int i = 0; i < 256 * 256; ++i) {
    texels[i * 4 + 0] = static_cast<uint8_t>(i & 0xFF);
    texels[i * 4 + 1] = static_cast<uint8_t>(i >> 8);
    texels[i * 4 + 2] = 128;
    texels[i * 4 + 3] = static_cast<uint8_t>(((i & 0xFF) < 16) ? 0 : 255);
  }
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);

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
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glViewport(0, 0, kWidth, kHeight);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);

  auto frame = [&] {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClear(GL_COLOR_BUFFER_BIT);
    if (!vertices.empty()) {
      glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
      glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size()));
    }
    SDL_GL_SwapWindow(window);
    // Finished before the next frame, as the game's side does: see bench_frame_cost.
    glFinish();
  };
  for (int i = 0; i < kWarmUpFrames; ++i) frame();
  const double before = drawingThreadsSeconds();
  for (int i = 0; i < frames; ++i) frame();
  const double cpu = drawingThreadsSeconds() - before;
  std::fprintf(stderr, "baseline frames=%d cpu_ms=%.3f triangles=%zu\n", frames,
               1000.0 * cpu / (frames > 0 ? frames : 1), vertices.size() / 3);
  SDL_Quit();
  return 0;
}
