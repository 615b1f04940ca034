#include "game/game_entry.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "engine/window.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/missing_resources.h"
#include "game/picture_size.h"
#include "game/player_removal.h"
#include "game/players.h"
#include "game/save_files.h"
#include "game/save_notice.h"
#include "game/scenes/base_scene.h"
#include "game/splash_screen.h"
#include "game/texts.h"
#include "platform/image_codec.h"
#include "platform/window.h"
#include "primitives/sprite.h"

namespace {

enum : int { kBorderLeft = 0, kBorderRight = 1, kBorderBottom = 2, kBorderTop = 3 };

// The exit status of a copy of the game that found its saves in use by another.
constexpr int kStatusSavesInUse = 2;

// No pointer is larger. A cursor image beyond it is refused from its header, before its
// pixels cost anything: a 1 MB file can state 16000 x 16000, a gigabyte once decoded.
constexpr int kLargestCursor = 256;

// The game's own cursor, from the default resources' cursor image; its tip is the image's
// top-left corner. Null when the image is missing, unreadable or too large, or the system
// has no cursor support: the arrow then stands in.
platform::Cursor* makeGameCursor() {
  const std::string path = QEL::QC_FILE_SYSTEM::fGet()->fGetResourcesFolder() + "interface/cursor.png";
  platform::ImageInfo info;
  if (platform::imageInfoFromFile(path, info) && (info.width > kLargestCursor || info.height > kLargestCursor)) {
    QEL::fLog("Game cursor image of ", info.width, " x ", info.height, " refused, larger than a cursor (",
              kLargestCursor, "): ", path);
    return nullptr;
  }
  std::vector<uint8_t> rgba;
  int width = 0;
  int height = 0;
  if (!platform::decodeImageFromFile(path, rgba, width, height)) {
    QEL::fLog("Game cursor image unreadable: ", path, ": ", platform::imageFailureReason());
    return nullptr;
  }
  return platform::createCursor(rgba.data(), width, height, 0, 0);
}

void makeCursorCurrent(platform::Cursor* cursor) {
  if (cursor == nullptr) return;
  if (QEL::qcWINDOW != nullptr) QEL::qcWINDOW->_cursor = cursor;
  platform::useCursor(cursor);
}

QEL::QC_SPRITE* makeBorderSprite(const char* name, float x, float y, int32_t anchor) {
  auto* sprite = new QEL::QC_SPRITE(getImage(name), nullptr);
  sprite->fSetPosition(x, y, 0.0f);
  sprite->fSetAnchor(anchor, 0.0f, 0.0f);
  return sprite;
}

void replaceSprite(QEL::QC_SPRITE*& slot, QEL::QC_SPRITE* sprite) {
  delete slot;
  slot = sprite;
}

const PLAYER_RECORD& currentPlayer() {
  const int index = gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers ? gCurrentPlayer : 0;
  return gPlayers[index];
}

std::string savesInUseMessage() {
  const std::string text = getTextString("game_already_running");
  return !text.empty() ? text
                       : gameTitle() + " is already running. Only one copy of the game can use your saves at a time.";
}

}  // namespace

bool takeSaveFolder() {
  if (holdsSaveFolder()) return true;
  const char* documents = QEL::QC_FILE_SYSTEM::fGetDocumentsFolder();
  gBasePath = documents != nullptr ? documents : "";
  makeSaveFolders();
  if (lockSaveFolder()) return true;
  // Two copies at once would each save over what the other stored.
  platform::showMessageBox(savesInUseMessage(), gameTitle());
  return false;
}

int32_t subscribePack(const char* name) {
  if (QEL::qcGAME != nullptr) return QEL::qcGAME->fSubscribePack(name);
  return QEL::qcRESOURCE_LOADER != nullptr ? QEL::qcRESOURCE_LOADER->fSubscribePack(name, nullptr) : -1;
}

QEL::QC_TEXTURE* getImage(const char* name) {
  if (QEL::qcGAME != nullptr) return QEL::qcGAME->fGetImage(name);
  return QEL::qcRESOURCE_LOADER != nullptr ? QEL::qcRESOURCE_LOADER->fGetImage(name) : nullptr;
}

void registerGameCallbacks() {
  gIsPaused = 0;
  gIsGameReady = 0;
  QEL::qcGAME = QEL::QC_GAME::fGetGame();
  QEL::qcON_UPDATE = QEL::QC_CALLBACK::fCreate(onGameUpdate, "onGameUpdate", 0);
  QEL::qcON_DRAW = QEL::QC_CALLBACK::fCreate(onGameDraw, "onGameDraw", 0);
  QEL::qcON_INIT = QEL::QC_CALLBACK::fCreate(onGameInit, "onGameInit", 0);
  QEL::qcON_KEY_DOWN = QEL::QC_CALLBACK::fCreate(onKeyDown, "onKeyDown", 0);
  QEL::qcON_KEY_UP = QEL::QC_CALLBACK::fCreate(onKeyUp, "onKeyUp", 0);
  QEL::qcON_MOUSE_MOVE = QEL::QC_CALLBACK::fCreate(onMouseMove, "onMouseMove", 0);
  QEL::qcON_RESOURCE_ERROR = QEL::QC_CALLBACK::fCreate(onEngineError, "onEngineError", 0);
  QEL::qcON_FOCUS_LOST = QEL::QC_CALLBACK::fCreate(onFocusLost, "onFocusLost", 0);
  QEL::qcON_FOCUS_GAINED = QEL::QC_CALLBACK::fCreate(onFocusGained, "onFocusGained", 0);
  QEL::qcON_CLOSE = QEL::QC_CALLBACK::fCreate(onGameClose, "onGameClose", 0);
  // Nothing invokes the exit slot; the window's close message goes through qcON_CLOSE.
  QEL::qcON_EXIT = QEL::QC_CALLBACK::fCreate(onGameClose, "onGameClose", 0);
}

uint32_t EntryPointer(QEL::QT_CALLBACK_ARG) {
  // First of all: taking the game object makes the engine's file system, which would make an
  // empty Resources folder in a start folder that has none.
  if (!startFolderHoldsResources()) {
    QEL::qcEXIT_STATUS = 1;
    return 1;
  }
  registerGameCallbacks();
  QEL::fLog("");
  QEL::fLog("------------------------------------------- DWORD EntryPointer(DWORD) "
            "-------------------------------------------");
  loadTexts();
  // Before the window: a second copy's window, even for a moment, would take the focus from
  // the first, whose level then pauses.
  if (!takeSaveFolder()) {
    QEL::qcEXIT_STATUS = kStatusSavesInUse;
    return 1;
  }
  QEL::QC_GAME::fInit(QEL::qcGAME, kGameName);
  if (QEL::qcWINDOW != nullptr) QEL::qcWINDOW->fSetTitle(gameTitle());
  QEL::qcGAME->fStart();
  releaseGame();
  QEL::QC_GAME::fRelease(QEL::qcGAME);
  return static_cast<uint32_t>(-100500);
}

uint32_t onGameInit(QEL::QT_CALLBACK_ARG) {
  QEL::fLog("onGameInit: packs");
  subscribePack("splash");
  subscribePack("interface");

  QEL::fLog("onGameInit: cursors");
  if (gGameCursor == nullptr) gGameCursor = makeGameCursor();
  gArrowCursor = platform::arrowCursor();
  setArrowCursor();

  QEL::fLog("onGameInit: splash screen");
  delete gSplash;
  gSplash = new SPLASH_SCREEN();
  gIsSplash = 1;
  gSceneKind = scene_kind::SPLASH;
  gIsReshuffling = 0;

  // The entry has taken it already; a start without the entry takes it here.
  if (!takeSaveFolder()) return 0;
  removeStaleSaveTemporaries();
  QEL::fLog("onGameInit: save folder ", gBasePath);

  readCheatFlag();
  readDebugFlag();
  QEL::fLog("onGameInit: developer flags cheat ", static_cast<int>(gIsCheat), " debug ",
            static_cast<int>(gIsDebug));

  gCurrentLevel = 0;
  gCurrentPack = 0;
  gIsGameInited = 1;
  gCheatKeyUsed = 0;
  for (uint8_t& shown : gHintShown) shown = 0;
  gGameMode = 0;

  finishInterruptedPlayerRemoval();
  loadPlayers();
  QEL::fLog("onGameInit: players ", gNumberOfPlayers);

  QEL::QC_GAME* game = QEL::qcGAME != nullptr ? QEL::qcGAME : QEL::QC_GAME::fGetGame();
  game->_settings._running = 0;
  game->_settings._updateRate = 60;
  game->_updateAccumulator = 0.0f;
  game->_updatesThisSecond = 0;
  if (QEL::qcRENDER != nullptr) QEL::qcRENDER->_clearColor = QEL::QS_COLOR(0xFF000000u);
  game->_settings._useDesktopSize = 1;

  bool fullscreen = true;
  if (gNumberOfPlayers == 0) {
    // The first start: slot 0 holds the defaults but is not counted as a player.
    gCurrentPlayer = 0;
    PLAYER_RECORD& player = gPlayers[0];
    player.isFullscreen = 1;
    player.isMuteAll = 1;
    player.soundVolume = 0.5f;
    player.musicVolume = 0.5f;
    player.currentCardType = 0;
    player.additionalCardPlaces = 0;
    player.reshuffles = 2;
    player.jokers = 3;
    player.isShowedFirstHint = 0;
    player.isShowedHint29 = 0;
  } else {
    fullscreen = currentPlayer().isFullscreen != 0;
  }
  game->fSetResolution(kPictureWidth, kPictureHeight, fullscreen);
  QEL::fLog("onGameInit: resolution 1024x768 full screen ", fullscreen ? 1 : 0);

  gIsAllLevelsView = 0;
  countSession();
  for (int& attempts : gLevelAttempts) attempts = 0;

  QEL::fLog("onGameInit: border sprites");
  replaceSprite(gBorderSprites[kBorderTop],
                makeBorderSprite("splash widescreen_background_top.png", 0.0f, 0.0f, 3));
  replaceSprite(gBorderSprites[kBorderRight],
                makeBorderSprite("splash widescreen_background_right.png", kPictureWidth, -216.0f, 1));
  replaceSprite(gBorderSprites[kBorderBottom],
                makeBorderSprite("splash widescreen_background_bottom.png", 0.0f, kPictureHeight, 1));
  replaceSprite(gBorderSprites[kBorderLeft],
                makeBorderSprite("splash widescreen_background_left.png", 1.0f, -216.0f, 2));
  auto* cursorSprite = new QEL::QC_SPRITE(getImage("interface cursor.png"), nullptr);
  cursorSprite->fSetAnchor(1, 0.0f, 0.0f);
  replaceSprite(gCursorSprite, cursorSprite);

  QEL::fLog("onGameInit: level results, sounds, fonts");
  loadAllLevelsInfo();
  loadSounds();
  loadFonts();
  QEL::fLog("onGameInit: done");
  return 0;
}

void releaseGame() {
  QEL::fLog("releaseGame: scene, fonts, sounds, sprites, splash screen, cursor");
  // The scene came last, made by the splash screen; its widgets point at the fonts.
  delete gCurrentScene;
  gCurrentScene = nullptr;
  releaseFonts();
  releaseSounds();
  replaceSprite(gCursorSprite, nullptr);
  for (QEL::QC_SPRITE*& sprite : gBorderSprites) replaceSprite(sprite, nullptr);
  delete gSplash;
  gSplash = nullptr;
  gIsSplash = 0;
  gIsGameReady = 0;
  // The arrow is the system's own; the window keeps it to the end.
  setArrowCursor();
  platform::destroyCursor(gGameCursor);
  gGameCursor = nullptr;
  releaseSaveNotice();
  releaseSaveFolder();
}

uint32_t onGameUpdate(QEL::QT_CALLBACK_ARG) {
  if (gIsSplash) {
    if (gSplash != nullptr) gSplash->update();
    return 0;
  }
  if (gCurrentScene != nullptr) gCurrentScene->fUpdate();
  switchToRequestedScene();
  updateSaveNotice(QEL::qcFRAME_DELTA);
  rotateMusic();
  return 0;
}

uint32_t onGameDraw(QEL::QT_CALLBACK_ARG) {
  if (gIsSplash) {
    if (gSplash != nullptr) gSplash->draw();
  } else if (gCurrentScene != nullptr) {
    gCurrentScene->fDraw();
    drawSaveNotice();
  }
  if (!gIsDebug) {
    for (int index : {kBorderTop, kBorderRight, kBorderBottom, kBorderLeft})
      if (gBorderSprites[index] != nullptr) gBorderSprites[index]->fDraw();
  }
  return 0;
}

uint32_t onKeyDown(QEL::QT_CALLBACK_ARG code) {
  if (!gIsSplash && gCurrentScene != nullptr) gCurrentScene->fKeyDown(static_cast<int32_t>(code));
  switchToRequestedScene();
  return 0;
}

uint32_t onKeyUp(QEL::QT_CALLBACK_ARG code) {
  if (!gIsSplash && gCurrentScene != nullptr) gCurrentScene->fKeyUp(static_cast<int32_t>(code));
  switchToRequestedScene();
  return 0;
}

uint32_t onMouseMove(QEL::QT_CALLBACK_ARG) {
  if (!gIsSplash && gCurrentScene != nullptr) gCurrentScene->fMouseMove();
  switchToRequestedScene();
  return 0;
}

uint32_t onEngineError(QEL::QT_CALLBACK_ARG code) {
  // The loader can report during start-up, before any scene exists, and from inside any
  // operation that loads, a scene's own among them: the switch a scene asks for waits for
  // the update or handler around the report.
  if (gCurrentScene != nullptr) gCurrentScene->fOnError(static_cast<int32_t>(code));
  return 0;
}

uint32_t onFocusLost(QEL::QT_CALLBACK_ARG) {
  QEL::fLog("FocusLost!");
  if (!gIsGameReady) return 0;
  setMusicGain(0.0f);
  setSoundsGain(0.0f);
  if (gSceneKind == scene_kind::LEVEL) gIsPaused = 1;
  return 0;
}

uint32_t onFocusGained(QEL::QT_CALLBACK_ARG) {
  QEL::fLog("FocusGAIN!");
  if (!gIsGameReady) return 0;
  setMusicGain(currentPlayer().musicVolume);
  setSoundsGain(currentPlayer().soundVolume);
  return 0;
}

uint32_t onGameClose(QEL::QT_CALLBACK_ARG) {
  savePlayerSettings(gCurrentPlayer);
  QEL::QC_GAME::fGetGame()->_settings._running = 0;
  return 0;
}

void readCheatFlag() { gIsCheat = fileExists("../cheat.txt") ? 1 : 0; }

void readDebugFlag() { gIsDebug = fileExists("../debug_test.txt") ? 1 : 0; }

void setArrowCursor() { makeCursorCurrent(gArrowCursor); }

void setGameCursor() {
  // Without a cursor of its own the game keeps the arrow.
  makeCursorCurrent(gGameCursor != nullptr ? gGameCursor : gArrowCursor);
}

void noOperation(int) {}
