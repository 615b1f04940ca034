#include "sounds.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

namespace {

const std::filesystem::path SOUNDS = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "sounds";

struct DECODED {
  bool opened = false;
  int channels = 0;
  long rate = 0;
  double seconds = 0.0;
  bool seekable = false;
  float peak = 0.0f;
  double rms = 0.0;
};

DECODED decode(const std::filesystem::path& path) {
  DECODED result;
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return result;
  result.opened = true;
  const vorbis_info* info = ov_info(&file, -1);
  result.channels = info->channels;
  result.rate = info->rate;
  result.seconds = ov_time_total(&file, -1);
  result.seekable = ov_seekable(&file) != 0 && ov_pcm_seek(&file, 0) == 0;
  char buffer[8192];
  int section = 0;
  long bytes;
  double sum = 0.0;
  long count = 0;
  while ((bytes = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
    const short* samples = reinterpret_cast<const short*>(buffer);
    for (long i = 0; i < bytes / 2; ++i) {
      const float v = samples[i] / 32768.0f;
      result.peak = std::max(result.peak, std::fabs(v));
      sum += static_cast<double>(v) * v;
      ++count;
    }
  }
  result.rms = count ? std::sqrt(sum / count) : 0.0;
  ov_clear(&file);
  return result;
}

TEST(Sounds, ListMatchesTheManifest) {
  std::ifstream manifest(std::string(PINDRAKE_TEST_DATA) + "/resources.tsv");
  ASSERT_TRUE(manifest);
  std::set<std::string> expected;
  std::string line;
  while (std::getline(manifest, line)) {
    if (line.rfind("sounds\t", 0) == 0) expected.insert(line.substr(7, line.find('\t', 7) - 7));
  }
  std::set<std::string> listed;
  int effects = 0;
  for (const resgen::SOUND_FILE& file : resgen::soundFiles()) {
    listed.insert(file.name);
    effects += file.channels == 1 ? 1 : 0;
  }
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(effects, 14);
  EXPECT_EQ(listed.size(), 18u);
}

TEST(Sounds, EveryFileDecodesSeeksAndIsSane) {
  for (const resgen::SOUND_FILE& file : resgen::soundFiles()) {
    SCOPED_TRACE(file.name);
    const DECODED sound = decode(SOUNDS / file.name);
    ASSERT_TRUE(sound.opened);
    EXPECT_EQ(sound.channels, file.channels);
    EXPECT_EQ(sound.rate, resgen::SOUND_RATE);
    EXPECT_TRUE(sound.seekable);
    if (file.channels == 1) {
      EXPECT_GT(sound.seconds, 0.03);
      EXPECT_LT(sound.seconds, 2.0);
    } else {
      EXPECT_GE(sound.seconds, 60.0);
      EXPECT_LE(sound.seconds, 120.0);
      // Music is not a near-silent hum.
      EXPECT_GT(sound.rms, 0.04);
    }
    // Normalised: loud but not clipping.
    EXPECT_GT(sound.peak, 0.6f);
    EXPECT_LT(sound.peak, 0.999f);
  }
}

TEST(Sounds, EffectsDifferFromEachOther) {
  std::set<std::pair<long, long>> shapes;
  for (const resgen::SOUND_FILE& file : resgen::soundFiles()) {
    if (file.channels != 1) continue;
    const DECODED sound = decode(SOUNDS / file.name);
    shapes.insert({std::lround(sound.seconds * 1000), std::lround(sound.rms * 10000)});
  }
  EXPECT_EQ(shapes.size(), 14u);
}

TEST(WriteOggVorbis, ToneRoundTrips) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("pindrake_sound_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::vector<float> tone(resgen::SOUND_RATE / 2);
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = 0.5f * std::sin(6.2831853f * 440.0f * i / resgen::SOUND_RATE);
  std::string error;
  ASSERT_TRUE(resgen::writeOggVorbis(folder / "tone.ogg", 1, tone, 0.3f, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(folder / "tone.ogg.part"));
  const DECODED sound = decode(folder / "tone.ogg");
  ASSERT_TRUE(sound.opened);
  EXPECT_NEAR(sound.seconds, 0.5, 0.002);
  EXPECT_NEAR(sound.peak, 0.5f, 0.05f);
  std::filesystem::remove_all(folder);
}

TEST(WriteOggVorbis, UnwritablePlaceFailsWithAMessage) {
  std::string error;
  const std::filesystem::path path = std::filesystem::temp_directory_path() / ("pindrake_no_such_folder_" + std::to_string(::getpid())) / "x.ogg";
  EXPECT_FALSE(resgen::writeOggVorbis(path, 1, std::vector<float>(100, 0.0f), 0.3f, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
