#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "data/LD_DataBase.h"
#include "graphics/VantraDraw.h"
#include "graphics/VantraPng.h"
#include "platform/HeadlessPlatform.h"
#include "shell/LS_Scene.h"
#include "shell/MultiInput.h"
#include "shell/Random.h"
#include "state/LGD_SaveData.h"

namespace {

// A scene whose picture is a pattern of coloured squares and stripes.
class PatternScene : public TKelScene {
public:
  using TKelScene::TKelScene;
  void Update() override {}
  void Draw() override {
    TVantraBoard& board = Program.Draw->Board;
    for (int y = 0; y < 240; y += 20)
      for (int x = 0; x < 320; x += 20)
        board.FillRect({x, y, x + 20, y + 20}, {static_cast<std::uint8_t>(x * 255 / 320),
                                                static_cast<std::uint8_t>(y * 255 / 240),
                                                static_cast<std::uint8_t>(((x + y) / 20 % 2) * 200)});
    board.FillRect({150, 0, 170, 240}, {255, 255, 255});
  }
};

struct Rig {
  HeadlessPlatform machine;
  TVantraDraw draw{machine};
  TMultiInput input{machine};
  TKelRandom random;
  TKelDataBase dataBase;
  TKelProgram program;
  std::unique_ptr<TKelgSaveData> saveData;
  std::unique_ptr<PatternScene> scene;

  Rig() {
    draw.SetFrameRate(60);
    draw.SetMaxLag(20);
    draw.Initialize();
    random.Seed(1);
    program.Draw = &draw;
    program.Input = &input;
    program.Random = &random;
    program.DataBase = &dataBase;
    saveData = std::make_unique<TKelgSaveData>(program);
    program.SaveData = saveData.get();
    scene = std::make_unique<PatternScene>(program);
  }

  // The screen before: a lit grey picture.
  void LightOldPicture() {
    draw.Board.Brightness = 100;
    draw.Board.FillRect({0, 0, 320, 240}, {96, 96, 96});
  }

  std::uint64_t Frames() const { return draw.FramesDone(); }
};

bool BoardsEqual(const TVantraBoard& a, const TVantraBoard& b) {
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

bool IsBlack(const TVantraBoard& board) {
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x)
      if (board.Pixel(x, y) != 0) return false;
  return true;
}

std::uint64_t BoardHash(const TVantraBoard& board) {
  std::uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) {
      hash = (hash ^ (board.Pixel(x, y) & 0xFF)) * 1099511628211ull;
      hash = (hash ^ (board.Pixel(x, y) >> 8)) * 1099511628211ull;
    }
  return hash;
}

TEST(Transition, FrameCountsOfEveryKind) {
  for (int kind = 0; kind <= 22; ++kind) {
    SCOPED_TRACE("kind " + std::to_string(kind));
    Rig rig;
    rig.LightOldPicture();
    std::uint64_t start = rig.Frames();
    rig.scene->ShowScreen(static_cast<std::uint8_t>(kind));
    const std::uint64_t expectedShow = kind == 19 ? 0 : 41;  // kind 0 on a lit screen cross-fades
    EXPECT_EQ(rig.Frames() - start, expectedShow);

    start = rig.Frames();
    rig.scene->EraseScreen(static_cast<std::uint8_t>(kind));
    const std::uint64_t expectedErase = kind == 0 ? 34 : kind == 19 ? 0 : 41;
    EXPECT_EQ(rig.Frames() - start, expectedErase);
    EXPECT_EQ(rig.draw.Board.Brightness, 0);
    EXPECT_TRUE(IsBlack(rig.draw.Board));
  }
}

TEST(Transition, ShowFromBlackFadesInOverThirtyFourFrames) {
  Rig rig;
  rig.draw.Board.Brightness = 0;
  const std::uint64_t start = rig.Frames();
  rig.scene->ShowScreen(0);
  EXPECT_EQ(rig.Frames() - start, 34u);
  EXPECT_EQ(rig.draw.Board.Brightness, 100);
}

TEST(Transition, ShowEndsOnTheNewPicture) {
  // The raster wave ends one pixel off and kinds 20+ draw nothing: the next
  // ordinary frame shows the scene.
  for (int kind = 0; kind <= 19; ++kind) {
    if (kind == 18) continue;
    SCOPED_TRACE("kind " + std::to_string(kind));
    Rig rig;
    rig.LightOldPicture();
    rig.scene->ShowScreen(static_cast<std::uint8_t>(kind));
    EXPECT_TRUE(BoardsEqual(rig.draw.Board, rig.scene->NewScreen));
  }
}

TEST(Transition, KindsBeyondTheTableKeepTheOldPicture) {
  for (int kind : {20, 21, 255}) {
    Rig rig;
    rig.LightOldPicture();
    rig.scene->ShowScreen(static_cast<std::uint8_t>(kind));
    EXPECT_TRUE(BoardsEqual(rig.draw.Board, rig.scene->OldScreen)) << kind;
  }
}

// The back buffer after `frames` frames of a transition (the run is cut there).
TVantraBoard MidTransition(int kind, bool show, int frames) {
  Rig rig;
  rig.LightOldPicture();
  if (!show) rig.scene->Draw();
  rig.draw.SetFrameLimit(rig.Frames() + frames);
  try {
    if (show) rig.scene->ShowScreen(static_cast<std::uint8_t>(kind));
    else rig.scene->EraseScreen(static_cast<std::uint8_t>(kind));
  } catch (const EVantraDrawAbort&) {
  }
  TVantraBoard copy(320, 240);
  copy.CopyRect(0, 0, {0, 0, 320, 240}, rig.draw.Board);
  return copy;
}

TEST(Transition, ZoomShowDrawsNothingAtStepZero) {
  Rig reference;
  reference.LightOldPicture();
  EXPECT_TRUE(BoardsEqual(MidTransition(16, true, 1), reference.draw.Board));
}

TEST(Transition, CrossFadeHalfWayBlendsBothPictures) {
  const TVantraBoard mid = MidTransition(0, true, 20);
  // Old grey (96 → r 12 of 31) and the white stripe (31): about half way.
  const int red = mid.Pixel(160, 100) >> 11;
  EXPECT_GT(red, 12);
  EXPECT_LT(red, 31);
}

// Hashes of the back buffer 20 frames into each transition, from pictures
// reviewed by eye (ZAR_WRITE_TRANSITIONS=DIR writes them as PNG).
struct MidCase {
  int kind;
  bool show;
  std::uint64_t hash;
};

TEST(Transition, MidTransitionPicturesMatchTheReviewedOnes) {
  const MidCase cases[] = {
#include "TransitionHashes.inc"
  };
  const char* writeTo = std::getenv("ZAR_WRITE_TRANSITIONS");
  for (const MidCase& c : cases) {
    const TVantraBoard mid = MidTransition(c.kind, c.show, 20);
    if (writeTo != nullptr) {
      const std::string name = std::string(writeTo) + "/kind" + std::to_string(c.kind) + (c.show ? "_show" : "_erase");
      WriteBoardPng(mid, name + ".png");
      std::printf("  {%d, %s, 0x%016llxull},\n", c.kind, c.show ? "true" : "false",
                  static_cast<unsigned long long>(BoardHash(mid)));
      continue;
    }
    EXPECT_EQ(BoardHash(mid), c.hash) << "kind " << c.kind << (c.show ? " show" : " erase");
  }
}

}  // namespace
