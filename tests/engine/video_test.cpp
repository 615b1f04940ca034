// The Theora video player on files made by libtheora's encoder, alone and through the
// resource loader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/globals.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "engine/texture.h"
#include "engine/video.h"
#include "media_maker.h"
#include "res_test_util.h"

using QEL::QC_VIDEO;

namespace {

constexpr int kWidth = 40, kHeight = 30, kFrames = 6;

class VideoPlayer : public ::testing::Test {
 protected:
  void SetUp() override {
    render = res_test::testRenderer();
    QC_VIDEO::sCountdown = 0.0f;
    QEL::qcFRAME_DELTA = 0.05f;  // above the interval: every update is due
    video = media_maker::makeTheora(kWidth, kHeight, kFrames);
    ASSERT_FALSE(video.empty());
    path = dir.path() / "clip.ogv";
    res_test::writeFile(path, video);
  }
  void TearDown() override { QEL::qcFRAME_DELTA = 0.0f; }
  // The grey of frame f, as the maker encodes it.
  static int grey(int f) { return 16 + (40 * f) % 220; }

  QEL::QC_RENDER* render = nullptr;
  res_test::TempDir dir{"video"};
  std::vector<uint8_t> video;
  std::filesystem::path path;
};

}  // namespace

TEST_F(VideoPlayer, DecodesEveryFrameIntoBgraAndTheTexture) {
  QC_VIDEO player(path.c_str(), false, 30.0f);
  ASSERT_TRUE(player.fHasHeaders());
  EXPECT_EQ(player.fGetWidth(), kWidth);
  EXPECT_EQ(player.fGetHeight(), kHeight);
  player.fUpdate();  // not playing: nothing decoded
  EXPECT_EQ(player.fGetFramesDecoded(), 0);

  player._playing = 1;
  for (int f = 0; f < kFrames; ++f) {
    player.fUpdate();
    ASSERT_EQ(player.fGetFramesDecoded(), f + 1);
    const uint8_t* pixels = player.fGetFrameBuffer();
    ASSERT_NE(pixels, nullptr);
    for (int at : {0, (kWidth * kHeight / 2 + 7) * 4, (kWidth * kHeight - 1) * 4}) {
      EXPECT_NEAR(pixels[at + 0], grey(f), 8) << "frame " << f;  // blue
      EXPECT_NEAR(pixels[at + 1], grey(f), 8);                   // green
      EXPECT_NEAR(pixels[at + 2], grey(f), 8);                   // red
      EXPECT_EQ(pixels[at + 3], 255);
    }
  }
  EXPECT_GT(player._elapsed, 0.0);
  if (render) {
    QEL::QC_TEXTURE* texture = player.fGetTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->fGetSize().x, kWidth);
    EXPECT_EQ(texture->fGetSize().y, kHeight);
    const void* bits = render->fTextureLock(texture);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(std::memcmp(bits, player.fGetFrameBuffer(), kWidth * kHeight * 4), 0);
    render->fTextureUnlock(texture);
  }

  res_test::LogCapture log;
  player.fUpdate();
  EXPECT_TRUE(log.has("End of file! Looping 0"));
  EXPECT_EQ(player._playing, 0);
  EXPECT_EQ(player.fGetFramesDecoded(), kFrames);
}

TEST_F(VideoPlayer, FramesArePacedByTheInterval) {
  QC_VIDEO player(path.c_str(), false, 10.0f);
  player._playing = 1;
  QEL::qcFRAME_DELTA = 0.03f;  // a frame every 0.1 s: due at the 1st, 4th and 7th updates
  int decodedAt[8] = {};
  for (int i = 1; i <= 7; ++i) {
    player.fUpdate();
    decodedAt[i] = player.fGetFramesDecoded();
  }
  EXPECT_EQ(decodedAt[1], 1);
  EXPECT_EQ(decodedAt[3], 1);
  EXPECT_EQ(decodedAt[4], 2);
  EXPECT_EQ(decodedAt[6], 2);
  EXPECT_EQ(decodedAt[7], 3);
}

TEST_F(VideoPlayer, LoopingStartsTheFileOverFromItsHeaders) {
  QC_VIDEO player(path.c_str(), true, 30.0f);
  player._playing = 1;
  res_test::LogCapture log;
  for (int i = 0; i < kFrames * 2 + 3; ++i) player.fUpdate();
  EXPECT_TRUE(log.has("End of file! Looping 1"));
  EXPECT_EQ(player._playing, 1);
  EXPECT_GT(player.fGetFramesDecoded(), kFrames);
}

TEST_F(VideoPlayer, TruncatedStreamsEndWithoutHarm) {
  // Cut inside the last page: what came before it plays, then the end of the file.
  res_test::writeFile(dir.path() / "cut.ogv", std::vector<uint8_t>(video.begin(), video.end() - 20));
  {
    QC_VIDEO player((dir.path() / "cut.ogv").c_str(), false, 30.0f);
    ASSERT_TRUE(player.fHasHeaders());
    player._playing = 1;
    for (int i = 0; i < kFrames + 2 && player._playing; ++i) player.fUpdate();
    EXPECT_EQ(player._playing, 0);
    EXPECT_LT(player.fGetFramesDecoded(), kFrames);
  }
  // Cut inside the headers: no headers, and updates do nothing.
  res_test::writeFile(dir.path() / "headers.ogv", std::vector<uint8_t>(video.begin(), video.begin() + 100));
  res_test::LogCapture log;
  QC_VIDEO player((dir.path() / "headers.ogv").c_str(), false, 30.0f);
  EXPECT_TRUE(log.has("File finished error"));
  EXPECT_FALSE(player.fHasHeaders());
  player._playing = 1;
  player.fUpdate();
  EXPECT_EQ(player.fGetFramesDecoded(), 0);
}

TEST_F(VideoPlayer, FilesThatAreNotTheoraVideos) {
  res_test::LogCapture log;
  QC_VIDEO missing((dir.path() / "nothing.ogv").c_str(), false, 30.0f);
  EXPECT_TRUE(log.has("file not open"));
  EXPECT_FALSE(missing.fHasHeaders());
  missing._playing = 1;
  missing.fUpdate();

  auto sound = media_maker::makeOgg(1, 22050, 2205);
  res_test::writeFile(dir.path() / "sound.ogg", sound);
  QC_VIDEO vorbis((dir.path() / "sound.ogg").c_str(), false, 30.0f);
  EXPECT_TRUE(log.has("No Theora stream"));
  EXPECT_FALSE(vorbis.fHasHeaders());

  res_test::writeFile(dir.path() / "text.ogv", std::string(20000, 'x'));
  QC_VIDEO text((dir.path() / "text.ogv").c_str(), false, 30.0f);
  EXPECT_FALSE(text.fHasHeaders());
}

TEST_F(VideoPlayer, ReleaseClosesAndClearsEverything) {
  QC_VIDEO player(path.c_str(), false, 30.0f);
  player._playing = 1;
  player.fUpdate();
  player.fRelease();
  EXPECT_EQ(player._file, nullptr);
  EXPECT_EQ(player.fGetTexture(), nullptr);
  EXPECT_EQ(player.fGetFrameBuffer(), nullptr);
  EXPECT_FALSE(player.fHasHeaders());
  player._playing = 1;
  player.fUpdate();
  player.fRelease();
}

TEST_F(VideoPlayer, LoaderOpensVideosByName) {
  res_test::ResourceTree tree;
  tree.file("movies/intro.ogv", std::string(video.begin(), video.end()));
  QEL::QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("movies", nullptr), 1);
  QC_VIDEO* first = loader.fGetVideo("movies intro.ogv");
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->fHasHeaders());
  EXPECT_EQ(loader.fGetVideo("movies intro.ogv"), first);
  QEL::QS_RESOURCE* record = loader.fFindResource("movies intro.ogv");
  EXPECT_EQ(record->_type, 6);
  EXPECT_EQ(record->fGetUses(), 2);
  first->_playing = 1;
  first->fUpdate();
  EXPECT_EQ(first->fGetFramesDecoded(), 1);

  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetVideo("movies outro.ogv"), nullptr);
  EXPECT_TRUE(log.has("No resource movies outro.ogv"));
  EXPECT_TRUE(tree.hasBox("movies outro.ogv", "Resource not found "));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "movies outro.ogv");
  EXPECT_EQ(tree.errors(), 1);
  EXPECT_EQ(loader.fGetVideo("a b c"), nullptr);
  EXPECT_EQ(tree.errors(), 2);
  // The video's look-up has lines of its own, not those of the other resources'.
  EXPECT_FALSE(log.has("Resource error"));
  EXPECT_FALSE(log.has("WTF resource name"));

  record->_uses = 0;
  QEL::QS_RESOURCE::fDefaultRelease(record);
  EXPECT_TRUE(log.has("fclose res"));
  EXPECT_FALSE(record->fIsReady());
  EXPECT_EQ(record->fGetObject(), nullptr);
}

TEST_F(VideoPlayer, LoaderReportsVideosItCannotOpen) {
  res_test::ResourceTree tree;
  tree.file("movies/intro.ogv", std::string(video.begin(), video.end()));
  ASSERT_TRUE(res_test::writeZip(tree.resources() / "movies.zip", {{"zipped.ogv", "x"}}, "pw"));
  QEL::QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("movies", nullptr), 1);
  ASSERT_EQ(loader.fSubscribePack("movies.zip", "pw"), 1);
  std::filesystem::remove(tree.resources() / "movies/intro.ogv");
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetVideo("movies intro.ogv"), nullptr);
  EXPECT_TRUE(log.has("Cant load content intro.ogv"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "intro.ogv");
  EXPECT_TRUE(tree.hasBox("intro.ogv", "Resource not found "));
  // A zip member has no file of its own to stream from.
  EXPECT_EQ(loader.fGetVideo("movies.zip zipped.ogv"), nullptr);
  EXPECT_EQ(tree.errors(), 2);
}
