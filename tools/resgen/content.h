#pragma once
// Generators of the Resources content that is not drawn: sounds, texts and levels.
// Each writes its files under the given Resources folder and returns false (after printing
// why on standard error) when it could not.
#include <filesystem>

namespace resgen {

bool generateSounds(const std::filesystem::path& resources);
bool generateTexts(const std::filesystem::path& resources);
bool generateLevels(const std::filesystem::path& resources);

}  // namespace resgen
