#pragma once
// Card pictures: faces in three styles, skittle (special) faces, backs and the joker, each
// drawn into a 75 x 116 box whose top-left is the current origin of the canvas.
#include "canvas.h"

namespace resgen {

constexpr int kCardW = 75;
constexpr int kCardH = 116;

// Suit index as value / 13: 0 diamonds, 1 clubs, 2 spades, 3 hearts. Rank 2..14 (14 = ace).
const char* suitFolder(int suit);
void drawCardFace(Canvas& c, int style, int suit, int rank, bool special);
void drawCardBack(Canvas& c, int back);  // back 0..11
void drawJoker(Canvas& c, int style);
// Atlas column of a rank: 10, J, Q, K, A in columns 0-4, 2..9 in columns 5-12.
int atlasColumn(int rank);
// Atlas row of a suit: special faces in rows 0-3, ordinary faces in rows 5-8.
int atlasRow(int suit, bool special);
// Atlas column (in row 4) of back 0..11.
int backColumn(int back);

}  // namespace resgen
