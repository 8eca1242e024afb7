#include <gtest/gtest.h>

#include "shell/MelvoxMidi.h"
#include "shell/MelvoxWave.h"
#include "sound/SoundMedia.h"

namespace {

// A wave file of any format tag with the given raw data.
std::vector<std::uint8_t> RawWave(int formatTag, int bits, int channels, int rate, std::vector<std::uint8_t> data) {
  std::vector<std::uint8_t> out = WaveBytes({}, rate, channels, 16);
  int blockAlign = channels * bits / 8;
  out[20] = static_cast<std::uint8_t>(formatTag);
  out[28] = static_cast<std::uint8_t>(rate * blockAlign);
  out[29] = static_cast<std::uint8_t>((rate * blockAlign) >> 8);
  out[32] = static_cast<std::uint8_t>(blockAlign);
  out[34] = static_cast<std::uint8_t>(bits);
  std::uint32_t length = static_cast<std::uint32_t>(data.size());
  for (int i = 0; i < 4; ++i) {
    out[40 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    out[4 + i] = static_cast<std::uint8_t>((36 + length) >> (8 * i));
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

TEST(WaveDecoding, FormatsBecomeSixteenBitStereoAtTheirOwnRate) {
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> File;
    int Rate;
    std::vector<std::int16_t> FirstFrames;  // left, right, left, right
  };
  const Case cases[] = {
      {"8-bit mono", WaveBytes({16384, -16384}, 8000, 1, 8), 8000, {16384, 16384, -16384, -16384}},
      {"16-bit stereo", WaveBytes({1000, -2000, 3000, -4000}, 48000, 2), 48000, {1000, -2000, 3000, -4000}},
      {"mu-law mono", RawWave(7, 8, 1, 11025, {0x80, 0xFF}), 11025, {32124, 32124, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    WaveClip clip = DecodeWave(c.File);
    EXPECT_EQ(clip.Rate, c.Rate);
    ASSERT_GE(clip.Samples.size(), c.FirstFrames.size());
    // Channel conversion may pass through floating point: one step either way is fine.
    for (std::size_t i = 0; i < c.FirstFrames.size(); ++i) EXPECT_NEAR(clip.Samples[i], c.FirstFrames[i], 1) << i;
  }
}

TEST(WaveDecoding, CutOrEmptyFilesAreRefused) {
  auto good = ConstantWave(100, 1000, 8000);
  std::vector<std::uint8_t> noFormat = good;
  noFormat[12] = 'x';  // the format chunk renamed: data comes without one
  struct Case {
    const char* Name;
    std::vector<std::uint8_t> File;
  };
  const Case cases[] = {
      {"data cut", std::vector<std::uint8_t>(good.begin(), good.end() - 10)},
      {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 44)},
      {"no format", noFormat},
      {"not RIFF", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1}},
      {"empty", {}},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(DecodeWave(c.File), EMelvoxFile) << c.Name;
  }
}

}  // namespace
