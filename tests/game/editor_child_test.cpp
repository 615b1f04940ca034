// The level editor played on the whole game: its real buttons, boxes, pictures and screen
// sizes, the way from a level into it and back, and the unsaved-changes question.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "editor_fixture.h"
#include "engine/game.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game_child.h"
#include "gui/gui_container.h"
#include "gui/gui_textbox.h"
#include "gui/gui_wlabel.h"

namespace {

using test_support::GAME_CHILD;
using test_support::GameChildTest;
using EDITOR = SCENE_CARD_GAME_EDITOR;

using enum platform::KEY;

// Where the buttons stand (their centres).
constexpr SCREEN_PLACE SAVE_LEVEL{460, 740};
constexpr SCREEN_PLACE COPY_LEVEL{780, 740};
constexpr SCREEN_PLACE PASTE_LEVEL{940, 740};
constexpr SCREEN_PLACE YES{350, 675};
constexpr SCREEN_PLACE NO{510, 675};
constexpr SCREEN_PLACE CANCEL{670, 675};
constexpr SCREEN_PLACE CIRCLE{100, 25};
constexpr SCREEN_PLACE SQUARE{260, 25};
constexpr SCREEN_PLACE LINES{420, 25};
constexpr SCREEN_PLACE COPY_SELECTED{780, 700};
constexpr SCREEN_PLACE PASTE_SELECTED{940, 700};
constexpr SCREEN_PLACE SET_CARD_VALUE{1124, 50};
// Preview has no place on the screen; its button still answers where it stands, below the
// parked CANCEL button that covers its upper half.
constexpr SCREEN_PLACE PREVIEW{1940, 702};
constexpr SCREEN_PLACE STOCK_PILE_BOX{1124, 530};
constexpr SCREEN_PLACE RESERVE_PILES_BOX{1124, 630};
constexpr SCREEN_PLACE TURNOVERS_BOX{1124, 730};
constexpr SCREEN_PLACE BONUS_CARDS_BOX{1124, 430};
constexpr SCREEN_PLACE EMPTY_TABLE{990, 600};
constexpr uintptr_t BACKSPACE_KEY = 8;

// The scenario's level files (the game works in Resources once it has started).
std::filesystem::path levelsOf(const GAME_CHILD& game) { return game.resources() / "Levels"; }

// Before the game starts: the developer's marker beside Resources (the editor key works,
// the widescreen borders stay off the editor's panels).
void prepareEditorStart(GAME_CHILD&) { test_support::writeFile("debug_test.txt", ""); }

EDITOR* editorScene() { return dynamic_cast<EDITOR*>(gCurrentScene); }
SCENE_CARD_GAME_LEVEL* levelScene() { return dynamic_cast<SCENE_CARD_GAME_LEVEL*>(gCurrentScene); }

// The editor opened on a level straight from the main menu, and a frame drawn. A first
// start plays full screen; the scenarios play in a window unless they ask otherwise.
EDITOR& openEditor(GAME_CHILD& game, int32_t level, bool fullScreen = false) {
  gPlayers[gCurrentPlayer].isFullscreen = fullScreen ? 1 : 0;
  gCurrentLevel = level;
  changeScene(gCurrentScene, new EDITOR());
  game.step();
  CHILD_CHECK(editorScene() != nullptr, "the editor is not the current scene");
  return *editorScene();
}

// A widget clicked: the tree reports one event a pass, so the pointer first rests a pass
// more while the button it left reports leaving.
void click(GAME_CHILD& game, SCREEN_PLACE place) {
  game.moveTo(place.x, place.y);
  game.step();
  game.click(place.x, place.y);
}

void shiftClick(GAME_CHILD& game, float x, float y) {
  QEL::qcINPUT->fOnKeyDown(SHIFT);
  game.click(x, y);
  QEL::qcINPUT->fOnKeyUp(SHIFT);
  game.step();
}

// The left button held from one place to another over a few passes.
void drag(GAME_CHILD& game, float x, float y, float toX, float toY) {
  game.moveTo(x, y);
  QEL::qcINPUT->fOnKeyDown(1);
  game.step();
  for (int i = 1; i <= 8; ++i) {
    game.moveTo(x + (toX - x) * static_cast<float>(i) / 8, y + (toY - y) * static_cast<float>(i) / 8);
    game.step();
  }
  QEL::qcINPUT->fOnKeyUp(1);
  game.step();
}

// Clicks a text box, empties it and types the text.
void typeInto(GAME_CHILD& game, SCREEN_PLACE box, const std::wstring& text) {
  click(game, box);
  for (int i = 0; i < 6; ++i) game.key(8);
  game.type(text);
}

std::filesystem::path levelPath(const GAME_CHILD& game, int32_t level) {
  return levelsOf(game) / ("Level_" + std::to_string(level) + ".xml");
}
std::string levelFile(const GAME_CHILD& game, int32_t level) { return test_support::readFile(levelPath(game, level)); }

// The centre of a card of the level (slot), where the pointer picks it.
SCREEN_PLACE cardPlace(const EDITOR& editor, int32_t slot) {
  return {editor.table.cards[slot].x, editor.table.cards[slot].y};
}

// A slot in use, the n-th in slot order, that nothing lies over at its centre.
int32_t uncoveredCard(EDITOR& editor, GAME_CHILD& game, int n) {
  for (int32_t slot = 0; slot < EDITOR::MAX_CARDS; ++slot) {
    if (!editor.table.cards[slot].inUse) continue;
    game.moveTo(editor.table.cards[slot].x, editor.table.cards[slot].y);
    if (editor.hoveredCard == slot && n-- == 0) return slot;
  }
  test_support::childFail("no uncovered card");
}

// ---- pictures and screen sizes -----------------------------------------------------------

TEST_F(GameChildTest, TheEditorShowsAGeneratedLevelOnItsWideScreen) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 14);
    test_support::CONTACT_SHEET sheet(1);
    int32_t width = 0, height = 0;
    game.moveTo(1200, 100);
    game.step(2);
    const std::vector<uint8_t> layout = game.readBack(&width, &height);
    CHILD_CHECK(width == 1280 && height == 768, "the editor's picture is " + std::to_string(width) + " x " + std::to_string(height));
    sheet.add(layout, width, height);
    // The strip beside the play area shows the editor's dark grey; a card shows where it lies.
    const auto pixel = [&](const std::vector<uint8_t>& rgba, float x, float y) {
      const size_t at = (static_cast<size_t>(y) * 1280 + static_cast<size_t>(x)) * 4;
      return (uint32_t{rgba[at]} << 16) | (uint32_t{rgba[at + 1]} << 8) | rgba[at + 2];
    };
    CHILD_CHECK(pixel(layout, 1250, 60) == 0x444444u, "no dark grey beside the play area");
    const int32_t card = uncoveredCard(editor, game, 0);
    CHILD_CHECK(editor.table.countCardsInUse() > 20, "level 15 has no cards");

    // A card picked: the card panel; then the value picker over the whole screen.
    click(game, cardPlace(editor, card));
    game.step();
    sheet.add(game.readBack(&width, &height), width, height);
    CHILD_CHECK(editor.isCardPanelShown, "no card panel");
    click(game, SET_CARD_VALUE);
    CHILD_CHECK(editor.editorMode == EDITOR::MODE::VALUE_PICKER, "no value picker");
    game.moveTo(75 * 3 + 30, 116 * 2 + 50);
    game.step(2);
    const std::vector<uint8_t> picker = game.readBack(&width, &height);
    sheet.add(picker, width, height);
    CHILD_CHECK(pixel(picker, 600, 600) == 0x444444u, "the level's cards show behind the value picker");
    CHILD_CHECK(sheet.write(std::string(PINDRAKE_BUILD_DIR) + "/editor-screen.png"), "no picture written");
  });
}

// Each caption stays inside its button, clear of the rounded ends, and each box label inside
// the panel strip; the menus' font of the same size keeps its own scale meanwhile.
TEST_F(GameChildTest, EveryCaptionFitsItsButtonAndTheMenusKeepTheirFont) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    const QEL::QC_FONT* shared = findFont(18, 1);
    const int32_t menuWidth = shared->fGetLineWidth(L"Total score: 300");
    EDITOR& editor = openEditor(game, 20);
    constexpr float END_ROOM = 10.0f;
    for (int32_t id = EDITOR::ADD_CARD_BUTTON; id <= EDITOR::PASTE_SELECTED_BUTTON; ++id) {
      QEL::QC_GUI_OBJECT* button = editor.gui->fFindById(id);
      QEL::QC_GUI_OBJECT* caption = button->fFindById(id + EDITOR::CAPTION_OFFSET);
      CHILD_CHECK(caption->fGetWidth() <= button->fGetWidth() - 2 * END_ROOM,
                  "caption of button " + std::to_string(id) + " is " + std::to_string(caption->fGetWidth()) + " wide");
    }
    const float strip = EDITOR::SCREEN_WIDTH - EDITOR_PLAY_AREA_WIDTH;
    for (QEL::QC_GUI_OBJECT* label : {editor.bonusCardsLabel, editor.turnoversLabel, editor.stockPileLabel,
                                      editor.reservePilesLabel, editor.layerLabel}) {
      CHILD_CHECK(label->fGetWidth() <= strip - 2 * END_ROOM, "a box label leaves the panel strip");
    }
    CHILD_CHECK(shared->fGetLineWidth(L"Total score: 300") == menuWidth, "the editor rescaled the menus' font");
  });
}

TEST_F(GameChildTest, SpaceLeadsFromALevelToTheEditorAndBackInAWindow) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    gPlayers[gCurrentPlayer].isFullscreen = 0;
    gCurrentLevel = 3;
    changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
    CHILD_CHECK(game.stepUntil([] { return levelScene()->transitionState == 0; }), "the cards never settled");
    game.key(SPACE);
    CHILD_CHECK(editorScene() != nullptr, "Space did not open the editor");
    CHILD_CHECK(gCurrentLevel == 3, "the editor opened on another level");
    int32_t width = 0, height = 0;
    game.readBack(&width, &height);
    CHILD_CHECK(width == 1280 && height == 768, "the editor's window is " + std::to_string(width) + " wide");

    game.key(SPACE);
    CHILD_CHECK(levelScene() != nullptr, "Space did not test-play the level");
    game.step();
    game.readBack(&width, &height);
    CHILD_CHECK(width == 1024 && height == 768, "the level's window is " + std::to_string(width) + " wide");
    CHILD_CHECK(QEL::qcGAME->_settings._fullscreen == 0, "the window became full screen");
  });
}

TEST_F(GameChildTest, SpaceLeadsFromALevelToTheEditorAndBackInFullScreen) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    CHILD_CHECK(gPlayers[gCurrentPlayer].isFullscreen == 1, "a first start plays full screen");
    changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
    CHILD_CHECK(game.stepUntil([] { return levelScene()->transitionState == 0; }), "the cards never settled");
    game.key(SPACE);
    CHILD_CHECK(editorScene() != nullptr, "Space did not open the editor");
    const QEL::QS_GAME_SETTINGS& settings = QEL::qcGAME->_settings;
    CHILD_CHECK(settings._resolution.x == 1280 && settings._fullscreen == 1, "the editor left full screen");
    CHILD_CHECK(!game.readBack().empty(), "nothing drawn full screen");

    game.key(SPACE);
    CHILD_CHECK(levelScene() != nullptr, "Space did not test-play the level");
    CHILD_CHECK(settings._resolution.x == 1024 && settings._resolution.y == 768, "the level kept the editor's size");
    CHILD_CHECK(settings._fullscreen == 1, "the level left full screen");
    CHILD_CHECK(gPlayers[gCurrentPlayer].isFullscreen == 1, "the player's full-screen choice was lost");
    game.step();
    CHILD_CHECK(!game.readBack().empty(), "nothing drawn full screen");
  });
}

TEST_F(GameChildTest, WithoutTheDeveloperMarkerSpaceInALevelOpensNoEditor) {
  play([](GAME_CHILD& game) {
    changeScene(gCurrentScene, new SCENE_CARD_GAME_LEVEL());
    CHILD_CHECK(game.stepUntil([] { return levelScene()->transitionState == 0; }), "the cards never settled");
    game.key(SPACE);
    CHILD_CHECK(levelScene() != nullptr, "Space left the level");
    CHILD_CHECK(gSceneKind == 4, "another scene's kind");
  });
}

// ---- the unsaved-changes question ----------------------------------------------------

TEST_F(GameChildTest, RightArrowOnAChangedLevelCancelsOrLeavesWithoutSaving) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const std::string before = levelFile(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    const SCREEN_PLACE from = cardPlace(editor, card);
    drag(game, from.x, from.y, from.x + 40, from.y + 30);
    CHILD_CHECK(editor.table.isModified, "a dragged card did not change the level");

    game.key(RIGHT_ARROW);
    CHILD_CHECK(editor.isQuestionShown, "no question");
    click(game, CANCEL);
    CHILD_CHECK(!editor.isQuestionShown, "the question stayed");
    CHILD_CHECK(gCurrentLevel == 20 && editor.table.isModified, "CANCEL did more than close the question");
    CHILD_CHECK(editor.table.cards[card].x == from.x + 40, "CANCEL lost the change");

    game.key(RIGHT_ARROW);
    click(game, NO);
    CHILD_CHECK(gCurrentLevel == 21 && !editor.table.isModified, "NO did not load the next level");
    CHILD_CHECK(levelFile(game, 20) == before, "NO saved the level");
  });
}

TEST_F(GameChildTest, LeftArrowOnAChangedLevelSavesOnYes) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    const SCREEN_PLACE from = cardPlace(editor, card);
    drag(game, from.x, from.y, from.x - 30, from.y + 20);
    game.key(LEFT_ARROW);
    CHILD_CHECK(editor.isQuestionShown, "no question");
    click(game, YES);
    CHILD_CHECK(gCurrentLevel == 19, "YES did not step to the previous level");
    pugi::xml_document saved;
    saved.load_string(levelFile(game, 20).c_str());
    const pugi::xml_node node = saved.child("level").find_child_by_attribute("card", "id", std::to_string(card).c_str());
    CHILD_CHECK(node.attribute("x").as_float() == from.x - 30, "the moved card was not saved");
    // Back on the saved level nothing asks: it has no unsaved change.
    game.key(RIGHT_ARROW);
    CHILD_CHECK(gCurrentLevel == 20 && !editor.isQuestionShown, "the saved level still asks");
    CHILD_CHECK(editor.table.cards[card].x == from.x - 30, "the saved level lost the move");
  });
}

TEST_F(GameChildTest, PastingALevelAlwaysAsksFirst) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 30);
    const int32_t cardsOf30 = editor.table.countCardsInUse();
    click(game, COPY_LEVEL);
    game.key(RIGHT_ARROW);
    CHILD_CHECK(gCurrentLevel == 31 && !editor.isQuestionShown, "an unchanged level asked");
    const std::string before = levelFile(game, 31);
    const int32_t cardsOf31 = editor.table.countCardsInUse();
    CHILD_CHECK(cardsOf31 != cardsOf30, "levels 31 and 32 look alike");

    click(game, PASTE_LEVEL);
    CHILD_CHECK(editor.isQuestionShown, "pasting an unchanged level did not ask");
    click(game, CANCEL);
    CHILD_CHECK(editor.table.countCardsInUse() == cardsOf31, "CANCEL pasted");

    click(game, PASTE_LEVEL);
    click(game, NO);
    CHILD_CHECK(editor.table.countCardsInUse() == cardsOf30, "NO did not paste the copied level");
    CHILD_CHECK(editor.table.isModified, "a pasted level counts as saved");
    CHILD_CHECK(levelFile(game, 31) == before, "NO saved");

    click(game, PASTE_LEVEL);
    click(game, YES);
    CHILD_CHECK(editor.table.countCardsInUse() == cardsOf30 && gCurrentLevel == 31, "YES did not paste");
    pugi::xml_document saved;
    saved.load_string(levelFile(game, 31).c_str());
    CHILD_CHECK(saved.child("level").attribute("countOfCards").as_int() == cardsOf30,
                "YES did not save the level before the paste");
  });
}

TEST_F(GameChildTest, YesWithASaveThatFailsStaysOnTheChangedLevel) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    const SCREEN_PLACE from = cardPlace(editor, card);
    drag(game, from.x, from.y, from.x + 50, from.y);
    std::filesystem::remove(levelPath(game, 20));
    std::filesystem::create_directory(levelPath(game, 20));
    game.key(RIGHT_ARROW);
    click(game, YES);
    CHILD_CHECK(gCurrentLevel == 20, "the level was left although it was not saved");
    CHILD_CHECK(editor.table.isModified && editor.table.cards[card].x == from.x + 50, "the change was lost");
    CHILD_CHECK(editor.message.find("NOT saved") != std::string::npos, "nothing on the screen: " + editor.message);
    click(game, SAVE_LEVEL);
    CHILD_CHECK(editor.table.isModified, "a failed save button counts as saved");
  });
}

// A level file cut short opens as an empty level: the screen says so, a copy is kept, and
// neither Space nor the empty level replaces the file. Space also does nothing while the
// unsaved-changes question waits for its answer.
TEST_F(GameChildTest, ABrokenLevelFileIsKeptAndSpaceNeverSavesOverItOrOverTheQuestion) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    const std::string whole = levelFile(game, 10);
    const std::string cut = whole.substr(0, whole.size() / 2);
    std::filesystem::remove(levelPath(game, 10));
    test_support::writeFile(levelPath(game, 10), cut);
    EDITOR& editor = openEditor(game, 10);
    CHILD_CHECK(editor.table.countCardsInUse() == 0, "the broken level shows cards");
    CHILD_CHECK(editor.message.find("Level 11 could not be read, kept as Level_10.xml.corrupt") != std::string::npos,
                "nothing on the screen: " + editor.message);
    CHILD_CHECK(test_support::readFile(levelPath(game, 10).string() + ".corrupt") == cut, "no copy kept");
    game.key(SPACE);
    CHILD_CHECK(editorScene() != nullptr, "Space left the editor");
    CHILD_CHECK(levelFile(game, 10) == cut, "the broken file was replaced by the empty level");
    CHILD_CHECK(editor.message.find("NOT saved") != std::string::npos, "the screen does not say why: " + editor.message);

    game.key(RIGHT_ARROW);
    CHILD_CHECK(gCurrentLevel == 11, "an unchanged broken level asked");
    const std::string before = levelFile(game, 11);
    const int32_t card = uncoveredCard(editor, game, 0);
    const SCREEN_PLACE from = cardPlace(editor, card);
    drag(game, from.x, from.y, from.x + 40, from.y + 30);
    game.key(RIGHT_ARROW);
    CHILD_CHECK(editor.isQuestionShown, "no question");
    game.key(SPACE);
    CHILD_CHECK(editorScene() != nullptr && editor.isQuestionShown, "Space went past the question");
    CHILD_CHECK(levelFile(game, 11) == before, "Space saved behind the question");
  });
}

// ---- clipboard, preview, shapes, values ----------------------------------------------

TEST_F(GameChildTest, ThreeCopiedCardsPasteOnTheirPlacesAsTheNewSelection) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 30);
    const int32_t cards = editor.table.countCardsInUse();
    const int32_t a = uncoveredCard(editor, game, 0);
    const int32_t b = uncoveredCard(editor, game, 1);
    const int32_t c = uncoveredCard(editor, game, 2);
    click(game, cardPlace(editor, a));
    shiftClick(game, cardPlace(editor, b).x, cardPlace(editor, b).y);
    shiftClick(game, cardPlace(editor, c).x, cardPlace(editor, c).y);
    CHILD_CHECK(editor.table.currentCard == c && editor.table.selectedCards.count() == 2, "not three cards picked");
    click(game, COPY_SELECTED);
    game.log.clear();
    click(game, PASTE_SELECTED);

    CHILD_CHECK(editor.table.countCardsInUse() == cards + 3, "not three cards pasted");
    const int32_t first = editor.table.currentCard;
    CHILD_CHECK(first == cards, "the first pasted card is not current: " + std::to_string(first));
    CHILD_CHECK(editor.table.selectedCards.count() == 2, "the other two are not selected");
    CHILD_CHECK(editor.table.cards[first].x == editor.table.cards[a].x &&
                    editor.table.cards[first].y == editor.table.cards[a].y,
                "the first copy is not on its card");
    CHILD_CHECK(editor.table.cards[editor.table.selectedCards.get(1)].x == editor.table.cards[c].x, "the last copy moved");
    CHILD_CHECK(editor.table.isModified, "pasted cards count as saved");
    int pasteLines = 0;
    for (const std::string& line : game.log) pasteLines += line == "Paste card" ? 1 : 0;
    CHILD_CHECK(game.logged("countOfCards: 3"), "no count in the log");
    CHILD_CHECK(pasteLines == 3, std::to_string(pasteLines) + " paste lines");
  });
}

TEST_F(GameChildTest, PastingIntoANearlyFullLevelTakesOnlyWhatFits) {
  const auto before = [](GAME_CHILD& game) {
    prepareEditorStart(game);
    // 299 cards: three of them, one a skittle, on layer 7.
    EDITOR_CARD_TABLE table;
    for (int32_t slot = 0; slot < 299; ++slot) {
      const bool chosen = slot == 0 || slot == 5 || slot == 6;
      table.cards[slot].putOnTable(60.0f + static_cast<float>(slot % 25) * 36, 80.0f + static_cast<float>(slot / 25) * 45,
                                   chosen ? 7 : 0, -1, slot == 0 || slot == 100);
    }
    pugi::xml_document document;
    writeLevel(document, table, 150, LEVEL_SETTINGS{1, 40, 2, 2});
    CHILD_CHECK(saveLevelDocument(document, levelPath(game, 150)), "no level written");
  };
  play(before, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 150);
    CHILD_CHECK(editor.table.countOfSpecialCards == 2, "not two skittles");
    game.moveTo(EMPTY_TABLE.x, EMPTY_TABLE.y);
    for (int i = 0; i < 8; ++i) game.key(EQUALS);
    CHILD_CHECK(editor.table.layerFilter == 7, "not on layer 7");
    game.key(NUMPAD_STAR);
    CHILD_CHECK(editor.table.currentCard == 0 && editor.table.selectedCards.count() == 2, "layer 7 not picked");
    click(game, COPY_SELECTED);
    click(game, PASTE_SELECTED);
    CHILD_CHECK(editor.table.countCardsInUse() == 300, "not full");
    CHILD_CHECK(editor.table.currentCard == 299 && editor.table.cards[299].isSpecial, "the copy of the skittle is not in the last slot");
    CHILD_CHECK(editor.table.countOfSpecialCards == 3, "skittles: " + std::to_string(editor.table.countOfSpecialCards));
    CHILD_CHECK(editor.message.find("2 of 3 cards not pasted") != std::string::npos, "no message: " + editor.message);

    // Full: a further paste leaves every card as it is.
    click(game, PASTE_SELECTED);
    CHILD_CHECK(editor.table.countOfSpecialCards == 3 && editor.table.cards[299].isSpecial, "a full level was written over");
    CHILD_CHECK(editor.message.find("3 of 3 cards not pasted") != std::string::npos, "no message: " + editor.message);
  });
}

TEST_F(GameChildTest, PreviewRecordsACardMovedOverAnother) {
  const auto before = [](GAME_CHILD& game) {
    prepareEditorStart(game);
    CHILD_CHECK(writeTestLevel(levelPath(game, 150), 150, {{4, 300, 300, 3}, {9, 600, 300, 5}}), "no level written");
  };
  play(before, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 150);
    drag(game, 600, 300, 330, 310);
    CHILD_CHECK(editor.table.cards[4].overList.empty() && editor.table.cards[9].underList.empty(), "lists before the preview");
    click(game, PREVIEW);
    CHILD_CHECK(editor.table.cards[4].overList == std::vector<int32_t>{9}, "card 4 does not know card 9 lies over it");
    CHILD_CHECK(editor.table.cards[9].underList == std::vector<int32_t>{4}, "card 9 does not know card 4 lies under it");
    CHILD_CHECK(editor.table.cards[9].x == 330 && editor.table.cards[9].zLayer == 5, "the preview moved a card");
  });
}

TEST_F(GameChildTest, EachShapeButtonLaysOutTheCardsOnTheTable) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 118);
    std::vector<int32_t> slots;
    for (int32_t slot = 0; slot < EDITOR::MAX_CARDS; ++slot)
      if (editor.table.cards[slot].inUse) slots.push_back(slot);
    CHILD_CHECK(slots.size() > 48, "too few cards");
    const float w = 75, h = 116;
    const auto at = [&](size_t k, float x, float y) {
      const EDITOR_CARD& card = editor.table.cards[slots[k]];
      return std::fabs(card.x - x) < 0.01f && std::fabs(card.y - y) < 0.01f && card.angle == 0.0f;
    };

    click(game, CIRCLE);
    for (size_t k = 0; k < 14; ++k) {
      const double theta = 2 * M_PI * static_cast<double>(k) / 14;
      CHILD_CHECK(at(k, std::round(250 * std::cos(theta)) + 512, std::round(250 * std::sin(theta)) + 384),
                  "circle card " + std::to_string(k));
    }
    CHILD_CHECK(editor.table.isModified, "a shape did not change the level");

    click(game, SQUARE);
    CHILD_CHECK(at(0, 100, 550) && at(4, 100, 550 - 4 * (h + 2)), "square's left column");
    CHILD_CHECK(at(5, 100 + (w + 2), 550 - 4 * (h + 2)) && at(14, 100 + 10 * (w + 2), 550 - 4 * (h + 2)), "square's top row");
    CHILD_CHECK(at(15, 100 + 11 * (w + 2), 550 - 4 * (h + 2)) && at(19, 100 + 11 * (w + 2), 550), "square's right column");
    CHILD_CHECK(at(20, 100 + 10 * (w + 2), 550) && at(29, 100 + (w + 2), 550), "square's bottom row");

    const EDITOR_CARD beyond = editor.table.cards[slots[48]];
    click(game, LINES);
    for (size_t k = 0; k < 48; ++k)
      CHILD_CHECK(at(k, 100 + (w + 2) * static_cast<float>(k % 12), 150 + (h + 30) * static_cast<float>(k / 12)),
                  "lines card " + std::to_string(k));
    CHILD_CHECK(editor.table.cards[slots[48]].x == beyond.x && editor.table.cards[slots[48]].y == beyond.y,
                "a 49th card was moved");
  });
}

TEST_F(GameChildTest, PickingAValueLeavesTheCardWhereItLies) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    const SCREEN_PLACE place = cardPlace(editor, card);
    click(game, place);
    click(game, SET_CARD_VALUE);
    CHILD_CHECK(editor.editorMode == EDITOR::MODE::VALUE_PICKER, "no value picker");
    // The fifth face of the third row: the six of spades.
    click(game, {75 * 4 + 37, 116 * 2 + 58});
    CHILD_CHECK(editor.editorMode == EDITOR::MODE::LAYOUT, "the picker stayed open");
    CHILD_CHECK(editor.table.cards[card].value == 30, "value " + std::to_string(editor.table.cards[card].value));
    CHILD_CHECK(editor.table.cards[card].x == place.x && editor.table.cards[card].y == place.y,
                "the card moved to where the face was picked");
  });
}

TEST_F(GameChildTest, TheArrowsWaitWhileTheValuePickerIsOpen) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    click(game, cardPlace(editor, card));
    click(game, SET_CARD_VALUE);
    CHILD_CHECK(editor.editorMode == EDITOR::MODE::VALUE_PICKER, "no value picker");
    game.key(RIGHT_ARROW);
    game.key(LEFT_ARROW);
    CHILD_CHECK(editor.editorMode == EDITOR::MODE::VALUE_PICKER && editor.table.currentCard == card,
                "an arrow took the card from under the picker");
    CHILD_CHECK(gCurrentLevel == 20 && !editor.isQuestionShown, "an arrow left the level from the picker");
    click(game, {75 * 4 + 37, 116 * 2 + 58});
    CHILD_CHECK(editor.table.cards[card].value == 30, "the face picked after the arrows");
    game.key(RIGHT_ARROW);
    CHILD_CHECK(editor.isQuestionShown, "the picked value is not asked about before leaving");
  });
}

// Where the card's corners lie, turned as it is.
std::vector<SCREEN_PLACE> cornersOf(const EDITOR_CARD& card, float w, float h) {
  std::vector<SCREEN_PLACE> corners;
  for (const float sx : {-0.5f, 0.5f})
    for (const float sy : {-0.5f, 0.5f}) {
      const float dx = sx * w;
      const float dy = sy * h;
      corners.push_back({card.x + dx * std::cos(card.angle) - dy * std::sin(card.angle),
                         card.y + dx * std::sin(card.angle) + dy * std::cos(card.angle)});
    }
  return corners;
}

// Typed places far beyond the top right put the whole card on the play area, straight or
// turned, against its top and right edges.
TEST_F(GameChildTest, PropertiesBeyondThePlayAreaPutTheWholeCardAtItsEdge) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t card = uncoveredCard(editor, game, 0);
    click(game, cardPlace(editor, card));
    for (const wchar_t* degrees : {L"0", L"30"}) {
      typeInto(game, {1124, 150}, L"5000");
      typeInto(game, {1124, 250}, L"-900");
      typeInto(game, {1124, 350}, degrees);
      click(game, {1124, 550});
      const std::string turned = std::string(" turned by ") + (degrees[0] == L'0' ? "0" : "30");
      float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
      for (const SCREEN_PLACE corner : cornersOf(editor.table.cards[card], editor.table.cardWidth,
                                                editor.table.cardHeight)) {
        left = std::min(left, corner.x);
        top = std::min(top, corner.y);
        right = std::max(right, corner.x);
        bottom = std::max(bottom, corner.y);
      }
      constexpr float EDGE = 0.01f;
      CHILD_CHECK(left >= -EDGE && top >= -EDGE && right <= EDITOR_PLAY_AREA_WIDTH + EDGE && bottom <= 768 + EDGE,
                  "the card" + turned + " leaves the play area: (" + std::to_string(left) + ", " +
                      std::to_string(top) + ")-(" + std::to_string(right) + ", " + std::to_string(bottom) + ")");
      CHILD_CHECK(right > EDITOR_PLAY_AREA_WIDTH - 1 && top < 1, "the card" + turned + " stands off the edges");
      CHILD_CHECK(editor.xBox->fGetWideText() == std::to_wstring(static_cast<int32_t>(editor.table.cards[card].x)),
                  "the X box does not show where the card went");
    }
  });
}

TEST_F(GameChildTest, TheCardPanelSetsWhatIsTypedAndANewCardLandsWhereItWasPlaced) {
  const auto before = [](GAME_CHILD& game) {
    prepareEditorStart(game);
    CHILD_CHECK(writeTestLevel(levelPath(game, 150), 150, {{0, 300, 300, 2}, {1, 500, 300, 2}, {2, 540, 320, 6}}),
                "no level written");
  };
  play(before, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 150);
    click(game, {300, 300});
    shiftClick(game, 500, 300);
    // The two cards share their layer and angle but not their x.
    CHILD_CHECK(editor.xBox->fGetWideText().empty() && editor.layerBox->fGetWideText() == L"2", "shared boxes");
    typeInto(game, {1124, 150}, L"abc");
    typeInto(game, {1124, 350}, L"30");
    typeInto(game, {1124, 450}, L"500");
    click(game, {1124, 550});
    for (int32_t slot : {0, 1}) {
      const EDITOR_CARD& card = editor.table.cards[slot];
      CHILD_CHECK(std::fabs(card.angle * RADIANS_TO_DEGREES - 30) < 0.001f, "not turned: " + std::to_string(slot));
      CHILD_CHECK(card.zLayer == EDITOR::TOP_LAYER, "layer " + std::to_string(card.zLayer));
    }
    CHILD_CHECK(editor.table.cards[0].x == 300 && editor.table.cards[1].x == 500, "letters in X moved the cards");
    CHILD_CHECK(editor.table.isModified, "set properties count as saved");

    // Card 1, taken off its centre, goes below card 2, the one card it lies on.
    click(game, {510, 320});
    click(game, {1124, 700});
    CHILD_CHECK(editor.table.cards[1].zLayer == 5, "brought to back onto " + std::to_string(editor.table.cards[1].zLayer));

    click(game, {100, 740});
    CHILD_CHECK(editor.isAddingCard, "Add new card waits for no place");
    click(game, {700, 500});
    const int32_t added = editor.table.currentCard;
    CHILD_CHECK(editor.table.countCardsInUse() == 4 && !editor.isAddingCard, "no card added");
    CHILD_CHECK(editor.table.cards[added].x == 700 && editor.table.cards[added].y == 500, "the new card did not stay put");
  });
}

TEST_F(GameChildTest, EachQuickBackspaceInABoxDeletesOneCharacter) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    typeInto(game, STOCK_PILE_BOX, L"1234");
    CHILD_CHECK(editor.stockPileBox->fGetWideText() == L"1234", "typed into the box");
    for (const wchar_t* left : {L"123", L"12", L"1"}) {
      // Down and up in one pump, as a quick tap on the key reaches the game.
      test_support::postWindowMessage(platform::kMsgKeyDown, BACKSPACE_KEY);
      test_support::postWindowMessage(platform::kMsgKeyUp, BACKSPACE_KEY);
      game.pumpStep(2);
      CHILD_CHECK(editor.stockPileBox->fGetWideText() == left, "a quick Backspace did not delete one character");
    }
  });
}

TEST_F(GameChildTest, DigitsTypedWithinOnePumpAllReachTheBox) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    typeInto(game, STOCK_PILE_BOX, L"");
    game.postTypeInOnePump(L"197");
    CHILD_CHECK(editor.stockPileBox->fGetWideText() == L"197", "digits of one pump were lost");
  });
}

// ---- the level's numbers -------------------------------------------------------------

TEST_F(GameChildTest, TheLevelBoxesShowWhatWillBeSavedBeforeTheSave) {
  play(prepareEditorStart, [](GAME_CHILD& game) {
    EDITOR& editor = openEditor(game, 20);
    const int32_t stock = editor.numberOfCardsInStockPile;
    const int32_t specials = editor.table.countOfSpecialCards;
    game.moveTo(500, 400);

    typeInto(game, STOCK_PILE_BOX, L"abc");
    typeInto(game, RESERVE_PILES_BOX, L"9");
    // The box shows what the stock will be as soon as the typing has moved on.
    CHILD_CHECK(editor.stockPileBox->fGetWideText() == std::to_wstring(stock), "stock box: letters kept");
    typeInto(game, TURNOVERS_BOX, L"-3");
    typeInto(game, BONUS_CARDS_BOX, L"12");
    CHILD_CHECK(editor.table.layerFilter == EDITOR_NO_LAYER_FILTER, "typing '-' changed the layer filter");
    CHILD_CHECK(editor.table.countOfSpecialCards == specials, "typing '2' added a skittle");
    click(game, EMPTY_TABLE);
    CHILD_CHECK(editor.reservePilesBox->fGetWideText() == L"2", "reserve piles box: 9 kept");
    CHILD_CHECK(editor.turnoversBox->fGetWideText() == L"0", "turnovers box: -3 kept");
    CHILD_CHECK(editor.bonusCardsBox->fGetWideText() == L"10", "bonus box: 12 kept");
    CHILD_CHECK(editor.table.isModified, "new level numbers count as saved");

    click(game, SAVE_LEVEL);
    CHILD_CHECK(!editor.table.isModified, "the save failed: " + editor.message);
    pugi::xml_document saved;
    saved.load_string(levelFile(game, 20).c_str());
    const pugi::xml_node level = saved.child("level");
    CHILD_CHECK(level.attribute("numberOfCardsInStockPile").as_int() == stock, "stock saved differently");
    CHILD_CHECK(level.attribute("numberOfReservePiles").as_int() == 2, "reserve piles saved differently");
    CHILD_CHECK(level.attribute("numberOfTurnovers").as_int() == 0, "turnovers saved differently");
    CHILD_CHECK(level.attribute("numberOfBonusCards").as_int() == 10, "bonus cards saved differently");
  });
}

}  // namespace
