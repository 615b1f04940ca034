// One frame of the level on the screen: the table, the interface bars, the layout layer by
// layer, the stock and reserve piles, the cards in flight, the pop-ups, the hints and the
// windows at their slid places. Each window draws its own pieces (window_*.cpp); this file
// places them all and keeps the order.
#include <algorithm>
#include <cmath>

#include "game/card.h"
#include "game/card_flights.h"
#include "game/card_piles.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
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
constexpr int32_t GAUGE_STEPS = 18;
constexpr int32_t PILE_GAP = 10;
constexpr float SKITTLES_DX = -1.0f;  // the skittle counter's place on the second bar
constexpr float SKITTLES_DY = -7.0f;
constexpr float TROPHY_PICTURE_DY = 15.0f;  // the trophy's picture within its frame

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

// A face-down pin card's cover is as large as the card: it goes where the card's picture
// went, turned with it.
void drawOverCard(QEL::QC_SPRITE* sprite, float x, float y, float angle) {
  if (sprite == nullptr) return;
  sprite->fDrawAt(x + SCENE_CARD_GAME_LEVEL::rotatedImageOffsetX(angle),
                  y + SCENE_CARD_GAME_LEVEL::rotatedImageOffsetY(angle), angle, 1.0f, 1.0f);
}

// A bonus card on a reserve pile (or on its way there) has its sign centred 2 below the
// card's place, while the card's picture is centred off that place by the image offset: the
// sign's picture carries its frame off its own centre by the difference, so the frame falls
// on the card.
constexpr float SPECIAL_SIGN_DY = 2.0f;

void drawSpecialSign(QEL::QC_SPRITE* sprite, float x, float y) {
  if (sprite != nullptr) sprite->fDrawAt(x, y + SPECIAL_SIGN_DY, 0.0f, 1.0f, 1.0f);
}

}  // namespace

uint32_t SCENE_CARD_GAME_LEVEL::whiteWithAlpha(float alpha) {
  const float clamped = alpha < 0.0f ? 0.0f : (alpha > 255.0f ? 255.0f : alpha);
  return (static_cast<uint32_t>(clamped) << 24) | 0x00FFFFFFu;
}

const PLAYER_RECORD& SCENE_CARD_GAME_LEVEL::currentPlayerOrBlank() {
  static const PLAYER_RECORD blank{};
  return gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers ? gPlayers[gCurrentPlayer] : blank;
}

float SCENE_CARD_GAME_LEVEL::windowOffset(float slide, bool slidingOut, float range) {
  return slidingOut ? range - slide : slide;
}

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
  int32_t type = currentPlayerOrBlank().currentCardType;
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
  // Round the card's picture, which lies off the card's place by the image offset.
  highlightSprite->fDrawAt(x + rotatedImageOffsetX(angle) + static_cast<float>(highlightOffsetX),
                           y + rotatedImageOffsetY(angle) + static_cast<float>(highlightOffsetY), angle, scaleX, 1.0f);
}

int32_t SCENE_CARD_GAME_LEVEL::multiplierGaugeFrame() const {
  int32_t k = 0;
  if (!gIsPaused) {
    k = 7 + (nextActionPointDecreaseMs - clockMs) / -1000;
    if (k < 0) k = 0;
  }
  if (actionPoints == 0 || k > 7 || hintStep == hint_step::TAKE_FIRST_PAIR ||
      hintStep == hint_step::TAKE_SKITTLE_PAIR || hintStep == hint_step::PAIR_QUICKLY_FOR_MULTIPLIER ||
      hintStep == hint_step::PAIR_FIRST_PILE_CARD || hintStep == hint_step::DEAL_FROM_STOCK) {
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
    const float range = static_cast<float>(cardSlideDistance);
    const float offset = transitionState == 2 ? range - leaveTimer : leaveTimer;
    placeContainer(guiContainer1, -offset);
    placeContainer(guiContainer2, offset);
    placeY(frameNumberMoneyBackgroundSprite, frameNumberMoneyBackgroundHomeY - offset);
    placeY(resultPackNameBackgroundSprite, resultPackNameBackgroundHomeY - offset);
    for (QEL::QC_SPRITE* box : resultFrameSprites) placeY(box, resultFrameHomeY - offset);
    if (gaugeFrame >= 0 && gaugeFrame < GAUGE_STEPS) placeY(multiplierSprites[gaugeFrame], multiplierHomeY - offset);
    const int32_t skittles = countOfSpecialCardsOnScene;
    if (skittles >= 0 && skittles <= 10 && skittleSprites[skittles] != nullptr &&
        resultPackNameBackgroundSprite != nullptr) {
      const QEL::QS_VECTOR3& bar = resultPackNameBackgroundSprite->_node->_position;
      skittleSprites[skittles]->fSetPosition(bar.x + SKITTLES_DX, bar.y + SKITTLES_DY, 0.0f);
    }
  }

  // Every window comes down from above as it opens and goes back up as it closes: its widgets
  // with their container, its background from where it rests.
  const float range = static_cast<float>(windowSlideDistance);
  const struct {
    QEL::QC_GUI_CONTAINER* container;
    QEL::QC_SPRITE* background;
    float homeY;
    float offset;
  } windows[] = {
      {shopContainer, shopBackground, shopBackgroundHomeY,
       windowOffset(shopSlide, windowState == window_state::SHOP_CLOSING, range)},
      {pauseContainer, pauseBackground, pauseBackgroundHomeY,
       windowOffset(pauseSlide, windowState == window_state::PAUSE_CLOSING, range)},
      {finishContainer, finishBackground, finishBackgroundHomeY,
       windowOffset(finishSlide, windowState == window_state::FINISH_CLOSING, range)},
      {optionsContainer, optionsBackground, optionsBackgroundHomeY,
       windowOffset(optionsSlide, windowState == window_state::OPTIONS_CLOSING, range)},
      {trophyContainer, trophyBackground, trophyBackgroundHomeY,
       windowOffset(trophySlide, windowState == window_state::TROPHY_CLOSING, range)},
      {creditsContainer, creditsBackground, creditsBackgroundHomeY,
       windowOffset(creditsSlide, windowState == window_state::CREDITS_CLOSING, range)},
      {purchaseContainer, purchaseBackground, purchaseBackgroundHomeY,
       windowOffset(purchaseSlide, messageState == message_state::CLOSING, range)},
  };
  for (const auto& window : windows) {
    placeContainer(window.container, -window.offset);
    placeY(window.background, window.homeY - window.offset);
  }
  // The options window's tracks and skittle rows, and the trophy's frame and picture.
  const float options = windows[3].offset;
  placeY(soundSliderLine, soundSliderLineHomeY - options);
  placeY(musicSliderLine, musicSliderLineHomeY - options);
  for (int32_t i = 0; i < 6; ++i) {
    placeY(soundSkittlesWhite[i], soundSkittleY[i] - options);
    placeY(soundSkittlesGreen[i], soundSkittleY[i] - options);
    placeY(musicSkittlesWhite[i], soundSkittleY[i] + skittleRowDistance - options);
    placeY(musicSkittlesGreen[i], soundSkittleY[i] + skittleRowDistance - options);
  }
  const float trophy = windows[4].offset;
  placeY(trophyImage, trophyImageHomeY - trophy);
  placeY(orangeStripe, orangeStripeHomeY - trophy);
  for (QEL::QC_SPRITE* picture : trophyImages) placeY(picture, trophyImageHomeY + TROPHY_PICTURE_DY - trophy);

  placeContainer(bannerContainer, -windowOffset(bannerFade, windowState == window_state::BANNER_FADING_OUT,
                                                static_cast<float>(bannerSlideDistance)));
}

void SCENE_CARD_GAME_LEVEL::drawStock() {
  if (cardPiles == nullptr) return;
  const int32_t back = getCardFrame(currentPlayerOrBlank().currentBack, 2);
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
      // The tutorial points at the pile whose top is a bonus card by making it blink.
      if (isTutorial && hintStep == hint_step::PAIR_BONUS_PILE_CARD && k == hintPileIndex) {
        drawHighlight(holder->currentX, holder->currentY, 0.0f, 1.0f,
                      static_cast<uint32_t>(nextBlinkAlpha(100.0f, 255.0f)));
      } else if (hoveredPile == k + 1 || selectedPileCard == k + 1) {
        drawHighlight(holder->currentX, holder->currentY, 0.0f, 1.0f, 255);
      }
      drawCardPicture(frame, holder->currentX, holder->currentY, 0.0f, 1.0f, OPAQUE_WHITE);
      if (cardPiles->isSpecialSlot(k, 0)) drawSpecialSign(specialCardSprite, holder->currentX, holder->currentY);
    } else if (moving && !flightsBusy) {
      // The card under the moving one, so the pile does not look empty meanwhile.
      const int32_t second = cardPiles->getCard(k, 1);
      if (second == -1) continue;
      const int32_t frame = second == CARD::JOKER ? getCardFrame(0, 3) : getCardFrame(second, 0);
      drawCardPicture(frame, holder->homeX, holder->homeY, 0.0f, 1.0f, OPAQUE_WHITE);
      if (cardPiles->isSpecialSlot(k, 1)) drawSpecialSign(specialCardSprite, holder->homeX, holder->homeY);
    }
  }
}

void SCENE_CARD_GAME_LEVEL::drawLayoutCard(const CARD& card) {
  const int32_t backFrame = getCardFrame(currentPlayerOrBlank().currentBack, 2);
  const float x = card.currentX;
  const float y = card.currentY;
  if (card.covered) {
    drawCardPicture(backFrame, x, y, card.angle, 1.0f, OPAQUE_WHITE);
    if (card.special) drawOverCard(bonusCoverSprite, x, y, card.angle);
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
    if (hinted && hintStep == hint_step::TAKE_SKITTLE_PAIR) {
      drawHighlight(x, y, card.angle, 1.0f, static_cast<uint32_t>(nextBlinkAlpha(100.0f, 255.0f)));
    } else if (marked) {
      drawHighlight(x, y, card.angle, 1.0f, 255);
    }
    drawCardPicture(getCardFrame(card.value, 1), x, y, card.angle, 1.0f, card.color.fToARGB());
    return;
  }
  if (hinted && (hintStep == hint_step::TAKE_FIRST_PAIR || hintStep == hint_step::TAKE_SKITTLE_PAIR ||
                 hintStep == hint_step::PLACE_JOKER_ON_MARKED_CARD)) {
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
  const int32_t backFrame = getCardFrame(currentPlayerOrBlank().currentBack, 2);
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
    if (travelling->pileSpecial) drawSpecialSign(specialCardSprite, travelling->currentX, travelling->currentY);
  }
}

void SCENE_CARD_GAME_LEVEL::refreshLayerOrder() {
  int32_t onTable = 0;
  for (const CARD* card : cards) {
    if (card != nullptr && card->onTable) ++onTable;
  }
  // The order still holds when it lists as many cards as lie on the table, each on the
  // table, in strictly rising (layer, id): then it lists exactly those cards, in order.
  bool holds = onTable == layerOrderCount;
  for (int32_t i = 0; holds && i < layerOrderCount; ++i) {
    const CARD* card = cards[layerOrder[i]];
    if (card == nullptr || !card->onTable) {
      holds = false;
    } else if (i > 0) {
      const CARD* before = cards[layerOrder[i - 1]];
      holds = before->zLayer < card->zLayer || (before->zLayer == card->zLayer && layerOrder[i - 1] < layerOrder[i]);
    }
  }
  if (holds) return;

  layerOrderCount = 0;
  for (int32_t id = 0; id < MAX_LAYOUT_CARDS; ++id) {
    if (cards[id] != nullptr && cards[id]->onTable) layerOrder[layerOrderCount++] = id;
  }
  // Stable: within a layer the ids stay rising.
  std::stable_sort(layerOrder, layerOrder + layerOrderCount,
                   [this](int32_t a, int32_t b) { return cards[a]->zLayer < cards[b]->zLayer; });
}

void SCENE_CARD_GAME_LEVEL::drawLayout() {
  refreshLayerOrder();
  const bool flightsBusy = cardFlights != nullptr && cardFlights->animationRunning;
  for (int32_t i = 0; i < layerOrderCount; ++i) {
    const CARD* card = cards[layerOrder[i]];
    if (card->zLayer < BOTTOM_Z_LAYER || card->zLayer > TOP_Z_LAYER) continue;
    // A single flight is drawn over everything later; a group animation's cards stay in
    // their layers.
    if (card->inFlight && !flightsBusy) continue;
    drawLayoutCard(*card);
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
  drawLayout();

  draw(frameNumberMoneyBackgroundSprite);
  draw(resultPackNameBackgroundSprite);
  draw(resultFrameSprites[0]);
  draw(resultFrameSprites[1]);
  // The third ball is played in the tenth frame only.
  if (gCurrentLevel % 10 == 9) draw(resultFrameSprites[2]);

  // Gauge picture g lights g segments: at 0 nothing is lit (its entry holds no picture).
  if (gauge >= 0 && gauge < GAUGE_STEPS && multiplierSprites[gauge] != nullptr) {
    const float alpha = hintStep == hint_step::PAIR_QUICKLY_FOR_MULTIPLIER ? nextBlinkAlpha(10.0f, 255.0f) : 255.0f;
    multiplierSprites[gauge]->fSetColor(whiteWithAlpha(alpha));
    multiplierSprites[gauge]->fDraw();
  }
  if (countOfSpecialCardsOnScene >= 0 && countOfSpecialCardsOnScene <= 10) {
    draw(skittleSprites[countOfSpecialCardsOnScene]);
  }

  draw(guiContainer2);
  draw(guiContainer1);

  if (transitionState == 0 && cardPiles != nullptr && cardPiles->getCardsLeft() > 0) drawStock();

  drawFlyingCards();
  drawPointsPopups();

  const auto open = [this](int32_t opened) { return windowState >= opened && windowState <= opened + 2; };
  if (windowState != window_state::NONE) {
    // Cards stay playable under the bonus-card window: the table is not dimmed for it.
    if (!(open(window_state::BANNER_SHOWN) && isBonusBanner != 0)) draw(shadowSprite);
    if (open(window_state::SHOP_OPEN)) drawShopWindow();
  }

  drawHintLayers();

  if (open(window_state::FINISH_OPEN)) drawFinishWindow();
  if (open(window_state::OPTIONS_OPEN)) drawOptionsWindow();
  if (open(window_state::TROPHY_OPEN)) drawTrophyWindow();
  if (open(window_state::CREDITS_OPEN)) drawCreditsWindow();
  if (open(window_state::PAUSE_OPEN)) drawPauseWindow();

  if (messageState != message_state::NONE) {
    draw(shadowSprite);
    if (messageState >= message_state::OPEN && messageState <= message_state::CLOSING) drawPurchasePanel();
  }
  drawShopHintGuides();

  // Drawn whatever the window: its slide keeps it out of view when no banner is up.
  drawBanner();
}
