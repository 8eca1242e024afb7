#include "battle/LGD_BattleRules.h"

#include <algorithm>
#include <cmath>

#include "battle/LGD_Unit.h"
#include "data/LD_DataBase.h"
#include "shell/Random.h"

namespace {

// The evasion part shared by attacks and skills.
double AdjustForEvasion(double missPercent, const TKelgUnitItem& attacker, const TKelgUnitItem& target) {
  if (!attacker.IgnoresEvasion()) {
    // A halved agility can be 0; it counts as 1 rather than dividing by zero.
    const double ratio = static_cast<double>(target.GetAgility()) / std::max(1, attacker.GetAgility());
    missPercent = ((ratio - 1) * 0.5 + 1) * missPercent;
    if (target.HasRaisedEvasion()) missPercent += 25;
  }
  if (!target.CanAct()) missPercent = 0;
  return missPercent;
}

}  // namespace

double AttackMissPercent(const TKelgUnitItem& attacker, const TKelgUnitItem& target) {
  const double missPercent = 100 - attacker.GetHitRate() * attacker.GetHitRateFactor() / 100;
  return AdjustForEvasion(missPercent, attacker, target);
}

bool AttackHits(const TKelgUnitItem& attacker, const TKelgUnitItem& target, TKelRandom& random) {
  return !(random.Next(10000) < AttackMissPercent(attacker, target) * 100);
}

double CriticalPercent(const TKelgUnitItem& attacker, const TKelgUnitItem& target) {
  if (target.PreventsCritical() || attacker.IsSameSide(target)) return 0;
  return attacker.GetCriticalRate();
}

bool IsCriticalHit(const TKelgUnitItem& attacker, const TKelgUnitItem& target, TKelRandom& random) {
  return random.Next(10000) < CriticalPercent(attacker, target) * 100;
}

std::int32_t FinalAttackDamage(TKelgUnitItem& attacker, const TKelgUnitItem& target, bool critical, TKelRandom& random) {
  std::int64_t damage = attacker.AttackDamage(target);
  if (critical) {
    damage *= 3;
  } else if (attacker.Charged != 0) {
    damage *= 2;
    attacker.Charged = 0;
  }
  const std::int64_t spread = std::max<std::int64_t>(1, damage * 4 / 10);
  damage += random.Next(static_cast<int>(std::min<std::int64_t>(spread + 1, INT32_MAX))) - spread / 2;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(damage, INT32_MIN, INT32_MAX));
}

std::int32_t SkillHitChance(const TKelSkillItem& skill, const TKelgUnitItem& user, const TKelgUnitItem& target) {
  constexpr std::int32_t kEvasionFailure = 3;
  if (skill.FailureMessage != kEvasionFailure || skill.Scope > ssAllEnemies) return skill.HitRate;
  const std::int32_t hit = user.GetHitRateFactor() * skill.HitRate / 100;
  const double missPercent = AdjustForEvasion(100 - hit, user, target);
  return 100 - static_cast<std::int32_t>(std::trunc(missPercent));
}

bool TryInflictState(TKelgUnitItem& target, int stateId, std::int32_t chance, TKelRandom& random) {
  if (target.HasState(stateId)) return false;
  const TKelStatusItem& state = target.Services.DataBase->KelStatus.ById(stateId);
  const std::int64_t ranked = static_cast<std::int64_t>(chance) * state.Chance(target.GetStateRank(stateId)) / 100;
  const std::int64_t effective = ranked * (100 - target.StateProtection(stateId)) / 100;
  if (!(random.Next(100) < effective)) return false;
  target.AddState(stateId);
  return true;
}

void InflictAttackStates(const TKelgUnitItem& attacker, TKelgUnitItem& target, TKelRandom& random) {
  if (!target.IsAlive()) return;
  const TKelStatus& states = target.Services.DataBase->KelStatus;
  for (int i = 0; i < states.Count(); ++i) {
    const int stateId = states.ItemAt(i)->Key;
    const std::int32_t chance = attacker.AttackStateChance(stateId);
    if (chance >= 1 && !target.HasState(stateId)) TryInflictState(target, stateId, chance, random);
  }
}

std::int32_t EscapeChance(std::int32_t troopAverageAgility, std::int32_t partyAverageAgility) {
  const double ratio = 100.0 * troopAverageAgility / std::max(1, partyAverageAgility);
  const double rounded = std::nearbyint(ratio);  // halves to the even neighbour
  return static_cast<std::int32_t>(std::clamp(150.0 - rounded, 0.0, 100.0));
}
