// The demo's maps as the player draws them, at chosen frames, compared with
// reviewed pictures. Set ZAR_UPDATE_GOLDEN=1 to write new pictures on purpose
// (and look at each before committing it).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"
#include "shell/KelProgram.h"
#include "shell/Melvox.h"
#include "shell/Random.h"
#include "state/LGD_SaveData.h"
#include "world/MapView.h"

namespace {

// The demo chip set's passability: walls, water and the sky block; the
// cliff top is a wall top; roofs, tree tops and eaves are drawn above the
// characters; the shop's table is a counter.
void ApplyDemoPassability(TKelChipSetItem& chipSet) {
  for (int chip : {0, 1, 2, 3, 4, 5, 13, 28, 29, 30, 161}) chipSet.LowerFlags[chip] = 0x00;
  chipSet.LowerFlags[10] = 0x20;
  chipSet.LowerFlags[17] = 0x10;
  for (int upper : {1, 2, 4, 5, 6, 7, 11, 13, 14}) chipSet.UpperFlags[upper] = 0x00;
  chipSet.UpperFlags[8] = chipSet.UpperFlags[9] = 0x1F;
  chipSet.UpperFlags[10] = 0x40;
}

class DemoMaps : public ::testing::Test {
protected:
  void SetUp() override {
    MelvoxCreate();
    program.Folders.game = ZAR_BINARY_DIR "/demo";
    dataBase.Load(program.Folders.game);
    ApplyDemoPassability(dataBase.KelChipSet.ById(1));
    program.DataBase = &dataBase;
    program.MapTree = &mapTree;
    program.Map = &mapData;
    program.Random = &random;
    random.Seed(1);
    save = std::make_unique<TKelgSaveData>(program);
    program.SaveData = save.get();
    save->ClearAll();
  }
  void TearDown() override { MelvoxRelease(); }

  void Enter(int mapId, int x, int y) {
    save->Party.SetPosition(mapId, x, y);
    save->Party.SetGraphic("Hero", 0);
    save->Map.LoadMap(true);
  }

  void RunFrames(int frames) {
    TKelgMap& map = save->Map;
    for (int f = 0; f < frames; ++f) {
      ++save->System.FrameCount;
      for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Updated = false;
      for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Update();
      map.Panorama().UpdateFrame();
    }
  }

  // Draws the view and compares it pixel for pixel with the reviewed picture.
  void ExpectLooksLike(const std::string& name) {
    TVantraBoard board(320, 240);
    DrawMapView(save->Map, board);
    const std::filesystem::path actual = ZAR_BINARY_DIR "/tests/world/" + name + "-actual.png";
    std::filesystem::create_directories(actual.parent_path());
    WriteBoardPng(board, actual.string());
    const std::string golden = ZAR_SOURCE_DIR "/tests/world/golden/" + name + ".png";
    if (std::getenv("ZAR_UPDATE_GOLDEN"))
      std::filesystem::copy_file(actual, golden, std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(std::filesystem::exists(golden)) << golden;
    TVantraBitmap expected, drawn;
    LoadImageFile(expected, golden);
    LoadImageFile(drawn, actual.string());
    ASSERT_EQ(expected.Width, drawn.Width);
    ASSERT_EQ(expected.Height, drawn.Height);
    int differing = 0;
    for (std::size_t i = 0; i < drawn.Pixels.size(); ++i) differing += drawn.Pixels[i] != expected.Pixels[i];
    EXPECT_EQ(differing, 0) << name << " differs from the reviewed picture; see " << actual;
  }

  TKelDataBase dataBase;
  TKelMapTree mapTree;
  TKelMap mapData;
  TKelRandom random;
  TKelProgram program;
  std::unique_ptr<TKelgSaveData> save;
};

TEST_F(DemoMaps, TheLoopingIslandAcrossItsSeamsWhileTheWaterMoves) {
  Enter(2, 2, 3);  // the view starts left of column 0 and above row 0
  EXPECT_EQ(save->Map.ScrollX, 24 * 256 + 2 * 256 - 2304);
  ExpectLooksLike("island-frame0");
  RunFrames(40);  // water one step on, the jumper in the air, the stroller mid-step
  ExpectLooksLike("island-frame40");
}

TEST_F(DemoMaps, TheTownUnderTheSkyWithStarTilesOverTheWalkers) {
  Enter(3, 14, 6);  // the top of the map: open sky rows show the panorama
  RunFrames(30);
  ExpectLooksLike("town-frame30");
}

TEST_F(DemoMaps, TheTownScrolledToItsFarCornerWithTheHeroOnARoute) {
  Enter(3, 38, 28);
  EXPECT_EQ(save->Map.ScrollX, 40 * 256 - 5120);
  EXPECT_EQ(save->Panorama.OffsetX, 160 * 32);  // the picture's right edge at the view's
  std::vector<TKelMoveRouteItem> route(4, TKelMoveRouteItem{.Code = 0});
  save->Party.SetRoute(route, false, false, 8);
  RunFrames(20);
  ExpectLooksLike("town-corner-frame20");
}

}  // namespace
