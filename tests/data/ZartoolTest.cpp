// Drives the built zartool as authors do: dump, pack, check.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "TestBytes.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"

namespace fs = std::filesystem;

namespace {

const fs::path kTool = fs::path(ZAR_BINARY_DIR) / "bin" / "zartool";
const fs::path kDemo = fs::path(ZAR_BINARY_DIR) / "demo";

struct TRun {
  int Status = -1;
  std::string Output;
};

TRun RunTool(const std::string& arguments) {
  TRun run;
  std::string command = kTool.string() + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, got);
  int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

class Zartool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kTool)) GTEST_SKIP() << "zartool is not built";
    Folder = fs::temp_directory_path() / ("zartool-test-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(Folder);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!Folder.empty()) fs::remove_all(Folder, ignored);
  }
  std::string Path(const std::string& name) const { return (Folder / name).string(); }
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const { WriteWholeFile(Path(name), bytes); }
  void WriteText(const std::string& name, const std::string& text) const { std::ofstream(Path(name)) << text; }
  fs::path Folder;
};

std::vector<std::uint8_t> Magic(const char* magic) {
  TStreamWriter writer;
  WriteBerString(writer, magic);
  return writer.TakeBytes();
}

}  // namespace

TEST_F(Zartool, DemoFilesRoundTripByteForByteAndCheckClean) {
  if (!fs::exists(kDemo / "ZAR_RT.kdb")) GTEST_SKIP() << "the demo is not built";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kDemo)) {
    std::string extension = entry.path().extension().string();
    if (extension != ".kdb" && extension != ".kmt" && extension != ".kmu") continue;
    ++files;
    std::string file = entry.path().string();
    TRun dump = RunTool("dump " + file + " > " + Path("first.json"));
    ASSERT_EQ(dump.Status, 0) << dump.Output;
    ASSERT_EQ(RunTool("pack " + Path("first.json") + " -o " + Path("packed")).Status, 0);
    EXPECT_EQ(ReadWholeFile(Path("packed")), ReadWholeFile(file)) << file;
    ASSERT_EQ(RunTool("dump " + Path("packed") + " > " + Path("second.json")).Status, 0);
    EXPECT_EQ(ReadWholeFile(Path("first.json")), ReadWholeFile(Path("second.json"))) << file;
  }
  EXPECT_GE(files, 3);
  TRun check = RunTool("check " + kDemo.string());
  EXPECT_EQ(check.Status, 0) << check.Output;
}

// A database written byte by byte from the record tables, not by our writer.
TEST_F(Zartool, IndependentlyEncodedFileDumpsUnderTheFieldNames) {
  auto file = Magic("KelDataBase");
  // Heroes (id 11): one hero, key 3: Name (1) in Shift-JIS, MaxLevel (8) = 99
  // with a 5-byte number chunk, an unknown chunk 200, CanCritical (9) = 0.
  auto heroes = Hex("01 03  01 04 83 41 83 43  08 05 80 80 80 80 63  09 01 00  81 48 02 AB CD  00");
  // System (id 22): SaveCount (91) = 7, title picture (17) with bytes that are not text.
  auto system = Hex("11 02 82 FF  5B 01 07  00");
  // Common event list (id 25): key 1 with a one-line script (code 10110, "Hi") plus the end line.
  auto events = Hex("01 01  15 01 0B  16 0B CE 7E 00 02 48 69 00 00 00 00 00  00");
  auto chunk = [&file](int id, const std::vector<std::uint8_t>& payload) {
    file.push_back(static_cast<std::uint8_t>(id));
    file.push_back(static_cast<std::uint8_t>(payload.size()));
    file.insert(file.end(), payload.begin(), payload.end());
  };
  chunk(11, heroes);
  chunk(22, system);
  chunk(25, events);
  chunk(40, Hex("01 02 03"));
  Write("ZAR_RT.kdb", file);

  TRun dump = RunTool("dump " + Path("ZAR_RT.kdb"));
  ASSERT_EQ(dump.Status, 0) << dump.Output;
  auto json = nlohmann::json::parse(dump.Output);
  EXPECT_EQ(json["magic"], "KelDataBase");
  const auto& hero = json["KelPlayer"]["3"];
  EXPECT_EQ(hero["Name"], "アイ");
  EXPECT_EQ(hero["MaxLevel"], 99);
  EXPECT_EQ(hero["CanCritical"], 0);
  EXPECT_FALSE(hero.contains("InitialLevel"));  // default, not written
  EXPECT_EQ(hero["Parameters"].size(), 300u);
  EXPECT_EQ(hero["Parameters"][0], 40);
  EXPECT_EQ(hero["unknown"]["200"], "abcd");
  EXPECT_EQ(json["KelSystem"]["SaveCount"], 7);
  EXPECT_EQ(json["KelSystem"]["TitleName"]["bytes"], "82ff");
  EXPECT_EQ(json["KelSystem"]["Party"], nlohmann::json::array({1}));
  const auto& line = json["KelCommonEvent"]["1"]["Script"][0];
  EXPECT_EQ(line["code"], 10110);
  EXPECT_EQ(line["text"], "Hi");
  EXPECT_EQ(json["KelCommonEvent"]["1"]["Script"].size(), 2u);
  // The default table entry: only its blocks, which are always written.
  EXPECT_FALSE(json["KelItem"]["1"].contains("Name"));
  EXPECT_EQ(json["KelItem"]["1"]["ItemType"], 0);
  EXPECT_EQ(json["unknown"]["40"], "010203");

  // The JSON is the truth: pack keeps the save counter; dump again is the same JSON.
  std::ofstream(Path("db.json")) << dump.Output;
  ASSERT_EQ(RunTool("pack " + Path("db.json") + " -o " + Path("again.kdb")).Status, 0);
  TRun again = RunTool("dump " + Path("again.kdb"));
  EXPECT_EQ(again.Output, dump.Output);
}

TEST_F(Zartool, IndependentlyEncodedMapTreeAndMapDumpUnderTheFieldNames) {
  auto tree = Magic("KelMapTree");
  // One map, key 3: Name "Town", ParentId 0 left out, NodeType 1, EncounterSteps (44) 40,
  // Encounters (41) with troop 2; then the order [3], SelectedMap 3, PartyMapId 3, PartyX 4.
  auto body = Hex("01 03  01 04 54 6F 77 6E  04 01 01  29 06 01 01 01 01 02 00  2C 01 28  00 "
                  "01 03  03  01 01 03 02 01 04 00");
  tree.insert(tree.end(), body.begin(), body.end());
  Write("ZAR_RT.kmt", tree);
  TRun treeDump = RunTool("dump " + Path("ZAR_RT.kmt"));
  ASSERT_EQ(treeDump.Status, 0) << treeDump.Output;
  auto treeJson = nlohmann::json::parse(treeDump.Output);
  EXPECT_EQ(treeJson["Maps"]["3"]["Name"], "Town");
  EXPECT_EQ(treeJson["Maps"]["3"]["NodeType"], 1);
  EXPECT_EQ(treeJson["Maps"]["3"]["EncounterSteps"], 40);
  EXPECT_EQ(treeJson["Maps"]["3"]["Encounters"]["1"]["TroopId"], 2);
  EXPECT_EQ(treeJson["Order"], nlohmann::json::array({3}));
  EXPECT_EQ(treeJson["SelectedMap"], 3);
  EXPECT_EQ(treeJson["StartPosition"]["PartyMapId"], 3);
  EXPECT_EQ(treeJson["StartPosition"]["PartyX"], 4);

  auto map = Magic("KelMapUnit");
  // A 2 x 1 map: Width, Height, ScrollType 3, lower layer 5000 5001, one
  // event at (1, 0) whose page has a route [move up, switch on 5] and a
  // script of one show-message line and the end line.
  body = Hex("02 01 02  03 01 01  0B 01 03  47 04 88 13 89 13 "
             "51 2C 01 01  01 02 45 76  02 01 01  05 20 01 01 "
             "29 09 0B 01 03 0C 03 00 20 05 00 "
             "33 01 0D  34 0D CE 7E 00 04 48 65 6C 6C 00 00 00 00 00  00 00 00");
  map.insert(map.end(), body.begin(), body.end());
  Write("Map0007.kmu", map);
  TRun mapDump = RunTool("dump " + Path("Map0007.kmu"));
  ASSERT_EQ(mapDump.Status, 0) << mapDump.Output;
  auto mapJson = nlohmann::json::parse(mapDump.Output);
  EXPECT_EQ(mapJson["magic"], "KelMapUnit");
  EXPECT_EQ(mapJson["Width"], 2);
  EXPECT_EQ(mapJson["Height"], 1);
  EXPECT_EQ(mapJson["ScrollType"], 3);
  EXPECT_EQ(mapJson["LowerLayer"], nlohmann::json::array({5000, 5001}));
  EXPECT_EQ(mapJson["UpperLayer"], nlohmann::json::array({10000, 10000}));
  const auto& event = mapJson["Events"]["1"];
  EXPECT_EQ(event["Name"], "Ev");
  EXPECT_EQ(event["X"], 1);
  const auto& page = event["Pages"]["1"];
  EXPECT_EQ(page["MoveRoute"]["RouteData"], nlohmann::json::parse(R"([{"Code": 0}, {"Code": 32, "SwitchId": 5}])"));
  EXPECT_EQ(page["Script"][0]["text"], "Hell");
  EXPECT_EQ(page["Script"][1]["code"], 0);
}

TEST_F(Zartool, CheckFindsPlantedBrokenReferences) {
  if (!fs::exists(kDemo / "ZAR_RT.kdb")) GTEST_SKIP() << "the demo is not built";
  for (const auto& entry : fs::directory_iterator(kDemo))
    if (entry.is_regular_file()) fs::copy_file(entry.path(), Folder / entry.path().filename());
  TRun clean = RunTool("check " + Folder.string() + " --no-assets");
  EXPECT_EQ(clean.Status, 0) << clean.Output;

  TKelMap map;
  map.LoadMap(Folder, 1);
  map.ChipSetId = 9;
  map.Events.ById(1).Pages.ById(1).Condition.Flags = ecItem;
  map.Events.ById(1).Pages.ById(1).Condition.ItemId = 77;
  auto& call = map.Events.ById(2).Pages.ById(1).Lines.Line(0);
  call = TKelEventScriptLine{.Code = 12330, .Indent = 0, .Text = "", .Params = {0, 9, 0}};
  map.Events.ById(2).Pages.ById(1).Lines.AddLine() = TKelEventScriptLine{.Code = 10810, .Indent = 0, .Text = "", .Params = {99, 1, 1}};
  map.SaveToFile(Folder / "Map0001.kmu");
  TKelMapTree tree;
  tree.LoadFromFile(Folder / "ZAR_RT.kmt");
  tree.Get(5).ParentId = 6;
  tree.Get(6).ParentId = 5;
  tree.SaveToFile(Folder / "ZAR_RT.kmt");

  TRun broken = RunTool("check " + Folder.string() + " --no-assets");
  EXPECT_EQ(broken.Status, 1);
  EXPECT_NE(broken.Output.find("Map0001.kmu.ChipSetId: chip set 9 does not exist"), std::string::npos) << broken.Output;
  EXPECT_NE(broken.Output.find("Map0001.kmu event 1 page 1.Condition: item 77 does not exist"), std::string::npos);
  EXPECT_NE(broken.Output.find("ZAR_RT.kmt map 5: the parent chain loops"), std::string::npos);
  EXPECT_NE(broken.Output.find("Map0001.kmu event 2 page 1 line 1: common event 9 does not exist"), std::string::npos);
  EXPECT_NE(broken.Output.find("Map0001.kmu event 2 page 1 line 3: map 99 does not exist"), std::string::npos);

  TRun assets = RunTool("check " + Folder.string() + " --package " + Path("none"));
  EXPECT_NE(assets.Output.find("KelChipSet 1.GraphicName: asset \"World\" is missing"), std::string::npos)
      << assets.Output;
}

TEST_F(Zartool, UsageAndInputErrors) {
  struct Case { std::string arguments; int status; std::string says; };
  WriteText("bad.json", R"({"magic": "KelDataBase", "KelPlayer": {"1": {"Nmae": "x"}}})");
  WriteText("range.json", R"({"magic": "KelMapUnit", "ScrollType": 300})");
  WriteText("field.json", R"({"magic": "KelMapUnit", "Direction": 1})");
  WriteText("order.json", R"({"magic": "KelMapTree", "Maps": {"1": {}}, "Order": [1, 4], "SelectedMap": 1, "StartPosition": {}})");
  WriteText("size.json", R"({"magic": "KelMapUnit", "Width": 0})");
  Write("junk.kdb", Hex("0B 4B 65 6C 44 61 74 61 42 61 73 65 0B 7F 00"));
  const Case cases[] = {
      {"", 2, "no command"},
      {"--help", 0, "usage: zartool"},
      {"frob", 2, "unknown command frob"},
      {"pack " + Path("bad.json"), 2, "pack needs -o OUT"},
      {"dump", 2, "dump takes one FILE"},
      {"dump x --encoding", 2, "--encoding needs a value"},
      {"dump " + Path("junk.kdb") + " --encoding NOPE-9", 1, "unknown encoding"},
      {"pack " + Path("bad.json") + " -o " + Path("out"), 1, "KelPlayer.1: no field is named \"Nmae\""},
      {"pack " + Path("range.json") + " -o " + Path("out"), 1, "map.ScrollType: 300 is outside 0..255"},
      {"pack " + Path("field.json") + " -o " + Path("out"), 1, "map: no field is named \"Direction\""},
      {"pack " + Path("order.json") + " -o " + Path("out"), 1, "would not load: " + Path("out") + ": Invalid Map 4 in the tree order at byte"},
      {"pack " + Path("size.json") + " -o " + Path("out"), 1, "map size 0 x 15 does not fit its layers"},
      {"dump " + Path("junk.kdb"), 1, "junk.kdb: table 11 length 127 exceeds the 1 bytes that remain at byte 13"},
      {"dump " + Path("missing.kdb"), 1, "cannot open the file"},
  };
  for (const auto& c : cases) {
    TRun run = RunTool(c.arguments);
    EXPECT_EQ(run.Status, c.status) << c.arguments << "\n" << run.Output;
    EXPECT_NE(run.Output.find(c.says), std::string::npos) << c.arguments << "\n" << run.Output;
  }
}
