#include "game/fonts_sounds.h"

#include <cstdlib>
#include <ctime>
#include <string>

#include <pugixml.hpp>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "primitives/font.h"

const FONT_ROW kFontTable[kFontCount] = {
    {13, 1, 1, "font font20.fnt", "font font20_0_red.png", 0.65f, -7, 15, -1, 0.0f},
    {14, 0, 2, "font font20.fnt", "font font20_0.png", 0.7f, -7, 15, -1, 0.0f},
    {16, 1, 3, "font font20.fnt", "font font20_0.png", 0.88f, -7, kFromDescription, -1, 0.0f},
    {18, 1, 4, "font font20.fnt", "font font20_0_red.png", 0.8f, -6, kFromDescription, -1, 0.0f},
    {20, 0, 5, "font font20.fnt", "font font20_0.png", 1.0f, -8, 22, -1, 0.0f},
    {20, 1, 6, "font font20.fnt", "font font20_0_red.png", 1.0f, -5, kFromDescription, -1, 0.0f},
    {20, 2, 7, "font font20.fnt", "font font20_0_white.png", 1.0f, -8, 21, -1, 0.0f},
    {25, 0, 9, "font font33.fnt", "font font33_0.png", 0.75f, -7, kFromDescription, -1, 0.0f},
    {25, 1, 10, "font font33.fnt", "font font33_0_red.png", 0.75f, -7, 27, -1, 0.0f},
    {30, 0, 12, "font font33.fnt", "font font33_0.png", 0.9f, -2, kFromDescription, -1, 0.0f},
    {33, 0, 14, "font font33.fnt", "font font33_0.png", 1.0f, -6, 30, -1, 0.0f},
    {33, 1, 15, "font font33.fnt", "font font33_0_red.png", 1.0f, -6, kFromDescription, -1, 0.0f},
    {36, 0, 16, "font font42.fnt", "font font42_0.png", 0.8f, -5, kFromDescription, -1, 0.0f},
    {36, 3, 17, "font font36.fnt", "font font36_0_orange.png", 1.0f, -6, kFromDescription, -1, 0.0f},
    {36, 1, 18, "font font36.fnt", "font font36_0_red.png", 1.0f, -6, kFromDescription, -1, 0.0f},
    {42, 0, 19, "font font42.fnt", "font font42_0.png", 1.0f, -5, kFromDescription, -1, 0.0f},
    {62, 2, 21, "font font62.fnt", "font font62_0.png", 1.0f, -5, kFromDescription, -1, 0.0f},
    {100, 3, 22, "font font80.fnt", "font font80_0.png", 1.0f, kFromDescription, kFromDescription, -1, 0.0f},
    {16, 0, 23, "font font20.fnt", "font font20_0.png", 0.77f, -7, 18, -1, 0.0f},
    {18, 0, 24, "font font20.fnt", "font font20_0.png", 0.88f, -6, kFromDescription, -1, 0.0f},
    {75, 1, 25, "font font80.fnt", "font font80_0.png", 1.0f, kFromDescription, kFromDescription, -1, 0.0f},
    {70, 1, 26, "font font80.fnt", "font font80_0.png", 0.86f, kFromDescription, kFromDescription, -1, 0.0f},
    {25, 5, 8, "font font33.fnt", "font font33_0_red.png", 0.75f, -7, kFromDescription, 1, 1.75f},
};

namespace {

const char* const kEffectNames[kSoundCount] = {
    "sounds button_click.ogg",   "sounds gui_fly.ogg",       "sounds error.ogg",
    "sounds button_buy_click.ogg", "sounds message.ogg",     "sounds message_strike.ogg",
    "sounds message_spare.ogg",  "sounds multiplier.ogg",    "sounds card_select.ogg",
    "sounds card_match.ogg",     "sounds card_fly.ogg",      "sounds button_click.ogg",
    "sounds reshuffle_use.ogg",  "sounds joker_click.ogg",   "sounds joker_use.ogg",
};

bool defaultTrackIsPlaying(int track) { return QEL::QC_SOUND::fIsPlaying(gMusicTracks[track]); }
void defaultTrackStart(int track) { QEL::QC_SOUND::fPlayFromStart(gMusicTracks[track]); }

TRACK_IS_PLAYING gTrackIsPlaying = defaultTrackIsPlaying;
TRACK_START gTrackStart = defaultTrackStart;

// The sound object of a resource; null when the resource or a mixer is missing, or the
// bytes are no sound. The bytes stay with the resource record for the run.
QEL::QC_SOUND* createSound(const char* name, bool loadBytes, bool streamed) {
  QEL::QC_RESOURCE_LOADER* loader = QEL::qcRESOURCE_LOADER;
  if (loader == nullptr || QEL::qcMIXER == nullptr) return nullptr;
  if (loadBytes) loader->fLoadByteBuffer(name);
  QEL::QS_RESOURCE* record = loader->fFindResource(name);
  if (record == nullptr || record->_type != QEL::qeRESOURCE_BYTE_BUFFER) return nullptr;
  const uint8_t* bytes = loader->fGetByteBuffer(name);
  if (bytes == nullptr) return nullptr;
  QEL::QC_SOUND* sound = QEL::QC_MIXER::fCreateSound(QEL::qcMIXER, bytes, record->_size, 2, streamed);
  if (sound == nullptr) QEL::fLog("loadSounds: not a sound: ", name);
  return sound;
}

void replaceSound(QEL::QC_SOUND*& slot, QEL::QC_SOUND* sound) {
  if (slot != nullptr && QEL::qcMIXER != nullptr && QEL::qcMIXER->fRemoveSound(slot) == 1) delete slot;
  slot = sound;
}

void setGain(QEL::QC_SOUND* const* sounds, int count, float gain) {
  for (int i = 0; i < count; ++i) QEL::QC_SOUND::fSetGain(sounds[i], gain);
}

const PLAYER_RECORD& currentPlayer() {
  const int index = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers ? gCurrentPlayer : 0;
  return gPlayers[index];
}

QEL::QC_FONT* makeFont(const FONT_ROW& row) {
  pugi::xml_node element;
  if (QEL::qcRESOURCE_LOADER != nullptr) {
    if (pugi::xml_document* document = QEL::qcRESOURCE_LOADER->fGetXmlDoc(row.description))
      element = document->child("font");
  }
  auto* font = new QEL::QC_FONT(element, getImage(row.page), 600);
  if (row.spacing != kFromDescription) font->_spacing = row.spacing;
  if (row.lineHeight != kFromDescription) font->_lineHeight = row.lineHeight;
  if (row.scale != 1.0f && font->_sprite != nullptr) font->_sprite->fSetScale(row.scale, row.scale, row.scale);
  if (row.anchor >= 0) font->_anchor = row.anchor;
  if (row.verticalDivisor != 0.0f) font->_verticalDivisor = row.verticalDivisor;
  return font;
}

const FONT_ROW* findRow(int32_t size, int32_t variant) {
  for (const FONT_ROW& row : kFontTable)
    if (row.size == size && row.variant == variant) return &row;
  return nullptr;
}

}  // namespace

void loadFonts() {
  subscribePack("font");
  for (const FONT_ROW& row : kFontTable) {
    QEL::QC_FONT* font = makeFont(row);
    delete gFonts[row.slot];
    gFonts[row.slot] = font;
  }
}

void releaseFonts() {
  for (QEL::QC_FONT*& font : gFonts) {
    delete font;
    font = nullptr;
  }
}

QEL::QC_FONT* findFont(int32_t size, int32_t variant) {
  const FONT_ROW* row = findRow(size, variant);
  return row != nullptr ? gFonts[row->slot] : nullptr;
}

QEL::QC_FONT* copyFont(int32_t size, int32_t variant) {
  const FONT_ROW* row = findRow(size, variant);
  return row != nullptr ? makeFont(*row) : nullptr;
}

void loadSounds() {
  subscribePack("sounds");
  for (int slot = 0; slot < kSoundCount; ++slot) {
    // Slot 11 is a second sound on the bytes slot 0 loaded.
    replaceSound(gSounds[slot], createSound(kEffectNames[slot], slot != kSoundButtonClick2, false));
  }
  for (int track = 0; track < kMusicTrackCount; ++track) {
    const std::string name = "sounds track" + std::to_string(track + 1) + ".ogg";
    replaceSound(gMusicTracks[track], createSound(name.c_str(), true, true));
  }
  setSoundsGain(currentPlayer().soundVolume);
  setMusicGain(currentPlayer().musicVolume);
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  gCurrentTrack = std::rand() % kMusicTrackCount;
  QEL::QC_SOUND::fPlay(gMusicTracks[gCurrentTrack]);
}

void releaseSounds() {
  for (QEL::QC_SOUND*& track : gMusicTracks) {
    QEL::QC_SOUND::fStop(track);
    replaceSound(track, nullptr);
  }
  for (QEL::QC_SOUND*& sound : gSounds) {
    QEL::QC_SOUND::fStop(sound);
    replaceSound(sound, nullptr);
  }
}

void setSoundsGain(float gain) { setGain(gSounds, kSoundCount, gain); }

void setMusicGain(float gain) { setGain(gMusicTracks, kMusicTrackCount, gain); }

void rotateMusic() {
  const bool valid = gCurrentTrack >= 0 && gCurrentTrack < kMusicTrackCount;
  if (valid && gTrackIsPlaying(gCurrentTrack)) return;
  int next = std::rand() % kMusicTrackCount;
  while (next == gCurrentTrack) next = std::rand() % kMusicTrackCount;
  gCurrentTrack = next;
  gTrackStart(next);
}

void setMusicTrackHooks(TRACK_IS_PLAYING isPlaying, TRACK_START start) {
  gTrackIsPlaying = isPlaying != nullptr ? isPlaying : defaultTrackIsPlaying;
  gTrackStart = start != nullptr ? start : defaultTrackStart;
}

void setPlayerVolume(bool sound, float volume) {
  const float clamped = volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume);
  const bool playerInRange = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers;
  if (sound) {
    if (playerInRange) gPlayers[gCurrentPlayer].soundVolume = clamped;
    setSoundsGain(clamped);
    QEL::fLog("Sound volume = ", clamped);
  } else {
    if (playerInRange) gPlayers[gCurrentPlayer].musicVolume = clamped;
    setMusicGain(clamped);
    QEL::fLog("Music volume = ", clamped);
  }
}
