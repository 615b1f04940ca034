// Loading records as byte buffers and XML documents, use counts, release and the error
// reports (error text, resource-error callback, message boxes).
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cstring>

#include "engine/globals.h"
#include "engine/resource_loader.h"
#include "engine/sound.h"
#include "media_maker.h"
#include "res_test_util.h"

using QEL::QC_RESOURCE_LOADER;
using QEL::QS_RESOURCE;

namespace {

class ResourceLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.file("ten_bytes.bin", "0123456789");
    tree.file("fonts.xml", "<font size=\"20\"><page id=\"0\"/></font>");
    tree.file("broken.xml", "<font size=\"20\"><page id=\"0\"></fon");
    tree.file("sounds/button_click.ogg", "not really ogg");
    ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
    ASSERT_EQ(loader.fSubscribePack("sounds", nullptr), 1);
  }
  res_test::ResourceTree tree;
  QC_RESOURCE_LOADER loader;
};

}  // namespace

TEST_F(ResourceLoading, ByteBufferIsReadOnceWithItsTerminatorCounted) {
  EXPECT_EQ(loader.fLoadByteBuffer("sounds button_click.ogg"), 1);
  QS_RESOURCE* record = loader.fFindResource("sounds button_click.ogg");
  ASSERT_NE(record, nullptr);
  const void* bytes = record->fGetObject();
  EXPECT_EQ(record->_type, 5);
  EXPECT_EQ(record->fGetUses(), 1);

  // The file changes on disk; a second load must not read it again.
  tree.file("sounds/button_click.ogg", "something else entirely");
  EXPECT_EQ(loader.fLoadByteBuffer("sounds button_click.ogg"), -117);
  EXPECT_EQ(record->fGetObject(), bytes);
  EXPECT_EQ(record->_size, std::strlen("not really ogg") + 1);
  EXPECT_EQ(record->fGetUses(), 1);

  ASSERT_EQ(loader.fLoadByteBuffer("ten_bytes.bin"), 1);
  QS_RESOURCE* ten = loader.fFindResource("ten_bytes.bin");
  ASSERT_EQ(ten->_size, 11u);
  EXPECT_EQ(static_cast<const uint8_t*>(ten->fGetObject())[10], 0);
  EXPECT_EQ(loader.fGetByteBuffer("ten_bytes.bin"), ten->fGetObject());
  EXPECT_EQ(tree.errors(), 0);
}

TEST_F(ResourceLoading, ByteBufferFailuresSetTheErrorTextAndInvokeTheCallback) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fLoadByteBuffer("missing.ogg"), -1);
  EXPECT_TRUE(log.has("No resource missing.ogg"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "No resource ");
  EXPECT_EQ(tree.errors(), 1);

  // Listed, then gone from the disk before it is read.
  std::filesystem::remove(tree.resources() / "ten_bytes.bin");
  EXPECT_EQ(loader.fLoadByteBuffer("ten_bytes.bin"), -1);
  EXPECT_TRUE(log.has("Cant load res ten_bytes.bin"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "Cant load res ");
  EXPECT_EQ(tree.errors(), 2);

  ASSERT_NE(loader.fGetXmlDoc("fonts.xml"), nullptr);
  EXPECT_EQ(loader.fLoadByteBuffer("fonts.xml"), -118);
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "QC_RESOURCE_LOADER::fLoadByteBuffer error resource");
  EXPECT_EQ(tree.errors(), 3);

  EXPECT_EQ(loader.fGetByteBuffer("sounds button_click.ogg"), nullptr);
  EXPECT_TRUE(log.has("Res not loaded sounds button_click.ogg"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "Res not loaded ");
  EXPECT_EQ(loader.fGetByteBuffer("nowhere.bin"), nullptr);
  EXPECT_TRUE(log.has("No resource named nowhere.bin"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "No resource named ");
  EXPECT_EQ(tree.errors(), 5);
}

TEST_F(ResourceLoading, ByteBufferWithAUseIsNotFreed) {
  ASSERT_EQ(loader.fLoadByteBuffer("ten_bytes.bin"), 1);
  QS_RESOURCE* record = loader.fFindResource("ten_bytes.bin");
  EXPECT_EQ(loader.fFreeByteBuffer("ten_bytes.bin"), 1);
  EXPECT_TRUE(record->fIsReady());
  record->_uses = 0;
  res_test::LogCapture log;
  const void* bytes = record->fGetObject();
  EXPECT_EQ(loader.fFreeByteBuffer("ten_bytes.bin"), 1);
  EXPECT_TRUE(log.has("resource default release, type = 5"));
  EXPECT_FALSE(record->fIsReady());
  // Sounds may still play from the bytes.
  EXPECT_EQ(record->fGetObject(), bytes);
  EXPECT_EQ(std::memcmp(bytes, "0123456789", 10), 0);
  EXPECT_EQ(loader.fFreeByteBuffer("missing.bin"), 1);
}

TEST_F(ResourceLoading, XmlDocumentIsParsedOnceAndCountsItsUses) {
  pugi::xml_document* first = loader.fGetXmlDoc("fonts.xml");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->child("font").attribute("size").as_int(), 20);
  // Changed on disk: the document in memory is what later requests get.
  tree.file("fonts.xml", "<other/>");
  EXPECT_EQ(loader.fGetXmlDoc("fonts.xml"), first);
  QS_RESOURCE* record = loader.fFindResource("fonts.xml");
  EXPECT_EQ(record->fGetUses(), 2);
  EXPECT_EQ(record->_type, 4);
  EXPECT_EQ(loader.fGetXmlDocIfLoaded("fonts.xml"), first);
  EXPECT_EQ(loader.fPreloadXmlDoc("fonts.xml"), 0);
  EXPECT_EQ(record->fGetUses(), 2);

  // A malformed file gives what could be parsed.
  pugi::xml_document* broken = loader.fGetXmlDoc("broken.xml");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->child("font").attribute("size").as_int(), 20);
}

TEST_F(ResourceLoading, XmlFailuresShowTheirMessageBoxes) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fGetXmlDoc("absent.xml"), nullptr);
  EXPECT_TRUE(log.has("Resource not found absent.xml"));
  // The lookup of the bare name has said it missing already: one box for the file.
  EXPECT_TRUE(tree.hasBox("absent.xml", "No resource"));
  EXPECT_EQ(tree.boxes().size(), 1u);
  EXPECT_TRUE(log.has("No box again for absent.xml, said before: [Resource not found ] absent.xml"));
  EXPECT_EQ(loader.fGetXmlDocIfLoaded("absent.xml"), nullptr);
  EXPECT_EQ(loader.fPreloadXmlDoc(nullptr), -1);

  std::filesystem::remove(tree.resources() / "broken.xml");
  EXPECT_EQ(loader.fGetXmlDoc("broken.xml"), nullptr);
  EXPECT_TRUE(log.has("Cant load content broken.xml"));
  EXPECT_TRUE(tree.hasBox("broken.xml", "Cant load content "));
  EXPECT_EQ(loader.fPreloadXmlDoc("broken.xml"), -1);
}

TEST_F(ResourceLoading, XmlDocumentIsFreedOnlyWithoutUses) {
  EXPECT_EQ(loader.fXmlDocFree(nullptr), -1);
  EXPECT_TRUE(tree.hasBox("QC_RESOURCE_LOADER::fXmlDocFree", "engine/resource_loader.cpp"));
  EXPECT_EQ(loader.fFreeImage(nullptr), -1);
  EXPECT_TRUE(tree.hasBox("QC_RESOURCE_LOADER::fFreeImage", "engine/resource_loader.cpp"));

  pugi::xml_document* document = loader.fGetXmlDoc("fonts.xml");
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(loader.fXmlDocFree(document), 0);
  QS_RESOURCE* record = loader.fFindResource("fonts.xml");
  record->_uses = 0;
  EXPECT_EQ(loader.fXmlDocFree(document), 1);
  EXPECT_FALSE(record->fIsReady());
  int unrelated = 0;
  EXPECT_EQ(loader.fXmlDocFree(&unrelated), 0);
  // Loaded again on the next request.
  EXPECT_NE(loader.fGetXmlDoc("fonts.xml"), nullptr);
}

TEST(ResourceSound, SoundPlaysFromItsByteBufferRecord) {
  res_test::ResourceTree tree;
  tree.file("sounds/track1.ogg", [] {
    auto ogg = media_maker::makeOgg(2, 44100, 4410);
    return std::string(ogg.begin(), ogg.end());
  }());
  tree.file("sounds/broken.ogg", "OggS and then nothing");
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("sounds", nullptr), 1);
  QEL::QC_MIXER mixer;
  mixer.fInit();
  ASSERT_EQ(loader.fLoadByteBuffer("sounds track1.ogg"), 1);
  QS_RESOURCE* record = loader.fFindResource("sounds track1.ogg");
  QEL::QC_SOUND* track = QEL::QC_MIXER::fCreateSound(&mixer, record->fGetObject(), record->_size, 2, true);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->fGetOpenFill()[0], 10024);

  res_test::LogCapture log;
  ASSERT_EQ(loader.fLoadByteBuffer("sounds broken.ogg"), 1);
  QS_RESOURCE* broken = loader.fFindResource("sounds broken.ogg");
  EXPECT_EQ(QEL::QC_MIXER::fCreateSound(&mixer, broken->fGetObject(), broken->_size, 2, false), nullptr);
  EXPECT_TRUE(log.has("Bad loaded data sound"));
}
