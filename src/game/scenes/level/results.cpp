// The end of a frame: its bowling result from the skittles still standing and the turnovers
// used, kept when it beats the stored best, the pack score, the next level opened, the saves
// and the statistics file, then the result banner and, after the trophies, the finish window.
// The tenth frame's bonus balls are played in new scenes of the same level; the tenth-frame
// globals carry the frame across them.
#include <string>

#include "engine/log.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/level_results.h"
#include "game/scenes/level/level_scene.h"
#include "game/texts.h"
#include "gui/gui_wlabel.h"
#include "primitives/font.h"

namespace {

constexpr int32_t TENTH_FRAME = kLevelsPerPack - 1;
constexpr int32_t BANNER_FONT_SIZE = 100;
constexpr int32_t BANNER_FONT_VARIANT = 3;
constexpr uint32_t INVISIBLE_WHITE = 0x00FFFFFFu;

void setText(QEL::QC_GUI_WLABEL* label, const std::wstring& text) {
  if (label != nullptr) label->fSetText(text);
}

std::wstring number(int32_t n) { return numberToWString(n); }

// "X" for a ball of all ten skittles, else its count.
std::wstring strikeOr(int32_t ball) { return ball == kAllSkittles ? L"X" : number(ball); }

// "%number pins down", or for a single pin its own text ("%number pin down") when the texts
// have one; the count goes in place of "%number".
std::wstring knockedDownText(int32_t pins) {
  std::wstring text = pins == 1 ? getText(L"knocked_down_one") : std::wstring();
  if (text.empty()) text = getText(L"knocked_down");
  return replacePlaceholder(text, L"%number", number(pins));
}

bool tenthFrameLevel() { return gCurrentLevel % kLevelsPerPack == TENTH_FRAME; }

}  // namespace

bool SCENE_CARD_GAME_LEVEL::isTenthFrame() const { return tenthFrameLevel(); }

std::wstring formatResultText(const LEVEL_RESULT& result) {
  const int32_t b1 = result.specialCards1;
  const int32_t b2 = result.specialCards2;
  const int32_t b3 = result.specialCards3;
  if (!tenthFrameLevel()) {
    if (result.result == SCENE_CARD_GAME_LEVEL::STRIKE) return L"X";
    if (result.result == SCENE_CARD_GAME_LEVEL::SPARE) return number(b1) + L"/";
    if (result.result == SCENE_CARD_GAME_LEVEL::OPEN_FRAME) return number(b1) + L"/" + number(b2);
    return L"";
  }
  if (b1 == kAllSkittles) {
    if (b2 == kAllSkittles) return b3 == kAllSkittles ? L"XXX" : L"XX/" + number(b3);
    if (b2 + b3 == kAllSkittles) return L"X/" + number(b2) + L"/";
    return L"X/" + number(b2) + L"/" + number(b3);
  }
  if (result.result == SCENE_CARD_GAME_LEVEL::SPARE) return number(b1) + L"/" + strikeOr(b3);
  if (result.result == SCENE_CARD_GAME_LEVEL::OPEN_FRAME) {
    QEL::fLog("usual variant");
    return number(b1) + L"/" + number(b2);
  }
  return L"";
}

void SCENE_CARD_GAME_LEVEL::finishLevel() {
  QEL::fLog("START - finishLevel()");
  // A frame ends once; a second call (a late landing, a developer key) changes nothing.
  if (isLevelFinished) {
    QEL::fLog("finishLevel: the frame has already ended");
    return;
  }
  if (!isLevelPlayable) {
    QEL::fLog("finishLevel: level ", gCurrentLevel, " has no skittles to play; no result is kept");
    return;
  }
  isLevelFinished = true;
  saveResultsOfLevel();
  if (!isInstantStrike) showResultBanner(levelResult.result);
}

void SCENE_CARD_GAME_LEVEL::saveResultsOfLevel() {
  QEL::fLog("countOfSpecialCardsOnScene: ", countOfSpecialCardsOnScene);
  levelResult.result = 0;
  if (gTenthFrameBonus) {
    scoreBonusPlay();
  } else {
    scoreOrdinaryFrame();
  }
  if (levelResult.result == 0) levelResult.result = NOT_COMPLETED;
  storeResultIfBetter();
  writeRollLabels();
  calculatePackScore();
  openNextLevel();
  saveLevelsInfo();
  saveStatisticsOfLevel();
  QEL::fLog("End of saveResultsOfLevel()");
}

void SCENE_CARD_GAME_LEVEL::scoreOrdinaryFrame() {
  const int32_t standing = countOfSpecialCardsOnScene;
  LEVEL_RESULT& r = levelResult;
  if (standing == 0 && turnoversLeft == turnoversAtStart) {
    r.result = STRIKE;
    r.specialCards1 = kAllSkittles;
    r.specialCards2 = 0;
  } else if (standing == 0 && turnoversLeft + 1 == turnoversAtStart) {
    r.result = SPARE;
    r.specialCards2 = kAllSkittles - r.specialCards1;
    if (isTenthFrame()) gTenthFrameBall1 = r.specialCards1;
  } else if (standing > 0 && turnoversLeft == 0) {
    r.result = OPEN_FRAME;
    r.specialCards2 = kAllSkittles - r.specialCards1 - standing;
  }
  if (isInstantStrike) {
    r.result = STRIKE;
    r.specialCards1 = kAllSkittles;
    r.specialCards2 = 0;
  }
}

void SCENE_CARD_GAME_LEVEL::scoreBonusPlay() {
  LEVEL_RESULT& r = levelResult;
  // The lottery's instant strike knocks down every skittle of the ball being played.
  const int32_t standing = isInstantStrike ? 0 : countOfSpecialCardsOnScene;
  if (gTenthFrameKind == SPARE || (gTenthFrameKind == STRIKE && gTenthFrameSecondBonus)) {
    // The frame's last ball, played without a turnover.
    if (gTenthFrameKind == SPARE) {
      r.specialCards1 = gTenthFrameBall1;
      r.specialCards2 = kAllSkittles - gTenthFrameBall1;
    } else {
      r.specialCards1 = kAllSkittles;
      r.specialCards2 = kAllSkittles;
    }
    r.specialCards3 = kAllSkittles - standing;
    r.result = r.specialCards3 == kAllSkittles ? STRIKE : OPEN_FRAME;
    return;
  }
  if (gTenthFrameKind != STRIKE) return;
  // After the tenth frame's strike: two balls with one turnover; the piles put the first
  // ball's count into specialCards1.
  const int32_t firstBonusBall = r.specialCards1;
  if (isInstantStrike || (standing == 0 && turnoversLeft == turnoversAtStart)) {
    // A strike again: the last bonus ball is still to come.
    r.result = STRIKE;
    r.specialCards1 = kAllSkittles;
    r.specialCards2 = kAllSkittles;
    r.specialCards3 = kBallNotPlayed;
  } else if (standing == 0 && turnoversLeft + 1 == turnoversAtStart) {
    r.result = SPARE;
    r.specialCards1 = kAllSkittles;
    r.specialCards2 = firstBonusBall;
    r.specialCards3 = kAllSkittles - firstBonusBall;
  } else if (standing > 0 && turnoversLeft == 0) {
    r.result = OPEN_FRAME;
    r.specialCards1 = kAllSkittles;
    r.specialCards2 = firstBonusBall;
    r.specialCards3 = kAllSkittles - firstBonusBall - standing;
  }
}

void SCENE_CARD_GAME_LEVEL::storeResultIfBetter() {
  bool replace = isBetterResult();
  // The bonus balls finish the record that this frame's first play wrote: its balls are
  // the frame's own, whatever kind the bonus play ends with.
  if (gTenthFrameBonus && gTenthFrameRecorded) replace = true;
  if (isTenthFrame()) gTenthFrameRecorded = replace ? 1 : 0;
  if (!replace) return;
  setLevelResult(gCurrentPlayer, gCurrentLevel, kResultField, levelResult.result);
  setLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards1Field, levelResult.specialCards1);
  setLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards2Field, levelResult.specialCards2);
  setLevelResult(gCurrentPlayer, gCurrentLevel, kScoreField, levelResult.score);
  if (isTenthFrame()) setLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards3Field, levelResult.specialCards3);
}

void SCENE_CARD_GAME_LEVEL::writeRollLabels() {
  const int32_t b1 = levelResult.specialCards1;
  const int32_t b2 = levelResult.specialCards2;
  const int32_t b3 = levelResult.specialCards3;
  std::wstring text[3];
  if (!isTenthFrame()) {
    if (levelResult.result == STRIKE) text[0] = L"X";
    if (levelResult.result == SPARE) text[0] = number(b1), text[1] = L"/";
    if (levelResult.result == OPEN_FRAME) text[0] = number(b1), text[1] = number(b2);
    setText(rollLabels[0], text[0]);
    setText(rollLabels[1], text[1]);
    return;
  }
  QEL::fLog("levelResult.specialCards1: ", b1);
  QEL::fLog("levelResult.specialCards2: ", b2);
  QEL::fLog("levelResult.specialCards3: ", b3);
  if (b1 == kAllSkittles) {
    text[0] = L"X";
    if (b2 == kAllSkittles) {
      text[1] = L"X";
      text[2] = b3 == kBallNotPlayed ? L"" : strikeOr(b3);
    } else if (b2 + b3 == kAllSkittles) {
      text[1] = number(b2), text[2] = L"/";
    } else {
      text[1] = number(b2), text[2] = number(b3);
    }
  } else if (b1 + b2 == kAllSkittles) {
    text[0] = number(b1), text[1] = L"/", text[2] = strikeOr(b3);
  } else if (levelResult.result == OPEN_FRAME) {
    text[0] = number(b1), text[1] = number(b2);
  }
  // The first play of the tenth frame shows only its own balls; the bonus balls follow.
  if (!gTenthFrameBonus && levelResult.result == STRIKE) text[1].clear(), text[2].clear();
  if (!gTenthFrameBonus && levelResult.result == SPARE) text[2].clear();
  for (int32_t k = 0; k < 3; ++k) setText(rollLabels[k], text[k]);
}

void SCENE_CARD_GAME_LEVEL::recordBall() {
  const int32_t ballsEnded = turnoversAtStart - turnoversLeft;
  if (ballsEnded == 1) {
    const int32_t knocked = kAllSkittles - countOfSpecialCardsOnScene;
    levelResult.specialCards1 = knocked;
    writeFirstBallLabels(knocked);
  } else if (ballsEnded == 2) {
    levelResult.specialCards2 = kAllSkittles - levelResult.specialCards1 - countOfSpecialCardsOnScene;
    QEL::fLog("");
    QEL::fLog("------------------------------------------                   Second: ", levelResult.specialCards2);
  }
}

void SCENE_CARD_GAME_LEVEL::writeFirstBallLabels(int32_t knocked) {
  const std::wstring count = number(knocked);
  if (!isTenthFrame() || !gTenthFrameBonus) {
    if (knocked == kAllSkittles) {
      setText(rollLabels[0], L"X");
      setText(rollLabels[1], L"");
    } else {
      setText(rollLabels[0], count);
    }
  } else if (!gTenthFrameSecondBonus) {
    if (knocked == kAllSkittles) {
      setText(rollLabels[1], L"X");
      setText(rollLabels[2], L"");
    } else {
      setText(rollLabels[1], count);
    }
  } else {
    if (knocked == kAllSkittles) {
      setText(rollLabels[2], number(kAllSkittles));
    } else {
      setText(rollLabels[1], count);
    }
  }
}

void SCENE_CARD_GAME_LEVEL::openNextLevel() {
  if (levelResult.result <= NOT_COMPLETED || gCurrentLevel >= kLastLevel || gCurrentLevel < 0) return;
  const int32_t next = gCurrentLevel + 1;
  if (getLevelResult(gCurrentPlayer, next, kResultField) != LOCKED) return;
  if (isTenthFrame()) {
    // The next pack opens only when this pack reached its goal.
    const std::wstring key = std::wstring(gGameMode == 0 ? L"junior" : L"professional") + L"_pack" +
                             number(gCurrentPack + 1) + L"_goal";
    if (getTextInt(key) > getPackScore(gCurrentPack)) return;
  }
  setLevelResult(gCurrentPlayer, next, kResultField, NOT_COMPLETED);
}

int32_t SCENE_CARD_GAME_LEVEL::knockedDownCount(int32_t kind) const {
  const LEVEL_RESULT& r = levelResult;
  if (kind == NOT_COMPLETED) return r.specialCards1;
  if (!gTenthFrameBonus) return r.specialCards1 + r.specialCards2;
  return gTenthFrameKind == STRIKE ? r.specialCards2 + r.specialCards3 : r.specialCards3;
}

void SCENE_CARD_GAME_LEVEL::showResultBanner(int32_t kind) {
  QEL::QC_FONT* font = findFont(BANNER_FONT_SIZE, BANNER_FONT_VARIANT);
  if (bannerLabel != nullptr && font != nullptr) bannerLabel->fSetFont(font);
  isBonusBanner = 0;
  bannerDollarMode = 0;
  std::wstring text;
  if (kind == STRIKE) text = getText(L"strike") + L"!";
  if (kind == SPARE) text = getText(L"spare") + L"!";
  if (kind == OPEN_FRAME || kind == NOT_COMPLETED) {
    text = knockedDownText(knockedDownCount(kind));
  }
  setText(bannerLabel, text);
  // The update fades it in.
  if (font != nullptr) font->fSetColor(INVISIBLE_WHITE);
  windowState = window_state::BANNER_FADING_IN;
  bannerFade = static_cast<float>(bannerSlideDistance);
}

void SCENE_CARD_GAME_LEVEL::showFinishWindow() {
  QEL::fLog("Start void SCENE_CARD_GAME_LEVEL::showFinishWindow()");
  if (isTenthFrame()) {
    nextSceneType = gGameMode == 0 ? TO_FRAMES : WAIT_FOR_FINISH_BUTTON;
    if (gTenthFrameBonus) levelResult.result = gTenthFrameKind;
  }
  windowState = window_state::FINISH_OPENING;
  finishSlide = static_cast<float>(windowSlideDistance);

  const int32_t kind = levelResult.result;
  std::wstring headline;
  if (kind == STRIKE) headline = getText(L"hint_22");
  if (kind == SPARE) headline = getText(L"hint_23");
  if (kind == OPEN_FRAME || kind == NOT_COMPLETED) {
    headline = knockedDownText(knockedDownCount(kind)) + L"!";
  }
  setText(finishPackNameLabel, headline);
  setText(finishFrameLabel, frameNumberText());
  const std::wstring resultText = replacePlaceholder(getText(L"result"), L"%result", formatResultText(levelResult));
  setText(finishResultLabel, resultText);

  // The new result may just have been stored as the best.
  bestLevelResult.result = getLevelResult(gCurrentPlayer, gCurrentLevel, kResultField);
  bestLevelResult.specialCards1 = getLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards1Field);
  bestLevelResult.specialCards2 = getLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards2Field);
  bestLevelResult.specialCards3 = getLevelResult(gCurrentPlayer, gCurrentLevel, kSpecialCards3Field);
  if (bestLevelResult.result < OPEN_FRAME) {
    setText(finishBestResultLabel, resultText);
  } else {
    setText(finishBestResultLabel,
            replacePlaceholder(getText(L"best_result"), L"%result", formatResultText(bestLevelResult)));
  }
  QEL::fLog("End void SCENE_CARD_GAME_LEVEL::showFinishWindow()");
  if (isTenthFrame()) {
    gTenthFrameKind = 0;
    gTenthFrameBonus = 0;
    gTenthFrameSecondBonus = 0;
    gTenthFrameRecorded = 0;
  }
}
