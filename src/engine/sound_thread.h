#pragma once
// The sound thread: while a streamed sound plays it refills the mixer's queues every few
// milliseconds; with nothing to stream it sleeps until a streamed sound starts. It is
// started by the game object's main loop and stopped and joined before the mixer goes.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace QEL {

class QC_MIXER;

class QC_SOUND_THREAD {
 public:
  // A pass every this long keeps a streamed queue (two buffers of 10024 bytes, 57 ms each
  // at 44.1 kHz stereo) far from running dry.
  static constexpr std::chrono::milliseconds kStreamingPass{10};

  // Starts the thread on the mixer.
  explicit QC_SOUND_THREAD(QC_MIXER* mixer);
  // Stops the thread and waits for it: no pass runs once this returns.
  ~QC_SOUND_THREAD();
  QC_SOUND_THREAD(const QC_SOUND_THREAD&) = delete;
  QC_SOUND_THREAD& operator=(const QC_SOUND_THREAD&) = delete;

  // Streaming passes made so far.
  int64_t fGetPasses() const { return _passes; }
  std::thread::native_handle_type fGetHandle() { return _thread.native_handle(); }

  // A streamed sound has started: a sleeping thread wakes. Called under qcSOUND_LOCK.
  static void fWake();

 private:
  // The thread's body: passes while something streams, sleep otherwise, until stopped.
  void fSoundThread();

  QC_MIXER* _mixer;
  bool _stop = false;  // read and written under qcSOUND_LOCK
  std::atomic<int64_t> _passes{0};
  std::thread _thread;
};

}  // namespace QEL
