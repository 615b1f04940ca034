// The score sheet of the frames scene: the marks of each frame's balls, and the sheet row
// under the frame buttons with the frame numbers, the balls, the running scores and the
// pack's total.
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/scenes/frames/frames_scene.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_container.h"

namespace {

using enum LEVEL_RESULT::FRAME_KIND;
constexpr int32_t CENTRE = 0;
constexpr int32_t TOTAL_COLUMN = kLevelsPerPack;
constexpr int32_t TENTH = kLevelsPerPack - 1;

// The sheet's columns: 61.8 apart from 127, the tenth wider and the total apart. Worked out in
// double precision and kept as floats.
constexpr double SHEET_LEFT = 127.0;
constexpr double SHEET_COLUMN = 61.8;
constexpr float TENTH_COLUMN_X = 688.2f;
constexpr float TOTAL_COLUMN_X = 787.0f;
constexpr float HEAD_Y = 657.0f;
constexpr float BALLS_Y = 674.0f;
constexpr float SCORE_Y = 700.0f;
constexpr double SCORE_SHIFT = -2.0;
constexpr double BALL1_SHIFT = -13.0;
constexpr double BALL2_SHIFT = 11.0;
constexpr double TENTH_BALL1_SHIFT = -17.0;
constexpr double TENTH_BALL2_SHIFT = 6.0;
constexpr float TENTH_BALL3_X = 714.2f;

float columnX(int32_t column, double shift) {
  return static_cast<float>(SHEET_LEFT + SHEET_COLUMN * static_cast<double>(column) + shift);
}

// One ball's count: nothing for a ball not played (-1), "-" for a miss.
std::wstring count(int32_t skittles) {
  if (skittles < 0) return L"";
  if (skittles == 0) return L"-";
  return numberToWString(skittles);
}

// A bonus ball that knocks every skittle down is a strike of its own.
std::wstring bonus(int32_t skittles) { return skittles == kAllSkittles ? L"X" : count(skittles); }

bool makeTen(int32_t a, int32_t b) { return a >= 0 && b >= 0 && a + b == kAllSkittles; }

FRAME_BALLS tenthFrameBalls(int32_t ball1, int32_t ball2, int32_t ball3) {
  if (ball1 == kAllSkittles) {
    if (ball2 == kAllSkittles) return {L"X", L"X", bonus(ball3)};
    if (makeTen(ball2, ball3)) return {L"X", count(ball2), L"/"};
    return {L"X", count(ball2), count(ball3)};
  }
  if (makeTen(ball1, ball2)) return {count(ball1), L"/", bonus(ball3)};
  // An open tenth frame has no third ball.
  return {count(ball1), count(ball2), L""};
}

}  // namespace

FRAME_BALLS frameBalls(const LEVEL_RESULT& frame, bool isTenthFrame) {
  if (frame.result < LEVEL_RESULT::OPEN_FRAME) return {};
  // The bonus play stores its own kind (a spare followed by a strike is kept as a strike),
  // so the tenth frame's marks follow the balls.
  if (isTenthFrame) return tenthFrameBalls(frame.specialCards1, frame.specialCards2, frame.specialCards3);
  if (frame.result == STRIKE) return {L"X", L"", L""};
  if (frame.result == SPARE) return {count(frame.specialCards1), L"/", L""};
  return {count(frame.specialCards1), count(frame.specialCards2), L""};
}

LEVEL_RESULT SCENE_CARD_GAME_FRAMES::frameResult(int32_t frame) const {
  const int32_t level = gCurrentPack * kLevelsPerPack + frame;
  LEVEL_RESULT stored;
  stored.result = getLevelResult(gCurrentPlayer, level, kResultField);
  stored.specialCards1 = getLevelResult(gCurrentPlayer, level, kSpecialCards1Field);
  stored.specialCards2 = getLevelResult(gCurrentPlayer, level, kSpecialCards2Field);
  stored.score = getLevelResult(gCurrentPlayer, level, kScoreField);
  stored.specialCards3 = getLevelResult(gCurrentPlayer, level, kSpecialCards3Field);
  return stored;
}

void SCENE_CARD_GAME_FRAMES::createScoreSheet() {
  QEL::QC_FONT* headFont = findFont(18, 0);
  QEL::QC_FONT* ballFont = findFont(14, 0);
  for (int32_t column = 0; column <= TOTAL_COLUMN; ++column) {
    const bool isTotal = column == TOTAL_COLUMN;
    const float headX = isTotal ? TOTAL_COLUMN_X : column == TENTH ? TENTH_COLUMN_X : columnX(column, 0.0);
    const float scoreX = isTotal ? TOTAL_COLUMN_X : column == TENTH ? TENTH_COLUMN_X : columnX(column, SCORE_SHIFT);
    const std::wstring head = isTotal ? getText(L"total") : numberToWString(column + 1);
    // Every frame shows its stored running score, a frame not yet played its 0.
    const int32_t score = isTotal ? getPackScore(gCurrentPack) : frameResult(column).score;
    createLabel(FIRST_HEAD + column, head, headX, HEAD_Y, lowerContainer, headFont, CENTRE);
    createLabel(FIRST_SCORE + column, numberToWString(score), scoreX, SCORE_Y, lowerContainer, headFont, CENTRE);
  }
  for (int32_t frame = 0; frame < kLevelsPerPack; ++frame) {
    const bool isTenth = frame == TENTH;
    const FRAME_BALLS balls = frameBalls(frameResult(frame), isTenth);
    createLabel(FIRST_SHEET_BALL1 + frame, balls.first, columnX(frame, isTenth ? TENTH_BALL1_SHIFT : BALL1_SHIFT),
                BALLS_Y, lowerContainer, ballFont, CENTRE);
    createLabel(FIRST_SHEET_BALL2 + frame, balls.second, columnX(frame, isTenth ? TENTH_BALL2_SHIFT : BALL2_SHIFT),
                BALLS_Y, lowerContainer, ballFont, CENTRE);
    if (isTenth) createLabel(SHEET_BALL3, balls.third, TENTH_BALL3_X, BALLS_Y, lowerContainer, ballFont, CENTRE);
  }
}
