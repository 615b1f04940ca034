#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/scenes/level/level_scene.h"
#include "late_pipe_writer.h"
#include "level_geometry/level_file.h"
#include "save_folder_fixture.h"

namespace {

const std::filesystem::path GENERATED_LEVELS = std::filesystem::path(PINDRAKE_BUILD_DIR) / "Resources" / "Levels";

// Runs a test inside a folder of its own and goes back where it was afterwards, so the
// relative level path never depends on where the test program started.
class CURRENT_FOLDER {
 public:
  explicit CURRENT_FOLDER(const std::filesystem::path& folder) : _previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CURRENT_FOLDER() {
    std::error_code error;
    std::filesystem::current_path(_previous, error);
  }

 private:
  std::filesystem::path _previous;
};

std::string cardXml(int32_t id, float x, float y, int32_t value, bool special = false,
                    const std::vector<int32_t>& over = {}, const std::vector<int32_t>& under = {}) {
  std::string text = "<card id=\"" + std::to_string(id) + "\" zLayer=\"1\" x=\"" + std::to_string(x) +
                     "\" y=\"" + std::to_string(y) + "\" angle=\"0\" assignedValue=\"" +
                     std::to_string(value) + "\" isSpecial=\"" + (special ? "true" : "false") + "\">";
  for (int32_t id : over) text += "<over>" + std::to_string(id) + "</over>";
  for (int32_t id : under) text += "<under>" + std::to_string(id) + "</under>";
  return text + "</card>";
}

std::string levelXml(const std::string& cards, int32_t count, int32_t turnovers = 1, int32_t stock = 30,
                     int32_t piles = 2, int32_t bonus = 2) {
  return "<level levelNumber=\"0\" countOfCards=\"" + std::to_string(count) + "\" numberOfTurnovers=\"" +
         std::to_string(turnovers) + "\" numberOfCardsInStockPile=\"" + std::to_string(stock) +
         "\" numberOfReservePiles=\"" + std::to_string(piles) + "\" numberOfBonusCards=\"" +
         std::to_string(bonus) + "\">" + cards + "</level>";
}

class LevelFileReading : public SaveFolderTest {
 protected:
  void SetUp() override {
    SaveFolderTest::SetUp();
    gNumberOfPlayers = 1;
    gCurrentLevel = 0;
    gCurrentPack = 0;
    resetTenthFrame();
    _scene = std::make_unique<SCENE_CARD_GAME_LEVEL>();
    _scene->cardPiles = new CARD_PILES();
    _scene->cardPiles->setCardWidth(SCENE_CARD_GAME_LEVEL::CARD_WIDTH);
    _scene->cardPiles->init();
    _scene->cardPiles->setScene(_scene.get());
    _scene->cardFlights = new CARD_FLIGHTS();
    _scene->cardFlights->init();
  }

  void TearDown() override {
    _scene.reset();
    resetTenthFrame();
    SaveFolderTest::TearDown();
  }

  static void resetTenthFrame() {
    gTenthFrameBonus = 0;
    gTenthFrameSecondBonus = 0;
    gTenthFrameKind = 0;
    gTenthFrameBall1 = 0;
  }

  void read(const std::string& xml) {
    ASSERT_TRUE(_scene->levelDocument.load_string(xml.c_str())) << xml;
    _scene->removeAllCards();
    _scene->readLevel();
  }

  bool onTable(int32_t id) const { return _scene->cards[id] != nullptr && _scene->cards[id]->onTable; }
  int32_t cardsOnTable() const {
    int32_t count = 0;
    for (int32_t id = 0; id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++id) count += onTable(id) ? 1 : 0;
    return count;
  }
  CARD& card(int32_t id) { return *_scene->cards[id]; }

  std::unique_ptr<SCENE_CARD_GAME_LEVEL> _scene;
};

TEST_F(LevelFileReading, EveryGeneratedLevelIsLaidOutAsItsFileSays) {
  if (!std::filesystem::is_directory(GENERATED_LEVELS)) GTEST_SKIP() << "no generated Resources in this build";
  for (int32_t index = 0; index < kLevelCount; ++index) {
    SCOPED_TRACE("Level_" + std::to_string(index));
    gCurrentLevel = index;
    const std::filesystem::path path = GENERATED_LEVELS / ("Level_" + std::to_string(index) + ".xml");
    ASSERT_TRUE(_scene->levelDocument.load_file(path.c_str()));
    _scene->removeAllCards();
    _scene->readLevel();

    // The editor's reader of the same file is the reference.
    EDITOR_CARD_TABLE expected;
    LEVEL_SETTINGS settings;
    ::readLevel(_scene->levelDocument, expected, settings);
    const int32_t fileCount = _scene->levelDocument.child("level").attribute("countOfCards").as_int(-1);
    EXPECT_EQ(_scene->countOfCards, fileCount);
    EXPECT_EQ(_scene->countOfCards, expected.countCardsInUse());
    EXPECT_EQ(_scene->cardsLeft, fileCount);
    EXPECT_EQ(_scene->numberOfBonusCards, settings.numberOfBonusCards);
    EXPECT_EQ(_scene->numberOfCardsInStockPile, settings.numberOfCardsInStockPile == 0 ? 52 : settings.numberOfCardsInStockPile);
    const bool pilesInRange = settings.numberOfReservePiles >= 1 && settings.numberOfReservePiles <= 5;
    EXPECT_EQ(_scene->numberOfReservePiles, pilesInRange ? settings.numberOfReservePiles : 2);
    EXPECT_EQ(_scene->turnoversAtStart, 1);
    EXPECT_EQ(_scene->countOfSpecialCardsOnScene, expected.countOfSpecialCards);

    int32_t highest = 0;
    for (int32_t id = 0; id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; ++id) {
      const EDITOR_CARD& reference = expected.cards[id];
      ASSERT_EQ(onTable(id), reference.inUse) << "slot " << id;
      if (!reference.inUse) continue;
      highest = id;
      const CARD& laid = card(id);
      EXPECT_EQ(laid.tableX, reference.x) << "slot " << id;
      EXPECT_EQ(laid.tableY, reference.y) << "slot " << id;
      EXPECT_FLOAT_EQ(laid.angle, reference.angle) << "slot " << id;
      EXPECT_EQ(laid.zLayer, reference.zLayer) << "slot " << id;
      EXPECT_EQ(laid.value, reference.value) << "slot " << id;
      EXPECT_EQ(laid.special, reference.isSpecial) << "slot " << id;
      EXPECT_EQ(laid.overList, reference.overList) << "slot " << id;
      EXPECT_EQ(laid.underList, reference.underList) << "slot " << id;
      if (laid.value == -1) {
        EXPECT_TRUE(laid.covered) << "slot " << id;
      }
    }
    EXPECT_EQ(_scene->maximumCardID, highest);

    // Dealt: every card has a value; a random card lies face up exactly when nothing covers it.
    _scene->dealRandomValues();
    std::set<int32_t> values;
    int32_t random = 0;
    for (int32_t id = 0; id <= highest; ++id) {
      if (!expected.cards[id].inUse) continue;
      const CARD& laid = card(id);
      EXPECT_GE(laid.value, 0) << "slot " << id;
      EXPECT_LT(laid.value, 52) << "slot " << id;
      if (expected.cards[id].value != -1) continue;
      ++random;
      values.insert(laid.value);
      EXPECT_EQ(laid.covered, !laid.overList.empty()) << "slot " << id;
    }
    EXPECT_EQ(static_cast<int32_t>(values.size()), std::min(random, 52));
  }
}

TEST_F(LevelFileReading, TheLevelIsReadByItsPathRelativeToTheCurrentFolder) {
  const std::filesystem::path folder = _root / "Resources";
  std::filesystem::create_directories(folder / "Levels");
  test_support::writeFile(folder / "Levels" / "Level_7.xml",
                          levelXml(cardXml(0, 100, 200, -1) + cardXml(4, 300, 200, 9, true), 2));
  gCurrentLevel = 7;
  {
    CURRENT_FOLDER inside(folder);
    _scene->loadLevel(7);
  }
  EXPECT_TRUE(onTable(0));
  EXPECT_TRUE(onTable(4));
  EXPECT_EQ(cardsOnTable(), 2);
  EXPECT_EQ(_scene->cardsLeft, 2);
  EXPECT_EQ(_scene->maximumCardID, 4);
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 1);
  EXPECT_EQ(card(4).value, 9);
  EXPECT_FALSE(card(0).covered);  // random, nothing over it: dealt face up
  EXPECT_EQ(_scene->cardPiles->stockSize, 30);
  EXPECT_EQ(_scene->cardPiles->pileCount, 2);
}

TEST_F(LevelFileReading, AMissingOrBrokenFileGivesAnEmptyLevel) {
  const std::filesystem::path folder = _root / "Resources";
  std::filesystem::create_directories(folder / "Levels");
  // Parsed as far as the fault, the broken file would give two cards.
  test_support::writeFile(folder / "Levels" / "Level_3.xml",
                          "<level countOfCards=\"2\">" + cardXml(0, 100, 200, -1) + cardXml(1, 200, 200, -1) + "<card id=");
  std::filesystem::create_directories(folder / "Levels" / "Level_5.xml");  // a folder in its place
  test_support::writeFile(folder / "Levels" / "Level_6.xml", "<levels/>");

  CURRENT_FOLDER inside(folder);
  for (int32_t index : {3, 4, 5, 6}) {
    SCOPED_TRACE(index);
    // A full layout first, so the empty level must really clear it.
    read(levelXml(cardXml(10, 100, 100, -1) + cardXml(11, 200, 100, -1, true), 2));
    ASSERT_EQ(cardsOnTable(), 2);
    _log.clear();
    _scene->loadLevel(index);
    EXPECT_TRUE(logged("Levels/Level_" + std::to_string(index) + ".xml"));
    EXPECT_EQ(cardsOnTable(), 0);
    EXPECT_EQ(_scene->countOfCards, 0);
    EXPECT_EQ(_scene->cardsLeft, 0);
    EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 0);
    EXPECT_EQ(_scene->numberOfCardsInStockPile, 52);
    EXPECT_EQ(_scene->numberOfReservePiles, 2);
    EXPECT_EQ(_scene->cardPiles->pileCount, 2);
  }
}

// A named pipe in a level file's place would hold the game until some writer came, and a
// level file of a hundred thousand cards would be parsed whole: each is refused at once,
// logged, and the level is empty as for a missing file.
TEST_F(LevelFileReading, ANamedPipeOrAFileLargerThanAnyLevelGivesAnEmptyLevelAtOnce) {
  const std::filesystem::path folder = _root / "Resources";
  std::filesystem::create_directories(folder / "Levels");
  std::string manyCards;
  for (int32_t card = 0; manyCards.size() <= 4u * 1024u * 1024u; ++card)
    manyCards += cardXml(card % 300, 100, 200, -1);
  const std::string large = levelXml(manyCards, 300);
  test_support::writeFile(folder / "Levels" / "Level_8.xml", large);
  test_support::LATE_PIPE_WRITER pipe(folder / "Levels" / "Level_9.xml", levelXml(cardXml(0, 100, 200, -1), 1));
  ASSERT_TRUE(pipe.made());

  CURRENT_FOLDER inside(folder);
  const std::pair<int32_t, std::string> refusals[] = {
      {8, std::to_string(large.size()) + " bytes, larger than any such file (4194304)"},
      {9, "not a plain file: a named pipe stands in its place"}};
  for (const auto& [index, why] : refusals) {
    SCOPED_TRACE(index);
    read(levelXml(cardXml(10, 100, 100, -1) + cardXml(11, 200, 100, -1, true), 2));
    _log.clear();
    _scene->loadLevel(index);
    EXPECT_TRUE(logged("cannot read Levels/Level_" + std::to_string(index) + ".xml: " + why));
    EXPECT_EQ(cardsOnTable(), 0);
    EXPECT_EQ(_scene->cardsLeft, 0);
    EXPECT_EQ(_scene->cardPiles->pileCount, 2);
  }
  EXPECT_FALSE(pipe.heldAReader()) << "the level waited for the pipe's writer";
}

TEST_F(LevelFileReading, EveryFrameHasOneTurnoverWhateverTheFileSays) {
  gCurrentLevel = 14;  // frame 5
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 1);
  EXPECT_EQ(_scene->turnoversLeft, 1);

  gCurrentLevel = 19;  // a tenth frame, not its bonus balls
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 1);

  // Bonus play without a known kind: one less than the file's.
  gTenthFrameBonus = 1;
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 2);
  read(levelXml("", 0, 0));
  EXPECT_EQ(_scene->turnoversAtStart, 0);
}

TEST_F(LevelFileReading, TheTenthFramesBonusBallsHaveFewerTurnovers) {
  gCurrentLevel = 29;
  setLevelResult(0, 29, kSpecialCards1Field, 7);
  setLevelResult(0, 29, kSpecialCards2Field, 3);
  gTenthFrameBonus = 1;

  gTenthFrameKind = 3;  // one ball after a spare
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 0);
  EXPECT_EQ(_scene->turnoversLeft, 0);
  // The stored balls come along for the bonus scoring.
  EXPECT_EQ(_scene->levelResult.specialCards1, 7);
  EXPECT_EQ(_scene->levelResult.specialCards2, 3);

  gTenthFrameKind = 4;  // two balls after a strike
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 1);
  gTenthFrameSecondBonus = 1;
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 0);

  // A bonus flag left over from a tenth frame does not shorten another frame.
  gCurrentLevel = 24;
  read(levelXml("", 0, 3));
  EXPECT_EQ(_scene->turnoversAtStart, 1);
}

TEST_F(LevelFileReading, StockAndReservePilesAreBroughtIntoRange) {
  read(levelXml("", 0, 1, 0, 0));
  EXPECT_EQ(_scene->numberOfCardsInStockPile, 52);
  EXPECT_EQ(_scene->numberOfReservePiles, 2);
  EXPECT_EQ(_scene->cardPiles->stockSize, 52);

  read(levelXml("", 0, 1, 40, 7));
  EXPECT_EQ(_scene->numberOfCardsInStockPile, 40);
  EXPECT_EQ(_scene->numberOfReservePiles, 2);

  gPlayers[0].additionalCardPlaces = 2;  // bought in the shop
  read(levelXml("", 0, 1, 40, 3));
  EXPECT_EQ(_scene->numberOfReservePiles, 5);
  EXPECT_EQ(_scene->cardPiles->pileCount, 5);

  // Never more piles than the table has room for.
  gPlayers[0].additionalCardPlaces = 4;
  read(levelXml("", 0, 1, 40, 5));
  EXPECT_EQ(_scene->numberOfReservePiles, 5);
  EXPECT_EQ(_scene->cardPiles->pileCount, 5);

  gPlayers[0].additionalCardPlaces = -3;
  read(levelXml("", 0, 1, 40, 1));
  EXPECT_EQ(_scene->numberOfReservePiles, 1);

  _log.clear();
  read(levelXml("", 0, 1, -4, 2));
  EXPECT_EQ(_scene->numberOfCardsInStockPile, 52);
  EXPECT_TRUE(logged("numberOfCardsInStockPile"));
  read(levelXml("", 0, 1, 5000, 2));
  EXPECT_EQ(_scene->numberOfCardsInStockPile, CARD_PILES::MAX_CARDS);
}

TEST_F(LevelFileReading, ACardAtNoPositionOrOutsideTheTableIsLeftOut) {
  const std::string cards = "<card id=\"12\" zLayer=\"0\" x=\"nan\" y=\"100\" assignedValue=\"-1\"/>" +
                            cardXml(3, 100, 100, -1) +
                            "<card id=\"20\" zLayer=\"0\" x=\"100\" y=\"inf\" assignedValue=\"-1\"/>" +
                            "<card id=\"300\" zLayer=\"0\" x=\"100\" y=\"100\" assignedValue=\"-1\"/>" +
                            "<card id=\"-1\" zLayer=\"0\" x=\"100\" y=\"100\" assignedValue=\"-1\"/>";
  read(levelXml(cards, 5));
  EXPECT_TRUE(logged("ignore cardID: 12"));
  EXPECT_TRUE(logged("ignore cardID: 20"));
  EXPECT_TRUE(logged("ignore cardID: 300"));
  EXPECT_TRUE(logged("ignore cardID: -1"));
  EXPECT_FALSE(onTable(12));
  EXPECT_FALSE(onTable(20));
  EXPECT_TRUE(onTable(3));
  EXPECT_EQ(_scene->maximumCardID, 3);
  // What lies on the table is what is left to play.
  EXPECT_EQ(_scene->countOfCards, 5);
  EXPECT_EQ(_scene->cardsLeft, 1);
  _scene->dealRandomValues();
  EXPECT_GE(card(3).value, 0);
}

TEST_F(LevelFileReading, ListsKeepOnlyIdsOfTheTable) {
  std::string many;
  for (int32_t i = 0; i < 305; ++i) many += "<over>" + std::to_string(i % 300) + "</over>";
  const std::string cards = cardXml(0, 100, 100, -1, false, {1, 300, -5, 2}, {7, 400}) +
                            "<card id=\"1\" zLayer=\"0\" x=\"200\" y=\"100\" assignedValue=\"-1\">" + many + "</card>";
  read(levelXml(cards, 2));
  EXPECT_EQ(card(0).overList, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(card(0).underList, (std::vector<int32_t>{7}));
  EXPECT_EQ(card(1).overCount(), 300);
  EXPECT_TRUE(logged("more than 300 over"));
}

TEST_F(LevelFileReading, CoveredFlagsFollowTheDocumentOrder) {
  // Card 5 (fixed) is listed under by the earlier card 1, then turned face up by its own
  // element; card 6 (fixed) is listed under by the later card 2 and stays face down.
  const std::string cards = cardXml(1, 100, 100, -1, false, {}, {5}) + cardXml(5, 100, 120, 20, false, {1}) +
                            cardXml(6, 300, 120, 21, false, {2}) + cardXml(2, 300, 100, 22, false, {}, {6});
  read(levelXml(cards, 4));
  EXPECT_TRUE(card(1).covered);  // random
  EXPECT_FALSE(card(5).covered);
  EXPECT_TRUE(card(6).covered);
  EXPECT_FALSE(card(2).covered);

  _scene->dealRandomValues();
  EXPECT_EQ(card(6).value, 21);  // a fixed card keeps its value
  EXPECT_TRUE(card(6).covered);  // card 2 still lies over it
  EXPECT_FALSE(card(1).covered);
}

TEST_F(LevelFileReading, ASecondElementForTheSameSlotReplacesTheFirst) {
  const std::string cards = cardXml(4, 100, 100, -1, true, {9}) + cardXml(4, 300, 200, 17, true);
  read(levelXml(cards, 1));
  EXPECT_EQ(card(4).tableX, 300.0f);
  EXPECT_EQ(card(4).value, 17);
  EXPECT_TRUE(card(4).overList.empty());
  EXPECT_EQ(_scene->countOfSpecialCardsOnScene, 1);  // one skittle stands there, not two
  EXPECT_EQ(_scene->cardsLeft, 1);
}

TEST_F(LevelFileReading, AValueThatIsNoCardIsDealtAtRandom) {
  read(levelXml(cardXml(0, 100, 100, 60) + cardXml(1, 300, 100, 51), 2));
  EXPECT_TRUE(logged("no card value 60"));
  EXPECT_EQ(card(0).value, -1);
  EXPECT_EQ(card(1).value, 51);
  _scene->dealRandomValues();
  EXPECT_GE(card(0).value, 0);
  EXPECT_LT(card(0).value, 52);
}

TEST_F(LevelFileReading, RandomCardsDrawAWholePackBeforeValuesRepeat) {
  std::string cards = cardXml(0, 100, 100, 5);  // fixed and face up: takes no draw
  for (int32_t id = 1; id <= 3; ++id) cards += cardXml(id, 100.0f + id, 100, -1);
  read(levelXml(cards, 4));
  _scene->dealRandomValues();
  EXPECT_EQ(card(0).value, 5);
  std::set<int32_t> three = {card(1).value, card(2).value, card(3).value};
  EXPECT_EQ(three.size(), 3u);

  cards.clear();
  for (int32_t id = 0; id < 60; ++id) cards += cardXml(id, 100.0f + id, 100, -1, false, {id == 59 ? 0 : id + 1});
  read(levelXml(cards, 60));
  _scene->dealRandomValues();
  std::set<int32_t> firstPack;
  for (int32_t id = 0; id < 52; ++id) firstPack.insert(card(id).value);
  EXPECT_EQ(firstPack.size(), 52u);
  for (int32_t id = 52; id < 60; ++id) {
    EXPECT_GE(card(id).value, 0);
    EXPECT_LT(card(id).value, 52);
  }
  // Every card lies under another one: all stay face down.
  for (int32_t id = 0; id < 60; ++id) EXPECT_TRUE(card(id).covered) << id;
}

TEST_F(LevelFileReading, TheTutorialStartsWithAPairInSight) {
  // Face up: slot 0 a two, slot 1 a three. Face down under card 3: slot 2, a two.
  const std::string cards = cardXml(0, 100, 100, 0) + cardXml(1, 200, 100, 1) + cardXml(2, 300, 100, 13, false, {3}) +
                            cardXml(3, 300, 120, 30, false, {}, {2});
  _scene->isTutorial = true;
  read(levelXml(cards, 4));
  _scene->dealRandomValues();
  EXPECT_EQ(card(0).value, 0);
  EXPECT_EQ(card(1).value, 13);  // took the face-down two's value
  EXPECT_EQ(card(2).value, 1);
  EXPECT_EQ(card(0).rank, card(1).rank);

  // Outside the tutorial the deal stays as it is.
  _scene->isTutorial = false;
  read(levelXml(cards, 4));
  _scene->dealRandomValues();
  EXPECT_EQ(card(1).value, 1);
  EXPECT_EQ(card(2).value, 13);
}

TEST_F(LevelFileReading, TheTutorialKeepsAPairAlreadyInSight) {
  const std::string cards = cardXml(0, 100, 100, 0) + cardXml(1, 200, 100, 26) + cardXml(4, 250, 100, 1) +
                            cardXml(2, 300, 100, 13, false, {3}) + cardXml(3, 300, 120, 30, false, {}, {2});
  _scene->isTutorial = true;
  read(levelXml(cards, 5));
  _scene->dealRandomValues();
  EXPECT_EQ(card(1).value, 26);
  EXPECT_EQ(card(2).value, 13);
  EXPECT_EQ(card(4).value, 1);

  // A face-down six but no face-up card above the six to trade with: nothing is traded, not
  // even with the face-down card of slot 0.
  const std::string sixes = cardXml(0, 500, 100, 40, false, {9}) + cardXml(5, 100, 100, 4) +
                            cardXml(6, 300, 100, 17, false, {7}) + cardXml(7, 300, 120, 2, false, {}, {6}) +
                            cardXml(9, 500, 120, 3, false, {}, {0});
  read(levelXml(sixes, 5));
  _scene->dealRandomValues();
  EXPECT_EQ(card(0).value, 40);
  EXPECT_EQ(card(5).value, 4);
  EXPECT_EQ(card(6).value, 17);
}

TEST_F(LevelFileReading, RemovingAllCardsEmptiesTheTable) {
  read(levelXml(cardXml(0, 100, 100, -1) + cardXml(299, 200, 100, 3), 2));
  _scene->selectedCard = 299;
  _scene->removeAllCards();
  EXPECT_EQ(cardsOnTable(), 0);
  EXPECT_EQ(_scene->selectedCard, -1);
  EXPECT_EQ(card(299).value, -1);
}

}  // namespace

namespace {

TEST_F(LevelFileReading, AnExportKeepsTheCardsStillOnTheTableWithTheirDealtValuesAndTheLevelsNumbers) {
  gCurrentLevel = 7;
  // Three cards in a column, each lying half over the one below it; the middle one random.
  const std::string file =
      "<level numberOfTurnovers=\"3\" numberOfCardsInStockPile=\"40\" numberOfReservePiles=\"3\""
      " numberOfBonusCards=\"4\" countOfCards=\"3\">"
      "<card id=\"0\" zLayer=\"1\" x=\"300\" y=\"300\" angle=\"0\" assignedValue=\"5\" isSpecial=\"true\">"
      "<over>1</over></card>"
      "<card id=\"1\" zLayer=\"2\" x=\"300\" y=\"360\" angle=\"0\" assignedValue=\"-1\" isSpecial=\"false\">"
      "<under>0</under><over>2</over></card>"
      "<card id=\"2\" zLayer=\"3\" x=\"300\" y=\"420\" angle=\"0\" assignedValue=\"12\" isSpecial=\"false\">"
      "<under>1</under></card></level>";
  std::filesystem::create_directories("Levels");
  test_support::writeFile("Levels/Level_7.xml", file);
  _scene->loadLevel(7);
  ASSERT_EQ(cardsOnTable(), 3);
  const int32_t dealt = card(1).value;
  ASSERT_GE(dealt, 0) << "the random card was dealt a value";
  card(2).reset();  // taken in a pair

  ASSERT_TRUE(_scene->saveLevel());
  pugi::xml_document saved;
  ASSERT_TRUE(saved.load_file("Levels/Level_7.xml"));
  const pugi::xml_node level = saved.child("level");
  EXPECT_EQ(level.attribute("countOfCards").as_int(), 2);
  EXPECT_EQ(level.attribute("numberOfTurnovers").as_int(), 3);
  EXPECT_EQ(level.attribute("numberOfCardsInStockPile").as_int(), 40);
  EXPECT_EQ(level.attribute("numberOfReservePiles").as_int(), 3);
  EXPECT_EQ(level.attribute("numberOfBonusCards").as_int(), 4);
  const pugi::xml_node first = level.find_child_by_attribute("card", "id", "0");
  const pugi::xml_node second = level.find_child_by_attribute("card", "id", "1");
  ASSERT_TRUE(first && second);
  EXPECT_FALSE(level.find_child_by_attribute("card", "id", "2"));
  EXPECT_EQ(second.attribute("assignedValue").as_int(), dealt);
  EXPECT_TRUE(first.attribute("isSpecial").as_bool());
  EXPECT_EQ(std::string(first.child_value("over")), "1");
  EXPECT_EQ(std::string(second.child_value("under")), "0");
  EXPECT_FALSE(second.child("over")) << "the card taken lies over nothing any more";
}

}  // namespace
