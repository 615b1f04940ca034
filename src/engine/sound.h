#pragma once
// Ogg Vorbis sounds on OpenAL. QC_MIXER owns the device, the context and the list of sounds
// that the sound thread refills; QC_SOUND is one sound on its own source, decoded whole into
// one buffer (effects) or streamed through a small queue of buffers (music).
//
// Threads: the sound thread (engine/sound_thread.h) runs QC_MIXER::fUpdate; every other
// operation runs on the main thread. Both sides take qcSOUND_LOCK, so a pass never sees a
// sound half changed; starting a streamed sound wakes the sleeping sound thread.
#include <AL/al.h>
#include <AL/alc.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "engine/vectors.h"

struct OggVorbis_File;
struct vorbis_comment;
struct vorbis_info;

namespace QEL {

// The bytes of an Ogg Vorbis file that vorbisfile reads through the callbacks below.
// The bytes belong to the resource record, never to the sound.
struct QS_OGG_MEMORY {
  const uint8_t* _data = nullptr;
  size_t _size = 0;
  size_t _position = 0;
};

size_t fOggRead(void* destination, size_t size, size_t count, void* reader);
int fOggSeek(void* reader, int64_t offset, int whence);
long fOggTell(void* reader);
int fOggClose(void* reader);

class QC_SOUND {
 public:
  static constexpr uint32_t kStreamBufferSize = 10024;

  QC_SOUND() = default;
  ~QC_SOUND();
  QC_SOUND(const QC_SOUND&) = delete;
  QC_SOUND& operator=(const QC_SOUND&) = delete;

  // 1, or -112 when the bytes are not an Ogg Vorbis stream or claim more sound than their
  // size can hold.
  int32_t fOpen(const void* data, uint32_t size, int32_t bufferCount, bool streamed);

  // The game keeps a null pointer for a sound that failed to load and plays it anyway, so
  // the main thread's operations accept a null sound and then do nothing.
  static int32_t fPlay(QC_SOUND* sound);  // 1 when already playing, else 0
  static void fStop(QC_SOUND* sound);
  static void fRewind(QC_SOUND* sound);
  static void fPlayFrom(QC_SOUND* sound, int64_t sample);
  static void fPlayFromStart(QC_SOUND* sound);
  static void fSetPosition(QC_SOUND* sound, float x, float y, float z);
  // The loudness of the sound's source: 0 silent, 1 as recorded.
  static void fSetGain(QC_SOUND* sound, float gain);
  // The playing flag, read under the lock: a streamed track clears it on the sound thread
  // when it has played to its end.
  static bool fIsPlaying(QC_SOUND* sound);
  // Playing, streamed and heard: the sound thread has queues to refill. Under the lock.
  bool fIsStreaming() const { return _playing != 0 && _streamed != 0 && _audio; }

  // One streaming pass: refills the buffers the source has played. Sound thread only,
  // under qcSOUND_LOCK.
  void fUpdate();

  // True, after logging it, when OpenAL reports an error.
  bool fCheckError(int32_t tag);

  ALuint fGetSource() const { return _source; }
  uint32_t fGetBufferSize() const { return _bufferSize; }
  int32_t fGetBufferCount() const { return _bufferCount; }
  ALenum fGetFormat() const { return _format; }
  int32_t fGetRate() const { return _rate; }
  bool fIsStreamed() const { return _streamed != 0; }
  // The bytes handed to each buffer at open, in buffer order.
  const std::vector<int32_t>& fGetOpenFill() const { return _openFill; }
  // Only a streamed sound keeps its decoder (and decode buffer) after open.
  bool fHasDecoder() const { return _vorbis_file != nullptr; }

 private:
  // The decode buffer: one of the whole sound's size (bounded by its file's bytes and a cap)
  // or of one streaming buffer. 1, or -112 (logged) when the sound cannot have it.
  int32_t fAllocateBuffer(uint32_t fileBytes);
  // A whole sound, once in its buffer, gives back its decoder and decode buffer.
  void fCloseDecoder();
  int32_t fFill(ALuint buffer);
  // Empties the stopped source's queue and queues every buffer again from the decoder's
  // position, so a restart never plays what was queued before it.
  void fRefillQueue();
  void fRewindLocked();
  void fPlayFromLocked(int64_t sample);
  int32_t fPlayLocked();

  uint32_t _bufferSize = kStreamBufferSize;
  OggVorbis_File* _vorbis_file = nullptr;
  int32_t _bufferCount = 1;
  char* _pcm = nullptr;
  vorbis_comment* _comment = nullptr;
  vorbis_info* _info = nullptr;
  QS_OGG_MEMORY _memory;
  ALenum _format = AL_FORMAT_MONO16;
  ALuint _source = 0;
  ALuint _buffer = 0;
  int32_t _rate = 0;
  float _x = 0.0f, _y = 0.0f, _z = 0.0f;
  uint8_t _streamed = 0;
  uint8_t _playing = 0;
  uint8_t _looping = 0;

  std::vector<ALuint> _buffers;     // every buffer of the sound, in generation order
  std::vector<int32_t> _openFill;   // bytes decoded into each buffer at open
  bool _audio = false;              // a context was current at open: OpenAL calls are made
  bool _ended = false;              // the decoder reached the end; the queue plays out
  bool _decodedWhole = false;       // a whole sound in its buffer: no decoder is kept
};

class QC_MIXER {
 public:
  QC_MIXER();
  ~QC_MIXER();  // deletes the sounds still listed, then closes the device
  QC_MIXER(const QC_MIXER&) = delete;
  QC_MIXER& operator=(const QC_MIXER&) = delete;

  // Opens the default device; without one the mixer stays silent and every later call is
  // safe. Returns 1 with a device, 0 without.
  int32_t fInit();

  // The new sound, listed and owned by the mixer; null for a null mixer or bad data.
  static QC_SOUND* fCreateSound(QC_MIXER* mixer, const void* data, uint32_t size, int32_t bufferCount,
                                bool streamed);
  // 1, or -1 when the sound is not listed. The caller then owns the sound.
  int32_t fRemoveSound(QC_SOUND* sound);
  // One pass of the sound thread over every listed sound; takes qcSOUND_LOCK itself.
  static void fUpdate(QC_MIXER* mixer);
  // True when a listed sound streams; false for a null mixer. Takes qcSOUND_LOCK itself.
  static bool fIsStreaming(QC_MIXER* mixer);

  void fSetListenerPosition();
  void fLogError(const char* text);

  bool fHasDevice() const { return _device != nullptr; }
  size_t fCountSounds() const { return _sounds.size(); }
  static QC_MIXER* fGetCurrent();

 private:
  ALCdevice* _device = nullptr;
  ALCcontext* _context = nullptr;
  QS_VECTOR3 _listenerPosition{0.0f, 0.0f, 1.0f};
  QS_VECTOR3 _listenerVelocity;
  QS_VECTOR3 _listenerAt;
  QS_VECTOR3 _listenerUp{0.0f, -1.0f, 0.0f};
  int32_t _lastError = 0;
  std::list<QC_SOUND*> _sounds;
};

}  // namespace QEL
