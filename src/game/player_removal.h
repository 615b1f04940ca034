#pragma once
// Removing a player from the tables and from the saves. A player's results live in files
// named by the player's place in the table (Saves/player<N>.xml and player<N>_p.xml), so
// removing player r moves every later player's files one number down, and players.xml
// must change with them. Neither happens in one step, and a game killed in between must
// still find every remaining player with their own results.
//
// The removal runs in steps, each safe to stop after:
//  1. Stage: for each place k from r on, the file the player moving into place k brings is
//     hard-linked as player<k>.xml.next (or player<k>.xml.none when it has none). The live
//     files are untouched: a stop here restarts with the old players and their old files,
//     and the start-up discards the staged names.
//  2. Commit: players.xml is written anew (atomically) without the player, marked with
//     movingResultFiles="true". From here on the removal counts as done.
//  3. Apply: each staged name is renamed over (or removes) its live file. A rename replaces
//     the old file in one step, so no place is ever without its file.
//  4. Drop: the files of the place that fell out of use (the old last place) are removed.
//  5. Finish: players.xml is written again without the mark.
// A start-up that finds the mark repeats steps 3 to 5, which may run any number of times.
// A step after the commit that fails ends the run of steps there and leaves the mark; the
// staged names then stand for result files still to move, which no save of this run may
// write (the move would undo it), and the next start (or the next deletion) moves them.
#include <string>
#include <vector>

#include <pugixml.hpp>

enum class REMOVAL_STEP_KIND { STAGE, COMMIT, APPLY, DROP, FINISH };

struct REMOVAL_STEP {
  REMOVAL_STEP_KIND kind;
  int place;  // the place a STAGE, APPLY or DROP step works on
  int mode;   // 0 junior, 1 professional
};

// In memory: the records and the level results of the players after `row` move one place
// down, the freed last place is emptied and gNumberOfPlayers drops by one. The current
// player is the caller's to fix.
void removePlayerFromTables(int row);

// The steps that take the saves from `count` players to `count` - 1 without player `row`;
// the commit writes the tables as they stand in memory (after removePlayerFromTables).
std::vector<REMOVAL_STEP> planPlayerRemoval(int row, int count);
// False when the step failed; a failed stage or commit leaves the old saves in force.
bool runRemovalStep(const REMOVAL_STEP& step);
// Every step in order, up to the first that fails. False (logged, and the save notice
// raised) when the saves still hold the removed player.
bool removePlayerFromSaves(int row, int count);
// The whole deletion of player `row`: from the tables, with `current` (a place in the table
// after it) made the current player, then from the saves. False when the saves could not
// change: the players and their results in memory are then as they were.
bool removePlayer(int row, int current);

// Start-up (and before a deletion): finishes a removal that was committed but not carried
// through, or throws away the staged names of one that was not committed. False (logged)
// when a committed removal's files are still not all moved, players.xml cannot be read, or
// this copy of the game writes no save (writesNoSaves: it then touches nothing).
bool finishInterruptedPlayerRemoval();

// True while a committed removal waits for the result files of `place` (in `mode`) to move.
bool isResultsMovePending(int place, int mode);
// True while it waits for any of them.
bool isPlayerRemovalUnfinished();
// Sets the mark on a players document: the next start then finishes the move.
void markPlayerRemovalUnfinished(pugi::xml_document& document);

// Result files found at a place no player holds (say, after players.xml was lost) are kept
// aside under the suffix ".unowned", so a new player there starts with no results.
void setAsideUnownedResultFiles(int place);

// The staged names of a place's result file.
std::string stagedResultsPath(int place, int mode);
std::string stagedNoResultsPath(int place, int mode);
