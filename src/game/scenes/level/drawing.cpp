// One frame of the level on the screen: the table, the interface bars, the layout layer by
// layer, the stock and reserve piles, the cards in flight, the pop-ups and the windows.
// Windows whose start-up is not there yet have null containers and are skipped.
#include <cmath>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float IMAGE_OFFSET_X = -3.0f;
constexpr float IMAGE_OFFSET_Y = -7.0f;
constexpr int32_t ATLAS_COLUMNS = 14;
constexpr int32_t ATLAS_ROWS = 9;
constexpr uint32_t OPAQUE_WHITE = 0xFFFFFFFFu;
constexpr float WINDOW_SLIDE_RANGE = 700.0f;
constexpr float INTERFACE_SLIDE_RANGE = 200.0f;
constexpr float BANNER_SLIDE_RANGE = 200.0f;
constexpr int32_t GAUGE_STEPS = 18;
constexpr int32_t PILE_GAP = 10;

// Where the start-up puts the bar sprites; the bars slide up from there.
constexpr float SCORE_BACKGROUND_Y = 12.0f;
constexpr float BALL_BOX_Y = 40.0f;
constexpr float GAUGE_Y = 14.0f;
constexpr float SKITTLES_DX = -1.0f;
constexpr float SKITTLES_DY = -7.0f;

uint32_t whiteWithAlpha(float alpha) {
  const float clamped = alpha < 0.0f ? 0.0f : (alpha > 255.0f ? 255.0f : alpha);
  return (static_cast<uint32_t>(clamped) << 24) | 0x00FFFFFFu;
}

uint32_t alphaOf(const CARD& card) { return card.color.a; }

void placeY(QEL::QC_SPRITE* sprite, float y) {
  if (sprite != nullptr && sprite->_node != nullptr) {
    sprite->fSetPosition(sprite->_node->_position.x, y, 0.0f);
  }
}

void draw(QEL::QC_SPRITE* sprite) {
  if (sprite != nullptr) sprite->fDraw();
}

void draw(QEL::QC_GUI_CONTAINER* container) {
  if (container != nullptr) container->fDraw();
}

void placeContainer(QEL::QC_GUI_CONTAINER* container, float y) {
  if (container != nullptr) container->fSetPosition(0.0f, y, 0.0f);
}

// The offset a window is drawn at: it comes down while opening and goes back up on leaving.
float slideOffset(float slide, bool slidingOut, float range) { return slidingOut ? range - slide : slide; }

const PLAYER_RECORD& drawingPlayer() {
  static const PLAYER_RECORD noPlayer{};
  return gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers ? gPlayers[gCurrentPlayer] : noPlayer;
}

}  // namespace

float SCENE_CARD_GAME_LEVEL::rotatedImageOffsetX(float angle) {
  return IMAGE_OFFSET_X * std::cos(angle) - IMAGE_OFFSET_Y * std::sin(angle);
}

float SCENE_CARD_GAME_LEVEL::rotatedImageOffsetY(float angle) {
  return IMAGE_OFFSET_X * std::sin(angle) + IMAGE_OFFSET_Y * std::cos(angle);
}

float SCENE_CARD_GAME_LEVEL::nextBlinkAlpha(float low, float high) {
  blinkAlpha += blinkDirection * pulseSpeed * frameTime;
  if (blinkAlpha >= high) {
    blinkAlpha = high;
    blinkDirection = -1.0f;
  } else if (blinkAlpha <= low) {
    blinkAlpha = low;
    blinkDirection = 1.0f;
  }
  return blinkAlpha;
}

void SCENE_CARD_GAME_LEVEL::drawCardPicture(int32_t frame, float x, float y, float angle, float scaleX,
                                            uint32_t color) {
  int32_t type = drawingPlayer().currentCardType;
  if (type < 0 || type >= 3) type = 0;
  QEL::QC_SPRITE* atlas = cardsLibrarySprites[type];
  if (atlas == nullptr) return;
  atlas->fSetFrame(ATLAS_COLUMNS, ATLAS_ROWS, frame);
  atlas->fSetSize(CARD_WIDTH, CARD_HEIGHT);
  atlas->fSetAnchor(0, 0.0f, 0.0f);
  atlas->fSetColor(color);
  atlas->fDrawAt(x + rotatedImageOffsetX(angle), y + rotatedImageOffsetY(angle), angle, scaleX, 1.0f);
}

void SCENE_CARD_GAME_LEVEL::drawHighlight(float x, float y, float angle, float scaleX, uint32_t alpha) {
  if (highlightSprite == nullptr) return;
  highlightSprite->fSetColor(whiteWithAlpha(static_cast<float>(alpha)));
  highlightSprite->fDrawAt(x + static_cast<float>(highlightOffsetX), y + static_cast<float>(highlightOffsetY), angle,
                           scaleX, 1.0f);
}

int32_t SCENE_CARD_GAME_LEVEL::multiplierGaugeFrame() const {
  int32_t k = 0;
  if (!gIsPaused) {
    k = 7 + (nextActionPointDecreaseMs - clockMs) / -1000;
    if (k < 0) k = 0;
  }
  if (actionPoints == 0 || k > 7 || hintStep == 2 || hintStep == 3 || hintStep == 5 || hintStep == 27 ||
      hintStep == 28) {
    k = 0;
  }
  const int32_t n = numberOfActionPointsToIncreaseMultiplier;
  // A tuning text of 0 would divide by zero: the gauge then stays empty.
  if (n <= 0) return -1;
  int32_t g = ((actionPoints % n) * GAUGE_STEPS) / n - k;
  if (g < 0 && actionPoints > 0) g += GAUGE_STEPS - 1;
  return g;
}

void SCENE_CARD_GAME_LEVEL::placeBarsAndWindows(int32_t gaugeFrame) {
  if (!isRestartPending) {
    const float offset = transitionState == 2 ? INTERFACE_SLIDE_RANGE - leaveTimer : leaveTimer;
    placeContainer(guiContainer1, -offset);
    placeContainer(guiContainer2, offset);
    placeY(frameNumberMoneyBackgroundSprite, SCORE_BACKGROUND_Y - offset);
    placeY(resultPackNameBackgroundSprite, SCORE_BACKGROUND_Y - offset);
    for (QEL::QC_SPRITE* box : resultFrameSprites) placeY(box, BALL_BOX_Y - offset);
    if (gaugeFrame >= 0 && gaugeFrame < GAUGE_STEPS) placeY(multiplierSprites[gaugeFrame + 1], GAUGE_Y - offset);
    const int32_t skittles = countOfSpecialCardsOnScene;
    if (skittles >= 0 && skittles <= 10 && skittleSprites[skittles] != nullptr &&
        resultPackNameBackgroundSprite != nullptr) {
      const QEL::QS_VECTOR3& bar = resultPackNameBackgroundSprite->_node->_position;
      skittleSprites[skittles]->fSetPosition(bar.x + SKITTLES_DX, bar.y + SKITTLES_DY, 0.0f);
    }
  }

  // The windows' background sprites come with their start-ups; until then only the
  // containers that exist are placed.
  struct WINDOW {
    QEL::QC_GUI_CONTAINER* container;
    float slide;
    int32_t closingState;
  };
  const WINDOW windows[] = {{shopContainer, shopSlide, 3},       {pauseContainer, pauseSlide, 6},
                            {finishContainer, finishSlide, 9},   {optionsContainer, optionsSlide, 12},
                            {trophyContainer, trophySlide, 15},  {creditsContainer, creditsSlide, 18}};
  for (const WINDOW& window : windows) {
    placeContainer(window.container,
                   -slideOffset(window.slide, windowState == window.closingState, WINDOW_SLIDE_RANGE));
  }
  placeContainer(bannerContainer, -slideOffset(bannerFade, windowState == 21, BANNER_SLIDE_RANGE));
  placeContainer(purchaseContainer, -slideOffset(purchaseSlide, messageState == 3, WINDOW_SLIDE_RANGE));
}

void SCENE_CARD_GAME_LEVEL::drawStock() {
  if (cardPiles == nullptr) return;
  const int32_t back = getCardFrame(drawingPlayer().currentBack, 2);
  int32_t n = cardPiles->getCardsLeft();
  if (n > CARD_PILES::MAX_CARDS) n = CARD_PILES::MAX_CARDS;
  if (n <= 0) {
    drawCardPicture(back, cardPiles->stockX, cardPiles->stockY, 0.0f, 1.0f, OPAQUE_WHITE);
    return;
  }
  // Each card a sixth of a pixel right of and above the one under it: the stock's height.
  for (int32_t i = 0; i < n; ++i) {
    const float step = static_cast<float>(i) / 6.0f;
    drawCardPicture(back, cardPiles->stockX + step, cardPiles->stockY - step, 0.0f, 1.0f, OPAQUE_WHITE);
  }
}

void SCENE_CARD_GAME_LEVEL::drawReservePiles() {
  if (cardPiles == nullptr) return;
  const bool flightsBusy = cardFlights != nullptr && cardFlights->animationRunning;
  const int32_t piles = cardPiles->pileCount < CARD_PILES::MAX_PILES ? cardPiles->pileCount : CARD_PILES::MAX_PILES;
  for (int32_t k = 0; k < piles; ++k) {
    if (backingSprite != nullptr) {
      backingSprite->fSetPosition(
          cardPiles->stockX + cardPiles->offset + static_cast<float>(k * (CARD_WIDTH + PILE_GAP)),
          cardPiles->stockY, 0.0f);
      backingSprite->fDraw();
    }
    const CARD* holder = cardPiles->holders[k];
    if (holder == nullptr) continue;
    const CARD* travelling = cardPiles->getCardState(k, 0);
    const bool moving = holder->inFlight || (travelling != nullptr && travelling->inFlight);
    const int32_t first = cardPiles->getCard(k, 0);
    if (first != -1 && !moving) {
      const int32_t frame = first == CARD::JOKER ? getCardFrame(0, 3) : getCardFrame(first, 0);
      // The tutorial's blinking of a hinted pile comes with the hints, which name the pile.
      if (hoveredPile == k + 1 || selectedPileCard == k + 1) {
        drawHighlight(holder->currentX, holder->currentY, 0.0f, 1.0f, 255);
      }
      drawCardPicture(frame, holder->currentX, holder->currentY, 0.0f, 1.0f, OPAQUE_WHITE);
      if (cardPiles->isSpecialSlot(k, 0) && specialCardSprite != nullptr) {
        specialCardSprite->fDrawAt(holder->currentX, holder->currentY + 2.0f, 0.0f, 1.0f, 1.0f);
      }
    } else if (moving && !flightsBusy) {
      // The card under the moving one, so the pile does not look empty meanwhile.
      const int32_t second = cardPiles->getCard(k, 1);
      if (second == -1) continue;
      const int32_t frame = second == CARD::JOKER ? getCardFrame(0, 3) : getCardFrame(second, 0);
      drawCardPicture(frame, holder->homeX, holder->homeY, 0.0f, 1.0f, OPAQUE_WHITE);
      if (cardPiles->isSpecialSlot(k, 1) && specialCardSprite != nullptr) {
        specialCardSprite->fDrawAt(holder->homeX, holder->homeY + 2.0f, 0.0f, 1.0f, 1.0f);
      }
    }
  }
}

void SCENE_CARD_GAME_LEVEL::drawLayoutCard(const CARD& card) {
  const int32_t backFrame = getCardFrame(drawingPlayer().currentBack, 2);
  const float x = card.currentX;
  const float y = card.currentY;
  if (card.covered) {
    drawCardPicture(backFrame, x, y, card.angle, 1.0f, OPAQUE_WHITE);
    if (card.special && bonusCoverSprite != nullptr) bonusCoverSprite->fDrawAt(x, y, card.angle, 1.0f, 1.0f);
    return;
  }
  // Selected and hovered at once still makes one highlight.
  const bool marked = card.id == selectedCard || card.id == hoveredCard;
  const bool hinted = isTutorial && (card.id == hintedCardA || card.id == hintedCardB);
  if (card.value == CARD::JOKER) {
    if (alphaOf(card) == 255) drawHighlight(x, y, card.angle, 1.0f, 255);
    drawCardPicture(getCardFrame(0, 3), x, y, card.angle, 1.0f, card.color.fToARGB());
    return;
  }
  if (card.special) {
    if (hinted && hintStep == 3) {
      drawHighlight(x, y, card.angle, 1.0f, static_cast<uint32_t>(nextBlinkAlpha(100.0f, 255.0f)));
    } else if (marked) {
      drawHighlight(x, y, card.angle, 1.0f, 255);
    }
    drawCardPicture(getCardFrame(card.value, 1), x, y, card.angle, 1.0f, card.color.fToARGB());
    return;
  }
  if (hinted && (hintStep == 2 || hintStep == 3 || hintStep == 9)) {
    drawHighlight(x, y, card.angle, card.flipScale, static_cast<uint32_t>(nextBlinkAlpha(100.0f, 255.0f)));
  } else if (marked) {
    drawHighlight(x, y, card.angle, card.flipScale, 255);
  }
  const int32_t frame = card.faceFlag != 0.0f ? backFrame : getCardFrame(card.value, 0);
  drawCardPicture(frame, x, y, card.angle, card.flipScale, card.color.fToARGB());
}

void SCENE_CARD_GAME_LEVEL::drawFlyingCards() {
  // A group animation (reshuffle, deal) draws its cards in their layers instead.
  if (cardFlights == nullptr || cardFlights->animationRunning) return;
  const int32_t backFrame = getCardFrame(drawingPlayer().currentBack, 2);
  if (cardPiles != nullptr) {
    for (const CARD* holder : cardPiles->holders) {
      if (holder == nullptr || !holder->inFlight || holder->value == -1) continue;
      if (alphaOf(*holder) == 255) drawHighlight(holder->currentX, holder->currentY, holder->angle, 1.0f, 255);
      const int32_t frame = holder->value == CARD::JOKER ? getCardFrame(0, 3) : getCardFrame(holder->value, 0);
      drawCardPicture(frame, holder->currentX, holder->currentY, holder->angle, holder->flipScale,
                      holder->color.fToARGB());
    }
  }
  for (const CARD* card : cards) {
    if (card == nullptr || !card->inFlight) continue;
    if (card->faceFlag != 0.0f) {
      drawCardPicture(backFrame, card->currentX, card->currentY, card->angle, card->flipScale, OPAQUE_WHITE);
      continue;
    }
    if (alphaOf(*card) == 255) {
      drawHighlight(card->currentX, card->currentY, card->angle, card->flipScale, 255);
    }
    const int32_t frame = card->value == CARD::JOKER ? getCardFrame(0, 3)
                                                      : getCardFrame(card->value, card->special ? 1 : 0);
    drawCardPicture(frame, card->currentX, card->currentY, card->angle, card->flipScale, card->color.fToARGB());
  }
  if (cardPiles == nullptr) return;
  const int32_t piles = cardPiles->pileCount < CARD_PILES::MAX_PILES ? cardPiles->pileCount : CARD_PILES::MAX_PILES;
  for (int32_t k = 0; k < piles; ++k) {
    const CARD* travelling = cardPiles->getCardState(k, 0);
    if (travelling == nullptr || !travelling->inFlight) continue;
    const int32_t frame = travelling->faceFlag != 0.0f ? backFrame : getCardFrame(travelling->value, 0);
    drawCardPicture(frame, travelling->currentX, travelling->currentY, 0.0f, travelling->flipScale, OPAQUE_WHITE);
    if (travelling->pileSpecial && specialCardSprite != nullptr) {
      specialCardSprite->fDrawAt(travelling->currentX, travelling->currentY + 2.0f, 0.0f, 1.0f, 1.0f);
    }
  }
}

void SCENE_CARD_GAME_LEVEL::fDraw() {
  draw(backgroundSprite);

  const int32_t gauge = multiplierGaugeFrame();
  placeBarsAndWindows(gauge);

  if (backingDeckSprite != nullptr && cardPiles != nullptr) {
    backingDeckSprite->fSetPosition(cardPiles->stockX - 20.0f, cardPiles->stockY, 0.0f);
    backingDeckSprite->fDraw();
  }
  draw(stockContainer);
  if (transitionState == 1 || transitionState == 2) drawStock();

  drawReservePiles();

  const bool flightsBusy = cardFlights != nullptr && cardFlights->animationRunning;
  for (int32_t z = BOTTOM_Z_LAYER; z <= TOP_Z_LAYER; ++z) {
    for (const CARD* card : cards) {
      if (card == nullptr || !card->onTable || card->zLayer != z) continue;
      // A single flight is drawn over everything later; a group animation's cards stay in
      // their layers.
      if (card->inFlight && !flightsBusy) continue;
      drawLayoutCard(*card);
    }
  }

  draw(frameNumberMoneyBackgroundSprite);
  draw(resultPackNameBackgroundSprite);
  draw(resultFrameSprites[0]);
  draw(resultFrameSprites[1]);
  // The third ball is played in the tenth frame only.
  if (gCurrentLevel % 10 == 9) draw(resultFrameSprites[2]);

  if (gauge >= 0 && gauge < GAUGE_STEPS && multiplierSprites[gauge + 1] != nullptr) {
    const float alpha = hintStep == 5 ? nextBlinkAlpha(10.0f, 255.0f) : 255.0f;
    multiplierSprites[gauge + 1]->fSetColor(whiteWithAlpha(alpha));
    multiplierSprites[gauge + 1]->fDraw();
  }
  if (countOfSpecialCardsOnScene >= 0 && countOfSpecialCardsOnScene <= 10) {
    draw(skittleSprites[countOfSpecialCardsOnScene]);
  }

  draw(guiContainer2);
  draw(guiContainer1);

  if (transitionState == 0 && cardPiles != nullptr && cardPiles->getCardsLeft() > 0) drawStock();

  drawFlyingCards();

  draw(moneyContainer);
  for (const POINTS_POPUP& popup : pointsPopup) {
    if (popup.rise != POINTS_POPUP::FREE) draw(popup.coin);
  }

  if (windowState != 0) {
    const bool bonusBanner = windowState >= 19 && windowState <= 21 && isBonusBanner != 0;
    if (!bonusBanner) draw(shadowSprite);
    if (windowState >= 1 && windowState <= 3) draw(shopContainer);
  }

  // The hint highlights, panel and arrow are drawn once the hint window's sprites exist.
  if (hintStep != 0 && hintStep != 8) draw(hintContainer);

  if (windowState >= 7 && windowState <= 9) draw(finishContainer);
  // The options window's volume bars and the trophy's pictures come with their windows.
  if (windowState >= 10 && windowState <= 12) draw(optionsContainer);
  if (windowState >= 13 && windowState <= 15) draw(trophyContainer);
  if (windowState >= 16 && windowState <= 18) draw(creditsContainer);
  if (windowState >= 4 && windowState <= 6) draw(pauseContainer);

  if (messageState != 0) {
    draw(shadowSprite);
    if (messageState >= 1 && messageState <= 3) draw(purchaseContainer);
  }

  // Drawn whatever the window: its slide keeps it out of view when no banner is up.
  draw(bannerContainer);
}
