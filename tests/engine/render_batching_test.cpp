// Batching, flushing, state words, point sprites and capacity limits.
#include <vector>

#include "render_fixture.h"

using namespace QEL;

namespace {

struct Particle {
  float x, y, z, size;
  uint32_t color;
  float life;
  Particle* _next;
};

TEST_F(RenderTest, SceneOpensOnceAndEndsOnce) {
  EXPECT_EQ(_render->fEndScene(), -1);
  ASSERT_EQ(_render->fBeginScene(), 1);
  EXPECT_EQ(_render->fBeginScene(), -1);
  EXPECT_EQ(_render->fEndScene(), 0);
  EXPECT_EQ(_render->fEndScene(), -1);
}

TEST_F(RenderTest, EqualWordsShareOneBatchAcrossTexturesUpToTheDevicesStages) {
  std::vector<QC_TEXTURE*> textures;
  for (uint32_t i = 0; i <= platform::kTextureStages; ++i) textures.push_back(_render->fCreateTexture(4, 4));
  ASSERT_EQ(_render->fBeginScene(), 1);
  const QS_RENDER_STATE word = screenWord(true);
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, textures[0], word);
  drawQuad(20, 0, 30, 10, 0xFFFFFFFFu, textures[0], word);
  EXPECT_EQ(_render->_batchVertices, 8u);
  EXPECT_EQ(_render->_batchIndices, 12u);
  // A picture of each stage joins the batch; one more than the stages starts the next.
  for (uint32_t i = 1; i < platform::kTextureStages; ++i)
    drawQuad(40, 0, 50, 10, 0xFFFFFFFFu, textures[i], word);
  EXPECT_EQ(_render->_flushes, 0u);
  drawQuad(40, 0, 50, 10, 0xFFFFFFFFu, textures[platform::kTextureStages], word);
  EXPECT_EQ(_render->_flushes, 1u);
  EXPECT_EQ(_render->_currentTexture, textures[platform::kTextureStages]);
  // Another word starts another batch whatever the texture.
  drawQuad(40, 0, 50, 10, 0xFFFFFFFFu, textures[platform::kTextureStages], screenWord(true, 2));
  EXPECT_EQ(_render->_flushes, 2u);
  _render->fEndScene();
  EXPECT_EQ(_render->_flushes, 3u);
  EXPECT_EQ(_render->_drawCalls, platform::kTextureStages + 3);
  for (QC_TEXTURE* texture : textures) _render->fReleaseTexture(texture);
}

TEST_F(RenderTest, UntexturedWordNeverMakesATextureCurrent) {
  QC_TEXTURE* texture = _render->fCreateTexture(4, 4);
  ASSERT_EQ(_render->fBeginScene(), 1);
  const QS_RENDER_STATE word = screenWord(false);
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, texture, word);
  EXPECT_EQ(_render->_currentTexture, nullptr);
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, texture, word);  // the texture is not sampled: same batch
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, nullptr, word);
  EXPECT_EQ(_render->_flushes, 0u);
  EXPECT_EQ(_render->_currentTexture, nullptr);
  _render->fEndScene();
  EXPECT_EQ(_render->_flushes, 1u);
  _render->fReleaseTexture(texture);
}

TEST_F(RenderTest, HighBitsOfTheWordEndTheBatchEveryTime) {
  ASSERT_EQ(_render->fBeginScene(), 1);
  QS_RENDER_STATE word = screenWord(false);
  word._high = 1;
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, nullptr, word);
  EXPECT_EQ(_render->_currentState.fGetWord(), word.fGetWord() & 0xFFFFu);
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, nullptr, word);
  drawQuad(0, 0, 10, 10, 0xFFFFFFFFu, nullptr, word);
  EXPECT_EQ(_render->_flushes, 2u);
  EXPECT_EQ(_render->_stateChanges, 3u);
  _render->fEndScene();
}

TEST_F(RenderTest, ApplyStateSetsTheDeviceStatesOfTheChangedBits) {
  platform::Device& d = *_render->_device;
  QS_RENDER_STATE word(0x8002u);
  EXPECT_EQ(_render->fApplyState(&word), 0);  // equal to the current word
  word._opaque = 1;
  word._additive = 1;
  word._filter = QS_RENDER_STATE::FILTER_LINEAR;
  word._depth = 1;
  word._primitive = QS_RENDER_STATE::PRIMITIVE_SPRITES;
  EXPECT_EQ(_render->fApplyState(&word), 1);
  EXPECT_EQ(d.getRenderState(platform::RenderState::alphaBlendEnable), 0u);  // opaque wins over blend
  EXPECT_EQ(d.getRenderState(platform::RenderState::destBlend), static_cast<uint32_t>(platform::Blend::one));
  EXPECT_EQ(d.getRenderState(platform::RenderState::zEnable), 1u);
  EXPECT_EQ(d.getSamplerState(0, platform::SamplerState::minFilter), 2u);
  EXPECT_EQ(d.getRenderState(platform::RenderState::pointSpriteEnable), 1u);
  EXPECT_EQ(d.getRenderState(platform::RenderState::pointScaleC), platform::floatBits(1.0f));
  QS_RENDER_STATE other = word;
  other._filter = 9;  // values above 3 leave the filters alone
  other._primitive = QS_RENDER_STATE::PRIMITIVE_TRIANGLES;
  _render->fApplyState(&other);
  EXPECT_EQ(d.getSamplerState(0, platform::SamplerState::magFilter), 2u);
  EXPECT_EQ(d.getRenderState(platform::RenderState::pointSpriteEnable), 0u);
}

TEST_F(RenderTest, FlushCountsPrimitivesFromThePrimitiveBits) {
  ASSERT_EQ(_render->fBeginScene(), 1);
  const auto before = _render->_device->counters().drawCalls;
  QS_VERTEX v[7];
  for (int i = 0; i < 7; ++i) {
    v[i].fSetPosition(static_cast<float>(i * 10), static_cast<float>((i % 3) * 10), 0.0f);
    v[i].nx = v[i].ny = v[i].nz = 0.0f;
    v[i].fSetColor(0xFFFFFFFFu);
    v[i].fSetUV(0, 0);
  }
  QS_RENDER_STATE word = screenWord(false);
  _render->fDraw(v, nullptr, &word, 7, nullptr, 0);
  _render->fFlush();
  EXPECT_EQ(_render->_device->counters().drawCalls, before + 1);
  word._primitive = 5;  // nothing to draw: the batch is emptied all the same
  _render->fDraw(v, nullptr, &word, 4, kQuadIndices, 6);
  _render->fFlush();
  EXPECT_EQ(_render->_device->counters().drawCalls, before + 1);
  EXPECT_EQ(_render->_batchVertices, 0u);
  EXPECT_EQ(_render->_batchIndices, 0u);
  _render->fEndScene();
}

TEST_F(RenderTest, FullVertexBufferFlushesBeforeTheQuadThatWouldOverflowIt) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  const QS_RENDER_STATE word = screenWord(false);
  for (int i = 0; i < 2048; ++i) drawQuad(0, 0, 4, 4, 0xFFFFFFFFu, nullptr, word);
  EXPECT_EQ(_render->_batchVertices, 8192u);
  EXPECT_EQ(_render->_flushes, 0u);
  drawQuad(500, 500, 520, 520, 0xFF00FF00u, nullptr, word);  // vertex 8193
  EXPECT_EQ(_render->_flushes, 1u);
  EXPECT_EQ(_render->_batchVertices, 4u);
  EXPECT_EQ(_render->_batchIndices, 6u);
  _render->fEndScene();
  EXPECT_EQ(rgb(510, 510), 0x00FF00u);
  EXPECT_EQ(rgb(2, 2), 0xFFFFFFu);
}

TEST_F(RenderTest, IndexSpaceRunningOutAlsoEndsTheBatch) {
  ASSERT_EQ(_render->fBeginScene(), 1);
  const QS_RENDER_STATE word = screenWord(false);
  // Four vertices with many indices each: the index buffer fills before the vertex buffer.
  std::vector<uint16_t> indices(6000);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = kQuadIndices[i % 6];
  QS_VERTEX v[4];
  quadVertices(v, 0, 0, 10, 10, 0xFFFFFFFFu);
  for (int i = 0; i < 5; ++i) _render->fDraw(v, nullptr, &word, 4, indices.data(), 6000);
  EXPECT_EQ(_render->_flushes, 1u);
  EXPECT_LE(_render->_batchIndices, _render->fIndexCapacity());
  _render->fEndScene();
}

TEST_F(RenderTest, ADrawLargerThanABatchIsRefusedWithALogLine) {
  ASSERT_EQ(_render->fBeginScene(), 1);
  std::vector<QS_VERTEX> many(9000);
  for (auto& v : many) {
    v.fSetPosition(0, 0, 0);
    v.fSetColor(0xFFFFFFFFu);
  }
  const QS_RENDER_STATE word = screenWord(false);
  _render->fDraw(many.data(), nullptr, &word, 9000, nullptr, 0);
  EXPECT_EQ(_render->_batchVertices, 0u);
  EXPECT_TRUE(logged("QC_RENDER::fDraw too many vertices or indices: 9000 0"));
  _render->fDraw(many.data(), nullptr, nullptr, 3, nullptr, 0);  // no word: nothing at all
  EXPECT_EQ(_render->_drawCalls, 1u);
  EXPECT_EQ(_render->fEndScene(), 0);
}

TEST_F(RenderTest, PointSpritesGoThroughTheRingInChunks) {
  std::vector<Particle> particles(600);
  for (size_t i = 0; i < particles.size(); ++i) {
    particles[i] = {static_cast<float>(100 + (i % 20) * 20), static_cast<float>(100 + (i / 20) * 10), 0.0f, 8.0f,
                    0xFFFF00FFu, 1.0f, i + 1 < particles.size() ? &particles[i + 1] : nullptr};
  }
  QS_RENDER_STATE word;
  word._blend = 1;
  word._additive = 1;
  word._filter = 1;
  word._screen = 1;
  word._primitive = QS_RENDER_STATE::PRIMITIVE_SPRITES;
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  const auto before = _render->_device->counters().drawCalls;
  _render->fDrawPoints(particles.data(), nullptr, &word, 600);
  EXPECT_EQ(_render->_device->counters().drawCalls, before + 2);  // 512 + 88
  EXPECT_EQ(_render->_pointRing, 1024u);
  // Many more than the ring holds: it wraps and goes on.
  std::vector<Particle> lots(5000, Particle{50, 50, 0, 2, 0xFFFFFFFFu, 1, nullptr});
  for (size_t i = 0; i + 1 < lots.size(); ++i) lots[i]._next = &lots[i + 1];
  _render->fDrawPoints(lots.data(), nullptr, &word, 5000);
  EXPECT_LT(_render->_pointRing, _render->_pointCapacity + 512);
  _render->fDrawPoints(static_cast<Particle*>(nullptr), nullptr, &word, 0);
  _render->fEndScene();
  EXPECT_EQ(rgb(100, 100), 0xFF00FFu);  // an 8-pixel sprite centred on its position
  EXPECT_EQ(rgb(103, 103), 0xFF00FFu);
  EXPECT_EQ(rgb(110, 104), 0x000000u);
}

TEST_F(RenderTest, DebugSquareAndLineDrawInTheirColour) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  _render->fDrawSquare(600, 600, 0xFF00FFFFu, 20.0f);
  _render->fDrawLine(10, 700, 300, 700, 0xFFFFFF00u);
  _render->fEndScene();
  EXPECT_EQ(rgb(610, 610), 0x00FFFFu);
  EXPECT_EQ(rgb(150, 699) | rgb(150, 700), 0xFFFF00u);
}

TEST_F(RenderTest, StencilMaskKeepsLaterDrawingInsideTheMask) {
  _render->_clearColor = 0xFF000000u;
  ASSERT_EQ(_render->fBeginScene(), 1);
  _render->fBeginStencilMask();
  drawQuad(100, 100, 200, 200, 0x00000000u, nullptr, screenWord(false));  // invisible stamp
  _render->fUseStencilMask();
  drawQuad(0, 0, 400, 400, 0xFF00FF00u, nullptr, screenWord(false));
  _render->fEndStencilMask();
  _render->fEndScene();
  EXPECT_EQ(rgb(150, 150), 0x00FF00u);
  EXPECT_EQ(rgb(50, 50), 0x000000u);
  EXPECT_EQ(rgb(300, 150), 0x000000u);
}

}  // namespace
