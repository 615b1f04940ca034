#pragma once
// Processor time of the threads that draw, for bench/frame_cost's two programs alike: the
// main thread and the threads the GL driver started (they carry names of their own); other
// threads of the program share its name and are left out. Nothing of the engine in here:
// bench_frame_baseline includes it too.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace bench {

inline std::string firstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// Seconds on the processor since each thread started.
inline double drawingThreadsSeconds() {
  const std::string tasks = "/proc/self/task/";
  const std::string mainName = firstLine(tasks + std::to_string(getpid()) + "/comm");
  double total = 0.0;
  DIR* folder = opendir(tasks.c_str());
  if (folder == nullptr) return 0.0;
  while (dirent* entry = readdir(folder)) {
    if (entry->d_name[0] == '.') continue;
    const std::string task = tasks + entry->d_name;
    if (std::atol(entry->d_name) != getpid() && firstLine(task + "/comm") == mainName) continue;
    total += std::strtod(firstLine(task + "/schedstat").c_str(), nullptr) / 1e9;  // nanoseconds
  }
  closedir(folder);
  return total;
}

}  // namespace bench
