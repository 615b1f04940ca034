// The options window of the level: the sound and music sliders with their rows of skittles,
// the full-screen and second option boxes, the card backs and the card types, the close and
// credits buttons. Built once by the start-up; the update answers its buttons, the clicks and
// the pointer drag the knobs, and the drawing shows the volumes as green skittles.
//
// The volume track of the art runs from x 317 to 673 (the line picture from 300 to 690 less
// half a knob at each end): volume 0 puts the knob's centre at 317, volume 1 at 673, whether
// the window opens, a track is clicked or a knob is dragged and let go.
#include <cmath>
#include <string>

#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/scenes/level/widget_ids.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr float BACKGROUND_X = 6.0f;
constexpr float BACKGROUND_Y = 46.0f;
constexpr float TITLE_X = 496.0f;
constexpr float TITLE_Y = 96.0f;
constexpr float CLOSE_X = 864.0f;
constexpr float CLOSE_Y = 625.0f;
constexpr float CREDITS_X = 177.0f;
constexpr float CREDITS_Y = 621.0f;
constexpr float CREDITS_CAPTION_X = 3.0f;  // relative to the credits button
constexpr float CREDITS_CAPTION_Y = 8.0f;
constexpr float TRACK_LEFT = 317.0f;
constexpr float TRACK_RIGHT = 673.0f;
constexpr float LINE_X = 300.0f;
constexpr float SOUND_LINE_Y = 433.0f;
constexpr float MUSIC_LINE_Y = 498.0f;
constexpr float KNOB_START_X = 562.0f;
constexpr float SOUND_KNOB_Y = 436.0f;
constexpr float MUSIC_KNOB_Y = 502.0f;
constexpr float LABELS_X = 185.0f;
constexpr float SOUND_LABEL_Y = 430.0f;
constexpr float MUSIC_LABEL_Y = 495.0f;
constexpr float FULLSCREEN_LABEL_X = 373.0f;
constexpr float MUTE_ALL_LABEL_X = 603.0f;
constexpr float BOX_LABELS_Y = 616.0f;
constexpr int32_t BOX_X[2] = {311, 540};  // full screen, the second option
constexpr int32_t BOX_Y = 572;
constexpr float BOX_BUTTON_DX = 33.0f;  // a box's button stands this far from the box's corner
constexpr float BOX_BUTTON_DY = 40.0f;
constexpr float OUT_OF_SIGHT = -150.0f;
constexpr float BACKS_LEFT = 501.0f;
constexpr float BACKS_STEP = 69.0f;
constexpr float BACKS_FIRST_ROW_Y = 207.0f;
constexpr float BACKS_SECOND_ROW_Y = 291.0f;
constexpr int32_t BACKS_PER_ROW = 6;
constexpr float TYPES_LEFT = 191.0f;
constexpr float TYPES_STEP = 96.0f;
constexpr float TYPES_Y = 246.0f;
constexpr float SKITTLE_ROW_DISTANCE = 65.0f;
// The six places of the sound row, from the largest skittle (right) to the smallest.
constexpr float SKITTLE_X[6] = {787.0f, 768.0f, 752.0f, 737.0f, 723.0f, 711.0f};
constexpr float SKITTLE_Y[6] = {377.0f, 385.0f, 391.0f, 397.0f, 403.0f, 406.0f};

float clampVolume(float volume) { return volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume); }

// The ticked or the plain button of a box at the box's place, the other out of sight.
void showBox(QEL::QC_GUI_BUTTON5* plain, QEL::QC_GUI_BUTTON5* ticked, bool on, int32_t boxX, int32_t boxY) {
  QEL::QC_GUI_BUTTON5* shown = on ? ticked : plain;
  QEL::QC_GUI_BUTTON5* hidden = on ? plain : ticked;
  shown->fSetPosition(static_cast<float>(boxX) + BOX_BUTTON_DX, static_cast<float>(boxY) + BOX_BUTTON_DY, 0.0f);
  hidden->fSetPosition(OUT_OF_SIGHT, OUT_OF_SIGHT, 0.0f);
}

void drawSkittleRow(QEL::QC_SPRITE* const white[6], QEL::QC_SPRITE* const green[6], float volume) {
  // As many green skittles as sixths of the volume, rounded, filling from the small end.
  const int32_t lit = static_cast<int32_t>(std::floor(clampVolume(volume) * 6.0f + 0.5f));
  for (int32_t i = 0; i < 6; ++i) {
    QEL::QC_SPRITE* sprite = i < 6 - lit ? white[i] : green[i];
    if (sprite != nullptr) sprite->fDraw();
  }
}

}  // namespace

void SCENE_CARD_GAME_LEVEL::createOptionsWindow() {
  startSceneWindow(optionsContainer, optionsBackground, "interface/options background.png", BACKGROUND_X,
                   BACKGROUND_Y);
  createLabel(options_widget::TITLE, getText(L"options"), TITLE_X, TITLE_Y, optionsContainer, findFont(42, 0), 0);
  optionsCloseButton =
      addSceneButton(optionsContainer, options_widget::CLOSE, "interface button_close.png", CLOSE_X, CLOSE_Y);
  creditsButton = addSceneButton(optionsContainer, options_widget::CREDITS, "interface/options button_credits.png",
                                 CREDITS_X, CREDITS_Y);

  sliderMinX = TRACK_LEFT;
  sliderMaxX = TRACK_RIGHT;
  delete soundSliderLine;
  soundSliderLine = makeSceneSprite("interface/options line.png", LINE_X, SOUND_LINE_Y, 1);
  delete musicSliderLine;
  musicSliderLine = makeSceneSprite("interface/options line.png", LINE_X, MUSIC_LINE_Y, 1);
  createChildLabel(options_widget::CREDITS_CAPTION, getText(L"credits"), CREDITS_CAPTION_X, CREDITS_CAPTION_Y,
                   creditsButton, findFont(20, 0), 0);

  for (int32_t k = 1; k <= 12; ++k) {
    const float x = BACKS_LEFT + BACKS_STEP * static_cast<float>((k - 1) % BACKS_PER_ROW);
    const float y = k <= BACKS_PER_ROW ? BACKS_FIRST_ROW_Y : BACKS_SECOND_ROW_Y;
    backButtons[k - 1] = addSceneButton(optionsContainer, options_widget::FIRST_BACK + k - 1,
                                        "interface/options/backs " + std::to_string(k) + ".png", x, y);
  }
  for (int32_t k = 1; k <= 3; ++k) {
    typeButtons[k - 1] = addSceneButton(optionsContainer, options_widget::FIRST_TYPE + k - 1,
                                        "interface/options/types " + std::to_string(k) + ".png",
                                        TYPES_LEFT + TYPES_STEP * static_cast<float>(k - 1), TYPES_Y);
  }

  fullscreenBoxX = BOX_X[0];
  fullscreenBoxY = BOX_Y;
  muteAllBoxX = BOX_X[1];
  muteAllBoxY = BOX_Y;
  const std::string plainBox = "interface/options button_fullscreen_mute.png";
  const std::string tickedBox = "interface/options button_fullscreen_mute_with_tick.png";
  fullscreenButton = addSceneButton(optionsContainer, options_widget::FULLSCREEN_OFF, plainBox,
                                    static_cast<float>(fullscreenBoxX) + BOX_BUTTON_DX,
                                    static_cast<float>(fullscreenBoxY) + BOX_BUTTON_DY);
  muteAllButton =
      addSceneButton(optionsContainer, options_widget::MUTE_ALL_OFF, plainBox,
                     static_cast<float>(muteAllBoxX) + BOX_BUTTON_DX, static_cast<float>(muteAllBoxY) + BOX_BUTTON_DY);
  fullscreenTickedButton =
      addSceneButton(optionsContainer, options_widget::FULLSCREEN_ON, tickedBox, OUT_OF_SIGHT, OUT_OF_SIGHT);
  muteAllTickedButton =
      addSceneButton(optionsContainer, options_widget::MUTE_ALL_ON, tickedBox, OUT_OF_SIGHT, OUT_OF_SIGHT);

  createLabel(options_widget::SOUND_LABEL, getText(L"sound"), LABELS_X, SOUND_LABEL_Y, optionsContainer,
              findFont(25, 0), 1);
  createLabel(options_widget::MUSIC_LABEL, getText(L"music"), LABELS_X, MUSIC_LABEL_Y, optionsContainer,
              findFont(25, 0), 1);
  createLabel(options_widget::FULLSCREEN_LABEL, getText(L"fullscreen"), FULLSCREEN_LABEL_X, BOX_LABELS_Y,
              optionsContainer, findFont(20, 0), 1);
  createLabel(options_widget::MUTE_ALL_LABEL, getText(L"mute_all"), MUTE_ALL_LABEL_X, BOX_LABELS_Y, optionsContainer,
              findFont(20, 0), 1);

  const std::string knob = "interface/options button_music_sound.png";
  soundKnob = addSceneButton(optionsContainer, options_widget::SOUND_KNOB, knob, KNOB_START_X, SOUND_KNOB_Y);
  musicKnob = addSceneButton(optionsContainer, options_widget::MUSIC_KNOB, knob, KNOB_START_X, MUSIC_KNOB_Y);

  const PLAYER_RECORD& player = currentPlayerOrBlank();
  showBox(fullscreenButton, fullscreenTickedButton, player.isFullscreen != 0, fullscreenBoxX, fullscreenBoxY);
  showBox(muteAllButton, muteAllTickedButton, player.isMuteAll != 0, muteAllBoxX, muteAllBoxY);

  skittleRowDistance = SKITTLE_ROW_DISTANCE;
  for (int32_t k = 1; k <= 6; ++k) {
    const std::string white = "interface/options/skittles white_" + std::to_string(k) + ".png";
    const std::string green = "interface/options/skittles green_" + std::to_string(k) + ".png";
    const float x = SKITTLE_X[k - 1];
    const float y = SKITTLE_Y[k - 1];
    QEL::QC_SPRITE** row[4] = {&soundSkittlesWhite[k - 1], &musicSkittlesWhite[k - 1], &soundSkittlesGreen[k - 1],
                               &musicSkittlesGreen[k - 1]};
    for (int32_t r = 0; r < 4; ++r) {
      delete *row[r];
      const bool music = r == 1 || r == 3;
      *row[r] = makeSceneSprite(r < 2 ? white : green, x, music ? y + skittleRowDistance : y, 1);
    }
    soundSkittleY[k - 1] = (*row[0])->_node->_position.y;
  }

  // The chosen back and type show in their disabled frame and cannot be chosen again.
  if (player.currentBack >= 0 && player.currentBack < 12) {
    backButtons[player.currentBack]->fDisable();
  } else {
    QEL::fLog("No card back is marked chosen: currentBack = ", player.currentBack);
  }
  if (player.currentCardType >= 0 && player.currentCardType < 3) {
    typeButtons[player.currentCardType]->fDisable();
  } else {
    QEL::fLog("No card type is marked chosen: currentCardType = ", player.currentCardType);
  }
}

float SCENE_CARD_GAME_LEVEL::knobXForVolume(float volume) const {
  return sliderMinX + (sliderMaxX - sliderMinX) * clampVolume(volume);
}

float SCENE_CARD_GAME_LEVEL::volumeForKnobX(float x) const {
  if (sliderMaxX <= sliderMinX) return 0.0f;
  return clampVolume((x - sliderMinX) / (sliderMaxX - sliderMinX));
}

void SCENE_CARD_GAME_LEVEL::placeVolumeKnobs() {
  const PLAYER_RECORD& player = currentPlayerOrBlank();
  if (soundKnob != nullptr) {
    soundKnob->fSetPosition(knobXForVolume(player.soundVolume), soundKnob->fGetTransform()->fGetPosition().y, 0.0f);
  }
  if (musicKnob != nullptr) {
    musicKnob->fSetPosition(knobXForVolume(player.musicVolume), musicKnob->fGetTransform()->fGetPosition().y, 0.0f);
  }
}

void SCENE_CARD_GAME_LEVEL::drawOptionsWindow() {
  if (optionsBackground != nullptr) optionsBackground->fDraw();
  if (soundSliderLine != nullptr) soundSliderLine->fDraw();
  if (musicSliderLine != nullptr) musicSliderLine->fDraw();
  if (optionsContainer != nullptr) optionsContainer->fDraw();
  const PLAYER_RECORD& player = currentPlayerOrBlank();
  drawSkittleRow(soundSkittlesWhite, soundSkittlesGreen, player.soundVolume);
  drawSkittleRow(musicSkittlesWhite, musicSkittlesGreen, player.musicVolume);
}
