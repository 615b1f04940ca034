// The level's shop: its window offers an extra reserve pile ("place"), a reshuffle and a
// joker; choosing one opens the purchase panel with its explanation, and confirming buys it
// with the player's money. An item the player cannot pay for (or a sixth pile) is shown
// disabled, and the purchase itself checks again: money never goes below 0.
#include "engine/input.h"
#include "engine/log.h"
#include "engine/sound.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_wlabel.h"

namespace {

enum ITEM : int32_t { PLACE = 0, RESHUFFLE = 1, JOKER = 2 };

constexpr float ITEM_HOVER_WIDTH = 162.0f;
constexpr float ITEM_HOVER_HEIGHT = 178.0f;
constexpr int32_t PRICE_FONT_SIZE = 25;
constexpr int32_t PRICE_AFFORDABLE = 0;
constexpr int32_t PRICE_TOO_HIGH = 5;

void play(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

void setText(QEL::QC_GUI_WLABEL* label, const std::wstring& text) {
  if (label != nullptr) label->fSetText(text);
}

// A price read from the texts that is below 0 would pay the player for buying.
bool canPay(const PLAYER_RECORD& player, int32_t price) { return price >= 0 && player.money >= price; }

void showItem(QEL::QC_GUI_BUTTON5* button, QEL::QC_GUI_WLABEL* priceLabel, bool offered) {
  if (priceLabel != nullptr) priceLabel->fSetFont(findFont(PRICE_FONT_SIZE, offered ? PRICE_AFFORDABLE : PRICE_TOO_HIGH));
  if (button == nullptr) return;
  if (offered) {
    button->fEnable();
  } else {
    button->fDisable();
  }
}

bool isPointerOn(const QEL::QC_GUI_BUTTON5* button) {
  if (button == nullptr || QEL::qcINPUT_INSTANCE == nullptr) return false;
  const QEL::QS_POINT pointer = QEL::qcINPUT_INSTANCE->fGetMousePosition();
  const QEL::QS_VECTOR2 at = button->fGetTransform()->fGetPosition();
  return SCENE_CARD_GAME_LEVEL::isPointInRect(static_cast<float>(pointer.x), static_cast<float>(pointer.y), at.x,
                                              at.y, ITEM_HOVER_WIDTH, ITEM_HOVER_HEIGHT);
}

}  // namespace

int32_t SCENE_CARD_GAME_LEVEL::reservePilesInPlay() const {
  if (cardPiles == nullptr) return 0;
  const int32_t piles = cardPiles->pileCount;
  return piles < 0 ? 0 : (piles > CARD_PILES::MAX_PILES ? CARD_PILES::MAX_PILES : piles);
}

int32_t SCENE_CARD_GAME_LEVEL::priceOf(int32_t item) const {
  if (item == RESHUFFLE) return reshufflePrice;
  if (item == JOKER) return jokerPrice;
  return placePrices[reservePilesInPlay()];
}

void SCENE_CARD_GAME_LEVEL::openShop() {
  windowState = window_state::SHOP_OPENING;
  playGuiFlySound();
  shopSlide = static_cast<float>(windowSlideDistance);
  refreshShopItems();
}

void SCENE_CARD_GAME_LEVEL::refreshShopItems() {
  const PLAYER_RECORD* player = currentPlayerRecord();
  const bool pileRoom = reservePilesInPlay() < CARD_PILES::MAX_PILES;
  showItem(placeButton, placePriceLabel, player != nullptr && pileRoom && canPay(*player, priceOf(PLACE)));
  showItem(shopReshuffleButton, reshufflePriceLabel, player != nullptr && canPay(*player, priceOf(RESHUFFLE)));
  showItem(shopJokerButton, jokerPriceLabel, player != nullptr && canPay(*player, priceOf(JOKER)));
  setText(placePriceLabel, numberToWString(priceOf(PLACE)));
}

void SCENE_CARD_GAME_LEVEL::showShopItemHints() {
  if (isTutorial) return;
  if (isPointerOn(placeButton)) {
    showHint(hint_step::PLACE_ITEM);
  } else if (isPointerOn(shopReshuffleButton)) {
    showHint(hint_step::RESHUFFLE_ITEM);
  } else if (isPointerOn(shopJokerButton)) {
    showHint(hint_step::JOKER_ITEM);
  } else {
    closeHint();
  }
}

void SCENE_CARD_GAME_LEVEL::onShopButton(int32_t id) {
  switch (id) {
    case shop_widget::PLACE:
    case shop_widget::RESHUFFLE:
    case shop_widget::JOKER:
      play(kSoundButtonBuyClick);
      showShopMessage(id - shop_widget::PLACE);
      if (id == shop_widget::JOKER && isTutorial && hintStep == hint_step::CHOOSE_SHOP_JOKER) closeHint();
      break;
    case shop_widget::BUY_MONEY:
    case shop_widget::BUY_COINS:
      // Buttons of a shop for real money that this game does not have.
      play(kSoundButtonBuyClick);
      break;
    case shop_widget::CLOSE:
      play(kSoundButtonClick);
      slideWindowOut(window_state::SHOP_CLOSING, shopSlide, true);
      closeHint();
      if (isTutorial && !gHintShown[hint_step::PLACE_JOKER_ON_MARKED_CARD]) {
        showHint(hint_step::PLACE_JOKER_ON_MARKED_CARD);
      }
      break;
    default:
      break;
  }
}

void SCENE_CARD_GAME_LEVEL::showShopMessage(int32_t item) {
  shopMessageItem = item;
  messageState = message_state::OPENING;
  purchaseSlide = static_cast<float>(windowSlideDistance);
  isPurchaseAllowed = 1;
  if (isTutorial) {
    setText(purchaseTextLabel, replaceBarsWithNewlines(getText(L"hint_8")));
    return;
  }
  const wchar_t* key = item == RESHUFFLE ? L"hint_reshuffle" : item == JOKER ? L"hint_joker" : L"hint_place";
  setText(purchaseTextLabel, replaceBarsWithNewlines(getText(key)) + L"\n" + getText(L"hint_16"));
  closeHint();
}

void SCENE_CARD_GAME_LEVEL::onPurchaseButton(int32_t id) {
  if (id != purchase_widget::CONFIRM && id != purchase_widget::CLOSE) return;
  play(kSoundButtonClick);
  if (id == purchase_widget::CONFIRM && isPurchaseAllowed == 1) buyShopItem(shopMessageItem);
  messageState = message_state::CLOSING;
  purchaseSlide = static_cast<float>(windowSlideDistance);
  isPurchaseAllowed = 0;
}

void SCENE_CARD_GAME_LEVEL::buyShopItem(int32_t item) {
  PLAYER_RECORD* player = currentPlayerRecord();
  if (player == nullptr || item < PLACE || item > JOKER) return;
  const int32_t price = priceOf(item);
  if (!canPay(*player, price)) {
    QEL::fLog("buyShopItem: item ", item, " costs ", price, "; the player has ", player->money);
    return;
  }
  bool bought = true;
  if (item == PLACE) {
    bought = cardPiles != nullptr && cardPiles->addPile();
    if (bought) {
      ++player->additionalCardPlaces;
      ++placesBought;
      savePlayerSettings(gCurrentPlayer);
      // The stock moved with the new pile; its labels follow.
      placeStockLabels();
    }
  } else if (item == RESHUFFLE) {
    if (++player->reshuffles == 1 && reshuffleButton != nullptr) reshuffleButton->fEnable();
    ++reshufflesBought;
    setText(reshufflesLabel, numberToWString(player->reshuffles));
  } else {
    if (++player->jokers == 1 && jokerButton != nullptr) jokerButton->fEnable();
    ++jokersBought;
    setText(jokersLabel, numberToWString(player->jokers));
  }
  if (bought) {
    addMoney(*player, -static_cast<int64_t>(price));
    shopMoneySpent += price;
    setText(moneyLabel, numberToWString(player->money));
    // The purchase and its price are saved together, so a bought place is never free.
    savePlayerMoney(gCurrentPlayer);
  }
  QEL::fLog("bonus_cards->numberOfBonusCards: ", reservePilesInPlay());
  QEL::fLog("bonus_cards->numberOfBonusCards: ", reservePilesInPlay());
  refreshShopItems();
}
