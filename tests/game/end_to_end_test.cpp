// The game played from its first start to the end of its first frame, as a player plays it. The
// game's own entry point and main loop run in a child process, on the generated Resources and
// an empty documents folder, with a fake clock whose sleeps move it on. Everything the player
// does reaches the game as window messages posted to the platform layer's queue (pointer moves,
// button presses, typed characters), the way SDL's events reach it. Between two updates the
// driver looks at the scenes to decide where to click: where a button stands, which cards the
// level dealt and, through the level solver, which pair to take next. Afterwards the parent
// reads what the game saved: the players file, the result file and the statistics file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "engine/window.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/scenes/main_menu/main_menu_scene.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "level_geometry/editor_cards.h"
#include "level_geometry/level_solver.h"
#include "platform/window.h"
#include "game_child.h"
#include "save_folder_fixture.h"

namespace {

using LEVEL = SCENE_CARD_GAME_LEVEL;
using MENU = SCENE_CARD_GAME_MAINMENU;
using PACKS = SCENE_CARD_GAME_LEVELPACKS;
using FRAMES = SCENE_CARD_GAME_FRAMES;

constexpr const wchar_t* kPlayerName = L"Tester";
// Game time the play may take before the driver gives up: 3 minutes at 60 updates a second,
// some six times what it needs.
constexpr int kUpdateLimit = 60 * 60 * 3;
// Updates the pointer rests on a spot before the button goes down: a widget lights up under
// it first, and the drawing (four times slower than the updates here) places the windows.
constexpr int kRest = 6;
constexpr int kFrameCap = 15;
constexpr int kSplashFrameCap = 3;
constexpr int32_t kSolverBudget = 60000;

template <class SCENE>
SCENE* current() {
  return gIsSplash ? nullptr : dynamic_cast<SCENE*>(gCurrentScene);
}

struct SPOT {
  float x;
  float y;
};

// A widget of the current scene, looked up when the hand gets there (null while another scene
// is current).
template <class SCENE>
std::function<const QEL::QC_GUI_OBJECT*()> widgetOf(std::function<const QEL::QC_GUI_OBJECT*(SCENE&)> pick) {
  return [pick]() -> const QEL::QC_GUI_OBJECT* {
    SCENE* scene = current<SCENE>();
    return scene != nullptr ? pick(*scene) : nullptr;
  };
}

SPOT centreOf(const QEL::QC_GUI_OBJECT* widget) {
  const QEL::QS_TRANSFORM3 world = widget->fGetTransform()->fGetWorld(false, false, false);
  return {world._position.x, world._position.y};
}

// What the child saw, for the parent.
std::map<std::string, std::string> gReport;

template <class T>
void report(const std::string& key, const T& value) {
  std::ostringstream text;
  text << value;
  gReport[key] = text.str();
}

// ---- the player's hand: messages posted between two updates -------------------------------

class HAND {
 public:
  using STEP = std::function<bool()>;  // true when done; a step that waits returns false

  bool busy() const { return !_steps.empty(); }

  // Runs the steps that can run in this pass, up to the first that waits.
  void run() {
    while (!_steps.empty() && _steps.front()()) _steps.pop_front();
  }

  void then(STEP step) { _steps.push_back(std::move(step)); }
  void rest(int updates) {
    then([left = updates]() mutable { return left-- <= 0; });
  }

  static void moveTo(SPOT spot) { test_support::postPointer(spot.x, spot.y); }
  static void post(uint32_t id, uintptr_t wParam = 0) { test_support::postWindowMessage(id, wParam); }

  // The left button pressed and let go where the pointer stands.
  void press() {
    then([] { return post(platform::kMsgLButtonDown), true; });
    rest(2);
    then([] { return post(platform::kMsgLButtonUp), true; });
    rest(2);
  }

  // Until the next frame is drawn: the drawing is what places the windows' buttons.
  void awaitFrame() {
    then([mark = -1]() mutable {
      const int32_t frames = QEL::QC_GAME::fGetGame()->_framesThisSecond;
      if (mark == -1) mark = frames;
      return frames != mark;
    });
  }

  // A button of a window: the pointer goes where the button is drawn.
  void clickWidget(std::function<const QEL::QC_GUI_OBJECT*()> widget) {
    awaitFrame();
    then([widget] {
      const QEL::QC_GUI_OBJECT* target = widget();
      if (target == nullptr) return false;
      moveTo(centreOf(target));
      return true;
    });
    rest(kRest);
    press();
  }

  // A card or pile: the pointer tries points over it until the scene says it is under the
  // pointer (another card may lie over part of it), then the button is pressed.
  void clickAiming(std::function<std::vector<SPOT>()> points, std::function<bool()> isUnder, std::string what) {
    then([points, isUnder, what, tried = size_t(0)]() mutable {
      if (tried > 0 && isUnder()) return true;
      const std::vector<SPOT> candidates = points();
      if (tried >= candidates.size()) {
        std::fprintf(stderr, "CHILD FAILED: the pointer cannot reach %s\n", what.c_str());
        std::_Exit(1);
      }
      moveTo(candidates[tried++]);
      return false;
    });
    press();
  }

  // Typed characters as the keyboard reports them: the key goes down with its character, and
  // comes up in the next pass.
  void type(const std::wstring& text) {
    for (wchar_t character : text) {
      const uint32_t key = static_cast<uint32_t>(std::towupper(character));
      then([key, character] {
        post(platform::kMsgKeyDown, key);
        post(platform::kMsgChar, static_cast<uintptr_t>(character));
        return true;
      });
      rest(1);
      then([key] { return post(platform::kMsgKeyUp, key), true; });
      rest(1);
    }
  }

 private:
  std::deque<STEP> _steps;
};

// ---- reading the level ---------------------------------------------------------------------

// Points over a card at rest, its centre first, then towards its corners (turned with it).
std::vector<SPOT> pointsOver(const CARD* card) {
  std::vector<SPOT> points;
  const float c = std::cos(card->angle);
  const float s = std::sin(card->angle);
  for (const auto& [dx, dy] : std::vector<std::pair<float, float>>{
           {0, 0}, {-25, -40}, {25, -40}, {-25, 40}, {25, 40}, {0, -45}, {0, 45}, {-30, 0}, {30, 0}}) {
    points.push_back({card->currentX + dx * c - dy * s, card->currentY + dx * s + dy * c});
  }
  return points;
}

bool isFreeOnTable(const LEVEL& level, int32_t slot) {
  const CARD* card = level.cards[slot];
  return card != nullptr && card->onTable && !card->inFlight && level.countCardsOver(slot) == 0;
}

// The rank of a solver item: a layout slot, or the top of pile k as -k - 1; 0 when it is gone.
int32_t rankOfItem(const LEVEL& level, int32_t item) {
  if (item >= 0) return isFreeOnTable(level, item) ? level.cards[item]->rank : 0;
  const int32_t top = level.cardPiles->getCard(-item - 1, 0);
  return top < 0 ? 0 : level.cardPiles->getRank(top);
}

// The table as it lies now, with the piles and the stock still to come, for the solver. Cards
// in `leaveOut` count as taken.
struct POSITION {
  EDITOR_CARD_TABLE table;
  LEVEL_DEAL deal;
  LEVEL_POSITION position;
};

POSITION positionOf(const LEVEL& level, const std::vector<int32_t>& leaveOut = {}) {
  POSITION now;
  const auto taken = [&](int32_t slot) {
    const CARD* card = level.cards[slot];
    return card == nullptr || !card->onTable || std::find(leaveOut.begin(), leaveOut.end(), slot) != leaveOut.end();
  };
  for (int32_t slot = 0; slot < LEVEL::MAX_LAYOUT_CARDS; ++slot) {
    if (taken(slot)) continue;
    const CARD* card = level.cards[slot];
    EDITOR_CARD& entry = now.table.cards[slot];
    entry.inUse = true;
    entry.value = card->value;
    entry.isSpecial = card->isSpecial();
    for (int32_t over : card->overList)
      if (over >= 0 && over < LEVEL::MAX_LAYOUT_CARDS && !taken(over)) entry.overList.push_back(over);
    now.deal.layoutValues[slot] = card->value;
  }
  const CARD_PILES& piles = *level.cardPiles;
  for (int32_t pile = 0; pile < piles.pileCount; ++pile) {
    std::vector<int32_t> cards;
    for (int32_t pos = piles.pileSizes[pile] - 1; pos >= 0; --pos) {
      const int32_t value = piles.getCard(pile, pos);
      if (value >= 0) cards.push_back(value);
    }
    now.position.piles.push_back(cards);
  }
  for (int32_t i = piles.used; i < piles.stockSize; ++i) now.position.stock.push_back(piles.stockValues[i]);
  now.position.turnedOver = level.turnoversLeft < level.turnoversAtStart;
  return now;
}

LEVEL_SOLUTION solveNow(const LEVEL& level, const std::vector<int32_t>& leaveOut = {}) {
  const POSITION now = positionOf(level, leaveOut);
  return solvePosition(now.table, now.deal, now.position, kSolverBudget);
}

// ---- the player ----------------------------------------------------------------------------

class PLAYER {
 public:
  // Called between two updates: the hand finishes what it does, or the player looks at the
  // screen and decides what to do next.
  void onUpdate() {
    if (++_updates > kUpdateLimit) fail("the play does not come to its end");
    if (!_hand.busy()) decide();
    _hand.run();
  }

  bool finished() const { return _finished; }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    std::fprintf(stderr, "CHILD FAILED: %s (scene kind %d, update %d)\n", why.c_str(), gSceneKind, _updates);
    if (const MENU* menu = current<MENU>())
      std::fprintf(stderr, "  menu: state %d window %d dialog %d\n", menu->menuState, menu->windowState,
                   menu->dialogState);
    if (const LEVEL* level = current<LEVEL>())
      std::fprintf(stderr, "  level: window %d hint %d transition %d finished %d\n", level->windowState,
                   level->hintStep, level->transitionState, level->isLevelFinished);
    std::_Exit(1);
  }

  void decide() {
    if (MENU* menu = current<MENU>()) return decideInMainMenu(*menu);
    if (PACKS* packs = current<PACKS>()) return decideInPacks(*packs);
    if (FRAMES* frames = current<FRAMES>()) return decideInFrames(*frames);
    if (LEVEL* level = current<LEVEL>()) return decideInLevel(*level);
  }

  void decideInMainMenu(MENU& menu) {
    if (menu.dialogState == MENU::DIALOG_OPEN && menu.dialogKind == MENU::ADD_PLAYER_DIALOG && !_named) {
      // The first start asks for a name.
      _named = true;
      _hand.type(kPlayerName);
      _hand.rest(2);
      _hand.clickWidget(widgetOf<MENU>([](MENU& m) { return m.namePanelConfirmButton; }));
      return;
    }
    if (menu.dialogState != MENU::NO_DIALOG) return;
    if (menu.menuState == MENU::MENU_READY && menu.windowState == MENU::NO_WINDOW && _named && !_playPressed) {
      _playPressed = true;
      _hand.clickWidget(widgetOf<MENU>([](MENU& m) { return m.mainButtons[MENU::PLAY_BUTTON]; }));
    } else if (menu.windowState == MENU::MODE_SELECTION_WINDOW) {
      _hand.clickWidget(widgetOf<MENU>([](MENU& m) { return m.juniorButton; }));
    }
  }

  void decideInPacks(PACKS& packs) {
    if (packs.slideState != PACKS::SLIDE::IDLE || packs.panelState != PACKS::PANEL::NONE) return;
    _hand.clickWidget(widgetOf<PACKS>([](PACKS& p) { return p.packButtons[0]; }));
  }

  void decideInFrames(FRAMES& frames) {
    if (frames.slideState != FRAMES::SLIDE::IDLE) return;
    if (!_framePlayed) {
      _hand.clickWidget(widgetOf<FRAMES>([](FRAMES& f) { return f.frameButtons[0]; }));
      return;
    }
    // Back on the score sheet after the frame: the player closes the window.
    report("frames.frame1Shown", frames.frameButtons[0] != nullptr);
    report("updates", _updates);
    _finished = true;
    _hand.then([] { return HAND::post(platform::kMsgClose), true; });
    _hand.rest(1000);
  }

  void decideInLevel(LEVEL& level) {
    if (level.transitionState != LEVEL::IN_PLAY || level.animationState != LEVEL::NO_DEAL ||
        level.cardFlights->activeCount() > 0)
      return;
    switch (level.windowState) {
      case window_state::NONE:
        break;
      case window_state::FINISH_OPEN:
        recordFrame(level);
        _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.finishFramesButton; }));
        return;
      case window_state::TROPHY_OPEN:
        _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.trophyCloseButton; }));
        return;
      case window_state::SHOP_OPEN:
        decideInShop(level);
        return;
      default:
        return;  // a window slides, or a banner shows
    }
    if (level.isLevelFinished || level.messageState != message_state::NONE) return;
    if (!followTutorial(level)) playFromTheSolver(level);
  }

  void decideInShop(const LEVEL& level) {
    if (level.messageState == message_state::OPEN) {
      _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.purchaseConfirmButton; }));
    } else if (level.messageState != message_state::NONE) {
      return;
    } else if (level.isTutorial && level.hintStep == 7) {
      _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.shopJokerButton; }));
    } else {
      _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.shopCloseButton; }));
    }
  }

  // The first frame teaches: some of its steps let only their own cards or buttons be taken.
  bool followTutorial(const LEVEL& level) {
    if (!level.isTutorial) return false;
    switch (level.hintStep) {
      case 2:
      case 3:
        clickCard(level.hintedCardA);
        clickCard(level.hintedCardB);
        return true;
      case 28:
        clickStock();
        return true;
      case 27:
        for (int32_t pile = 0; pile < level.cardPiles->pileCount; ++pile) {
          if (rankOfItem(level, -pile - 1) != level.cards[LEVEL::TUTORIAL_ONLY_SLOT]->rank) continue;
          clickCard(LEVEL::TUTORIAL_ONLY_SLOT);
          clickPile(pile);
          return true;
        }
        fail("no pile card for the tutorial's card");
      case 6:
        _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.shopButton; }));
        return true;
      case 9:
        _hand.clickWidget(widgetOf<LEVEL>([](LEVEL& l) { return l.jokerButton; }));
        clickCard(level.hintedCardA);
        ++_jokersPlaced;
        return true;
      default:
        return false;
    }
  }

  void playFromTheSolver(const LEVEL& level) {
    const int32_t joker = jokerOnTable(level);
    if (joker >= 0) return pairTheJoker(level, joker);
    if (!isStillPlayable(level)) {
      _solution = solveNow(level);
      _next = 0;
      if (!_solution.cleared) _solution.line.clear();
      report("solver.strike", _solution.strike);
      report("solver.cleared", _solution.cleared);
    }
    if (_next < _solution.line.size()) {
      play(_solution.line[_next++]);
      return;
    }
    // No line clears the table: any free pair, else the stock, until the frame ends.
    _solution = {};
    report("solver.strike", false);
    report("solver.cleared", false);
    std::vector<int32_t> items;
    for (int32_t slot = 0; slot < LEVEL::MAX_LAYOUT_CARDS; ++slot)
      if (isFreeOnTable(level, slot)) items.push_back(slot);
    for (int32_t pile = 0; pile < level.cardPiles->pileCount; ++pile) items.push_back(-pile - 1);
    for (size_t a = 0; a < items.size(); ++a)
      for (size_t b = a + 1; b < items.size(); ++b) {
        const int32_t rank = rankOfItem(level, items[a]);
        if (rank != 0 && rank == rankOfItem(level, items[b])) return play({LEVEL_MOVE::PAIR, items[a], items[b]});
      }
    clickStock();
  }

  // The line holds while its next pair can still be taken.
  bool isStillPlayable(const LEVEL& level) const {
    if (_next >= _solution.line.size()) return false;
    const LEVEL_MOVE& move = _solution.line[_next];
    if (move.kind == LEVEL_MOVE::STOCK) return true;
    const int32_t rank = rankOfItem(level, move.a);
    return rank != 0 && rank == rankOfItem(level, move.b);
  }

  static int32_t jokerOnTable(const LEVEL& level) {
    for (int32_t slot = 0; slot < LEVEL::MAX_LAYOUT_CARDS; ++slot)
      if (isFreeOnTable(level, slot) && level.cards[slot]->value == CARD::JOKER) return slot;
    return -1;
  }

  // The joker pairs with any card: the partner is the free card that leaves the best table.
  void pairTheJoker(const LEVEL& level, int32_t joker) {
    int32_t partner = -1;
    int32_t best = -1;
    for (int32_t slot = 0; slot < LEVEL::MAX_LAYOUT_CARDS; ++slot) {
      if (slot == joker || !isFreeOnTable(level, slot)) continue;
      const LEVEL_SOLUTION after = solveNow(level, {joker, slot});
      const int32_t score = after.strike ? 3 : after.cleared ? 2 : level.cards[slot]->isSpecial() ? 1 : 0;
      if (score > best) {
        best = score;
        partner = slot;
      }
    }
    if (partner < 0) fail("nothing to pair the joker with");
    clickCard(joker);
    clickCard(partner);
    _next = _solution.line.size();  // the table changed: solve again
  }

  void play(const LEVEL_MOVE& move) {
    if (move.kind == LEVEL_MOVE::STOCK) return clickStock();
    for (int32_t item : {move.a, move.b}) {
      if (item >= 0) {
        clickCard(item);
      } else {
        clickPile(-item - 1);
      }
    }
  }

  void clickCard(int32_t slot) {
    _hand.clickAiming([slot] { return pointsOver(current<LEVEL>()->cards[slot]); },
                      [slot] { return current<LEVEL>()->hoveredCard == slot; }, "card " + std::to_string(slot));
  }
  void clickPile(int32_t pile) {
    _hand.clickAiming([pile] { return pointsOver(current<LEVEL>()->cardPiles->holders[pile]); },
                      [pile] { return current<LEVEL>()->hoveredPile == pile + 1; }, "pile " + std::to_string(pile));
  }
  void clickStock() {
    _hand.clickAiming(
        [] {
          const CARD_PILES& piles = *current<LEVEL>()->cardPiles;
          return std::vector<SPOT>{{piles.stockX, piles.stockY}, {piles.stockX - 10, piles.stockY + 20}};
        },
        [] { return current<LEVEL>()->hoveredPile == 0; }, "the stock");
  }

  void recordFrame(const LEVEL& level) {
    if (_framePlayed) return;
    _framePlayed = true;
    const PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
    report("frame.result", level.levelResult.result);
    report("frame.ball1", level.levelResult.specialCards1);
    report("frame.ball2", level.levelResult.specialCards2);
    report("frame.instantStrike", level.isInstantStrike);
    report("frame.jokersPlaced", _jokersPlaced);
    report("frame.jokersUsed", level.jokersUsed);
    report("frame.jokersBought", level.jokersBought);
    report("frame.session", gSessionNumber);
    report("frame.attempt", gLevelAttempts[0]);
    report("player.money", player.money);
    report("player.jokers", player.jokers);
    std::string shown;
    for (wchar_t c : level.moneyLabel->fGetText()) shown += static_cast<char>(c);
    report("screen.money", shown);
  }

  HAND _hand;
  int _updates = 0;
  bool _named = false;
  bool _playPressed = false;
  bool _framePlayed = false;
  bool _finished = false;
  int _jokersPlaced = 0;
  LEVEL_SOLUTION _solution;
  size_t _next = 0;
};

// ---- the child -----------------------------------------------------------------------------

struct CHILD {
  PLAYER player;
  uint32_t now = 1000;
  int32_t lastUpdateMark = -1;
};
CHILD* gChild = nullptr;

// The main loop sleeps until the next update is due: the clock moves on by the time asked, and
// once an update has run since the last sleep, the player takes a turn.
void sleepOnTheFakeClock(uint32_t milliseconds) {
  CHILD& child = *gChild;
  child.now += std::max<uint32_t>(milliseconds, 1);
  QEL::QC_GAME* game = QEL::QC_GAME::fGetGame();
  // Software drawing is slow: a frame every fourth update is enough to see by, and the splash
  // screen, which nobody clicks, needs even fewer.
  game->_settings._frameCap = gIsSplash ? kSplashFrameCap : kFrameCap;
  if (game->_updatesThisSecond == child.lastUpdateMark) return;
  child.lastUpdateMark = game->_updatesThisSecond;
  if (!gIsSplash) child.player.onUpdate();
}

[[noreturn]] void playInChild(const std::filesystem::path& root) {
  CHILD child;
  gChild = &child;
  ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
  ::setenv("ALSOFT_DRIVERS", "null", 0);
  ::setenv("XDG_DOCUMENTS_DIR", (root / "Documents").c_str(), 1);
  std::filesystem::current_path(root / "start");
  QEL::fSetLogSink([](const std::string&) {});
  platform::setTickSource([] { return gChild->now; });
  platform::setSleepFunction(sleepOnTheFakeClock);

  EntryPointer(0);

  report("end.closed", child.player.finished());
  std::ofstream out(root / "report.txt");
  for (const auto& [key, value] : gReport) out << key << '\t' << value << '\n';
  out.close();
  std::_Exit(0);
}

// The start folder and documents folder of the game-child scenarios, played here through the
// game's own entry instead.
class EndToEndTest : public test_support::GameChildTest {
 protected:
  void readReport() {
    std::ifstream in(_root / "report.txt");
    std::string line;
    while (std::getline(in, line)) {
      const size_t tab = line.find('\t');
      if (tab != std::string::npos) _seen[line.substr(0, tab)] = line.substr(tab + 1);
    }
  }
  int seenInt(const std::string& key) const {
    const auto it = _seen.find(key);
    return it == _seen.end() ? -1 : std::atoi(it->second.c_str());
  }

  std::map<std::string, std::string> _seen;
};

TEST_F(EndToEndTest, AFirstStartLeadsThroughTheMenusToAPlayedFirstFrameAndBackToTheScoreSheet) {
  EXPECT_EXIT(playInChild(_root), ::testing::ExitedWithCode(0), "");
  readReport();
  ASSERT_EQ(_seen["end.closed"], "1") << "the game ended before the player closed it";
  ASSERT_EQ(_seen["frames.frame1Shown"], "1") << "the frame did not lead back to the score sheet";

  // The frame ended as the solver's line said it would (a bonus card may strike at once).
  const int result = seenInt("frame.result");
  const int ball1 = seenInt("frame.ball1");
  const int ball2 = seenInt("frame.ball2");
  if (_seen["solver.strike"] == "1") {
    EXPECT_EQ(result, LEVEL::STRIKE);
  } else if (_seen["solver.cleared"] == "1" && _seen["frame.instantStrike"] != "1") {
    EXPECT_EQ(result, LEVEL::SPARE);
  }
  ASSERT_GE(result, LEVEL::OPEN_FRAME);
  ASSERT_LE(result, LEVEL::STRIKE);

  // players.xml: the player named at the start, with the money the play screen showed and
  // the tutorial's joker bought and placed.
  pugi::xml_document players;
  ASSERT_TRUE(players.load_file((saves() / "players.xml").c_str()));
  const pugi::xml_node root = players.child("players");
  EXPECT_EQ(root.attribute("numberOfPlayers").as_int(), 1);
  const pugi::xml_node player = root.child("player");
  EXPECT_STREQ(player.attribute("name").as_string(), "Tester");
  EXPECT_EQ(player.attribute("money").as_string(), _seen["screen.money"]);
  EXPECT_EQ(player.attribute("money").as_int(), seenInt("player.money"));
  EXPECT_EQ(player.attribute("jokers").as_int(), seenInt("player.jokers"));
  EXPECT_EQ(seenInt("frame.jokersBought"), 1);
  EXPECT_EQ(seenInt("frame.jokersPlaced"), 1);
  if (result == LEVEL::STRIKE) {
    EXPECT_TRUE(player.child("trophies").attribute("wasStrike").as_bool());
  }

  // The result file: the first frame as it ended, scored alone, and the second frame open.
  pugi::xml_document results;
  ASSERT_TRUE(results.load_file((saves() / "player0.xml").c_str()));
  const pugi::xml_node info = results.child("info");
  const pugi::xml_node first = info.find_child_by_attribute("level", "id", "0");
  const pugi::xml_node second = info.find_child_by_attribute("level", "id", "1");
  EXPECT_EQ(first.attribute("result").as_int(), result);
  EXPECT_EQ(first.attribute("specialCards1").as_int(), ball1);
  EXPECT_EQ(first.attribute("specialCards2").as_int(), ball2);
  EXPECT_EQ(first.attribute("score").as_int(), result == LEVEL::OPEN_FRAME ? ball1 + ball2 : 10);
  if (result == LEVEL::STRIKE) {
    EXPECT_EQ(ball1, 10);
  } else {
    EXPECT_LT(ball1, 10);
  }
  EXPECT_EQ(second.attribute("result").as_int(), 1);

  // The statistics file of the frame, named and filled after it.
  const std::string code = result == LEVEL::STRIKE  ? "X0"
                           : result == LEVEL::SPARE ? "Y0"
                                                    : std::to_string(ball1) + std::to_string(ball2);
  const std::filesystem::path file =
      statistics() / _seen["frame.session"] / ("level_number_1_" + _seen["frame.attempt"] + "_" + code + ".txt");
  ASSERT_TRUE(std::filesystem::exists(file)) << file;
  const std::string text = test_support::readFile(file);
  EXPECT_NE(text.find("Level pack number=1\nLevel number=1\nResults=" + code + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Joker was used " + _seen["frame.jokersUsed"] + " times"), std::string::npos) << text;
  EXPECT_NE(text.find("3) Jokers: 1"), std::string::npos) << text;
}

}  // namespace
