#include <gtest/gtest.h>

#include "common/Replay.h"

namespace {

// Into the house, up to the host, and through his free rest: the field
// scene's inn fades the music and the screen, then the stay branch speaks.
TEST(InnReplay, AFreeRestRunsTheInnThenTheStayBranch) {
  const std::string keys = "385 Return\n520 Down 64\n720 Up 56\n800 Return\n860 Return\n";
  const ReplayRun asked = Replay(850, keys);
  ASSERT_EQ(asked.error, "");
  EXPECT_EQ(asked.state["MessageWindow"]["Lines"][0], "Make yourself at home. Rest a while?");
  EXPECT_FALSE(asked.Heard("MelvoxFadeOutMusic(800)"));

  const ReplayRun rested = Replay(1000, keys);
  EXPECT_TRUE(rested.Heard("MelvoxFadeOutMusic(800)"));
  EXPECT_EQ(rested.state["MessageWindow"]["Lines"][0], "Good morning! You look rested.");
}

}  // namespace
