#include "data/LD_System.h"

#include <algorithm>

void TKelMusic::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, false); break;
    case 2: v.Number("FadeIn", &FadeIn, 0); break;
    case 3: v.Number("Volume", &Volume, 100); break;
    case 4: v.Number("Tempo", &Tempo, 100); break;
    case 5: v.Number("Balance", &Balance, 50); break;
    default: break;
  }
}

void TKelMusic::Clear() {
  TCatalogBaseItem::Clear();
  Name = kNoSound;
  FadeIn = 0;
  Volume = 100;
  Tempo = 100;
  Balance = 50;
}

void TKelMusic::AssignFields(const TKelMusic& source) {
  Name = source.Name;
  FadeIn = source.FadeIn;
  Volume = source.Volume;
  Tempo = source.Tempo;
  Balance = source.Balance;
}

bool TKelMusic::operator==(const TKelMusic& other) const {
  return Name == other.Name && FadeIn == other.FadeIn && Volume == other.Volume && Tempo == other.Tempo &&
         Balance == other.Balance;
}

void TKelSound::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, false); break;
    case 3: v.Number("Volume", &Volume, 100); break;
    case 4: v.Number("Tempo", &Tempo, 100); break;
    case 5: v.Number("Balance", &Balance, 50); break;
    default: break;
  }
}

void TKelSound::Clear() {
  TCatalogBaseItem::Clear();
  Name = kNoSound;
  Volume = 100;
  Tempo = 100;
  Balance = 50;
}

void TKelSound::AssignFields(const TKelSound& source) {
  Name = source.Name;
  Volume = source.Volume;
  Tempo = source.Tempo;
  Balance = source.Balance;
}

bool TKelSound::operator==(const TKelSound& other) const {
  return Name == other.Name && Volume == other.Volume && Tempo == other.Tempo && Balance == other.Balance;
}

void TKelTestPlayerItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Number("HeroId", &HeroId, 1); break;
    case 2: v.Number("Level", &Level, 1); break;
    case 11: v.Number("Weapon", &Weapon, 0); break;
    case 12: v.Number("Shield", &Shield, 0); break;
    case 13: v.Number("Armor", &Armor, 0); break;
    case 14: v.Number("Helmet", &Helmet, 0); break;
    case 15: v.Number("Accessory", &Accessory, 0); break;
    default: break;
  }
}

void TKelTestPlayerItem::Clear() {
  TCatalogItem::Clear();
  HeroId = 1;
  Level = 1;
  Weapon = Shield = Armor = Helmet = Accessory = 0;
}

void TKelTestPlayerItem::AfterLoad() {
  // The equipment fields are 16-bit: only the low bits of the chunk count.
  for (std::int32_t* slot : {&Weapon, &Shield, &Armor, &Helmet, &Accessory}) *slot &= 0xFFFF;
}

std::int32_t TKelTestPlayerItem::EquipmentAt(int slot) const {
  switch (slot) {
    case 0: return Weapon;
    case 1: return Shield;
    case 2: return Armor;
    case 3: return Helmet;
    case 4: return Accessory;
    default: return 0;
  }
}

void TKelSystem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 11: v.String("BoatName", &BoatName, true); break;
    case 12: v.String("ShipName", &ShipName, true); break;
    case 13: v.String("AirshipName", &AirshipName, true); break;
    case 14: v.Number("BoatIndex", &BoatIndex, 0); break;
    case 15: v.Number("ShipIndex", &ShipIndex, 0); break;
    case 16: v.Number("AirshipIndex", &AirshipIndex, 0); break;
    case 17: v.String("TitleName", &TitleName, true); break;
    case 18: v.String("GameOverName", &GameOverName, true); break;
    case 19: v.String("SystemName", &SystemName, true); break;
    case 21: v.Number("PartyCount", &PartyCount, 1); break;
    case 22: v.Buffer("Party", &Party, TCatalogElement::U16); break;
    case 31: v.Record("TitleMusic", &TitleMusic); break;
    case 32: v.Record("BattleMusic", &BattleMusic); break;
    case 33: v.Record("VictoryMusic", &VictoryMusic); break;
    case 34: v.Record("InnMusic", &InnMusic); break;
    case 35: v.Record("BoatMusic", &BoatMusic); break;
    case 36: v.Record("ShipMusic", &ShipMusic); break;
    case 37: v.Record("AirshipMusic", &AirshipMusic); break;
    case 38: v.Record("GameOverMusic", &GameOverMusic); break;
    case 41: v.Record("CursorSound", &CursorSound); break;
    case 42: v.Record("DecisionSound", &DecisionSound); break;
    case 43: v.Record("CancelSound", &CancelSound); break;
    case 44: v.Record("BuzzerSound", &BuzzerSound); break;
    case 45: v.Record("BattleStartSound", &BattleStartSound); break;
    case 46: v.Record("EscapeSound", &EscapeSound); break;
    case 47: v.Record("EnemyAttackSound", &EnemyAttackSound); break;
    case 48: v.Record("EnemyDamageSound", &EnemyDamageSound); break;
    case 49: v.Record("HeroDamageSound", &HeroDamageSound); break;
    case 50: v.Record("EvasionSound", &EvasionSound); break;
    case 51: v.Record("EnemyDeathSound", &EnemyDeathSound); break;
    case 52: v.Record("ItemSound", &ItemSound); break;
    case 61: v.Fixed("TeleportErase", &TeleportErase, 1); break;
    case 62: v.Fixed("TeleportShow", &TeleportShow, 1); break;
    case 63: v.Fixed("BattleStartErase", &BattleStartErase, 1); break;
    case 64: v.Fixed("BattleStartShow", &BattleStartShow, 1); break;
    case 65: v.Fixed("BattleEndErase", &BattleEndErase, 1); break;
    case 66: v.Fixed("BattleEndShow", &BattleEndShow, 1); break;
    case 71: v.Number("WindowTiled", &WindowTiled, 0); break;
    case 72: v.Number("FontKind", &FontKind, 0); break;
    case 81: v.Number("TestCondition", &TestCondition, 1); break;
    case 82: v.Fixed("TestFlag", &TestFlag, 1); break;
    case 84: v.String("TestBackground", &TestBackground, true); break;
    case 85: v.List("TestParty", &TestParty); break;
    case 91: v.Number("SaveCount", &SaveCount, 0); break;
    default: break;
  }
}

void TKelSystem::Clear() {
  TCatalogBaseItem::Clear();
  BoatName.clear();
  ShipName.clear();
  AirshipName.clear();
  BoatIndex = ShipIndex = AirshipIndex = 0;
  TitleName.clear();
  GameOverName.clear();
  SystemName.clear();
  PartyCount = 1;
  Party = {1, 0};
  for (TKelMusic* music : {&TitleMusic, &BattleMusic, &VictoryMusic, &InnMusic, &BoatMusic, &ShipMusic, &AirshipMusic,
                           &GameOverMusic})
    music->Clear();
  for (TKelSound* sound : {&CursorSound, &DecisionSound, &CancelSound, &BuzzerSound, &BattleStartSound, &EscapeSound,
                           &EnemyAttackSound, &EnemyDamageSound, &HeroDamageSound, &EvasionSound, &EnemyDeathSound,
                           &ItemSound})
    sound->Clear();
  TeleportErase = TeleportShow = BattleStartErase = BattleStartShow = BattleEndErase = BattleEndShow = 0;
  WindowTiled = 0;
  FontKind = 0;
  TestCondition = 1;
  TestFlag = 1;
  TestBackground.clear();
  TestParty.Clear();
  SaveCount = 0;
}

int TKelSystem::PartySize() const {
  return std::clamp(PartyCount, 0, static_cast<std::int32_t>(Party.size() / 2));
}

std::int32_t TKelSystem::PartyMember(int index) const {
  if (index < 0 || index >= PartySize()) return 0;
  auto at = static_cast<std::size_t>(index) * 2;
  return Party[at] | (Party[at + 1] << 8);
}

void TKelSystem::SetParty(const std::vector<std::int32_t>& heroIds) {
  Party.clear();
  for (auto id : heroIds) {
    Party.push_back(static_cast<std::uint8_t>(id & 0xFF));
    Party.push_back(static_cast<std::uint8_t>((id >> 8) & 0xFF));
  }
  PartyCount = static_cast<std::int32_t>(heroIds.size());
}

void TKelSwitchItem::DescribeField(int id, TCatalogVarData& v, bool) {
  if (id == 1) v.String("Name", &Name, true);
}

void TKelVariableItem::DescribeField(int id, TCatalogVarData& v, bool) {
  if (id == 1) v.String("Name", &Name, true);
}

std::uint8_t TableEntry(const std::vector<std::uint8_t>& table, std::int32_t count, int index, std::uint8_t defaultValue) {
  if (index < 1 || index > count || static_cast<std::size_t>(index) > table.size()) return defaultValue;
  return table[static_cast<std::size_t>(index - 1)];
}

std::uint8_t RankEntry(const std::vector<std::uint8_t>& table, std::int32_t count, int index, std::uint8_t defaultRank) {
  std::uint8_t rank = TableEntry(table, count, index, defaultRank);
  return rank <= 4 ? rank : defaultRank;
}

void TrimTable(std::vector<std::uint8_t>& table, std::int32_t& count, std::uint8_t defaultValue, int limit) {
  std::size_t size = std::min(table.size(), static_cast<std::size_t>(std::max(count, 0)));
  size = std::min(size, static_cast<std::size_t>(std::max(limit, 0)));
  while (size > 0 && table[size - 1] == defaultValue) --size;
  table.resize(size);
  count = static_cast<std::int32_t>(size);
}
