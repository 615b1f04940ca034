// The main menu object: what it owns is released here, in the reverse order of the start-up,
// each container with its widgets; and the few small tests and lookups every file of the
// menu uses.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/globals.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/sound.h"
#include "game/game_globals.h"
#include "game/scenes/scene_widgets.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

SCENE_CARD_GAME_MAINMENU::SCENE_CARD_GAME_MAINMENU() = default;

SCENE_CARD_GAME_MAINMENU::~SCENE_CARD_GAME_MAINMENU() {
  QEL::fLog("START - ~SCENE_CARD_GAME_MAINMENU()");
  deleteSceneContainer(namePanelContainer);
  deleteOwned(nameTextboxBackground);
  deleteOwned(namePanelBackground);
  deleteSceneContainer(informationPanelContainer);
  deleteOwned(informationPanelBackground);

  deleteSceneContainer(modeSelectionContainer);
  for (QEL::QC_SPRITE** sprite :
       {&professionalTextBackground, &juniorTextBackground, &professionalImage, &juniorImage, &modeSelectionBackground})
    deleteOwned(*sprite);

  deleteSceneContainer(trophiesContainer);
  for (QEL::QC_SPRITE*& sprite : trophyImages) deleteOwned(sprite);
  for (QEL::QC_SPRITE** sprite : {&trophyNotEarnedImage, &trophyEarnedImage, &trophyImageBackground, &hiddenTrophyImage,
                                  &dollarImage, &progressBall, &trophiesBackground})
    deleteOwned(*sprite);

  deleteSceneContainer(creditsContainer);
  deleteOwned(creditsBackground);

  deleteSceneContainer(helpContainer);
  for (QEL::QC_SPRITE*& sprite : helpImages) deleteOwned(sprite);
  deleteOwned(helpBackground);

  deleteSceneContainer(optionsContainer);
  for (int32_t place = 0; place < SKITTLE_PLACES; ++place) {
    deleteOwned(musicSkittlesGreen[place]);
    deleteOwned(soundSkittlesGreen[place]);
    deleteOwned(musicSkittlesWhite[place]);
    deleteOwned(soundSkittlesWhite[place]);
  }
  deleteOwned(musicSliderLine);
  deleteOwned(soundSliderLine);
  deleteOwned(optionsBackground);

  deleteSceneContainer(changePlayerContainer);
  deleteSceneContainer(mainContainer);
  for (QEL::QC_SPRITE** sprite : {&hintArrow, &stripShade, &fadeShade, &changePlayerLine, &changePlayerWindow,
                                  &playerNameBackground, &logo, &background})
    deleteOwned(*sprite);
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
