// The two panels that slide in over the menu: the information panel (why professional mode
// is locked) and the name panel, which the add-player, delete-player and quit dialogs fill
// with their texts; its line box takes a new player's name.
#include "game/scenes/main_menu/main_menu_scene.h"

#include "engine/game.h"
#include "engine/globals.h"
#include "game/fonts_sounds.h"
#include "game/game_globals.h"
#include "game/players.h"
#include "game/scenes/main_menu/menu_widgets.h"
#include "game/scenes/scene_widgets.h"
#include "game/texts.h"
#include "gui/gui_button5.h"
#include "gui/gui_container.h"
#include "gui/gui_linebox.h"
#include "gui/gui_wlabel.h"
#include "primitives/sprite.h"

using main_menu::drawRaised;
using main_menu::placeWidget;

namespace {

constexpr const char* kPanelBackground = "main_menu/change_player/panel background.png";
constexpr const char* kConfirmImage = "main_menu/change_player/panel button_confirm.png";

// Information panel.
constexpr float kInformationX = 156.0f;
constexpr float kInformationY = 44.0f;
constexpr float kInformationConfirmX = 685.0f;
constexpr float kInformationConfirmY = 443.0f;
constexpr float kInformationTitleX = 523.0f;
constexpr float kInformationTitleY = 99.0f;
constexpr float kInformationTextX = 510.0f;
constexpr float kInformationTextY = 263.0f;

// Name panel.
constexpr float kNamePanelX = 153.0f;
constexpr float kNamePanelY = 81.0f;
constexpr float kTextboxBackgroundX = 271.0f;
constexpr float kTextboxBackgroundY = 302.0f;
constexpr float kConfirmX = 304.0f;
constexpr float kConfirmY = 478.0f;
constexpr float kCloseX = 686.0f;
constexpr float kCloseY = 478.0f;
constexpr float kTitleX = 523.0f;
constexpr float kTitleY = 133.0f;
constexpr float kTextX = 510.0f;
constexpr float kTextY = 275.0f;
// A refusal takes up to three lines between the title and the question "Enter your name:";
// centred any lower, its third line ran over the question.
constexpr float kMessageX = 510.0f;
constexpr float kMessageY = 192.0f;
constexpr float kNameBoxX = 515.0f;
constexpr float kNameBoxY = 425.0f;       // where the box is built
constexpr float kNameBoxShownY = 328.0f;  // where the add-player dialog shows it
constexpr float kNameBoxParkedX = 1515.0f;
constexpr float kNameBoxParkedY = 350.0f;
constexpr uint32_t kMaxNameLength = 12;
// Characters a player name may not hold: punctuation the texts' markup and file names use.
const wchar_t kRefusedNameCharacters[] = L"!@#$%^&*()><\"'[]{}|?/+=~`.,;:-_ ";

}  // namespace

void SCENE_CARD_GAME_MAINMENU::createInformationPanel() {
  informationPanelContainer = new QEL::QC_GUI_CONTAINER();
  informationPanelBackground = makeSceneSprite(kPanelBackground, kInformationX, kInformationY, 1);
  informationConfirmButton = addSceneButton(informationPanelContainer, PANEL_CONFIRM_BUTTON, kConfirmImage,
                                            kInformationConfirmX, kInformationConfirmY);
  informationTitleLabel = createLabel(INFORMATION_TITLE, getText(L"information"), kInformationTitleX,
                                      kInformationTitleY, informationPanelContainer, findFont(42, 0), 0);
  informationTextLabel = createLabel(INFORMATION_TEXT, replaceBarsWithNewlines(getText(L"hint_30")), kInformationTextX,
                                     kInformationTextY, informationPanelContainer, findFont(25, 0), 0);
}

void SCENE_CARD_GAME_MAINMENU::createNamePanel() {
  namePanelContainer = new QEL::QC_GUI_CONTAINER();
  namePanelBackground = makeSceneSprite(kPanelBackground, kNamePanelX, kNamePanelY, 1);
  nameTextboxBackground =
      makeSceneSprite("main_menu/change_player/panel panel_textbox.png", kTextboxBackgroundX, kTextboxBackgroundY, 1);
  namePanelConfirmButton =
      addSceneButton(namePanelContainer, PANEL_CONFIRM_BUTTON, kConfirmImage, kConfirmX, kConfirmY);
  namePanelCloseButton =
      addSceneButton(namePanelContainer, PANEL_CLOSE_BUTTON, "interface button_close2.png", kCloseX, kCloseY);
  namePanelTitleLabel = createLabel(PANEL_TITLE, L"", kTitleX, kTitleY, namePanelContainer, findFont(42, 0), 0);
  namePanelTextLabel = createLabel(PANEL_TEXT, L"", kTextX, kTextY, namePanelContainer, findFont(36, 0), 0);
  namePanelMessageLabel = createLabel(PANEL_MESSAGE, L"", kMessageX, kMessageY, namePanelContainer, findFont(25, 1), 0);
  nameLineBox = new QEL::QC_GUI_LINEBOX(NAME_BOX, getImage("main_menu/change_player textbox.png"), findFont(30, 0));
  placeWidget(nameLineBox, kNameBoxX, kNameBoxY);
  nameLineBox->fSetMaxLength(kMaxNameLength);
  nameLineBox->fSetForbiddenChars(kRefusedNameCharacters);
  // The panel's tree draws the box and carries it on the slide, but the update gives it a
  // pass of its own: a tree reports one event a pass, and a button lighting up under the
  // pointer must not swallow a typed letter.
  nameLineBox->fSetActive(false);
  namePanelContainer->fAdd(nameLineBox);
}

void SCENE_CARD_GAME_MAINMENU::showDialog(int32_t kind, int32_t row) {
  placeWidget(nameLineBox, kNameBoxParkedX, kNameBoxParkedY);
  namePanelMessageLabel->fSetText(L"");
  dialogKind = kind;
  dialogRow = row;
  switch (kind) {
    case ADD_PLAYER_DIALOG:
      placeWidget(nameLineBox, kNameBoxX, kNameBoxShownY);
      nameLineBox->fClear();
      nameLineBox->fSetKeepFocus(true);
      namePanelTitleLabel->fSetText(getText(L"add_player"));
      namePanelTextLabel->fSetText(getText(L"enter_your_name"));
      break;
    case DELETE_PLAYER_DIALOG: {
      const std::wstring name = row >= 0 && row < kMaxPlayers ? gPlayers[row].name : std::wstring();
      namePanelTitleLabel->fSetText(getText(L"delete_player"));
      namePanelTextLabel->fSetText(
          replacePlaceholder(replaceBarsWithNewlines(getText(L"do_you_want_to_delete_player")), L"%name", name));
      break;
    }
    case QUIT_DIALOG:
      namePanelTitleLabel->fSetText(getText(L"quit"));
      namePanelTextLabel->fSetText(replaceBarsWithNewlines(getText(L"hint_17")));
      break;
    default:
      break;  // the information panel's texts were set when it was built
  }
  dialogState = DIALOG_SLIDING_IN;
  slideTimeLeft[DIALOG_SLIDE] = static_cast<float>(slideTime);
}

void SCENE_CARD_GAME_MAINMENU::onDialogClick(int32_t id) {
  if (dialogKind == INFORMATION_DIALOG) {
    if (id != PANEL_CONFIRM_BUTTON) return;
  } else if (id == PANEL_CONFIRM_BUTTON) {
    playSound(kSoundButtonClick);
    if (dialogKind == DELETE_PLAYER_DIALOG) {
      deletePlayer(dialogRow);
    } else if (dialogKind == QUIT_DIALOG) {
      savePlayerSettings(gCurrentPlayer);
      // The main loop ends after this pass and the game closes.
      if (QEL::qcGAME != nullptr) QEL::qcGAME->_settings._running = 0;
    } else if (dialogKind == ADD_PLAYER_DIALOG && !confirmNewName()) {
      return;
    }
  } else if (id == PANEL_CLOSE_BUTTON) {
    // No way out of a dialog while there is no player: the add-player dialog must be answered.
    if (gNumberOfPlayers == 0) return;
    playSound(kSoundButtonClick);
  } else {
    return;
  }
  nameLineBox->fSetKeepFocus(false);
  dialogState = DIALOG_SLIDING_OUT;
  slideTimeLeft[DIALOG_SLIDE] = static_cast<float>(slideTime);
}

void SCENE_CARD_GAME_MAINMENU::drawDialog() {
  fadeShade->fDraw();
  const float distance = drawnDistance(slideTimeLeft[DIALOG_SLIDE], dialogState == DIALOG_SLIDING_OUT);
  if (dialogKind == INFORMATION_DIALOG) {
    drawRaised(informationPanelBackground, homeY.informationPanelBackground, distance);
    informationPanelContainer->fSetPosition(0.0f, -distance, 0.0f);
    informationPanelContainer->fDraw();
    return;
  }
  drawRaised(namePanelBackground, homeY.namePanelBackground, distance);
  if (dialogKind == ADD_PLAYER_DIALOG) drawRaised(nameTextboxBackground, homeY.nameTextboxBackground, distance);
  namePanelContainer->fSetPosition(0.0f, -distance, 0.0f);
  namePanelContainer->fDraw();
}
