// Particle system: emission, ageing, colours, motion, bursts and the emission area. No device.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/globals.h"
#include "engine/random.h"
#include "primitives/particles.h"
#include "support.h"

using namespace QEL;

namespace {

class ParticlesTest : public ::testing::Test {
 protected:
  void SetUp() override { _savedDelta = qcFRAME_DELTA; }
  void TearDown() override { qcFRAME_DELTA = _savedDelta; }
  void update(QC_PARTICLE_SYSTEM& system, float dt) {
    qcFRAME_DELTA = dt;
    system.fUpdate();
  }
  static int countList(const QS_PARTICLE* p) {
    int n = 0;
    for (; p != nullptr; p = p->_next) ++n;
    return n;
  }
  QC_RANDOM _random{12345};
  float _savedDelta = 0.0f;
};

TEST_F(ParticlesTest, DefaultsOfANewSystem) {
  std::unique_ptr<QC_TEXTURE> texture(primitives_test::makeSizedTexture(8, 16));
  QC_PARTICLE_SYSTEM system(texture.get(), nullptr);
  EXPECT_EQ(system._capacity, 8096);
  EXPECT_FLOAT_EQ(system._size, 16.0f);
  EXPECT_EQ(system._textureHeight, 16);
  EXPECT_FLOAT_EQ(system._lifetime, 2.0f);
  EXPECT_FLOAT_EQ(system._startVelocity.y, 150.0f);
  EXPECT_EQ(system._emitting, 0);
  EXPECT_EQ(system._liveCount, 0);
  // blend, additive, point filter, textured, point sprites
  EXPECT_EQ(system._renderState.fGetWord(), 0x3416u);
}

TEST_F(ParticlesTest, ParameterBlockIsCopied) {
  QS_PARTICLE_PARAMS params{};
  params._position = QS_VECTOR3(1, 2, 3);
  params._size = 9.0f;
  params._life = 0.75f;
  params._lifetime = 4.0f;
  params._velocity = QS_VECTOR3(0, 0, 7);
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), &params);
  system.fSetEmitCircle(50, 60, 0);
  system.fStart();
  ASSERT_EQ(system._liveCount, 1);
  const QS_PARTICLE* p = system._live;
  EXPECT_FLOAT_EQ(p->_size, 9.0f);
  EXPECT_FLOAT_EQ(p->_life, 0.75f);
  EXPECT_FLOAT_EQ(p->_lifetime, 4.0f);
  EXPECT_FLOAT_EQ(p->_position.x, 50.0f);
  EXPECT_FLOAT_EQ(p->_position.z, 3.0f);
  EXPECT_FLOAT_EQ(p->_velocity.y, 150.0f);  // the emission velocity
  EXPECT_FLOAT_EQ(p->_velocity.z, 7.0f);    // the start velocity's z
}

TEST_F(ParticlesTest, ParticleAgesThroughItsColoursAndFalls) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fStart();
  system.fStop();
  ASSERT_EQ(system._liveCount, 1);
  QS_PARTICLE* p = system._live;
  EXPECT_EQ(p->_color.fToARGB(), 0xFFFFFFFFu);
  update(system, 1.0f);
  EXPECT_FLOAT_EQ(p->_life, 0.5f);
  EXPECT_EQ(p->_color.fToARGB(), 0xFF00FF00u);
  EXPECT_FLOAT_EQ(p->_velocity.y, 290.0f);
  EXPECT_FLOAT_EQ(p->_position.y, 290.0f);
  update(system, 1.0f);
  EXPECT_EQ(p->_color.fToARGB(), 0x88FFF700u);
  update(system, 0.5f);  // life falls below 0: still drawn this frame
  EXPECT_EQ(system._liveCount, 1);
  EXPECT_LT(system._live->_life, 0.0f);
  update(system, 0.5f);  // and removed in the next update
  EXPECT_EQ(system._liveCount, 0);
  EXPECT_EQ(system._live, nullptr);
}

TEST_F(ParticlesTest, AtMostOneParticlePerUpdateWhateverTheRate) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fSetRate(1000.0f);
  system.fStart();
  for (int i = 0; i < 5; ++i) update(system, 0.1f);
  EXPECT_EQ(system._liveCount, 6);
  EXPECT_EQ(countList(system._live), 6);
}

TEST_F(ParticlesTest, SteadyRateWaitsForTheInterval) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fSetRate(4.0f);
  system.fStart();
  update(system, 0.125f);
  EXPECT_EQ(system._liveCount, 1);
  update(system, 0.125f);
  EXPECT_EQ(system._liveCount, 2);
}

TEST_F(ParticlesTest, BurstsNeedEmissionOn) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fBurst(10);
  EXPECT_EQ(system._liveCount, 0);
  system.fSetEmitRect(100, 100, 40, 20);
  system.fStart();
  system.fBurstAt(10, 300, 400);
  EXPECT_EQ(system._liveCount, 11);
  int atPoint = 0;
  for (const QS_PARTICLE* p = system._live; p != nullptr; p = p->_next) {
    if (p->_position.x == 300.0f && p->_position.y == 400.0f) ++atPoint;
  }
  EXPECT_EQ(atPoint, 10);
  EXPECT_FLOAT_EQ(system._x0, 80.0f);  // the area is restored
  EXPECT_FLOAT_EQ(system._y1, 110.0f);
}

TEST_F(ParticlesTest, RectangleAreaGivesWholePixelsInside) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fSetEmitRect(100, 50, 20, 10);
  system.fStart();
  system.fBurst(200);
  for (const QS_PARTICLE* p = system._live; p != nullptr; p = p->_next) {
    EXPECT_GE(p->_position.x, 90.0f);
    EXPECT_LT(p->_position.x, 110.0f);
    EXPECT_GE(p->_position.y, 45.0f);
    EXPECT_LT(p->_position.y, 55.0f);
    EXPECT_EQ(p->_position.x, std::floor(p->_position.x));
  }
}

TEST_F(ParticlesTest, CircleAreaAndSpreadKeepSpeed) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fSetEmitCircle(200, 200, 30);
  system._spread = 1.0f;
  system.fStart();
  system.fBurst(200);
  for (const QS_PARTICLE* p = system._live; p != nullptr; p = p->_next) {
    EXPECT_LE(std::hypot(p->_position.x - 200.0f, p->_position.y - 200.0f), 30.01f);
    EXPECT_NEAR(std::hypot(p->_velocity.x, p->_velocity.y), 150.0f, 0.01f);
    EXPECT_LE(std::fabs(std::atan2(-p->_velocity.x, p->_velocity.y)), 0.5001f);
  }
}

class CountingSystem : public QC_PARTICLE_SYSTEM {
 public:
  CountingSystem() : QC_PARTICLE_SYSTEM(static_cast<QC_TEXTURE*>(nullptr), nullptr) {}
  void fOnEmit(QS_PARTICLE* p) override {
    ++emitted;
    p->_user[0] = 42.0f;
  }
  void fOnMove(QS_PARTICLE*) override { ++moved; }
  int emitted = 0, moved = 0;
};

TEST_F(ParticlesTest, SubclassHooksSeeEveryEmissionAndMove) {
  CountingSystem system;
  system.fStart();
  system.fBurst(3);
  update(system, 0.01f);
  EXPECT_EQ(system.emitted, 4);
  EXPECT_EQ(system.moved, 4);
  EXPECT_FLOAT_EQ(system._live->_next->_user[0], 42.0f);
}

TEST_F(ParticlesTest, DebugDumpListsTheLiveParticles) {
  QC_PARTICLE_SYSTEM system(static_cast<QC_TEXTURE*>(nullptr), nullptr);
  system.fStart();
  system.fBurst(2);
  primitives_test::LogRecorder log;
  system.fDebugDump();
  ASSERT_EQ(log.lines().size(), 4u);
  EXPECT_EQ(log.lines()[0], "==== PARTIC_DEBUG ==============");
  EXPECT_NE(log.lines()[1].find(" <- [1] -> "), std::string::npos);
}

}  // namespace
