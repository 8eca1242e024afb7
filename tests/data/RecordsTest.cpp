#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "TestBytes.h"
#include "data/LD_DataBase.h"
#include "data/LD_Event.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"

namespace {

std::vector<std::uint8_t> Script(const TKelEventScriptList& lines) {
  TStreamWriter writer;
  lines.SaveToStream(writer);
  return writer.TakeBytes();
}

bool Contains(const std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& part) {
  return std::search(bytes.begin(), bytes.end(), part.begin(), part.end()) != bytes.end();
}

}  // namespace

TEST(Script, EndLineAndParameterLine) {
  auto end = Hex("00 00 00 00");
  TStreamReader reader(end, "script");
  TKelEventScriptList lines;
  lines.LoadFromStream(reader);
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.Line(0).Code, 0);
  EXPECT_EQ(lines.Line(0).ParamCount(), 0);

  TKelEventScriptList list;
  auto& line = list.AddLine();
  line.Code = 10110;
  line.Indent = 1;
  line.Text = "abc";
  line.Params = {1, -1};
  EXPECT_EQ(Script(list), Hex("CE 7E 01 03 61 62 63 02 01 8F FF FF FF 7F"));
  EXPECT_EQ(line.Param(2), 0);
  line.SetParam(5, 9);
  EXPECT_EQ(line.ParamCount(), 2);
}

TEST(Script, PageRebuildsItsBufferFromTheLinesBeforeWriting) {
  TKelEventPageItem page;
  EXPECT_EQ(page.Lines.Count(), 1);
  page.Lines.Line(0).Code = 10110;
  page.Lines.AddLine();
  TKelEventPageItem copy;
  copy.Assign(page);
  ASSERT_EQ(copy.Lines.Count(), 2);
  EXPECT_EQ(copy.Lines.Line(0).Code, 10110);
  EXPECT_EQ(copy.ScriptSize, 9);
}

TEST(Script, BadScriptBytesNameTheFileAndOffset) {
  // A page whose script chunk (id 52 = 0x34) claims 9 parameters it lacks.
  TKelEventPageItem page;
  try {
    Decode(page, Hex("34 04 00 00 00 09 00"));
    FAIL();
  } catch (const EKelDataError& e) {
    EXPECT_NE(std::string(e.what()).find("test.bin: script parameter count 9"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("at byte 5"), std::string::npos) << e.what();
  }
}

TEST(MoveRoute, EncodingAndSameCommands) {
  TKelMoveRoute a;
  a.Commands = {{.Code = 0, .GraphicName = {}, .SoundName = {}}, {.Code = mcSwitchOn, .SwitchId = 5, .GraphicName = {}, .SoundName = {}}};
  TKelMoveRoute b;
  b.Commands = {{.Code = 0, .GraphicName = {}, .SoundName = {}}, {.Code = mcSwitchOn, .SwitchId = 7, .GraphicName = {}, .SoundName = {}}};
  EXPECT_TRUE(a.SameCommands(b));
  b.Commands.push_back(TKelMoveRouteItem{.Code = 99, .GraphicName = {}, .SoundName = {}});
  EXPECT_FALSE(a.SameCommands(b));

  TKelMoveRoute c;
  c.Commands = {{.Code = mcChangeGraphic, .GraphicName = "Hero", .GraphicIndex = 2, .SoundName = {}},
                {.Code = mcPlaySound, .GraphicName = {}, .SoundName = "a", .SoundVolume = 80, .SoundTempo = 100, .SoundBalance = 50},
                {.Code = 77, .GraphicName = {}, .SoundName = {}}};
  TKelMoveRoute copy;
  copy.Assign(c);
  EXPECT_EQ(copy.Commands, c.Commands);
  EXPECT_EQ(copy.RouteData, Hex("22 04 48 65 72 6F 02 23 01 61 50 64 32 4D"));
}

TEST(EventCondition, HeroIdZeroReadsBackAsOne) {
  TKelEventCondition condition;
  condition.HeroId = 0;
  TKelEventCondition read;
  Decode(read, Encode(condition));
  EXPECT_EQ(read.HeroId, 1);
}

TEST(Map, LayersFollowTheSizeAndIgnoreChunksOfAnotherLength) {
  TKelMap map;
  map.Width = 30;
  map.Height = 20;
  map.LowerLayer.Resize(30, 20);
  map.UpperLayer.Resize(30, 20);
  map.LowerLayer.SetTile(29, 19, 5000);
  map.ScrollType = 2;
  TKelMap read;
  read.LoadFromBytes(map.SaveToBytes(), "Map0001.kmu");
  EXPECT_EQ(read.LowerLayer.Tiles.size(), 600u);
  EXPECT_EQ(read.LowerLayer.GetTile(29, 19), 5000);
  EXPECT_EQ(read.UpperLayer.GetTile(0, 0), 10000);
  EXPECT_EQ(read.LowerLayer.GetTile(-1, 19), 5000);  // loops horizontally
  EXPECT_EQ(read.LowerLayer.GetTile(0, 20), -1);

  // A 30 x 20 map whose layer chunks hold 20 x 15 tiles keeps its fill.
  TKelMap small;
  small.LowerLayer.SetTile(0, 0, 7);
  auto bytes = small.SaveToBytes();
  TKelMap wide;
  TStreamWriter header;
  WriteBerString(header, kMapMagic);
  auto patched = header.TakeBytes();
  patched.insert(patched.end(), {0x02, 0x01, 30, 0x03, 0x01, 20});
  patched.insert(patched.end(), bytes.begin() + 11, bytes.end());
  wide.LoadFromBytes(patched, "Map0002.kmu");
  EXPECT_EQ(wide.Width, 30);
  EXPECT_EQ(wide.LowerLayer.Tiles.size(), 600u);
  EXPECT_EQ(wide.LowerLayer.GetTile(0, 0), 0);
}

TEST(Map, SizesWhoseLayersCannotFitAreErrors) {
  const char* cases[] = {
      "02 05 87 FF FF FF 7F 03 01 05 00",  // width 2^31-1
      "02 01 00 00",                       // width 0
      "02 05 8F FF FF FF 7F 00",           // width -1
      "02 03 81 80 00 03 03 81 80 00 00",  // 16384 x 16384 in a tiny file
  };
  for (const char* c : cases) {
    TStreamWriter bytes;
    WriteBerString(bytes, kMapMagic);
    auto file = bytes.TakeBytes();
    auto body = Hex(c);
    file.insert(file.end(), body.begin(), body.end());
    TKelMap map;
    EXPECT_THROW(map.LoadFromBytes(file, "Map0003.kmu"), EKelDataError) << c;
  }
}

TEST(Map, WrongMagicIsAStreamReadError) {
  TKelMap map;
  auto bytes = Hex("03 61 62 63 00");
  try {
    map.LoadFromBytes(bytes, "Map0004.kmu");
    FAIL();
  } catch (const EKelDataError& e) {
    EXPECT_NE(std::string(e.what()).find(kStreamReadError), std::string::npos);
  }
}

TEST(ChipSet, TileIndexCases) {
  struct Case { int tile; int index; };
  const Case cases[] = {{0, 0}, {999, 0}, {2999, 2}, {3000, 3}, {3049, 3}, {3050, 4}, {4000, 6}, {4049, 6},
                        {4050, 7}, {5000, 18}, {5143, 161}, {10000, 0}, {10150, 143}, {65535, 143}};
  for (const auto& c : cases) EXPECT_EQ(TileIndex(c.tile), c.index) << c.tile;
}

TEST(ChipSet, TablesAreWrittenOnlyWhenTheyDiffer) {
  TKelChipSetItem chipSet;
  chipSet.Name = "World";
  EXPECT_EQ(Encode(chipSet), Hex("01 05 57 6F 72 6C 64 00"));
  chipSet.UpperFlags[0] = 0;
  EXPECT_EQ(Encode(chipSet), Hex("01 05 57 6F 72 6C 64 00"));
  TKelChipSetItem read;
  Decode(read, Encode(chipSet));
  EXPECT_EQ(read.UpperFlag(0), 31);
  chipSet.TerrainIds[161] = 3;
  Decode(read, Encode(chipSet));
  EXPECT_EQ(read.TerrainOf(5143), 3);
  EXPECT_EQ(read.TerrainOf(5144), 0);
  EXPECT_EQ(read.LowerFlag(162), 0);
}

TEST(Hero, ExpForLevelOnTheDefaultCurve) {
  TKelPlayerItem hero;
  struct Case { int level; std::int32_t exp; };
  // Level 3: 30, then 30 x 1.8 = 54; the growth of later steps uses the target level.
  const Case cases[] = {{0, 0}, {1, 0}, {2, 30}, {3, 84}, {5, 307}, {10, 2082}, {50, 614301}};
  for (const auto& c : cases) EXPECT_EQ(hero.ExpForLevel(c.level), c.exp) << c.level;
}

TEST(Hero, ExpForLevelSaturatesAndHugeLevelsStayBounded) {
  TKelPlayerItem hero;
  hero.ExpBase = 50;
  hero.ExpIncrease = 50;
  hero.ExpCorrection = 5000;
  EXPECT_EQ(hero.ExpForLevel(99), 1000000);
  hero.MaxLevel = 99;
  EXPECT_LT(hero.EffectiveMaxLevel(), 99);
  EXPECT_LE(hero.ExpForLevel(hero.EffectiveMaxLevel()), 999999);

  TKelPlayerItem flat;
  flat.ExpBase = 0;
  flat.MaxLevel = 2147483647;
  // The growth factor of a huge target level overflows: the curve saturates
  // instead of walking two billion steps.
  EXPECT_EQ(flat.ExpForLevel(2147483647), 1000000);
  EXPECT_EQ(flat.ExpForLevel(2), 0);
  EXPECT_LE(flat.ExpForLevel(flat.EffectiveMaxLevel()), 999999);
}

TEST(Hero, TablesAreBoundedByTheirRealBuffers) {
  TKelPlayerItem hero;
  hero.StateRankCount = 10;
  hero.StateRanks = {0, 7};
  EXPECT_EQ(hero.StateRank(1), 0);
  EXPECT_EQ(hero.StateRank(2), 2);  // not a rank
  EXPECT_EQ(hero.StateRank(3), 2);  // past the buffer
  EXPECT_EQ(hero.Parameter(0, 1), 40);
  EXPECT_EQ(hero.Parameter(5, 50), 300);
  EXPECT_EQ(hero.Parameter(6, 1), 0);
  EXPECT_EQ(hero.Parameter(0, 51), 0);
  hero.CriticalChance = 0;
  EXPECT_EQ(hero.CriticalRate(), 0);

  TKelMonsterItem enemy;
  EXPECT_EQ(enemy.StateRank(4), 1);
  EXPECT_EQ(enemy.AttribRank(4), 2);

  TKelItemItem item;
  item.HeroCount = 3;
  item.HeroUsable = {0, 0, 0};
  EXPECT_TRUE(item.UsableBy(5));
  EXPECT_FALSE(item.UsableBy(2));

  TKelSystem system;
  system.PartyCount = 4;
  system.Party = {3, 0, 2};
  EXPECT_EQ(system.PartyMember(0), 3);
  EXPECT_EQ(system.PartyMember(1), 0);
  EXPECT_EQ(system.PartyMember(4), 0);
}

TEST(Hero, TrimmingKeepsRanksUpToTheLastOneThatIsNotC) {
  TKelPlayerItem hero;
  hero.StateRankCount = 4;
  hero.StateRanks = {2, 0, 2, 2};
  hero.AttribRankCount = 3;
  hero.AttribRanks = {2, 2, 2};
  hero.TrimTables(10, 10);
  EXPECT_EQ(hero.StateRankCount, 2);
  EXPECT_EQ(hero.StateRanks.size(), 2u);
  EXPECT_EQ(hero.AttribRankCount, 0);
}

TEST(Hero, ParameterChunkOfTheWrongLengthKeepsTheDefaultCurves) {
  TKelPlayerItem hero;
  Decode(hero, Hex("1F 02 01 00 00"));
  EXPECT_EQ(hero.Parameter(0, 50), 600);
}

TEST(Troop, TurnConditionsAndTerrain) {
  EXPECT_TRUE(TurnConditionHolds(0, 0, 0));
  EXPECT_FALSE(TurnConditionHolds(0, 0, 1));
  for (int turn : {1, 3, 5}) EXPECT_TRUE(TurnConditionHolds(2, 1, turn));
  for (int turn : {0, 2, 4}) EXPECT_FALSE(TurnConditionHolds(2, 1, turn));
  EXPECT_FALSE(TurnConditionHolds(-1, INT32_MIN, 0));
  TKelMonGroupItem troop;
  troop.TerrainCount = 2;
  troop.TerrainSet = {0, 1};
  EXPECT_FALSE(troop.TerrainAllowed(1));
  EXPECT_TRUE(troop.TerrainAllowed(2));
  EXPECT_TRUE(troop.TerrainAllowed(9));
}

TEST(Vocabulary, TextsAreWrittenEvenWhenEmptyAndSetsAreFound) {
  TKelVocabulary vocabulary;
  vocabulary.SetText(41, "Welcome");
  TKelVocabulary read;
  Decode(read, Encode(vocabulary));
  TKelVocabulary::TShopMessages shop{};
  ASSERT_TRUE(read.ShopMessages(0, shop));
  EXPECT_EQ(*shop[0], "Welcome");
  EXPECT_FALSE(read.ShopMessages(3, shop));
  TKelVocabulary::TInnMessages inn{};
  EXPECT_TRUE(read.InnMessages(1, inn));
  EXPECT_FALSE(read.InnMessages(2, inn));
  EXPECT_TRUE(Contains(Encode(vocabulary), Hex("01 00 02 00")));
}

TEST(DataBase, DefaultsAndPartialFiles) {
  TKelDataBase database;
  EXPECT_EQ(database.KelPlayer.Count(), 1);
  EXPECT_EQ(database.KelCommonEvent.Count(), 1);
  EXPECT_EQ(database.KelSystem.PartyMember(0), 1);
  EXPECT_THROW(database.KelItem.ById(2), EKelInvalid);

  // A file holding only a hero table of three heroes.
  TKelDataBase source;
  source.KelPlayer.Get(3).Name = "Kai";
  TStreamWriter writer;
  WriteBerString(writer, kDataBaseMagic);
  TStreamWriter heroes;
  source.KelPlayer.SaveToStream(heroes);
  WriteBerNumber(writer, 11);
  WriteBerNumber(writer, static_cast<std::int32_t>(heroes.Size()));
  writer.WriteBytes(heroes.Bytes());
  TKelDataBase read;
  read.KelItem.Get(5);
  read.Reset();
  read.LoadFromBytes(writer.Bytes(), "ZAR_RT.kdb");
  EXPECT_EQ(read.KelPlayer.Count(), 2);
  EXPECT_EQ(read.KelPlayer.ById(3).Name, "Kai");
  EXPECT_EQ(read.KelItem.Count(), 1);
  EXPECT_EQ(read.KelMonGroup.ById(1).Pages.Count(), 1);
}

TEST(DataBase, WriteReadWriteIsStableAndUnknownTablesSurvive) {
  TKelDataBase database;
  database.KelSystem.SaveCount = 4;
  database.KelCommonEvent.Get(2).Lines.AddLine().Code = 10110;
  database.UnknownChunks[30] = {1, 2, 3};
  auto bytes = database.SaveToBytes();
  TKelDataBase read;
  read.LoadFromBytes(bytes, "ZAR_RT.kdb");
  EXPECT_EQ(read.KelSystem.SaveCount, 4);
  EXPECT_EQ(read.SaveToBytes(), bytes);
}

// Every prefix of a small real file is an error, never a crash or a hang;
// prefixes that end between top-level tables are whole files and load.
TEST(Malformed, TruncatedAtEveryByteOffset) {
  TKelDataBase database;
  database.KelPlayer.Get(2).Name = "Kai";
  database.KelPlayer.ById(2).Learning.Add();
  database.KelMonGroup.ById(1).Pages.ById(1).Lines.AddLine().Text = "hi";
  database.KelVocabulary.SetText(1, "appears");
  auto bytes = database.SaveToBytes();
  int errors = 0;
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    TKelDataBase read;
    try {
      read.LoadFromBytes(cut, "ZAR_RT.kdb");
    } catch (const EKelDataError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("ZAR_RT.kdb: ", 0), 0u) << e.what();
      ++errors;
    }
  }
  EXPECT_GT(errors, static_cast<int>(bytes.size()) - 20);

  TKelMap map;
  map.Events.Add().Pages.ById(1).MoveRoute.Commands = {{.Code = mcSwitchOn, .SwitchId = 3, .GraphicName = {}, .SoundName = {}}};
  auto mapBytes = map.SaveToBytes();
  for (std::size_t size = 0; size < mapBytes.size(); ++size) {
    std::vector<std::uint8_t> cut(mapBytes.begin(), mapBytes.begin() + static_cast<std::ptrdiff_t>(size));
    TKelMap read;
    EXPECT_THROW(read.LoadFromBytes(cut, "Map0001.kmu"), EKelDataError) << size;
  }
}

TEST(MapTree, OrderStartAndLoopingParents) {
  TKelMapTree tree;
  tree.Get(1).Name = "World";
  tree.Get(2).ParentId = 1;
  tree.Get(3).ParentId = 4;
  tree.Get(4).ParentId = 3;
  tree.Order = {1, 2, 3, 4};
  tree.SelectedMap = 2;
  tree.StartPosition.PartyMapId = 2;
  tree.StartPosition.PartyX = 5;
  TKelMapTree read;
  read.LoadFromBytes(tree.SaveToBytes(), "ZAR_RT.kmt");
  EXPECT_EQ(read.Order, tree.Order);
  EXPECT_EQ(read.SelectedMap, 2);
  EXPECT_EQ(read.StartPosition.PartyX, 5);
  EXPECT_EQ(read.Ancestors(2), (std::vector<std::int32_t>{2, 1}));
  EXPECT_EQ(read.Ancestors(3), (std::vector<std::int32_t>{3, 4}));
  EXPECT_TRUE(read.ParentChainLoops(3));
  EXPECT_FALSE(read.ParentChainLoops(2));
  EXPECT_THROW(read.ById(9), EKelInvalid);

  tree.Order.push_back(9);
  try {
    read.LoadFromBytes(tree.SaveToBytes(), "ZAR_RT.kmt");
    FAIL();
  } catch (const EKelDataError& e) {
    EXPECT_NE(std::string(e.what()).find("Invalid Map"), std::string::npos);
  }
  EXPECT_EQ(read.Count(), 0);
}

TEST(MapTree, EncounterTroopDefaultsAndAreas) {
  TKelMapTreeItem item;
  EXPECT_EQ(item.EncounterSteps, 25);
  item.AreaRect = {2, 3, 5, 6};
  EXPECT_TRUE(item.AreaContains(2, 3));
  EXPECT_FALSE(item.AreaContains(5, 3));
  TKelEncountItem encounter;
  encounter.TroopId = 0;
  TKelEncountItem read;
  Decode(read, Encode(encounter));
  EXPECT_EQ(read.TroopId, 1);
}

TEST(Files, UnchangedDataBaseIsNotResetAndTreeLoadsDeleteStaleMapCopies) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("zar-data-files-" + std::to_string(::getpid()));
  fs::path temp = folder / "tmp";
  fs::create_directories(temp / "ZAR_TEMP");
  TKelDataBase source;
  source.KelPlayer.Get(2).Name = "Kai";
  source.SaveToFile(folder / kDataBaseFileName);

  TKelDataBase database;
  database.Load(folder);
  database.KelItem.Get(5);
  database.UnknownChunks[40] = {1};
  database.Load(folder);
  EXPECT_EQ(database.KelPlayer.Count(), 2);
  EXPECT_EQ(database.KelItem.Count(), 1);            // rebuilt from the file
  EXPECT_EQ(database.UnknownChunks.count(40), 1u);   // no reset in between
  fs::last_write_time(folder / kDataBaseFileName, fs::last_write_time(folder / kDataBaseFileName) + std::chrono::seconds(5));
  database.Load(folder);
  EXPECT_EQ(database.UnknownChunks.count(40), 0u);   // changed file: reset first

  TKelMapTree tree;
  tree.Get(1);
  tree.Get(2);
  tree.SaveToFile(folder / "ZAR_RT.kmt");
  for (int id : {1, 2, 3}) WriteWholeFile((temp / "ZAR_TEMP" / MapFileName(id)).string(), std::vector<std::uint8_t>{0});
  TKelMapTree loaded;
  loaded.Load(folder, temp);
  EXPECT_TRUE(fs::exists(temp / "ZAR_TEMP" / "Map0001.kmu"));  // the first tree was empty
  loaded.Load(folder, temp);
  EXPECT_FALSE(fs::exists(temp / "ZAR_TEMP" / "Map0001.kmu"));
  EXPECT_FALSE(fs::exists(temp / "ZAR_TEMP" / "Map0002.kmu"));
  EXPECT_TRUE(fs::exists(temp / "ZAR_TEMP" / "Map0003.kmu"));
  EXPECT_THROW(loaded.Load(folder / "missing"), EKelDataError);
  fs::remove_all(folder);
}
