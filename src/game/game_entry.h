#pragma once
// The game's entry function and the engine callbacks it registers: start-up (onGameInit),
// the per-frame update and draw, input, errors, focus and close.
#include <cstdint>

#include "engine/callback.h"

namespace QEL {
class QC_TEXTURE;
}

// Registers the callbacks, loads the texts, takes the save folder (takeSaveFolder), starts
// the engine (which runs onGameInit), sets the window title and runs the main loop. Once the
// loop has ended it releases the game's objects and then the engine's components, and
// returns -100500. In a start folder without the game's Resources it does none of that: one
// message, and the program's exit status 1. When another copy holds the saves it makes no
// window nor anything else: one message, and the exit status 2.
uint32_t EntryPointer(QEL::QT_CALLBACK_ARG argument);

// The save folder for this run, once: gBasePath from the documents folder, the save folders
// made (makeSaveFolders) and locked (lockSaveFolder). False when another copy of the game
// holds them, after a message box that says so. True at once when this run holds them.
bool takeSaveFolder();

// The end of the run, in reverse order of creation: the current scene, then what onGameInit
// made (fonts, sounds, sprites, the splash screen, the game's cursor). Everything that holds a texture or a sound goes before the
// engine's components do.
void releaseGame();

// The first steps of EntryPointer: clears the pause and ready flags, takes the game object
// and fills the callback slots (the start slot stays empty).
void registerGameCallbacks();

uint32_t onGameInit(QEL::QT_CALLBACK_ARG argument);
// The update and the key and pointer callbacks hand the event to the current scene and then
// make the scene switch it asked for, if any (switchToRequestedScene): the next scene's first
// update comes in the next pass, and it draws in this one.
uint32_t onGameUpdate(QEL::QT_CALLBACK_ARG argument);
uint32_t onGameDraw(QEL::QT_CALLBACK_ARG argument);
uint32_t onKeyDown(QEL::QT_CALLBACK_ARG code);
uint32_t onKeyUp(QEL::QT_CALLBACK_ARG code);
uint32_t onMouseMove(QEL::QT_CALLBACK_ARG argument);
uint32_t onEngineError(QEL::QT_CALLBACK_ARG code);
uint32_t onFocusLost(QEL::QT_CALLBACK_ARG argument);
uint32_t onFocusGained(QEL::QT_CALLBACK_ARG argument);
uint32_t onGameClose(QEL::QT_CALLBACK_ARG argument);

// gIsCheat from "../cheat.txt", gIsDebug from "../debug_test.txt" (relative to Resources).
void readCheatFlag();
void readDebugFlag();

// The game's own cursor or the system arrow, for the window and at once.
void setArrowCursor();
void setGameCursor();

// Does nothing; the main menu's start-up calls it with 0 at its start and 100 at its end.
void noOperation(int value);

// Pack subscription and images through the game object (or straight through the loader
// before the game object is taken). Without a loader nothing is subscribed and images are
// the renderer's default texture, or null without a renderer.
int32_t subscribePack(const char* name);
QEL::QC_TEXTURE* getImage(const char* name);
