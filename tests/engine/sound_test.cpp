// Sounds and the mixer on the real openal-soft: in this process on its null backend or on a
// loopback device that the test plays, and in a child process with no device at all.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <AL/alext.h>

#include "engine/globals.h"
#include "engine/sound.h"
#include "engine/sound_thread.h"
#include "media_maker.h"
#include "res_test_util.h"

using QEL::QC_MIXER;
using QEL::QC_SOUND;
using QEL::QS_OGG_MEMORY;

namespace {

// Outside CTest (which sets it) this process plays on the silent null backend too; the
// child processes below choose their own driver.
[[maybe_unused]] const bool kNullDriverByDefault = [] {
  setenv("ALSOFT_DRIVERS", "null", 0);
  return true;
}();

bool isChild() { return std::getenv("PINDRAKE_SOUND_CHILD") != nullptr; }

// The engine's own sound thread: it sleeps until a streamed sound starts.
using SoundThread = QEL::QC_SOUND_THREAD;

bool waitUntilStopped(QC_SOUND* sound, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (QC_SOUND::fIsPlaying(sound)) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

ALint sourceInt(QC_SOUND* sound, ALenum what) {
  ALint value = 0;
  alGetSourcei(sound->fGetSource(), what, &value);
  return value;
}

}  // namespace

// ---- memory reader -----------------------------------------------------------------------

TEST(SoundMemoryReader, ReadsAdvanceAndStopAtTheEnd) {
  const uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  QS_OGG_MEMORY memory;
  memory._data = bytes;
  memory._size = sizeof bytes;
  uint8_t out[16] = {};
  EXPECT_EQ(QEL::fOggRead(out, 1, 4, &memory), 4u);
  EXPECT_EQ(out[3], 3);
  EXPECT_EQ(QEL::fOggTell(&memory), 4);
  EXPECT_EQ(QEL::fOggRead(out, 2, 8, &memory), 6u);  // only what is left
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(QEL::fOggRead(out, 1, 8, &memory), 0u);
  EXPECT_EQ(QEL::fOggClose(&memory), 0);
}

TEST(SoundMemoryReader, SeeksFromEveryOriginAndRefusesOutsideTheBytes) {
  const uint8_t bytes[10] = {};
  QS_OGG_MEMORY memory;
  memory._data = bytes;
  memory._size = sizeof bytes;
  EXPECT_EQ(QEL::fOggSeek(&memory, 3, SEEK_SET), 0);
  EXPECT_EQ(QEL::fOggSeek(&memory, 2, SEEK_CUR), 0);
  EXPECT_EQ(QEL::fOggTell(&memory), 5);
  EXPECT_EQ(QEL::fOggSeek(&memory, -1, SEEK_END), 0);
  EXPECT_EQ(QEL::fOggTell(&memory), 9);
  EXPECT_EQ(QEL::fOggSeek(&memory, 0, 42), -1);
  // Past either end the position would let the next read leave the buffer.
  EXPECT_EQ(QEL::fOggSeek(&memory, 5, SEEK_END), -1);
  EXPECT_EQ(QEL::fOggSeek(&memory, -20, SEEK_CUR), -1);
  EXPECT_EQ(QEL::fOggTell(&memory), 9);
}

// ---- opening -----------------------------------------------------------------------------

TEST(SoundOpen, DataThatIsNotOggVorbisGivesNoSound) {
  res_test::LogCapture log;
  QC_MIXER mixer;
  mixer.fInit();
  const std::string text = "this is not an ogg file at all";
  EXPECT_EQ(QC_MIXER::fCreateSound(&mixer, text.data(), static_cast<uint32_t>(text.size()), 2, false), nullptr);
  EXPECT_EQ(QC_MIXER::fCreateSound(&mixer, nullptr, 0, 2, true), nullptr);
  // A real stream cut short after its first page.
  auto ogg = media_maker::makeOgg(1, 22050, 22050);
  EXPECT_EQ(QC_MIXER::fCreateSound(&mixer, ogg.data(), 40, 2, false), nullptr);
  EXPECT_EQ(log.count("Bad loaded data sound"), 3u);
  EXPECT_EQ(mixer.fCountSounds(), 0u);

  QC_SOUND sound;
  EXPECT_EQ(sound.fOpen(text.data(), static_cast<uint32_t>(text.size()), 2, true), -112);
}

TEST(SoundOpen, WholeMonoEffectTakesOneBufferOfFourBytesPerFrame) {
  QC_MIXER mixer;
  mixer.fInit();
  auto ogg = media_maker::makeOgg(1, 44100, 22050);
  QC_SOUND* sound = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->fGetBufferSize(), 88200u);
  EXPECT_EQ(sound->fGetBufferCount(), 1);
  ASSERT_EQ(sound->fGetOpenFill().size(), 1u);
  EXPECT_EQ(sound->fGetOpenFill()[0], 44100);
  EXPECT_EQ(sound->fGetFormat(), 0x1101);
  EXPECT_EQ(sound->fGetRate(), 44100);
  EXPECT_EQ(mixer.fCountSounds(), 1u);
  // Its buffer holds it all: the decoder's codebooks and the decode buffer are given back,
  // and it still plays, stops and rewinds as before.
  EXPECT_FALSE(sound->fHasDecoder());
  QC_SOUND::fPlayFromStart(sound);
  EXPECT_TRUE(QC_SOUND::fIsPlaying(sound));
  QC_SOUND::fRewind(sound);
  EXPECT_FALSE(QC_SOUND::fIsPlaying(sound));
}

TEST(SoundOpen, StreamedTrackQueuesTwoFullBuffers) {
  QC_MIXER mixer;
  mixer.fInit();
  auto ogg = media_maker::makeOgg(2, 44100, 44100);
  QC_SOUND* sound = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  ASSERT_NE(sound, nullptr);
  EXPECT_TRUE(sound->fIsStreamed());
  EXPECT_EQ(sound->fGetBufferSize(), 10024u);
  EXPECT_EQ(sound->fGetFormat(), 0x1103);
  EXPECT_EQ(sound->fGetOpenFill(), (std::vector<int32_t>{10024, 10024}));
  EXPECT_TRUE(sound->fHasDecoder()) << "the sound thread refills its queue from the decoder";
  if (mixer.fHasDevice()) {
    EXPECT_EQ(sourceInt(sound, AL_BUFFERS_QUEUED), 2);
    EXPECT_EQ(sourceInt(sound, AL_LOOPING), AL_FALSE);
  }
}

TEST(SoundOpen, StreamedTrackShorterThanItsQueueLogsTheEnd) {
  res_test::LogCapture log;
  QC_MIXER mixer;
  mixer.fInit();
  auto ogg = media_maker::makeOgg(1, 22050, 1000);
  QC_SOUND* sound = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(sound->fGetOpenFill(), (std::vector<int32_t>{2000, 0}));
  EXPECT_TRUE(log.has("END1"));
}

// ---- playing -----------------------------------------------------------------------------

TEST(SoundPlay, NullSoundsAndSoundsWithoutADecoderAreLeftAlone) {
  QC_SOUND::fPlay(nullptr);
  QC_SOUND::fStop(nullptr);
  QC_SOUND::fRewind(nullptr);
  QC_SOUND::fPlayFrom(nullptr, 10);
  QC_SOUND::fPlayFromStart(nullptr);
  QC_SOUND::fSetPosition(nullptr, 1, 2, 3);
  EXPECT_FALSE(QC_SOUND::fIsPlaying(nullptr));
  EXPECT_EQ(QC_MIXER::fCreateSound(nullptr, "x", 1, 2, false), nullptr);
  QC_MIXER::fUpdate(nullptr);

  QC_SOUND never_opened;
  EXPECT_EQ(QC_SOUND::fPlay(&never_opened), 0);
  QC_SOUND::fRewind(&never_opened);  // no decoder: nothing happens, the flag stays
  EXPECT_TRUE(QC_SOUND::fIsPlaying(&never_opened));
  never_opened.fUpdate();
  QC_SOUND::fPlayFromStart(&never_opened);
}

TEST(SoundPlay, PlayOnAPlayingSoundDoesNotRestartIt) {
  QC_MIXER mixer;
  mixer.fInit();
  auto ogg = media_maker::makeOgg(1, 22050, 22050);
  QC_SOUND* sound = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(QC_SOUND::fPlay(sound), 0);
  EXPECT_EQ(QC_SOUND::fPlay(sound), 1);
  QC_SOUND::fStop(sound);
  EXPECT_FALSE(QC_SOUND::fIsPlaying(sound));
  QC_SOUND::fPlayFromStart(sound);
  EXPECT_TRUE(QC_SOUND::fIsPlaying(sound));
  QC_SOUND::fRewind(sound);
  EXPECT_FALSE(QC_SOUND::fIsPlaying(sound));
}

TEST(SoundPlay, RemovedSoundBelongsToTheCaller) {
  QC_MIXER mixer;
  mixer.fInit();
  auto ogg = media_maker::makeOgg(1, 22050, 2000);
  QC_SOUND* sound = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(mixer.fRemoveSound(sound), 1);
  EXPECT_EQ(mixer.fRemoveSound(sound), -1);
  EXPECT_EQ(mixer.fCountSounds(), 0u);
  delete sound;
}

// ---- streaming with the sound thread -----------------------------------------------------

TEST(SoundStreaming, TrackPlaysToItsEndThenRestartsFromTheStart) {
  QC_MIXER mixer;
  mixer.fInit();
  if (!mixer.fHasDevice()) GTEST_SKIP() << "no OpenAL device";
  auto ogg = media_maker::makeOgg(2, 44100, 13230);  // 0.3 s, more than two buffers
  QC_SOUND* track = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  ASSERT_NE(track, nullptr);
  SoundThread thread(&mixer);
  EXPECT_EQ(QC_SOUND::fPlay(track), 0);
  ASSERT_TRUE(waitUntilStopped(track, 10.0));
  {
    std::lock_guard<std::recursive_mutex> lock(QEL::qcSOUND_LOCK);
    EXPECT_NE(sourceInt(track, AL_SOURCE_STATE), AL_PLAYING);
  }
  QC_SOUND::fPlayFromStart(track);
  EXPECT_TRUE(QC_SOUND::fIsPlaying(track));
  {
    std::lock_guard<std::recursive_mutex> lock(QEL::qcSOUND_LOCK);
    // The restart queues the track's first buffers again.
    EXPECT_EQ(sourceInt(track, AL_BUFFERS_QUEUED), 2);
  }
  ASSERT_TRUE(waitUntilStopped(track, 10.0));
}

TEST(SoundStreaming, MainThreadChangesDoNotRaceTheSoundThread) {
  QC_MIXER mixer;
  mixer.fInit();
  auto track = media_maker::makeOgg(2, 44100, 44100);
  auto effect = media_maker::makeOgg(1, 22050, 2205);
  QC_SOUND* music = QC_MIXER::fCreateSound(&mixer, track.data(), static_cast<uint32_t>(track.size()), 2, true);
  ASSERT_NE(music, nullptr);
  SoundThread thread(&mixer);
  for (int i = 0; i < 60; ++i) {
    QC_SOUND::fPlayFromStart(music);
    QC_SOUND* extra = QC_MIXER::fCreateSound(&mixer, (i % 2) ? track.data() : effect.data(),
                                              static_cast<uint32_t>((i % 2) ? track.size() : effect.size()), 2,
                                              i % 2 == 1);
    ASSERT_NE(extra, nullptr);
    QC_SOUND::fPlay(extra);
    QC_SOUND::fSetPosition(music, 0.0f, 1.0f, 0.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    QC_SOUND::fRewind(music);
    QC_SOUND::fStop(extra);
    ASSERT_EQ(mixer.fRemoveSound(extra), 1);
    delete extra;
    QC_SOUND::fPlayFrom(music, 1000);
  }
  EXPECT_GT(thread.fGetPasses(), 0);
  EXPECT_EQ(mixer.fCountSounds(), 1u);
}

// ---- no device, in a process of its own; recordings on a device that plays when told --------

namespace {

// The mix, one value a frame: the loudest channel, full scale 1.
struct Recording {
  int rate = 0;
  std::vector<float> frames;
};

// OpenAL Soft's loopback device: it mixes only when asked, into memory. Time passes for the
// sounds exactly as far as the test renders, so what is recorded never depends on how busy
// the machine is. Its context is current while it lives.
class LOOPBACK_DEVICE {
 public:
  explicit LOOPBACK_DEVICE(int rate) {
    _recording.rate = rate;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    _render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (open == nullptr || _render == nullptr) return;
    _device = open(nullptr);
    if (_device == nullptr) return;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, rate, 0};
    _context = alcCreateContext(_device, attributes);
    if (_context != nullptr) alcMakeContextCurrent(_context);
  }
  ~LOOPBACK_DEVICE() {
    alcMakeContextCurrent(nullptr);
    if (_context != nullptr) alcDestroyContext(_context);
    if (_device != nullptr) alcCloseDevice(_device);
  }
  LOOPBACK_DEVICE(const LOOPBACK_DEVICE&) = delete;
  LOOPBACK_DEVICE& operator=(const LOOPBACK_DEVICE&) = delete;

  bool isOpen() const { return _context != nullptr; }
  // Plays the next `frames` frames into the recording.
  void play(int frames) {
    std::vector<int16_t> stereo(static_cast<size_t>(frames) * 2);
    _render(_device, stereo.data(), frames);
    for (size_t i = 0; i < stereo.size(); i += 2)
      _recording.frames.push_back(std::max(std::abs(stereo[i] / 32768.0f), std::abs(stereo[i + 1] / 32768.0f)));
  }
  void play(std::chrono::milliseconds time) { play(static_cast<int>(_recording.rate * time.count() / 1000)); }
  const Recording& recording() const { return _recording; }

 private:
  ALCdevice* _device = nullptr;
  ALCcontext* _context = nullptr;
  LPALCRENDERSAMPLESSOFT _render = nullptr;
  Recording _recording;
};

// The sounding part of a recording: its first to its last loud frame, and the longest run
// of quiet frames inside it.
struct Span {
  long first = -1, last = -1, longestGap = 0;
};
Span soundingSpan(const Recording& r, float threshold = 0.02f) {
  Span span;
  long gap = 0;
  for (long i = 0; i < static_cast<long>(r.frames.size()); ++i) {
    if (r.frames[static_cast<size_t>(i)] >= threshold) {
      if (span.first < 0) span.first = i;
      if (span.last >= 0) span.longestGap = std::max(span.longestGap, gap);
      span.last = i;
      gap = 0;
    } else if (span.first >= 0) {
      ++gap;
    }
  }
  return span;
}

}  // namespace

// Run only when MixerWithoutDevice starts it in a child (the driver is chosen once a process);
// a run without a filter, and so CTest's list, leaves suites named *ChildOnly out.
TEST(SoundChildOnly, NoDevice) {
  if (!isChild()) GTEST_SKIP() << "run by MixerWithoutDevice";
  res_test::LogCapture log;
  QC_MIXER mixer;
  EXPECT_EQ(mixer.fInit(), 0);
  EXPECT_FALSE(mixer.fHasDevice());
  EXPECT_TRUE(log.has("\n!Default sound device not present"));
  auto ogg = media_maker::makeOgg(2, 44100, 44100);
  QC_SOUND* track = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  QC_SOUND* effect = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(track, nullptr);
  ASSERT_NE(effect, nullptr);
  {
    SoundThread thread(&mixer);
    QC_SOUND::fPlay(track);
    QC_SOUND::fPlayFromStart(effect);
    QC_SOUND::fSetPosition(effect, 1, 2, 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    QC_SOUND::fRewind(track);
    QC_SOUND::fStop(effect);
    QC_SOUND::fPlayFrom(track, 100);
  }
  mixer.fSetListenerPosition();
  mixer.fLogError("x");
  // Silence, not a flood of OpenAL errors from the sound thread.
  for (const auto& line : log.lines()) EXPECT_EQ(line.rfind("! Al error", 0), std::string::npos) << line;
}

TEST(MixerWithoutDevice, LogsAndStaysSilentAndSafe) {
  if (isChild()) GTEST_SKIP();
  EXPECT_EQ(
      res_test::runChild("SoundChildOnly.NoDevice", {"PINDRAKE_SOUND_CHILD=1", "ALSOFT_DRIVERS=no_such_driver"}), 0);
}

// The mixer's sounds play into the loopback device, whose context is current (the mixer
// opens no device of its own), and the test makes the sound thread's passes itself: one
// every kStreamingPass of played sound, as the thread does.
TEST(SoundWave, StreamedTrackIsRecordedWholeWithoutGaps) {
  LOOPBACK_DEVICE device(44100);
  ASSERT_TRUE(device.isOpen()) << "no loopback device in this OpenAL";
  QC_MIXER mixer;
  auto ogg = media_maker::makeOgg(1, 44100, 44100);  // one second
  QC_SOUND* track = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  ASSERT_NE(track, nullptr);
  device.play(std::chrono::milliseconds(100));
  QC_SOUND::fPlayFromStart(track);
  for (int pass = 0; pass < 1000 && QC_SOUND::fIsPlaying(track); ++pass) {
    device.play(SoundThread::kStreamingPass);
    QEL::QC_MIXER::fUpdate(&mixer);
  }
  EXPECT_FALSE(QC_SOUND::fIsPlaying(track)) << "the track never came to its end";
  device.play(std::chrono::milliseconds(150));

  const Span span = soundingSpan(device.recording());
  ASSERT_GE(span.first, 0) << "the recording is silent";
  EXPECT_NEAR(static_cast<double>(span.last - span.first + 1), 44100.0, 44100.0 * 0.05);
  // A queue that ran dry would leave a stretch of silence inside the track.
  EXPECT_LT(span.longestGap, 44);
}

TEST(SoundWave, WholeEffectIsRecordedOnce) {
  LOOPBACK_DEVICE device(44100);
  ASSERT_TRUE(device.isOpen()) << "no loopback device in this OpenAL";
  QC_MIXER mixer;
  auto ogg = media_maker::makeOgg(2, 22050, 5512);  // a quarter of a second
  QC_SOUND* effect = QC_MIXER::fCreateSound(&mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(effect, nullptr);
  device.play(std::chrono::milliseconds(100));
  QC_SOUND::fPlayFromStart(effect);
  device.play(std::chrono::milliseconds(600));

  const Span span = soundingSpan(device.recording());
  ASSERT_GE(span.first, 0) << "the recording is silent";
  // 5512 frames at 22050 Hz resampled to the device's 44100 Hz.
  EXPECT_NEAR(static_cast<double>(span.last - span.first + 1), 11024.0, 11024.0 * 0.05);
  EXPECT_LT(span.longestGap, 44);
}
