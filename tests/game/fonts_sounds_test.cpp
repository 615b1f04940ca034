#include <AL/al.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "primitives/font.h"
#include "save_folder_fixture.h"

namespace {

const std::filesystem::path kGeneratedResources = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources";

void deleteFonts() {
  for (QEL::QC_FONT*& font : gFonts) {
    delete font;
    font = nullptr;
  }
}

// The engine's loader over a Resources folder of the test's choosing; the file system's
// resources folder is put back afterwards.
class LOADER_SCOPE {
 public:
  explicit LOADER_SCOPE(const std::filesystem::path& folder) {
    test_support::ensureFileSystem();
    QEL::QC_FILE_SYSTEM* files = QEL::QC_FILE_SYSTEM::fGet();
    _saved = files->fGetResourcesFolder();
    files->fSetResourcesFolder(folder.string() + "/");
    QEL::qcRESOURCE_LOADER = new QEL::QC_RESOURCE_LOADER();
  }
  ~LOADER_SCOPE() {
    delete QEL::qcRESOURCE_LOADER;
    QEL::qcRESOURCE_LOADER = nullptr;
    QEL::QC_FILE_SYSTEM::fGet()->fSetResourcesFolder(_saved);
  }

 private:
  std::string _saved;
};

class FontsTest : public ::testing::Test {
 protected:
  void SetUp() override { deleteFonts(); }
  void TearDown() override { deleteFonts(); }
};

TEST_F(FontsTest, EachSizeAndVariantFindsItsOwnSlot) {
  test_support::ensureFileSystem();
  loadFonts();  // no engine: every font is made, without glyphs
  std::set<std::pair<int, int>> keys;
  std::set<int> slots;
  for (const FONT_ROW& row : kFontTable) {
    EXPECT_TRUE(keys.insert({row.size, row.variant}).second) << row.size << "," << row.variant;
    EXPECT_TRUE(slots.insert(row.slot).second) << row.slot;
    ASSERT_NE(gFonts[row.slot], nullptr) << row.slot;
    EXPECT_EQ(findFont(row.size, row.variant), gFonts[row.slot]);
  }
  EXPECT_EQ(findFont(20, 2), gFonts[7]);
  EXPECT_EQ(findFont(20, 3), nullptr);
  EXPECT_EQ(findFont(0, 0), nullptr);
  for (int emptySlot : {0, 11, 13, 20}) EXPECT_EQ(gFonts[emptySlot], nullptr) << emptySlot;
  // Slot 8 is built last.
  EXPECT_EQ(kFontTable[kFontCount - 1].slot, 8);
}

TEST_F(FontsTest, TheTableSettingsApplyOverTheDescriptions) {
  if (!std::filesystem::exists(kGeneratedResources / "font" / "font20.fnt"))
    GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
  LOADER_SCOPE loader(kGeneratedResources);
  loadFonts();

  pugi::xml_document description;
  ASSERT_TRUE(description.load_file((kGeneratedResources / "font" / "font20.fnt").c_str()));
  const int described = description.child("font").child("common").attribute("lineHeight").as_int();

  for (const FONT_ROW& row : kFontTable) EXPECT_GT(gFonts[row.slot]->_glyphCount, 0) << row.slot;

  QEL::QC_FONT* white20 = findFont(20, 2);
  EXPECT_EQ(white20->_spacing, -8);
  EXPECT_EQ(white20->_lineHeight, 21);
  EXPECT_FLOAT_EQ(white20->_sprite->_node->_scale.x, 1.0f);

  QEL::QC_FONT* red16 = findFont(16, 1);
  EXPECT_EQ(red16->_spacing, -7);
  EXPECT_EQ(red16->_lineHeight, described);
  EXPECT_FLOAT_EQ(red16->_sprite->_node->_scale.x, 0.88f);
  EXPECT_FLOAT_EQ(red16->_sprite->_node->_scale.y, 0.88f);
  EXPECT_FLOAT_EQ(red16->_sprite->_node->_scale.z, 0.88f);

  QEL::QC_FONT* large = findFont(100, 3);
  EXPECT_EQ(large->_spacing, 0);  // the description gives none

  QEL::QC_FONT* banner = findFont(25, 5);
  EXPECT_EQ(banner->_anchor, 1);
  EXPECT_FLOAT_EQ(banner->_verticalDivisor, 1.75f);
  EXPECT_FLOAT_EQ(findFont(25, 0)->_verticalDivisor, 4.0f);
}

// ---- sounds ---------------------------------------------------------------------------------

class SoundsTest : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gCurrentPlayer = 0;
    gPlayers[0].soundVolume = 0.25f;
    gPlayers[0].musicVolume = 0.75f;
  }
  void TearDown() override {
    // The mixer deletes its sounds; the loader, which holds their bytes, goes after it.
    delete QEL::qcMIXER;
    QEL::qcMIXER = nullptr;
    for (QEL::QC_SOUND*& sound : gSounds) sound = nullptr;
    for (QEL::QC_SOUND*& track : gMusicTracks) track = nullptr;
    _loader.reset();
    SaveFolderTest::TearDown();
  }

  void startEngine(const std::filesystem::path& resources, bool withDevice) {
    _loader = std::make_unique<LOADER_SCOPE>(resources);
    QEL::qcMIXER = new QEL::QC_MIXER();
    if (withDevice) QEL::qcMIXER->fInit();
  }

  static float gainOf(QEL::QC_SOUND* sound) {
    ALfloat gain = -1.0f;
    alGetSourcef(sound->fGetSource(), AL_GAIN, &gain);
    return gain;
  }

  std::unique_ptr<LOADER_SCOPE> _loader;
};

TEST_F(SoundsTest, EverySlotGetsItsOwnSoundAndThePlayersVolumes) {
  if (!std::filesystem::exists(kGeneratedResources / "sounds" / "track1.ogg"))
    GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
  startEngine(kGeneratedResources, true);
  if (!QEL::qcMIXER->fHasDevice()) GTEST_SKIP() << "no OpenAL device, not even the null one";
  loadSounds();

  for (int slot = 0; slot < kSoundCount; ++slot) ASSERT_NE(gSounds[slot], nullptr) << slot;
  for (int track = 0; track < kMusicTrackCount; ++track) {
    ASSERT_NE(gMusicTracks[track], nullptr) << track;
    EXPECT_TRUE(gMusicTracks[track]->fIsStreamed());
  }
  // Two clicks can sound at once: two objects on the one resource.
  EXPECT_NE(gSounds[kSoundButtonClick], gSounds[kSoundButtonClick2]);
  EXPECT_NE(gSounds[kSoundButtonClick]->fGetSource(), gSounds[kSoundButtonClick2]->fGetSource());
  EXPECT_FALSE(gSounds[kSoundCardFly]->fIsStreamed());

  EXPECT_FLOAT_EQ(gainOf(gSounds[kSoundError]), 0.25f);
  EXPECT_FLOAT_EQ(gainOf(gMusicTracks[2]), 0.75f);
  ASSERT_GE(gCurrentTrack, 0);
  ASSERT_LT(gCurrentTrack, kMusicTrackCount);
  EXPECT_TRUE(QEL::QC_SOUND::fIsPlaying(gMusicTracks[gCurrentTrack]));

  // Silencing the music reaches every track, playing or not, and leaves the effects alone.
  setMusicGain(0.0f);
  for (QEL::QC_SOUND* track : gMusicTracks) EXPECT_FLOAT_EQ(gainOf(track), 0.0f);
  EXPECT_FLOAT_EQ(gainOf(gSounds[kSoundMessage]), 0.25f);
}

TEST_F(SoundsTest, AMissingSoundLeavesItsSlotEmptyAndNothingBreaks) {
  if (!std::filesystem::exists(kGeneratedResources / "sounds" / "error.ogg"))
    GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
  const std::filesystem::path resources = _root / "Resources";
  std::filesystem::create_directories(resources);
  std::filesystem::copy(kGeneratedResources / "sounds", resources / "sounds");
  std::filesystem::remove(resources / "sounds" / "error.ogg");
  std::filesystem::remove(resources / "sounds" / "track3.ogg");
  test_support::writeFile(resources / "sounds" / "joker_use.ogg", "not a sound at all");
  startEngine(resources, true);
  loadSounds();

  EXPECT_EQ(gSounds[kSoundError], nullptr);
  EXPECT_EQ(gSounds[kSoundJokerUse], nullptr);
  EXPECT_EQ(gMusicTracks[2], nullptr);
  EXPECT_NE(gSounds[kSoundGuiFly], nullptr);
  EXPECT_NE(gMusicTracks[0], nullptr);
  setSoundsGain(0.5f);
  setMusicGain(0.5f);
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundError]);
  gCurrentTrack = 2;
  rotateMusic();  // the empty track is "not playing": another one starts
  EXPECT_NE(gCurrentTrack, 2);
}

TEST_F(SoundsTest, WithoutAnAudioDeviceTheGamePlaysOnSilently) {
  if (!std::filesystem::exists(kGeneratedResources / "sounds" / "track1.ogg"))
    GTEST_SKIP() << "no generated Resources (configure with -DPINDRAKE_RESOURCES=ON)";
  startEngine(kGeneratedResources, false);
  loadSounds();
  setSoundsGain(0.0f);
  setMusicGain(1.0f);
  for (int i = 0; i < 10; ++i) rotateMusic();
  for (QEL::QC_SOUND* sound : gSounds) QEL::QC_SOUND::fPlayFromStart(sound);
  EXPECT_GE(gCurrentTrack, 0);
  EXPECT_LT(gCurrentTrack, kMusicTrackCount);
}

// ---- music rotation --------------------------------------------------------------------------

bool gFakePlaying[kMusicTrackCount] = {};
std::vector<int> gStarted;

bool fakeIsPlaying(int track) { return gFakePlaying[track]; }
void fakeStart(int track) { gStarted.push_back(track); }

class MusicRotationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (bool& playing : gFakePlaying) playing = false;
    gStarted.clear();
    setMusicTrackHooks(fakeIsPlaying, fakeStart);
    std::srand(12345);
  }
  void TearDown() override { setMusicTrackHooks(nullptr, nullptr); }
};

TEST_F(MusicRotationTest, AnEndedTrackIsFollowedByAnotherNeverTheSame) {
  gCurrentTrack = 1;
  std::set<int> heard;
  int previous = gCurrentTrack;
  for (int step = 0; step < 2000; ++step) {
    rotateMusic();  // every track ends at once: a new one each step
    ASSERT_EQ(gStarted.size(), static_cast<size_t>(step + 1));
    const int started = gStarted.back();
    ASSERT_GE(started, 0);
    ASSERT_LT(started, kMusicTrackCount);
    ASSERT_NE(started, previous) << "step " << step;
    EXPECT_EQ(gCurrentTrack, started);
    heard.insert(started);
    previous = started;
  }
  EXPECT_EQ(heard.size(), static_cast<size_t>(kMusicTrackCount));
}

TEST_F(MusicRotationTest, APlayingTrackIsLeftAlone) {
  gCurrentTrack = 3;
  gFakePlaying[3] = true;
  for (int step = 0; step < 100; ++step) rotateMusic();
  EXPECT_TRUE(gStarted.empty());
  EXPECT_EQ(gCurrentTrack, 3);
  // Another track playing does not count: only the current one is asked.
  gFakePlaying[3] = false;
  gFakePlaying[0] = gFakePlaying[1] = gFakePlaying[2] = true;
  rotateMusic();
  ASSERT_EQ(gStarted.size(), 1u);
  EXPECT_NE(gStarted[0], 3);
}

TEST_F(MusicRotationTest, ACurrentTrackOutOfRangeStartsAValidOne) {
  gCurrentTrack = -7;
  rotateMusic();
  ASSERT_EQ(gStarted.size(), 1u);
  EXPECT_GE(gCurrentTrack, 0);
  EXPECT_LT(gCurrentTrack, kMusicTrackCount);
}

}  // namespace
