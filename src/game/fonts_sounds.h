#pragma once
// The game's bitmap fonts (gFonts, looked up by point size and colour variant), its sound
// effects by fixed slot (gSounds) and the four music tracks (gMusicTracks) that rotate once
// the splash screen is gone. All are loaded once at start-up and kept for the run.
#include <cstdint>

namespace QEL {
class QC_FONT;
class QC_SOUND;
}  // namespace QEL

// Effect slots of gSounds.
enum : int {
  kSoundButtonClick = 0,
  kSoundGuiFly = 1,
  kSoundError = 2,
  kSoundButtonBuyClick = 3,
  kSoundMessage = 4,
  kSoundMessageStrike = 5,
  kSoundMessageSpare = 6,
  kSoundMultiplier = 7,
  kSoundCardSelect = 8,
  kSoundCardMatch = 9,
  kSoundCardFly = 10,
  kSoundButtonClick2 = 11,  // a second object on the click, so two clicks can overlap
  kSoundReshuffleUse = 12,
  kSoundJokerClick = 13,
  kSoundJokerUse = 14,
};

// One row of the font table.
struct FONT_ROW {
  int32_t size;
  int32_t variant;
  int32_t slot;
  const char* description;  // resource name of the BMFont description
  const char* page;         // resource name of the page image
  float scale;              // 1: no scale applied
  int32_t spacing;          // kFromDescription keeps what the loader set
  int32_t lineHeight;       // kFromDescription keeps the description's value
  int32_t anchor;           // -1: the loaded default stays
  float verticalDivisor;    // 0: the loaded default stays
};
constexpr int32_t kFromDescription = -1000;
constexpr int kFontCount = 23;
// In load order (slot 8 comes last).
extern const FONT_ROW kFontTable[kFontCount];

// Subscribes "font" and builds every font of the table into its slot.
void loadFonts();
// The end of loadFonts: every slot's font is deleted and the slot emptied.
void releaseFonts();
// The font of (size, variant); null for a pair the table does not have.
QEL::QC_FONT* findFont(int32_t size, int32_t variant);
// A new font made as the table makes (size, variant), for a scene that scales or anchors it
// its own way without touching the shared one; the caller deletes it. Null for a pair the
// table does not have.
QEL::QC_FONT* copyFont(int32_t size, int32_t variant);

// Subscribes "sounds", creates the effects and the tracks (a missing resource leaves its
// slot null), applies the current player's volumes and starts a random track.
void loadSounds();
// The end of loadSounds: every effect and track is stopped, taken from the mixer and deleted.
void releaseSounds();
// OpenAL gain of every effect source / every track source; empty slots are skipped.
void setSoundsGain(float gain);
void setMusicGain(float gain);
// An options window's slider let go or clicked: the current player's sound (or music) volume,
// brought within 0 and 1, applied to the effects (or the tracks) and logged. It is saved with
// the player's settings.
void setPlayerVolume(bool sound, float volume);
// The music rotation: when the current track has stopped, another track (never the same)
// is drawn with rand and started from its beginning.
void rotateMusic();
// How the rotation sees and starts a track; tests put fakes in. Null restores the defaults,
// which ask the track objects of gMusicTracks.
using TRACK_IS_PLAYING = bool (*)(int track);
using TRACK_START = void (*)(int track);
void setMusicTrackHooks(TRACK_IS_PLAYING isPlaying, TRACK_START start);
