#pragma once
// A game state with one small map in memory: a chip-set picture whose 8x8
// blocks say where they come from, and characters placed by the tests.

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/VantraImage.h"
#include "shell/KelProgram.h"
#include "shell/Melvox.h"
#include "shell/Random.h"
#include "state/LGD_SaveData.h"
#include "world/LGD_MapEvent.h"

// Every 8x8 block (bx, by) of this chip-set picture carries its column in
// its top-left pixel (index 1 + bx) and its row in the next (index 100 + by);
// the rest is index 200. Palette entry i is a colour unique in 5-6-5.
inline TVantraBitmap CodedChipSetPicture() {
  TVantraBitmap bitmap;
  bitmap.SetFormat(480, 256, 8);
  for (int i = 0; i < 256; ++i)
    bitmap.Palette[i] = {static_cast<std::uint8_t>((i & 31) << 3), static_cast<std::uint8_t>((i >> 5) << 5), 0};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 480; ++x) {
      std::uint8_t index = 200;
      if (y % 8 == 0 && x % 8 == 0) index = static_cast<std::uint8_t>(1 + x / 8);
      if (y % 8 == 0 && x % 8 == 1) index = static_cast<std::uint8_t>(100 + y / 8);
      bitmap.ScanLine(y)[x] = index;
    }
  return bitmap;
}

// The 5-6-5 colour of palette index i of the coded picture.
inline std::uint16_t CodedColor(int i) {
  return PackRgb565(static_cast<std::uint8_t>((i & 31) << 3), static_cast<std::uint8_t>((i >> 5) << 5), 0);
}

// Which block of the coded picture was drawn with its top-left at (x, y);
// (-1, -1) when the pixels there are not a block's code.
inline std::pair<int, int> BlockAt(const TVantraBoard& board, int x, int y) {
  int bx = -1, by = -1;
  for (int i = 1; i <= 60; ++i)
    if (board.Pixel(x, y) == CodedColor(i)) bx = i - 1;
  for (int i = 100; i <= 131; ++i)
    if (board.Pixel(x + 1, y) == CodedColor(i)) by = i - 100;
  if (bx < 0 || by < 0) return {-1, -1};
  return {bx, by};
}

// The coded picture with upper tile 0 blank, as every chip set has it: the
// empty upper tile is a star, drawn after the characters.
inline TVantraBitmap MapChipSetPicture() {
  TVantraBitmap bitmap = CodedChipSetPicture();
  for (int y = 128; y < 144; ++y)
    for (int x = 288; x < 304; ++x) bitmap.ScanLine(y)[x] = 0;
  return bitmap;
}

class WorldFixture : public ::testing::Test {
protected:
  void SetUp() override {
    MelvoxCreate();
    program.DataBase = &dataBase;
    program.MapTree = &mapTree;
    program.Map = &mapData;
    program.Random = &random;
    program.Folders.game = ZAR_BINARY_DIR "/demo";  // the demo's window skin and pictures
    dataBase.KelSystem.SystemName = "System";
    random.Seed(7);
    chipSet = &dataBase.KelChipSet.Get(1);
    chipSet->GraphicName = "Coded";
    save = std::make_unique<TKelgSaveData>(program);
    program.SaveData = save.get();
    save->ClearAll();
  }
  void TearDown() override { MelvoxRelease(); }

  // A map of plain tile 0 below and the empty upper tile, entered with the
  // hero at (heroX, heroY). Scroll type: 0 none, 1 vertical, 2 horizontal, 3 both.
  void MakeMap(int width, int height, int scrollType = 0, int heroX = 0, int heroY = 0) {
    mapData.Clear();
    mapData.Width = width;
    mapData.Height = height;
    mapData.ScrollType = static_cast<std::uint8_t>(scrollType);
    for (TKelMapLayer* layer : {&mapData.LowerLayer, &mapData.UpperLayer}) {
      layer->Resize(width, height);
      layer->LoopX = scrollType >= 2;
      layer->LoopY = scrollType == 1 || scrollType == 3;
    }
    std::fill(mapData.LowerLayer.Tiles.begin(), mapData.LowerLayer.Tiles.end(), std::uint16_t{5000});
    Map().ChipSetGraphic.SetChipSetPicture(chipSet, MapChipSetPicture());
    save->Party.SetPosition(1, heroX, heroY);
    Map().EnterMap(true);
  }

  TKelgMap& Map() { return save->Map; }
  TKelgParty& Hero() { return save->Party; }

  // One frame of the field: every character once.
  void UpdateFrame() {
    for (int i = 0; i < Map().CharacterCount(); ++i) Map().CharacterAt(i).Updated = false;
    for (int i = 0; i < Map().CharacterCount(); ++i) Map().CharacterAt(i).Update();
    ++save->System.FrameCount;
  }

  // A map event with one unconditional page; returns the run-time character.
  TKelgCharacter& AddEvent(int x, int y, int layer = 1, const char* charSet = "Walker") {
    TKelEventItem& item = mapData.Events.Get(mapData.Events.Count() + 1);
    item.X = x;
    item.Y = y;
    TKelEventPageItem& page = item.Pages.Get(1);
    page.CharSetName = charSet;
    page.Layer = static_cast<std::uint8_t>(layer);
    Map().Events.push_back(std::make_unique<TKelgMapEvent>(Map(), item));
    return *Map().Events.back();
  }

  TKelDataBase dataBase;
  TKelMapTree mapTree;
  TKelMap mapData;
  TKelRandom random;
  TKelProgram program;
  TKelChipSetItem* chipSet = nullptr;
  std::unique_ptr<TKelgSaveData> save;
};
