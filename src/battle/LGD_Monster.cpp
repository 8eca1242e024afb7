#include "battle/LGD_Monster.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "data/LD_DataBase.h"
#include "shell/Assets.h"
#include "shell/Random.h"
#include "state/LGD_PartyInfo.h"
#include "state/LGD_Player.h"
#include "state/LGD_System.h"
#include "data/StreamUtils.h"
#include "world/LGD_Screen.h"

namespace {

enum TMonsterActKind : std::uint8_t { makBasic, makSkill, makTransform };
enum TMonsterCondition : std::uint8_t {
  mcAlways, mcSwitch, mcTurn, mcLivingEnemies, mcHpPercent, mcMpPercent, mcAverageLevel, mcFatigue,
};

bool Within(std::int64_t value, std::int32_t lo, std::int32_t hi) { return value >= lo && value <= hi; }

}  // namespace

int RandomLivingHero(const TKelgUnitServices& services) {
  const TKelgPartyInfo* party = services.Party;
  if (party == nullptr) return -1;
  bool anyAlive = false;
  for (int i = 0; i < party->MemberCount() && !anyAlive; ++i)
    anyAlive = party->Member(i) != nullptr && party->Member(i)->IsAlive();
  // Drawing until a living member comes up would never end without one.
  if (!anyAlive) return -1;
  for (;;) {
    const int index = services.Random->Next(party->MemberCount());
    const TKelgPlayerItem* hero = party->Member(index);
    if (hero != nullptr && hero->IsAlive()) return index;
  }
}

// ---- Enemy ----

void TKelgMonsterItem::Clear() {
  TKelgUnitItem::Clear();
  EnemyId = 0;
  X = Y = 0;
  Sprite.Clear();
  FlashRed = FlashGreen = FlashBlue = 0;
  FlashStrength = 0;
  FlashFrames = BlinkFrames = FadeFrames = BurstFrames = 0;
}

const TKelMonsterItem& TKelgMonsterItem::Record() const { return DataBase().KelMonster.ById(EnemyId); }

std::string TKelgMonsterItem::GetName() const { return Record().Name; }
std::int32_t TKelgMonsterItem::GetMaxHp() const { return Record().MaxHp; }
std::int32_t TKelgMonsterItem::GetMaxMp() const { return Record().MaxMp; }
std::int32_t TKelgMonsterItem::GetBaseAttack() const { return Record().Attack; }
std::int32_t TKelgMonsterItem::GetBaseDefense() const { return Record().Defense; }
std::int32_t TKelgMonsterItem::GetBaseMind() const { return Record().Mind; }
std::int32_t TKelgMonsterItem::GetBaseAgility() const { return Record().Agility; }
int TKelgMonsterItem::GetAttribRank(int attribId) const { return Record().AttribRank(attribId); }
int TKelgMonsterItem::GetStateRank(int stateId) const { return Record().StateRank(stateId); }

double TKelgMonsterItem::GetCriticalRate() const {
  const TKelMonsterItem& record = Record();
  return record.CanCritical != 0 && record.CriticalChance > 0 ? 100.0 / record.CriticalChance : 0.0;
}

std::int32_t TKelgMonsterItem::GetHitRate() const { return Record().OftenMisses != 0 ? 70 : 90; }

void TKelgMonsterItem::LoadSprite() {
  Sprite.Clear();
  if (Services.Folders == nullptr) return;
  const TKelMonsterItem& record = Record();
  Sprite.LoadFromFile(FindAsset(*Services.Folders, record.GraphicName, "Monster", kImageExtensions), false);
  if (record.Hue != 0) Sprite.RotateHue(record.Hue);
}

void TKelgMonsterItem::SetupFromDatabase(std::int32_t enemyId) {
  Clear();
  EnemyId = enemyId;
  HP = GetMaxHp();
  MP = GetMaxMp();
  LoadSprite();
}

void TKelgMonsterItem::Transform(std::int32_t enemyId) {
  DataBase().KelMonster.ById(enemyId);  // an unknown enemy raises before anything changes
  EnemyId = enemyId;
  HP = std::min(HP, GetMaxHp());
  MP = std::max(MP, GetMaxMp());
  LoadSprite();
  StartFlash(31, 31, 31, 31, 20);
}

void TKelgMonsterItem::StartFlash(int red, int green, int blue, double strength, int frames) {
  FlashRed = red;
  FlashGreen = green;
  FlashBlue = blue;
  FlashStrength = strength;
  FlashFrames = frames;
}

void TKelgMonsterItem::UpdateEffects() {
  if (FlashFrames > 0) {
    --FlashFrames;
    FlashStrength -= FlashStrength / (FlashFrames + 1);
  }
  if (BlinkFrames > 0) --BlinkFrames;
  if (FadeFrames > 0) --FadeFrames;
  if (BurstFrames > 0) --BurstFrames;
}

// ---- Action choice ----

bool TKelgMonsterItem::ConditionHolds(const TKelMonsterActItem& act) const {
  switch (act.Condition) {
    case mcAlways: return true;
    case mcSwitch: return Services.System != nullptr && Services.System->Switch(act.ConditionSwitch) != 0;
    case mcTurn: return Services.Party != nullptr && Services.Party->TurnCondition(act.ConditionA, act.ConditionB);
    case mcLivingEnemies:
      return Services.Troop != nullptr && Within(Services.Troop->LivingCount(), act.ConditionA, act.ConditionB);
    case mcHpPercent: return Within(HpPercent(), act.ConditionA, act.ConditionB);
    case mcMpPercent: return Within(MpPercent(), act.ConditionA, act.ConditionB);
    case mcAverageLevel:
      return Services.Party != nullptr && Within(Services.Party->AverageLevel(), act.ConditionA, act.ConditionB);
    case mcFatigue:
      return Services.Party != nullptr && Within(Services.Party->Fatigue(), act.ConditionA, act.ConditionB);
    default: return false;
  }
}

std::vector<std::int64_t> TKelgMonsterItem::ActionWeights() const {
  const TKelMonsterAct& actions = Record().Actions;
  std::vector<std::int64_t> weights(static_cast<std::size_t>(actions.Count()), 0);
  for (int i = 0; i < actions.Count(); ++i) {
    const TKelMonsterActItem& act = *actions.ItemAt(i);
    if (!ConditionHolds(act)) continue;
    if (act.ActKind == makSkill && !CanUseSkill(act.SkillId)) continue;
    weights[static_cast<std::size_t>(i)] = act.Rating;
  }
  // Only actions rated within 9 of the best remain.
  const std::int64_t best = weights.empty() ? 0 : *std::max_element(weights.begin(), weights.end());
  for (std::int64_t& weight : weights)
    if (weight > 0) weight = std::max<std::int64_t>(0, weight + 10 - best);

  // Ally skills only when they would help someone.
  for (int i = 0; i < actions.Count(); ++i) {
    std::int64_t& weight = weights[static_cast<std::size_t>(i)];
    const TKelMonsterActItem& act = *actions.ItemAt(i);
    if (weight == 0 || act.ActKind != makSkill) continue;
    const TKelSkillItem& skill = DataBase().KelSkill.ById(act.SkillId);
    if (skill.SkillType != skNormal) continue;
    if (skill.Scope == ssSelf && !SkillIsUseful(skill)) weight = 0;
    if (skill.Scope == ssOneAlly || skill.Scope == ssAllAllies) {
      bool useful = false;
      for (int m = 0; Services.Troop != nullptr && m < Services.Troop->Count() && !useful; ++m)
        useful = Services.Troop->ItemAt(m)->SkillIsUseful(skill);
      if (!useful) weight = 0;
    }
  }
  return weights;
}

void TKelgMonsterItem::TakeAction(const TKelMonsterActItem& act) {
  switch (act.ActKind) {
    case makBasic:
      Action.Kind = akBasic;
      Action.Basic = act.BasicAction;
      if (act.BasicAction == baAttack || act.BasicAction == baDoubleAttack) {
        const int target = RandomLivingHero(Services);
        if (target < 0) {
          Action.Reset();
          return;
        }
        Action.TargetKind = tkHero;
        Action.TargetIndex = target;
      } else if (act.BasicAction == baSelfDestruct) {
        Action.TargetKind = tkParty;
      }
      break;
    case makSkill: {
      Action.Kind = akSkill;
      Action.SkillId = act.SkillId;
      const TKelSkillItem& skill = DataBase().KelSkill.ById(act.SkillId);
      if (skill.SkillType != skNormal) break;
      switch (skill.Scope) {
        case ssOneEnemy: {
          const int target = RandomLivingHero(Services);
          if (target < 0) {
            Action.Reset();
            return;
          }
          Action.TargetKind = tkHero;
          Action.TargetIndex = target;
          break;
        }
        case ssAllEnemies: Action.TargetKind = tkParty; break;
        case ssSelf:
          Action.TargetKind = tkEnemy;
          Action.TargetIndex = TroopIndex();
          break;
        case ssOneAlly: {
          Action.TargetKind = tkEnemy;
          const int size = Services.Troop != nullptr ? Services.Troop->Count() : 0;
          for (int attempt = 0; attempt < 100 && size > 0; ++attempt) {
            const int index = Services.Random->Next(size);
            if (Services.Troop->ItemAt(index)->SkillIsUseful(skill)) {
              Action.TargetIndex = index;
              break;
            }
          }
          break;
        }
        default: Action.TargetKind = tkTroop; break;
      }
      break;
    }
    case makTransform:
      Action.Kind = akTransform;
      Action.TransformTo = act.TransformInto;
      break;
    default: return;
  }
  if (act.SwitchOnAfter != 0) Action.SwitchOn = act.SwitchOnId;
  if (act.SwitchOffAfter != 0) Action.SwitchOff = act.SwitchOffId;
}

void TKelgMonsterItem::ChooseAction() {
  Action.Reset();
  if (!CanAct()) return;
  if (AttacksEnemiesRandomly() || Charged != 0) {
    const int target = RandomLivingHero(Services);
    if (target < 0) return;
    Action.Kind = akBasic;
    Action.Basic = baAttack;
    Action.TargetKind = tkHero;
    Action.TargetIndex = target;
    return;
  }
  if (AttacksAlliesRandomly()) {
    Action.Kind = akBasic;
    Action.Basic = baAttack;
    Action.TargetKind = tkEnemy;
    Action.TargetIndex = Services.Random->Next(Services.Troop != nullptr ? Services.Troop->Count() : 0);
    return;
  }

  const std::vector<std::int64_t> weights = ActionWeights();
  const std::int64_t sum = std::accumulate(weights.begin(), weights.end(), std::int64_t{0});
  if (sum <= 0) return;
  const std::int64_t draw = Services.Random->Next(static_cast<int>(std::min<std::int64_t>(sum, INT32_MAX)));
  std::int64_t reach = 0;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    reach += weights[i];
    if (draw < reach) {
      TakeAction(*Record().Actions.ItemAt(static_cast<int>(i)));
      return;
    }
  }
  throw EKelAssertion("LGD_Monster", 606);
}

// ---- Troop ----

std::unique_ptr<TCatalogItem> TKelgMonster::CreateItem(std::int32_t key) const {
  auto enemy = std::make_unique<TKelgMonsterItem>(Services);
  enemy->SetKey(key);
  return enemy;
}

TKelgMonsterItem& TKelgMonster::Monster(int index) const {
  TKelgMonsterItem* enemy = ItemAt(index);
  if (enemy == nullptr) throw EKelInvalid("Invalid Monster Chara");
  return *enemy;
}

void TKelgMonster::SetupTroop(std::int32_t troopId) {
  Clear();
  const TKelMonGroupItem& troop = Services.DataBase->KelMonGroup.ById(troopId);
  TroopId = troopId;
  for (int i = 0; i < troop.Members.Count(); ++i) {
    const TKelMonGroupMonsterItem& member = *troop.Members.ItemAt(i);
    auto& enemy = static_cast<TKelgMonsterItem&>(Get(i + 1));
    enemy.SetupFromDatabase(member.MonsterId);
    enemy.X = member.X;
    enemy.Y = member.Y;
    enemy.Present = member.Hidden != 0 ? 0 : 1;
  }
}

std::int32_t TKelgMonster::AverageAgility() const {
  if (Count() == 0) return 1;
  std::int64_t sum = 0;
  for (int i = 0; i < Count(); ++i) sum += ItemAt(i)->GetAgility();
  return static_cast<std::int32_t>(std::max<std::int64_t>(1, sum / Count()));
}

int TKelgMonster::LivingCount() const {
  int count = 0;
  for (int i = 0; i < Count(); ++i)
    if (ItemAt(i)->IsAlive()) ++count;
  return count;
}

void TKelgMonster::ChooseActions() {
  for (int i = 0; i < Count(); ++i) ItemAt(i)->ChooseAction();
}

void TKelgMonster::UpdateEffects() {
  for (int i = 0; i < Count(); ++i) ItemAt(i)->UpdateEffects();
}

std::vector<TMonsterOrder> TKelgMonster::DrawOrder() const {
  std::vector<TMonsterOrder> order;
  for (int i = 0; i < Count(); ++i) {
    const TKelgMonsterItem& enemy = *ItemAt(i);
    if (!enemy.IsShown()) continue;
    order.push_back({i, enemy.Y + enemy.Sprite.GetHeight() / 2 + (enemy.BurstFrames > 0 ? 1000 : 0)});
  }
  std::sort(order.begin(), order.end(), [](const TMonsterOrder& a, const TMonsterOrder& b) {
    return a.Key != b.Key ? a.Key < b.Key : a.Index > b.Index;
  });
  return order;
}

void TKelgMonster::Draw(TVantraBoard& board, const TKelgScreen* screen) {
  for (const TMonsterOrder& entry : DrawOrder()) {
    TKelgMonsterItem& enemy = *ItemAt(entry.Index);
    if (enemy.HP == 0 && enemy.FadeFrames == 0) continue;
    if (enemy.BlinkFrames > 0 && enemy.BlinkFrames % 10 > 4) continue;
    int opacity = 255;
    if (enemy.FadeFrames > 0) opacity = enemy.FadeFrames * 7;
    else if (enemy.BurstFrames > 0) opacity = enemy.BurstFrames * 12;
    if (Services.DataBase->KelMonster.ById(enemy.EnemyId).Translucent != 0) opacity = opacity * 160 / 255;
    enemy.Sprite.Opacity = opacity;
    enemy.Sprite.OwnColor.SetFlash(enemy.FlashRed, enemy.FlashGreen, enemy.FlashBlue,
                                   static_cast<int>(std::nearbyint(enemy.FlashStrength)), true);
    if (screen != nullptr) screen->ApplyTo(enemy.Sprite);
    const double scale = enemy.BurstFrames > 0 ? 1 + (20 - enemy.BurstFrames) / 20.0 : 1.0;
    const int width = enemy.Sprite.GetWidth(), height = enemy.Sprite.GetHeight();
    const int shakeX = screen != nullptr ? screen->ShakeX : 0;
    board.DrawZoom(enemy.X + shakeX, enemy.Y, scale, width / 2, height / 2, {0, 0, width, height}, enemy.Sprite);
  }
}
