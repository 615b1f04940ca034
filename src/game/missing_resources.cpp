#include "game/missing_resources.h"

#include <system_error>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/texts.h"
#include "platform/window.h"

namespace {

namespace fs = std::filesystem;

// What the start-up reads before its first picture: the texts, and the packs subscribed by
// onGameInit, the splash screen, loadFonts and loadSounds.
const char* const kStartUpPacks[] = {"splash", "interface", "main_menu", "font", "sounds"};

// A path as a shell takes it: quoted when it holds anything but the plain characters.
std::string forShell(const std::string& path) {
  if (path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/._-+") ==
      std::string::npos)
    return path;
  std::string quoted = "'";
  for (char character : path) quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
  return quoted + "'";
}

// The engine's file system, once made, has already moved into Resources: the folder the game
// started in is then its base folder.
fs::path startFolder() {
  if (QEL::qcFILE_SYSTEM_INSTANCE != nullptr) return QEL::qcFILE_SYSTEM_INSTANCE->fGetBaseFolder();
  std::error_code error;
  return fs::current_path(error);
}

}  // namespace

bool holdsGameResources(const fs::path& folder) {
  std::error_code error;
  const fs::path resources = folder / "Resources";
  if (fs::is_regular_file(resources / "texts" / "texts.xml", error)) return true;
  for (const char* pack : kStartUpPacks)
    if (fs::is_directory(resources / pack, error)) return true;
  return false;
}

std::string missingResourcesMessage(const fs::path& startFolder, const fs::path& program) {
  std::string text = std::string(kGameName) +
                     " cannot start: it found none of its pictures, fonts, sounds and texts in\n" +
                     (startFolder / "Resources").string() + "\n\n";
  const fs::path programFolder = program.parent_path();
  if (!program.empty() && holdsGameResources(programFolder)) {
    text += "Start the game in the folder that holds them:\ncd " + forShell(programFolder.string()) + " && ./" +
            forShell(program.filename().string());
  } else {
    text += "Start the game in the folder that holds its Resources; a build makes them beside the program\n"
            "(cd build && ./pindrake).";
  }
  return text;
}

bool startFolderHoldsResources() {
  const fs::path folder = startFolder();
  if (holdsGameResources(folder)) return true;
  QEL::fLog("No game Resources in ", (folder / "Resources").string(), ": the game ends");
  platform::showMessageBox(missingResourcesMessage(folder, platform::programPath()), kGameName);
  return false;
}
