#pragma once
// Player records for the tests of the profile files: one whose every field differs from the
// defaults and from the other players', and the comparison of a record read back.
#include <gtest/gtest.h>

#include <string>

#include "game/players.h"

namespace test_support {

// A record whose every field differs from the defaults and from the other players'.
inline PLAYER_RECORD samplePlayer(int index) {
  PLAYER_RECORD player;
  player.name = index == 1 ? L"Zoë ♣" : L"Player" + std::to_wstring(index);
  player.money = 1000 + index;
  player.soundVolume = 0.25f;
  player.musicVolume = 0.75f;
  player.isFullscreen = 1;
  player.isMuteAll = static_cast<uint8_t>(index % 2);
  player.currentBack = 11 - index;
  player.currentCardType = index % 3;
  player.additionalCardPlaces = index;
  player.reshuffles = 20 + index;
  player.jokers = 30 + index;
  player.isShowedFirstHint = 1;
  player.isShowedHint29 = 1;
  for (int n = 1; n <= kTrophyCount; ++n) player.trophies[n - 1] = static_cast<uint8_t>((n + index) % 2);
  player.numberOfPacksCompletedWithResult300_juniorMode = 1 + index;
  player.numberOfPacksCompletedWithResult300_professionalMode = 2 + index;
  player.numberOfUsageOfBonusReshuffle = 3 + index;
  player.numberOfUsageOfBonusJoker = 4 + index;
  return player;
}

inline void expectSamePlayer(const PLAYER_RECORD& loaded, const PLAYER_RECORD& saved) {
  EXPECT_EQ(loaded.name, saved.name);
  EXPECT_EQ(loaded.money, saved.money);
  EXPECT_FLOAT_EQ(loaded.soundVolume, saved.soundVolume);
  EXPECT_FLOAT_EQ(loaded.musicVolume, saved.musicVolume);
  EXPECT_EQ(loaded.isFullscreen, saved.isFullscreen);
  EXPECT_EQ(loaded.isMuteAll, saved.isMuteAll);
  EXPECT_EQ(loaded.currentBack, saved.currentBack);
  EXPECT_EQ(loaded.currentCardType, saved.currentCardType);
  EXPECT_EQ(loaded.additionalCardPlaces, saved.additionalCardPlaces);
  EXPECT_EQ(loaded.reshuffles, saved.reshuffles);
  EXPECT_EQ(loaded.jokers, saved.jokers);
  EXPECT_EQ(loaded.isShowedFirstHint, saved.isShowedFirstHint);
  EXPECT_EQ(loaded.isShowedHint29, saved.isShowedHint29);
  for (int n = 1; n <= kTrophyCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(loaded.trophies[n - 1], saved.trophies[n - 1]);
  }
  EXPECT_EQ(loaded.numberOfPacksCompletedWithResult300_juniorMode,
            saved.numberOfPacksCompletedWithResult300_juniorMode);
  EXPECT_EQ(loaded.numberOfPacksCompletedWithResult300_professionalMode,
            saved.numberOfPacksCompletedWithResult300_professionalMode);
  EXPECT_EQ(loaded.numberOfUsageOfBonusReshuffle, saved.numberOfUsageOfBonusReshuffle);
  EXPECT_EQ(loaded.numberOfUsageOfBonusJoker, saved.numberOfUsageOfBonusJoker);
}

}  // namespace test_support
