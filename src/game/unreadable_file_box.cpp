#include "game/unreadable_file_box.h"

#include <filesystem>
#include <system_error>

#include "game/texts.h"
#include "platform/window.h"

void sayFileUnread(const std::string& headline, const std::string& path, const std::string& reason,
                   const std::string& fate) {
  // The whole path: the player looks for the file in a file manager, not from the game's folder.
  std::error_code error;
  const std::filesystem::path whole = std::filesystem::absolute(path, error);
  std::string text = headline + "\n" + (error ? path : whole.lexically_normal().string()) + "\n(" + reason + ")";
  if (!fate.empty()) text += "\n" + fate;
  platform::showMessageBox(text, gameTitle());
}
