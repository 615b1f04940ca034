// Resource records and the resource-name grammar over a Resources tree made per test.
#include <gtest/gtest.h>

#include "engine/resource_loader.h"
#include "res_test_util.h"

using QEL::QC_RESOURCE_LOADER;
using QEL::QS_RESOURCE;

TEST(ResourceRecord, SplitsItsPathAtTheLastSlash) {
  QS_RESOURCE nested("interface/pause_window/button.png");
  EXPECT_EQ(nested._sgResName, "button.png");
  EXPECT_EQ(nested._folder, "interface/pause_window/");
  QS_RESOURCE bare("bonusCover.png");
  EXPECT_EQ(bare._sgResName, "bonusCover.png");
  EXPECT_EQ(bare._folder, "");
  QS_RESOURCE folder("dir/");
  EXPECT_EQ(folder._sgResName, "dir/");
  EXPECT_EQ(folder._folder, "");
  QS_RESOURCE empty("");
  EXPECT_EQ(empty._sgResName, "");
  EXPECT_FALSE(empty.fIsReady());
  EXPECT_EQ(empty._type, 0);
  EXPECT_EQ(empty.fGetUses(), 0);
  EXPECT_EQ(empty.fGetObject(), nullptr);
}

TEST(ResourceRecord, DefaultReleaseCopesWithNullUsedAndUnreadyRecords) {
  res_test::LogCapture log;
  QS_RESOURCE::fDefaultRelease(nullptr);
  QS_RESOURCE used("a.txt");
  used._uses = 1;
  used._ready = true;
  used._type = 5;
  QS_RESOURCE::fDefaultRelease(&used);
  EXPECT_TRUE(used.fIsReady());
  EXPECT_EQ(used._type, 5);
  QS_RESOURCE idle("b.txt");
  QS_RESOURCE::fDefaultRelease(&idle);
  EXPECT_TRUE(log.has("resource not ready b.txt"));
}

class ResourceNames : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.file("bonusCover.png", "main cover");
    tree.file("button_continue.png", "main button");
    tree.file("with blank.png", "blank in its name");
    tree.file("interface/pause_window/button_continue.png", "pack button");
    tree.file("interface/pause_window/only_in_pack.png", "pack only");
    tree.file("sounds/button_click.ogg", "click");
    tree.file("other/only_in_pack.png", "other pack");
    ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  }
  res_test::ResourceTree tree;
  QC_RESOURCE_LOADER loader;
};

TEST_F(ResourceNames, BareNameFindsTheMainRepositoryFirst) {
  ASSERT_EQ(loader.fSubscribePack("interface/pause_window", nullptr), 1);
  QS_RESOURCE* record = loader.fFindResource("button_continue.png");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->_folder, "");
  EXPECT_EQ(loader.fFindResource("bonusCover.png")->_sgResName, "bonusCover.png");
}

TEST_F(ResourceNames, BareNameFallsBackToThePacksInSubscriptionOrder) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fFindResource("only_in_pack.png"), nullptr);
  EXPECT_TRUE(tree.hasBox("only_in_pack.png", "No resource"));
  EXPECT_TRUE(log.has("Resource error"));

  ASSERT_EQ(loader.fSubscribePack("other", nullptr), 1);
  ASSERT_EQ(loader.fSubscribePack("interface/pause_window", nullptr), 1);
  QS_RESOURCE* record = loader.fFindResource("only_in_pack.png");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->_folder, "other");
}

TEST_F(ResourceNames, PackAndKeyLookInThatPackOnly) {
  ASSERT_EQ(loader.fSubscribePack("interface/pause_window", nullptr), 1);
  QS_RESOURCE* record = loader.fFindResource("interface/pause_window button_continue.png");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->_folder, "interface/pause_window");
  EXPECT_NE(record, loader.fFindResource("button_continue.png"));

  res_test::LogCapture log;
  const size_t boxes = tree.boxes().size();
  // A key the pack lacks: no fallback to the main repository and no message box.
  EXPECT_EQ(loader.fFindResource("interface/pause_window bonusCover.png"), nullptr);
  EXPECT_EQ(tree.boxes().size(), boxes);
  EXPECT_TRUE(log.has("Resource error"));
}

TEST_F(ResourceNames, UnsubscribedPackFallsBackToTheWholeNameAsAFileName) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fFindResource("interface/pause_window button_continue.png"), nullptr);
  EXPECT_TRUE(log.has("No pack named interface/pause_window!"));
  EXPECT_TRUE(tree.hasBox("interface/pause_window button_continue.png", "No resource"));
  EXPECT_TRUE(log.has("Resource error"));
  // A file whose own name holds one blank is found that way.
  QS_RESOURCE* blank = loader.fFindResource("with blank.png");
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->_sgResName, "with blank.png");
}

TEST_F(ResourceNames, TwoOrMoreBlanksAreAnError) {
  res_test::LogCapture log;
  EXPECT_EQ(loader.fFindResource("sounds button click.ogg"), nullptr);
  EXPECT_TRUE(log.has("WTF resource name sounds button click.ogg"));
  EXPECT_TRUE(log.has("Resource error"));
  EXPECT_TRUE(tree.boxes().empty());
}

TEST_F(ResourceNames, TabIsAnOrdinaryCharacterAndATrailingBlankFindsNothing) {
  tree.file("tab\tname.png", "tab");
  ASSERT_EQ(loader.fSubscribePack("", nullptr), 1);
  EXPECT_NE(loader.fFindResource("tab\tname.png"), nullptr);
  ASSERT_EQ(loader.fSubscribePack("sounds", nullptr), 1);
  res_test::LogCapture log;
  EXPECT_EQ(loader.fFindResource("sounds "), nullptr);
  EXPECT_TRUE(log.has("Resource error"));
  EXPECT_EQ(loader.fFindResource(nullptr), nullptr);
}

TEST_F(ResourceNames, PackNamesMatchExactly) {
  ASSERT_EQ(loader.fSubscribePack("sounds", nullptr), 1);
  EXPECT_NE(loader.fFindPack("sounds"), nullptr);
  EXPECT_EQ(loader.fFindPack("Sounds"), nullptr);
  EXPECT_EQ(loader.fFindPack("sounds/"), nullptr);
  EXPECT_EQ(loader.fFindPack(""), nullptr);
}
