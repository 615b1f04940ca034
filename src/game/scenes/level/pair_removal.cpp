// A matched pair leaves the table: its cards fly away (a skittle to the skittle display), the
// cards under them come free, the action points and the multiplier rise, the pair is paid,
// and a bonus card from a reserve pile draws the bonus lottery. The cards leave the table
// when their flights land (the level's update).
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/log.h"
#include "engine/sound.h"
#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/picture_size.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"

namespace {

constexpr float SKITTLE_DISPLAY_X = 48.0f;
constexpr float SKITTLE_DISPLAY_Y = 45.0f;
constexpr int32_t POINTS_PLAIN = 10;
constexpr int32_t POINTS_ONE_SKITTLE = 25;
constexpr int32_t POINTS_TWO_SKITTLES = 50;
constexpr uint8_t FULL_ALPHA = 255;

void setLabelText(QEL::QC_GUI_WLABEL* label, const std::wstring& text) {
  if (label != nullptr) label->fSetText(text);
}

bool isLayoutSlot(int32_t id) { return id >= 0 && id < SCENE_CARD_GAME_LEVEL::MAX_LAYOUT_CARDS; }

}  // namespace

void SCENE_CARD_GAME_LEVEL::releaseCardsUnder(int32_t cardId) {
  if (!isLayoutSlot(cardId) || cards[cardId] == nullptr) return;
  // A copy: showing a hint must not see the list change under it.
  const std::vector<int32_t> under = cards[cardId]->underList;
  for (const int32_t id : under) {
    if (!isLayoutSlot(id) || cards[id] == nullptr) continue;
    CARD* card = cards[id];
    card->removeOver(cardId);
    if (countCardsOver(id) != 0) continue;
    card->setCovered(false);
    if (isTutorial && !gHintShown[hint_step::TAKE_SKITTLE_PAIR] && card->isSpecial()) {
      showHint(hint_step::TAKE_SKITTLE_PAIR);
    }
  }
}

void SCENE_CARD_GAME_LEVEL::flyLayoutCardAway(int32_t cardId, float edgeX, float edgeY) {
  if (!isLayoutSlot(cardId) || cards[cardId] == nullptr) return;
  CARD* card = cards[cardId];
  card->kind = CARD::TAKEN;
  releaseCardsUnder(cardId);
  const bool skittle = card->isSpecial();
  const float x = skittle ? SKITTLE_DISPLAY_X : edgeX;
  const float y = skittle ? SKITTLE_DISPLAY_Y : edgeY;
  if (cardFlights != nullptr) {
    cardFlights->addFlight(card, CARD_FLIGHTS::REMOVAL, card->currentX, card->currentY, x, y, 0.0f, 0.0f);
  }
}

void SCENE_CARD_GAME_LEVEL::flyPileTopAway(int32_t pile, float x, float y) {
  CARD* holder = cardPiles->holders[pile];
  // The landing takes this very card off the pile, whatever the stock deals onto it meanwhile.
  flyingPileCards[pile] = cardPiles->getCardState(pile, 0);
  if (cardFlights != nullptr) {
    cardFlights->addFlight(holder, CARD_FLIGHTS::REMOVAL, holder->currentX, holder->currentY, x, y, 0.0f, 0.0f);
  }
}

void SCENE_CARD_GAME_LEVEL::addActionPoint() {
  ++actionPoints;
  if (numberOfActionPointsToIncreaseMultiplier > 0) {
    currentMultiplier = actionPoints / numberOfActionPointsToIncreaseMultiplier + 1;
  } else {
    // Without a step the multiplier cannot grow.
    QEL::fLog("removePair: numberOfActionPointsToIncreaseMultiplier is ",
              numberOfActionPointsToIncreaseMultiplier, "; the multiplier stays 1");
    currentMultiplier = 1;
  }
  if (currentMultiplier > highestMultiplier) {
    highestMultiplier = currentMultiplier;
    QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundMultiplier]);
    if (isTutorial && !gHintShown[hint_step::PAIR_QUICKLY_FOR_MULTIPLIER]) {
      showHint(hint_step::PAIR_QUICKLY_FOR_MULTIPLIER);
    }
  }
  setLabelText(multiplierLabel, L"x" + numberToWString(currentMultiplier));
  nextActionPointDecreaseMs = static_cast<int32_t>(
      1000.0f * defaultTimeToDecreaseActionPointsByOnePoint + static_cast<float>(clockMs));
}

void SCENE_CARD_GAME_LEVEL::removePair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB) {
  if (!isRemovableCard(kindA, indexA)) {
    QEL::fLog("removePair: no card of kind ", kindA, " at ", indexA);
    return;
  }
  if (kindB != NO_CARD && !isRemovableCard(kindB, indexB)) {
    QEL::fLog("removePair: no partner of kind ", kindB, " at ", indexB);
    return;
  }
  float edgeX = 0.0f;
  float edgeY = 0.0f;
  pickPointBeyondEdgeForPair(edgeX, edgeY);
  closeHintsEndedByPair(kindA, indexA, kindB, indexB);
  if (kindA == PILE_TOP || kindB == PILE_TOP) cardPiles->updatePileTops();
  float popupX = 0.0f;
  float popupY = 0.0f;
  flyPairAway(kindA, indexA, kindB, indexB, edgeX, edgeY, popupX, popupY);
  addActionPoint();
  payForPair(kindA, indexA, kindB, indexB, popupX, popupY);
  drawBonusCardsOfPair(kindA, indexA, kindB, indexB);
  const PLAYER_RECORD* player = currentPlayerRecord();
  if (player != nullptr) setLabelText(moneyLabel, numberToWString(player->money));
  checkMoneyTrophies();
}

// Anything but a layout slot or a pile in play is no card: nothing to remove.
bool SCENE_CARD_GAME_LEVEL::isRemovableCard(int32_t kind, int32_t index) const {
  if (kind == LAYOUT_SLOT) return isLayoutSlot(index) && cards[index] != nullptr;
  if (kind == PILE_TOP) {
    return cardPiles != nullptr && index >= 0 && index < CARD_PILES::MAX_PILES && cardPiles->holders[index] != nullptr;
  }
  return false;
}

// One point beyond a screen edge serves every card of the pair that flies to the edge.
void SCENE_CARD_GAME_LEVEL::pickPointBeyondEdgeForPair(float& edgeX, float& edgeY) {
  const int32_t r1 = std::rand();
  const int32_t r2 = std::rand() % 2;
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundCardFly]);
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundCardMatch]);
  if (r1 % 2 == 0) {
    edgeX = static_cast<float>(std::rand() % kPictureWidth);
    edgeY = r2 == 1 ? static_cast<float>(cardHeight) + kPictureHeight : static_cast<float>(-cardHeight);
  } else {
    edgeY = static_cast<float>(std::rand() % kPictureHeight);
    edgeX = r2 == 1 ? static_cast<float>(cardWidth) + kPictureWidth : static_cast<float>(-cardWidth);
  }
}

// The tutorial steps that a taken pair completes.
void SCENE_CARD_GAME_LEVEL::closeHintsEndedByPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB) {
  if (hintStep == hint_step::TAKE_SKITTLE_PAIR) {
    showHintedCardsPlain();
    closeHint();
  }
  for (const int32_t step : {hint_step::PAIR_BONUS_PILE_CARD, hint_step::PAIR_QUICKLY_FOR_MULTIPLIER,
                             hint_step::PAIR_JOKER, hint_step::KEEP_PAIRING}) {
    if (hintStep == step) closeHint();
  }
  // PAIR_FIRST_PILE_CARD lets only its one card be taken and shuts the stock and the buttons: once that card
  // has gone nothing else could end the step, and the player would be held there for good.
  const bool takesOnlySlot =
      (kindA == LAYOUT_SLOT && indexA == TUTORIAL_ONLY_SLOT) || (kindB == LAYOUT_SLOT && indexB == TUTORIAL_ONLY_SLOT);
  if (hintStep == hint_step::PAIR_FIRST_PILE_CARD && takesOnlySlot) closeHint();
}

void SCENE_CARD_GAME_LEVEL::showHintedCardsPlain() {
  for (const int32_t id : {hintedCardA, hintedCardB}) {
    if (isLayoutSlot(id) && cards[id] != nullptr) cards[id]->color.a = FULL_ALPHA;
  }
}

// Starts the pair's flights; the points will rise from the pair's last card.
void SCENE_CARD_GAME_LEVEL::flyPairAway(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB, float edgeX,
                                        float edgeY, float& popupX, float& popupY) {
  const float belowScreen = static_cast<float>(cardHeight) + kPictureHeight;
  const auto popupAt = [&](const CARD* card) {
    popupX = card->currentX;
    popupY = card->currentY;
  };
  if (kindB == NO_CARD) {
    if (kindA == LAYOUT_SLOT) {
      popupAt(cards[indexA]);
      flyLayoutCardAway(indexA, edgeX, edgeY);
    } else {
      popupAt(cardPiles->holders[indexA]);
      flyPileTopAway(indexA, edgeX, edgeY);
    }
  } else if (kindA == PILE_TOP && kindB == PILE_TOP) {
    const float x = static_cast<float>(std::rand() % kPictureWidth);
    popupAt(cardPiles->holders[indexB]);
    flyPileTopAway(indexA, x, belowScreen);
    flyPileTopAway(indexB, x, belowScreen);
  } else if (kindA == LAYOUT_SLOT && kindB == LAYOUT_SLOT) {
    if (hintStep == hint_step::TAKE_FIRST_PAIR) {
      showHintedCardsPlain();
      closeHint();
    }
    popupAt(cards[indexB]);
    flyLayoutCardAway(indexA, edgeX, edgeY);
    flyLayoutCardAway(indexB, edgeX, edgeY);
  } else {
    // A pile top and a layout card, in either order: the pile card drops straight down.
    const int32_t pile = kindA == PILE_TOP ? indexA : indexB;
    const int32_t slot = kindA == LAYOUT_SLOT ? indexA : indexB;
    popupAt(kindB == PILE_TOP ? cardPiles->holders[pile] : cards[slot]);
    const CARD* holder = cardPiles->holders[pile];
    flyPileTopAway(pile, holder->currentX, belowScreen);
    flyLayoutCardAway(slot, edgeX, edgeY);
  }
}

// 10, 25 or 50 points for none, one or two skittles, times the multiplier; pile cards never
// count as skittles.
void SCENE_CARD_GAME_LEVEL::payForPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB, float popupX,
                                       float popupY) {
  int32_t skittles = 0;
  if (kindA == LAYOUT_SLOT && cards[indexA]->isSpecial()) ++skittles;
  if (kindB == LAYOUT_SLOT && cards[indexB]->isSpecial()) ++skittles;
  const int32_t base = skittles == 0 ? POINTS_PLAIN : skittles == 1 ? POINTS_ONE_SKITTLE : POINTS_TWO_SKITTLES;
  const int32_t points = base * currentMultiplier;
  levelMoney += points;
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player != nullptr) addMoney(*player, points);
  showPointsPopup(points, popupX, popupY);
}

void SCENE_CARD_GAME_LEVEL::drawBonusCardsOfPair(int32_t kindA, int32_t indexA, int32_t kindB, int32_t indexB) {
  int32_t bonusCards = 0;
  for (const auto& [kind, index] : {std::pair{kindA, indexA}, std::pair{kindB, indexB}}) {
    if (kind == PILE_TOP && cardPiles->holders[index]->isPileSpecial()) ++bonusCards;
  }
  if (bonusCards == 0) return;
  cardPiles->skittleCount -= bonusCards;
  if (cardPiles->skittleCount < 0) cardPiles->skittleCount = 0;
  // Two bonus cards in one pair still draw once.
  payBonusCardPrize(std::rand() % 100);
}

void SCENE_CARD_GAME_LEVEL::payBonusCardPrize(int32_t draw) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (draw >= 30) {
    const bool small = draw >= 60;
    bonusMoney = getTextIntW(small ? L"bonus_card_XX_money_bonus_value" : L"bonus_card_XXX_money_bonus_value");
    levelMoney += bonusMoney;
    if (player != nullptr) addMoney(*player, bonusMoney);
    showBonusCardWindow(small ? 1 : 2);
    if (small) {
      QEL::fLog("1.   40% - gives XX points to player. Added money: ", bonusMoney);
    } else {
      QEL::fLog("2.  30% - gives XXX points to player. Added money: ", bonusMoney);
    }
  } else if (draw >= 16) {
    if (player != nullptr) {
      ++player->reshuffles;
      if (player->reshuffles == 1 && reshuffleButton != nullptr) reshuffleButton->fEnable();
      setLabelText(reshufflesLabel, numberToWString(player->reshuffles));
    }
    showBonusCardWindow(3);
    QEL::fLog("3.  14% - gives bonus <Reshuffle> to player");
  } else if (draw >= 3) {
    if (player != nullptr) {
      ++player->jokers;
      if (player->jokers == 1 && jokerButton != nullptr) jokerButton->fEnable();
      setLabelText(jokersLabel, numberToWString(player->jokers));
    }
    showBonusCardWindow(4);
    QEL::fLog("4.  13% - gives bonus <Joker> to player");
  } else {
    isInstantStrike = true;
    showBonusCardWindow(5);
    QEL::fLog("5.  3% - gives instant win - <Strike!>");
    finishLevel();
  }
}
