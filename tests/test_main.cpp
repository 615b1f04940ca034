// The main of every test program. Each run starts in an empty temporary folder of its own, so
// that what the tests make relative to where they stand (the engine's file system makes a
// Resources folder there and moves into it, fixtures make and remove Levels/) never lands in
// the build folder, whose Resources the build generated: a test program run by hand from
// there must not change them. The programs this one starts (death-test children, child runs
// through posix_spawn) inherit the folder and leave its removal to the first run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* kFolderVariable = "PINDRAKE_TEST_START_FOLDER";

std::filesystem::path makeStartFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pindrake_test_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  ::setenv(kFolderVariable, pattern.c_str(), 1);
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Suites named *ChildOnly are the parts that a test runs in a child process of its own,
  // naming them in its filter: a run without a filter leaves them out (and so does CTest's
  // list, which is made by such a run).
  if (GTEST_FLAG_GET(filter) == "*") GTEST_FLAG_SET(filter, "-*ChildOnly.*");
  const char* inherited = std::getenv(kFolderVariable);
  const std::filesystem::path own = inherited == nullptr ? makeStartFolder() : std::filesystem::path();
  std::error_code error;
  std::filesystem::current_path(inherited != nullptr ? std::filesystem::path(inherited) : own, error);
  if (error) {
    std::fprintf(stderr, "test: cannot start in a temporary folder: %s\n", error.message().c_str());
    return 1;
  }
  const int result = RUN_ALL_TESTS();
  if (!own.empty()) {
    std::filesystem::current_path(std::filesystem::temp_directory_path(), error);
    std::filesystem::remove_all(own, error);
  }
  return result;
}
