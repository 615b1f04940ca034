// What a removed pair shows: the prize of a bonus card on the banner, and the points rising
// from where the pair lay.
#include <string>

#include "engine/log.h"
#include "engine/sound.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t RESHUFFLE_PRIZE = 3;
constexpr int32_t FIRST_NAMED_PRIZE = 3;  // types 3-5 name their prize: reshuffle, joker, strike
constexpr int32_t BANNER_FONT_VARIANT = 1;
constexpr uint32_t INVISIBLE_WHITE = 0x00FFFFFFu;
constexpr float POPUP_RISE = 200.0f;
constexpr int32_t WIDE_POINTS = 100;  // from three digits on the coin stands further left
constexpr float COIN_GAP = 40.0f;
constexpr float WIDE_COIN_GAP = 52.0f;

}  // namespace

void SCENE_CARD_GAME_LEVEL::showBonusCardWindow(int32_t type) {
  isBonusBanner = 1;
  QEL::QC_SOUND::fPlayFromStart(gSounds[kSoundMessage]);
  bonusCardType = type;
  std::wstring text;
  if (type < FIRST_NAMED_PRIZE) {
    text = replacePlaceholder(getText(L"bonus_card_score"), L"%score", numberToWString(bonusMoney));
    bannerDollarMode = 1;
  } else {
    QEL::fLog("bonusType = ", type - 2);
    const std::wstring name = replaceBarsWithNewlines(getTextW(L"bonus_card_bonusname" + numberToWString(type - 2)));
    text = replacePlaceholder(getText(L"bonus_card_bonus"), L"%bonusname", name);
    bannerDollarMode = 0;
  }
  QEL::QC_FONT* font = findFont(type == RESHUFFLE_PRIZE ? 70 : 75, BANNER_FONT_VARIANT);
  if (bannerLabel != nullptr) {
    if (font != nullptr) bannerLabel->fSetFont(font);
    bannerLabel->fSetText(text);
  }
  // The update fades it in.
  if (font != nullptr) font->fSetColor(INVISIBLE_WHITE);
  windowState = window_state::BANNER_FADING_IN;
  bannerFade = static_cast<float>(bannerSlideDistance);
}

void SCENE_CARD_GAME_LEVEL::showPointsPopup(int32_t points, float x, float y) {
  QEL::fLog("x: ", x);
  QEL::fLog("y: ", y);
  for (POINTS_POPUP& popup : pointsPopup) {
    if (popup.rise != POINTS_POPUP::FREE) continue;
    if (popup.label != nullptr) {
      popup.label->fSetPosition(x, y, 0.0f);
      popup.label->fSetText(numberToWString(points));
    }
    if (popup.coin != nullptr) popup.coin->fSetPosition(x - (points < WIDE_POINTS ? COIN_GAP : WIDE_COIN_GAP), y, 0.0f);
    popup.points = points;
    popup.rise = POPUP_RISE;
    return;
  }
}
