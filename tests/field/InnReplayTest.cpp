#include <gtest/gtest.h>

#include "common/Replay.h"

namespace {

int Count(const ReplayRun& run, const std::string& call) {
  int count = 0;
  for (const std::string& heard : run.soundCalls) count += heard == call;
  return count;
}

// Into the house, up to the host, and through his free rest: the field
// scene's inn fades the music and the screen, then the stay branch speaks.
TEST(InnReplay, AFreeRestRunsTheInnThenTheStayBranch) {
  const std::string keys = "385 Return\n520 Down 64\n720 Up 56\n800 Return\n860 Return\n";
  const ReplayRun asked = Replay(850, keys);
  ASSERT_EQ(asked.error, "");
  EXPECT_EQ(asked.state["MessageWindow"]["Lines"][0], "Make yourself at home. Rest a while?");
  // The title's new game faded its music once already.
  EXPECT_EQ(Count(asked, "MelvoxFadeOutMusic(800)"), 1);

  const ReplayRun rested = Replay(1000, keys);
  EXPECT_EQ(Count(rested, "MelvoxFadeOutMusic(800)"), 2);
  EXPECT_EQ(rested.state["MessageWindow"]["Lines"][0], "Good morning! You look rested.");
}

}  // namespace
