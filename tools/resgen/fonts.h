#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

namespace resgen {

// The characters every font holds: ASCII, Latin-1, Latin Extended-A, common typographic
// punctuation, and every character of texts/texts.xml under the given Resources folder.
std::vector<std::uint32_t> fontCharacters(const std::filesystem::path& resources);

}  // namespace resgen
