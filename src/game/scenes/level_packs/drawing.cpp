// The level packs drawn: every slide is applied here from its remaining offset (the title and
// the upper row go up, the lower row and the back button go down), the packs move sideways
// while the page turns, and an open panel comes down over a shade with the current pack
// pulsing behind it.
#include <cmath>
#include <string>

#include "engine/transform.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/hint_steps.h"
#include "game/scenes/level_packs/layout.h"
#include "game/scenes/level_packs/level_packs_scene.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "primitives/font.h"
#include "primitives/sprite.h"

namespace layout = level_packs_layout;

namespace {

constexpr uint32_t OPAQUE_WHITE = 0xFFFFFFFFu;
constexpr float PULSE_LOW = 100.0f;
constexpr float PULSE_HIGH = 200.0f;

uint32_t whiteWithAlpha(float alpha) { return (static_cast<uint32_t>(alpha) << 24) | 0x00FFFFFFu; }

void moveToY(QEL::QC_GUI_OBJECT* widget, float y) {
  const QEL::QS_VECTOR2 at = widget->fGetTransform()->fGetPosition();
  widget->fSetPosition(at.x, y, 0.0f);
}

void moveToY(QEL::QC_SPRITE* sprite, float y) { sprite->fSetPosition(sprite->_node->_position.x, y, 0.0f); }

}  // namespace

void SCENE_CARD_GAME_LEVELPACKS::fDraw() {
  // Out, everything moves away from its place; in, it comes back to it.
  const float d = slideState == SLIDE::OUT ? static_cast<float>(slideDistance) - slideOffset : slideOffset;

  if (slideState == SLIDE::OUT && nextSceneType == NEXT_SCENE::FRAMES)
    background->fSetColor(whiteWithAlpha(slideOffset / static_cast<float>(slideDistance) * 255.0f));
  background->fDraw();

  placeSlidingWidgets(d);
  difficultyImage->fDraw();
  placePackButtons(d);
  placePanels();
  mainContainer->fDraw();
  titleContainer->fDraw();

  if (panelState != PANEL::NONE) drawPanelHighlight();
  drawFirstVisitHint();
  if (panelState != PANEL::NONE) drawOpenPanel();
}

void SCENE_CARD_GAME_LEVELPACKS::placeSlidingWidgets(float d) {
  titleContainer->fSetPosition(0.0f, -d, 0.0f);
  moveToY(difficultyImage, difficultyY - d);
  moveToY(leftButton, arrowsY - d);
  moveToY(rightButton, arrowsY - d);
  moveToY(backButton, backY + d);
}

float SCENE_CARD_GAME_LEVELPACKS::packX(int32_t pack) const {
  const float column = static_cast<float>(pack % PACKS_PER_ROW);
  const float home = (pack < PACKS_PER_PAGE ? column0X : layout::PACK_PAGE1_COLUMN0_X) +
                     layout::PACK_COLUMN_STEP * column;
  if (slideState != SLIDE::PAGING) return home - static_cast<float>(pageWidth * page);
  // From page 0 the packs travel left by what the turn has covered; from page 1 they come
  // back from a page's width left of home.
  const float travelled = page == 0 ? static_cast<float>(pageWidth) - pageOffset : pageOffset;
  return home - travelled;
}

void SCENE_CARD_GAME_LEVELPACKS::placePackButtons(float d) {
  for (int32_t pack = 0; pack < kPackCount; ++pack) {
    const bool lowerRow = pack % PACKS_PER_PAGE >= PACKS_PER_ROW;
    const float y = lowerRow ? row1Y + d : row0Y - d;
    packButtons[pack]->fSetPosition(std::trunc(packX(pack)), std::trunc(y), 0.0f);
  }
}

void SCENE_CARD_GAME_LEVELPACKS::placePanels() {
  const float e = panelState == PANEL::SLIDING_OUT ? static_cast<float>(panelDistance) - panelOffset : panelOffset;
  if (panelKind == PANEL_KIND::INFORMATION) {
    moveToY(informationPanelBackground, panelY - e);
    informationPanelContainer->fSetPosition(0.0f, -e, 0.0f);
  } else if (panelKind == PANEL_KIND::PROFESSIONAL) {
    moveToY(professionalPanelBackground, panelY - e);
    professionalPanelContainer->fSetPosition(0.0f, -e, 0.0f);
  }
}

void SCENE_CARD_GAME_LEVELPACKS::drawPanelHighlight() {
  if (pulseFalling) {
    pulseAlpha -= timeStep * pulseSpeed;
    if (pulseAlpha <= PULSE_LOW) {
      pulseAlpha = PULSE_LOW;
      pulseFalling = false;
    }
  } else {
    pulseAlpha += timeStep * pulseSpeed;
    if (pulseAlpha >= PULSE_HIGH) {
      pulseAlpha = PULSE_HIGH;
      pulseFalling = true;
    }
  }
  if (gCurrentPack >= 0 && gCurrentPack < kPackCount) {
    const QEL::QS_VECTOR2 at = packButtons[gCurrentPack]->fGetTransform()->fGetPosition();
    packHighlight->fSetPosition(at.x, at.y, 0.0f);
    packHighlight->fSetColor(whiteWithAlpha(pulseAlpha));
    packHighlight->fDraw();
    packHighlight->fSetColor(OPAQUE_WHITE);
  }
  fadeShade->fDraw();
}

void SCENE_CARD_GAME_LEVELPACKS::drawFirstVisitHint() {
  if (!showPackHint || gHintShown[hint_step::CHOOSE_PACK]) return;
  hintStrip->fDraw();
  if (QEL::QC_FONT* font = findFont(20, 2)) {
    const std::wstring text = replaceBarsWithNewlines(getText(L"hint_25"));
    const int32_t anchor = font->_anchor;
    font->_anchor = 0;
    // Drawn as text, never as a format: a '%' in a translation stays a '%'.
    font->fDrawTextW(static_cast<int32_t>(layout::HINT_TEXT_X),
                     static_cast<int32_t>(layout::HINT_STRIP.y + layout::HINT_TEXT_BELOW_STRIP), text.c_str());
    font->_anchor = anchor;
  }
  if (slideState == SLIDE::IDLE) hintArrow->fDraw();
}

void SCENE_CARD_GAME_LEVELPACKS::drawOpenPanel() {
  if (panelKind == PANEL_KIND::INFORMATION) {
    informationPanelBackground->fDraw();
    informationPanelContainer->fDraw();
  } else if (panelKind == PANEL_KIND::PROFESSIONAL) {
    professionalPanelBackground->fDraw();
    professionalPanelContainer->fDraw();
  }
}
