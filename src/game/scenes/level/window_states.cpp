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
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr float BANNER_HOLD_MS = 1000.0f;
constexpr float BANNER_FADE_SPEED = 5.0f;  // times its range per second: a fade lasts 0.2 s
constexpr int32_t HINT_SHOP = 7;
constexpr int32_t HINT_PURCHASE = 8;
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

uint32_t whiteWithAlpha(float alpha) {
  const float clamped = alpha < 0.0f ? 0.0f : (alpha > 255.0f ? 255.0f : alpha);
  return (static_cast<uint32_t>(clamped) << 24) | 0x00FFFFFFu;
}

}  // namespace

bool SCENE_CARD_GAME_LEVEL::runWindowSlides() {
  const float distance = static_cast<float>(windowSlideDistance);
  switch (windowState) {
    case SHOP_OPENING:
      if (slideDone(shopSlide, distance, frameTime)) {
        windowState = SHOP_OPEN;
        if (isTutorial && !gHintShown[HINT_SHOP]) showHint(HINT_SHOP);
      }
      break;
    case SHOP_CLOSING:
      if (slideDone(shopSlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        shopSlide = distance;
        if (reservePilesInPlay() == CARD_PILES::MAX_PILES && !getTrophy(TROPHY_ALL_PLACES)) {
          showTrophyWindow(TROPHY_ALL_PLACES);
        }
      }
      break;
    case PAUSE_OPENING:
      if (slideDone(pauseSlide, distance, frameTime)) windowState = PAUSE_OPEN;
      break;
    case PAUSE_CLOSING:
      if (slideDone(pauseSlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        // The options window keeps the level paused; it comes back to the pause window.
        if (nextSceneType != static_cast<float>(TO_OPTIONS) && nextSceneType != static_cast<float>(TO_PAUSE)) {
          gIsPaused = 0;
          // The deadline was kept as the time left while paused.
          if (nextSceneType == static_cast<float>(BACK_TO_PLAY)) nextActionPointDecreaseMs += clockMs;
        }
        pauseSlide = distance;
        applyNextSceneType();
        return false;
      }
      break;
    case FINISH_OPENING:
      if (slideDone(finishSlide, distance, frameTime)) {
        windowState = FINISH_OPEN;
        if (levelResult.result == OPEN_FRAME) play(kSoundMessage);
        if (levelResult.result == SPARE) play(kSoundMessageSpare);
        if (levelResult.result == STRIKE) play(kSoundMessageStrike);
      }
      break;
    case FINISH_CLOSING:
      if (slideDone(finishSlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        for (QEL::QC_GUI_WLABEL* label : rollLabels) {
          if (label != nullptr) label->fSetText(L"");
        }
        finishSlide = distance;
        applyNextSceneType();
        return false;
      }
      break;
    case OPTIONS_OPENING:
      if (slideDone(optionsSlide, distance, frameTime)) windowState = OPTIONS_OPEN;
      break;
    case OPTIONS_CLOSING:
      if (slideDone(optionsSlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        optionsSlide = distance;
        applyNextSceneType();
        return false;
      }
      break;
    case TROPHY_OPENING:
      if (slideDone(trophySlide, distance, frameTime)) windowState = TROPHY_OPEN;
      break;
    case TROPHY_CLOSING:
      if (slideDone(trophySlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        trophySlide = distance;
        // A trophy of the frame's end goes on with that sequence; the others return to play.
        if (trophyId <= LAST_END_OF_FRAME_TROPHY) {
          applyNextSceneType();
          return false;
        }
      }
      break;
    case CREDITS_OPENING:
      if (slideDone(creditsSlide, distance, frameTime)) windowState = CREDITS_OPEN;
      break;
    case CREDITS_CLOSING:
      if (slideDone(creditsSlide, distance, frameTime)) {
        windowState = NO_WINDOW;
        creditsSlide = distance;
        applyNextSceneType();
        return false;
      }
      break;
    default:
      break;
  }
  if (!runBannerFade()) return false;
  return runPurchasePanelSlide();
}

bool SCENE_CARD_GAME_LEVEL::runBannerFade() {
  const float range = static_cast<float>(bannerSlideDistance);
  if (windowState == BANNER_SHOWN) {
    if (static_cast<float>(clockMs) >= bannerHoldUntil) {
      windowState = BANNER_FADING_OUT;
      bannerFade = range;
    }
    return true;
  }
  if (windowState != BANNER_FADING_IN && windowState != BANNER_FADING_OUT) return true;

  const bool fadingIn = windowState == BANNER_FADING_IN;
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
    windowState = BANNER_SHOWN;
    bannerHoldUntil = static_cast<float>(clockMs) + BANNER_HOLD_MS;
    return true;
  }
  windowState = NO_WINDOW;
  bannerFade = range;
  if (needToFinishAfterMessage) {
    needToFinishAfterMessage = false;
    finishLevel();
  }
  // The result banner of a finished frame leads on to the trophies and the finish window;
  // a banner opened meanwhile (the result after a bonus card) comes first.
  if (windowState == NO_WINDOW && isLevelFinished && levelResult.result >= OPEN_FRAME) {
    QEL::fLog("checkTrophies!");
    if (checkTrophies() == -1) return false;
  }
  return true;
}

bool SCENE_CARD_GAME_LEVEL::runPurchasePanelSlide() {
  const float distance = static_cast<float>(windowSlideDistance);
  if (messageState == PANEL_OPENING && slideDone(purchaseSlide, distance, frameTime)) {
    messageState = PANEL_OPEN;
    if (isTutorial && !gHintShown[HINT_PURCHASE]) showHint(HINT_PURCHASE);
  } else if (messageState == PANEL_CLOSING && slideDone(purchaseSlide, distance, frameTime)) {
    messageState = PANEL_NONE;
    purchaseSlide = distance;
    return false;
  }
  return true;
}
