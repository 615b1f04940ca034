#pragma once
// The one message box that tells the player a file the game needs could not be read: what
// the game does without it, the file's whole path, the reason, and what becomes of the file.
// The texts and the player profiles are said this way, each once in a run.
#include <string>

void sayFileUnread(const std::string& headline, const std::string& path, const std::string& reason,
                   const std::string& fate = std::string());
