#include "game/game_globals.h"

BASE_SCENE* gCurrentScene = nullptr;
int gSceneKind = 0;
uint8_t gIsSplash = 0;
SPLASH_SCREEN* gSplash = nullptr;

uint8_t gIsGameInited = 0;
uint8_t gIsGameReady = 0;
uint8_t gIsPaused = 0;
uint8_t gIsCheat = 0;
uint8_t gIsDebug = 0;
uint8_t gCheatKeyUsed = 0;
uint8_t gIsAllLevelsView = 0;
uint8_t gHintShown[kHintCount] = {};
uint8_t gIsReshuffling = 0;

int gCurrentPlayer = 0;
int gNumberOfPlayers = 0;
PLAYER_RECORD gPlayers[kMaxPlayers];

int gCurrentLevel = 0;
int gCurrentPack = 0;
int gGameMode = 0;

LEVEL_RESULT gLevelResultsJunior[kMaxPlayers][kLevelCount] = {};
LEVEL_RESULT gLevelResultsProfessional[kMaxPlayers][kLevelCount] = {};
int gLevelAttempts[kLevelCount] = {};
int gSessionNumber = 0;

pugi::xml_document gTexts;
std::string gBasePath;

platform::Cursor* gGameCursor = nullptr;
platform::Cursor* gArrowCursor = nullptr;
QEL::QC_SPRITE* gBorderSprites[kBorderSpriteCount] = {};
QEL::QC_SPRITE* gCursorSprite = nullptr;

QEL::QC_SOUND* gSounds[kSoundCount] = {};
QEL::QC_SOUND* gMusicTracks[kMusicTrackCount] = {};
int gCurrentTrack = 0;
QEL::QC_FONT* gFonts[kFontSlotCount] = {};
