#pragma once
// The game keeps its state in plain globals, shared by the entry callbacks, the scenes and
// the save files. They are created before main and live for the whole run.
#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "game/level_results.h"
#include "game/players.h"

namespace QEL {
class QC_SPRITE;
class QC_SOUND;
class QC_FONT;
class QC_ENTRY_REGISTRAR;
}  // namespace QEL
namespace platform {
struct Cursor;
}  // namespace platform

class BASE_SCENE;
class SPLASH_SCREEN;

constexpr int kHintCount = 35;
constexpr int kBorderSpriteCount = 4;
constexpr int kSoundCount = 15;
constexpr int kMusicTrackCount = 4;
constexpr int kFontSlotCount = 27;

// Scenes.
extern BASE_SCENE* gCurrentScene;
extern int gSceneKind;  // a scene_kind::KIND (game/scenes/base_scene.h)
extern uint8_t gIsSplash;
extern SPLASH_SCREEN* gSplash;

// Start-up and developer flags.
extern uint8_t gIsGameInited;
extern uint8_t gIsGameReady;
extern uint8_t gIsPaused;
extern uint8_t gIsCheat;
extern uint8_t gIsDebug;
extern uint8_t gCheatKeyUsed;
extern uint8_t gIsAllLevelsView;  // while set no profile or result file is written
extern uint8_t gHintShown[kHintCount];
extern uint8_t gIsReshuffling;

// Players.
extern int gCurrentPlayer;
extern int gNumberOfPlayers;
extern PLAYER_RECORD gPlayers[kMaxPlayers];

// Where the player is.
extern int gCurrentLevel;  // 0-119
extern int gCurrentPack;   // 0-11
extern int gGameMode;      // 0 junior, 1 professional

// Level results.
extern LEVEL_RESULT gLevelResultsJunior[kMaxPlayers][kLevelCount];
extern LEVEL_RESULT gLevelResultsProfessional[kMaxPlayers][kLevelCount];
extern int gLevelAttempts[kLevelCount];
extern int gSessionNumber;

// Texts and saves.
extern pugi::xml_document gTexts;
extern std::string gBasePath;  // the save base folder, ".../Ostvane/Pindrake"

// Cursors and sprites.
extern platform::Cursor* gGameCursor;
extern platform::Cursor* gArrowCursor;
extern QEL::QC_SPRITE* gBorderSprites[kBorderSpriteCount];  // left, right, bottom, top
extern QEL::QC_SPRITE* gCursorSprite;

// Sounds and fonts.
extern QEL::QC_SOUND* gSounds[kSoundCount];
extern QEL::QC_SOUND* gMusicTracks[kMusicTrackCount];
extern int gCurrentTrack;
extern QEL::QC_FONT* gFonts[kFontSlotCount];

// Registers the entry function; defined beside it, in the game's main source file.
extern QEL::QC_ENTRY_REGISTRAR gEntry;
