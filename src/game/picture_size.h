#pragma once
// The picture the game draws, in its own pixels: every screen is laid out on it, and the
// window shows it scaled to its own size (full screen or not).
constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 768;

// The camera sees one unit more than the picture each way, so x = 1024 and y = 768 fall a hair
// past the centres of the window's last column and row, and a sprite ending there leaves them
// out. The shades that dim the whole picture, and the strips across it, reach this far, to
// the window's very edges.
constexpr int kShadeWidth = kPictureWidth + 1;
constexpr int kShadeHeight = kPictureHeight + 1;
