#pragma once
// The picture the game draws, in its own pixels: every screen is laid out on it, and the
// window shows it scaled to its own size (full screen or not).
constexpr int kPictureWidth = 1024;
constexpr int kPictureHeight = 768;
