#include "engine/sound_thread.h"

#include <condition_variable>
#include <mutex>

#include "engine/globals.h"
#include "engine/sound.h"

namespace QEL {

namespace {
// Waited on with qcSOUND_LOCK, under which every change to what streams is made.
std::condition_variable_any sWake;
}  // namespace

QC_SOUND_THREAD::QC_SOUND_THREAD(QC_MIXER* mixer) : _mixer(mixer), _thread([this] { fSoundThread(); }) {}

QC_SOUND_THREAD::~QC_SOUND_THREAD() {
  {
    std::lock_guard<std::recursive_mutex> lock(qcSOUND_LOCK);
    _stop = true;
  }
  sWake.notify_all();
  _thread.join();
}

void QC_SOUND_THREAD::fWake() { sWake.notify_all(); }

void QC_SOUND_THREAD::fSoundThread() {
  std::unique_lock<std::recursive_mutex> lock(qcSOUND_LOCK);
  while (!_stop) {
    if (!QC_MIXER::fIsStreaming(_mixer)) {
      sWake.wait(lock, [this] { return _stop || QC_MIXER::fIsStreaming(_mixer); });
      continue;
    }
    QC_MIXER::fUpdate(_mixer);
    ++_passes;
    // The lock is free while the thread rests, so the main thread never waits long.
    sWake.wait_for(lock, kStreamingPass, [this] { return _stop; });
  }
}

}  // namespace QEL
