#pragma once
// Sound effects and music made by a small synthesiser and written as Ogg Vorbis.
#include <filesystem>
#include <string>
#include <vector>

namespace resgen {

constexpr int SOUND_RATE = 44100;

struct SOUND_FILE {
  const char* name;  // file name in Resources/sounds
  int channels;      // 1 for effects, 2 for music
};

// The 14 effects and the 4 music tracks, in the order the game loads them.
const std::vector<SOUND_FILE>& soundFiles();

// Writes interleaved samples (-1..1) as Ogg Vorbis at the given quality (-0.1..1), through a
// temporary file renamed into place. False with a message in `error` when it cannot.
bool writeOggVorbis(const std::filesystem::path& path, int channels,
                    const std::vector<float>& interleaved, float quality, std::string& error);

}  // namespace resgen
