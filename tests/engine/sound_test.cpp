// Sounds and the mixer on the real openal-soft: in this process on its null backend, in
// child processes with no device at all and with the wave backend recording to a file.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

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

// ---- no device and the wave backend, each in a process of its own -----------------------

namespace {

struct Recording {
  int channels = 0;
  int rate = 0;
  std::vector<float> frames;  // the loudest channel of each frame, full scale 1
};

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

bool readWave(const std::filesystem::path& path, Recording& out) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
    return false;
  int bits = 0;
  bool isFloat = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const uint32_t length = le32(b, at + 4);
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0) {
      uint16_t tag = le16(b, at + 8);
      out.channels = le16(b, at + 10);
      out.rate = static_cast<int>(le32(b, at + 12));
      bits = le16(b, at + 22);
      if (tag == 0xFFFE) tag = le16(b, at + 32);  // the sub-format's first two bytes
      isFloat = tag == 3;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
      if (out.channels <= 0 || (bits != 16 && bits != 32)) return false;
      const size_t start = at + 8;
      const size_t end = std::min(b.size(), start + length);
      const size_t step = static_cast<size_t>(bits / 8) * static_cast<size_t>(out.channels);
      for (size_t p = start; p + step <= end; p += step) {
        float loudest = 0.0f;
        for (int c = 0; c < out.channels; ++c) {
          const size_t q = p + static_cast<size_t>(c * bits / 8);
          float v = 0.0f;
          if (bits == 16) {
            v = static_cast<int16_t>(le16(b, q)) / 32768.0f;
          } else if (isFloat) {
            uint32_t raw = le32(b, q);
            std::memcpy(&v, &raw, 4);
          } else {
            v = static_cast<int32_t>(le32(b, q)) / 2147483648.0f;
          }
          loudest = std::max(loudest, std::fabs(v));
        }
        out.frames.push_back(loudest);
      }
      return true;
    }
    at += 8 + length + (length & 1);
  }
  return false;
}

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

std::vector<std::string> waveEnvironment(const res_test::TempDir& dir, const std::string& test) {
  const auto conf = dir.path() / "alsoft.conf";
  res_test::writeFile(conf, "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                            "frequency = 44100\n[wave]\nfile = " +
                                (dir.path() / (test + ".wav")).string() + "\n");
  return {"PINDRAKE_SOUND_CHILD=1", "ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + conf.string(),
          "PINDRAKE_WAVE_DIR=" + dir.path().string()};
}

}  // namespace

// Children: run only when a parent test starts them.
TEST(SoundChild, NoDevice) {
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

TEST(SoundChild, RecordStreamed) {
  if (!isChild()) GTEST_SKIP() << "run by SoundWave";
  auto* mixer = new QC_MIXER();
  ASSERT_EQ(mixer->fInit(), 1);
  auto ogg = media_maker::makeOgg(1, 44100, 44100);  // one second
  QC_SOUND* track = QC_MIXER::fCreateSound(mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, true);
  ASSERT_NE(track, nullptr);
  {
    SoundThread thread(mixer);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    QC_SOUND::fPlayFromStart(track);
    ASSERT_TRUE(waitUntilStopped(track, 20.0));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  delete mixer;  // closes the device, which completes the file
}

TEST(SoundChild, RecordWhole) {
  if (!isChild()) GTEST_SKIP() << "run by SoundWave";
  auto* mixer = new QC_MIXER();
  ASSERT_EQ(mixer->fInit(), 1);
  auto ogg = media_maker::makeOgg(2, 22050, 5512);  // a quarter of a second
  QC_SOUND* effect = QC_MIXER::fCreateSound(mixer, ogg.data(), static_cast<uint32_t>(ogg.size()), 2, false);
  ASSERT_NE(effect, nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  QC_SOUND::fPlayFromStart(effect);
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  delete mixer;
}

TEST(MixerWithoutDevice, LogsAndStaysSilentAndSafe) {
  if (isChild()) GTEST_SKIP();
  EXPECT_EQ(res_test::runChild("SoundChild.NoDevice", {"PINDRAKE_SOUND_CHILD=1", "ALSOFT_DRIVERS=no_such_driver"}),
            0);
}

TEST(SoundWave, StreamedTrackIsRecordedWholeWithoutGaps) {
  if (isChild()) GTEST_SKIP();
  res_test::TempDir dir("wave");
  ASSERT_EQ(res_test::runChild("SoundChild.RecordStreamed", waveEnvironment(dir, "streamed")), 0);
  Recording recording;
  ASSERT_TRUE(readWave(dir.path() / "streamed.wav", recording));
  ASSERT_EQ(recording.rate, 44100);
  // Device open the whole time: at least the second of the track was written.
  EXPECT_GE(recording.frames.size(), 44100u);
  const Span span = soundingSpan(recording);
  ASSERT_GE(span.first, 0) << "the recording is silent";
  const long sounding = span.last - span.first + 1;
  EXPECT_NEAR(static_cast<double>(sounding), 44100.0, 44100.0 * 0.05);
  // A queue that ran dry would leave a stretch of silence inside the track.
  EXPECT_LT(span.longestGap, 44);
}

TEST(SoundWave, WholeEffectIsRecordedOnce) {
  if (isChild()) GTEST_SKIP();
  res_test::TempDir dir("wave");
  ASSERT_EQ(res_test::runChild("SoundChild.RecordWhole", waveEnvironment(dir, "whole")), 0);
  Recording recording;
  ASSERT_TRUE(readWave(dir.path() / "whole.wav", recording));
  const Span span = soundingSpan(recording);
  ASSERT_GE(span.first, 0) << "the recording is silent";
  // 5512 frames at 22050 Hz resampled to the device's 44100 Hz.
  EXPECT_NEAR(static_cast<double>(span.last - span.first + 1), 11024.0, 11024.0 * 0.05);
  EXPECT_LT(span.longestGap, 44);
}
