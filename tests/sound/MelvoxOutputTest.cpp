// The engine on the platform's real outputs: the headless virtual clock and
// SDL's audio device with its dummy and disk drivers. Each is compared with
// the same calls rendered offline.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/HeadlessPlatform.h"
#include "platform/SdlPlatform.h"
#include "shell/Melvox.h"
#include "shell/MelvoxWave.h"
#include "sound/SoundMedia.h"

namespace {

constexpr int kDeviceRate = 44100;

// Half a second at 22050 Hz that never passes through zero, so its start can
// be found in a recording that begins with silence.
std::vector<std::uint8_t> ToneWave() {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < 11025; ++i) {
    samples.push_back(static_cast<std::int16_t>(9000 + 6000 * std::sin(2 * M_PI * 440 * i / 22050.0)));
  }
  return WaveBytes(samples, 22050, 1);
}

MelvoxSoundFontSources NoSoundFont() {
  MelvoxSoundFontSources sources;
  sources.SystemDefaults.clear();
  return sources;
}

void StartEngine(Platform* output) {
  MelvoxAttachOutput(output);
  MelvoxSetSoundFontSources(NoSoundFont());
  testing::internal::CaptureStderr();
  MelvoxCreate();
  MelvoxInitMidi();
  MelvoxInitWave();
  testing::internal::GetCapturedStderr();
}

void StopEngine() {
  MelvoxRelease();
  MelvoxAttachOutput(nullptr);
}

std::vector<std::int16_t> OfflineRender(const std::string& wavePath, int frames) {
  FakeOutput output(kDeviceRate);
  StartEngine(&output);
  MelvoxPlayMusic(wavePath.c_str());
  auto rendered = output.Pull(frames);
  StopEngine();
  return rendered;
}

std::vector<std::int16_t> ReadPcm16(const std::string& path, std::size_t skipBytes = 0) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() <= skipBytes) return {};
  std::vector<std::int16_t> samples((bytes.size() - skipBytes) / 2);
  std::memcpy(samples.data(), bytes.data() + skipBytes, samples.size() * 2);
  return samples;
}

TEST(SoundOutputs, HeadlessClockHearsTheOfflineRenderAndKeepsItsTiming) {
  ScratchFolder folder;
  std::string wave = folder.File("tone.wav");
  WriteBytes(wave, ToneWave());
  std::string heard = folder.File("heard.wav");
  {
    HeadlessPlatform headless({}, heard);
    StartEngine(&headless);
    MelvoxPlayMusic(wave.c_str());
    headless.SleepUntilMs(400);
    EXPECT_EQ(MelvoxGetMusicLooping(), 0);
    headless.SleepUntilMs(600);
    EXPECT_EQ(MelvoxGetMusicLooping(), 1);
    StopEngine();
  }
  std::vector<std::int16_t> written = ReadPcm16(heard, 44);
  ASSERT_EQ(written.size(), 2u * kDeviceRate * 600 / 1000);
  EXPECT_EQ(written, OfflineRender(wave, kDeviceRate * 600 / 1000));
}

class SdlAudioDriver : public ::testing::Test {
protected:
  void UseDriver(const char* driver) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", driver, 1);
  }
  void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  ScratchFolder Folder;
};

TEST_F(SdlAudioDriver, DummyDeviceDrivesTheMusicClock) {
  UseDriver("dummy");
  std::string piece = Folder.File("short.mid");
  WriteBytes(piece, MidiBytes({{0, 48}}, 96));  // a tenth of a second
  auto platform = CreateSdlPlatform(SdlOptions{false});
  StartEngine(platform.get());
  MelvoxPlayMusic(piece.c_str());
  bool looped = false;
  for (int wait = 0; wait < 500 && !looped; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    looped = MelvoxGetMusicLooping() != 0;
  }
  EXPECT_TRUE(looped);
  StopEngine();
}

TEST_F(SdlAudioDriver, WithoutAnyDeviceTheFrameClockKeepsMusicTime) {
  UseDriver("no-such-driver");
  std::string piece = Folder.File("short.mid");
  WriteBytes(piece, MidiBytes({{0, 48}}, 96));  // a tenth of a second
  testing::internal::CaptureStderr();
  auto platform = CreateSdlPlatform(SdlOptions{false});
  testing::internal::GetCapturedStderr();
  StartEngine(platform.get());
  MelvoxPlayMusic(piece.c_str());
  platform->SleepUntilMs(platform->NowMs() + 50);
  EXPECT_EQ(MelvoxGetMusicLooping(), 0);
  platform->SleepUntilMs(platform->NowMs() + 100);
  EXPECT_EQ(MelvoxGetMusicLooping(), 1);
  StopEngine();
}

TEST_F(SdlAudioDriver, DiskDeviceWritesWhatTheOfflineRenderHears) {
  UseDriver("disk");
  std::string recording = Folder.File("disk.raw");
  setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
  std::string wave = Folder.File("tone.wav");
  WriteBytes(wave, ToneWave());
  constexpr int kCompared = kDeviceRate / 2;
  {
    auto platform = CreateSdlPlatform(SdlOptions{false});
    StartEngine(platform.get());
    MelvoxPlayMusic(wave.c_str());
    // The driver writes in real time; wait for a little more than needed.
    for (int wait = 0; wait < 1000; ++wait) {
      std::error_code ignored;
      if (std::filesystem::file_size(recording, ignored) >= 4u * kDeviceRate) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    StopEngine();
  }
  unsetenv("SDL_DISKAUDIOFILE");
  std::vector<std::int16_t> written = ReadPcm16(recording);
  std::size_t start = 0;
  while (start < written.size() && written[start] == 0) ++start;
  start -= start % 2;
  ASSERT_GE(written.size(), start + 2u * kCompared) << "the disk driver wrote too little";
  std::vector<std::int16_t> heard(written.begin() + start, written.begin() + start + 2 * kCompared);
  EXPECT_EQ(heard, OfflineRender(wave, kCompared));
}

}  // namespace
