// What the editor does every frame: the key moves, the buttons, and what the held mouse
// buttons and keys do to the current card and the card line; in the value picker, the face
// under the pointer lights up.
#include <cmath>

#include "engine/game.h"
#include "engine/globals.h"
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_container.h"
#include "primitives/sprite.h"

namespace {

constexpr int32_t REFERENCE_PER_SECOND = 3;  // the turn's reference x is taken anew so often
// A turn follows the pointer: degrees per pixel of travel and per second.
constexpr float TURN_PER_PIXEL = 1.5f * 1.25f;
constexpr float FAN_DEGREES_PER_SECOND = 200.0f;
constexpr uint32_t PICKER_LIT = 0xFFFFFFFFu;
constexpr uint32_t PICKER_DIM = 0xC8FFFFFFu;

}  // namespace

void SCENE_CARD_GAME_EDITOR::fUpdate() {
  const float timeStep = sceneTimeStep();
  runFrameClock();
  if (messageSeconds > 0.0f) {
    messageSeconds -= timeStep;
    if (messageSeconds <= 0.0f) message.clear();
  }
  if (editorMode == MODE::LAYOUT) {
    moveWithKeys(timeStep);
    const QEL::QS_GUI_EVENT* event = gui != nullptr ? gui->fUpdate() : nullptr;
    const int32_t clicked = event != nullptr && event->code == QEL::GUI_EVENT_CLICK ? event->id : -1;
    watchLevelBoxFocus();
    if (clicked >= 0) onWidgetClicked(clicked);
  }
  // The value picker may just have opened: then the layout waits.
  if (editorMode == MODE::LAYOUT) {
    dragCurrentCard();
    turnCurrentCard(timeStep);
    fanCardLineByKeys(timeStep);
    dragCardLineEnd();
  } else {
    highlightPickerFace();
  }
}

void SCENE_CARD_GAME_EDITOR::runFrameClock() {
  const int32_t updatesPerSecond = QEL::qcGAME != nullptr ? QEL::qcGAME->_settings._updatesPerSecond : 0;
  if (++frameCounter > updatesPerSecond / REFERENCE_PER_SECOND) {
    frameCounter = 0;
    rotationReferenceX = pointerX();
  }
}

void SCENE_CARD_GAME_EDITOR::showMessage(const std::string& text, float seconds) {
  message = text;
  messageSeconds = seconds;
}

void SCENE_CARD_GAME_EDITOR::dragCurrentCard() {
  if (isShiftHeld || !isLeftButtonHeld || !EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  if (table.cardLine.state != CARD_LINE::NONE) return;
  if (pointerX() >= EDITOR_PLAY_AREA_WIDTH - table.cardWidth / 2) return;
  EDITOR_CARD& card = table.cards[table.currentCard];
  const float x = pointerX() + grabOffsetX;
  const float y = pointerY() + grabOffsetY;
  // Holding the button on a card without moving it changes nothing.
  if (x == card.x && y == card.y) return;
  card.x = x;
  card.y = y;
  updatePropertiesPanel();
  table.isModified = true;
}

void SCENE_CARD_GAME_EDITOR::turnCurrentCard(float timeStep) {
  if (!isRightButtonHeld || !EDITOR_CARD_TABLE::isValidSlot(table.currentCard)) return;
  if (rotationReferenceX == 0.0f) rotationReferenceX = pointerX();
  const float turn = (pointerX() - rotationReferenceX) * timeStep * TURN_PER_PIXEL * DEGREES_TO_RADIANS;
  if (turn == 0.0f) return;
  table.cards[table.currentCard].angle += turn;
  updatePropertiesPanel();
  table.isModified = true;
}

void SCENE_CARD_GAME_EDITOR::fanCardLineByKeys(float timeStep) {
  CARD_LINE& line = table.cardLine;
  if (line.state != CARD_LINE::BEING_DRAWN && line.state != CARD_LINE::FINISHED) return;
  if (isFanLeftHeld == isFanRightHeld) return;  // neither, or both pulling against each other
  const float turn = timeStep * FAN_DEGREES_PER_SECOND * DEGREES_TO_RADIANS;
  line.fanAngle += isFanLeftHeld ? -turn : turn;
  table.fanCardLine();
  if (line.count() > 1 && turn != 0.0f) table.isModified = true;
}

void SCENE_CARD_GAME_EDITOR::dragCardLineEnd() {
  if (!isLeftButtonHeld || table.cardLine.state != CARD_LINE::BEING_DRAWN) return;
  table.cardLine.setEnd(pointerX(), pointerY());
  table.spreadCardLine();
}

int32_t SCENE_CARD_GAME_EDITOR::faceUnderPointer() const {
  const float w = table.cardWidth;
  const float h = table.cardHeight;
  const float x = pointerX();
  const float y = pointerY();
  for (int32_t value = 0; value < VALUES; ++value) {
    const float cx = w * static_cast<float>(value % 13) + w / 2;
    const float cy = h * static_cast<float>(value / 13) + h / 2;
    if (std::fabs(x - cx) < w / 2 && std::fabs(y - cy) < h / 2) return value;
  }
  return -1;
}

void SCENE_CARD_GAME_EDITOR::highlightPickerFace() {
  const int32_t lit = faceUnderPointer();
  for (int32_t value = 0; value < VALUES; ++value) {
    const uint32_t color = value == lit ? PICKER_LIT : PICKER_DIM;
    if (faceSprites[value] != nullptr) faceSprites[value]->fSetColor(color);
    if (specialFaceSprites[value] != nullptr) specialFaceSprites[value]->fSetColor(color);
  }
}
