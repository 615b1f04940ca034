// The main menu's options window: the sound and music sliders with their rows of skittles,
// the full-screen and cursor tick boxes, twelve card backs and three card types. Changes
// take effect at once and are saved when the window closes.
#include "game/picture_size.h"
#include "game/scenes/main_menu/main_menu_scene.h"

#include <string>

#include "engine/game.h"
#include "engine/globals.h"
#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "level_geometry/card_geometry.h"
#include "primitives/sprite.h"

using main_menu::drawRaised;
using main_menu::placeSprite;
using main_menu::placeWidget;
using main_menu::xOf;
using main_menu::yOf;

namespace {

constexpr float kBackgroundX = 6.0f;
constexpr float kBackgroundY = 46.0f;
constexpr float kTitleX = 496.0f;
constexpr float kTitleY = 96.0f;
constexpr float kCloseX = 874.0f;
constexpr float kCloseY = 625.0f;
constexpr float kCreditsX = 177.0f;
constexpr float kCreditsY = 621.0f;
constexpr float kCreditsLabelX = 3.0f;
constexpr float kCreditsLabelY = 8.0f;
constexpr float kSliderLineX = 300.0f;
constexpr float kSoundLineY = 433.0f;
constexpr float kMusicLineY = 498.0f;
constexpr float kFirstBackX = 501.0f;
constexpr float kBackStepX = 69.0f;
constexpr float kBackRowY[2] = {207.0f, 291.0f};
constexpr int32_t kBacksPerRow = 6;
constexpr float kFirstTypeX = 191.0f;
constexpr float kTypeStepX = 96.0f;
constexpr float kTypeY = 246.0f;
// A tick box stands at its box corner + (33, 40); the one not showing waits out of sight.
constexpr float kBoxOffsetX = 33.0f;
constexpr float kBoxOffsetY = 40.0f;
constexpr float kParkedBox = -150.0f;
constexpr float kLabelX = 185.0f;
constexpr float kSoundLabelY = 430.0f;
constexpr float kMusicLabelY = 495.0f;
constexpr float kFullscreenLabelX = 373.0f;
constexpr float kMuteAllLabelX = 603.0f;
constexpr float kBoxLabelY = 616.0f;
constexpr float kKnobX = 562.0f;
constexpr float kSoundKnobY = 436.0f;
constexpr float kMusicKnobY = 502.0f;
constexpr float kSkittleX[SCENE_CARD_GAME_MAINMENU::SKITTLE_PLACES] = {787.0f, 768.0f, 752.0f, 737.0f, 723.0f, 711.0f};
constexpr float kSkittleY[SCENE_CARD_GAME_MAINMENU::SKITTLE_PLACES] = {377.0f, 385.0f, 391.0f, 397.0f, 403.0f, 406.0f};
// A press on a knob takes it; a press on the track moves the knob there.
constexpr float kKnobGrip = 50.0f;
constexpr float kTrackReach = 40.0f;

enum : int32_t { SOUND_SLIDER = 0, MUSIC_SLIDER = 1 };

PLAYER_RECORD& currentRecord() { return gPlayers[gCurrentPlayer]; }

// The number of lit (green) skittles, from the right, for a volume.
int32_t litSkittles(float volume) {
  const int32_t lit = static_cast<int32_t>(6.0f * volume + 0.5f);
  return lit < 0 ? 0 : (lit > 6 ? 6 : lit);
}

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createOptionsWindow() {
  optionsContainer = new QEL::QC_GUI_CONTAINER();
  optionsBackground = makeSceneSprite("interface/options background.png", kBackgroundX, kBackgroundY, 1);
  createLabel(OPTIONS_TITLE, getText(L"options"), kTitleX, kTitleY, optionsContainer, findFont(42, 0), 0);
  optionsCloseButton =
      addSceneButton(optionsContainer, OPTIONS_CLOSE_BUTTON, "interface button_close.png", kCloseX, kCloseY);
  creditsButton =
      addSceneButton(optionsContainer, CREDITS_BUTTON, "interface/options button_credits.png", kCreditsX, kCreditsY);
  sliderLeftX = 317.0f;
  sliderRightX = 673.0f;
  soundSliderLine = makeSceneSprite("interface/options line.png", kSliderLineX, kSoundLineY, 1);
  musicSliderLine = makeSceneSprite("interface/options line.png", kSliderLineX, kMusicLineY, 1);
  createChildLabel(CREDITS_BUTTON_LABEL, getText(L"credits"), kCreditsLabelX, kCreditsLabelY, creditsButton,
                   findFont(20, 0), 0);
  for (int32_t k = 0; k < BACK_COUNT; ++k) {
    const std::string image = "interface/options/backs " + std::to_string(k + 1) + ".png";
    backButtons[k] =
        addSceneButton(optionsContainer, FIRST_BACK_BUTTON + k, image,
                       kFirstBackX + kBackStepX * static_cast<float>(k % kBacksPerRow), kBackRowY[k / kBacksPerRow]);
  }
  for (int32_t k = 0; k < TYPE_COUNT; ++k) {
    const std::string image = "interface/options/types " + std::to_string(k + 1) + ".png";
    typeButtons[k] = addSceneButton(optionsContainer, FIRST_TYPE_BUTTON + k, image,
                                    kFirstTypeX + kTypeStepX * static_cast<float>(k), kTypeY);
  }
  fullscreenBoxX = 311;
  fullscreenBoxY = 572;
  muteAllBoxX = 540;
  muteAllBoxY = 572;
  const char* box = "interface/options button_fullscreen_mute.png";
  const char* tickedBox = "interface/options button_fullscreen_mute_with_tick.png";
  fullscreenButton =
      addSceneButton(optionsContainer, FULLSCREEN_BOX, box, fullscreenBoxX + kBoxOffsetX, fullscreenBoxY + kBoxOffsetY);
  muteAllButton =
      addSceneButton(optionsContainer, MUTE_ALL_BOX, box, muteAllBoxX + kBoxOffsetX, muteAllBoxY + kBoxOffsetY);
  fullscreenTickedButton = addSceneButton(optionsContainer, FULLSCREEN_TICKED_BOX, tickedBox, kParkedBox, kParkedBox);
  muteAllTickedButton = addSceneButton(optionsContainer, MUTE_ALL_TICKED_BOX, tickedBox, kParkedBox, kParkedBox);
  createLabel(SOUND_LABEL, getText(L"sound"), kLabelX, kSoundLabelY, optionsContainer, findFont(25, 0), 1);
  createLabel(MUSIC_LABEL, getText(L"music"), kLabelX, kMusicLabelY, optionsContainer, findFont(25, 0), 1);
  createLabel(FULLSCREEN_LABEL, getText(L"fullscreen"), kFullscreenLabelX, kBoxLabelY, optionsContainer,
              findFont(20, 0), 1);
  createLabel(MUTE_ALL_LABEL, getText(L"mute_all"), kMuteAllLabelX, kBoxLabelY, optionsContainer, findFont(20, 0), 1);
  const char* knob = "interface/options button_music_sound.png";
  soundSliderButton = addSceneButton(optionsContainer, SOUND_KNOB, knob, kKnobX, kSoundKnobY);
  musicSliderButton = addSceneButton(optionsContainer, MUSIC_KNOB, knob, kKnobX, kMusicKnobY);
  showTickBoxes();

  skittleRowDistance = 65.0f;
  for (int32_t place = 0; place < SKITTLE_PLACES; ++place) {
    const std::string number = std::to_string(place + 1) + ".png";
    const float x = kSkittleX[place];
    const float y = kSkittleY[place];
    soundSkittlesWhite[place] = makeSceneSprite("interface/options/skittles white_" + number, x, y, 1);
    musicSkittlesWhite[place] =
        makeSceneSprite("interface/options/skittles white_" + number, x, y + skittleRowDistance, 1);
    soundSkittlesGreen[place] = makeSceneSprite("interface/options/skittles green_" + number, x, y, 1);
    musicSkittlesGreen[place] =
        makeSceneSprite("interface/options/skittles green_" + number, x, y + skittleRowDistance, 1);
    soundSkittleY[place] = yOf(soundSkittlesWhite[place]);
  }
  showCardChoices();
}

// The chosen back and type show as disabled buttons, the others can be chosen.
void SCENE_CARD_GAME_MAINMENU::showCardChoices() {
  const PLAYER_RECORD& player = currentRecord();
  for (int32_t back = 0; back < BACK_COUNT; ++back) {
    if (back == player.currentBack)
      backButtons[back]->fDisable();
    else
      backButtons[back]->fEnable();
  }
  for (int32_t type = 0; type < TYPE_COUNT; ++type) {
    if (type == player.currentCardType)
      typeButtons[type]->fDisable();
    else
      typeButtons[type]->fEnable();
  }
}

// The window opens on the current player's settings, whoever was current when it was built.
void SCENE_CARD_GAME_MAINMENU::showPlayerOptions() {
  showTickBoxes();
  showCardChoices();
  placeVolumeKnobs();
}

// The ticked or the unticked box of each option stands in place as the player's setting is;
// the cursor follows the second option.
void SCENE_CARD_GAME_MAINMENU::showTickBoxes() {
  const PLAYER_RECORD& player = currentRecord();
  const float fullscreenX = static_cast<float>(fullscreenBoxX) + kBoxOffsetX;
  const float fullscreenY = static_cast<float>(fullscreenBoxY) + kBoxOffsetY;
  const float muteAllX = static_cast<float>(muteAllBoxX) + kBoxOffsetX;
  const float muteAllY = static_cast<float>(muteAllBoxY) + kBoxOffsetY;
  QEL::QC_GUI_BUTTON5* fullscreenShown = player.isFullscreen ? fullscreenTickedButton : fullscreenButton;
  QEL::QC_GUI_BUTTON5* fullscreenHidden = player.isFullscreen ? fullscreenButton : fullscreenTickedButton;
  QEL::QC_GUI_BUTTON5* muteAllShown = player.isMuteAll ? muteAllTickedButton : muteAllButton;
  QEL::QC_GUI_BUTTON5* muteAllHidden = player.isMuteAll ? muteAllButton : muteAllTickedButton;
  placeWidget(fullscreenShown, fullscreenX, fullscreenY);
  placeWidget(fullscreenHidden, kParkedBox, kParkedBox);
  placeWidget(muteAllShown, muteAllX, muteAllY);
  placeWidget(muteAllHidden, kParkedBox, kParkedBox);
  main_menu::useCursorOf(player);
}

void SCENE_CARD_GAME_MAINMENU::placeVolumeKnobs() {
  const PLAYER_RECORD& player = currentRecord();
  const float track = sliderRightX - sliderLeftX;
  placeWidget(soundSliderButton, sliderLeftX + track * player.soundVolume, yOf(soundSliderButton));
  placeWidget(musicSliderButton, sliderLeftX + track * player.musicVolume, yOf(musicSliderButton));
}

void SCENE_CARD_GAME_MAINMENU::onOptionsClick(int32_t id) {
  PLAYER_RECORD& player = currentRecord();
  if (id == OPTIONS_CLOSE_BUTTON) {
    savePlayerSettings(gCurrentPlayer);
    closeWindow(NEXT_MAIN_BUTTONS);
    return;
  }
  if (id == CREDITS_BUTTON) {
    closeWindow(NEXT_CREDITS);
    return;
  }
  playSound(kSoundButtonClick);
  switch (id) {
    case FULLSCREEN_BOX:
    case FULLSCREEN_TICKED_BOX:
      player.isFullscreen = id == FULLSCREEN_BOX ? 1 : 0;
      if (QEL::qcGAME != nullptr) QEL::qcGAME->fSetResolution(kPictureWidth, kPictureHeight, player.isFullscreen != 0);
      showTickBoxes();
      break;
    case MUTE_ALL_BOX:
    case MUTE_ALL_TICKED_BOX:
      player.isMuteAll = id == MUTE_ALL_BOX ? 1 : 0;
      showTickBoxes();
      break;
    default:
      if (id >= FIRST_BACK_BUTTON && id < FIRST_BACK_BUTTON + BACK_COUNT) chooseCardBack(id - FIRST_BACK_BUTTON);
      if (id >= FIRST_TYPE_BUTTON && id < FIRST_TYPE_BUTTON + TYPE_COUNT) chooseCardType(id - FIRST_TYPE_BUTTON);
      break;
  }
}

void SCENE_CARD_GAME_MAINMENU::chooseCardBack(int32_t back) {
  PLAYER_RECORD& player = currentRecord();
  if (player.currentBack >= 0 && player.currentBack < BACK_COUNT) backButtons[player.currentBack]->fEnable();
  player.currentBack = back;
  backButtons[back]->fDisable();
}

void SCENE_CARD_GAME_MAINMENU::chooseCardType(int32_t type) {
  PLAYER_RECORD& player = currentRecord();
  if (player.currentCardType >= 0 && player.currentCardType < TYPE_COUNT)
    typeButtons[player.currentCardType]->fEnable();
  player.currentCardType = type;
  typeButtons[type]->fDisable();
}

// A press takes a knob under the pointer; a press on a track (not on a knob) sets that
// volume at once.
void SCENE_CARD_GAME_MAINMENU::pressVolumeSlider(float x, float y) {
  QEL::QC_GUI_BUTTON5* knobs[2] = {soundSliderButton, musicSliderButton};
  for (int32_t slider = SOUND_SLIDER; slider <= MUSIC_SLIDER; ++slider) {
    if (!isPointInRect(x, y, xOf(knobs[slider]), yOf(knobs[slider]), kKnobGrip, kKnobGrip)) continue;
    playSound(kSoundButtonClick);
    draggedSlider = slider;
    dragOffset = x - xOf(knobs[slider]);
  }
  if (draggedSlider != -1 || x < sliderLeftX || x > sliderRightX) return;
  for (int32_t slider = SOUND_SLIDER; slider <= MUSIC_SLIDER; ++slider) {
    const float knobY = yOf(knobs[slider]);
    if (y < knobY - kTrackReach || y > knobY + kTrackReach) continue;
    playSound(kSoundButtonClick);
    placeWidget(knobs[slider], x, knobY);
    setVolume(slider, (x - sliderLeftX) / (sliderRightX - sliderLeftX));
  }
}

void SCENE_CARD_GAME_MAINMENU::dragVolumeKnob(float x) {
  if (draggedSlider == -1) return;
  QEL::QC_GUI_BUTTON5* knob = draggedSlider == SOUND_SLIDER ? soundSliderButton : musicSliderButton;
  float knobX = x - dragOffset;
  if (x < sliderLeftX) knobX = sliderLeftX;
  if (x > sliderRightX) knobX = sliderRightX;
  placeWidget(knob, knobX, yOf(knob));
}

void SCENE_CARD_GAME_MAINMENU::releaseVolumeKnob() {
  if (draggedSlider == -1) return;
  QEL::QC_GUI_BUTTON5* knob = draggedSlider == SOUND_SLIDER ? soundSliderButton : musicSliderButton;
  setVolume(draggedSlider, (xOf(knob) - sliderLeftX) / (sliderRightX - sliderLeftX));
  draggedSlider = -1;
}

// The knob may stand a grip's width past a track end; the volume stays within 0 and 1.
void SCENE_CARD_GAME_MAINMENU::setVolume(int32_t slider, float value) { setPlayerVolume(slider == SOUND_SLIDER, value); }

void SCENE_CARD_GAME_MAINMENU::drawOptionsWindow(float distance) {
  drawRaised(optionsBackground, homeY.optionsBackground, distance);
  drawRaised(soundSliderLine, homeY.soundSliderLine, distance);
  drawRaised(musicSliderLine, homeY.musicSliderLine, distance);
  optionsContainer->fSetPosition(0.0f, -distance, 0.0f);
  optionsContainer->fDraw();
  const PLAYER_RECORD& player = currentRecord();
  const int32_t soundLit = litSkittles(player.soundVolume);
  const int32_t musicLit = litSkittles(player.musicVolume);
  for (int32_t place = 0; place < SKITTLE_PLACES; ++place) {
    const float y = soundSkittleY[place] - distance;
    // Places 0 to 5 - lit stay white; the lit ones are the last, leftmost places.
    QEL::QC_SPRITE* sound = place < SKITTLE_PLACES - soundLit ? soundSkittlesWhite[place] : soundSkittlesGreen[place];
    QEL::QC_SPRITE* music = place < SKITTLE_PLACES - musicLit ? musicSkittlesWhite[place] : musicSkittlesGreen[place];
    placeSprite(sound, xOf(sound), y);
    sound->fDraw();
    placeSprite(music, xOf(music), y + skittleRowDistance);
    music->fDraw();
  }
}
