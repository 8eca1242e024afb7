#include "state/LGD_Player.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include <nlohmann/json.hpp>

#include "data/LD_DataBase.h"
#include "shell/StateText.h"
#include "state/LGD_PartyInfo.h"
#include "ui/GameMessageWindow.h"
#include "data/StreamUtils.h"
#include "world/LGD_Screen.h"

namespace {

constexpr int kAlwaysWritten = 2147483647;
constexpr std::int32_t kUnarmedHitRate = 90;
constexpr int kMaxHpLimit = 999;

std::int32_t Bound(std::int64_t value, std::int64_t lo, std::int64_t hi) {
  if (value > hi) value = hi;
  if (value < lo) value = lo;
  return static_cast<std::int32_t>(value);
}

// Amounts from scripts may be anything: limited first so no sum overflows.
std::int64_t Tame(std::int64_t amount) { return std::clamp<std::int64_t>(amount, -(1LL << 40), 1LL << 40); }

// 16-bit little-endian values of a buffer, never more than it holds.
std::vector<std::int32_t> ReadWords(const std::vector<std::uint8_t>& bytes, std::int32_t count) {
  const auto n = std::min<std::size_t>(static_cast<std::size_t>(std::max(0, count)), bytes.size() / 2);
  std::vector<std::int32_t> words(n);
  for (std::size_t i = 0; i < n; ++i) words[i] = bytes[2 * i] | (bytes[2 * i + 1] << 8);
  return words;
}

template <class Values>
std::vector<std::uint8_t> WriteWords(const Values& values) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(values.size() * 2);
  for (auto value : values) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  }
  return bytes;
}

// The equipment slot an item type belongs to, slot 1 taking weapons for
// heroes with two weapons.
bool FitsSlot(const TKelItemItem& item, int slot, bool twoWeapons) {
  switch (slot) {
    case 0: return item.ItemType == itWeapon;
    case 1: return item.ItemType == (twoWeapons ? itWeapon : itShield);
    case 2: return item.ItemType == itArmor;
    case 3: return item.ItemType == itHelmet;
    case 4: return item.ItemType == itAccessory;
    default: return false;
  }
}

}  // namespace

int HpColor(std::int32_t hp, std::int32_t maxHp) {
  if (hp <= 0) return 5;
  return hp <= maxHp / 4 ? 4 : 0;
}

int MpColor(std::int32_t mp, std::int32_t maxMp) { return maxMp > 0 && mp <= maxMp / 4 ? 4 : 0; }

// ---- Record ----

void TKelgPlayerItem::DescribeField(int id, TCatalogVarData& v, bool /*loading*/) {
  switch (id) {
    case 1: v.String("NameOverride", &NameOverride, false); break;
    case 2: v.String("TitleOverride", &TitleOverride, false); break;
    case 11: v.String("CharSetOverride", &CharSetOverride, true); break;
    case 12: v.Number("CharSetIndexOverride", &CharSetIndexOverride, 0); break;
    case 13: v.Number("CharSetTransparency", &CharSetTransparency, 0); break;
    case 21: v.String("FaceOverride", &FaceOverride, true); break;
    case 22: v.Number("FaceIndexOverride", &FaceIndexOverride, 0); break;
    case 31: v.Number("Level", &Level, kAlwaysWritten); break;
    case 32: v.Number("Exp", &Exp, kAlwaysWritten); break;
    case 33: v.Number("MaxHpPlus", &Plus[0], kAlwaysWritten); break;
    case 34: v.Number("MaxMpPlus", &Plus[1], kAlwaysWritten); break;
    case 41: v.Number("AttackPlus", &Plus[2], 0); break;
    case 42: v.Number("DefensePlus", &Plus[3], 0); break;
    case 43: v.Number("MindPlus", &Plus[4], 0); break;
    case 44: v.Number("AgilityPlus", &Plus[5], 0); break;
    case 51: v.Number("SkillCount", &SkillCountField, kAlwaysWritten); break;
    case 52: v.Buffer("Skills", &SkillBytes, TCatalogElement::U16); break;
    case 61: v.Fixed("Equipment", Equipment.data(), sizeof Equipment, TCatalogElement::U16); break;
    case 71: v.Number("HP", &HP, kAlwaysWritten); break;
    case 72: v.Number("MP", &MP, kAlwaysWritten); break;
    case 81: v.Number("StateCount", &StateCountField, 0); break;
    case 82: v.Buffer("StateTurns", &StateBytes, TCatalogElement::U16); break;
    default: break;
  }
}

void TKelgPlayerItem::AfterLoad() {
  // A damaged level would make every level walk below run for ages.
  Level = std::clamp(Level, 1, kMaxLevelCap);
  Exp = std::clamp(Exp, 0, kExpLimit);
  Skills.clear();
  for (std::int32_t id : ReadWords(SkillBytes, SkillCountField))
    if (id > 0 && !KnowsSkill(id)) Skills.insert(std::upper_bound(Skills.begin(), Skills.end(), id), id);
  StateTurns.clear();
  for (std::int32_t turns : ReadWords(StateBytes, StateCountField))
    StateTurns.push_back(static_cast<std::uint16_t>(turns));
  SkillBytes.clear();
  StateBytes.clear();
}

void TKelgPlayerItem::BeforeSave() {
  SkillCountField = static_cast<std::int32_t>(Skills.size());
  SkillBytes = WriteWords(Skills);
  StateCountField = static_cast<std::int32_t>(StateTurns.size());
  StateBytes = WriteWords(StateTurns);
}

const TKelPlayerItem& TKelgPlayerItem::Record() const { return DataBase().KelPlayer.ById(Key); }

void TKelgPlayerItem::Clear() {
  TKelgUnitItem::Clear();
  TCatalogBaseItem::Clear();
  NameOverride = TitleOverride = kOverrideMarker;
  CharSetOverride.clear();
  FaceOverride.clear();
  CharSetIndexOverride = CharSetTransparency = FaceIndexOverride = 0;
  Plus.fill(0);
  Skills.clear();
  Equipment.fill(0);
  SkillCountField = StateCountField = 0;
  SkillBytes.clear();
  StateBytes.clear();
  // A hero read from a save may lack its database record; it keeps defaults.
  const TKelPlayerItem* record = Services.DataBase ? DataBase().KelPlayer.Find(Key) : nullptr;
  if (record == nullptr) {
    Level = 1;
    Exp = 0;
    return;
  }
  Level = std::clamp(record->InitialLevel, 1, kMaxLevelCap);
  Exp = record->ExpForLevel(Level);
  HP = Curve(0);
  MP = Curve(1);
  for (int i = 0; i < record->Learning.Count(); ++i) {
    const TKelPlayerLearningItem& learning = *record->Learning.ItemAt(i);
    if (learning.Level <= Level) LearnSkill(learning.SkillId);
  }
  for (int slot = 0; slot < kEquipmentSlots; ++slot) {
    const std::int32_t item = record->InitialEquipmentAt(slot);
    Equipment[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(CanEquip(slot, item) ? item : 0);
  }
}

// ---- Parameters ----

std::int32_t TKelgPlayerItem::Curve(int parameter) const { return Record().Parameter(parameter, Level); }

std::string TKelgPlayerItem::GetName() const {
  return NameOverride == kOverrideMarker ? Record().Name : NameOverride;
}

std::int32_t TKelgPlayerItem::GetMaxHp() const {
  return Bound(static_cast<std::int64_t>(Curve(0)) + Plus[0], 1, kMaxHpLimit);
}

std::int32_t TKelgPlayerItem::GetMaxMp() const {
  return Bound(static_cast<std::int64_t>(Curve(1)) + Plus[1], 0, kMaxHpLimit);
}

const TKelItemItem* TKelgPlayerItem::ItemIn(int slot) const {
  const std::int32_t id = EquipmentAt(slot);
  return id > 0 ? DataBase().KelItem.Find(id) : nullptr;
}

const TKelItemItem* TKelgPlayerItem::WeaponIn(int slot) const {
  const TKelItemItem* item = slot <= 1 ? ItemIn(slot) : nullptr;
  return item != nullptr && item->IsWeapon() ? item : nullptr;
}

const TKelItemItem* TKelgPlayerItem::ArmorIn(int slot) const {
  const TKelItemItem* item = ItemIn(slot);
  return item != nullptr && item->IsArmor() ? item : nullptr;
}

template <class Test>
bool TKelgPlayerItem::AnyWeapon(Test test) const {
  for (int slot = 0; slot <= 1; ++slot)
    if (const TKelItemItem* weapon = WeaponIn(slot); weapon != nullptr && test(*weapon)) return true;
  return false;
}

template <class Test>
bool TKelgPlayerItem::AnyArmor(Test test) const {
  for (int slot = 0; slot < kEquipmentSlots; ++slot)
    if (const TKelItemItem* armor = ArmorIn(slot); armor != nullptr && test(*armor)) return true;
  return false;
}

std::int32_t TKelgPlayerItem::BaseParameter(int parameter) const {
  std::int64_t value = static_cast<std::int64_t>(Curve(parameter)) + Plus[static_cast<std::size_t>(parameter)];
  for (int slot = 0; slot < kEquipmentSlots; ++slot) {
    const TKelItemItem* item = WeaponIn(slot);
    if (item == nullptr) item = ArmorIn(slot);
    if (item == nullptr) continue;
    switch (parameter) {
      case 2: value += item->AttackBonus; break;
      case 3: value += item->DefenseBonus; break;
      case 4: value += item->MindBonus; break;
      default: value += item->AgilityBonus; break;
    }
  }
  return Bound(value, 1, kMaxHpLimit);
}

int TKelgPlayerItem::GetAttribRank(int attribId) const {
  int rank = Record().AttribRank(attribId);
  // Armour of that attribute resists it one step more.
  for (int slot = 0; slot < kEquipmentSlots; ++slot) {
    const TKelItemItem* item = ItemIn(slot);
    if (item != nullptr && !item->IsWeapon() && item->HasAttrib(attribId)) return std::min(rank + 1, kRankCount - 1);
  }
  return rank;
}

int TKelgPlayerItem::GetStateRank(int stateId) const { return Record().StateRank(stateId); }

bool TKelgPlayerItem::AttackHasAttrib(int attribId) const {
  return AnyWeapon([attribId](const TKelItemItem& weapon) { return weapon.HasAttrib(attribId); });
}

std::int32_t TKelgPlayerItem::AttackStateChance(int stateId) const {
  std::int32_t chance = 0;
  for (int slot = 0; slot <= 1; ++slot)
    if (const TKelItemItem* weapon = WeaponIn(slot); weapon != nullptr && weapon->HasState(stateId))
      chance = std::max(chance, weapon->StateChance);
  return chance;
}

std::int32_t TKelgPlayerItem::StateProtection(int stateId) const {
  std::int32_t chance = 0;
  for (int slot = 0; slot < kEquipmentSlots; ++slot)
    if (const TKelItemItem* armor = ArmorIn(slot); armor != nullptr && armor->HasState(stateId))
      chance = std::max(chance, armor->StateChance);
  return chance;
}

double TKelgPlayerItem::GetCriticalRate() const {
  const TKelPlayerItem& record = Record();
  // A chance of 0 means no critical hits rather than a division by zero.
  double rate = record.CanCritical != 0 && record.CriticalChance > 0 ? 100.0 / record.CriticalChance : 0.0;
  std::int32_t bonus = 0;
  bool armed = false;
  for (int slot = 0; slot <= 1; ++slot)
    if (const TKelItemItem* weapon = WeaponIn(slot)) {
      bonus = armed ? std::max(bonus, weapon->CriticalBonus) : weapon->CriticalBonus;
      armed = true;
    }
  return rate + bonus;
}

std::int32_t TKelgPlayerItem::GetHitRate() const {
  std::int32_t rate = 0;
  bool armed = false;
  for (int slot = 0; slot <= 1; ++slot)
    if (const TKelItemItem* weapon = WeaponIn(slot)) {
      rate = armed ? std::max(rate, weapon->HitRate) : weapon->HitRate;
      armed = true;
    }
  return armed ? rate : kUnarmedHitRate;
}

bool TKelgPlayerItem::AttacksFirst() const {
  return AnyWeapon([](const TKelItemItem& w) { return w.FirstStrike != 0; });
}
bool TKelgPlayerItem::AttacksTwice() const {
  return AnyWeapon([](const TKelItemItem& w) { return w.DoubleAttack != 0; });
}
bool TKelgPlayerItem::AttacksAll() const {
  return AnyWeapon([](const TKelItemItem& w) { return w.AttackAll != 0; });
}
bool TKelgPlayerItem::IgnoresEvasion() const {
  return AnyWeapon([](const TKelItemItem& w) { return w.IgnoreEvasion != 0; });
}
bool TKelgPlayerItem::PreventsCritical() const {
  return AnyArmor([](const TKelItemItem& a) { return a.PreventCritical != 0; });
}
bool TKelgPlayerItem::HasRaisedEvasion() const {
  return AnyArmor([](const TKelItemItem& a) { return a.RaiseEvasion != 0; });
}
bool TKelgPlayerItem::HasHalfMpCost() const {
  return AnyArmor([](const TKelItemItem& a) { return a.HalfMpCost != 0; });
}
bool TKelgPlayerItem::HasNoTerrainDamage() const {
  return AnyArmor([](const TKelItemItem& a) { return a.NoTerrainDamage != 0; });
}

std::int32_t TKelgPlayerItem::GetAttackMpCost() const {
  std::int64_t cost = 0;
  for (int slot = 0; slot <= 1; ++slot)
    if (const TKelItemItem* weapon = WeaponIn(slot)) cost += weapon->AttackMpCost;
  return Bound(cost, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

bool TKelgPlayerItem::CanUseItem(int itemId) const {
  if (itemId == 0) return false;
  const TKelItemItem& item = DataBase().KelItem.ById(itemId);
  if (item.ItemType != itMedicine && !item.UsableBy(Key)) return false;
  return Services.Party != nullptr && Services.Party->CanUseItemNow(itemId);
}

// ---- Name, title and graphics ----

void TKelgPlayerItem::SetName(const std::string& name) {
  NameOverride = name == Record().Name ? kOverrideMarker : name;
}

void TKelgPlayerItem::SetTitle(const std::string& title) {
  TitleOverride = title == Record().Title ? kOverrideMarker : title;
}

std::string TKelgPlayerItem::Title() const {
  return TitleOverride == kOverrideMarker ? Record().Title : TitleOverride;
}

std::string TKelgPlayerItem::CharSetName() const {
  return CharSetOverride.empty() ? Record().CharSetName : CharSetOverride;
}

std::int32_t TKelgPlayerItem::CharSetIndex() const {
  return CharSetOverride.empty() ? Record().CharSetIndex : CharSetIndexOverride;
}

std::int32_t TKelgPlayerItem::CharSetTransparencyValue() const {
  if (!CharSetOverride.empty()) return CharSetTransparency;
  return Record().CharSetTranslucent != 0 ? 3 : 0;
}

void TKelgPlayerItem::SetCharSet(const std::string& name, std::int32_t index, bool translucent) {
  const TKelPlayerItem& record = Record();
  if (name == record.CharSetName && index == record.CharSetIndex && translucent == (record.CharSetTranslucent != 0)) {
    CharSetOverride.clear();
    CharSetIndexOverride = CharSetTransparency = 0;
    return;
  }
  CharSetOverride = name;
  CharSetIndexOverride = index;
  CharSetTransparency = translucent ? 3 : 0;
}

std::string TKelgPlayerItem::FaceName() const { return FaceOverride.empty() ? Record().FaceName : FaceOverride; }

std::int32_t TKelgPlayerItem::FaceIndex() const {
  return FaceOverride.empty() ? Record().FaceIndex : FaceIndexOverride;
}

void TKelgPlayerItem::SetFace(const std::string& name, std::int32_t index) {
  const TKelPlayerItem& record = Record();
  if (name == record.FaceName && index == record.FaceIndex) {
    FaceOverride.clear();
    FaceIndexOverride = 0;
    return;
  }
  FaceOverride = name;
  FaceIndexOverride = index;
}

std::string TKelgPlayerItem::SkillCommandName() const {
  const TKelPlayerItem& record = Record();
  return record.HasSkillCommand != 0 ? record.SkillCommand : DataBase().KelVocabulary.Text(107);
}

// ---- Level and experience ----

std::int32_t TKelgPlayerItem::EffectiveMaxLevel() const { return Record().EffectiveMaxLevel(); }

std::int32_t TKelgPlayerItem::ExpForNextLevel() const { return Record().ExpForLevel(Level + 1); }

void TKelgPlayerItem::AddLine(const std::string& line) const {
  if (Services.Messages != nullptr) Services.Messages->AddLine(line);
}

void TKelgPlayerItem::AddExp(std::int64_t amount, bool showMessages) {
  const TKelPlayerItem& record = Record();
  Exp = Bound(static_cast<std::int64_t>(Exp) + Tame(amount), 0, kExpLimit);
  const std::int32_t oldLevel = Level;
  const std::int32_t maxLevel = record.EffectiveMaxLevel();
  while (Level < maxLevel && Exp >= record.ExpForLevel(Level + 1)) ++Level;

  if (Level > oldLevel) {
    const TKelVocabulary& words = DataBase().KelVocabulary;
    if (showMessages)
      AddLine(GetName() + "= " + words.Text(123) + "\x01" + std::to_string(Level) + "\x01" + words.Text(36));
    for (int i = 0; i < record.Learning.Count(); ++i) {
      const TKelPlayerLearningItem& learning = *record.Learning.ItemAt(i);
      if (learning.Level <= oldLevel || learning.Level > Level) continue;
      LearnSkill(learning.SkillId);
      if (showMessages) {
        const TKelSkillItem* skill = DataBase().KelSkill.Find(learning.SkillId);
        AddLine((skill != nullptr ? skill->Name : std::string()) + words.Text(37));
      }
    }
    if (showMessages) AddLine("");
  }
  CutToMaxima();
}

void TKelgPlayerItem::LoseExp(std::int64_t amount) {
  const TKelPlayerItem& record = Record();
  Exp = Bound(static_cast<std::int64_t>(Exp) - Tame(amount), 0, kExpLimit);
  while (Level > 1 && Exp < record.ExpForLevel(Level)) --Level;
  CutToMaxima();
}

void TKelgPlayerItem::RaiseLevel(std::int64_t levels, bool showMessages) {
  const auto target = Bound(static_cast<std::int64_t>(Level) + Tame(levels), 1, kMaxLevelCap);
  AddExp(static_cast<std::int64_t>(Record().ExpForLevel(target)) - Exp, showMessages);
}

void TKelgPlayerItem::LowerLevel(std::int64_t levels) {
  const auto target = Bound(static_cast<std::int64_t>(Level) - Tame(levels), 1, kMaxLevelCap);
  LoseExp(static_cast<std::int64_t>(Exp) - Record().ExpForLevel(target));
}

void TKelgPlayerItem::AddParameterPlus(int parameter, std::int32_t amount) {
  if (parameter >= 0 && parameter < kParameterCount) {
    std::int32_t& plus = Plus[static_cast<std::size_t>(parameter)];
    plus = Bound(static_cast<std::int64_t>(plus) + amount, -kParameterPlusLimit, kParameterPlusLimit);
  }
  CutToMaxima();
}

// ---- Skills ----

std::int32_t TKelgPlayerItem::SkillAt(int index) const {
  return index >= 0 && index < SkillCount() ? Skills[static_cast<std::size_t>(index)] : 0;
}

void TKelgPlayerItem::LearnSkill(std::int32_t skillId) {
  if (skillId <= 0 || KnowsSkill(skillId)) return;
  Skills.insert(std::upper_bound(Skills.begin(), Skills.end(), skillId), skillId);
}

void TKelgPlayerItem::ForgetSkill(std::int32_t skillId) {
  auto it = std::lower_bound(Skills.begin(), Skills.end(), skillId);
  if (it != Skills.end() && *it == skillId) Skills.erase(it);
}

bool TKelgPlayerItem::KnowsSkill(std::int32_t skillId) const {
  return std::binary_search(Skills.begin(), Skills.end(), skillId);
}

// ---- Equipment ----

void TKelgPlayerItem::CheckSlot(int slot, int line) const {
  if (slot < 0 || slot >= kEquipmentSlots) throw EKelAssertion("LGD_Player", line);
}

std::int32_t TKelgPlayerItem::EquipmentAt(int slot) const {
  return slot >= 0 && slot < kEquipmentSlots ? Equipment[static_cast<std::size_t>(slot)] : 0;
}

bool TKelgPlayerItem::IsEquipped(std::int32_t itemId) const {
  return itemId > 0 && std::find(Equipment.begin(), Equipment.end(), itemId) != Equipment.end();
}

bool TKelgPlayerItem::CanEquip(int slot, std::int32_t itemId) const {
  CheckSlot(slot, __LINE__);
  if (itemId == 0) return true;
  if (itemId < 0 || itemId > DataBase().KelItem.Count()) return false;
  const TKelItemItem* item = DataBase().KelItem.Find(itemId);
  if (item == nullptr || !item->UsableBy(Key)) return false;
  const TKelPlayerItem* record = DataBase().KelPlayer.Find(Key);
  return FitsSlot(*item, slot, record != nullptr && record->TwoWeapons != 0);
}

void TKelgPlayerItem::ApplyTwoHandedRule(int slot, bool throughInventory) {
  if (slot > 1 || Equipment[0] == 0 || Equipment[1] == 0) return;
  const TKelItemItem* first = DataBase().KelItem.Find(Equipment[0]);
  const TKelItemItem* second = DataBase().KelItem.Find(Equipment[1]);
  const bool twoHanded = (first != nullptr && first->IsTwoHanded()) || (second != nullptr && second->IsTwoHanded());
  if (!twoHanded) return;
  const int other = 1 - slot;
  if (throughInventory) Equip(other, 0);
  else Equipment[static_cast<std::size_t>(other)] = 0;
}

void TKelgPlayerItem::Equip(int slot, std::int32_t itemId) {
  if (!CanEquip(slot, itemId)) return;
  std::uint16_t& held = Equipment[static_cast<std::size_t>(slot)];
  if (held != itemId) {
    const std::int32_t old = held;
    if (Services.Party != nullptr) Services.Party->AddItem(old, 1);
    held = static_cast<std::uint16_t>(itemId);
    if (Services.Party != nullptr) Services.Party->RemoveItem(itemId, 1);
  }
  ApplyTwoHandedRule(slot, true);
}

void TKelgPlayerItem::SetEquipment(int slot, std::int32_t itemId) {
  CheckSlot(slot, __LINE__);
  Equipment[static_cast<std::size_t>(slot)] = static_cast<std::uint16_t>(std::clamp(itemId, 0, 65535));
  ApplyTwoHandedRule(slot, false);
}

int TKelgPlayerItem::CandidateCount(int slot) const {
  int count = 1;
  if (Services.Party == nullptr) return count;
  for (int i = 0; i < Services.Party->ItemKinds(); ++i) {
    const TKelItemItem* item = DataBase().KelItem.Find(Services.Party->ItemIdAt(i));
    if (item != nullptr && item->UsableBy(Key) && FitsSlot(*item, slot, TwoWeapons())) ++count;
  }
  return count;
}

std::int32_t TKelgPlayerItem::Candidate(int slot, int index) const {
  if (Services.Party == nullptr) return 0;
  for (int i = 0; i < Services.Party->ItemKinds(); ++i) {
    const TKelItemItem* item = DataBase().KelItem.Find(Services.Party->ItemIdAt(i));
    if (item == nullptr || !item->UsableBy(Key) || !FitsSlot(*item, slot, TwoWeapons())) continue;
    if (index-- == 0) return item->Key;
  }
  return 0;
}

std::int32_t TKelgPlayerItem::AttackAnimation() const {
  if (const TKelItemItem* weapon = WeaponIn(0)) return weapon->Animation;
  if (TwoWeapons())
    if (const TKelItemItem* weapon = WeaponIn(1)) return weapon->Animation;
  return Record().UnarmedAnimation;
}

std::int32_t TKelgPlayerItem::SecondAttackAnimation() const {
  const TKelItemItem* second = WeaponIn(1);
  return TwoWeapons() && WeaponIn(0) != nullptr && second != nullptr ? second->Animation : 0;
}

// ---- Steps ----

void TKelgPlayerItem::ApplyStepDamage(std::int32_t stepCount) {
  auto flash = [this] {
    if (Services.Screen != nullptr) Services.Screen->SetFlash(31, 10, 6, 20, 10);
  };
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const TKelStatusItem& state = DataBase().KelStatus.ById(static_cast<std::int32_t>(i + 1));
    if (state.StepHpInterval > 0 && stepCount % state.StepHpInterval == 0) {
      TakeDamage(state.StepHpAmount, false);
      flash();
    }
    if (state.StepMpInterval > 0 && stepCount % state.StepMpInterval == 0) {
      LoseMp(state.StepMpAmount);
      flash();
    }
  }
}

// ---- State dump ----

void TKelgPlayerItem::DumpState(nlohmann::json& hero) const {
  hero["Id"] = Key;
  hero["Name"] = StateText(GetName());
  hero["Level"] = Level;
  hero["Exp"] = Exp;
  hero["HP"] = HP;
  hero["MP"] = MP;
  hero["MaxHp"] = GetMaxHp();
  hero["MaxMp"] = GetMaxMp();
  hero["Attack"] = GetAttack();
  hero["Defense"] = GetDefense();
  hero["Mind"] = GetMind();
  hero["Agility"] = GetAgility();
  hero["Equipment"] = nlohmann::json::array();
  for (std::uint16_t item : Equipment) hero["Equipment"].push_back(item);
  hero["StateTurns"] = nlohmann::json::object();
  for (std::size_t i = 0; i < StateTurns.size(); ++i)
    if (StateTurns[i] > 0) hero["StateTurns"][std::to_string(i + 1)] = StateTurns[i];
  hero["Skills"] = Skills;
}

void TKelgPoolLines::AddLine(const std::string& line) {
  if (Pool != nullptr) Pool->Add(line);
}

// ---- The heroes ----

std::unique_ptr<TCatalogItem> TKelgPlayer::CreateItem(std::int32_t key) const {
  auto hero = std::make_unique<TKelgPlayerItem>(Services);
  hero->SetKey(key);
  hero->Clear();
  return hero;
}

TKelgPlayerItem& TKelgPlayer::ById(std::int32_t key) const {
  TKelgPlayerItem* hero = Find(key);
  if (hero == nullptr) throw EKelInvalid("Invalid Hero");
  return *hero;
}

void TKelgPlayer::EnsureDataBaseHeroes() {
  const TKelPlayer& heroes = Services.DataBase->KelPlayer;
  for (int i = 0; i < heroes.Count(); ++i) Get(heroes.ItemAt(i)->Key);
}

void TKelgPlayer::Reset() {
  Clear();
  EnsureDataBaseHeroes();
}

void TKelgPlayer::LoadFromStream(TStreamReader& stream) {
  TCatalog::LoadFromStream(stream);
  EnsureDataBaseHeroes();
}

int TKelgPlayer::SkillCount(int actor) const {
  const TKelgPlayerItem* hero = Find(actor);
  return hero != nullptr ? hero->SkillCount() : 0;
}

TKelListEntry TKelgPlayer::SkillEntry(int actor, int index) const {
  TKelListEntry entry;
  const TKelgPlayerItem* hero = Find(actor);
  if (hero == nullptr) return entry;
  const TKelSkillItem* skill = Services.DataBase->KelSkill.Find(hero->SkillAt(index));
  if (skill == nullptr) return entry;
  entry.Id = skill->Key;
  entry.Name = skill->Name;
  entry.Description = skill->Description;
  entry.Number = skill->MpCost;
  entry.Usable = hero->CanUseSkill(skill->Key);
  return entry;
}

bool TKelgPlayer::PaysHalfSkillCost(int actor) const {
  const TKelgPlayerItem* hero = Find(actor);
  return hero != nullptr && hero->HasHalfMpCost();
}

TKelHeroStatusLine TKelgPlayer::StatusLine(int actor) const {
  TKelHeroStatusLine line;
  const TKelgPlayerItem* hero = Find(actor);
  if (hero == nullptr) return line;
  const TKelDataBase& dataBase = *Services.DataBase;
  const TKelVocabulary& words = dataBase.KelVocabulary;
  line.Name = hero->GetName();
  line.LevelWord = words.Text(128);
  line.HPWord = words.Text(129);
  line.SPWord = words.Text(130);
  line.Level = hero->Level;
  if (const int top = hero->GetTopState(); top != 0) {
    const TKelStatusItem& state = dataBase.KelStatus.ById(top);
    line.Condition = state.Name;
    line.ConditionColor = state.Color;
  } else {
    line.Condition = words.Text(126);
  }
  line.HP = hero->HP;
  line.MaxHP = hero->GetMaxHp();
  line.HPColor = HpColor(line.HP, line.MaxHP);
  line.SP = hero->MP;
  line.MaxSP = hero->GetMaxMp();
  line.SPColor = MpColor(line.SP, line.MaxSP);
  return line;
}
