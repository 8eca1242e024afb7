#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/Replay.h"
#include "graphics/VantraPng.h"

namespace {

// New game once the title window is open; the map is shown 103 frames later.
const std::string kNewGame = "385 Return\n";
// From the start (10, 9): up to the Elder at (5, 5), or to the Sage at (15, 4).
const std::string kToElder = kNewGame + "520 Left 40\n610 Up 24\n670 Return\n";
const std::string kToSage = kNewGame + "500 Right 40\n590 Up 32\n670 Return\n";

void Review(const ReplayRun& run, const std::string& name) {
  if (const char* folder = std::getenv("ZAR_WRITE_GOLDEN")) {
    WriteBoardPng(run.board, std::string(folder) + "/" + name + ".png");
    std::printf("%s: 0x%016llxull\n", name.c_str(), static_cast<unsigned long long>(BoardHash(run.board)));
  }
}

TEST(Events, TheElderTalksAndHisSwitchTurnsHisPage) {
  const ReplayRun talking = Replay(760, kToElder);
  ASSERT_EQ(talking.error, "");
  EXPECT_EQ(talking.state["Events"]["1"]["Processing"], true);
  EXPECT_EQ(talking.state["Interpreter"]["Frames"], 1);
  const auto& lines = talking.state["MessageWindow"]["Lines"];
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Welcome to the demo village.");
  EXPECT_EQ(talking.state["Events"]["1"]["Page"], 1);

  const ReplayRun after = Replay(800, kToElder + "720 Return\n");
  EXPECT_EQ(after.state["Switches"][0], 1);
  EXPECT_EQ(after.state["Events"]["1"]["Page"], 2);
  EXPECT_EQ(after.state["Events"]["1"]["Processing"], false);
  EXPECT_EQ(after.state["Interpreter"]["Frames"], 0);
  EXPECT_EQ(after.state["MessageWindow"]["Exists"], false);
}

TEST(Events, TheSageAsksAChoiceAndANumberAndTheBellAnswers) {
  const ReplayRun asking = Replay(730, kToSage);
  ASSERT_EQ(asking.error, "");
  Review(asking, "events_sage_choice");
  const auto& lines = asking.state["MessageWindow"]["Lines"];
  ASSERT_EQ(lines.size(), 4u);  // two lines and two choices share the page
  EXPECT_EQ(lines[1], "ようこそ、旅の人。 Ring the bell?");
  EXPECT_EQ(lines[2], "  Yes");
  EXPECT_EQ(BoardHash(asking.board), 0x3c3d48280cd2fb83ull);

  // Yes, then three presses of Up on the one digit, then Decide.
  const std::string answers = kToSage + "740 Return\n800 Up\n804 Up\n808 Up\n830 Return\n";
  const ReplayRun bell = Replay(880, answers);
  EXPECT_EQ(bell.state["Variables"][0], 3);
  EXPECT_EQ(bell.state["MessageWindow"]["Lines"][0], "The bell rings 3 times!");
  // The common event turns its own switch off again.
  const ReplayRun done = Replay(960, answers + "900 Return\n");
  EXPECT_EQ(done.state["Switches"][1], 0);
  EXPECT_EQ(done.state["MessageWindow"]["Exists"], false);

  // No: the other branch, and the bell stays silent.
  const ReplayRun refused = Replay(900, kToSage + "740 Down\n750 Return\n");
  EXPECT_EQ(refused.state["MessageWindow"]["Lines"][0], "Maybe later.");
  EXPECT_TRUE(refused.state["Variables"].empty());
}

TEST(Events, AParallelKeeperTurnsTheLampEveryHalfSecond) {
  // The keeper toggles switch 3 and waits 5 tenths: the lamp's page follows.
  int pageChanges = 0;
  int lastPage = 0;
  for (int frames = 500; frames <= 620; frames += 15) {
    const ReplayRun run = Replay(frames, kNewGame);
    const int page = run.state["Events"]["4"]["Page"];
    if (lastPage != 0 && page != lastPage) ++pageChanges;
    lastPage = page;
  }
  EXPECT_GE(pageChanges, 3);
}

}  // namespace

namespace {

// In test play F9 on the map opens the debug screen, which shows the windows
// of the game's skin until it is built; Cancel returns to the map.
TEST(Events, F9InTestPlayOpensTheDebugScreen) {
  // Test play skips the logos: the title window is ready after 20 + 34 + 8 frames.
  const std::string keys = "70 Return\n200 F9\n";
  const std::vector<std::string> testPlay = {"TestPlay", "x", "Window"};
  const ReplayRun debug = Replay(230, keys, testPlay);
  ASSERT_EQ(debug.error, "");
  EXPECT_EQ(debug.state["SceneId"], scDebug);
  Review(debug, "events_debug_showcase");
  EXPECT_EQ(BoardHash(debug.board), 0x9e8775a3790d691cull);
  const ReplayRun back = Replay(260, keys + "240 Escape\n", testPlay);
  EXPECT_EQ(back.state["SceneId"], scField);
  // Not outside test play.
  EXPECT_EQ(Replay(620, "385 Return\n560 F9\n").state["SceneId"], scField);
}

}  // namespace
