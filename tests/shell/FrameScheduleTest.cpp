#include <gtest/gtest.h>

#include <vector>

#include "graphics/VantraDraw.h"
#include "common/TestPlatform.h"

namespace {

TVantraDraw MakeDraw(TestPlatform& machine) {
  TVantraDraw draw(machine);
  draw.SetFrameRate(60);
  draw.SetMaxLag(20);
  draw.Initialize();
  return draw;
}

TEST(FrameSchedule, EverySecondRestartsExactly1000msLater) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  std::vector<std::uint64_t> starts;
  for (int i = 0; i < 181; ++i) {
    draw.WaitNextFrame();
    starts.push_back(machine.Now);
  }
  // A frame begins once the clock has passed its start within its second.
  for (int second = 0; second < 3; ++second) {
    for (int k = 0; k < 60; ++k) {
      const auto expected = static_cast<std::uint64_t>(second * 1000 + (k * 1000) / 60 + 1);
      ASSERT_EQ(starts[second * 60 + k], expected) << "second " << second << " frame " << k;
    }
  }
  EXPECT_EQ(draw.FramesDone(), 181u);
}

TEST(FrameSchedule, LagCountsFramesBehind) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  draw.WaitNextFrame();
  EXPECT_EQ(draw.GetLag(), -1);  // just begun: the next frame is one period away
  machine.Now += 100;            // six frame periods of work
  EXPECT_EQ(draw.GetLag(), 5);
}

TEST(FrameSchedule, TwoSecondStallResynchronises) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  for (int i = 0; i < 30; ++i) draw.WaitNextFrame();
  machine.Now += 2000;  // the process was suspended
  const std::uint64_t resumed = machine.Now;
  std::vector<std::uint64_t> starts;
  for (int i = 0; i < 6; ++i) {
    draw.WaitNextFrame();
    starts.push_back(machine.Now);
  }
  // No catching up: the frames after the stall keep their period.
  EXPECT_LE(starts[0], resumed + 17);
  for (std::size_t i = 1; i < starts.size(); ++i) {
    EXPECT_GE(starts[i] - starts[i - 1], 16u);
    EXPECT_LE(starts[i] - starts[i - 1], 18u);
  }
}

TEST(FrameSchedule, ShortLateFramesCatchUpWithoutWaiting) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  draw.WaitNextFrame();
  machine.Now += 5 * 17;  // five periods late, under MaxLag
  const std::uint64_t late = machine.Now;
  for (int i = 0; i < 4; ++i) draw.WaitNextFrame();
  EXPECT_LE(machine.Now, late + 4);  // behind schedule: no frame waits its period
}

TEST(FrameSchedule, FrameLimitEndsTheRun) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  draw.SetFrameLimit(3);
  draw.WaitNextFrame();
  draw.WaitNextFrame();
  EXPECT_THROW(draw.WaitNextFrame(), EVantraDrawAbort);
}

TEST(FrameSchedule, InactiveWindowFreezesTheGame) {
  TestPlatform machine;
  TVantraDraw draw = MakeDraw(machine);
  draw.WaitNextFrame();
  machine.Active = false;
  int sleeps = 0;
  machine.OnSleep = [&sleeps](TestPlatform& m) {
    if (++sleeps == 50) m.Active = true;  // focus returns after a while
  };
  const std::uint64_t before = machine.Now;
  draw.WaitNextFrame();
  EXPECT_GT(machine.Now, before + 100);  // the frame waited for the focus
  EXPECT_EQ(draw.FramesDone(), 2u);
}

}  // namespace
