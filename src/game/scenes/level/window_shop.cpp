// The shop window: one more reserve pile, a reshuffle or a joker, each with its price, and
// the close button. The prices carry the player's trophy discount and stay fixed for the
// scene; the update opens the shop, greys what the player cannot afford and answers the
// buttons, the purchase panel (purchase_panel.cpp) confirms a purchase.
#include <string>

#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

constexpr float BACKGROUND_X = 153.0f;
constexpr float BACKGROUND_Y = 81.0f;
constexpr float TITLE_X = 510.0f;
constexpr float TITLE_Y = 131.0f;
constexpr float ITEM_Y = 313.0f;
constexpr float PLACE_X = 343.0f;
constexpr float RESHUFFLE_X = 500.0f;
constexpr float JOKER_X = 657.0f;
constexpr float CLOSE_X = 692.0f;
constexpr float CLOSE_Y = 495.0f;
constexpr float PRICE_X = 7.0f;  // relative to the item's button
constexpr float PRICE_Y = 65.0f;

// Trophies that earn a discount: the game finished in the junior and in the professional mode.
constexpr int JUNIOR_GAME_TROPHY = 1;
constexpr int PROFESSIONAL_GAME_TROPHY = 2;
constexpr float ONE_TROPHY_FACTOR = 0.95f;
constexpr double SECOND_TROPHY_DISCOUNT = 0.05;

// Truncated toward zero, in double precision as the prices always were.
int32_t discounted(int32_t price, float factor) {
  return static_cast<int32_t>(static_cast<double>(price) * static_cast<double>(factor));
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::createShopWindow() {
  startSceneWindow(shopContainer, shopBackground, "interface/shop background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  createLabel(shop_widget::TITLE, getText(L"shop"), TITLE_X, TITLE_Y, shopContainer, findFont(42, 0), 0);
  placeButton = addSceneButton(shopContainer, shop_widget::PLACE, "interface/shop button_place.png", PLACE_X, ITEM_Y);
  shopReshuffleButton =
      addSceneButton(shopContainer, shop_widget::RESHUFFLE, "interface/shop button_reshuffle.png", RESHUFFLE_X, ITEM_Y);
  shopJokerButton =
      addSceneButton(shopContainer, shop_widget::JOKER, "interface/shop button_joker.png", JOKER_X, ITEM_Y);
  shopCloseButton = addSceneButton(shopContainer, shop_widget::CLOSE, "interface button_close.png", CLOSE_X, CLOSE_Y);

  computeShopPrices();

  int32_t piles = cardPiles != nullptr ? cardPiles->pileCount : 0;
  if (piles < 0 || piles > CARD_PILES::MAX_PILES) piles = 0;
  QEL::QC_FONT* priceFont = findFont(25, 0);
  placePriceLabel = createChildLabel(shop_widget::PLACE_PRICE, numberToWString(placePrices[piles]), PRICE_X, PRICE_Y,
                                     placeButton, priceFont, 0);
  reshufflePriceLabel = createChildLabel(shop_widget::RESHUFFLE_PRICE, numberToWString(reshufflePrice), PRICE_X,
                                         PRICE_Y, shopReshuffleButton, priceFont, 0);
  jokerPriceLabel = createChildLabel(shop_widget::JOKER_PRICE, numberToWString(jokerPrice), PRICE_X, PRICE_Y,
                                     shopJokerButton, priceFont, 0);
}

void SCENE_CARD_GAME_LEVEL::computeShopPrices() {
  for (int32_t i = 1; i <= CARD_PILES::MAX_PILES; ++i) {
    placePrices[i - 1] = getTextInt(L"shop_price_place_number" + std::to_wstring(i));
  }
  reshufflePrice = getTextIntW(L"shop_price_reshuffle");
  jokerPrice = getTextIntW(L"shop_price_joker");

  priceFactor = 1.0f;
  if (getTrophy(JUNIOR_GAME_TROPHY)) priceFactor = ONE_TROPHY_FACTOR;
  if (getTrophy(PROFESSIONAL_GAME_TROPHY)) {
    priceFactor = static_cast<float>(static_cast<double>(priceFactor) - SECOND_TROPHY_DISCOUNT);
  }
  for (int32_t i = 0; i < CARD_PILES::MAX_PILES; ++i) placePrices[i] = discounted(placePrices[i], priceFactor);
  // With every pile in play the label shows the last place's price again.
  placePrices[CARD_PILES::MAX_PILES] = placePrices[CARD_PILES::MAX_PILES - 1];
  reshufflePrice = discounted(reshufflePrice, priceFactor);
  jokerPrice = discounted(jokerPrice, priceFactor);
}

void SCENE_CARD_GAME_LEVEL::drawShopWindow() {
  drawSceneWindow(shopBackground, shopContainer);
}
