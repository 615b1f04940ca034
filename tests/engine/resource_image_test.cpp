// Images through the resource loader: one texture per record, use counts, unsubscription,
// release and the failures of the image getter.
#include <gtest/gtest.h>

#include "engine/render.h"
#include "engine/resource_loader.h"
#include "engine/texture.h"
#include "platform/image_codec.h"
#include "res_test_util.h"

using QEL::QC_RESOURCE_LOADER;
using QEL::QC_TEXTURE;
using QEL::QS_RESOURCE;

namespace {

void writeImage(const std::filesystem::path& path, int width, int height) {
  std::filesystem::create_directories(path.parent_path());
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4, 200);
  ASSERT_TRUE(platform::writePng(path.string(), rgba.data(), width, height));
}

class ResourceImages : public ::testing::Test {
 protected:
  void SetUp() override {
    render = res_test::testRenderer();
    if (!render) GTEST_SKIP() << "no render device";
    writeImage(tree.resources() / "bonusCover.png", 100, 50);
    writeImage(tree.resources() / "interface/pause_window/button_continue.png", 8, 4);
    tree.file("not_an_image.png", "plain text, no picture");
    ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  }
  QEL::QC_RENDER* render = nullptr;
  res_test::ResourceTree tree;
  QC_RESOURCE_LOADER loader;
};

}  // namespace

TEST_F(ResourceImages, SameNameGivesTheSameTextureLoadedOnce) {
  QC_TEXTURE* first = loader.fGetImage("bonusCover.png");
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, render->fGetDefaultTexture());
  EXPECT_EQ(first->fGetSize().x, 100);
  EXPECT_EQ(first->fGetSize().y, 50);
  EXPECT_EQ(loader.fGetImage("bonusCover.png"), first);
  EXPECT_EQ(loader.fGetImagesLoaded(), 1);
  QS_RESOURCE* record = loader.fFindResource("bonusCover.png");
  EXPECT_EQ(record->fGetUses(), 2);
  EXPECT_EQ(record->_type, 2);

  res_test::LogCapture log;
  EXPECT_EQ(loader.fUnscribeImage(first), 1);
  EXPECT_EQ(record->fGetUses(), 1);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(loader.fUnscribeImage(first), 1);
  EXPECT_TRUE(log.has("Fully unscribe bonusCover.png"));
  EXPECT_EQ(loader.fGetReleases(), 1);
  // Nothing was freed: the next request gets the same texture and counts a use again.
  EXPECT_EQ(loader.fGetImage("bonusCover.png"), first);
  EXPECT_EQ(record->fGetUses(), 1);
  EXPECT_EQ(loader.fGetImagesLoaded(), 1);
  EXPECT_EQ(loader.fGetImageIfLoaded("bonusCover.png"), first);
  EXPECT_EQ(loader.fPreloadImage("bonusCover.png"), 0);
}

TEST_F(ResourceImages, UnscribingATextureNoRecordHoldsIsAnError) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fUnscribeImage(render->fGetDefaultTexture()), 0);
  EXPECT_TRUE(log.has("Resource error in fUnscribeImage"));
  QC_TEXTURE* straight = render->fLoadTexture((tree.resources() / "bonusCover.png").c_str());
  EXPECT_EQ(loader.fUnscribeImage(straight), 0);
  render->fReleaseTexture(straight);
}

TEST_F(ResourceImages, PackImageBeforeItsPackIsSubscribedIsSilentlyTheDefault) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetImage("interface/pause_window button_continue.png"), render->fGetDefaultTexture());
  EXPECT_TRUE(log.lines().empty());
  EXPECT_TRUE(tree.boxes().empty());
  // Two or more blanks: the default, no box either.
  EXPECT_EQ(loader.fGetImage("a b c.png"), render->fGetDefaultTexture());
  EXPECT_TRUE(tree.boxes().empty());

  ASSERT_EQ(loader.fSubscribePack("interface/pause_window", nullptr), 1);
  QC_TEXTURE* button = loader.fGetImage("interface/pause_window button_continue.png");
  EXPECT_NE(button, render->fGetDefaultTexture());
  EXPECT_EQ(button->fGetSize().x, 8);
}

TEST_F(ResourceImages, MissingImagesReportAndGiveTheDefault) {
  ASSERT_EQ(loader.fSubscribePack("interface/pause_window", nullptr), 1);
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetImage("interface/pause_window missing.png"), render->fGetDefaultTexture());
  EXPECT_TRUE(log.has("slt size 2"));
  EXPECT_TRUE(log.has("in interface/pause_window not find missing.png"));
  EXPECT_TRUE(tree.hasBox("missing.png", "Not find"));

  // The name is looked up and then said missing: one box, the second only logged.
  EXPECT_EQ(loader.fGetImage("nowhere.png"), render->fGetDefaultTexture());
  size_t noResource = 0;
  for (const auto& box : tree.boxes()) noResource += box == std::make_pair(std::string("nowhere.png"), std::string("No resource"));
  EXPECT_EQ(noResource, 1u);
  EXPECT_TRUE(log.has("No box again for nowhere.png, said before: [No resource] nowhere.png"));
  EXPECT_EQ(loader.fGetImage(nullptr), render->fGetDefaultTexture());
  EXPECT_EQ(loader.fPreloadImage(nullptr), -1);
  EXPECT_EQ(loader.fPreloadImage("interface/pause_window missing.png"), -1);
  EXPECT_EQ(loader.fGetImageIfLoaded("bonusCover.png"), render->fGetDefaultTexture());
}

TEST_F(ResourceImages, UndecodableOrVanishedFilesGiveTheDefault) {
  EXPECT_EQ(loader.fPreloadImage("not_an_image.png"), -112);
  EXPECT_TRUE(tree.hasBox("Texture load from memory failed: not_an_image.png", ""));
  QS_RESOURCE* record = loader.fFindResource("not_an_image.png");
  EXPECT_TRUE(record->fIsReady());
  EXPECT_EQ(record->fGetObject(), render->fGetDefaultTexture());
  // Every scene subscribes the main repository again and so loads its pictures again: the
  // refused picture is said once.
  res_test::LogCapture again;
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  EXPECT_EQ(loader.fPreloadImage("not_an_image.png"), -112);
  EXPECT_EQ(tree.boxes().size(), 1u);
  EXPECT_TRUE(again.has("No box again for not_an_image.png, said before: Texture load from memory failed: "
                        "not_an_image.png"));

  std::filesystem::remove(tree.resources() / "bonusCover.png");
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetImage("bonusCover.png"), render->fGetDefaultTexture());
  EXPECT_TRUE(log.has("Cant load content bonusCover.png"));
  EXPECT_FALSE(loader.fFindResource("bonusCover.png")->fIsReady());
}

TEST_F(ResourceImages, ResubscribingTheMainRepositoryLoadsTheImageAgain) {
  QC_TEXTURE* before = loader.fGetImage("bonusCover.png");
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  QC_TEXTURE* after = loader.fGetImage("bonusCover.png");
  EXPECT_NE(after, before);
  EXPECT_NE(after, render->fGetDefaultTexture());
  EXPECT_EQ(loader.fGetImagesLoaded(), 2);
}

TEST_F(ResourceImages, FreeImageReleasesOnlyAnUnusedTexture) {
  QC_TEXTURE* texture = loader.fGetImage("bonusCover.png");
  QS_RESOURCE* record = loader.fFindResource("bonusCover.png");
  EXPECT_EQ(loader.fFreeImage(texture), 0);
  loader.fUnscribeImage(texture);
  res_test::LogCapture log;
  EXPECT_EQ(loader.fFreeImage(texture), 1);
  EXPECT_TRUE(log.has("release tex bonusCover.png"));
  EXPECT_FALSE(record->fIsReady());
  EXPECT_EQ(record->fGetObject(), nullptr);
  QC_TEXTURE* again = loader.fGetImage("bonusCover.png");
  EXPECT_NE(again, render->fGetDefaultTexture());
  EXPECT_EQ(loader.fFindByObject(again), record);
}

// A picture wider than any texture the game makes stands in as the default texture, decided
// from its header alone; one at the limit loads.
TEST_F(ResourceImages, APictureWiderThanTheLargestTextureGetsTheDefaultTexture) {
  writeImage(tree.resources() / "interface" / "wide.png", 8193, 1);
  writeImage(tree.resources() / "interface" / "limit.png", 8192, 1);
  ASSERT_EQ(loader.fSubscribePack("interface", nullptr), 1);
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetImage("interface wide.png"), render->fGetDefaultTexture());
  EXPECT_TRUE(log.has("Image of 8193 x 1 refused, larger than the largest texture (8192): interface/wide.png"));
  EXPECT_TRUE(log.has("Image not loaded, the default texture stands in: wide.png"));
  QC_TEXTURE* limit = loader.fGetImage("interface limit.png");
  EXPECT_NE(limit, render->fGetDefaultTexture());
  EXPECT_EQ(limit->fGetSize().x, 8192);
}

TEST_F(ResourceImages, TheLastUserLettingAnImageGoReleasesItsTexture) {
  QC_TEXTURE* texture = loader.fGetImage("bonusCover.png");
  ASSERT_EQ(loader.fGetImage("bonusCover.png"), texture);
  QS_RESOURCE* record = loader.fFindResource("bonusCover.png");
  EXPECT_EQ(loader.fReleaseImageUse(texture), 0);  // one user still holds it
  EXPECT_TRUE(record->fIsReady());
  res_test::LogCapture log;
  EXPECT_EQ(loader.fReleaseImageUse(texture), 1);
  EXPECT_TRUE(log.has("Fully unscribe bonusCover.png"));
  EXPECT_TRUE(log.has("release tex bonusCover.png"));
  EXPECT_FALSE(record->fIsReady());
  // The default texture stands in for failures and is nobody's to release.
  QC_TEXTURE* fallback = loader.fGetImage("not_an_image.png");
  ASSERT_EQ(fallback, render->fGetDefaultTexture());
  EXPECT_EQ(loader.fReleaseImageUse(fallback), 0);
  EXPECT_EQ(render->fGetDefaultTexture(), fallback);
}

// The menu loads a hundred pictures it may never show: until a picture is first drawn (or
// locked) it holds none of its file's bytes and reads them then. A file gone by then leaves
// the checker and a line in the log, never a crash.
TEST_F(ResourceImages, APictureNotShownYetHoldsNoBytesAndReadsItsFileWhenFirstNeeded) {
  render->_pictureSource = [this](QC_TEXTURE* texture, std::vector<uint8_t>& bytes) {
    return loader.fReadImageAgain(texture, bytes);
  };
  writeImage(tree.resources() / "interface" / "gone.png", 6, 6);
  ASSERT_EQ(loader.fSubscribePack("interface", nullptr), 1);
  QC_TEXTURE* cover = loader.fGetImage("bonusCover.png");
  QC_TEXTURE* gone = loader.fGetImage("interface gone.png");
  ASSERT_EQ(render->_waitingPictures.count(cover), 1u);
  EXPECT_TRUE(render->_waitingPictures.at(cover).empty());
  EXPECT_TRUE(render->_waitingPictures.at(gone).empty());

  const auto* texels = static_cast<const uint8_t*>(render->fTextureLock(cover));
  ASSERT_NE(texels, nullptr);
  EXPECT_EQ(texels[0], 200);
  EXPECT_EQ(texels[4 * (100 * 50 - 1) + 3], 200);
  render->fTextureUnlock(cover);
  EXPECT_EQ(render->_waitingPictures.count(cover), 0u);

  std::filesystem::remove(tree.resources() / "interface" / "gone.png");
  res_test::LogCapture log;
  EXPECT_NE(render->fTextureLock(gone), nullptr);
  render->fTextureUnlock(gone);
  EXPECT_TRUE(log.has("Image cannot be read again: gone.png"));
  render->_pictureSource = nullptr;
}
