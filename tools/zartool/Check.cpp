#include "Check.h"

#include <set>

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "shell/Assets.h"

namespace {

class TChecker {
 public:
  TChecker(const TCheckOptions& options, const TKelDataBase& database)
      : Options_(options), DataBase_(database) {
    Folders_.game = options.GameFolder;
    Folders_.package = options.PackageFolder.empty() ? ReadPackageFolder(std::nullopt) : options.PackageFolder;
  }

  std::vector<std::string> Problems;

  void Report(const std::string& where, const std::string& what) { Problems.push_back(where + ": " + what); }

  template <class List>
  void Reference(const List& list, std::int32_t id, const char* kind, const std::string& where) {
    if (list.Find(id) == nullptr) Report(where, std::string(kind) + " " + std::to_string(id) + " does not exist");
  }

  void Asset(const std::string& name, std::string_view folder, std::span<const std::string_view> extensions,
             const std::string& where) {
    if (!Options_.CheckAssets || name.empty() || name == kNoSound) return;
    std::string found = FindAsset(Folders_, name, folder, extensions);
    if (found.empty() || found == name) Report(where, "asset \"" + name + "\" is missing from folder " + std::string(folder));
  }
  void Image(const std::string& name, std::string_view folder, const std::string& where) {
    Asset(name, folder, kImageExtensions, where);
  }
  void Music(const TKelMusic& music, const std::string& where) { Asset(music.Name, "Music", kMusicExtensions, where); }
  void Sound(const TKelSound& sound, const std::string& where) { Asset(sound.Name, "Sound", kSoundExtensions, where); }

  void DataBase();
  void MapTree(const TKelMapTree& tree);
  void Script(const TKelEventScriptList& lines, const std::string& where);
  const TKelMapTree* Tree = nullptr;
  void Map(const TKelMap& map, const std::string& where);

 private:
  void Heroes();
  void SkillsAndItems();
  void Enemies();
  void Others();
  const TCheckOptions& Options_;
  const TKelDataBase& DataBase_;
  AssetFolders Folders_;
};

std::string At(const char* table, std::int32_t id) { return std::string(table) + " " + std::to_string(id); }

void TChecker::DataBase() {
  const TKelSystem& system = DataBase_.KelSystem;
  for (int i = 0; i < system.PartySize(); ++i) Reference(DataBase_.KelPlayer, system.PartyMember(i), "hero", "KelSystem.Party");
  for (int i = 0; i < system.TestParty.Count(); ++i) {
    const auto& member = *system.TestParty.ItemAt(i);
    std::string where = "KelSystem.TestParty " + std::to_string(member.Key);
    Reference(DataBase_.KelPlayer, member.HeroId, "hero", where);
    for (int slot = 0; slot < 5; ++slot)
      if (member.EquipmentAt(slot) != 0) Reference(DataBase_.KelItem, member.EquipmentAt(slot), "item", where);
  }
  Image(system.BoatName, "CharSet", "KelSystem.BoatName");
  Image(system.ShipName, "CharSet", "KelSystem.ShipName");
  Image(system.AirshipName, "CharSet", "KelSystem.AirshipName");
  Image(system.TitleName, "Title", "KelSystem.TitleName");
  Image(system.GameOverName, "GameOver", "KelSystem.GameOverName");
  Image(system.SystemName, "System", "KelSystem.SystemName");
  Image(system.TestBackground, "Backdrop", "KelSystem.TestBackground");
  const std::pair<const TKelMusic*, const char*> musics[] = {
      {&system.TitleMusic, "TitleMusic"}, {&system.BattleMusic, "BattleMusic"}, {&system.VictoryMusic, "VictoryMusic"},
      {&system.InnMusic, "InnMusic"}, {&system.BoatMusic, "BoatMusic"}, {&system.ShipMusic, "ShipMusic"},
      {&system.AirshipMusic, "AirshipMusic"}, {&system.GameOverMusic, "GameOverMusic"}};
  for (auto [music, name] : musics) Music(*music, std::string("KelSystem.") + name);
  const std::pair<const TKelSound*, const char*> sounds[] = {
      {&system.CursorSound, "CursorSound"}, {&system.DecisionSound, "DecisionSound"},
      {&system.CancelSound, "CancelSound"}, {&system.BuzzerSound, "BuzzerSound"},
      {&system.BattleStartSound, "BattleStartSound"}, {&system.EscapeSound, "EscapeSound"},
      {&system.EnemyAttackSound, "EnemyAttackSound"}, {&system.EnemyDamageSound, "EnemyDamageSound"},
      {&system.HeroDamageSound, "HeroDamageSound"}, {&system.EvasionSound, "EvasionSound"},
      {&system.EnemyDeathSound, "EnemyDeathSound"}, {&system.ItemSound, "ItemSound"}};
  for (auto [sound, name] : sounds) Sound(*sound, std::string("KelSystem.") + name);
  Heroes();
  SkillsAndItems();
  Enemies();
  Others();
}

void TChecker::Heroes() {
  for (int i = 0; i < DataBase_.KelPlayer.Count(); ++i) {
    const auto& hero = *DataBase_.KelPlayer.ItemAt(i);
    std::string where = At("KelPlayer", hero.Key);
    Image(hero.CharSetName, "CharSet", where + ".CharSetName");
    Image(hero.FaceName, "FaceSet", where + ".FaceName");
    for (int slot = 0; slot < 5; ++slot)
      if (hero.InitialEquipmentAt(slot) != 0)
        Reference(DataBase_.KelItem, hero.InitialEquipmentAt(slot), "item", where + ".InitialEquipment");
    for (int j = 0; j < hero.Learning.Count(); ++j)
      Reference(DataBase_.KelSkill, hero.Learning.ItemAt(j)->SkillId, "skill", where + ".Learning");
  }
}

void TChecker::SkillsAndItems() {
  for (int i = 0; i < DataBase_.KelSkill.Count(); ++i) {
    const auto& skill = *DataBase_.KelSkill.ItemAt(i);
    Sound(skill.Sound, At("KelSkill", skill.Key) + ".Sound");
  }
  for (int i = 0; i < DataBase_.KelItem.Count(); ++i) {
    const auto& item = *DataBase_.KelItem.ItemAt(i);
    if (item.ItemType == itBook || item.ItemType == itSpecial)
      Reference(DataBase_.KelSkill, item.SkillId, "skill", At("KelItem", item.Key) + ".SkillId");
  }
}

void TChecker::Enemies() {
  for (int i = 0; i < DataBase_.KelMonster.Count(); ++i) {
    const auto& enemy = *DataBase_.KelMonster.ItemAt(i);
    std::string where = At("KelMonster", enemy.Key);
    Image(enemy.GraphicName, "Monster", where + ".GraphicName");
    if (enemy.DropItem != 0) Reference(DataBase_.KelItem, enemy.DropItem, "item", where + ".DropItem");
    for (int j = 0; j < enemy.Actions.Count(); ++j) {
      const auto& action = *enemy.Actions.ItemAt(j);
      if (action.ActKind == 1) Reference(DataBase_.KelSkill, action.SkillId, "skill", where + ".Actions");
      if (action.ActKind == 2) Reference(DataBase_.KelMonster, action.TransformInto, "enemy", where + ".Actions");
    }
  }
  for (int i = 0; i < DataBase_.KelMonGroup.Count(); ++i) {
    const auto& troop = *DataBase_.KelMonGroup.ItemAt(i);
    for (int j = 0; j < troop.Members.Count(); ++j)
      Reference(DataBase_.KelMonster, troop.Members.ItemAt(j)->MonsterId, "enemy", At("KelMonGroup", troop.Key) + ".Members");
    for (int j = 0; j < troop.Pages.Count(); ++j)
      Script(troop.Pages.ItemAt(j)->Lines, At("KelMonGroup", troop.Key) + " page " + std::to_string(troop.Pages.ItemAt(j)->Key));
  }
}

void TChecker::Others() {
  for (int i = 0; i < DataBase_.KelGround.Count(); ++i) {
    const auto& ground = *DataBase_.KelGround.ItemAt(i);
    Image(ground.BattleBackground, "Backdrop", At("KelGround", ground.Key) + ".BattleBackground");
  }
  for (int i = 0; i < DataBase_.KelAnimation.Count(); ++i) {
    const auto& animation = *DataBase_.KelAnimation.ItemAt(i);
    std::string where = At("KelAnimation", animation.Key);
    Image(animation.GraphicName, "Battle", where + ".GraphicName");
    for (int j = 0; j < animation.Timings.Count(); ++j) Sound(animation.Timings.ItemAt(j)->Sound, where + ".Timings");
  }
  for (int i = 0; i < DataBase_.KelChipSet.Count(); ++i) {
    const auto& chipSet = *DataBase_.KelChipSet.ItemAt(i);
    Image(chipSet.GraphicName, "ChipSet", At("KelChipSet", chipSet.Key) + ".GraphicName");
  }
  for (int i = 0; i < DataBase_.KelCommonEvent.Count(); ++i) {
    const auto& event = *DataBase_.KelCommonEvent.ItemAt(i);
    Script(event.Lines, At("KelCommonEvent", event.Key));
  }
}

void TChecker::MapTree(const TKelMapTree& tree) {
  for (int i = 0; i < tree.Count(); ++i) {
    const auto& item = *tree.TCatalog::ItemAt(i);
    const auto& map = static_cast<const TKelMapTreeItem&>(item);
    std::string where = "ZAR_RT.kmt map " + std::to_string(map.Key);
    if (map.ParentId != 0 && tree.Find(map.ParentId) == nullptr)
      Report(where, "parent map " + std::to_string(map.ParentId) + " does not exist");
    if (tree.ParentChainLoops(map.Key)) Report(where, "the parent chain loops");
    for (int j = 0; j < map.Encounters.Count(); ++j)
      Reference(DataBase_.KelMonGroup, map.Encounters.ItemAt(j)->TroopId, "troop", where + ".Encounters");
    if (map.MusicType == 2) Music(map.Music, where + ".Music");
    if (map.BackgroundType == 2) Image(map.BackgroundName, "Backdrop", where + ".BackgroundName");
  }
  const auto& start = tree.StartPosition;
  const std::pair<std::int32_t, const char*> starts[] = {{start.PartyMapId, "PartyMapId"},
                                                         {start.BoatMapId, "BoatMapId"},
                                                         {start.ShipMapId, "ShipMapId"},
                                                         {start.AirshipMapId, "AirshipMapId"}};
  for (auto [mapId, name] : starts)
    if (mapId != 0 || std::string(name) == "PartyMapId") Reference(tree, mapId, "map", std::string("ZAR_RT.kmt StartPosition.") + name);
}

void TChecker::Map(const TKelMap& map, const std::string& where) {
  Reference(DataBase_.KelChipSet, map.ChipSetId, "chip set", where + ".ChipSetId");
  if (map.UsePanorama) Image(map.PanoramaName, "Panorama", where + ".PanoramaName");
  for (int i = 0; i < map.Events.Count(); ++i) {
    const auto& event = *map.Events.ItemAt(i);
    for (int j = 0; j < event.Pages.Count(); ++j) {
      const auto& page = *event.Pages.ItemAt(j);
      std::string at = where + " event " + std::to_string(event.Key) + " page " + std::to_string(page.Key);
      Image(page.CharSetName, "CharSet", at + ".CharSetName");
      if (page.Condition.Flags & ecItem) Reference(DataBase_.KelItem, page.Condition.ItemId, "item", at + ".Condition");
      if (page.Condition.Flags & ecHero) Reference(DataBase_.KelPlayer, page.Condition.HeroId, "hero", at + ".Condition");
      for (const auto& command : page.MoveRoute.Commands) {
        if (command.Code == mcChangeGraphic) Image(command.GraphicName, "CharSet", at + ".MoveRoute");
        if (command.Code == mcPlaySound) Asset(command.SoundName, "Sound", kSoundExtensions, at + ".MoveRoute");
      }
      Script(page.Lines, at);
    }
  }
}

// Names and ids that script lines give as constants.
void TChecker::Script(const TKelEventScriptList& lines, const std::string& where) {
  const auto& db = DataBase_;
  for (int i = 0; i < lines.Count(); ++i) {
    const auto& line = lines.Line(i);
    std::string at = where + " line " + std::to_string(i + 1);
    auto p = [&line](int index) { return line.Param(index); };
    switch (line.Code) {
      case 10130: Image(line.Text, "FaceSet", at); break;
      case 10320: if (p(1) == 0 && p(2) != 0) Reference(db.KelItem, p(2), "item", at); break;
      case 10330: if (p(1) == 0) Reference(db.KelPlayer, p(2), "hero", at); break;
      case 10410: case 10420: case 10430: case 10460: case 10470: case 10490: case 10500:
        if (p(0) == 1) Reference(db.KelPlayer, p(1), "hero", at);
        break;
      case 10440:
        if (p(0) == 1) Reference(db.KelPlayer, p(1), "hero", at);
        if (p(3) == 0) Reference(db.KelSkill, p(4), "skill", at);
        break;
      case 10450:
        if (p(0) == 1) Reference(db.KelPlayer, p(1), "hero", at);
        if (p(2) == 0 && p(3) == 0 && p(4) != 0) Reference(db.KelItem, p(4), "item", at);
        break;
      case 10480:
        if (p(0) == 1) Reference(db.KelPlayer, p(1), "hero", at);
        Reference(db.KelStatus, p(3), "state", at);
        break;
      case 10630: Reference(db.KelPlayer, p(0), "hero", at); Image(line.Text, "CharSet", at); break;
      case 10640: Reference(db.KelPlayer, p(0), "hero", at); Image(line.Text, "FaceSet", at); break;
      case 10650: Image(line.Text, "CharSet", at); break;
      case 10660: case 11510: Asset(line.Text, "Music", kMusicExtensions, at); break;
      case 10670: case 11550: Asset(line.Text, "Sound", kSoundExtensions, at); break;
      case 10680: Image(line.Text, "System", at); break;
      case 10710:
        if (p(0) == 0) Reference(db.KelMonGroup, p(1), "troop", at);
        Image(line.Text, "Backdrop", at);
        break;
      case 10720:
        for (int k = 4; k < line.ParamCount(); ++k) Reference(db.KelItem, p(k), "item", at);
        break;
      case 10810: if (Tree != nullptr) Reference(*Tree, p(0), "map", at); break;
      case 10850: if (Tree != nullptr && p(1) == 0) Reference(*Tree, p(2), "map", at); break;
      case 11110: Image(line.Text, "Picture", at); break;
      case 11210: Reference(db.KelAnimation, p(0), "animation", at); break;
      case 11560: Asset(line.Text, "Movie", kMovieExtensions, at); break;
      case 11720: Image(line.Text, "Panorama", at); break;
      case 12330: if (p(0) == 0) Reference(db.KelCommonEvent, p(1), "common event", at); break;
      case 13130: Reference(db.KelStatus, p(2), "state", at); break;
      case 13210: Image(line.Text, "Backdrop", at); break;
      case 13260: if (p(0) != 0) Reference(db.KelAnimation, p(0), "animation", at); break;
      default: break;
    }
  }
}

}  // namespace

std::vector<std::string> CheckGame(const TCheckOptions& options) {
  TKelDataBase database;
  try {
    database.Load(options.GameFolder);
  } catch (const std::exception& e) {
    return {e.what()};
  }
  TChecker checker(options, database);
  TKelMapTree tree;
  try {
    tree.Load(options.GameFolder);
  } catch (const std::exception& e) {
    checker.DataBase();
    checker.Problems.push_back(e.what());
    return checker.Problems;
  }
  checker.Tree = &tree;
  checker.DataBase();
  checker.MapTree(tree);
  for (int i = 0; i < tree.Count(); ++i) {
    const auto& item = *tree.TCatalogOf::ItemAt(i);
    if (item.NodeType != ntMap) continue;
    TKelMap map;
    try {
      map.LoadMap(options.GameFolder, item.Key);
    } catch (const std::exception& e) {
      checker.Problems.push_back(e.what());
      continue;
    }
    checker.Map(map, MapFileName(item.Key));
  }
  return checker.Problems;
}
