// The frames scene drawn: the upper half (the pack's name and frames 1-5) slides up and the
// lower half (frames 6-10, the sheet and close) slides down, out of the picture when leaving
// and back into place when arriving; towards the level packs the background fades too.
#include "game/scenes/frames/frames_scene.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

uint32_t whiteWithAlpha(float alpha) { return (static_cast<uint32_t>(alpha) << 24) | 0x00FFFFFFu; }

}  // namespace

void SCENE_CARD_GAME_FRAMES::fDraw() {
  const float d = slideState == SLIDE::OUT ? static_cast<float>(slideDistance) - slideOffset : slideOffset;
  if (slideState == SLIDE::OUT && nextSceneType == NEXT_SCENE::LEVEL_PACKS)
    background->fSetColor(whiteWithAlpha(slideOffset / static_cast<float>(slideDistance) * 255.0f));
  background->fDraw();

  packNameImage->fSetPosition(packNameImage->_node->_position.x, packNameY - d, 0.0f);
  upperContainer->fSetPosition(0.0f, -d, 0.0f);
  panelImage->fSetPosition(panelImage->_node->_position.x, panelY + d, 0.0f);
  lowerContainer->fSetPosition(0.0f, d, 0.0f);

  packNameImage->fDraw();
  panelImage->fDraw();
  upperContainer->fDraw();
  lowerContainer->fDraw();
}
