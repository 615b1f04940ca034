#pragma once
// The engine's one game object: the engine settings, the creation of the components in a
// fixed order, the sound thread, and the main loop of paced update and draw steps.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/timer.h"
#include "engine/vectors.h"

namespace QEL {

class QC_TEXTURE;
class QC_SOUND_THREAD;

struct QS_GAME_SETTINGS {
  uint8_t _fullscreen = 0;
  uint8_t _useDesktopSize = 0;
  uint8_t _running = 0;  // the main loop runs while it is not 0; the game clears it to stop
  std::string _gameName = "Tessaro Game";
  std::string _companyName = "Tessaro";
  QS_POINT _screenSize{0, 0};
  QS_POINT _resolution{1024, 768};
  int32_t _framesPerSecond = 0;   // frames drawn in the last completed second
  int32_t _frameCap = 60;         // 0: no limit
  int32_t _updatesPerSecond = 0;  // update steps made in the last completed second
  int32_t _updateRate = 0;        // 0: one update per pass, never sleeping
};

class QC_GAME {
 public:
  // Logs "Game construction ", clears the component pointers and builds the file system
  // (which creates Resources and makes it the current directory).
  QC_GAME();
  // At process exit; a game released by its entry has nothing left to stop here.
  ~QC_GAME();

  // The one game object, built on the first call.
  static QC_GAME* fGetGame();

  // Creates the components in order, each with its log line, then invokes the init
  // callback. A null game gets a message box and -1; otherwise 0.
  static int32_t fInit(QC_GAME* game, const std::string& name);

  // The main loop: returns once the running flag has been cleared and the pass under way
  // has ended. Refuses to run without its components. Starts the sound thread (once).
  void fStart();

  // The end of fInit: stops and joins the sound thread, then deletes the components in the
  // reverse order of their creation (resource loader, mixer with its device, random, timer,
  // renderer, window, input) and clears their globals. The game releases what it holds of
  // them first. Safe to call twice and on a null game.
  static void fRelease(QC_GAME* game);

  // One update step and one draw step: a pass of the main loop.
  void fUpdateStep();
  void fDrawStep();

  int32_t fSetResolution(int32_t width, int32_t height, bool fullscreen);
  void fSetGameName(const char* text) { _settings._gameName = text ? text : ""; }
  void fSetCompanyName(const char* text) { _settings._companyName = text ? text : ""; }
  void fSetResourcesFolder(const std::string& name);

  // Thin wrappers around the resource loader. The empty pack name subscribes the main
  // repository.
  QC_TEXTURE* fGetImage(const char* name);
  bool fReleaseImage(QC_TEXTURE* texture);
  int32_t fSubscribePack(const char* name, const char* password = nullptr);

  // The engine settings file config.xml under documents/company/game.
  void fSaveDefaultConfig();
  void LoadEngineConfig();

  QS_GAME_SETTINGS _settings;
  float _drawAccumulator = 0.0f;
  float _updateAccumulator = 0.0f;
  QC_TIMER _timer;
  int32_t _framesThisSecond = 0;
  int32_t _updatesThisSecond = 0;
  bool _updatedThisPass = false;  // the update step of the pass under way was due
  std::unique_ptr<QC_SOUND_THREAD> _soundThread;
};

// Behind qcON_TEXTURE_UNSCRIBED: hands a texture's image resource back to the loader.
uint32_t fTextureUnscribedHandler(std::uintptr_t texture);


}  // namespace QEL
