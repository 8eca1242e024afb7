#include "state/LGD_PartyInfo.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "data/LD_DataBase.h"
#include "shell/Assets.h"
#include "state/LGD_Player.h"
#include "state/LGD_System.h"
#include "world/LGD_Character.h"
#include "world/LGD_Teleport.h"

namespace {

constexpr int kAlwaysWritten = 2147483647;
constexpr int kFaceSize = 48;
constexpr int kFacesPerRow = 4;

std::int32_t Bound(std::int64_t value, std::int64_t lo, std::int64_t hi) {
  return static_cast<std::int32_t>(std::clamp(value, lo, hi));
}

std::vector<std::int32_t> ReadWords(const std::vector<std::uint8_t>& bytes, std::size_t count) {
  count = std::min(count, bytes.size() / 2);
  std::vector<std::int32_t> words(count);
  for (std::size_t i = 0; i < count; ++i) words[i] = bytes[2 * i] | (bytes[2 * i + 1] << 8);
  return words;
}

std::vector<std::uint8_t> WriteWords(const std::vector<std::int32_t>& values) {
  std::vector<std::uint8_t> bytes;
  for (std::int32_t value : values) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  }
  return bytes;
}

std::vector<std::uint8_t> WriteBytes(const std::vector<std::int32_t>& values) {
  std::vector<std::uint8_t> bytes;
  for (std::int32_t value : values) bytes.push_back(static_cast<std::uint8_t>(std::clamp(value, 0, 255)));
  return bytes;
}

// Amounts from scripts may be anything: limited first so no sum overflows.
std::int64_t Tame(std::int64_t amount) { return std::clamp<std::int64_t>(amount, -(1LL << 40), 1LL << 40); }

std::size_t FieldCount(std::int32_t count) { return static_cast<std::size_t>(std::max(0, count)); }

}  // namespace

TKelgPartyInfo::TKelgPartyInfo(TKelgUnitServices& services, const AssetFolders* folders)
    : Services(services), Folders(folders) {
  for (TVantraSheet& face : Faces) face.SetSize(kFaceSize, kFaceSize);
  Clear();
}

void TKelgPartyInfo::DescribeField(int id, TCatalogVarData& v, bool /*loading*/) {
  switch (id) {
    case 1: v.Number("MemberCount", &MemberCountField, kAlwaysWritten); break;
    case 2: v.Buffer("Members", &MemberBytes, TCatalogElement::U16); break;
    case 11: v.Number("ItemCount", &ItemCountField, kAlwaysWritten); break;
    case 12: v.Buffer("ItemIds", &ItemIdBytes, TCatalogElement::U16); break;
    case 13: v.Buffer("ItemCounts", &ItemCountBytes); break;
    case 14: v.Buffer("ItemUses", &ItemUseBytes); break;
    case 21: v.Number("Gold", &GoldAmount, 0); break;
    case 23: v.Number("TimerFrames", &TimerFrames, 0); break;
    case 24: v.Byte("TimerRunning", &TimerRunning, 0); break;
    case 25: v.Byte("TimerVisible", &TimerVisible, 0); break;
    case 26: v.Byte("TimerInBattle", &TimerInBattle, 0); break;
    case 32: v.Number("BattleCount", &BattleCount, 0); break;
    case 33: v.Number("DefeatCount", &DefeatCount, 0); break;
    case 34: v.Number("EscapeCount", &EscapeCount, 0); break;
    case 41: v.Number("TurnCount", &TurnCount, 0); break;
    case 42: v.Number("StepCount", &StepCount, 0); break;
    default: break;
  }
}

void TKelgPartyInfo::Clear() {
  TCatalogBaseItem::Clear();
  Members.clear();
  ItemIds.clear();
  ItemCounts.clear();
  ItemUses.clear();
  GoldAmount = TimerFrames = 0;
  TimerRunning = TimerVisible = TimerInBattle = 0;
  BattleCount = VictoryCount = DefeatCount = EscapeCount = TurnCount = StepCount = 0;
  MemberCountField = ItemCountField = 0;
  MemberBytes.clear();
  ItemIdBytes.clear();
  ItemCountBytes.clear();
  ItemUseBytes.clear();
  for (int position = 0; position < kMaxPartySize; ++position) RefreshFace(position);
}

void TKelgPartyInfo::NewGame() {
  Clear();
  const TKelSystem& system = Services.DataBase->KelSystem;
  const int heroCount = Services.DataBase->KelPlayer.Count();
  for (int i = 0; i < system.PartyCount; ++i) {
    const std::int32_t hero = system.PartyMember(i);
    if (hero >= 1 && hero <= heroCount) AddMember(hero);
  }
}

void TKelgPartyInfo::SetupBattleTest() {
  while (MemberCount() > 0) RemoveMember(Members.front());
  const TKelTestPlayer& testParty = Services.DataBase->KelSystem.TestParty;
  for (int i = 0; i < testParty.Count(); ++i) {
    const TKelTestPlayerItem& entry = *testParty.ItemAt(i);
    AddMember(entry.HeroId);
    TKelgPlayerItem& hero = Services.Heroes->ById(entry.HeroId);
    // Down to the lowest level whatever the level was, then up to the entry's.
    hero.LowerLevel(hero.Level);
    hero.RaiseLevel(static_cast<std::int64_t>(entry.Level) - 1, false);
    for (int slot = 0; slot < kEquipmentSlots; ++slot) hero.SetEquipment(slot, 0);
    for (int slot = 0; slot < kEquipmentSlots; ++slot)
      if (hero.CanEquip(slot, entry.EquipmentAt(slot))) hero.SetEquipment(slot, entry.EquipmentAt(slot));
    hero.FullRecovery();
  }
  const TKelItem& items = Services.DataBase->KelItem;
  for (int i = 0; i < items.Count(); ++i)
    if (CanUseItemNow(items.ItemAt(i)->Key)) AddItem(items.ItemAt(i)->Key, kMaxItemCount);
}

void TKelgPartyInfo::AfterLoad() {
  // Counts never reach past the buffers that hold their entries.
  const std::vector<std::int32_t> members = ReadWords(MemberBytes, FieldCount(MemberCountField));
  Members.clear();
  for (std::int32_t hero : members)
    if (hero > 0 && !IsMember(hero) && MemberCount() < kMaxPartySize) Members.push_back(hero);

  const std::size_t kinds =
      std::min({FieldCount(ItemCountField), ItemIdBytes.size() / 2, ItemCountBytes.size()});
  const std::vector<std::int32_t> ids = ReadWords(ItemIdBytes, kinds);
  ItemIds.clear();
  ItemCounts.clear();
  ItemUses.clear();
  for (std::size_t i = 0; i < kinds; ++i) {
    const std::int32_t count = std::min<std::int32_t>(ItemCountBytes[i], kMaxItemCount);
    if (ids[i] <= 0 || count <= 0 || IndexOf(ids[i]) >= 0) continue;
    const auto at = std::upper_bound(ItemIds.begin(), ItemIds.end(), ids[i]) - ItemIds.begin();
    ItemIds.insert(ItemIds.begin() + at, ids[i]);
    ItemCounts.insert(ItemCounts.begin() + at, count);
    ItemUses.insert(ItemUses.begin() + at, i < ItemUseBytes.size() ? ItemUseBytes[i] : 0);
  }
  GoldAmount = std::clamp(GoldAmount, 0, kMaxGold);
  TimerFrames = std::clamp(TimerFrames, 0, kMaxTimerFrames);
  VictoryCount = 0;
  MemberBytes.clear();
  ItemIdBytes.clear();
  ItemCountBytes.clear();
  ItemUseBytes.clear();
  for (int position = 0; position < kMaxPartySize; ++position) RefreshFace(position);
}

void TKelgPartyInfo::BeforeSave() {
  MemberCountField = MemberCount();
  MemberBytes = WriteWords(Members);
  ItemCountField = ItemKinds();
  ItemIdBytes = WriteWords(ItemIds);
  ItemCountBytes = WriteBytes(ItemCounts);
  ItemUseBytes = WriteBytes(ItemUses);
}

// ---- Members ----

TKelgPlayerItem* TKelgPartyInfo::Member(int index) const {
  if (index < 0 || index >= MemberCount() || Services.Heroes == nullptr) return nullptr;
  return Services.Heroes->Find(Members[static_cast<std::size_t>(index)]);
}

std::int32_t TKelgPartyInfo::MemberId(int index) const {
  return index >= 0 && index < MemberCount() ? Members[static_cast<std::size_t>(index)] : 0;
}

void TKelgPartyInfo::AddMember(std::int32_t heroId) {
  if (MemberCount() >= kMaxPartySize || IsMember(heroId)) return;
  if (Services.Heroes != nullptr) Services.Heroes->ById(heroId);  // an unknown hero raises "Invalid Hero"
  Members.push_back(heroId);
  RefreshFace(MemberCount() - 1);
}

void TKelgPartyInfo::RemoveMember(std::int32_t heroId) {
  const int position = PositionOf(heroId);
  if (position < 0) return;
  Members.erase(Members.begin() + position);
  for (int i = position; i < kMaxPartySize; ++i) RefreshFace(i);
}

bool TKelgPartyInfo::IsMember(std::int32_t heroId) const { return PositionOf(heroId) >= 0; }

int TKelgPartyInfo::PositionOf(std::int32_t heroId) const {
  const auto it = std::find(Members.begin(), Members.end(), heroId);
  return it == Members.end() ? -1 : static_cast<int>(it - Members.begin());
}

void TKelgPartyInfo::RefreshFace(int position) {
  if (position < 0 || position >= kMaxPartySize) return;
  TVantraSheet& face = Faces[static_cast<std::size_t>(position)];
  face.Clear();
  face.SetSize(kFaceSize, kFaceSize);
  const TKelgPlayerItem* hero = Member(position);
  if (hero == nullptr || Folders == nullptr || Services.DataBase->KelPlayer.Find(hero->Key) == nullptr) return;
  const int index = std::clamp(hero->FaceIndex(), 0, 15);
  const std::string path = FindAsset(*Folders, hero->FaceName(), "FaceSet", kImageExtensions);
  face.LoadFromFile(path, (index % kFacesPerRow) * kFaceSize, (index / kFacesPerRow) * kFaceSize, false);
}

const TVantraSheet& TKelgPartyInfo::FaceSheet(int position) const {
  return Faces[static_cast<std::size_t>(std::clamp(position, 0, kMaxPartySize - 1))];
}

// ---- Inventory ----

int TKelgPartyInfo::IndexOf(std::int32_t itemId) const {
  const auto it = std::lower_bound(ItemIds.begin(), ItemIds.end(), itemId);
  return it != ItemIds.end() && *it == itemId ? static_cast<int>(it - ItemIds.begin()) : -1;
}

std::int32_t TKelgPartyInfo::ItemIdAt(int index) const {
  return index >= 0 && index < ItemKinds() ? ItemIds[static_cast<std::size_t>(index)] : 0;
}

std::int32_t TKelgPartyInfo::ItemCountAt(int index) const {
  return index >= 0 && index < ItemKinds() ? ItemCounts[static_cast<std::size_t>(index)] : 0;
}

std::int32_t TKelgPartyInfo::ItemUsesAt(int index) const {
  return index >= 0 && index < ItemKinds() ? ItemUses[static_cast<std::size_t>(index)] : 0;
}

void TKelgPartyInfo::AddItem(std::int32_t itemId, std::int64_t count) {
  if (itemId <= 0 || count <= 0) return;
  if (const int index = IndexOf(itemId); index >= 0) {
    std::int32_t& held = ItemCounts[static_cast<std::size_t>(index)];
    held = Bound(held + Tame(count), 0, kMaxItemCount);
    return;
  }
  const auto at = std::upper_bound(ItemIds.begin(), ItemIds.end(), itemId) - ItemIds.begin();
  ItemIds.insert(ItemIds.begin() + at, itemId);
  ItemCounts.insert(ItemCounts.begin() + at, Bound(count, 0, kMaxItemCount));
  ItemUses.insert(ItemUses.begin() + at, 0);
}

void TKelgPartyInfo::RemoveItem(std::int32_t itemId, std::int64_t count) {
  const int index = IndexOf(itemId);
  if (count <= 0 || index < 0) return;
  const auto at = static_cast<std::size_t>(index);
  ItemCounts[at] = Bound(ItemCounts[at] - Tame(count), 0, kMaxItemCount);
  ItemUses[at] = 0;
  if (ItemCounts[at] > 0) return;
  ItemIds.erase(ItemIds.begin() + index);
  ItemCounts.erase(ItemCounts.begin() + index);
  ItemUses.erase(ItemUses.begin() + index);
}

void TKelgPartyInfo::SpendItemUse(std::int32_t itemId) {
  const int index = IndexOf(itemId);
  if (index < 0) return;
  const std::int32_t uses = Services.DataBase->KelItem.ById(itemId).Uses;
  if (uses <= 0) return;
  std::int32_t& spent = ItemUses[static_cast<std::size_t>(index)];
  ++spent;
  if (spent >= uses) RemoveItem(itemId, 1);
}

std::int32_t TKelgPartyInfo::ItemCount(std::int32_t itemId) const {
  const int index = IndexOf(itemId);
  return index >= 0 ? ItemCounts[static_cast<std::size_t>(index)] : 0;
}

std::int32_t TKelgPartyInfo::EquippedCount(std::int32_t itemId) const {
  if (itemId <= 0) return 0;
  std::int32_t count = 0;
  for (int i = 0; i < MemberCount(); ++i)
    if (const TKelgPlayerItem* hero = Member(i))
      count += static_cast<std::int32_t>(std::count(hero->Equipment.begin(), hero->Equipment.end(), itemId));
  return count;
}

bool TKelgPartyInfo::UsableInMenu(const TKelItemItem& item) const {
  switch (item.ItemType) {
    case itMedicine:
    case itBook:
    case itSeed: return true;
    case itSwitch: return item.SwitchOnField != 0;
    case itSpecial: break;
    default: return false;
  }
  const TKelSkillItem* skill = Services.DataBase->KelSkill.Find(item.SkillId);
  if (skill == nullptr) return false;
  const TKelgSystem& system = *Services.System;
  const bool flying = Services.MapHero != nullptr && Services.MapHero->Flying;
  switch (skill->SkillType) {
    case skTeleport:
      return system.TeleportAllowed != 0 && Services.Teleport != nullptr &&
             Services.Teleport->DestinationCount() > 0 && !flying;
    case skEscape:
      return system.EscapeAllowed != 0 && Services.Teleport != nullptr && Services.Teleport->EscapePoint().MapId > 0 &&
             !flying;
    case skSwitch: return skill->UsableOnField != 0;
    case skNormal: break;
    default: return false;
  }
  if (skill->Scope < ssSelf) return false;
  bool cures = false;
  for (int i = 0; i < Services.DataBase->KelStatus.Count() && !cures; ++i)
    cures = skill->HasState(Services.DataBase->KelStatus.ItemAt(i)->Key);
  if (!cures && skill->AffectsHp == 0 && skill->AffectsMp == 0) return false;
  for (int i = 0; i < MemberCount(); ++i) {
    const TKelgPlayerItem* hero = Member(i);
    if (hero != nullptr && item.UsableBy(hero->Key) && hero->CanAct()) return true;
  }
  return false;
}

bool TKelgPartyInfo::UsableInBattle(const TKelItemItem& item) const {
  switch (item.ItemType) {
    case itMedicine: return item.FieldOnly == 0;
    case itSwitch: return item.SwitchInBattle != 0;
    case itSpecial: {
      const TKelSkillItem* skill = Services.DataBase->KelSkill.Find(item.SkillId);
      return skill != nullptr &&
             (skill->SkillType == skNormal || (skill->SkillType == skSwitch && skill->UsableInBattle != 0));
    }
    default: return false;
  }
}

bool TKelgPartyInfo::CanUseItemNow(std::int32_t itemId) const {
  if (itemId == 0 || Services.System == nullptr) return false;
  const TKelItemItem& item = Services.DataBase->KelItem.ById(itemId);
  switch (Services.System->SceneId) {
    case scMenu: return UsableInMenu(item);
    case scBattle: return UsableInBattle(item);
    default: return false;
  }
}

// ---- Gold and timer ----

void TKelgPartyInfo::AddGold(std::int64_t amount) {
  GoldAmount = Bound(static_cast<std::int64_t>(GoldAmount) + Tame(amount), 0, kMaxGold);
}

void TKelgPartyInfo::LoseGold(std::int64_t amount) {
  GoldAmount = Bound(static_cast<std::int64_t>(GoldAmount) - Tame(amount), 0, kMaxGold);
}

void TKelgPartyInfo::SetTimer(std::int64_t seconds) {
  // Seconds far out of range must not overflow before the clamp.
  seconds = std::clamp<std::int64_t>(seconds, -1, kMaxTimerFrames);
  TimerFrames = Bound(seconds * 60 + 59, 0, kMaxTimerFrames);
}

void TKelgPartyInfo::StartTimer(bool visible, bool inBattle) {
  TimerRunning = 1;
  TimerVisible = visible ? 1 : 0;
  TimerInBattle = inBattle ? 1 : 0;
}

void TKelgPartyInfo::StopTimer() { TimerRunning = TimerVisible = TimerInBattle = 0; }

bool TKelgPartyInfo::UpdateTimer() {
  if (TimerRunning == 0 || TimerFrames <= 0) return false;
  --TimerFrames;
  const bool secondChanged = TimerFrames % 60 == 59;
  if (TimerSeconds() == 0) StopTimer();
  return secondChanged;
}

// ---- Counters and averages ----

void TKelgPartyInfo::Count(std::int32_t& counter) {
  if (counter < std::numeric_limits<std::int32_t>::max()) ++counter;
}

bool TKelgPartyInfo::TurnCondition(std::int32_t a, std::int32_t b) const { return TurnConditionHolds(a, b, TurnCount); }

std::int32_t TKelgPartyInfo::AverageLevel() const {
  std::int64_t sum = 0;
  for (int i = 0; i < MemberCount(); ++i)
    if (const TKelgPlayerItem* hero = Member(i)) sum += hero->Level;
  const std::int64_t average = MemberCount() > 0 ? sum / MemberCount() : 0;
  return average == 0 ? 1 : static_cast<std::int32_t>(average);
}

std::int32_t TKelgPartyInfo::AverageAgility() const {
  std::int64_t sum = 0;
  for (int i = 0; i < MemberCount(); ++i)
    if (const TKelgPlayerItem* hero = Member(i)) sum += hero->GetAgility();
  const std::int64_t average = MemberCount() > 0 ? sum / MemberCount() : 0;
  return average == 0 ? 1 : static_cast<std::int32_t>(average);
}

std::int32_t TKelgPartyInfo::Fatigue() const {
  double hp = 0, maxHp = 0, mp = 0, maxMp = 0;
  for (int i = 0; i < MemberCount(); ++i) {
    const TKelgPlayerItem* hero = Member(i);
    if (hero == nullptr) continue;
    hp += hero->HP;
    maxHp += hero->GetMaxHp();
    mp += hero->MP;
    maxMp += hero->GetMaxMp();
  }
  if (maxHp <= 0) return 0;
  if (maxMp <= 0) maxMp = 1;
  return 100 - static_cast<std::int32_t>(std::trunc((hp / maxHp * 2 + mp / maxMp) * 100 / 3));
}

bool TKelgPartyInfo::AnyoneActsNormally() const {
  for (int i = 0; i < MemberCount(); ++i) {
    const TKelgPlayerItem* hero = Member(i);
    if (hero != nullptr && hero->ActsNormally() && !hero->AutoBattle()) return true;
  }
  return false;
}

void TKelgPartyInfo::ApplyStepDamage() {
  for (int i = 0; i < MemberCount(); ++i)
    if (TKelgPlayerItem* hero = Member(i)) hero->ApplyStepDamage(StepCount);
}

// ---- Windows and dump ----

TKelListEntry TKelgPartyInfo::ItemEntry(int index, int actor) const {
  TKelListEntry entry;
  const TKelItemItem* item = Services.DataBase->KelItem.Find(ItemIdAt(index));
  if (item == nullptr) return entry;
  entry.Id = item->Key;
  entry.Name = item->Name;
  entry.Description = item->Description;
  entry.Number = ItemCountAt(index);
  const TKelgPlayerItem* hero = actor > 0 && Services.Heroes != nullptr ? Services.Heroes->Find(actor) : nullptr;
  entry.Usable = hero != nullptr ? hero->CanUseItem(item->Key) : CanUseItemNow(item->Key);
  return entry;
}

std::string TKelgPartyInfo::CurrencyWord() const { return Services.DataBase->KelVocabulary.Text(95); }

void TKelgPartyInfo::DumpState(nlohmann::json& state) const {
  nlohmann::json party;
  party["Gold"] = GoldAmount;
  party["StepCount"] = StepCount;
  party["Items"] = nlohmann::json::object();
  for (int i = 0; i < ItemKinds(); ++i) party["Items"][std::to_string(ItemIdAt(i))] = ItemCountAt(i);
  party["Members"] = nlohmann::json::array();
  for (int i = 0; i < MemberCount(); ++i) {
    nlohmann::json hero;
    if (const TKelgPlayerItem* member = Member(i)) member->DumpState(hero);
    else hero["Id"] = MemberId(i);
    party["Members"].push_back(hero);
  }
  state["PartyInfo"] = party;
}
