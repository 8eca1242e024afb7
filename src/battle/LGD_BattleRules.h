#pragma once
// The chances of battle: hits, evasion, critical hits, the final attack
// damage, skill hits, state infliction and the escape chance. Every draw
// comes from the program's one generator.

#include <cstdint>

class TKelgUnitItem;
class TKelSkillItem;
class TKelRandom;

// Miss chance of a normal attack in percent (real).
double AttackMissPercent(const TKelgUnitItem& attacker, const TKelgUnitItem& target);
bool AttackHits(const TKelgUnitItem& attacker, const TKelgUnitItem& target, TKelRandom& random);

// Critical chance in percent: none on the attacker's own side or against armour that prevents it.
double CriticalPercent(const TKelgUnitItem& attacker, const TKelgUnitItem& target);
bool IsCriticalHit(const TKelgUnitItem& attacker, const TKelgUnitItem& target, TKelRandom& random);

// The damage of a normal attack as the battle applies it: tripled by a
// critical hit, else doubled (and the charge spent) when charged; then the variance.
std::int32_t FinalAttackDamage(TKelgUnitItem& attacker, const TKelgUnitItem& target, bool critical, TKelRandom& random);

// Success chance of a skill in percent.
std::int32_t SkillHitChance(const TKelSkillItem& skill, const TKelgUnitItem& user, const TKelgUnitItem& target);

// Tries state s with the chance in percent; true when it took hold.
bool TryInflictState(TKelgUnitItem& target, int stateId, std::int32_t chance, TKelRandom& random);
// The states of the attacker's weapons on a target that survived the attack.
void InflictAttackStates(const TKelgUnitItem& attacker, TKelgUnitItem& target, TKelRandom& random);

// First-turn escape chance in percent from the average agilities.
std::int32_t EscapeChance(std::int32_t troopAverageAgility, std::int32_t partyAverageAgility);
