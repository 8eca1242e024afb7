#pragma once
// Enemies and the run-time troop: set-up from the troop record, hidden
// members, transformation, the per-frame flash, blink, fade and burst, the
// drawing order, and the enemy's choice of action.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "battle/LGD_Unit.h"
#include "graphics/VantraSheet.h"

class TKelMonsterItem;
class TKelgScreen;

class TKelgMonsterItem : public TKelgUnitItem {
public:
  explicit TKelgMonsterItem(TKelgUnitServices& services) : TKelgUnitItem(services) {}

  void DescribeField(int /*id*/, TCatalogVarData& /*v*/, bool /*loading*/) override {}  // never saved
  void Clear() override;

  const TKelMonsterItem& Record() const;

  std::string GetName() const override;
  std::int32_t GetMaxHp() const override;
  std::int32_t GetMaxMp() const override;
  std::int32_t GetBaseAttack() const override;
  std::int32_t GetBaseDefense() const override;
  std::int32_t GetBaseMind() const override;
  std::int32_t GetBaseAgility() const override;
  int GetAttribRank(int attribId) const override;
  int GetStateRank(int stateId) const override;
  double GetCriticalRate() const override;
  std::int32_t GetHitRate() const override;
  bool IsSameSide(const TKelgUnitItem& other) const override { return other.IsEnemy(); }
  bool IsHero() const override { return false; }
  bool IsEnemy() const override { return true; }
  void ChooseAction() override;

  // Enemy e at full HP and MP with its sprite.
  void SetupFromDatabase(std::int32_t enemyId);
  void Transform(std::int32_t enemyId);
  void StartFlash(int red, int green, int blue, double strength, int frames);
  void StartBlink() { BlinkFrames = 20; }  // damage
  void StartFade() { FadeFrames = 36; }    // death and flight
  void StartBurst() { BurstFrames = 20; }  // self-destruction
  void UpdateEffects();
  bool IsShown() const { return IsAlive() || FadeFrames > 0 || BurstFrames > 0; }
  // 0-based troop position.
  int TroopIndex() const { return Key - 1; }

  std::int32_t EnemyId = 0;
  int X = 0, Y = 0;
  TVantraSheet Sprite;
  int FlashRed = 0, FlashGreen = 0, FlashBlue = 0;
  double FlashStrength = 0;
  int FlashFrames = 0;
  int BlinkFrames = 0;
  int FadeFrames = 0;
  int BurstFrames = 0;

private:
  void LoadSprite();
  // Action weights of the database actions, in their order.
  std::vector<std::int64_t> ActionWeights() const;
  bool ConditionHolds(const class TKelMonsterActItem& act) const;
  void TakeAction(const class TKelMonsterActItem& act);
};

// Drawing order entry: troop index and its sort key.
struct TMonsterOrder {
  int Index = 0;
  int Key = 0;
};

// The troop of the current battle, keys 1..n in troop order.
class TKelgMonster : public TCatalog {
public:
  explicit TKelgMonster(TKelgUnitServices& services) : Services(services) {}

  TKelgMonsterItem* ItemAt(int index) const { return static_cast<TKelgMonsterItem*>(TCatalog::ItemAt(index)); }
  // Troop position 0..n-1; a position that does not exist raises "Invalid Monster Chara".
  TKelgMonsterItem& Monster(int index) const;

  void SetupTroop(std::int32_t troopId);
  std::int32_t AverageAgility() const;
  int LivingCount() const;
  void ChooseActions();
  void UpdateEffects();
  // Shown enemies back to front.
  std::vector<TMonsterOrder> DrawOrder() const;
  // The shown enemies, tinted by the screen, onto the board.
  void Draw(TVantraBoard& board, const TKelgScreen* screen);

  std::int32_t TroopId = 0;

protected:
  std::unique_ptr<TCatalogItem> CreateItem(std::int32_t key) const override;

private:
  TKelgUnitServices& Services;
};

// A random living party position, -1 when nobody lives.
int RandomLivingHero(const TKelgUnitServices& services);
