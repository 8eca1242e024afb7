#pragma once
// The party: up to four heroes in order with their faces, the inventory,
// gold, the countdown timer and the battle and step counters.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "battle/LGD_Unit.h"
#include "data/Catalog.h"
#include "graphics/VantraSheet.h"
#include "ui/GameWindows.h"

struct AssetFolders;
class TKelgPlayerItem;

inline constexpr int kMaxPartySize = 4;
inline constexpr std::int32_t kMaxItemCount = 99;
inline constexpr std::int32_t kMaxGold = 999999;
inline constexpr std::int32_t kMaxTimerFrames = 359999;

class TKelgPartyInfo : public TCatalogBaseItem, public TKelItemSource, public TKelGoldSource {
public:
  // Faces are looked up in the folders when there are any.
  TKelgPartyInfo(TKelgUnitServices& services, const AssetFolders* folders);

  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  // Empty: no members, items, gold, timer or counts.
  void Clear() override;
  // A new game's party: the database's starting members.
  void NewGame();
  void AfterLoad() override;
  void BeforeSave() override;
  // The database's test party at its levels and equipment, fully recovered,
  // and 99 of every item usable in the current scene (the battle).
  void SetupBattleTest();

  // ---- Members ----
  int MemberCount() const { return static_cast<int>(Members.size()); }
  // Nil outside the party.
  TKelgPlayerItem* Member(int index) const;
  std::int32_t MemberId(int index) const;
  void AddMember(std::int32_t heroId);
  void RemoveMember(std::int32_t heroId);
  bool IsMember(std::int32_t heroId) const;
  int PositionOf(std::int32_t heroId) const;
  void RefreshFace(int position);
  const TVantraSheet& FaceSheet(int position) const;

  // ---- Inventory ----
  int ItemKinds() const { return static_cast<int>(ItemIds.size()); }
  std::int32_t ItemIdAt(int index) const;
  std::int32_t ItemCountAt(int index) const;
  std::int32_t ItemUsesAt(int index) const;
  void AddItem(std::int32_t itemId, std::int64_t count);
  void RemoveItem(std::int32_t itemId, std::int64_t count);
  void SpendItemUse(std::int32_t itemId);
  std::int32_t ItemCount(std::int32_t itemId) const;
  std::int32_t EquippedCount(std::int32_t itemId) const;
  bool Possesses(std::int32_t itemId) const { return ItemCount(itemId) > 0 || EquippedCount(itemId) > 0; }
  bool CanUseItemNow(std::int32_t itemId) const;

  // ---- Gold ----
  // Stays in 0..999999 whatever the sign.
  void AddGold(std::int64_t amount);
  void LoseGold(std::int64_t amount);

  // ---- Timer ----
  void SetTimer(std::int64_t seconds);
  void StartTimer(bool visible, bool inBattle);
  void StopTimer();
  std::int32_t TimerSeconds() const { return TimerFrames / 60; }
  // One frame; true when the displayed seconds changed (event pages follow them).
  bool UpdateTimer();

  // ---- Counters ----
  void CountBattle() { Count(BattleCount); }
  void CountVictory() { Count(VictoryCount); }
  void CountDefeat() { Count(DefeatCount); }
  void CountEscape() { Count(EscapeCount); }
  void ResetTurns() { TurnCount = 0; }
  void CountTurn() { Count(TurnCount); }
  void CountStep() { Count(StepCount); }
  bool TurnCondition(std::int32_t a, std::int32_t b) const;

  std::int32_t AverageLevel() const;
  std::int32_t AverageAgility() const;
  // 0 fresh .. 100 exhausted; 0 for an empty party.
  std::int32_t Fatigue() const;
  bool AnyoneActsNormally() const;
  // Every member's step damage for the current step count.
  void ApplyStepDamage();

  // The party for the state dump.
  void DumpState(nlohmann::json& state) const;

  // ---- The windows' view ----
  int ItemKindCount() const override { return ItemKinds(); }
  TKelListEntry ItemEntry(int index, int actor) const override;
  int Gold() const override { return GoldAmount; }
  std::string CurrencyWord() const override;

  std::vector<std::int32_t> Members;
  std::vector<std::int32_t> ItemIds;  // ascending
  std::vector<std::int32_t> ItemCounts;
  std::vector<std::int32_t> ItemUses;
  std::int32_t GoldAmount = 0;
  std::int32_t TimerFrames = 0;
  std::uint8_t TimerRunning = 0, TimerVisible = 0, TimerInBattle = 0;
  std::int32_t BattleCount = 0, VictoryCount = 0, DefeatCount = 0, EscapeCount = 0;
  std::int32_t TurnCount = 0, StepCount = 0;

private:
  static void Count(std::int32_t& counter);
  int IndexOf(std::int32_t itemId) const;
  bool UsableInMenu(const class TKelItemItem& item) const;
  bool UsableInBattle(const class TKelItemItem& item) const;

  TKelgUnitServices& Services;
  const AssetFolders* Folders;
  std::array<TVantraSheet, kMaxPartySize> Faces;
  // The codec's view of the counted buffers.
  std::int32_t MemberCountField = 0;
  std::vector<std::uint8_t> MemberBytes;
  std::int32_t ItemCountField = 0;
  std::vector<std::uint8_t> ItemIdBytes, ItemCountBytes, ItemUseBytes;
};
