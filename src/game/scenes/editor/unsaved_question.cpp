// The question that guards leaving a changed level: YES saves first, NO leaves without
// saving, CANCEL stays. Stepping to the previous or next level asks only when the level has
// changed; pasting a copied level always asks.
#include "game/scenes/editor/editor_scene.h"
#include "gui/gui_button5.h"

namespace {

struct QUESTION_PLACE {
  float shownX, hiddenX;
};
// Shown under the question, clear of the status block on their left and of the "Copy
// selected" button below on their right.
constexpr QUESTION_PLACE YES_PLACE{300, 1650};
constexpr QUESTION_PLACE NO_PLACE{460, 1800};
constexpr QUESTION_PLACE CANCEL_PLACE{620, 1950};
constexpr float QUESTION_Y = 675.0f;

void place(QEL::QC_GUI_BUTTON5* button, float x) {
  if (button != nullptr) button->fSetPosition(x, QUESTION_Y, 0.0f);
}

}  // namespace

void SCENE_CARD_GAME_EDITOR::askBeforeLeaving(PENDING_ACTION action) {
  if (table.isModified) {
    pendingAction = action;
    showUnsavedQuestion();
    return;
  }
  pendingAction = action;
  answerUnsavedQuestion(ANSWER::NO);
}

void SCENE_CARD_GAME_EDITOR::showUnsavedQuestion() {
  isQuestionShown = true;
  place(yesButton, YES_PLACE.shownX);
  place(noButton, NO_PLACE.shownX);
  place(cancelButton, CANCEL_PLACE.shownX);
}

void SCENE_CARD_GAME_EDITOR::hideUnsavedQuestion() {
  isQuestionShown = false;
  place(yesButton, YES_PLACE.hiddenX);
  place(noButton, NO_PLACE.hiddenX);
  place(cancelButton, CANCEL_PLACE.hiddenX);
}

void SCENE_CARD_GAME_EDITOR::answerUnsavedQuestion(ANSWER answer) {
  hideUnsavedQuestion();
  if (answer == ANSWER::CANCEL) return;
  // A save that failed keeps the level here: leaving would lose the changes.
  if (answer == ANSWER::YES && !saveLevel()) return;
  const PENDING_ACTION action = pendingAction;
  pendingAction = PENDING_ACTION::NONE;
  switch (action) {
    case PENDING_ACTION::PREVIOUS_LEVEL: previousLevel(); break;
    case PENDING_ACTION::NEXT_LEVEL: nextLevel(); break;
    case PENDING_ACTION::PASTE_LEVEL: pasteLevel(); break;
    case PENDING_ACTION::NONE: break;
  }
}
