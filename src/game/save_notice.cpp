#include "game/save_notice.h"

#include "game/fonts_sounds.h"
#include "game/picture_size.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace {

constexpr float kNoticeSeconds = 4.0f;
constexpr float kStripHeight = 40.0f;
constexpr uint32_t kStripColor = 0xC0000000u;
constexpr SCREEN_PLACE kTextPlace{kPictureWidth / 2.0f, kStripHeight / 2.0f};  // the centre of the text
constexpr int32_t kFontSize = 20;
constexpr int32_t kFontWhite = 2;
constexpr int32_t kCentred = 0;

float gSecondsLeft = 0.0f;
QEL::QC_SPRITE* gStrip = nullptr;

QEL::QC_SPRITE* strip() {
  if (gStrip == nullptr) {
    gStrip = makeSceneSprite("interface shadow_black_square.png", 0.0f, 0.0f, 1);
    gStrip->fSetScale(kShadeWidth, kStripHeight, 1.0f);
    gStrip->fSetColor(kStripColor);
  }
  return gStrip;
}

}  // namespace

void noticeFailedSave() { gSecondsLeft = kNoticeSeconds; }

void updateSaveNotice(float timeStep) {
  if (gSecondsLeft > 0.0f) gSecondsLeft -= timeStep;
}

void drawSaveNotice() {
  if (!isSaveNoticeShown()) return;
  strip()->fDraw();
  QEL::QC_FONT* font = findFont(kFontSize, kFontWhite);
  if (font == nullptr) return;
  const int32_t anchor = font->_anchor;
  font->_anchor = kCentred;
  font->fDrawTextW(static_cast<int32_t>(kTextPlace.x), static_cast<int32_t>(kTextPlace.y),
                   getText(L"save_failed").c_str());
  font->_anchor = anchor;
}

void releaseSaveNotice() {
  deleteOwned(gStrip);
  gSecondsLeft = 0.0f;
}

bool isSaveNoticeShown() { return gSecondsLeft > 0.0f; }
