// Every text of the game stands on its plate, button or window, and no two texts or buttons
// overlap: each screen of the level, the main menu, the level packs, the frames and the level
// editor is shown as a player meets it, with the longest texts it shows, and measured from
// what it draws (screen_layout.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game_child.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"
#include "level_fixture.h"
#include "menu_scenario.h"
#include "platform/key_codes.h"
#include "screen_layout.h"

namespace {

using test_support::GAME_CHILD;
using test_support::screen_layout::PICTURES;
using test_support::screen_layout::QUAD;
using test_support::screen_layout::SCREEN_CHECK;
using namespace test_support::main_menu_scenario;
using Level = SCENE_CARD_GAME_LEVEL;
using Containers = std::vector<QEL::QC_GUI_CONTAINER*>;

class ScreenLayout : public test_support::GameChildTest {};

// The tour's faults, each named after its screen.
struct TOUR {
  GAME_CHILD& game;
  SCREEN_CHECK& check;
  std::vector<std::string> faults;
  void look(const std::string& screen, const Containers& containers, const Containers& underneath = {}) {
    check.check(screen, containers, faults, underneath);
  }
};

Containers containersOf(const Level& level) {
  return {level.guiContainer1,   level.guiContainer2,    level.pauseContainer,   level.shopContainer,
          level.moneyContainer,  level.finishContainer,  level.optionsContainer, level.trophyContainer,
          level.creditsContainer, level.hintContainer,   level.bannerContainer,  level.purchaseContainer};
}

// The labels on the stock lie under its cards until it is used up.
void lookAtLevel(TOUR& tour, const Level& level, const std::string& screen) {
  Containers containers = containersOf(level);
  const bool stockUsedUp = level.cardPiles->getCardsLeft() == 0;
  if (stockUsedUp) containers.push_back(level.stockContainer);
  tour.look(screen, containers, stockUsedUp ? Containers{} : Containers{level.stockContainer});
}

Level* enterLevel(int32_t index) {
  Level* level = enterDealtLevel(index);
  CHILD_CHECK(level != nullptr, "no level scene");
  return level;
}

// The play screen with the player's counters at their widest, every mark a frame's boxes
// show, and the stock used up.
void playScreens(TOUR& tour) {
  PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
  player.money = 1234567;
  player.reshuffles = 12;
  player.jokers = 12;
  for (int32_t level : {3, 9}) {
    Level* scene = enterLevel(level);
    scene->refreshLabels();
    const std::string frame = "frame " + std::to_string(level + 1);
    const LEVEL_RESULT results[] = {{Level::STRIKE, 10, 0, 0, 0}, {Level::SPARE, 8, 2, 0, 0},
                                    {Level::OPEN_FRAME, 8, 1, 0, 0}};
    for (const LEVEL_RESULT& result : results) {
      scene->levelResult = result;
      if (level == 9) scene->levelResult.specialCards3 = result.result == Level::STRIKE ? 10 : 8;
      scene->writeRollLabels();
      lookAtLevel(tour, *scene, frame + " result " + std::to_string(result.result));
    }
    scene->cardPiles->used = scene->cardPiles->stockSize;
    lookAtLevel(tour, *scene, frame + " with the stock used up");
  }
}

void openWindow(Level& level, int32_t state, float Level::*slide) {
  level.windowState = state;
  level.*slide = 0.0f;
}

void levelWindows(TOUR& tour) {
  Level* level = enterLevel(3);
  const auto look = [&tour, level](const std::string& screen) { lookAtLevel(tour, *level, screen); };
  openWindow(*level, window_state::PAUSE_OPEN, &Level::pauseSlide);
  look("pause");
  openWindow(*level, window_state::OPTIONS_OPEN, &Level::optionsSlide);
  level->placeVolumeKnobs();
  look("options");
  openWindow(*level, window_state::CREDITS_OPEN, &Level::creditsSlide);
  look("credits");
  openWindow(*level, window_state::SHOP_OPEN, &Level::shopSlide);
  look("shop");
  for (int32_t item = 0; item < 3; ++item) {
    level->showShopMessage(item);
    level->messageState = message_state::OPEN;
    level->purchaseSlide = 0.0f;
    look("purchase of item " + std::to_string(item));
  }
  level->messageState = message_state::NONE;
  for (int32_t trophy = 1; trophy <= kTrophyCount; ++trophy) {
    level->showTrophyWindow(trophy);
    openWindow(*level, window_state::TROPHY_OPEN, &Level::trophySlide);
    look("prize of trophy " + std::to_string(trophy));
  }
  const LEVEL_RESULT results[] = {{Level::STRIKE, 10, 0, 0, 0}, {Level::SPARE, 8, 2, 0, 0},
                                  {Level::OPEN_FRAME, 8, 1, 0, 0}, {Level::NOT_COMPLETED, 1, 0, 0, 0}};
  for (const LEVEL_RESULT& result : results) {
    level->levelResult = result;
    level->showFinishWindow();
    openWindow(*level, window_state::FINISH_OPEN, &Level::finishSlide);
    look("finish of result " + std::to_string(result.result));
  }
  for (int32_t kind : {Level::STRIKE, Level::SPARE, Level::OPEN_FRAME}) {
    level->showResultBanner(kind);
    level->windowState = window_state::BANNER_SHOWN;
    level->bannerFade = 0.0f;
    look("banner of result " + std::to_string(kind));
  }
  for (int32_t prize = 1; prize <= 5; ++prize) {
    level->bonusMoney = 250;
    level->showBonusCardWindow(prize);
    level->windowState = window_state::BANNER_SHOWN;
    level->bannerFade = 0.0f;
    look("bonus card prize " + std::to_string(prize));
  }
  level->windowState = window_state::NONE;
  level->bannerFade = 200.0f;
}

// Every hint the level shows on its strip, on the tutorial's table.
void levelHints(TOUR& tour) {
  Level* level = enterLevel(0);
  for (int32_t hint : {2, 3, 4, 5, 6, 7, 9, 10, 12, 13, 14, 27, 28, 29}) {
    level->showHint(hint);
    lookAtLevel(tour, *level, "hint " + std::to_string(hint));
  }
}

// ---- the menus ----

void lookAtMenu(TOUR& tour, const std::string& screen) {
  tour.game.step();
  MENU* scene = menu();
  tour.look(screen, {scene->mainContainer, scene->changePlayerContainer, scene->informationPanelContainer,
                     scene->namePanelContainer, scene->optionsContainer, scene->helpContainer,
                     scene->creditsContainer, scene->trophiesContainer, scene->modeSelectionContainer});
}

void mainMenuScreens(TOUR& tour) {
  for (int32_t trophy = 0; trophy < kTrophyCount; trophy += 2) gPlayers[gCurrentPlayer].trophies[trophy] = 1;
  tourMainMenu(tour.game, L"Wilhelmina", [&tour](const std::string& screen) { lookAtMenu(tour, screen); });
}

void lookAtPacks(TOUR& tour, const std::string& screen) {
  tour.game.wait(0.7f);
  auto* packs = test_support::currentScene<SCENE_CARD_GAME_LEVELPACKS>();
  tour.look(screen, {packs->mainContainer, packs->titleContainer, packs->informationPanelContainer,
                     packs->professionalPanelContainer});
}

void packsAndFramesScreens(TOUR& tour) {
  GAME_CHILD& game = tour.game;
  gCurrentPlayer = 0;
  loadLevelsInfo(-1);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  lookAtPacks(tour, "packs page 1");
  game.clickButton(919.0f, 380.0f);
  lookAtPacks(tour, "packs page 2");
  game.clickButton(300.0f, 567.0f);
  lookAtPacks(tour, "locked pack");
  game.clickButton(685.0f, 443.0f);
  gGameMode = 1;
  loadLevelsInfo(-1);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  game.wait(0.4f);
  game.clickButton(300.0f, 285.0f);
  lookAtPacks(tour, "professional pack");
  gGameMode = 0;
  gCurrentPack = 0;
  changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
  game.wait(0.7f);
  auto* frames = test_support::currentScene<SCENE_CARD_GAME_FRAMES>();
  tour.look("score sheet", {frames->upperContainer, frames->lowerContainer});
  gCurrentPlayer = 2;
  loadLevelsInfo(-1);
  changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVELPACKS());
  lookAtPacks(tour, "first visit to the packs");
}

TEST_F(ScreenLayout, EveryTextStandsOnItsPlateAndNothingOverlaps) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann", "Bob", "Zo\xC3\xAB", "Maximiliana"}, 1);
        // Ann has played a whole first pack (her best frames) and begun the second.
        std::vector<test_support::STORED_LEVEL> ann =
            test_support::playedPack(0, 4, 10, 0, {30, 60, 90, 120, 150, 180, 210, 240, 270, 300}, 10);
        ann.push_back({10, 3, 9, 1, 20});
        ann.push_back({11, 1, 0, 0, 0});
        test_support::seedResults(game.saves(), 0, 0, ann);
        test_support::seedResults(game.saves(), 0, 1, {{0, 2, 8, 1, 9}, {1, 1, 0, 0, 0}});
      },
      [](GAME_CHILD& game) {
        PICTURES pictures;
        SCREEN_CHECK check(pictures);
        TOUR tour{game, check, {}};
        game.drawEvery = 4;
        mainMenuScreens(tour);
        packsAndFramesScreens(tour);
        gCurrentPlayer = 0;
        playScreens(tour);
        levelWindows(tour);
        levelHints(tour);
        std::string all;
        for (const std::string& fault : tour.faults) all += "\n  " + fault;
        CHILD_CHECK(tour.faults.empty(), std::to_string(tour.faults.size()) + " faults:" + all);
      });
}

// ---- pictures laid on others: a card's overlay on its card, a box on its frame's card ----

struct EXTENT {
  int left = 1 << 30, top = 1 << 30, right = -(1 << 30), bottom = -(1 << 30);
};

EXTENT extentOf(const std::vector<int>& pixels) {
  EXTENT extent;
  for (int pixel : pixels) {
    extent.left = std::min(extent.left, pixel % test_support::screen_layout::kWidth);
    extent.right = std::max(extent.right, pixel % test_support::screen_layout::kWidth + 1);
    extent.top = std::min(extent.top, pixel / test_support::screen_layout::kWidth);
    extent.bottom = std::max(extent.bottom, pixel / test_support::screen_layout::kWidth + 1);
  }
  return extent;
}

std::string spanText(const EXTENT& e) {
  return "(" + std::to_string(e.left) + "," + std::to_string(e.top) + ")-(" + std::to_string(e.right) + "," +
         std::to_string(e.bottom) + ")";
}

// Where a label's text shows: its inked pixels.
EXTENT inkOf(PICTURES& pictures, QEL::QC_GUI_WLABEL& label) {
  std::vector<int> ink;
  for (const QUAD& glyph : test_support::screen_layout::recordDraws([&label] { label.fDraw(); }))
    for (int pixel : pictures.solidPixels(glyph)) ink.push_back(pixel);
  return extentOf(ink);
}

bool isEmpty(const EXTENT& e) { return e.right <= e.left; }

// The quads the current scene draws in one frame, in order.
std::vector<QUAD> sceneQuads() {
  CHILD_CHECK(QEL::qcRENDER->fBeginScene() == 1, "the screen could not be drawn");
  const std::vector<QUAD> quads = test_support::screen_layout::recordDraws([] { gCurrentScene->fDraw(); });
  QEL::qcRENDER->fEndScene();
  return quads;
}

// A picture the level lays over a card (a pile card's bonus frame, a face-down pin card's
// cover) is drawn right after the card's own picture and must cover that card, edge to edge.
void overlaysLieOnTheirCards(TOUR& tour, PICTURES& pictures, const std::string& screen) {
  const std::vector<QUAD> quads = sceneQuads();
  int overlays = 0;
  for (size_t i = 1; i < quads.size(); ++i) {
    const std::string name = pictures.of(quads[i].texture).name;
    if (name != "cards special.png" && name != "bonusCover.png") continue;
    ++overlays;
    const EXTENT overlay = extentOf(pictures.solidPixels(quads[i]));
    const EXTENT card = extentOf(pictures.solidPixels(quads[i - 1]));
    // One pixel of give for the rounding of the corners.
    if (std::abs(overlay.left - card.left) > 1 || std::abs(overlay.top - card.top) > 1 ||
        std::abs(overlay.right - card.right) > 1 || std::abs(overlay.bottom - card.bottom) > 1)
      tour.faults.push_back(screen + ": " + name + " " + spanText(overlay) + " is off its card " + spanText(card));
  }
  CHILD_CHECK(overlays > 0, screen + ": no card carries an overlay");
}

// The glow round a card the pointer is on (drawn right before the card) is even on every side.
void glowsStandRoundTheirCards(TOUR& tour, PICTURES& pictures, const std::string& screen) {
  const std::vector<QUAD> quads = sceneQuads();
  int glows = 0;
  for (size_t i = 0; i + 1 < quads.size(); ++i) {
    if (pictures.of(quads[i].texture).name != "cards highlighting.png") continue;
    ++glows;
    const EXTENT glow = extentOf(pictures.solidPixels(quads[i]));
    const EXTENT card = extentOf(pictures.solidPixels(quads[i + 1]));
    if (std::abs((glow.left + glow.right) - (card.left + card.right)) > 2 ||
        std::abs((glow.top + glow.bottom) - (card.top + card.bottom)) > 2)
      tour.faults.push_back(screen + ": the glow " + spanText(glow) + " is not round its card " + spanText(card));
  }
  CHILD_CHECK(glows == 2, screen + ": " + std::to_string(glows) + " glows for a table card and a pile card");
}

// The box a text stands in on a picture: what a flood from its middle reaches without
// crossing an edge.
std::set<int> boxUnder(PICTURES& pictures, const QUAD& quad, int x, int y) {
  using namespace test_support::screen_layout;
  const auto texel = [&](int pixel) { return pictures.texelAt(quad, pixel % kWidth + 0.5f, pixel / kWidth + 0.5f); };
  const auto near = [](const uint8_t* a, const uint8_t* b) {
    if (b == nullptr || b[3] < kSolid) return false;
    for (int c = 0; c < 4; ++c)
      if (std::abs(a[c] - b[c]) > kEdge) return false;
    return true;
  };
  std::set<int> box;
  std::vector<int> todo{y * kWidth + x};
  if (texel(todo[0]) == nullptr) return box;
  box.insert(todo[0]);
  while (!todo.empty()) {
    const int here = todo.back();
    todo.pop_back();
    for (const int next : {here - 1, here + 1, here - kWidth, here + kWidth}) {
      if (next < 0 || next >= kWidth * kHeight || box.count(next) != 0 || !near(texel(here), texel(next))) continue;
      box.insert(next);
      todo.push_back(next);
    }
  }
  return box;
}

// The pixels within `reach` of the box, outside it, that are not solid on the picture.
int offThePictureAround(PICTURES& pictures, const QUAD& quad, const std::set<int>& box, int reach) {
  using namespace test_support::screen_layout;
  std::set<int> off;
  for (int pixel : box)
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        const int x = pixel % kWidth + dx, y = pixel / kWidth + dy;
        if (dx * dx + dy * dy > reach * reach || x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
        if (box.count(y * kWidth + x) != 0) continue;
        const uint8_t* texel = pictures.texelAt(quad, x + 0.5f, y + 0.5f);
        if (texel == nullptr || texel[3] < kSolid) off.insert(y * kWidth + x);
      }
  return static_cast<int>(off.size());
}

// Every mark on a frame's card (its number, its balls) stands in a box of its own, which
// holds the whole mark and is not the card's face itself, and the box lies on the card: its
// rim and what lies a few pixels beyond it are the card's, not the empty space round the
// card. Returns how many marks were looked at.
int boxesLieOnTheirFrameCard(TOUR& tour, PICTURES& pictures, QEL::QC_GUI_BUTTON5& button, int32_t frame) {
  constexpr int RIM_AND_BEYOND = 4;
  constexpr int ROOM_ROUND_A_MARK = 20;
  CHILD_CHECK(QEL::qcRENDER->fBeginScene() == 1, "the screen could not be drawn");
  const std::vector<QUAD> own = test_support::screen_layout::recordDraws([&button] { button.fDraw(); });
  CHILD_CHECK(!own.empty(), "frame " + std::to_string(frame + 1) + " draws nothing");
  int marks = 0;
  for (QEL::QC_GUI_OBJECT* child : button.fGetChildren()) {
    auto* label = dynamic_cast<QEL::QC_GUI_WLABEL*>(child);
    if (label == nullptr) continue;
    const EXTENT mark = inkOf(pictures, *label);
    if (isEmpty(mark)) continue;
    ++marks;
    const std::string where = "frame " + std::to_string(frame + 1) + ": the box of " +
                              test_support::screen_layout::named(label->fGetText());
    const std::set<int> box = boxUnder(pictures, own[0], (mark.left + mark.right) / 2, (mark.top + mark.bottom) / 2);
    const EXTENT boxSpan = extentOf(std::vector<int>(box.begin(), box.end()));
    if (boxSpan.left > mark.left || boxSpan.top > mark.top || boxSpan.right < mark.right ||
        boxSpan.bottom < mark.bottom || mark.left - boxSpan.left > ROOM_ROUND_A_MARK ||
        boxSpan.right - mark.right > ROOM_ROUND_A_MARK || mark.top - boxSpan.top > ROOM_ROUND_A_MARK ||
        boxSpan.bottom - mark.bottom > ROOM_ROUND_A_MARK)
      tour.faults.push_back(where + " " + spanText(boxSpan) + " does not frame it " + spanText(mark));
    const int off = offThePictureAround(pictures, own[0], box, RIM_AND_BEYOND);
    if (off > 0) tour.faults.push_back(where + " runs off its card (" + std::to_string(off) + " pixels)");
  }
  QEL::qcRENDER->fEndScene();
  return marks;
}

void boxesLieOnTheirFrameCards(TOUR& tour, PICTURES& pictures) {
  auto* frames = test_support::currentScene<SCENE_CARD_GAME_FRAMES>();
  CHILD_CHECK(frames != nullptr, "no frames scene");
  int marks = 0;
  for (int32_t frame = 0; frame < kLevelsPerPack; ++frame)
    marks += boxesLieOnTheirFrameCard(tour, pictures, *frames->frameButtons[frame], frame);
  // Each frame's number and first ball, and the tenth frame's two more.
  CHILD_CHECK(marks == 2 * kLevelsPerPack + 2, "the frames show " + std::to_string(marks) + " marks");
}

// The multiplier on its ring as the gauge fills, "x" and one digit and "x" and two (twelve):
// on the ring's plate, and in its middle.
void multiplierOnItsRing(TOUR& tour, PICTURES& pictures, Level& level) {
  const int32_t step = level.numberOfActionPointsToIncreaseMultiplier;
  for (int32_t pointsBefore : {step / 2, 11 * step + step / 2}) {
    level.actionPoints = pointsBefore;
    level.addActionPoint();
    CHILD_CHECK(level.multiplierGaugeFrame() > 0, "the gauge shows no ring");
    const std::string screen = "multiplier " + QEL::fWideToUtf8(level.multiplierLabel->fGetText());
    lookAtLevel(tour, level, screen);
    const std::vector<QUAD> quads = sceneQuads();
    const auto ring = std::find_if(quads.begin(), quads.end(), [&pictures](const QUAD& quad) {
      return pictures.of(quad.texture).name.rfind("interface/multiplier ", 0) == 0;
    });
    CHILD_CHECK(ring != quads.end(), screen + ": no ring drawn");
    CHILD_CHECK(QEL::qcRENDER->fBeginScene() == 1, "the screen could not be drawn");
    const EXTENT text = inkOf(pictures, *level.multiplierLabel);
    QEL::qcRENDER->fEndScene();
    const int middleX = (text.left + text.right) / 2, middleY = (text.top + text.bottom) / 2;
    const std::set<int> plate = boxUnder(pictures, *ring, middleX, middleY);
    const EXTENT plateSpan = extentOf(std::vector<int>(plate.begin(), plate.end()));
    // A pixel of give each way for the halves of an odd width.
    if (std::abs((plateSpan.left + plateSpan.right) - (text.left + text.right)) > 2 ||
        std::abs((plateSpan.top + plateSpan.bottom) - (text.top + text.bottom)) > 2)
      tour.faults.push_back(screen + ": the text " + spanText(text) + " is not in the middle of the ring's plate " +
                            spanText(plateSpan));
  }
}

TEST_F(ScreenLayout, WhatLiesOnACardOrARingStaysOnIt) {
  play(
      [](GAME_CHILD& game) {
        test_support::seedPlayers(game.saves(), {"Ann"});
        // Ann's first pack is played: strikes all through, so every box of every frame is marked.
        test_support::seedResults(game.saves(), 0, 0,
                                  test_support::playedPack(0, 4, 10, 10, {30, 60, 90, 120, 150, 180, 210, 240, 270, 300},
                                                           10));
      },
      [](GAME_CHILD& game) {
        PICTURES pictures;
        SCREEN_CHECK check(pictures);
        TOUR tour{game, check, {}};
        Level* level = enterLevel(9);
        // Bonus cards (the aces) on top of every pile, and the layout's face-down cards pins.
        CARD_PILES& piles = *level->cardPiles;
        for (int32_t pile = 0; pile < piles.pileCount; ++pile) {
          piles.pileSlots[pile][0] = 13 * pile + 12;
          piles.pileSizes[pile] = 1;
          piles.pileSpecial[pile][0] = 1;
          piles.pileSpecialSizes[pile] = 1;
        }
        piles.updatePileTops();
        for (CARD* card : level->cards)
          if (card != nullptr && card->onTable && card->covered) card->special = true;
        overlaysLieOnTheirCards(tour, pictures, "bonus cards on the piles, pins face down");
        for (CARD* card : level->cards)
          if (card != nullptr && card->onTable && !card->covered && level->hoveredCard < 0) level->hoveredCard = card->id;
        level->hoveredPile = 1;
        glowsStandRoundTheirCards(tour, pictures, "a table card and a pile card under the pointer");
        level->hoveredCard = -1;
        level->hoveredPile = -1;
        multiplierOnItsRing(tour, pictures, *level);

        gCurrentPack = 0;
        changeScene(gCurrentScene, new SCENE_CARD_GAME_FRAMES());
        game.wait(0.7f);
        boxesLieOnTheirFrameCards(tour, pictures);

        std::string all;
        for (const std::string& fault : tour.faults) all += "\n  " + fault;
        CHILD_CHECK(tour.faults.empty(), std::to_string(tour.faults.size()) + " faults:" + all);
      });
}

// ---- the level editor ----

using EDITOR = SCENE_CARD_GAME_EDITOR;

constexpr int32_t EDITOR_LAST_LEVEL = 199;

void lookAtEditor(TOUR& tour, const std::string& screen) {
  tour.game.step();
  tour.look(screen, {test_support::currentScene<EDITOR>()->gui});
}

// The editor on its last level, whose file cannot be read: the message line says so over a
// table without cards. A layer is chosen, the line of cards is on, and a card added there is
// picked, which brings the card panel; then the value picker.
void editorScreens(TOUR& tour) {
  GAME_CHILD& game = tour.game;
  gPlayers[gCurrentPlayer].isFullscreen = 0;
  gCurrentLevel = EDITOR_LAST_LEVEL;
  changeScene(gCurrentScene, new EDITOR());
  game.step();
  EDITOR& editor = *test_support::currentScene<EDITOR>();
  CHILD_CHECK(!editor.message.empty(), "the unread level is not told of");
  editor.table.layerFilter = -99;
  editor.isLineMode = true;
  lookAtEditor(tour, "editor on a level it could not read");
  game.clickButton(100, 740);
  CHILD_CHECK(editor.isAddingCard, "Add new card waits for no place");
  // Pasting a level asks first, also while a new card waits for its place.
  game.clickButton(940, 740);
  CHILD_CHECK(editor.isQuestionShown, "no question");
  lookAtEditor(tour, "editor asking before it pastes a level");
  game.clickButton(620, 675);
  CHILD_CHECK(!editor.isQuestionShown, "CANCEL left the question");
  game.moveTo(600, 300);
  game.key(platform::KEY_1);
  CHILD_CHECK(editor.isCardPanelShown, "the new card is not picked");
  // A card's layer number stands on its picture, across its pattern, by design: the card
  // panel is looked at with the next layer shown, where the picked card is not drawn.
  game.key(platform::EQUALS);
  CHILD_CHECK(editor.table.layerFilter == -98, "the next layer is not shown");
  lookAtEditor(tour, "editor with a card picked");
  game.clickButton(1124, 50);
  CHILD_CHECK(editor.editorMode == EDITOR::MODE::VALUE_PICKER, "no value picker");
  lookAtEditor(tour, "editor's value picker");
}

TEST_F(ScreenLayout, TheEditorsTextsStandClearOfItsPanelsAndOfOneAnother) {
  play(
      [](GAME_CHILD& game) {
        test_support::writeFile("debug_test.txt", "");
        game.writeResource("Levels", "Level_" + std::to_string(EDITOR_LAST_LEVEL) + ".xml", "<level countOfCards=");
      },
      [](GAME_CHILD& game) {
        PICTURES pictures;
        SCREEN_CHECK check(pictures, EDITOR::SCREEN_WIDTH);
        TOUR tour{game, check, {}};
        editorScreens(tour);
        std::string all;
        for (const std::string& fault : tour.faults) all += "\n  " + fault;
        CHILD_CHECK(tour.faults.empty(), std::to_string(tour.faults.size()) + " faults:" + all);
      });
}

}  // namespace
