#pragma once
// Wave files decoded once into 16-bit stereo at their own rate; the mixer
// resamples while it plays, so tempo and output rate cost nothing here.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct WaveClip {
  std::vector<std::int16_t> Samples;  // interleaved left, right
  int Rate = 0;                       // frames per second of the file
  std::size_t FrameCount() const { return Samples.size() / 2; }
};

// The whole file; throws EMelvoxFile when it cannot be read.
std::vector<std::uint8_t> ReadSoundFile(const std::string& path);

// True for a RIFF "WAVE" header (the content decides, not the extension).
bool IsWaveData(std::span<const std::uint8_t> bytes);

// Decodes PCM 8/16/24/32-bit and float, IMA and Microsoft ADPCM, µ-law and
// A-law, any channel count and rate. Throws EMelvoxFile on a truncated or
// undecodable file and on one without any sound.
WaveClip DecodeWave(std::span<const std::uint8_t> bytes);
