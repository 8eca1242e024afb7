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

// One IMA ADPCM block of 256 bytes (505 samples): predictor 1000, step index 0
// and zero codes, which keep every sample at the predictor.
std::vector<std::uint8_t> ImaAdpcmWave() {
  std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                   'f', 'm', 't', ' ', 20, 0, 0, 0,
                                   0x11, 0, 1, 0,           // IMA ADPCM, mono
                                   0x11, 0x2B, 0, 0,        // 11025 Hz
                                   0x00, 0x2C, 0, 0,        // bytes per second (informative)
                                   0, 1, 4, 0,              // block of 256 bytes, 4 bits
                                   2, 0, 0xF9, 0x01,        // extra: 505 samples per block
                                   'd', 'a', 't', 'a', 0, 1, 0, 0,
                                   0xE8, 0x03, 0, 0};       // block header: predictor, index
  out.resize(out.size() + 252, 0);
  std::uint32_t riffLength = static_cast<std::uint32_t>(out.size() - 8);
  out[4] = static_cast<std::uint8_t>(riffLength);
  out[5] = static_cast<std::uint8_t>(riffLength >> 8);
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
      {"IMA ADPCM mono", ImaAdpcmWave(), 11025, {1000, 1000, 1000, 1000}},
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
