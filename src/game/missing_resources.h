#pragma once
// A start in a folder without the game's Resources (build/pindrake started from the source
// folder, say). The engine would make an empty Resources there and the game would raise a
// message box for every picture, font and sound it cannot find; instead it says so once, in
// words a player can act on, and the program ends with a failure status.
#include <filesystem>
#include <string>

// The folder holds the game's Resources when its Resources folder holds the texts or the
// folder of a pack the start-up subscribes. One that holds only some of them is still the
// game's, partly broken: the game starts and goes on with defaults where files are missing.
bool holdsGameResources(const std::filesystem::path& folder);

// The one message: the Resources folder it looked in and how to start the game, naming the
// program's own folder when the game's Resources lie there.
std::string missingResourcesMessage(const std::filesystem::path& startFolder, const std::filesystem::path& program);

// Run by the entry before the engine's file system exists (which would make Resources): true
// when the start folder holds the game's Resources; otherwise logs, shows the message once
// and returns false.
bool startFolderHoldsResources();
