// The left click on the level: the volume sliders of the options window, the stock, the
// reserve-pile tops and the layout cards, with the selection, the matching of pairs and the
// placing of a joker.
#include "engine/input.h"
#include "engine/log.h"
#include "engine/sound.h"
#include "game/card.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/picture_size.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_button5.h"

namespace {

constexpr int32_t OPTIONS_WINDOW_OPEN = 10;
constexpr int32_t BANNER_FIRST_STATE = 19;
constexpr int32_t BANNER_LAST_STATE = 21;
constexpr float KNOB_WIDTH = 37.0f;
constexpr float KNOB_HEIGHT = 38.0f;
constexpr float SLIDER_BAND = 40.0f;  // how far above and below a knob its track takes a click
// The tutorial's stock deals these two values first.
constexpr int32_t TUTORIAL_FIRST_DEAL[2] = {32, 11};

void playSound(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

bool isOnKnob(const QEL::QC_GUI_BUTTON5* knob, float x, float y) {
  const QEL::QS_VECTOR2 at = knob->fGetTransform()->fGetPosition();
  return at.x - KNOB_WIDTH / 2.0f <= x && x <= at.x + KNOB_WIDTH / 2.0f && at.y - KNOB_HEIGHT / 2.0f <= y &&
         y <= at.y + KNOB_HEIGHT / 2.0f;
}

bool isOnTrack(const QEL::QC_GUI_BUTTON5* knob, float y) {
  const float knobY = knob->fGetTransform()->fGetPosition().y;
  return knobY - SLIDER_BAND <= y && y <= knobY + SLIDER_BAND;
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::onLeftClick() {
  isLeftButtonDown = true;
  // While the tutorial asks for the shop button the table takes no click.
  if (isTutorial && hintStep == hint_step::OPEN_SHOP) return;
  if (QEL::qcINPUT_INSTANCE == nullptr) return;
  const QEL::QS_POINT pointer = QEL::qcINPUT_INSTANCE->fGetMousePosition();
  const float x = static_cast<float>(pointer.x);
  const float y = static_cast<float>(pointer.y);

  if (windowState == OPTIONS_WINDOW_OPEN) clickVolumeSliders(x, y);

  // Cards stay playable under the bonus-card window, not under the result banner.
  const bool underBonusBanner =
      windowState >= BANNER_FIRST_STATE && windowState <= BANNER_LAST_STATE && isBonusBanner == 1;
  if (windowState != 0 && !underBonusBanner) return;
  if (selectedCard != -1 && x > static_cast<float>(kPictureWidth - cardWidth / 2)) return;

  if (clickStock()) return;

  if (!isJokerMode) {
    const bool overPileOnly = hoveredPile >= 1 && hoveredPile <= reservePilesInPlay() && hoveredCard == -1;
    const bool overFreeCard = hoveredCard >= 0 && hoveredCard < MAX_LAYOUT_CARDS && cards[hoveredCard] != nullptr &&
                              !cards[hoveredCard]->isCovered();
    // Said before the click is judged: a blocked card sounds too.
    if (overPileOnly || overFreeCard) playSound(kSoundCardSelect);
  }

  if (clickReservePileTop()) return;

  // The joker on the selected pile top itself.
  if (isJokerMode && selectedPileCard != -1 && hoveredPile == selectedPileCard && cardPiles != nullptr &&
      cardPiles->getCard(selectedPileCard - 1, 0) != -1) {
    cardPiles->setCard(CARD::JOKER, selectedPileCard - 1, 0);
    useJoker();
    isJokerMode = false;
    selectedPileCard = -1;
  }

  if (!clickLayoutCard()) isJokerMode = false;
}

bool SCENE_CARD_GAME_LEVEL::clickVolumeSliders(float x, float y) {
  if (soundKnob == nullptr || musicKnob == nullptr) return false;
  if (isOnKnob(soundKnob, x, y)) {
    playSound(kSoundButtonClick);
    draggedSlider = 0;
    dragOffset = x - soundKnob->fGetTransform()->fGetPosition().x;
  }
  if (isOnKnob(musicKnob, x, y)) {
    playSound(kSoundButtonClick);
    draggedSlider = 1;
    dragOffset = x - musicKnob->fGetTransform()->fGetPosition().x;
  }
  if (draggedSlider != -1) return true;
  if (x < sliderMinX || x > sliderMaxX || sliderMaxX <= sliderMinX) return false;

  const float volume = volumeForKnobX(x);
  bool changed = false;
  // Where the two bands overlap, one click sets both volumes.
  for (const bool sound : {true, false}) {
    QEL::QC_GUI_BUTTON5* knob = sound ? soundKnob : musicKnob;
    if (!isOnTrack(knob, y)) continue;
    playSound(kSoundButtonClick);
    knob->fSetPosition(x, knob->fGetTransform()->fGetPosition().y, 0.0f);
    setPlayerVolume(sound, volume);
    changed = true;
  }
  return changed;
}

bool SCENE_CARD_GAME_LEVEL::clickStock() {
  if (hoveredPile != 0 || animationState != 0 || cardPiles == nullptr) return false;
  // The steps that ask for cards on the table keep the stock shut.
  if (hintStep == hint_step::TAKE_FIRST_PAIR || hintStep == hint_step::TAKE_SKITTLE_PAIR ||
      hintStep == hint_step::PLACE_JOKER_ON_MARKED_CARD || hintStep == hint_step::PAIR_FREE_CARDS_FIRST ||
      hintStep == hint_step::PAIR_FIRST_PILE_CARD) {
    return false;
  }

  playSound(kSoundButtonClick2);
  if (hintStep == hint_step::DEAL_FROM_STOCK) {
    cardPiles->stockValues[0] = TUTORIAL_FIRST_DEAL[0];
    cardPiles->stockValues[1] = TUTORIAL_FIRST_DEAL[1];
  } else if (hintStep == hint_step::TURN_STOCK_OR_RESHUFFLE) {
    closeHint();
  }
  if (isTutorial && (hintStep == hint_step::TAKE_SKITTLE_PAIR || hintStep == hint_step::PAIR_BONUS_PILE_CARD ||
                     hintStep == hint_step::PAIR_QUICKLY_FOR_MULTIPLIER || hintStep == hint_step::PAIR_JOKER ||
                     hintStep == hint_step::KEEP_PAIRING || hintStep == hint_step::DEAL_FROM_STOCK ||
                     hintStep == hint_step::TURN_STOCK_OR_RESHUFFLE)) {
    closeHint();
  }

  cardPiles->onStockEmpty();

  selectedPileCard = -1;
  if (selectedCard >= 0 && selectedCard < MAX_LAYOUT_CARDS && cards[selectedCard] != nullptr) {
    cards[selectedCard]->updateColor();
  }
  selectedCard = -1;
  isJokerMode = false;

  if (isTutorial && !gHintShown[hint_step::PAIR_BONUS_PILE_CARD]) {
    for (int32_t p = 0; p < cardPiles->pileCount && p < CARD_PILES::MAX_PILES; ++p) {
      if (!cardPiles->isSpecialSlot(p, 0)) continue;
      hintPileIndex = p;
      showHint(hint_step::PAIR_BONUS_PILE_CARD);
      break;
    }
  }
  return true;
}

bool SCENE_CARD_GAME_LEVEL::clickReservePileTop() {
  if (cardPiles == nullptr || hintStep == hint_step::PLACE_JOKER_ON_MARKED_CARD) return false;
  if (hoveredPile < 1 || hoveredPile > reservePilesInPlay()) return false;
  if (hoveredPile == selectedPileCard) return false;
  const int32_t pile = hoveredPile - 1;
  const int32_t top = cardPiles->getCard(pile, 0);
  if (top == -1) return false;
  // A top already flying away with its pair is still on its pile until it lands.
  const CARD* holder = cardPiles->holders[pile];
  if (holder != nullptr && holder->inFlight) return false;
  QEL::fLog("AKA Bonus Card ID", top);

  const bool layoutSelected = selectedCard >= 0 && selectedCard < MAX_LAYOUT_CARDS && cards[selectedCard] != nullptr;
  if (layoutSelected) {
    CARD* selected = cards[selectedCard];
    if (isJokerMode) {
      cardPiles->setCard(CARD::JOKER, pile, 0);
      useJoker();
      isJokerMode = false;
    } else if (isMatchingPair(selected->rank, cardPiles->getRank(top))) {
      removePair(LAYOUT_SLOT, selectedCard, PILE_TOP, pile);
      selected->updateColor();
      selectedCard = -1;
    } else {
      selected->updateColor();
      selectedCard = -1;
      selectedPileCard = hoveredPile;
    }
  } else if (selectedPileCard == -1) {
    if (isJokerMode) {
      cardPiles->setCard(CARD::JOKER, pile, 0);
      useJoker();
      isJokerMode = false;
    } else {
      selectedPileCard = hoveredPile;
    }
  } else if (isJokerMode) {
    cardPiles->setCard(CARD::JOKER, pile, 0);
    useJoker();
    isJokerMode = false;
    selectedPileCard = -1;
  } else if (isMatchingPair(cardPiles->getRank(cardPiles->getCard(selectedPileCard - 1, 0)), cardPiles->getRank(top))) {
    removePair(PILE_TOP, selectedPileCard - 1, PILE_TOP, pile);
    selectedPileCard = -1;
  } else {
    selectedPileCard = hoveredPile;
  }
  return true;
}

bool SCENE_CARD_GAME_LEVEL::isTakeableInTutorial(int32_t cardId) const {
  switch (hintStep) {
    case hint_step::TAKE_FIRST_PAIR:
    case hint_step::TAKE_SKITTLE_PAIR:
    case hint_step::PLACE_JOKER_ON_MARKED_CARD:
      return cardId == hintedCardA || cardId == hintedCardB;
    case hint_step::PAIR_FIRST_PILE_CARD:
      return cardId == TUTORIAL_ONLY_SLOT;
    default:
      return true;
  }
}

bool SCENE_CARD_GAME_LEVEL::clickLayoutCard() {
  if (hoveredCard < 0 || hoveredCard >= MAX_LAYOUT_CARDS) return false;
  const int32_t slot = hoveredCard;
  CARD* card = cards[slot];
  if (card == nullptr || !card->onTable || !isTakeableInTutorial(slot)) return false;
  if (card->zLayer > zLayerMax || card->zLayer < zLayerMin) return false;
  QEL::fLog("AKA Card ID", card->value);
  if (countCardsOver(slot) != 0) return false;
  // A card already flying away with its pair stays on the table until it lands.
  if (card->inFlight) return false;

  const bool layoutSelected = selectedCard >= 0 && selectedCard < MAX_LAYOUT_CARDS && cards[selectedCard] != nullptr;
  if (!layoutSelected && selectedPileCard > 0 && cardPiles != nullptr) {
    if (isJokerMode) {
      card->setValue(CARD::JOKER);
      useJoker();
      isJokerMode = false;
    } else if (isMatchingPair(cardPiles->getRank(cardPiles->getCard(selectedPileCard - 1, 0)), card->rank)) {
      removePair(PILE_TOP, selectedPileCard - 1, LAYOUT_SLOT, slot);
      selectedPileCard = -1;
    } else {
      selectedPileCard = -1;
      selectedCard = slot;
      card->resetColor();
    }
  } else if (!layoutSelected) {
    if (isJokerMode) {
      card->setValue(CARD::JOKER);
      useJoker();
      isJokerMode = false;
    } else {
      selectedCard = slot;
      card->resetColor();
    }
  } else if (slot == selectedCard) {
    // A second click does not deselect; only the joker changes the card.
    if (isJokerMode) {
      card->setValue(CARD::JOKER);
      useJoker();
      isJokerMode = false;
      selectedCard = -1;
    }
  } else if (isJokerMode) {
    card->setValue(CARD::JOKER);
    useJoker();
    isJokerMode = false;
  } else if (isMatchingPair(cards[selectedCard]->rank, card->rank)) {
    removePair(LAYOUT_SLOT, selectedCard, LAYOUT_SLOT, slot);
    selectedCard = -1;
  } else {
    cards[selectedCard]->updateColor();
    selectedCard = slot;
    card->resetColor();
  }
  return true;
}
