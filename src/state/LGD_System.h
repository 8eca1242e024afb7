#pragma once
// The game system state: which scene runs, the frame counter, and (as the
// game grows) switches, variables, music and the overrides of the database.

#include <cstdint>

enum TKelSceneId : std::uint8_t {
  scField, scMenu, scBattle, scShop, scName, scSaveFile, scTitle, scGameOver, scDebug,
};
inline constexpr int kSceneCount = 9;

class TKelgSystem {
public:
  void Clear() { *this = TKelgSystem(); }

  TKelSceneId SceneId = scField;
  std::uint32_t FrameCount = 0;
};
