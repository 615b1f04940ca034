// The hint panel: a dark strip across the table with the hint's text, and the arrow and the
// glowing frames that point at what the hint speaks of. Built once by the start-up; showHint
// and closeHint choose the hint on show (hintStep), the drawing points at its targets.
#include <cmath>

#include "game/card.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/hint_steps.h"
#include "game/picture_size.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

constexpr float SHADE_Y = 100.0f;
constexpr float SHADE_HEIGHT = 60.0f;
constexpr uint32_t SHADE_COLOR = 0xD2000000u;  // black, alpha 210
constexpr float PARKED = -200.0f;
constexpr float LABEL_X = 512.0f;
constexpr float LABEL_BELOW_SHADE_TOP = 38.0f;
constexpr float HIGHLIGHT_LOW = 100.0f;  // the glowing frames blink between these alphas
constexpr float HIGHLIGHT_HIGH = 200.0f;
// The arrow's tip within its picture (it points up and to the left), and how far the tip
// stands from a target's centre so that the arrow leaves the target's face readable.
constexpr float ARROW_TIP = 12.0f;
constexpr float TARGET_DX = 20.0f;
constexpr float TARGET_DY = 30.0f;
constexpr float ARROW_BOB = 6.0f;  // pixels along its axis, once a second
constexpr float PI = 3.14159265f;
constexpr float TWO_PI = 2.0f * PI;
// Hint 5 points below the multiplier and left of the money.
constexpr float MULTIPLIER_ARROW_DY = 30.0f;
constexpr float MONEY_ARROW_DX = -40.0f;
constexpr float MONEY_ARROW_DY = 20.0f;
// Hint 27 points beside the stock.
constexpr float PILES_ARROW_DX = 100.0f;

QEL::QS_VECTOR3 placeOf(const QEL::QC_GUI_OBJECT* widget) {
  return widget->fGetTransform()->fGetWorld(false, false, false)._position;
}

void drawBlinking(SCENE_CARD_GAME_LEVEL& scene, QEL::QC_SPRITE* frame) {
  if (frame == nullptr) return;
  frame->fSetColor(SCENE_CARD_GAME_LEVEL::whiteWithAlpha(scene.nextBlinkAlpha(HIGHLIGHT_LOW, HIGHLIGHT_HIGH)));
  frame->fDraw();
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::createHintPanel() {
  deleteSceneContainer(hintContainer);
  hintContainer = new QEL::QC_GUI_CONTAINER();
  hintStep = hint_step::NONE;
  delete hintShade;
  hintShade = makeSceneSprite("interface shadow_black_square.png", 0.0f, SHADE_Y, 1);
  hintShade->fSetScale(kShadeWidth, SHADE_HEIGHT, 1.0f);
  hintShade->fSetColor(SHADE_COLOR);
  delete hintArrow;
  hintArrow = makeSceneSprite("interface/hints arrow.png", PARKED, PARKED, 1);

  // Each frame stays where its button stood at start-up.
  const struct {
    QEL::QC_SPRITE** sprite;
    const char* image;
    const QEL::QC_GUI_OBJECT* button;
  } frames[] = {{&shopHighlight, "interface/hints shop_highlighting.png", shopButton},
                {&jokerHighlight, "interface/hints joker_highlighting.png", jokerButton},
                {&shopJokerHighlight, "interface/hints shop_button_highlighting.png", shopJokerButton}};
  for (const auto& frame : frames) {
    delete *frame.sprite;
    const QEL::QS_VECTOR2 at =
        frame.button != nullptr ? frame.button->fGetTransform()->fGetPosition() : QEL::QS_VECTOR2(PARKED, PARKED);
    *frame.sprite = makeSceneSprite(frame.image, at.x, at.y, 0);
  }

  hintLabel = createLabel(hint_widget::LABEL, L"", LABEL_X, hintShade->_node->_position.y + LABEL_BELOW_SHADE_TOP,
                          hintContainer, findFont(20, 2), 0);
}

void SCENE_CARD_GAME_LEVEL::drawHintArrowAt(float x, float y) {
  if (hintArrow == nullptr) return;
  // The arrow's body lies below and right of its tip; where that would leave the picture it
  // lies on the other side, above the tip towards the middle of the picture near the bottom
  // (clear of the buttons in the corners). The picture is turned a quarter at a time about
  // its corner, which the tip stands next to.
  const float reach = static_cast<float>(hintArrow->_height) - ARROW_TIP;
  const float dy = y + TARGET_DY + reach <= kPictureHeight ? 1.0f : -1.0f;
  float dx = x + TARGET_DX + reach <= kPictureWidth ? 1.0f : -1.0f;
  if (dy < 0.0f) dx = x < kPictureWidth / 2.0f ? 1.0f : -1.0f;
  const float angle = dy > 0.0f ? (dx > 0.0f ? 0.0f : 0.5f * PI) : (dx > 0.0f ? -0.5f * PI : PI);
  const float bob = ARROW_BOB * 0.5f * (1.0f + std::sin(hintArrowPhase * TWO_PI));
  const float tipX = x + dx * TARGET_DX;
  const float tipY = y + dy * TARGET_DY;
  hintArrow->fDrawAt(tipX - dx * (ARROW_TIP - bob), tipY - dy * (ARROW_TIP - bob), angle, 1.0f, 1.0f);
}

void SCENE_CARD_GAME_LEVEL::drawHintLayers() {
  if (hintStep != hint_step::NONE) hintArrowPhase += frameTime;
  if (hintStep == hint_step::OPEN_SHOP) drawBlinking(*this, shopHighlight);
  if (hintStep == hint_step::PLACE_JOKER_ON_MARKED_CARD) drawBlinking(*this, jokerHighlight);
  if (hintStep == hint_step::NONE || hintStep == hint_step::BUY_JOKER) return;

  if (hintShade != nullptr) hintShade->fDraw();
  if (hintContainer != nullptr) hintContainer->fDraw();

  const auto atCard = [this](int32_t id) {
    if (id >= 0 && id < MAX_LAYOUT_CARDS && cards[id] != nullptr && cards[id]->onTable) {
      drawHintArrowAt(cards[id]->currentX, cards[id]->currentY);
    }
  };
  const auto atWidget = [this](const QEL::QC_GUI_OBJECT* widget, float dx, float dy) {
    if (widget == nullptr) return;
    const QEL::QS_VECTOR3 at = placeOf(widget);
    drawHintArrowAt(at.x + dx, at.y + dy);
  };
  const float deckX = cardPiles != nullptr ? cardPiles->stockX : CARD_PILES::STOCK_X;
  const float deckY = cardPiles != nullptr ? cardPiles->stockY : CARD_PILES::STOCK_Y;
  switch (hintStep) {
    case hint_step::TAKE_FIRST_PAIR:
    case hint_step::TAKE_SKITTLE_PAIR:
      atCard(hintedCardA);
      atCard(hintedCardB);
      break;
    case hint_step::PAIR_BONUS_PILE_CARD:
      if (cardPiles != nullptr && hintPileIndex >= 0 && hintPileIndex < CARD_PILES::MAX_PILES &&
          cardPiles->holders[hintPileIndex] != nullptr) {
        drawHintArrowAt(cardPiles->holders[hintPileIndex]->currentX, cardPiles->holders[hintPileIndex]->currentY);
      }
      break;
    case hint_step::PAIR_QUICKLY_FOR_MULTIPLIER:
      atWidget(multiplierLabel, 0.0f, MULTIPLIER_ARROW_DY);
      atWidget(moneyLabel, MONEY_ARROW_DX, MONEY_ARROW_DY);
      break;
    case hint_step::OPEN_SHOP:
      atWidget(shopButton, 0.0f, 0.0f);
      break;
    case hint_step::PLACE_JOKER_ON_MARKED_CARD:
      atCard(hintedCardA);
      atWidget(jokerButton, 0.0f, 0.0f);
      break;
    case hint_step::PAIR_FIRST_PILE_CARD:
      drawHintArrowAt(deckX + PILES_ARROW_DX, deckY);
      atWidget(reshuffleButton, 0.0f, 0.0f);
      break;
    case hint_step::DEAL_FROM_STOCK:
      drawHintArrowAt(deckX, deckY);
      break;
    case hint_step::TURN_STOCK_OR_RESHUFFLE:
      // At the reshuffle button, which this step offers beside the turn of the stock: a
      // point measured from the stock would drift off the button as the piles move the stock.
      atWidget(reshuffleButton, 0.0f, 0.0f);
      break;
    default:
      break;
  }
}

void SCENE_CARD_GAME_LEVEL::drawShopHintGuides() {
  if (hintStep == hint_step::CHOOSE_SHOP_JOKER) {
    drawBlinking(*this, shopJokerHighlight);
    if (shopJokerButton != nullptr) {
      const QEL::QS_VECTOR3 at = placeOf(shopJokerButton);
      drawHintArrowAt(at.x, at.y);
    }
  } else if (hintStep == hint_step::BUY_JOKER && messageState == message_state::OPEN &&
             purchaseConfirmButton != nullptr) {
    const QEL::QS_VECTOR3 at = placeOf(purchaseConfirmButton);
    drawHintArrowAt(at.x, at.y);
  }
}
