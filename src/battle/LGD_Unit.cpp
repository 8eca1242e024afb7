#include "battle/LGD_Unit.h"

#include <algorithm>
#include <limits>

#include "data/LD_DataBase.h"
#include "shell/Random.h"
#include "state/LGD_System.h"
#include "world/LGD_Character.h"
#include "world/LGD_Teleport.h"

namespace {

constexpr std::int32_t kParameterLimit = 9999;
constexpr std::uint16_t kNoShift = 1;
constexpr std::uint16_t kTurnLimit = std::numeric_limits<std::uint16_t>::max();
// A state this far above another one displaces it.
constexpr std::int64_t kPriorityGap = 10;
// Skill influence limits of states start above any influence.
constexpr std::int32_t kNoSkillLimit = 11;
constexpr std::int32_t kFirstStrikeInitiative = 9999;

// Within lo..hi, lo winning when the range is empty; wide arithmetic in.
std::int32_t Bound(std::int64_t value, std::int64_t lo, std::int64_t hi) {
  if (value > hi) value = hi;
  if (value < lo) value = lo;
  return static_cast<std::int32_t>(value);
}

// Entries needed to index a table by id: its highest key.
std::size_t TableSpan(const TCatalog& table) {
  const TCatalogItem* last = table.ItemAt(table.Count() - 1);
  return last != nullptr && last->Key > 0 ? static_cast<std::size_t>(last->Key) : 0;
}

std::int32_t Narrow(std::int64_t value) {
  return Bound(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

}  // namespace

std::int32_t ApplyAttribRates(const TKelDataBase& dataBase, const TKelgUnitItem& target, std::int32_t value,
                              const std::function<bool(int attribId)>& carries) {
  for (int kind = 0; kind <= 1; ++kind) {
    bool any = false;
    std::int32_t best = 0;
    for (int i = 0; i < dataBase.KelAttrib.Count(); ++i) {
      const TKelAttribItem& attrib = *dataBase.KelAttrib.ItemAt(i);
      if (attrib.AttribKind != kind || !carries(attrib.Key)) continue;
      const std::int32_t rate = target.AttribRate(attrib.Key);
      best = any ? std::max(best, rate) : rate;
      any = true;
    }
    if (any) value = Narrow(static_cast<std::int64_t>(value) * best / 100);
  }
  return value;
}

void TKelgUnitItem::Clear() {
  Present = 1;
  Action.Reset();
  HP = MP = 0;
  BattleAttack = BattleDefense = BattleMind = BattleAgility = 0;
  AttributeShifts.clear();
  StateTurns.clear();
  Initiative = 0;
  Charged = 0;
}

bool TKelgUnitItem::InBattle() const { return Services.System != nullptr && Services.System->SceneId == scBattle; }
bool TKelgUnitItem::InMenu() const { return Services.System != nullptr && Services.System->SceneId == scMenu; }

// ---- HP, MP and parameters ----

std::int32_t TKelgUnitItem::AddHp(std::int32_t amount) {
  if (HP == 0) return 0;
  const std::int32_t old = HP;
  HP = Bound(static_cast<std::int64_t>(HP) + amount, 1, GetMaxHp());
  return HP - old;
}

std::int32_t TKelgUnitItem::TakeDamage(std::int32_t amount, bool mayKill) {
  if (HP == 0) return 0;
  const std::int32_t old = HP;
  HP = Bound(static_cast<std::int64_t>(HP) - amount, 0, GetMaxHp());
  if (HP == 0) {
    if (mayKill) AddState(kDeathState);
    else HP = 1;
  }
  return old - HP;
}

std::int32_t TKelgUnitItem::AddMp(std::int32_t amount) {
  const std::int32_t old = MP;
  MP = Bound(static_cast<std::int64_t>(MP) + amount, 0, GetMaxMp());
  return MP - old;
}

std::int32_t TKelgUnitItem::LoseMp(std::int32_t amount) {
  const std::int32_t old = MP;
  MP = Bound(static_cast<std::int64_t>(MP) - amount, 0, GetMaxMp());
  return old - MP;
}

void TKelgUnitItem::CutToMaxima() {
  HP = std::min(HP, GetMaxHp());
  MP = std::min(MP, GetMaxMp());
}

std::int32_t& TKelgUnitItem::BattleChange(int parameter) {
  switch (parameter) {
    case bpAttack: return BattleAttack;
    case bpDefense: return BattleDefense;
    case bpMind: return BattleMind;
    default: return BattleAgility;
  }
}

std::int32_t TKelgUnitItem::BaseParameter(int parameter) const {
  switch (parameter) {
    case bpAttack: return GetBaseAttack();
    case bpDefense: return GetBaseDefense();
    case bpMind: return GetBaseMind();
    default: return GetBaseAgility();
  }
}

std::int32_t TKelgUnitItem::ChangeBattleParameter(int parameter, std::int32_t delta) {
  if (parameter < bpAttack || parameter > bpAgility) return 0;
  const std::int32_t base = BaseParameter(parameter);
  std::int32_t& change = BattleChange(parameter);
  const std::int32_t old = change;
  change = Bound(static_cast<std::int64_t>(change) + delta, -(base / 2), base);
  return change - old;
}

std::int32_t TKelgUnitItem::Effective(std::int32_t base, std::int32_t change,
                                      std::uint8_t TKelStatusItem::*halve) const {
  std::int32_t value = Bound(static_cast<std::int64_t>(base) + change, 1, kParameterLimit);
  if (AnyState([halve](const TKelStatusItem& state) { return state.*halve != 0; })) value /= 2;
  return value;
}

std::int32_t TKelgUnitItem::GetAttack() const {
  return Effective(GetBaseAttack(), BattleAttack, &TKelStatusItem::HalveAttack);
}
std::int32_t TKelgUnitItem::GetDefense() const {
  return Effective(GetBaseDefense(), BattleDefense, &TKelStatusItem::HalveDefense);
}
std::int32_t TKelgUnitItem::GetMind() const { return Effective(GetBaseMind(), BattleMind, &TKelStatusItem::HalveMind); }
std::int32_t TKelgUnitItem::GetAgility() const {
  return Effective(GetBaseAgility(), BattleAgility, &TKelStatusItem::HalveAgility);
}

std::int32_t TKelgUnitItem::HpPercent() const {
  const std::int32_t max = GetMaxHp();
  return max <= 0 ? 0 : Narrow(static_cast<std::int64_t>(HP) * 100 / max);
}

std::int32_t TKelgUnitItem::MpPercent() const {
  const std::int32_t max = GetMaxMp();
  return max <= 0 ? 0 : Narrow(static_cast<std::int64_t>(MP) * 100 / max);
}

// ---- Attributes ----

void TKelgUnitItem::GrowAttributes() {
  const std::size_t count = TableSpan(DataBase().KelAttrib);
  if (AttributeShifts.size() < count) AttributeShifts.resize(count, kNoShift);
}

int TKelgUnitItem::AttributeShift(int attribId) const {
  if (attribId < 1 || attribId > static_cast<int>(AttributeShifts.size())) return 0;
  return std::clamp(static_cast<int>(AttributeShifts[static_cast<std::size_t>(attribId - 1)]) - 1, -1, 1);
}

int TKelgUnitItem::GetEffectiveAttribRank(int attribId) const {
  return std::clamp(GetAttribRank(attribId) + AttributeShift(attribId), 0, kRankCount - 1);
}

bool TKelgUnitItem::LowerAttribDefense(int attribId) {
  GrowAttributes();
  if (attribId < 1 || attribId > static_cast<int>(AttributeShifts.size())) return false;
  const int shift = AttributeShift(attribId);
  if (GetEffectiveAttribRank(attribId) < 1 || shift == -1) return false;
  AttributeShifts[static_cast<std::size_t>(attribId - 1)] = static_cast<std::uint16_t>(shift - 1 + kNoShift);
  return true;
}

bool TKelgUnitItem::RaiseAttribDefense(int attribId) {
  GrowAttributes();
  if (attribId < 1 || attribId > static_cast<int>(AttributeShifts.size())) return false;
  const int shift = AttributeShift(attribId);
  if (GetEffectiveAttribRank(attribId) > kRankCount - 2 || shift == 1) return false;
  AttributeShifts[static_cast<std::size_t>(attribId - 1)] = static_cast<std::uint16_t>(shift + 1 + kNoShift);
  return true;
}

std::int32_t TKelgUnitItem::AttribRate(int attribId) const {
  return DataBase().KelAttrib.ById(attribId).Rate(GetEffectiveAttribRank(attribId));
}

// ---- States ----

void TKelgUnitItem::GrowStates() {
  const std::size_t count = TableSpan(DataBase().KelStatus);
  if (StateTurns.size() < count) StateTurns.resize(count, 0);
}

int TKelgUnitItem::GetStateTurns(int stateId) const {
  if (stateId < 1 || stateId > static_cast<int>(StateTurns.size())) return 0;
  return StateTurns[static_cast<std::size_t>(stateId - 1)];
}

bool TKelgUnitItem::AnyState(const std::function<bool(const TKelStatusItem&)>& test) const {
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const TKelStatusItem* state = DataBase().KelStatus.Find(static_cast<std::int32_t>(i + 1));
    if (state != nullptr && test(*state)) return true;
  }
  return false;
}

void TKelgUnitItem::AddState(int stateId) {
  DataBase().KelStatus.ById(stateId);  // an unknown state raises the table's message
  GrowStates();
  if (stateId > static_cast<int>(StateTurns.size())) return;
  StateTurns[static_cast<std::size_t>(stateId - 1)] = 1;
  if (stateId == kDeathState) HP = 0;

  std::int32_t top = std::numeric_limits<std::int32_t>::min();
  for (std::size_t i = 0; i < StateTurns.size(); ++i)
    if (StateTurns[i] > 0) top = std::max(top, DataBase().KelStatus.ById(static_cast<std::int32_t>(i + 1)).Priority);
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    const int id = static_cast<int>(i + 1);
    if (StateTurns[i] > 0 && DataBase().KelStatus.ById(id).Priority <= top - kPriorityGap)
      RemoveState(id);
  }

  if (!InBattle()) return;
  if (AttacksRandomly() && Action.Kind != akAuto) {
    Charged = 0;
    ChooseAction();
  }
  if (!CanAct()) {
    Charged = 0;
    Action.Kind = akNone;
  }
  if (Action.Kind == akSkill && !CanUseSkill(Action.SkillId)) {
    Charged = 0;
    Action.Kind = akNone;
  }
  if (HP == 0) {
    BattleAttack = BattleDefense = BattleMind = BattleAgility = 0;
    AttributeShifts.clear();
    Charged = 0;
  }
}

void TKelgUnitItem::RemoveState(int stateId) {
  const bool wasRandom = AttacksRandomly();
  if (stateId >= 1 && stateId <= static_cast<int>(StateTurns.size()))
    StateTurns[static_cast<std::size_t>(stateId - 1)] = 0;
  if (stateId == kDeathState) HP = std::max(HP, 1);
  if (InBattle() && wasRandom && !AttacksRandomly()) Action.Kind = akNone;
}

int TKelgUnitItem::GetTopState() const {
  int top = 0;
  std::int32_t topPriority = 0;
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const std::int32_t priority = DataBase().KelStatus.ById(static_cast<std::int32_t>(i + 1)).Priority;
    if (top == 0 || priority >= topPriority) {
      top = static_cast<int>(i + 1);
      topPriority = priority;
    }
  }
  return top;
}

std::int32_t TKelgUnitItem::GetHitRateFactor() const {
  std::int32_t factor = 100;
  for (std::size_t i = 0; i < StateTurns.size(); ++i)
    if (StateTurns[i] > 0)
      factor = std::min(factor, DataBase().KelStatus.ById(static_cast<std::int32_t>(i + 1)).HitRateLimit);
  return factor;
}

void TKelgUnitItem::FullRecovery() {
  std::fill(StateTurns.begin(), StateTurns.end(), 0);
  HP = GetMaxHp();
  MP = GetMaxMp();
}

void TKelgUnitItem::EndBattleCleanup() {
  Action.Reset();
  BattleAttack = BattleDefense = BattleMind = BattleAgility = 0;
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const int id = static_cast<int>(i + 1);
    const TKelStatusItem& state = DataBase().KelStatus.ById(id);
    if (state.Persistence == 0 || state.RecoveryChance > 0) RemoveState(id);
  }
  AttributeShifts.clear();
  Charged = 0;
}

TKelgTurnEffect TKelgUnitItem::ApplyTurnEffects() {
  TKelgTurnEffect effect;
  const int top = GetTopState();
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const int id = static_cast<int>(i + 1);
    const TKelStatusItem& state = DataBase().KelStatus.ById(id);
    if (StateTurns[i] > state.MinTurns && Services.Random->Next(100) < state.RecoveryChance) {
      RemoveState(id);
      if (id == top) effect.RecoveredTopState = id;
      continue;
    }
    if (StateTurns[i] < kTurnLimit) ++StateTurns[i];
    TakeDamage(Narrow(static_cast<std::int64_t>(GetMaxHp()) * state.TurnHpPercent / 100 + state.TurnHpAmount), false);
    LoseMp(Narrow(static_cast<std::int64_t>(GetMaxMp()) * state.TurnMpPercent / 100 + state.TurnMpAmount));
  }
  if (top != 0 && HasState(top) && !DataBase().KelStatus.ById(top).ContinueMessage.empty())
    effect.ContinuingTopState = top;
  return effect;
}

std::vector<int> TKelgUnitItem::RecoverByDamage() {
  std::vector<int> recovered;
  if (!IsAlive()) return recovered;
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const int id = static_cast<int>(i + 1);
    if (Services.Random->Next(100) < DataBase().KelStatus.ById(id).DamageRecovery) {
      RemoveState(id);
      recovered.push_back(id);
    }
  }
  return recovered;
}

bool TKelgUnitItem::CanAct() const {
  return !AnyState([](const TKelStatusItem& state) { return state.Restriction == 1; });
}
bool TKelgUnitItem::AttacksEnemiesRandomly() const {
  return AnyState([](const TKelStatusItem& state) { return state.Restriction == 2; });
}
bool TKelgUnitItem::AttacksAlliesRandomly() const {
  return AnyState([](const TKelStatusItem& state) { return state.Restriction == 3; });
}
bool TKelgUnitItem::IsIncapacitated() const {
  return AnyState([](const TKelStatusItem& state) { return state.Restriction == 1 && state.RecoveryChance == 0; });
}

void TKelgUnitItem::RollInitiative() {
  const std::int32_t agility = GetAgility();
  Initiative = agility + Services.Random->Next(agility / 4 + 3);
  if (AttacksFirst() && Action.Kind == akBasic && Action.Basic == baAttack) Initiative += kFirstStrikeInitiative;
}

// ---- Skills ----

std::int32_t TKelgUnitItem::SkillCost(const TKelSkillItem& skill) const {
  return HasHalfMpCost() ? Narrow((static_cast<std::int64_t>(skill.MpCost) + 1) / 2) : skill.MpCost;
}

bool TKelgUnitItem::CanUseSkill(int skillId) const {
  if (skillId == 0) return false;
  const TKelSkillItem& skill = DataBase().KelSkill.ById(skillId);
  if (SkillCost(skill) > MP) return false;

  std::int32_t attackLimit = kNoSkillLimit, mindLimit = kNoSkillLimit;
  for (std::size_t i = 0; i < StateTurns.size(); ++i) {
    if (StateTurns[i] == 0) continue;
    const TKelStatusItem& state = DataBase().KelStatus.ById(static_cast<std::int32_t>(i + 1));
    if (state.LimitAttackSkills != 0) attackLimit = std::min(attackLimit, state.AttackSkillLimit);
    if (state.LimitMindSkills != 0) mindLimit = std::min(mindLimit, state.MindSkillLimit);
  }
  if (skill.AttackInfluence >= attackLimit || skill.MindInfluence >= mindLimit) return false;

  // Skills of a weapon's attribute need that weapon in hand.
  if (IsHero() && skill.AffectsAttribDefense == 0) {
    for (int i = 0; i < DataBase().KelAttrib.Count(); ++i) {
      const TKelAttribItem& attrib = *DataBase().KelAttrib.ItemAt(i);
      if (attrib.AttribKind == 0 && skill.HasAttrib(attrib.Key) && !AttackHasAttrib(attrib.Key)) return false;
    }
  }

  if (InMenu()) {
    const bool flying = Services.MapHero != nullptr && Services.MapHero->Flying;
    switch (skill.SkillType) {
      case skTeleport:
        return Services.System->TeleportAllowed != 0 && Services.Teleport != nullptr &&
               Services.Teleport->DestinationCount() > 0 && !flying;
      case skEscape:
        return Services.System->EscapeAllowed != 0 && Services.Teleport != nullptr &&
               Services.Teleport->EscapePoint().MapId > 0 && !flying;
      case skSwitch: return skill.UsableOnField != 0;
      case skNormal: {
        if (skill.Scope < ssSelf) return false;
        if (skill.AffectsHp != 0 || skill.AffectsMp != 0) return true;
        for (int i = 0; i < DataBase().KelStatus.Count(); ++i) {
          const TKelStatusItem& state = *DataBase().KelStatus.ItemAt(i);
          if (state.Persistence == 1 && skill.HasState(state.Key)) return true;
        }
        return false;
      }
      default: return false;
    }
  }
  if (InBattle()) {
    if (skill.SkillType == skNormal) return true;
    if (skill.SkillType == skSwitch) return skill.UsableInBattle != 0;
  }
  return false;
}

bool TKelgUnitItem::SkillIsUseful(const TKelSkillItem& skill) const {
  if (skill.SkillType == skSwitch) return true;
  if (skill.SkillType != skNormal) return false;
  if (skill.Scope < ssSelf) return IsAlive();
  const bool dead = HP <= 0 || HasState(kDeathState);
  if (dead) return skill.HasState(kDeathState);
  if (skill.AffectsHp || skill.AffectsMp || skill.AffectsAttack || skill.AffectsDefense || skill.AffectsMind ||
      skill.AffectsAgility)
    return true;
  for (std::size_t i = 0; i < StateTurns.size(); ++i)
    if (StateTurns[i] > 0 && skill.HasState(static_cast<int>(i + 1))) return true;
  if (skill.AffectsAttribDefense != 0)
    for (int i = 0; i < DataBase().KelAttrib.Count(); ++i)
      if (skill.HasAttrib(DataBase().KelAttrib.ItemAt(i)->Key)) return true;
  return false;
}

// ---- Effects on a target ----

std::int32_t TKelgUnitItem::AttackDamage(const TKelgUnitItem& target) const {
  const std::int32_t damage = std::max(0, GetAttack() / 2 - target.GetDefense() / 4);
  return ApplyAttribRates(DataBase(), target, damage, [this](int attribId) { return AttackHasAttrib(attribId); });
}

std::int32_t TKelgUnitItem::SkillEffectValue(const TKelSkillItem& skill, const TKelgUnitItem& target) const {
  std::int64_t value = static_cast<std::int64_t>(skill.BasePower) +
                       static_cast<std::int64_t>(GetAttack()) * skill.AttackInfluence / 20 +
                       static_cast<std::int64_t>(GetMind()) * skill.MindInfluence / 40;
  if (skill.Scope <= ssAllEnemies && skill.IgnoreDefense == 0)
    value -= static_cast<std::int64_t>(target.GetDefense()) * skill.AttackInfluence / 40 +
             static_cast<std::int64_t>(target.GetMind()) * skill.MindInfluence / 80;
  std::int32_t result = Narrow(std::max<std::int64_t>(value, 0));
  result = ApplyAttribRates(DataBase(), target, result, [&skill](int attribId) { return skill.HasAttrib(attribId); });
  if (skill.Variance >= 1) {
    const std::int64_t spread = std::max<std::int64_t>(1, static_cast<std::int64_t>(result) * skill.Variance / 10);
    const int draw = Services.Random->Next(Narrow(spread + 1));
    result = Narrow(result + static_cast<std::int64_t>(draw) - spread / 2);
  }
  return result;
}
