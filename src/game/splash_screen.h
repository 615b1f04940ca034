#pragma once
// The opening sequence before any scene exists: up to three optional logos, then the office
// whose window shows a landscape passing by, then the main menu's background; finally office
// and landscape slide away and reveal the main menu, which was created behind them.
// While gIsSplash is set the update and draw callbacks call it instead of a scene.
#include <cstdint>

namespace QEL {
class QC_SPRITE;
}

class SPLASH_SCREEN {
 public:
  static constexpr int kHillCount = 4;
  static constexpr int kRoadLineCount = 5;
  static constexpr int kTreeCount = 6;
  static constexpr int kLogoCount = 3;

  // Subscribes "splash" and "main_menu" and builds every sprite.
  SPLASH_SCREEN();
  ~SPLASH_SCREEN();
  SPLASH_SCREEN(const SPLASH_SCREEN&) = delete;
  SPLASH_SCREEN& operator=(const SPLASH_SCREEN&) = delete;

  // One step with the engine's frame time (capped); returns 1.
  int32_t update();
  void draw();

  float elapsed = 0.0f;
  QEL::QC_SPRITE* menuBackground = nullptr;
  QEL::QC_SPRITE* office = nullptr;
  QEL::QC_SPRITE* road = nullptr;
  QEL::QC_SPRITE* sky = nullptr;
  QEL::QC_SPRITE* mask = nullptr;
  QEL::QC_SPRITE* hills[kHillCount] = {};
  int hillOrder[kHillCount] = {0, 1, 2, 3};  // drawing order: the leftward pair, then the rightward
  QEL::QC_SPRITE* roadLines[kRoadLineCount] = {};
  QEL::QC_SPRITE* trees[kTreeCount] = {};  // three left, three right
  QEL::QC_SPRITE* road2 = nullptr;         // made but never drawn
  QEL::QC_SPRITE* logos[kLogoCount] = {};  // null when the logo file is absent
  QEL::QC_SPRITE* border = nullptr;
  float alpha = 0.0f;
  float hold = 0.0f;
  float slideOffset = 0.0f;
  float safetyTimer = 0.5f;
  uint8_t stencilDepth = 0;
  int32_t state = 0;

 private:
  // The splash is over: it stops, and its pictures that nothing else shows are released.
  void finish();
  void givePicturesBack();
  void animateLandscape(float dt);
  void applyLandscapeFade();
  void drawLogos();
  void drawLandscapeInWindow();
};

// The frame-time cap of the splash screen, in seconds.
constexpr float kSplashMaxFrameTime = 0.13f;
