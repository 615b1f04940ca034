#include "game/splash_screen.h"

#include <cmath>
#include <string>
#include <vector>

#include "engine/file_system.h"
#include "engine/game.h"
#include "engine/globals.h"
#include "engine/render.h"
#include "engine/resource_loader.h"
#include "game/game_entry.h"
#include "game/game_globals.h"
#include "game/scenes/base_scene.h"
#include "platform/device.h"
#include "platform/memory.h"
#include "primitives/sprite.h"

namespace {

constexpr float kFadeSpeed = 400.0f;   // alpha per second
constexpr float kSlideSpeed = 1300.0f;  // pixels per second
constexpr float kOfficeSlideEnd = -1300.0f;
constexpr float kLandscapeSlideEnd = -700.0f;
constexpr float kLogoPhaseLength = 8.0f;
constexpr float kSkippedLogoTime = 2.6666667f;

QEL::QC_SPRITE* makeSprite(const char* name, float x, float y) {
  auto* sprite = new QEL::QC_SPRITE(getImage(name), nullptr);
  sprite->fSetPosition(x, y, 0.0f);
  sprite->fSetColor(0x00FFFFFFu);
  return sprite;
}

void setAlpha(QEL::QC_SPRITE* sprite, uint32_t alpha) {
  if (sprite != nullptr) sprite->fSetColor(((alpha & 0xFFu) << 24) | 0x00FFFFFFu);
}

uint32_t alphaOf(const QEL::QC_SPRITE* sprite) { return sprite->fGetVertexColor(0) >> 24; }

// The low eight bits of the nearest integer: the fades count on the wrap-around (a value
// just below 0 reads as nearly opaque).
uint32_t lowByteOfRounded(float value) {
  if (!std::isfinite(value)) return 0;
  if (value > 1.0e9f) value = 1.0e9f;
  if (value < -1.0e9f) value = -1.0e9f;
  return static_cast<uint32_t>(std::lround(value)) & 0xFFu;
}

uint32_t roundedAlpha(float value) {
  if (!(value > 0.0f)) return 0;
  return value >= 255.0f ? 255u : static_cast<uint32_t>(std::lround(value));
}

float xOf(const QEL::QC_SPRITE* sprite) { return sprite->_node->_position.x; }
float yOf(const QEL::QC_SPRITE* sprite) { return sprite->_node->_position.y; }

void drawSprite(QEL::QC_SPRITE* sprite) {
  if (sprite != nullptr) sprite->fDraw();
}

QEL::QC_RENDER* renderer() { return QEL::qcRENDER != nullptr ? QEL::qcRENDER : QEL::qcRENDER_INSTANCE; }

void setStencil(platform::Device* device, uint32_t reference, platform::Compare function) {
  device->setRenderState(platform::RenderState::stencilRef, reference);
  device->setRenderState(platform::RenderState::stencilFunc, static_cast<uint32_t>(function));
  device->setRenderState(platform::RenderState::stencilFail, static_cast<uint32_t>(platform::StencilOp::replace));
  // What passes leaves the window as it is, so every layer of the landscape finds it.
  device->setRenderState(platform::RenderState::stencilZFail, static_cast<uint32_t>(platform::StencilOp::keep));
  device->setRenderState(platform::RenderState::stencilPass, static_cast<uint32_t>(platform::StencilOp::keep));
}

}  // namespace

SPLASH_SCREEN::SPLASH_SCREEN() {
  subscribePack("splash");
  subscribePack("main_menu");

  menuBackground = makeSprite("main_menu background.png", 0.0f, 0.0f);
  menuBackground->fSetAnchor(1, 0.0f, 0.0f);
  office = makeSprite("splash office.png", 0.0f, 0.0f);
  office->fSetAnchor(1, 0.0f, 0.0f);
  road = makeSprite("splash road.png", 512.0f, 460.0f);
  sky = makeSprite("splash sky.png", 512.0f, 341.0f);
  mask = makeSprite("splash mask.png", 512.0f, 376.0f);

  const float hillPositions[kHillCount][2] = {{299.0f, 408.0f}, {681.0f, 406.0f}, {701.0f, 406.0f}, {312.0f, 408.0f}};
  for (int i = 0; i < kHillCount; ++i)
    hills[i] = makeSprite("splash mountain.png", hillPositions[i][0], hillPositions[i][1]);

  const float lineY[4] = {393.0f, 412.0f, 444.0f, 501.0f};
  const float lineScale[4] = {0.12f, 0.25f, 0.5f, 1.0f};
  for (int i = 0; i < kRoadLineCount; ++i) {
    roadLines[i] = makeSprite("splash road_line.png", 0.0f, 0.0f);
    roadLines[i]->_renderState._filter = QEL::QS_RENDER_STATE::FILTER_ANISOTROPIC;
    if (i < 4) {
      roadLines[i]->fSetPosition(507.0f, lineY[i], 0.0f);
      roadLines[i]->fSetScale(lineScale[i], lineScale[i], 1.0f);
    }
  }

  const char* treeNames[kTreeCount] = {"splash tree1.png", "splash tree2.png", "splash tree1.png",
                                       "splash tree3.png", "splash tree4.png", "splash tree3.png"};
  const float treePositions[kTreeCount][2] = {{478.0f, 383.0f}, {413.0f, 349.0f}, {316.0f, 304.0f},
                                              {558.0f, 383.0f}, {627.0f, 349.0f}, {736.0f, 304.0f}};
  const float treeScale[3] = {0.05f, 0.5f, 1.0f};
  for (int i = 0; i < kTreeCount; ++i) {
    trees[i] = makeSprite(treeNames[i], treePositions[i][0], treePositions[i][1]);
    trees[i]->fSetScale(treeScale[i % 3], treeScale[i % 3], 1.0f);
  }

  road2 = makeSprite("splash road.png", 512.0f, 376.0f);

  float centreX = 512.0f;
  float centreY = 384.0f;
  if (QEL::qcGAME != nullptr) {
    centreX = 0.5f * static_cast<float>(QEL::qcGAME->_settings._resolution.x);
    centreY = 0.5f * static_cast<float>(QEL::qcGAME->_settings._resolution.y);
  }
  QEL::QC_FILE_SYSTEM* files = QEL::QC_FILE_SYSTEM::fGet();
  for (int i = 0; i < kLogoCount; ++i) {
    const std::string number = std::to_string(i + 1);
    if (files->fPathType("splash/spl" + number + ".png") != 1) continue;
    const std::string name = "splash spl" + number + ".png";
    logos[i] = makeSprite(name.c_str(), centreX, centreY);
  }

  border = makeSprite("splash border.png", 512.0f, 376.0f);
}

SPLASH_SCREEN::~SPLASH_SCREEN() {
  delete menuBackground;
  delete office;
  delete road;
  delete sky;
  delete mask;
  for (QEL::QC_SPRITE* sprite : hills) delete sprite;
  for (QEL::QC_SPRITE* sprite : roadLines) delete sprite;
  for (QEL::QC_SPRITE* sprite : trees) delete sprite;
  delete road2;
  for (QEL::QC_SPRITE* sprite : logos) delete sprite;
  delete border;
}

int32_t SPLASH_SCREEN::update() {
  float dt = QEL::qcFRAME_DELTA;
  if (dt > kSplashMaxFrameTime) dt = kSplashMaxFrameTime;
  QEL::qcFRAME_DELTA = dt;
  elapsed += dt;

  // Fades alpha in; once opaque the hold time runs. True when the hold is over.
  auto fadeIn = [this, dt]() {
    alpha += kFadeSpeed * dt;
    if (alpha >= 255.0f) {
      alpha = 255.0f;
      hold -= dt;
    }
    return hold <= 0.0f;
  };
  auto nextState = [this](int32_t next) {
    alpha = 0.0f;
    hold = 1.0f;
    state = next;
  };

  switch (state) {
    case 0:
      if (elapsed > kLogoPhaseLength) nextState(1);
      break;
    case 1: {
      const bool done = fadeIn();
      setAlpha(office, roundedAlpha(alpha));
      if (done) nextState(2);
      break;
    }
    case 2:
      if (fadeIn()) {
        nextState(3);
        // The main menu is made now, so it is ready underneath when the splash slides away.
        onSplashFinished();
      }
      break;
    case 3: {
      const bool done = fadeIn();
      setAlpha(menuBackground, roundedAlpha(alpha));
      if (done) nextState(5);
      break;
    }
    case 5: {
      float officeX = xOf(office) - kSlideSpeed * dt;
      if (officeX < kOfficeSlideEnd) officeX = kOfficeSlideEnd;
      office->fSetPosition(officeX, yOf(office), 0.0f);
      slideOffset -= kSlideSpeed * dt;
      if (slideOffset < kLandscapeSlideEnd) slideOffset = kLandscapeSlideEnd;
      road->fSetPosition(xOf(road), slideOffset + 376.0f, 0.0f);
      border->fSetPosition(xOf(border), slideOffset + 376.0f, 0.0f);
      sky->fSetPosition(xOf(sky), slideOffset + 401.0f, 0.0f);
      mask->fSetPosition(xOf(mask), slideOffset + 376.0f, 0.0f);
      if (officeX == kOfficeSlideEnd && slideOffset == kLandscapeSlideEnd) finish();
      break;
    }
    default:
      break;
  }

  if (state >= 2) animateLandscape(dt);
  return 1;
}

void SPLASH_SCREEN::animateLandscape(float dt) {
  safetyTimer += 0.01f * dt;
  if (safetyTimer > 10.0f) {
    safetyTimer = 0.5f;
    gIsSplash = 0;
    // Leaving before the hand-over would leave nothing to update or draw.
    if (state < 3) onSplashFinished();
    givePicturesBack();
  }

  // Road lines run from the horizon towards the viewer.
  for (int i = 0; i < 4; ++i) {
    QEL::QC_SPRITE* line = roadLines[i];
    const float y = yOf(line);
    if (y <= 570.0f) {
      const float p = (y - 397.0f) / 108.0f;
      setAlpha(line, p > 0.05f ? 255u : lowByteOfRounded(((p - 0.05f) / 0.05f) * 255.0f));
      line->fSetPosition(507.0f, y + (320.0f * p + 40.0f) * dt + slideOffset, 0.0f);
      const float scale = 0.86f * p + 0.14f;
      line->fSetScale(scale, scale, 1.0f);
    } else {
      setAlpha(line, 0);
      bool anotherNearHorizon = false;
      for (int j = 0; j < 4; ++j)
        if (j != i && yOf(roadLines[j]) < 415.0f) anotherNearHorizon = true;
      if (!anotherNearHorizon) line->fSetPosition(507.0f, 397.0f, 0.0f);
    }
  }

  // Trees: the first three pass on the left, the others on the right.
  for (int i = 0; i < kTreeCount; ++i) {
    QEL::QC_SPRITE* tree = trees[i];
    const bool left = i < 3;
    const float x = xOf(tree);
    const float y = yOf(tree);
    const bool moving = left ? x >= 150.0f : x <= 880.0f;
    if (moving) {
      float p = 1.0f - (y - 304.0f) / 79.0f;
      if (p > 1.0f) p = 1.0f;
      setAlpha(tree, p >= 0.05f ? 255u : lowByteOfRounded(((p - 0.05f) / 0.05f) * 255.0f));
      const float dx = (460.0f * p + 10.0f) * dt;
      tree->fSetPosition(left ? x - dx : x + dx, y - (160.0f * p + 20.0f) * dt + slideOffset, 0.0f);
      const float scale = 0.95f * p + 0.05f;
      tree->fSetScale(scale, scale, 1.0f);
    } else {
      setAlpha(tree, 0);
      bool anotherNear = false;
      const int first = left ? 0 : 3;
      for (int j = first; j < first + 3; ++j) {
        if (j == i) continue;
        const float otherX = xOf(trees[j]);
        if (left ? otherX > 450.0f : otherX < 600.0f) anotherNear = true;
      }
      if (!anotherNear) tree->fSetPosition(left ? 478.0f : 558.0f, 383.0f, 0.0f);
    }
  }

  // Hills: two drift left, two right; one that starts again goes behind its partner.
  for (int i = 0; i < kHillCount; ++i) {
    QEL::QC_SPRITE* hill = hills[i];
    const bool leftward = i < 2;
    const float x = xOf(hill) + (leftward ? -150.0f : 150.0f) * dt;
    hill->fSetPosition(x, slideOffset + 413.0f, 0.0f);
    const bool restart = leftward ? x <= -96.0f : x >= 1089.0f;
    if (!restart) continue;
    hill->fSetPosition(leftward ? 681.0f : 312.0f, 413.0f, 0.0f);
    int* pair = leftward ? &hillOrder[0] : &hillOrder[2];
    if (pair[0] != i) {
      pair[1] = pair[0];
      pair[0] = i;
    }
  }

  if (state == 2) applyLandscapeFade();
}

void SPLASH_SCREEN::finish() {
  gIsSplash = 0;
  givePicturesBack();
}

void SPLASH_SCREEN::givePicturesBack() {
  std::vector<QEL::QC_TEXTURE*> given;
  auto take = [&given](QEL::QC_SPRITE* sprite) {
    if (sprite == nullptr || sprite->_texture == nullptr) return;
    given.push_back(sprite->_texture);
    sprite->fSetTexture(nullptr);
  };
  for (QEL::QC_SPRITE* sprite : {menuBackground, office, road, sky, mask, road2, border}) take(sprite);
  for (QEL::QC_SPRITE* sprite : hills) take(sprite);
  for (QEL::QC_SPRITE* sprite : roadLines) take(sprite);
  for (QEL::QC_SPRITE* sprite : trees) take(sprite);
  for (QEL::QC_SPRITE* sprite : logos) take(sprite);
  // Each sprite took one use of its picture; the main menu keeps its own of the background.
  if (QEL::qcRESOURCE_LOADER != nullptr) {
    for (QEL::QC_TEXTURE* texture : given) QEL::qcRESOURCE_LOADER->fReleaseImageUse(texture);
  }
  platform::returnFreedMemory();
}

void SPLASH_SCREEN::applyLandscapeFade() {
  const uint32_t fade = roundedAlpha(alpha);
  for (QEL::QC_SPRITE* hill : hills) setAlpha(hill, fade);
  setAlpha(road, fade);
  setAlpha(sky, fade);
  setAlpha(border, fade);
  // Lines and trees still fading in at the horizon keep their smaller alpha.
  for (int i = 0; i < 4; ++i)
    if (alphaOf(roadLines[i]) > fade) setAlpha(roadLines[i], fade);
  for (QEL::QC_SPRITE* tree : trees)
    if (alphaOf(tree) > fade) setAlpha(tree, fade);
}

void SPLASH_SCREEN::draw() {
  drawSprite(menuBackground);
  drawSprite(office);
  drawLandscapeInWindow();
  drawSprite(border);
  if (state == 0) drawLogos();
}

void SPLASH_SCREEN::drawLandscapeInWindow() {
  QEL::QC_RENDER* render = renderer();
  platform::Device* device = render != nullptr ? render->_device.get() : nullptr;
  if (render != nullptr) render->fFlush();
  if (device != nullptr) {
    device->setRenderState(platform::RenderState::stencilEnable, 1);
    if (stencilDepth == 0) device->clear(platform::kClearStencil, 0, 1.0f, 0);
  }
  ++stencilDepth;

  // The mask writes 2 where it covers and shows nothing.
  if (device != nullptr) setStencil(device, 2, platform::Compare::never);
  drawSprite(mask);
  if (render != nullptr) render->fFlush();

  // The landscape shows only where the mask wrote 2.
  if (device != nullptr) setStencil(device, 1, platform::Compare::less);
  drawSprite(sky);
  for (int index : hillOrder) drawSprite(hills[index]);
  drawSprite(road);
  for (int i = 0; i < 4; ++i) drawSprite(roadLines[i]);
  for (QEL::QC_SPRITE* tree : trees) drawSprite(tree);
  if (render != nullptr) render->fFlush();

  --stencilDepth;
  if (stencilDepth == 0 && device != nullptr) device->setRenderState(platform::RenderState::stencilEnable, 0);
}

void SPLASH_SCREEN::drawLogos() {
  const float u = elapsed / kLogoPhaseLength;
  if (!(u > 0.0f) || u > 1.0f) return;

  if (u <= 0.33f) {
    QEL::QC_SPRITE* logo = nullptr;
    for (QEL::QC_SPRITE* candidate : logos)
      if (candidate != nullptr) {
        logo = candidate;
        break;
      }
    if (logo == nullptr) {
      elapsed = kLogoPhaseLength;
      return;
    }
    logo->fDraw();
    if (u < 0.1f)
      setAlpha(logo, roundedAlpha((u / 0.1f) * 255.0f));
    else if (u > 0.23f)
      setAlpha(logo, lowByteOfRounded(((u - 0.23f) / 0.1f) * -255.0f + 1.0f));
    return;
  }

  // The second and third logos: fade in over 0.1, hold, fade out to the end of the third.
  const int index = u <= 0.66f ? 1 : 2;
  const float start = index == 1 ? 0.33f : 0.66f;
  const float fadeOut = index == 1 ? 0.56f : 0.9f;
  QEL::QC_SPRITE* logo = logos[index];
  if (logo == nullptr) {
    elapsed += kSkippedLogoTime;
    return;
  }
  logo->fDraw();
  if (u < start + 0.1f)
    setAlpha(logo, roundedAlpha(((u - start) / 0.1f) * 255.0f));
  else if (u > fadeOut)
    setAlpha(logo, lowByteOfRounded(((u - fadeOut) / 0.1f) * -255.0f + 1.0f));
}
