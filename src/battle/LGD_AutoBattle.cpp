// The automatic action of a hero: auto-battle heroes and heroes under a
// random-attack state. Values are real numbers with a small random tie-breaker.

#include <algorithm>
#include <vector>

#include "battle/LGD_Monster.h"
#include "data/LD_DataBase.h"
#include "shell/Random.h"
#include "state/LGD_PartyInfo.h"
#include "state/LGD_Player.h"

namespace {

bool TargetsEnemies(const TKelSkillItem& skill) { return skill.Scope <= ssAllEnemies; }

int FirstLivingEnemy(const TKelgMonster* troop) {
  for (int i = 0; troop != nullptr && i < troop->Count(); ++i)
    if (troop->ItemAt(i)->IsAlive()) return i;
  return -1;
}

// Index of the first highest value, -1 for an empty list.
int BestIndex(const std::vector<double>& values) {
  int best = -1;
  for (int i = 0; i < static_cast<int>(values.size()); ++i)
    if (best < 0 || values[static_cast<std::size_t>(i)] > values[static_cast<std::size_t>(best)]) best = i;
  return best;
}

}  // namespace

double TKelgPlayerItem::SkillTargetValue(const TKelSkillItem& skill, const TKelgUnitItem& target) const {
  const double maxMp = GetMaxMp();
  if (!TargetsEnemies(skill)) {
    if (!target.IsAlive()) return skill.HasState(kDeathState) ? skill.BasePower / 1000.0 + 1 : 0.0;
    if (skill.AffectsHp == 0 || target.GetMaxHp() <= 0) return 0;
    const double amount = std::min(SkillEffectValue(skill, target), target.GetMaxHp() - target.HP);
    double value = amount / target.GetMaxHp();
    if (maxMp > 0) value = std::max(value - skill.MpCost / maxMp / 8, 0.0);
    return value;
  }
  if (!target.IsAlive() || skill.AffectsHp == 0) return 0;
  const double amount = std::min(SkillEffectValue(skill, target), target.HP);
  double value = amount / target.HP;
  if (value == 1) value = 1.5;
  if (maxMp > 0) value = std::max(value - skill.MpCost / maxMp / 4, 0.0);
  if (Services.Troop != nullptr && target.IsEnemy() && FirstLivingEnemy(Services.Troop) == target.Key - 1)
    value = value * 1.5 + 0.5;
  return value;
}

double TKelgPlayerItem::AttackTargetValue(const TKelgUnitItem& target) const {
  if (!target.IsAlive()) return 0;
  const double amount = std::min(AttackDamage(target), target.HP);
  double value = amount / target.HP;
  if (value == 1) value = 1.5;
  if (Services.Troop != nullptr && FirstLivingEnemy(Services.Troop) == target.Key - 1) value = value * 1.5 + 0.5;
  if (value > 0) value = Services.Random->Next(100) / 100.0 + value * 1.5;
  return value;
}

namespace {

// One value per possible target of the skill's scope, in their order.
std::vector<double> SkillTargetValues(const TKelgPlayerItem& hero, const TKelSkillItem& skill) {
  std::vector<double> values;
  const TKelgUnitServices& services = hero.Services;
  if (TargetsEnemies(skill)) {
    for (int i = 0; services.Troop != nullptr && i < services.Troop->Count(); ++i)
      values.push_back(hero.SkillTargetValue(skill, *services.Troop->ItemAt(i)));
  } else if (skill.Scope == ssSelf) {
    values.push_back(hero.SkillTargetValue(skill, hero));
  } else {
    for (int i = 0; services.Party != nullptr && i < services.Party->MemberCount(); ++i)
      if (const TKelgPlayerItem* member = services.Party->Member(i))
        values.push_back(hero.SkillTargetValue(skill, *member));
  }
  return values;
}

double ScopeValue(const TKelSkillItem& skill, const std::vector<double>& values) {
  if (values.empty()) return 0;
  if (skill.Scope == ssAllEnemies || skill.Scope == ssAllAllies) {
    double sum = 0;
    for (double value : values) sum += value;
    return sum;
  }
  return *std::max_element(values.begin(), values.end());
}

}  // namespace

double TKelgPlayerItem::SkillValue(const TKelSkillItem& skill) const {
  if (skill.SkillType != skNormal || !CanUseSkill(skill.Key)) return 0;
  double value = ScopeValue(skill, SkillTargetValues(*this, skill));
  if (value > 0) value += Services.Random->Next(100) / 100.0;
  return value;
}

double TKelgPlayerItem::AttackValue() const {
  double best = 0;
  for (int i = 0; Services.Troop != nullptr && i < Services.Troop->Count(); ++i)
    best = std::max(best, AttackTargetValue(*Services.Troop->ItemAt(i)));
  return best;
}

void TKelgPlayerItem::ChooseAction() {
  Action.Reset();
  if (!CanAct()) return;
  const int troopSize = Services.Troop != nullptr ? Services.Troop->Count() : 0;
  if (AttacksEnemiesRandomly()) {
    Action.Kind = akBasic;
    Action.Basic = baAttack;
    Action.TargetKind = tkEnemy;
    Action.TargetIndex = Services.Random->Next(troopSize);
    return;
  }
  if (AttacksAlliesRandomly()) {
    Action.Kind = akBasic;
    Action.Basic = baAttack;
    Action.TargetKind = tkHero;
    Action.TargetIndex = Services.Random->Next(Services.Party != nullptr ? Services.Party->MemberCount() : 0);
    return;
  }

  // Each value is drawn once, so the choice and its target agree.
  double bestSkillValue = 0;
  const TKelSkillItem* bestSkill = nullptr;
  std::vector<double> bestTargets;
  for (std::int32_t skillId : Skills) {
    const TKelSkillItem* skill = DataBase().KelSkill.Find(skillId);
    if (skill == nullptr || skill->SkillType != skNormal || !CanUseSkill(skillId)) continue;
    std::vector<double> targets = SkillTargetValues(*this, *skill);
    double value = ScopeValue(*skill, targets);
    if (value > 0) value += Services.Random->Next(100) / 100.0;
    if (value > bestSkillValue) {
      bestSkillValue = value;
      bestSkill = skill;
      bestTargets = std::move(targets);
    }
  }
  std::vector<double> attackTargets;
  for (int i = 0; i < troopSize; ++i) attackTargets.push_back(AttackTargetValue(*Services.Troop->ItemAt(i)));
  const double attackValue = attackTargets.empty() ? 0 : *std::max_element(attackTargets.begin(), attackTargets.end());

  if (bestSkill != nullptr && attackValue < bestSkillValue) {
    Action.Kind = akSkill;
    Action.SkillId = bestSkill->Key;
    switch (bestSkill->Scope) {
      case ssOneEnemy:
        Action.TargetKind = tkEnemy;
        Action.TargetIndex = std::max(0, BestIndex(bestTargets));
        break;
      case ssAllEnemies: Action.TargetKind = tkTroop; break;
      case ssSelf:
        Action.TargetKind = tkHero;
        Action.TargetIndex = Services.Party != nullptr ? std::max(0, Services.Party->PositionOf(Key)) : 0;
        break;
      case ssOneAlly:
        Action.TargetKind = tkHero;
        Action.TargetIndex = std::max(0, BestIndex(bestTargets));
        break;
      default: Action.TargetKind = tkParty; break;
    }
    return;
  }
  Action.Kind = akBasic;
  Action.Basic = baAttack;
  if (AttacksAll()) {
    Action.TargetKind = tkTroop;
    return;
  }
  Action.TargetKind = tkEnemy;
  Action.TargetIndex = std::max(0, BestIndex(attackTargets));
}
