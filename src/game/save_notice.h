#pragma once
// The short notice a player sees when a save of their progress (a finished frame, a
// purchase, a trophy, their settings) could not be written: the saves only log, and without
// it a player would go on believing the progress stored. The writers of players.h and
// level_results.h raise it; the game's update and draw callbacks show it for a few seconds
// over whatever scene is up, so every scene that saves shares it.
#include <string>

// Shows the notice (again) from now on. The text is "save_failed" of texts.xml.
void noticeFailedSave();
// Counts the notice's time down by the frame's time, in seconds.
void updateSaveNotice(float timeStep);
// A dark strip across the top of the picture with the text on it, while the notice lasts.
void drawSaveNotice();
// The end of the run: the strip's sprite goes with the other sprites of the game.
void releaseSaveNotice();

bool isSaveNoticeShown();
