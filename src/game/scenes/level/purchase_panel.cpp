// The purchase panel that stands over the shop: what the chosen item does and costs, a
// confirm and a close button. Built once by the start-up; showShopMessage writes its text and
// opens it (messageState), the update answers its buttons.
#include "game/fonts_sounds.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float BACKGROUND_X = 153.0f;
constexpr float BACKGROUND_Y = 81.0f;
constexpr float CONFIRM_X = 304.0f;
constexpr float CONFIRM_Y = 478.0f;
constexpr float CLOSE_X = 686.0f;
// Level with the confirm button beside it, as the menu's dialogs stand the same two buttons.
constexpr float CLOSE_Y = 478.0f;
constexpr float TITLE_X = 523.0f;
constexpr float TITLE_Y = 135.0f;
constexpr float TEXT_X = 510.0f;
constexpr float TEXT_Y = 310.0f;

}  // namespace

void SCENE_CARD_GAME_LEVEL::createPurchasePanel() {
  startSceneWindow(purchaseContainer, purchaseBackground, "interface/shop panel_background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  // The confirm button is the main menu's, from the pack the start-up subscribes for it.
  purchaseConfirmButton = addSceneButton(purchaseContainer, purchase_widget::CONFIRM,
                                         "main_menu/change_player/panel button_confirm.png", CONFIRM_X, CONFIRM_Y);
  purchaseCloseButton =
      addSceneButton(purchaseContainer, purchase_widget::CLOSE, "interface button_close2.png", CLOSE_X, CLOSE_Y);
  purchaseTitleLabel =
      createLabel(purchase_widget::TITLE, getText(L"shop"), TITLE_X, TITLE_Y, purchaseContainer, findFont(42, 0), 0);
  purchaseTextLabel = createLabel(purchase_widget::TEXT_LABEL, getText(L"buy_item"), TEXT_X, TEXT_Y, purchaseContainer,
                                  findFont(25, 0), 0);
}

void SCENE_CARD_GAME_LEVEL::drawPurchasePanel() {
  drawSceneWindow(purchaseBackground, purchaseContainer);
}
