// The trophy window: the trophy's picture in its frame, its name, description and prize.
// Built once by the start-up with placeholder texts; showTrophyWindow writes a trophy's texts,
// places the coin beside the prize and opens it, the update answers its close button.
#include <string>

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
constexpr float TITLE_X = 502.0f;
constexpr float TITLE_Y = 132.0f;
constexpr float IMAGE_X = 387.0f;
constexpr float IMAGE_Y = 175.0f;
constexpr float STRIPE_X = 395.0f;
constexpr float STRIPE_Y = 294.0f;
constexpr float CLOSE_X = 716.0f;
constexpr float CLOSE_Y = 545.0f;
constexpr float LABELS_X = 515.0f;
constexpr float NAME_Y = 450.0f;
constexpr float DESCRIPTION_Y = 520.0f;
constexpr float PRIZE_Y = 600.0f;
// A trophy's picture stands this far into its frame.
constexpr float PICTURE_DX = 53.0f;
constexpr float PICTURE_DY = 15.0f;
constexpr int32_t TROPHY_COUNT = 24;

}  // namespace

void SCENE_CARD_GAME_LEVEL::createTrophyWindow() {
  startSceneWindow(trophyContainer, trophyBackground, "interface/trophy background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  createLabel(trophy_widget::TITLE, getText(L"prize"), TITLE_X, TITLE_Y, trophyContainer, findFont(42, 0), 0);
  delete trophyImage;
  trophyImage = makeSceneSprite("interface/trophy trophy_image.png", IMAGE_X, IMAGE_Y, 1);
  delete orangeStripe;
  orangeStripe = makeSceneSprite("interface/trophy orange_stripe.png", STRIPE_X, STRIPE_Y, 1);
  trophyCloseButton =
      addSceneButton(trophyContainer, trophy_widget::CLOSE, "interface button_close.png", CLOSE_X, CLOSE_Y);

  // Placeholders until a trophy is shown.
  trophyNameLabel =
      createLabel(trophy_widget::NAME_LABEL, L"Trophy \nname", LABELS_X, NAME_Y, trophyContainer, findFont(25, 0), 0);
  trophyDescriptionLabel = createLabel(trophy_widget::DESCRIPTION_LABEL, L"Trophy \ndescription", LABELS_X,
                                       DESCRIPTION_Y, trophyContainer, findFont(25, 1), 0);
  trophyPrizeLabel =
      createLabel(trophy_widget::PRIZE_LABEL, L"Prize: 1000", LABELS_X, PRIZE_Y, trophyContainer, findFont(42, 0), 0);

  for (int32_t k = 1; k <= TROPHY_COUNT; ++k) {
    delete trophyImages[k - 1];
    trophyImages[k - 1] = makeSceneSprite("interface/trophy/trophies " + std::to_string(k) + ".png",
                                          IMAGE_X + PICTURE_DX, IMAGE_Y + PICTURE_DY, 1);
  }
}

void SCENE_CARD_GAME_LEVEL::drawTrophyWindow() {
  if (trophyBackground != nullptr) trophyBackground->fDraw();
  if (trophyImage != nullptr) trophyImage->fDraw();
  if (trophyId >= 1 && trophyId <= TROPHY_COUNT && trophyImages[trophyId - 1] != nullptr) {
    trophyImages[trophyId - 1]->fDraw();
  }
  if (orangeStripe != nullptr) orangeStripe->fDraw();
  if (trophyContainer != nullptr) trophyContainer->fDraw();
  // The coin rests where showTrophyWindow put it and slides with the window.
  if (trophyDollar != nullptr && trophyDollar->_node != nullptr) {
    const float offset = windowOffset(trophySlide, windowState == window_state::TROPHY_CLOSING,
                                      static_cast<float>(windowSlideDistance));
    const QEL::QS_VECTOR3& rest = trophyDollar->_node->_position;
    trophyDollar->fDrawAt(rest.x, rest.y - offset, 0.0f, 1.0f, 1.0f);
  }
}
