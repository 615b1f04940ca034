// The level's windows slide in and out through one state machine (windowState): each window
// has an open, a sliding-in and a sliding-out state, a slide lasts 0.3 s whatever its
// distance, and the end of a slide decides what comes next: another window, the end of the
// frame's sequence (trophies, finish window) or a scene change (applyNextSceneType). The
// banner fades in, stays a second and fades out; the shop's purchase panel has a state of
// its own (messageState).
#include "engine/log.h"
#include "engine/sound.h"
#include "game/card_piles.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr float BANNER_HOLD_MS = 1000.0f;
constexpr float BANNER_FADE_SPEED = 5.0f;  // times its range per second: a fade lasts 0.2 s
constexpr int32_t TROPHY_ALL_PLACES = 24;
constexpr int32_t LAST_END_OF_FRAME_TROPHY = 11;

void play(int32_t slot) { QEL::QC_SOUND::fPlayFromStart(gSounds[slot]); }

// One step of a slide; a slide already at its end counts as done, so no window can stay
// half open.
bool slideDone(float& value, float distance, float timeStep) {
  if (value <= 0.0f) {
    value = 0.0f;
    return true;
  }
  return runSlide(value, distance, timeStep);
}

}  // namespace

namespace {

// The sliding windows; each one's opening state follows its open one, its closing state the
// opening one.
struct SLIDING_WINDOW {
  int32_t opening;
  float SCENE_CARD_GAME_LEVEL::*slide;
};
constexpr SLIDING_WINDOW SLIDING_WINDOWS[] = {
    {window_state::SHOP_OPENING, &SCENE_CARD_GAME_LEVEL::shopSlide},
    {window_state::PAUSE_OPENING, &SCENE_CARD_GAME_LEVEL::pauseSlide},
    {window_state::FINISH_OPENING, &SCENE_CARD_GAME_LEVEL::finishSlide},
    {window_state::OPTIONS_OPENING, &SCENE_CARD_GAME_LEVEL::optionsSlide},
    {window_state::TROPHY_OPENING, &SCENE_CARD_GAME_LEVEL::trophySlide},
    {window_state::CREDITS_OPENING, &SCENE_CARD_GAME_LEVEL::creditsSlide},
};

}  // namespace

bool SCENE_CARD_GAME_LEVEL::runWindowSlides() {
  const float distance = static_cast<float>(windowSlideDistance);
  for (const SLIDING_WINDOW& window : SLIDING_WINDOWS) {
    float& slide = this->*window.slide;
    if (windowState == window.opening && slideDone(slide, distance, frameTime)) {
      windowState = window.opening - 1;
      onWindowOpened(windowState);
      break;
    }
    if (windowState == window.opening + 1 && slideDone(slide, distance, frameTime)) {
      const int32_t closed = windowState;
      windowState = window_state::NONE;
      slide = distance;
      if (!onWindowClosed(closed)) return false;
      break;
    }
  }
  if (!runBannerFade()) return false;
  return runPurchasePanelSlide();
}

void SCENE_CARD_GAME_LEVEL::onWindowOpened(int32_t openState) {
  if (openState == window_state::SHOP_OPEN && isTutorial && !gHintShown[hint_step::CHOOSE_SHOP_JOKER]) {
    showHint(hint_step::CHOOSE_SHOP_JOKER);
  }
  if (openState != window_state::FINISH_OPEN) return;
  if (levelResult.result == OPEN_FRAME) play(kSoundMessage);
  if (levelResult.result == SPARE) play(kSoundMessageSpare);
  if (levelResult.result == STRIKE) play(kSoundMessageStrike);
}

bool SCENE_CARD_GAME_LEVEL::onWindowClosed(int32_t closingState) {
  switch (closingState) {
    case window_state::SHOP_CLOSING:
      if (reservePilesInPlay() == CARD_PILES::MAX_PILES && !getTrophy(TROPHY_ALL_PLACES)) {
        showTrophyWindow(TROPHY_ALL_PLACES);
      }
      return true;
    case window_state::PAUSE_CLOSING:
      // The options window keeps the level paused; it comes back to the pause window.
      if (nextSceneType != static_cast<float>(TO_OPTIONS) && nextSceneType != static_cast<float>(TO_PAUSE)) {
        gIsPaused = 0;
        // The deadline was kept as the time left while paused.
        if (nextSceneType == static_cast<float>(BACK_TO_PLAY)) nextActionPointDecreaseMs += clockMs;
      }
      break;
    case window_state::FINISH_CLOSING:
      for (QEL::QC_GUI_WLABEL* label : rollLabels) {
        if (label != nullptr) label->fSetText(L"");
      }
      break;
    case window_state::TROPHY_CLOSING:
      // A trophy of the frame's end goes on with that sequence; the others return to play.
      if (trophyId > LAST_END_OF_FRAME_TROPHY) return true;
      break;
    default:
      break;
  }
  applyNextSceneType();
  return false;
}

bool SCENE_CARD_GAME_LEVEL::runBannerFade() {
  const float range = static_cast<float>(bannerSlideDistance);
  if (windowState == window_state::BANNER_SHOWN) {
    if (static_cast<float>(clockMs) >= bannerHoldUntil) {
      windowState = window_state::BANNER_FADING_OUT;
      bannerFade = range;
    }
    return true;
  }
  if (windowState != window_state::BANNER_FADING_IN && windowState != window_state::BANNER_FADING_OUT) return true;

  const bool fadingIn = windowState == window_state::BANNER_FADING_IN;
  const bool done = slideDone(bannerFade, range, BANNER_FADE_SPEED * gSlideTime * frameTime);
  const float shown = range > 0.0f ? bannerFade / range : 0.0f;
  const uint32_t colour = whiteWithAlpha(fadingIn ? 255.0f - 255.0f * shown : 255.0f * shown);
  if (isBonusBanner == 1) {
    if (QEL::QC_FONT* font = findFont(bonusCardType == 3 ? 70 : 75, 1)) font->fSetColor(colour);
    if (bannerDollar != nullptr) bannerDollar->fSetColor(colour);
  } else if (QEL::QC_FONT* font = findFont(100, 3)) {
    font->fSetColor(colour);
  }
  if (!done) return true;

  if (fadingIn) {
    windowState = window_state::BANNER_SHOWN;
    bannerHoldUntil = static_cast<float>(clockMs) + BANNER_HOLD_MS;
    return true;
  }
  windowState = window_state::NONE;
  bannerFade = range;
  if (needToFinishAfterMessage) {
    needToFinishAfterMessage = false;
    finishLevel();
  }
  // The result banner of a finished frame leads on to the trophies and the finish window;
  // a banner opened meanwhile (the result after a bonus card) comes first.
  if (windowState == window_state::NONE && isLevelFinished && levelResult.result >= OPEN_FRAME) {
    QEL::fLog("checkTrophies!");
    if (checkTrophies() == -1) return false;
  }
  return true;
}

bool SCENE_CARD_GAME_LEVEL::runPurchasePanelSlide() {
  const float distance = static_cast<float>(windowSlideDistance);
  if (messageState == message_state::OPENING && slideDone(purchaseSlide, distance, frameTime)) {
    messageState = message_state::OPEN;
    if (isTutorial && !gHintShown[hint_step::BUY_JOKER]) showHint(hint_step::BUY_JOKER);
  } else if (messageState == message_state::CLOSING && slideDone(purchaseSlide, distance, frameTime)) {
    messageState = message_state::NONE;
    purchaseSlide = distance;
    return false;
  }
  return true;
}
