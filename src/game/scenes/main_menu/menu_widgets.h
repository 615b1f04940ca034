#pragma once
// Small placing helpers the main menu's files share: where a sprite or widget stands, and
// moving one to a point. The menu parks what is not in use at far-off coordinates.
#include "engine/transform.h"
#include "game/game_entry.h"
#include "game/players.h"
#include "gui/gui_object.h"
#include "primitives/sprite.h"

namespace main_menu {

// Where the menu parks widgets that are not shown.
constexpr float kParkedX = -300.0f;
constexpr float kParkedY = -300.0f;

inline float xOf(const QEL::QC_SPRITE* sprite) { return sprite->_node->fGetPosition().x; }
inline float yOf(const QEL::QC_SPRITE* sprite) { return sprite->_node->fGetPosition().y; }
inline float xOf(const QEL::QC_GUI_OBJECT* widget) { return widget->fGetTransform()->fGetPosition().x; }
inline float yOf(const QEL::QC_GUI_OBJECT* widget) { return widget->fGetTransform()->fGetPosition().y; }

inline void placeSprite(QEL::QC_SPRITE* sprite, float x, float y) { sprite->fSetPosition(x, y, 0.0f); }
inline void placeWidget(QEL::QC_GUI_OBJECT* widget, float x, float y) { widget->fSetPosition(x, y, 0.0f); }

// Draws a sprite at its resting place moved up by a slide's distance, and leaves it there.
inline void drawRaised(QEL::QC_SPRITE* sprite, float homeY, float distance) {
  placeSprite(sprite, xOf(sprite), homeY - distance);
  sprite->fDraw();
}

// The player's cursor option: the game's own cursor, or the system arrow.
inline void useCursorOf(const PLAYER_RECORD& player) {
  if (player.isMuteAll)
    setGameCursor();
  else
    setArrowCursor();
}

}  // namespace main_menu
