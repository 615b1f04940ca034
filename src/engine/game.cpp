#include "engine/game.h"

#include <csignal>

#include "engine/callback.h"
#include "engine/file_system.h"
#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/random.h"
#include "engine/render.h"
#include "engine/resource.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"
#include "engine/sound_thread.h"
#include "engine/window.h"
#include "platform/window.h"

namespace QEL {

QC_GAME::QC_GAME() {
  // Under a file-size limit (ulimit -f) a write past it would end the game with SIGXFSZ in
  // the middle of a save; ignored, the write fails with EFBIG instead and the save keeps the
  // old file and says so, as on a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  platform::setLogFunction(fLogWrite);
  fLog("Game construction ");
  qcINPUT = nullptr;
  qcRENDER = nullptr;
  qcTIMER = nullptr;
  qcRANDOM = nullptr;
  qcWINDOW = nullptr;
  qcFILE_SYSTEM = nullptr;
  qcMIXER = nullptr;
  qcRESOURCE_LOADER = nullptr;
  qcFILE_SYSTEM = QC_FILE_SYSTEM::fGet();
}

QC_GAME::~QC_GAME() { _soundThread.reset(); }

QC_GAME* QC_GAME::fGetGame() {
  static QC_GAME game;
  return &game;
}

int32_t QC_GAME::fInit(QC_GAME* game, const std::string& name) {
  if (!game) {
    platform::showMessageBox("QC_GAME not exist. Need do some qcGAME = QC_GAME::fGetGame();", "engine/game.cpp");
    return -1;
  }
  QS_GAME_SETTINGS& s = game->_settings;
  s._gameName = name;
  s._screenSize = fGetScreenSize();

  qcINPUT = new QK_BUTTON();
  fLog("Input initialised");

  qcWINDOW = new QC_WINDOW();
  qcWINDOW->_clientWidth = s._resolution.x;
  qcWINDOW->_clientHeight = s._resolution.y;
  if (qcWINDOW->WindowInit(s._gameName) == 1) {
    fLog("Window initialised");
  } else {
    fLog("Window creation error");
  }

  qcRENDER = new QC_RENDER();
  if (qcRENDER->fInit(qcWINDOW->fGetHwnd(), 0.1f, 0.0f) == 1) {
    fLog("Render initialised");
  } else {
    fLog("Render error");
  }

  qcTIMER = new QC_TIMER();
  qcTIMER->fSetOutput(&qcFRAME_DELTA);
  fLog("Timer initialised");

  qcRANDOM = new QC_RANDOM(0);
  fLog("Random initialised");

  // Without an audio device the mixer says so and the game plays on silently.
  qcMIXER = new QC_MIXER();
  qcMIXER->fInit();
  fLog("Sound initialised");

  qcRESOURCE_LOADER = new QC_RESOURCE_LOADER();
  fLog("Resouce loader inited");
  // Pictures the renderer gave back are read again from their records.
  qcRENDER->_pictureSource = [](QC_TEXTURE* texture, std::vector<uint8_t>& bytes) {
    return qcRESOURCE_LOADER != nullptr && qcRESOURCE_LOADER->fReadImageAgain(texture, bytes);
  };

  qcON_TEXTURE_UNSCRIBED = QC_CALLBACK::fCreate(fTextureUnscribedHandler, nullptr, 0);
  QC_CALLBACK::fInvoke(qcON_INIT, 0);
  return 0;
}

void QC_GAME::fStart() {
  fLog("Start");
  if (!qcINPUT || !qcRENDER || !qcRANDOM) {
    fLog("Some component does not exist? or you may fogot initialise game class");
    return;
  }
  // The thread has nothing to do without a mixer.
  if (qcMIXER && !_soundThread) _soundThread = std::make_unique<QC_SOUND_THREAD>(qcMIXER);
  _settings._running = 1;
  QC_CALLBACK::fInvoke(qcON_START, 0);
  while (_settings._running != 0) {
    fUpdateStep();
    fDrawStep();
  }
}

void QC_GAME::fRelease(QC_GAME* game) {
  // Nothing may call into OpenAL once the mixer has closed its device.
  if (game && game->_soundThread) {
    game->_soundThread.reset();
    fLog("Sound thread stopped");
  }
  delete qcON_TEXTURE_UNSCRIBED;
  qcON_TEXTURE_UNSCRIBED = nullptr;
  delete qcRESOURCE_LOADER;
  qcRESOURCE_LOADER = nullptr;
  delete qcMIXER;
  qcMIXER = nullptr;
  delete qcRANDOM;
  qcRANDOM = nullptr;
  delete qcTIMER;
  qcTIMER = nullptr;
  // The renderer's device lives on the window's GL context: it goes first.
  delete qcRENDER;
  qcRENDER = nullptr;
  if (qcWINDOW) qcWINDOW->fDestroy();
  delete qcWINDOW;
  qcWINDOW = nullptr;
  delete qcINPUT;
  qcINPUT = nullptr;
  fLog("Components released");
}

void QC_GAME::fUpdateStep() {
  _updatedThisPass = false;
  _updateAccumulator += _timer.fUpdate();
  if (_settings._updateRate != 0) {
    const float due = static_cast<float>(_updatesThisSecond + 1) / static_cast<float>(_settings._updateRate);
    if (!(due <= _updateAccumulator)) {
      QC_WINDOW::fSleep(static_cast<uint32_t>((due - _updateAccumulator) * 1000.0f));
      return;
    }
  }
  _updatedThisPass = true;
  _updatesThisSecond += 1;
  if (_updateAccumulator >= 1.0f) {
    _settings._updatesPerSecond = _updatesThisSecond;
    _updateAccumulator = 0.0f;
    _updatesThisSecond = 0;
  }
  if (qcTIMER) qcTIMER->fUpdate();
  QC_CALLBACK::fInvoke(qcON_UPDATE, 0);
  if (qcINPUT) qcINPUT->fEndFrame();
  fPumpMessages(qcINPUT, qcWINDOW);
}

void QC_GAME::fDrawStep() {
  // Only a pass that made an update adds its frame time: adding it on the sleeping passes
  // too would run the draw clock at twice real time and double the frame cap.
  if (_updatedThisPass) _drawAccumulator += qcFRAME_DELTA;
  if (_settings._frameCap != 0) {
    const float due = static_cast<float>(_framesThisSecond + 1) / static_cast<float>(_settings._frameCap);
    if (!(due <= _drawAccumulator)) return;
  }
  // A frame the device cannot begin (lost, being reset) is skipped uncounted. The pacing
  // tests run without a renderer.
  if (qcRENDER && qcRENDER->fBeginScene() != 1) return;
  _framesThisSecond += 1;
  if (_drawAccumulator >= 1.0f) {
    _settings._framesPerSecond = _framesThisSecond;
    _drawAccumulator = 0.0f;
    _framesThisSecond = 0;
  }
  QC_CALLBACK::fInvoke(qcON_DRAW, 0);
  if (qcRENDER) qcRENDER->fEndScene();
}

int32_t QC_GAME::fSetResolution(int32_t width, int32_t height, bool fullscreen) {
  _settings._resolution.fSet(width, height);
  _settings._fullscreen = fullscreen ? 1 : 0;
  if (qcWINDOW) qcWINDOW->fSetMode(width, height, fullscreen, _settings._useDesktopSize != 0);
  if (!qcRENDER) return 0;
  qcRENDER->fSetResolution(width, height, _settings._fullscreen != 0, _settings._useDesktopSize != 0);
  return qcRENDER->fSetupTransforms();
}

void QC_GAME::fSetResourcesFolder(const std::string& name) {
  QC_FILE_SYSTEM* fs = QC_FILE_SYSTEM::fGet();
  fs->fSetResourcesFolder(fs->fGetBaseFolder() + name);
}

QC_TEXTURE* QC_GAME::fGetImage(const char* name) {
  if (qcRESOURCE_LOADER) return qcRESOURCE_LOADER->fGetImage(name);
  return qcRENDER ? qcRENDER->fGetDefaultTexture() : nullptr;
}

bool QC_GAME::fReleaseImage(QC_TEXTURE* texture) {
  if (qcRESOURCE_LOADER) qcRESOURCE_LOADER->fUnscribeImage(texture);
  return true;
}

int32_t QC_GAME::fSubscribePack(const char* name, const char* password) {
  return qcRESOURCE_LOADER ? qcRESOURCE_LOADER->fSubscribePack(name, password) : -1;
}

uint32_t fTextureUnscribedHandler(std::uintptr_t texture) {
  if (!qcRESOURCE_LOADER) return 0;
  auto* image = reinterpret_cast<QC_TEXTURE*>(texture);
  QS_RESOURCE* record = qcRESOURCE_LOADER->fFindByObject(image);
  if (record && record->_type == qeRESOURCE_IMAGE) {
    qcRESOURCE_LOADER->fUnscribeImage(image);
    fLog("texture unscribed");
  }
  return 0;
}

}  // namespace QEL
