#include "data/LD_Vocabulary.h"

namespace {

const char* const kTextNames[kVocabularySize] = {
    nullptr,
    // 1..37: battle lines
    "BattleOpening", "FirstStrike", "Escaped", "EscapeFailed", "Victory", "Defeat", "ExpGained", "GoldGainedBefore",
    "GoldGainedAfter", "ItemGained", "NormalAttack", "EnemyCritical", "HeroCritical", "Defends", "Watches",
    "GathersStrength", "SelfDestructs", "EnemyEscapes", "Transforms", "EnemyDamaged", "EnemyUndamaged", "HeroDamaged",
    "HeroUndamaged", "SkillFailed1", "SkillFailed2", "SkillFailed3", "SkillFailed4", "ItemUsed", "Restored",
    "ParameterRose", "ParameterFell", "EnemyAbsorbed", "HeroAbsorbed", "ResistanceRose", "ResistanceFell", "LevelUp",
    "SkillLearned", nullptr, nullptr, nullptr,
    // 41..51, 54..64, 67..77: shop sets
    "Shop1Greeting", "Shop1Regreeting", "Shop1Buy", "Shop1Sell", "Shop1Leave", "Shop1BuyWhich", "Shop1BuyHowMany",
    "Shop1Bought", "Shop1SellWhich", "Shop1SellHowMany", "Shop1Sold", nullptr, nullptr, "Shop2Greeting",
    "Shop2Regreeting", "Shop2Buy", "Shop2Sell", "Shop2Leave", "Shop2BuyWhich", "Shop2BuyHowMany", "Shop2Bought",
    "Shop2SellWhich", "Shop2SellHowMany", "Shop2Sold", nullptr, nullptr, "Shop3Greeting", "Shop3Regreeting", "Shop3Buy",
    "Shop3Sell", "Shop3Leave", "Shop3BuyWhich", "Shop3BuyHowMany", "Shop3Bought", "Shop3SellWhich", "Shop3SellHowMany",
    "Shop3Sold", nullptr, nullptr,
    // 80..89: inn sets
    "Inn1Greeting", "Inn1Price", "Inn1Question", "Inn1Stay", "Inn1Cancel", "Inn2Greeting", "Inn2Price", "Inn2Question",
    "Inn2Stay", "Inn2Cancel", nullptr, nullptr,
    // 92..95
    "ItemsHeld", "ItemsEquipped", nullptr, "Currency", nullptr, nullptr, nullptr, nullptr, nullptr,
    // 101..117: commands
    "CommandFight", "CommandAuto", "CommandEscape", "CommandAttack", "CommandDefend", "CommandItem", "CommandSkill",
    "CommandEquipment", nullptr, "CommandSave", nullptr, "CommandQuit", nullptr, "TitleNewGame", "TitleContinue",
    nullptr, "TitleShutDown", nullptr, nullptr, nullptr, nullptr, nullptr,
    // 123..140: words and labels
    "LevelWord", "HpWord", "MpWord", "NormalCondition", "ExpShort", "LevelShort", "HpShort", "MpShort", "MpCost",
    "Attack", "Defense", "Mind", "Agility", "Weapon", "Shield", "Armor", "Helmet", "Accessory", nullptr, nullptr,
    nullptr, nullptr, nullptr,
    // 146..153: save screen and quit question
    "SavePrompt", "LoadPrompt", "FileLabel", nullptr, nullptr, "QuitQuestion", "QuitYes", "QuitNo",
};

constexpr int kShopFirst[] = {41, 54, 67};
constexpr int kInnFirst[] = {80, 85};

}  // namespace

bool TKelVocabulary::IsTextId(int id) { return id >= 1 && id < kVocabularySize && kTextNames[id] != nullptr; }

void TKelVocabulary::DescribeField(int id, TCatalogVarData& v, bool) {
  // Every text is written, even when empty.
  if (IsTextId(id)) v.String(kTextNames[id], &Texts_[static_cast<std::size_t>(id)], false);
}

void TKelVocabulary::Clear() {
  TCatalogBaseItem::Clear();
  for (auto& text : Texts_) text.clear();
}

const std::string& TKelVocabulary::Text(int id) const {
  if (id < 0 || id >= kVocabularySize) return Texts_[0];
  return Texts_[static_cast<std::size_t>(id)];
}

void TKelVocabulary::SetText(int id, std::string text) {
  if (IsTextId(id)) Texts_[static_cast<std::size_t>(id)] = std::move(text);
}

bool TKelVocabulary::ShopMessages(int set, TShopMessages& messages) const {
  if (set < 0 || set > 2) return false;
  for (int i = 0; i < kShopMessageCount; ++i) messages[static_cast<std::size_t>(i)] = &Text(kShopFirst[set] + i);
  return true;
}

bool TKelVocabulary::InnMessages(int set, TInnMessages& messages) const {
  if (set < 0 || set > 1) return false;
  for (int i = 0; i < kInnMessageCount; ++i) messages[static_cast<std::size_t>(i)] = &Text(kInnFirst[set] + i);
  return true;
}
