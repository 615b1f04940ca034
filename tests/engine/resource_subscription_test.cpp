// The main repository, folder packs and password zip packs.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/globals.h"
#include "engine/resource_loader.h"
#include "res_test_util.h"

using QEL::QC_RESOURCE_LOADER;
using QEL::QS_RESOURCE;

TEST(ResourceSubscription, MainRepositoryHoldsOnlyTheFilesDirectlyInResources) {
  res_test::ResourceTree tree;
  tree.file("a.txt", "a");
  tree.file("b.xml", "<b/>");
  tree.file("font/font20.fnt", "in a pack");
  QC_RESOURCE_LOADER loader;
  EXPECT_EQ(loader.fSubscribePack("", nullptr), 1);
  ASSERT_EQ(loader.fGetMain().size(), 2u);
  EXPECT_EQ(loader.fGetMain().count("a.txt"), 1u);
  EXPECT_EQ(loader.fGetMain().count("font20.fnt"), 0u);
  EXPECT_EQ(loader.fGetMain().at("a.txt")->_folder, "");
}

TEST(ResourceSubscription, EmptyResourcesFolderIsReported) {
  res_test::ResourceTree tree;
  res_test::LogCapture log;
  QC_RESOURCE_LOADER loader;
  EXPECT_EQ(loader.fSubscribePack("", nullptr), -1);
  EXPECT_TRUE(log.has("Main repository is empty"));
  EXPECT_EQ(loader.fSubscribePack(nullptr, nullptr), -1);
}

TEST(ResourceSubscription, SubscribingTheMainRepositoryAgainGivesFreshRecords) {
  res_test::ResourceTree tree;
  tree.file("click.ogg", "bytes");
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  ASSERT_EQ(loader.fLoadByteBuffer("click.ogg"), 1);
  QS_RESOURCE* first = loader.fFindResource("click.ogg");
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  QS_RESOURCE* second = loader.fFindResource("click.ogg");
  EXPECT_NE(first, second);
  EXPECT_FALSE(second->fIsReady());
  EXPECT_TRUE(first->fIsReady());  // forgotten, not released
  EXPECT_EQ(loader.fLoadByteBuffer("click.ogg"), 1);
}

TEST(ResourceSubscription, FolderPackCountsItsFilesAndRefusesARepeat) {
  res_test::ResourceTree tree;
  tree.file("sounds/a.ogg", "a");
  tree.file("sounds/b.ogg", "b");
  tree.file("sounds/c.ogg", "c");
  tree.file("sounds/nested/d.ogg", "d");
  QC_RESOURCE_LOADER loader;
  res_test::LogCapture log;
  EXPECT_EQ(loader.fSubscribePack("sounds", nullptr), 1);
  EXPECT_TRUE(log.has("Pack sounds has 3 elems. "));
  ASSERT_EQ(loader.fLoadByteBuffer("sounds a.ogg"), 1);
  QS_RESOURCE* loaded = loader.fFindResource("sounds a.ogg");

  EXPECT_EQ(loader.fSubscribePack("sounds", nullptr), -110);
  EXPECT_TRUE(log.has("Pack exist"));
  EXPECT_EQ(loader.fGetPacks().size(), 1u);
  // The pack and what it loaded stay as they were.
  EXPECT_EQ(loader.fFindResource("sounds a.ogg"), loaded);
  EXPECT_EQ(loader.fLoadByteBuffer("sounds a.ogg"), -117);

  // A nested folder is a pack of its own.
  EXPECT_EQ(loader.fSubscribePack("sounds/nested", nullptr), 1);
  EXPECT_NE(loader.fFindResource("sounds/nested d.ogg"), nullptr);
}

TEST(ResourceSubscription, MissingFolderGivesNoPack) {
  res_test::ResourceTree tree;
  QC_RESOURCE_LOADER loader;
  EXPECT_EQ(loader.fSubscribePack("nothing_here", nullptr), -1);
  EXPECT_EQ(loader.fFindPack("nothing_here"), nullptr);
}

TEST(ResourceSubscription, PasswordZipIsKeyedByMemberPathAndReadWithThePassword) {
  res_test::ResourceTree tree;
  ASSERT_TRUE(res_test::writeZip(tree.resources() / "secret.zip",
                                 {{"readme.txt", "hello zip"}, {"dir/inner.txt", "inside a folder"}}, "secret"));
  QC_RESOURCE_LOADER loader;
  res_test::LogCapture log;
  ASSERT_EQ(loader.fSubscribePack("secret.zip", "secret"), 1);
  EXPECT_TRUE(log.has("Pack secret.zip has 2 elems. "));
  QS_RESOURCE* inner = loader.fFindResource("secret.zip dir/inner.txt");
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->_sgPass, "secret");
  EXPECT_EQ(inner->_folder, "secret.zip");

  ASSERT_EQ(loader.fLoadByteBuffer("secret.zip dir/inner.txt"), 1);
  // A member is read as its own bytes, without a counted terminator.
  ASSERT_EQ(inner->_size, std::strlen("inside a folder"));
  EXPECT_EQ(std::memcmp(loader.fGetByteBuffer("secret.zip dir/inner.txt"), "inside a folder", inner->_size), 0);
  EXPECT_EQ(loader.fSubscribePack("secret.zip", "secret"), -110);
}

TEST(ResourceSubscription, WrongPasswordIsReportedAsAnUnreadableResource) {
  res_test::ResourceTree tree;
  ASSERT_TRUE(res_test::writeZip(tree.resources() / "locked.zip", {{"data.bin", std::string(4000, 'x')}}, "secret"));
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("locked.zip", "wrong"), 1);  // the listing needs no password
  res_test::LogCapture log;
  EXPECT_EQ(loader.fLoadByteBuffer("locked.zip data.bin"), -1);
  EXPECT_TRUE(log.has("Cant load res locked.zip data.bin"));
  EXPECT_EQ(QEL::qcRESOURCE_ERROR_TEXT, "Cant load res ");
  EXPECT_EQ(tree.errors(), 1);
  EXPECT_FALSE(loader.fFindResource("locked.zip data.bin")->fIsReady());
}

TEST(ResourceSubscription, UnreadableZipListsNothing) {
  res_test::ResourceTree tree;
  tree.file("broken.zip", "PK\x03\x04 but nothing a zip reader accepts");
  tree.file("plain.zip", "not even the magic");
  QC_RESOURCE_LOADER loader;
  EXPECT_EQ(loader.fSubscribePack("broken.zip", "secret"), -1);
  EXPECT_EQ(loader.fSubscribePack("plain.zip", "secret"), -1);
  EXPECT_TRUE(loader.fGetPacks().empty());
}

TEST(ResourceSubscription, ZipMemberNamesNeverReachOutsideTheirPack) {
  res_test::ResourceTree tree;
  tree.file("outside.txt", "the file beside the pack");
  ASSERT_TRUE(res_test::writeZip(tree.resources() / "evil.zip",
                                 {{"../outside.txt", "member"}, {"/etc/hostname", "member"}, {"ok.txt", "fine"}},
                                 nullptr));
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("evil.zip", "secret"), 1);
  for (const char* name : {"evil.zip ../outside.txt", "evil.zip /etc/hostname"}) {
    const int32_t result = loader.fLoadByteBuffer(name);
    if (result == 1) {
      // Read from the zip, if at all: the member's own bytes.
      EXPECT_EQ(std::memcmp(loader.fGetByteBuffer(name), "member", 6), 0) << name;
    } else {
      EXPECT_EQ(result, -1) << name;
    }
  }
  EXPECT_EQ(loader.fLoadByteBuffer("evil.zip ok.txt"), 1);
}

TEST(ResourceSubscription, FindByObjectAndReplacingPacks) {
  res_test::ResourceTree tree;
  tree.file("a.txt", "main a");
  tree.file("skin/a.txt", "skin a");
  tree.file("skin/b.txt", "skin b");
  tree.file("other/c.txt", "other c");
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  ASSERT_EQ(loader.fSubscribePack("skin", nullptr), 1);
  ASSERT_EQ(loader.fSubscribePack("other", nullptr), 1);
  ASSERT_EQ(loader.fLoadByteBuffer("skin b.txt"), 1);
  QS_RESOURCE* b = loader.fFindResource("skin b.txt");
  EXPECT_EQ(loader.fFindByObject(b->fGetObject()), b);
  int unrelated = 0;
  EXPECT_EQ(loader.fFindByObject(&unrelated), nullptr);

  res_test::LogCapture log;
  EXPECT_EQ(loader.fReplacePack("", "skin"), -1);
  EXPECT_TRUE(log.has("Main yes a.txt"));
  EXPECT_TRUE(log.has("Main no b.txt"));
  EXPECT_EQ(loader.fFindResource("a.txt")->_folder, "skin");
  EXPECT_EQ(loader.fReplacePack("other", "skin"), -1);
  EXPECT_NE(loader.fFindResource("other b.txt"), nullptr);
  EXPECT_EQ(loader.fReplacePack("other", "missing"), -1);
  EXPECT_TRUE(log.has("Cant replace pack missing does not exist"));
  EXPECT_EQ(loader.fReplacePack("missing", "skin"), -1);
  EXPECT_TRUE(log.has("Cant replace existing pack skin to missing does not exist"));

  log.clear();
  loader.fPrintPack("nope");
  EXPECT_TRUE(log.has(" is not open"));
  EXPECT_TRUE(log.has("End of pack \n"));
}

TEST(ResourceSubscription, UnusedRecordsAreCountedAndPackRecordsReleased) {
  res_test::ResourceTree tree;
  tree.file("main.xml", "<a/>");
  tree.file("pack/one.xml", "<b/>");
  QC_RESOURCE_LOADER loader;
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  ASSERT_EQ(loader.fSubscribePack("pack", nullptr), 1);
  ASSERT_EQ(loader.fPreloadXmlDoc("main.xml"), 1);  // ready, no use
  ASSERT_EQ(loader.fPreloadXmlDoc("pack one.xml"), 1);
  EXPECT_EQ(loader.fCountUnusedMain(), 1);
  EXPECT_EQ(loader.fReleaseUnused(), 2);
  EXPECT_FALSE(loader.fFindResource("pack one.xml")->fIsReady());
  EXPECT_TRUE(loader.fFindResource("main.xml")->fIsReady());
}
