#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/Replay.h"
#include "graphics/VantraPng.h"

namespace {

// Frames of the first start: 20 black after the reset, 10 before the logos,
// three logos of 100 frames each, then the title fades in over 34.
constexpr int kTitleFadedIn = 20 + 10 + 3 * 100 + 34;
constexpr int kWindowOpen = kTitleFadedIn + 8;

// Writes the picture for review when ZAR_WRITE_GOLDEN names a folder.
void Review(const ReplayRun& run, const std::string& name) {
  if (const char* folder = std::getenv("ZAR_WRITE_GOLDEN")) {
    WriteBoardPng(run.board, std::string(folder) + "/" + name + ".png");
    std::printf("%s: 0x%016llxull\n", name.c_str(), static_cast<unsigned long long>(BoardHash(run.board)));
  }
}

TEST(Title, FirstStartShowsThreeLogosThenTheTitleWindow) {
  const ReplayRun logo = Replay(20 + 10 + 10 + 30);
  ASSERT_EQ(logo.error, "");
  Review(logo, "title_logo1");
  const ReplayRun title = Replay(kWindowOpen + 5);
  ASSERT_EQ(title.error, "");
  Review(title, "title_window");
  EXPECT_EQ(title.state["SceneId"], scTitle);
  EXPECT_TRUE(title.Heard("MelvoxPlayMusic(")) << "title music";
  EXPECT_EQ(title.state["CurrentMusic"]["Name"], "Title");
  EXPECT_EQ(BoardHash(logo.board), 0x9321a4e51d939a43ull);
  EXPECT_EQ(BoardHash(title.board), 0x74631bb6a3456b28ull);
}

TEST(Title, HoldingDecideShortensTheLogos) {
  // Decide held from the start: each logo waits only its 10 + 20 frames.
  const ReplayRun held = Replay(20 + 10 + 3 * 40 + 34 + 20, "0 Return 170");
  EXPECT_EQ(held.state["CurrentMusic"]["Name"], "Title");
}

TEST(Title, ContinueWithoutSavesBuzzesAndStays) {
  const std::string keys = std::to_string(kWindowOpen + 5) + " Down\n" + std::to_string(kWindowOpen + 10) + " Return\n";
  const ReplayRun run = Replay(kWindowOpen + 20, keys);
  ASSERT_EQ(run.error, "");
  EXPECT_TRUE(run.Heard("Buzzer.wav")) << testing::PrintToString(run.soundCalls);
  EXPECT_EQ(run.state["SceneId"], scTitle);
}

TEST(Title, NewGameFadesTheMusicAndReachesTheMapWithoutLosingAFrame) {
  const int press = kWindowOpen + 5;
  const std::string keys = std::to_string(press) + " Return\n";
  // The title fades out (5), waits 48 + 16, the new game clears the frame
  // counter and the map fades in (34); the scene switch itself costs no frame,
  // so every later frame is one pass of the loop.
  const int onMap = press + 5 + 48 + 16 + 34;
  const ReplayRun run = Replay(onMap + 10, keys);
  ASSERT_EQ(run.error, "");
  EXPECT_TRUE(run.Heard("MelvoxFadeOutMusic(800)"));
  EXPECT_TRUE(run.Heard("Decision.wav"));
  EXPECT_EQ(run.state["SceneId"], scField);
  EXPECT_EQ(run.state["FrameCount"], 10);
  // Before the stated frames have passed the map is not yet there.
  const ReplayRun early = Replay(press + 5 + 48, keys);
  EXPECT_EQ(early.state["SceneId"], scTitle);
}

TEST(Title, TestPlayHideTitleSkipsLogosPictureAndMusic) {
  const ReplayRun run = Replay(20 + 20, "", {"TestPlay", "HideTitle", "Window"});
  ASSERT_EQ(run.error, "");
  Review(run, "title_hidden");
  EXPECT_FALSE(run.Heard("MelvoxPlayMusic("));
  EXPECT_EQ(BoardHash(run.board), 0x3d834b7a52178a22ull);
}

TEST(Title, QuitEndsTheProgram) {
  const int press = kWindowOpen + 5;
  const std::string keys = std::to_string(press) + " Down\n" + std::to_string(press + 2) + " Down\n" +
                           std::to_string(press + 4) + " Return\n";
  const ReplayRun run = Replay(100000, keys);
  ASSERT_EQ(run.error, "");
  EXPECT_LT(run.state["frames"].get<int>(), press + 40);
  EXPECT_TRUE(run.Heard("MelvoxFadeOutMusic(400)"));
}

TEST(Title, F12ReturnsToTheTitleWithoutLogos) {
  const int press = kWindowOpen + 5;
  // After the restart: 20 frames, no logos, the 34-frame fade-in, the window.
  const ReplayRun run = Replay(press + 1 + 20 + 34 + 8 + 5, std::to_string(press) + " F12");
  ASSERT_EQ(run.error, "");
  Review(run, "title_after_reset");
  EXPECT_EQ(run.state["SceneId"], scTitle);
  // The same picture as the first start's title window.
  EXPECT_EQ(BoardHash(run.board), 0x74631bb6a3456b28ull);
}

}  // namespace

namespace {

// A copy of the demo whose map tree has no start position.
std::filesystem::path GameWithoutStart() {
  namespace fs = std::filesystem;
  const fs::path game = fs::temp_directory_path() / ("zar_nostart_" + std::to_string(::getpid()));
  fs::remove_all(game);
  fs::copy(DemoGame(), game, fs::copy_options::recursive);
  std::ifstream tree(ZAR_SOURCE_DIR "/demo/data/ZAR_RT.kmt.json");
  nlohmann::json json = nlohmann::json::parse(tree);
  json["StartPosition"]["PartyMapId"] = 0;
  std::ofstream(game / "tree.json") << json.dump();
  const std::string pack = std::string(ZAR_BINARY_DIR "/bin/zartool pack ") + (game / "tree.json").string() +
                           " -o " + (game / "ZAR_RT.kmt").string();
  EXPECT_EQ(std::system(pack.c_str()), 0) << pack;
  return game;
}

TEST(Title, NewGameWithoutAStartPositionIsAnError) {
  const std::filesystem::path game = GameWithoutStart();
  const int press = kWindowOpen + 5;
  const ReplayRun run = Replay(press + 200, std::to_string(press) + " Return", {"x", "x", "Window"}, game);
  EXPECT_EQ(run.error, "Create Start Party Position");
  std::filesystem::remove_all(game);
}

}  // namespace
