// The main menu object: what it owns is released here, in the reverse order of the start-up;
// and the few small tests and lookups every file of the menu uses.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/sound.h"
#include "game/game_globals.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

template <class T>
void deleteAndClear(T*& object) {
  delete object;
  object = nullptr;
}

// The widgets go with their container: the menu built them and nothing else holds them.
void deleteContainer(QEL::QC_GUI_CONTAINER*& container) {
  if (container != nullptr) container->fClear();
  deleteAndClear(container);
}

}  // namespace

SCENE_CARD_GAME_MAINMENU::SCENE_CARD_GAME_MAINMENU() = default;

SCENE_CARD_GAME_MAINMENU::~SCENE_CARD_GAME_MAINMENU() {
  QEL::fLog("START - ~SCENE_CARD_GAME_MAINMENU()");
  deleteContainer(namePanelContainer);
  deleteAndClear(nameTextboxBackground);
  deleteAndClear(namePanelBackground);
  deleteContainer(informationPanelContainer);
  deleteAndClear(informationPanelBackground);

  deleteContainer(modeSelectionContainer);
  for (QEL::QC_SPRITE** sprite : {&professionalTextBackground, &juniorTextBackground, &professionalImage,
                                  &juniorImage, &modeSelectionBackground})
    deleteAndClear(*sprite);

  deleteContainer(trophiesContainer);
  for (QEL::QC_SPRITE*& sprite : trophyImages) deleteAndClear(sprite);
  for (QEL::QC_SPRITE** sprite : {&trophyNotEarnedImage, &trophyEarnedImage, &trophyImageBackground,
                                  &hiddenTrophyImage, &dollarImage, &progressBall, &trophiesBackground})
    deleteAndClear(*sprite);

  deleteContainer(creditsContainer);
  deleteAndClear(creditsBackground);

  deleteContainer(helpContainer);
  for (QEL::QC_SPRITE*& sprite : helpImages) deleteAndClear(sprite);
  deleteAndClear(helpBackground);

  deleteContainer(optionsContainer);
  for (int32_t place = 0; place < SKITTLE_PLACES; ++place) {
    deleteAndClear(musicSkittlesGreen[place]);
    deleteAndClear(soundSkittlesGreen[place]);
    deleteAndClear(musicSkittlesWhite[place]);
    deleteAndClear(soundSkittlesWhite[place]);
  }
  deleteAndClear(musicSliderLine);
  deleteAndClear(soundSliderLine);
  deleteAndClear(optionsBackground);

  deleteContainer(changePlayerContainer);
  deleteContainer(mainContainer);
  for (QEL::QC_SPRITE** sprite : {&hintArrow, &stripShade, &fadeShade, &changePlayerLine, &changePlayerWindow,
                                  &playerNameBackground, &logo, &background})
    deleteAndClear(*sprite);
  QEL::fLog("END - ~SCENE_CARD_GAME_MAINMENU()");
}

int32_t SCENE_CARD_GAME_MAINMENU::currentWindow() const {
  if (windowState <= NO_WINDOW) return NO_WINDOW;
  return windowState - (windowState - CHANGE_PLAYER_WINDOW) % 3;
}

// The windows' slides are kept in the order of their states: change player, options, help,
// trophies, mode selection, credits.
float& SCENE_CARD_GAME_MAINMENU::windowSlide(int32_t window) {
  const int32_t entry = (window - CHANGE_PLAYER_WINDOW) / 3;
  return slideTimeLeft[entry >= 0 && entry < DIALOG_SLIDE ? entry : DIALOG_SLIDE];
}

bool SCENE_CARD_GAME_MAINMENU::isMouseInRect(int32_t mode, float x, float y, float width, float height) {
  if (QEL::qcMOUSE_POSITION == nullptr) return false;
  const float mx = static_cast<float>(QEL::qcMOUSE_POSITION->x);
  const float my = static_cast<float>(QEL::qcMOUSE_POSITION->y);
  float left = x;
  float top = y;
  float margin = 0.0f;
  if (mode == 1) {
    left = x - 0.5f * width;
    top = y - 0.5f * height;
  } else if (mode == 2) {
    margin = 20.0f;
  }
  return mx >= left - margin && mx <= left + width + margin && my >= top - margin && my <= top + height + margin;
}

void SCENE_CARD_GAME_MAINMENU::playSound(int32_t slot) {
  if (slot >= 0 && slot < kSoundCount) QEL::QC_SOUND::fPlayFromStart(gSounds[slot]);
}
