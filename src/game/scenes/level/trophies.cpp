// Trophies: after a frame (strikes, perfect packs, the last level of the game), when the
// player's money passes a threshold, and from the joker, reshuffle and shop counts. Each award
// sets the player's flag (saved at once), pays its prize and opens the trophy window. After a
// frame the check also starts the tenth frame's bonus balls or opens the finish window.
#include <string>

#include "engine/log.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/players.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

namespace {

enum TROPHY : int32_t {
  GAME_PASSED_JUNIOR = 1,
  GAME_PASSED_PROFESSIONAL = 2,
  FIRST_PERFECT_PACKS_JUNIOR = 3,  // 3, 4, 5: one, six, twelve packs with 300
  FIRST_PERFECT_PACKS_PROFESSIONAL = 6,  // 6, 7, 8
  FIRST_STRIKE = 9,
  TWO_STRIKES = 10,
  THREE_STRIKES = 11,
  FIRST_MONEY_JUNIOR = 12,  // 12, 13, 14
  FIRST_MONEY_PROFESSIONAL = 15,  // 15, 16, 17
  LAST_END_OF_FRAME = 11,
};

constexpr int32_t MONEY_THRESHOLDS[3] = {100000, 500000, 1000000};
constexpr int32_t PERFECT_PACK_COUNTS[3] = {1, 6, 12};
// From the end of the prize's text, as its font draws it, to the coin's centre.
constexpr float PRIZE_COIN_GAP = 16.0f;

std::wstring trophyText(int32_t id, const wchar_t* part) {
  return replaceBarsWithNewlines(getTextW(L"trophy_" + numberToWString(id) + part));
}

bool storedStrike(int32_t level) {
  return level >= 0 && getLevelResult(gCurrentPlayer, level, kResultField) == SCENE_CARD_GAME_LEVEL::STRIKE;
}

}  // namespace

int32_t SCENE_CARD_GAME_LEVEL::checkTrophies() {
  bool showFinish = true;
  const auto award = [&](int32_t id) {
    showTrophyWindow(id);
    showFinish = false;
  };
  const bool strike = levelResult.result == STRIKE;
  const int32_t level = gCurrentLevel;
  if (strike && !getTrophy(FIRST_STRIKE)) award(FIRST_STRIKE);
  if (strike && !getTrophy(TWO_STRIKES) && level > 0) {
    if (gTenthFrameBonus ? gTenthFrameKind == STRIKE : storedStrike(level - 1)) award(TWO_STRIKES);
  }
  if (strike && !getTrophy(THREE_STRIKES) && level > 1) {
    const bool earned = gTenthFrameBonus
                            ? gTenthFrameKind == STRIKE && (gTenthFrameSecondBonus || storedStrike(level - 1))
                            : storedStrike(level - 1) && storedStrike(level - 2);
    if (earned) award(THREE_STRIKES);
  }
  const int32_t perfectPacks = countPerfectPacks();
  const int32_t firstPackTrophy = gGameMode == 0 ? FIRST_PERFECT_PACKS_JUNIOR : FIRST_PERFECT_PACKS_PROFESSIONAL;
  for (int32_t k = 0; k < 3; ++k) {
    if (perfectPacks == PERFECT_PACK_COUNTS[k] && !getTrophy(firstPackTrophy + k)) award(firstPackTrophy + k);
  }

  if (isTenthFrame()) {
    const bool firstPlayEarnedBonus = !gTenthFrameBonus && levelResult.result > OPEN_FRAME;
    const bool bonusStrikeEarnedLastBall =
        gTenthFrameBonus && strike && !gTenthFrameSecondBonus && gTenthFrameKind == STRIKE;
    if (firstPlayEarnedBonus || bonusStrikeEarnedLastBall) {
      if (firstPlayEarnedBonus) {
        gTenthFrameKind = levelResult.result;
        gTenthFrameBonus = 1;
      } else {
        QEL::fLog("----------------------------------------------------------------------         "
                  "levelResult.result: ",
                  levelResult.result);
        gTenthFrameSecondBonus = 1;
      }
      nextSceneType = TO_BONUS_BALLS;
      // A trophy just shown is read first: its window's closing starts the bonus balls.
      if (!showFinish) return 0;
      applyNextSceneType();
      return -1;
    }
  }

  if (level == kLastLevel && gCurrentPlayer >= 0 && gCurrentPlayer < kMaxPlayers) {
    if (gGameMode == 0) {
      if (getTrophy(GAME_PASSED_JUNIOR)) {
        if (showFinish) showFinishWindow();
        return 0;
      }
      award(GAME_PASSED_JUNIOR);
    } else if (!getTrophy(GAME_PASSED_PROFESSIONAL)) {
      award(GAME_PASSED_PROFESSIONAL);
      return 0;
    }
  }
  if (showFinish) showFinishWindow();
  return 0;
}

void SCENE_CARD_GAME_LEVEL::checkMoneyTrophies() {
  if (gCurrentPlayer < 0 || gCurrentPlayer >= kMaxPlayers) return;
  // Compared as a signed sum: a negative (damaged) balance passes no threshold.
  const int32_t money = gPlayers[gCurrentPlayer].money;
  const int32_t first = gGameMode == 0 ? FIRST_MONEY_JUNIOR : FIRST_MONEY_PROFESSIONAL;
  // One trophy per call; the next call awards the next one.
  for (int32_t k = 0; k < 3; ++k) {
    if (money > MONEY_THRESHOLDS[k] && !getTrophy(first + k)) {
      showTrophyWindow(first + k);
      return;
    }
  }
}

void SCENE_CARD_GAME_LEVEL::showTrophyWindow(int32_t id) {
  QEL::fLog("START --- showTrophyWindow(int id)");
  if (id < 1 || id > kTrophyCount || gCurrentPlayer < 0 || gCurrentPlayer >= kMaxPlayers) {
    QEL::fLog("showTrophyWindow: no trophy ", id, " for player ", gCurrentPlayer);
    return;
  }
  setTrophy(id);
  if (trophyNameLabel != nullptr) trophyNameLabel->fSetText(trophyText(id, L"_name"));
  if (trophyDescriptionLabel != nullptr) trophyDescriptionLabel->fSetText(trophyText(id, L"_description"));
  const std::wstring prizeLine = replaceBarsWithNewlines(getText(L"prize")) + L": " + trophyText(id, L"_prize");
  if (trophyPrizeLabel != nullptr) {
    trophyPrizeLabel->fSetText(prizeLine);
    if (trophyDollar != nullptr) {
      // The coin follows the text as drawn: a count of its characters would not know how
      // wide the font's digits are.
      const QEL::QS_VECTOR2 at = trophyPrizeLabel->fGetTransform()->fGetPosition();
      trophyDollar->fSetPosition(at.x + trophyPrizeLabel->fGetWidth() / 2.0f + PRIZE_COIN_GAP, at.y, 0.0f);
    }
  }
  trophyId = id;
  // The frame's trophies lead on to its finish window; the others return to play.
  if (id <= LAST_END_OF_FRAME) nextSceneType = TO_FINISH;

  PLAYER_RECORD& player = gPlayers[gCurrentPlayer];
  addMoney(player, getTextInt(L"trophy_" + numberToWString(id) + L"_prize"));
  if (moneyLabel != nullptr) moneyLabel->fSetText(numberToWString(player.money));
  // The trophy and its prize are saved together, so neither is lost to the other.
  savePlayerTrophies(gCurrentPlayer);
  savePlayerMoney(gCurrentPlayer);

  windowState = window_state::TROPHY_OPENING;
  trophySlide = static_cast<float>(windowSlideDistance);
}
