#include "engine/sound.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "engine/globals.h"
#include "engine/log.h"
#include "engine/result_codes.h"
#include "engine/sound_thread.h"

namespace QEL {

namespace {
QC_MIXER* sCurrentMixer = nullptr;

using QT_SOUND_GUARD = std::lock_guard<std::recursive_mutex>;

// A whole sound is decoded into one buffer sized by the sample count its last page claims,
// and that page is only a number in the file. Vorbis makes about ten to thirty-five decoded
// bytes of such a buffer from one byte of file (the generated sounds stay under 33), so a
// claim of more than this many per byte is not a sound but a number patched to make us
// reserve gigabytes.
constexpr uint64_t kMostBufferBytesPerFileByte = 256;
// A minute and a half of stereo sound at 44.1 kHz; the game's longest effect lasts under two
// seconds.
constexpr uint64_t kLargestWholeSound = 16u * 1024u * 1024u;
constexpr uint32_t kBufferBytesPerFrame = 4;

// The whole sound's buffer in bytes, or 0 when the stream claims more than its file can
// hold or than any effect needs (logged).
uint64_t wholeSoundBytes(int64_t frames, uint32_t fileBytes) {
  if (frames <= 0) return 0;
  const uint64_t allowed = std::min<uint64_t>(kLargestWholeSound, uint64_t{fileBytes} * kMostBufferBytesPerFileByte);
  if (static_cast<uint64_t>(frames) <= allowed / kBufferBytesPerFrame)
    return static_cast<uint64_t>(frames) * kBufferBytesPerFrame;
  fLog("Sound refused: its stream claims ", frames, " sample frames, more than ", allowed,
       " bytes of sound for a file of ", fileBytes, " bytes");
  return 0;
}
}  // namespace

// ---- memory reader -------------------------------------------------------------------

size_t fOggRead(void* destination, size_t size, size_t count, void* reader) {
  auto* memory = static_cast<QS_OGG_MEMORY*>(reader);
  if (!memory || !destination || memory->_position >= memory->_size) return 0;
  size_t wanted = size * count;
  if (size != 0 && wanted / size != count) wanted = SIZE_MAX;
  const size_t bytes = std::min(wanted, memory->_size - memory->_position);
  std::memcpy(destination, memory->_data + memory->_position, bytes);
  memory->_position += bytes;
  return bytes;
}

int fOggSeek(void* reader, int64_t offset, int whence) {
  auto* memory = static_cast<QS_OGG_MEMORY*>(reader);
  if (!memory) return -1;
  int64_t base = 0;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(memory->_position); break;
    case SEEK_END: base = static_cast<int64_t>(memory->_size); break;
    default: return -1;
  }
  const int64_t position = base + offset;
  // A position outside the bytes would make the next read run past them.
  if (position < 0 || position > static_cast<int64_t>(memory->_size)) return -1;
  memory->_position = static_cast<size_t>(position);
  return 0;
}

long fOggTell(void* reader) {
  auto* memory = static_cast<QS_OGG_MEMORY*>(reader);
  return memory ? static_cast<long>(memory->_position) : -1;
}

int fOggClose(void*) { return 0; }

// ---- sound ---------------------------------------------------------------------------

QC_SOUND::~QC_SOUND() {
  if (_audio) {
    alSourceStop(_source);
    alSourcei(_source, AL_BUFFER, 0);
    alDeleteSources(1, &_source);
    if (!_buffers.empty()) alDeleteBuffers(static_cast<ALsizei>(_buffers.size()), _buffers.data());
    alGetError();
  }
  if (_vorbis_file) {
    ov_clear(_vorbis_file);
    delete _vorbis_file;
  }
  std::free(_pcm);
}

bool QC_SOUND::fCheckError(int32_t tag) {
  if (!_audio) return false;
  const ALenum error = alGetError();
  if (error == AL_NO_ERROR) return false;
  const ALchar* text = alGetString(error);
  fLog("! Al error : ", tag, " ", text ? text : "unknown");
  return true;
}

int32_t QC_SOUND::fOpen(const void* data, uint32_t size, int32_t bufferCount, bool streamed) {
  _bufferCount = std::max(bufferCount, 1);
  _streamed = streamed ? 1 : 0;
  _memory._data = static_cast<const uint8_t*>(data);
  _memory._size = data ? size : 0;
  _memory._position = 0;
  _vorbis_file = new OggVorbis_File();

  const ov_callbacks callbacks{fOggRead, fOggSeek, fOggClose, fOggTell};
  if (ov_open_callbacks(&_memory, _vorbis_file, nullptr, 0, callbacks) < 0) {
    // vorbisfile has already cleared what it opened.
    delete _vorbis_file;
    _vorbis_file = nullptr;
    fLog("Bad loaded data sound");
    return qeRESULT_BAD_DATA;
  }

  _comment = ov_comment(_vorbis_file, -1);
  _info = ov_info(_vorbis_file, -1);
  _format = (_info && _info->channels == 1) ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
  _rate = _info ? static_cast<int32_t>(_info->rate) : 0;

  if (fAllocateBuffer(size) != 1) return qeRESULT_BAD_DATA;

  // Without a context every OpenAL call would fail; the sound then decodes but stays silent.
  _audio = alcGetCurrentContext() != nullptr;
  if (_audio) {
    alGetError();
    alGenSources(1, &_source);
    if (fCheckError(1)) _audio = false;
  }

  if (_streamed && _audio) {
    alSourcei(_source, AL_LOOPING, AL_FALSE);
    fCheckError(0);
  }

  for (int32_t i = 0; i < _bufferCount; ++i) {
    ALuint buffer = 0;
    if (_audio) {
      alGenBuffers(1, &buffer);
      fCheckError(100);
    }
    _buffer = buffer;
    _buffers.push_back(buffer);
    const int32_t filled = fFill(buffer);
    if (filled < 0) fLog("UNERROR1");
    if (filled == 0) fLog("END1");
    _openFill.push_back(filled);
    if (!_audio) continue;
    alBufferData(buffer, _format, _pcm, std::max(filled, 0), _rate);
    fCheckError(11);
    if (_streamed) {
      alSourceQueueBuffers(_source, 1, &buffer);
      fCheckError(12);
    } else {
      alSourcei(_source, AL_BUFFER, static_cast<ALint>(buffer));
    }
  }

  // A whole sound plays from its OpenAL buffer from now on; its decode buffer and decoder
  // (codebooks and windows, some hundred kilobytes each) are of no more use.
  if (!_streamed) fCloseDecoder();

  if (_audio) alSource3f(_source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  _x = _y = _z = 0.0f;
  _playing = 0;
  _ended = false;
  fCheckError(4);
  return 1;
}

void QC_SOUND::fCloseDecoder() {
  ov_clear(_vorbis_file);
  delete _vorbis_file;
  _vorbis_file = nullptr;
  _comment = nullptr;
  _info = nullptr;
  std::free(_pcm);
  _pcm = nullptr;
  _decodedWhole = true;
}

int32_t QC_SOUND::fAllocateBuffer(uint32_t fileBytes) {
  if (!_streamed) {
    const ogg_int64_t frames = ov_pcm_total(_vorbis_file, -1);
    const uint64_t bytes = wholeSoundBytes(frames, fileBytes);
    if (frames > 0 && bytes == 0) return qeRESULT_BAD_DATA;
    _bufferSize = static_cast<uint32_t>(bytes);
    _bufferCount = 1;
  } else {
    _bufferSize = kStreamBufferSize;
  }
  _pcm = static_cast<char*>(std::malloc(std::max<uint32_t>(_bufferSize, 1)));
  if (!_pcm) {
    fLog("Sound refused: no memory for its ", _bufferSize, " bytes");
    return qeRESULT_BAD_DATA;
  }
  return 1;
}

int32_t QC_SOUND::fFill(ALuint buffer) {
  int32_t bytes = 0;
  int bitstream = 0;
  while (static_cast<uint32_t>(bytes) < _bufferSize) {
    const long result =
        ov_read(_vorbis_file, _pcm + bytes, static_cast<int>(_bufferSize - static_cast<uint32_t>(bytes)), 0, 2,
                1, &bitstream);
    if (result == 0) break;
    if (result < 0) return static_cast<int32_t>(result);
    bytes += static_cast<int32_t>(result);
  }
  if (_audio) {
    alBufferData(buffer, _format, _pcm, bytes, _rate);
    if (alGetError() != AL_NO_ERROR) {
      fLog("Unbuffer is ", buffer, " fill size is ", bytes, " pcm pointer ", static_cast<const void*>(_pcm));
    }
  }
  return bytes;
}

void QC_SOUND::fRefillQueue() {
  if (!_audio || !_streamed) return;
  alSourcei(_source, AL_BUFFER, 0);
  fCheckError(13);
  for (ALuint buffer : _buffers) {
    const int32_t filled = fFill(buffer);
    if (filled <= 0) break;
    alSourceQueueBuffers(_source, 1, &buffer);
    fCheckError(12);
  }
}

int32_t QC_SOUND::fPlayLocked() {
  if (_playing) return 1;
  _playing = 1;
  if (_audio) {
    alSourcePlay(_source);
    fCheckError(3);
  }
  if (fIsStreaming()) QC_SOUND_THREAD::fWake();
  return 0;
}

void QC_SOUND::fRewindLocked() {
  // A sound whose stream never opened has nothing to rewind; a whole sound starts from its
  // buffer's beginning anyway.
  if (!_vorbis_file && !_decodedWhole) return;
  if (_vorbis_file) ov_pcm_seek(_vorbis_file, 0);
  if (_audio) alSourceStop(_source);
  fRefillQueue();
  _playing = 0;
  _ended = false;
}

void QC_SOUND::fPlayFromLocked(int64_t sample) {
  if (_audio) alSourceStop(_source);
  if (_vorbis_file) {
    ov_pcm_seek(_vorbis_file, sample);
    fRefillQueue();
    _ended = false;
  }
  if (_audio) alSourcePlay(_source);
}

int32_t QC_SOUND::fPlay(QC_SOUND* sound) {
  if (!sound) return 0;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  return sound->fPlayLocked();
}

void QC_SOUND::fStop(QC_SOUND* sound) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  if (sound->_audio) alSourceStop(sound->_source);
  sound->_playing = 0;
}

void QC_SOUND::fRewind(QC_SOUND* sound) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  sound->fRewindLocked();
}

void QC_SOUND::fPlayFrom(QC_SOUND* sound, int64_t sample) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  sound->fPlayFromLocked(sample);
}

void QC_SOUND::fPlayFromStart(QC_SOUND* sound) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  sound->fPlayFromLocked(0);
  sound->fRewindLocked();
  sound->fPlayLocked();
}

void QC_SOUND::fSetPosition(QC_SOUND* sound, float x, float y, float z) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  sound->_x = x;
  sound->_y = y;
  sound->_z = z;
  if (sound->_audio) alSource3f(sound->_source, AL_POSITION, x, y, z);
}

void QC_SOUND::fSetGain(QC_SOUND* sound, float gain) {
  if (!sound) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  // A sound made without an audio device has no source to set.
  if (sound->_audio) alSourcef(sound->_source, AL_GAIN, gain);
}

bool QC_SOUND::fIsPlaying(QC_SOUND* sound) {
  if (!sound) return false;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  return sound->_playing != 0;
}

void QC_SOUND::fUpdate() {
  if (!_playing || !_streamed || !_audio) return;
  ALint processed = 0;
  alGetSourcei(_source, AL_BUFFERS_PROCESSED, &processed);
  fCheckError(2);
  while (processed-- > 0) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(_source, 1, &buffer);
    fCheckError(10);
    // Past the end the played buffers wait for the next restart.
    if (_ended) continue;
    int32_t filled = fFill(buffer);
    if (filled == 0) {
      ov_pcm_seek(_vorbis_file, 0);
      if (_looping == 1) {
        filled = fFill(buffer);
      } else {
        // Let what is queued play out; the playing flag drops once the source has stopped.
        _ended = true;
        continue;
      }
    }
    if (filled < 0) {
      fLog("UNERROR");
      continue;
    }
    if (filled > 0) {
      alSourceQueueBuffers(_source, 1, &buffer);
      fCheckError(12);
    }
  }
  if (!_playing) return;
  ALint state = AL_STOPPED;
  alGetSourcei(_source, AL_SOURCE_STATE, &state);
  if (state == AL_PLAYING) return;
  ALint queued = 0;
  alGetSourcei(_source, AL_BUFFERS_QUEUED, &queued);
  if (_ended || queued == 0) {
    // The track has played to its end (or nothing is left to play).
    fRewindLocked();
    return;
  }
  // Ran dry: start again with what is queued.
  alSourcePlay(_source);
  fCheckError(3);
}

// ---- mixer ---------------------------------------------------------------------------

QC_MIXER::QC_MIXER() {
  fLog("Mixer constructor ");
  sCurrentMixer = this;
}

QC_MIXER::~QC_MIXER() {
  {
    QT_SOUND_GUARD lock(qcSOUND_LOCK);
    for (QC_SOUND* sound : _sounds) delete sound;
    _sounds.clear();
  }
  alcMakeContextCurrent(nullptr);
  if (_context) alcDestroyContext(_context);
  if (_device) alcCloseDevice(_device);
  if (sCurrentMixer == this) sCurrentMixer = nullptr;
  fLog("AL closed");
}

QC_MIXER* QC_MIXER::fGetCurrent() { return sCurrentMixer; }

int32_t QC_MIXER::fInit() {
  fLog("Mixer init");
  _device = alcOpenDevice(nullptr);
  if (!_device) {
    fLog("\n!Default sound device not present");
    return 0;
  }
  _context = alcCreateContext(_device, nullptr);
  if (alcGetError(_device) != ALC_NO_ERROR || !_context) fLog("\n!Error context creation");
  if (_context) {
    alcMakeContextCurrent(_context);
    alListener3f(AL_POSITION, 1.0f, 1.0f, 1.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    const ALfloat orientation[6] = {1.0f, 1.0f, 2.0f, 0.0f, -1.0f, 0.0f};
    alListenerfv(AL_ORIENTATION, orientation);
  }
  if (alcGetError(_device) != ALC_NO_ERROR) fLog("\nError OAL");
  fLog("AL finish initialisation");
  return 1;
}

QC_SOUND* QC_MIXER::fCreateSound(QC_MIXER* mixer, const void* data, uint32_t size, int32_t bufferCount,
                                 bool streamed) {
  if (!mixer) return nullptr;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  auto* sound = new QC_SOUND();
  if (sound->fOpen(data, size, bufferCount, streamed) == qeRESULT_BAD_DATA) {
    delete sound;
    return nullptr;
  }
  mixer->_sounds.push_back(sound);
  return sound;
}

int32_t QC_MIXER::fRemoveSound(QC_SOUND* sound) {
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  auto it = std::find(_sounds.begin(), _sounds.end(), sound);
  if (it == _sounds.end()) return -1;
  _sounds.erase(it);
  return 1;
}

void QC_MIXER::fUpdate(QC_MIXER* mixer) {
  if (!mixer) return;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  for (QC_SOUND* sound : mixer->_sounds) sound->fUpdate();
}

bool QC_MIXER::fIsStreaming(QC_MIXER* mixer) {
  if (!mixer) return false;
  QT_SOUND_GUARD lock(qcSOUND_LOCK);
  for (const QC_SOUND* sound : mixer->_sounds)
    if (sound->fIsStreaming()) return true;
  return false;
}

void QC_MIXER::fSetListenerPosition() {
  if (!_context) return;
  alListener3f(AL_POSITION, _listenerPosition.x, _listenerPosition.y, _listenerPosition.z);
}

void QC_MIXER::fLogError(const char* text) {
  if (!_device) return;
  _lastError = alcGetError(_device);
  if (_lastError != ALC_NO_ERROR) fLog("OAL error ", _lastError, text ? text : "");
}

}  // namespace QEL
