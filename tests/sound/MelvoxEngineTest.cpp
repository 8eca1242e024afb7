#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "shell/Melvox.h"
#include "sound/SoundMedia.h"

namespace {

constexpr int kRate = 22050;
constexpr std::int16_t kLevel = 16384;  // half of full scale

MelvoxSoundFontSources NoSoundFont() {
  MelvoxSoundFontSources sources;
  sources.SystemDefaults.clear();
  return sources;
}

// An engine on a hand-pulled output, with wave and MIDI started as the game does.
class SoundEngine : public ::testing::Test {
protected:
  void SetUp() override { Start(NoSoundFont()); }
  void TearDown() override {
    MelvoxRelease();
    MelvoxAttachOutput(nullptr);
  }
  void Start(const MelvoxSoundFontSources& sources) {
    MelvoxAttachOutput(&Output);
    MelvoxSetSoundFontSources(sources);
    MelvoxCreate();
    MelvoxInitMidi();
    MelvoxInitWave();
    MelvoxClearCallLog();
  }
  std::string Media(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string path = Folder.File(name);
    WriteBytes(path, bytes);
    return path;
  }
  // Pulls in small steps until the music reports it has played through.
  int FramesUntilLooped(int limit) {
    constexpr int kStep = 50;
    for (int frames = 0; frames < limit; frames += kStep) {
      if (MelvoxGetMusicLooping()) return frames;
      Output.Pull(kStep);
    }
    return -1;
  }

  FakeOutput Output{kRate};
  ScratchFolder Folder;
};

// One frame's value, as a share of the source level, on each side.
double LeftShare(const std::vector<std::int16_t>& out, int frame) { return out[2 * frame] / double(kLevel); }
double RightShare(const std::vector<std::int16_t>& out, int frame) { return out[2 * frame + 1] / double(kLevel); }

TEST_F(SoundEngine, MusicAndEffectLevelsFollowTheVolumeAndBalanceCurves) {
  struct Case {
    int Volume;
    int Balance;
    double Left;
    double Right;
  };
  const Case cases[] = {
      {100, 50, 1.0, 1.0}, {50, 50, 0.25, 0.25}, {70, 50, 0.49, 0.49}, {0, 50, 0.0, 0.0},
      {100, 0, 1.0, 0.0},  {100, 25, 1.0, 0.5},  {100, 75, 0.5, 1.0},  {100, 100, 0.0, 1.0},
      {50, 0, 0.25, 0.0},
  };
  std::string path = Media("level.wav", ConstantWave(kLevel, kRate, kRate));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.Volume << " balance " << c.Balance);
    MelvoxPlayMusic(path.c_str());
    MelvoxSetMusicVolume(c.Volume);
    MelvoxSetMusicPanpot(c.Balance);
    auto music = Output.Pull(100);
    EXPECT_NEAR(LeftShare(music, 50), c.Left, 1e-3);
    EXPECT_NEAR(RightShare(music, 50), c.Right, 1e-3);
    MelvoxStopMusic();

    MelvoxPlaySoundEx(path.c_str(), c.Volume, 100, c.Balance);
    auto effect = Output.Pull(100);
    EXPECT_NEAR(LeftShare(effect, 50), c.Left, 1e-3);
    EXPECT_NEAR(RightShare(effect, 50), c.Right, 1e-3);
    MelvoxStopSound();
  }
}

TEST_F(SoundEngine, NewSettingsApplyToThePlayingPieceAtOnce) {
  std::string path = Media("level.wav", ConstantWave(kLevel, kRate, kRate));
  MelvoxPlayMusic(path.c_str());
  Output.Pull(1000);
  MelvoxSetMusicVolume(50);
  MelvoxSetMusicPanpot(0);
  auto out = Output.Pull(10);
  EXPECT_NEAR(LeftShare(out, 0), 0.25, 1e-3);
  EXPECT_EQ(out[1], 0);

  // A quarter second at 960 ticks a second, then a quarter at half again the speed.
  std::string piece = Media("long.mid", MidiBytes({{0, 480}}, 9600));
  MelvoxPlayMusic(piece.c_str());
  Output.Pull(kRate / 4);
  MelvoxSetMusicSpeed(150);
  Output.Pull(kRate / 4);
  EXPECT_NEAR(MelvoxGetMidiTick(), 240 + 360, 2);
}

TEST_F(SoundEngine, TempoAndRateSetHowLongWavesLast) {
  struct Case {
    int ClipRate;
    int Tempo;
    int Frames;  // of the output until the end
  };
  const Case cases[] = {
      {kRate, 100, kRate}, {kRate, 150, kRate * 2 / 3}, {kRate, 50, kRate * 2},
      {11025, 100, kRate}, {44100, 150, kRate * 2 / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "clip rate " << c.ClipRate << " tempo " << c.Tempo);
    // One second of sound at its own rate, as music and as an effect.
    std::string path = Media("second.wav", ConstantWave(kLevel, c.ClipRate, c.ClipRate));
    MelvoxPlayMusic(path.c_str());
    MelvoxSetMusicSpeed(c.Tempo);
    EXPECT_NEAR(FramesUntilLooped(3 * kRate), c.Frames, 60);
    EXPECT_EQ(MelvoxGetMusicPlaying(), 1);  // music loops on
    MelvoxStopMusic();

    MelvoxPlaySoundEx(path.c_str(), 100, c.Tempo, 50);
    EXPECT_NEAR(LastSoundingFrame(Output.Pull(3 * kRate)), c.Frames, 3);
  }
}

TEST_F(SoundEngine, FadeInRisesAndFadeOutEndsTheMusic) {
  std::string path = Media("level.wav", ConstantWave(kLevel, 3 * kRate, kRate));
  MelvoxPlayMusic(path.c_str());
  MelvoxFadeInMusic(1000);
  auto rising = Output.Pull(kRate + 100);
  for (double share : {0.0, 0.25, 0.5, 0.75, 1.0}) {
    EXPECT_NEAR(LeftShare(rising, static_cast<int>(share * kRate)), share, 2e-3) << share;
  }
  EXPECT_NEAR(LeftShare(rising, kRate + 50), 1.0, 1e-3);

  MelvoxFadeOutMusic(500);
  auto falling = Output.Pull(kRate);
  EXPECT_NEAR(LeftShare(falling, kRate / 4), 0.5, 2e-3);
  EXPECT_NEAR(LastSoundingFrame(falling), kRate / 2, 3);
  EXPECT_EQ(MelvoxGetMusicPlaying(), 0);

  MelvoxPlayMusic(path.c_str());
  MelvoxFadeOutMusic(0);
  EXPECT_EQ(MelvoxGetMusicPlaying(), 0);
  EXPECT_EQ(LastSoundingFrame(Output.Pull(100)), -1);
}

TEST_F(SoundEngine, MidiTickAdvancesAndRestartsWhenThePieceLoops) {
  // One second at 120 beats per minute: 960 ticks.
  std::string path = Media("second.mid", MidiBytes({{0, 480}}, 960));
  struct Case {
    int Tempo;
    int LoopFrames;
  };
  for (Case c : {Case{100, kRate}, Case{150, kRate * 2 / 3}}) {
    SCOPED_TRACE(testing::Message() << "tempo " << c.Tempo);
    MelvoxPlayMusic(path.c_str());
    MelvoxSetMusicSpeed(c.Tempo);
    EXPECT_EQ(MelvoxGetMidiTick(), 0);
    Output.Pull(c.LoopFrames / 2);
    EXPECT_NEAR(MelvoxGetMidiTick(), 480, 2);
    EXPECT_EQ(MelvoxGetMusicLooping(), 0);
    EXPECT_NEAR(c.LoopFrames / 2 + FramesUntilLooped(kRate), c.LoopFrames, 60);
    EXPECT_LT(MelvoxGetMidiTick(), 10);
    Output.Pull(c.LoopFrames / 4);
    EXPECT_NEAR(MelvoxGetMidiTick(), 240, 6);
    EXPECT_EQ(MelvoxGetMusicPlaying(), 1);
  }
  MelvoxStopMusic();
  EXPECT_EQ(MelvoxGetMidiTick(), 0);
  EXPECT_EQ(MelvoxGetMusicLooping(), 0);
}

TEST_F(SoundEngine, TwentyEffectsAtOnceKeepTheNewestSixteen) {
  // Effect k holds level 100·(k+1): the sum says exactly which ones sound.
  for (int k = 0; k < 20; ++k) {
    std::string path = Media("effect" + std::to_string(k) + ".wav", ConstantWave(100 * (k + 1), kRate, kRate));
    MelvoxPlaySoundEx(path.c_str(), 100, 100, 50);
  }
  auto out = Output.Pull(100);
  int newestSixteen = 0;
  for (int k = 4; k < 20; ++k) newestSixteen += 100 * (k + 1);
  EXPECT_NEAR(out[100], newestSixteen, 2);
  EXPECT_NEAR(out[101], newestSixteen, 2);

  MelvoxStopSound();
  EXPECT_EQ(LastSoundingFrame(Output.Pull(100)), -1);
}

TEST_F(SoundEngine, BrokenFilesAreSilentAndNamedOnce) {
  auto wave = ConstantWave(kLevel, kRate, kRate);
  auto midi = MidiBytes({{0, 480}}, 960);
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> Bytes;
    bool Written;
  };
  const Case cases[] = {
      {"missing.wav", {}, false},
      {"empty.mid", {}, true},
      {"cut.wav", std::vector<std::uint8_t>(wave.begin(), wave.begin() + wave.size() / 2), true},
      {"cut.mid", std::vector<std::uint8_t>(midi.begin(), midi.end() - 6), true},
      {"header.wav", std::vector<std::uint8_t>(wave.begin(), wave.begin() + 30), true},
      {"noise.mid", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, true},
  };
  std::string good = Media("good.wav", wave);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string path = c.Written ? Media(c.Name, c.Bytes) : Folder.File(c.Name);
    MelvoxPlayMusic(good.c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(MelvoxPlayMusic(path.c_str()), -1);
    EXPECT_EQ(MelvoxPlayMusic(path.c_str()), -1);
    EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), -1);
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(MelvoxGetMusicPlaying(), 0);  // the piece before it stops too
    EXPECT_EQ(LastSoundingFrame(Output.Pull(500)), -1);
    std::size_t first = said.find(path);
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(path, first + 1), std::string::npos) << said;
  }

  testing::internal::CaptureStderr();
  EXPECT_EQ(MelvoxPlayMusic(""), -1);
  EXPECT_EQ(MelvoxPlaySoundEx("", 100, 100, 50), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(SoundEngine, ReservedSoundsStayDecodedUntilCancelled) {
  std::string path = Media("cursor.wav", ConstantWave(kLevel, kRate / 10, kRate));
  MelvoxReserveSound(path.c_str());
  MelvoxReserveSound(path.c_str());
  std::filesystem::remove(path);

  EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), 0);
  EXPECT_NE(LastSoundingFrame(Output.Pull(100)), -1);

  MelvoxCancelSound(path.c_str());  // reserved twice: still held
  EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), 0);
  MelvoxCancelSound(path.c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), -1);
  testing::internal::GetCapturedStderr();
}

TEST_F(SoundEngine, TermWaveSilencesEffectsAndDropsReservationsUntilInitWave) {
  std::string path = Media("decide.wav", ConstantWave(kLevel, kRate, kRate));
  MelvoxReserveSound(path.c_str());
  MelvoxPlaySoundEx(path.c_str(), 100, 100, 50);
  MelvoxTermWave();
  EXPECT_EQ(LastSoundingFrame(Output.Pull(100)), -1);
  EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), -1);

  MelvoxInitWave();
  std::filesystem::remove(path);  // the reservation went with TermWave
  testing::internal::CaptureStderr();
  EXPECT_EQ(MelvoxPlaySoundEx(path.c_str(), 100, 100, 50), -1);
  testing::internal::GetCapturedStderr();
}

TEST_F(SoundEngine, CallLogKeepsEveryCallInOrderWithItsArguments) {
  std::string path = Media("theme.mid", MidiBytes({{0, 480}}, 960));
  MelvoxPlayMusic(path.c_str());
  MelvoxFadeInMusic(1500);
  MelvoxSetMusicVolume(80);
  MelvoxSetMusicSpeed(120);
  MelvoxSetMusicPanpot(30);
  MelvoxPlaySoundEx("/x/Sound/Buzzer.wav", 90, 110, 40);
  MelvoxGetMusicPlaying();
  std::vector<std::string> expected = {
      "MelvoxPlayMusic(" + path + ")",
      "MelvoxFadeInMusic(1500)",
      "MelvoxSetMusicVolume(80)",
      "MelvoxSetMusicSpeed(120)",
      "MelvoxSetMusicPanpot(30)",
      "MelvoxPlaySoundEx(/x/Sound/Buzzer.wav, 90, 110, 40)",
      "MelvoxGetMusicPlaying() = 1",
  };
  testing::internal::CaptureStderr();  // the missing effect is reported
  EXPECT_EQ(MelvoxCallLog(), expected);
  testing::internal::GetCapturedStderr();
}

TEST_F(SoundEngine, ControlCallsTakeTheAudioLockAndReleaseIt) {
  std::string path = Media("level.wav", ConstantWave(kLevel, kRate, kRate));
  int before = Output.LockCount;
  MelvoxPlayMusic(path.c_str());
  MelvoxSetMusicVolume(20);
  MelvoxPlaySoundEx(path.c_str(), 100, 100, 50);
  MelvoxGetMusicLooping();
  EXPECT_GE(Output.LockCount - before, 4);
  EXPECT_EQ(Output.LockDepth, 0);
}

TEST_F(SoundEngine, ReleaseTwiceLeavesTheOutputAndLaterCallsHarmless) {
  EXPECT_EQ(Output.Source != nullptr, true);
  MelvoxRelease();
  EXPECT_EQ(Output.Source, nullptr);
  EXPECT_EQ(MelvoxRelease(), 0);
  EXPECT_EQ(MelvoxPlayMusic("/nowhere.mid"), -1);
  EXPECT_EQ(MelvoxPlaySoundEx("/nowhere.wav", 100, 100, 50), -1);
  EXPECT_EQ(MelvoxGetMusicPlaying(), 0);
  EXPECT_EQ(MelvoxGetMidiTick(), 0);
}

// Music through the real synthesiser, when the machine has a General MIDI soundfont.
class SoundEngineWithSoundFont : public SoundEngine {
protected:
  void SetUp() override {
    if (FindSoundFontForTest().empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    Start(MelvoxSoundFontSources{});
  }
  static std::string FindSoundFontForTest() {
    for (const auto& candidate : MelvoxSoundFontSources{}.SystemDefaults) {
      if (std::filesystem::exists(candidate)) return candidate;
    }
    return {};
  }
  std::vector<std::int16_t> PlayMidi(int volume, int balance) {
    std::string path = Media("chord.mid", MidiBytes({{0, 480, 60}, {0, 480, 64}, {0, 480, 67}}, 960));
    MelvoxPlayMusic(path.c_str());
    MelvoxSetMusicVolume(volume);
    MelvoxSetMusicPanpot(balance);
    return Output.Pull(kRate / 2);
  }
};

TEST_F(SoundEngineWithSoundFont, MidiIsHeardAndFollowsVolumeAndBalance) {
  auto full = PlayMidi(100, 50);
  double left = Rms(full, 0);
  EXPECT_GT(left, 300.0);
  EXPECT_GT(Rms(full, 1), 300.0);

  auto half = PlayMidi(50, 50);
  EXPECT_NEAR(Rms(half, 0) / left, 0.25, 0.01);

  auto leftOnly = PlayMidi(100, 0);
  EXPECT_GT(Rms(leftOnly, 0), 300.0);
  EXPECT_EQ(Rms(leftOnly, 1), 0.0);
}

TEST(SoundEngineWithoutOutput, KeepsTimeByTheClock) {
  ScratchFolder folder;
  std::string path = folder.File("short.mid");
  WriteBytes(path, MidiBytes({{0, 48}}, 96));  // a tenth of a second
  MelvoxAttachOutput(nullptr);
  MelvoxSetSoundFontSources(NoSoundFont());
  testing::internal::CaptureStderr();
  MelvoxCreate();
  MelvoxInitMidi();
  testing::internal::GetCapturedStderr();
  MelvoxPlayMusic(path.c_str());
  EXPECT_EQ(MelvoxGetMusicLooping(), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(MelvoxGetMusicLooping(), 1);
  EXPECT_EQ(MelvoxGetMusicPlaying(), 1);
  MelvoxRelease();
}

}  // namespace
