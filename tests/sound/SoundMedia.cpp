#include "sound/SoundMedia.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>

ScratchFolder::ScratchFolder() {
  std::random_device random;
  Root = std::filesystem::temp_directory_path() / ("zar-sound-" + std::to_string(random()));
  std::filesystem::create_directories(Root);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(Root, ignored);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {

void PutU16LE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(value & 0xFF);
  out.push_back((value >> 8) & 0xFF);
}
void PutU32LE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16LE(out, value & 0xFFFF);
  PutU16LE(out, value >> 16);
}
void PutU32BE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}
void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}
void PutVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = value & 0x7F;
    value >>= 7;
  } while (value);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

}  // namespace

std::vector<std::uint8_t> WaveBytes(const std::vector<std::int16_t>& samples, int rate, int channels,
                                    int bitsPerSample) {
  int bytesPerSample = bitsPerSample / 8;
  std::uint32_t dataLength = static_cast<std::uint32_t>(samples.size() * bytesPerSample);
  std::vector<std::uint8_t> out;
  PutTag(out, "RIFF");
  PutU32LE(out, 36 + dataLength);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutU32LE(out, 16);
  PutU16LE(out, 1);  // PCM
  PutU16LE(out, channels);
  PutU32LE(out, rate);
  PutU32LE(out, rate * channels * bytesPerSample);
  PutU16LE(out, channels * bytesPerSample);
  PutU16LE(out, bitsPerSample);
  PutTag(out, "data");
  PutU32LE(out, dataLength);
  for (std::int16_t sample : samples) {
    if (bitsPerSample == 8) {
      out.push_back(static_cast<std::uint8_t>((sample >> 8) + 128));
    } else {
      PutU16LE(out, static_cast<std::uint16_t>(sample));
    }
  }
  return out;
}

std::vector<std::uint8_t> ConstantWave(std::int16_t level, int frames, int rate, int channels) {
  return WaveBytes(std::vector<std::int16_t>(static_cast<std::size_t>(frames) * channels, level), rate, channels);
}

std::vector<std::uint8_t> MidiBytes(const std::vector<TestNote>& notes, std::uint32_t endTick,
                                    std::uint32_t microsecondsPerQuarter) {
  struct Timed {
    std::uint32_t Tick;
    std::vector<std::uint8_t> Bytes;
  };
  std::vector<Timed> events;
  events.push_back({0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                        static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                        static_cast<std::uint8_t>(microsecondsPerQuarter)}});
  events.push_back({0, {0xC0, 0x00}});
  for (const TestNote& note : notes) {
    events.push_back({note.Start, {static_cast<std::uint8_t>(0x90 | note.Channel), note.Key, 100}});
    events.push_back({note.Start + note.Length, {static_cast<std::uint8_t>(0x80 | note.Channel), note.Key, 0}});
  }
  std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.Tick < b.Tick; });
  std::vector<std::uint8_t> track;
  std::uint32_t tick = 0;
  for (const Timed& event : events) {
    PutVarLength(track, event.Tick - tick);
    tick = event.Tick;
    track.insert(track.end(), event.Bytes.begin(), event.Bytes.end());
  }
  PutVarLength(track, endTick - tick);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});

  std::vector<std::uint8_t> out;
  PutTag(out, "MThd");
  PutU32BE(out, 6);
  out.insert(out.end(), {0, 0, 0, 1, 0x01, 0xE0});  // format 0, one track, 480 ticks per quarter
  PutTag(out, "MTrk");
  PutU32BE(out, static_cast<std::uint32_t>(track.size()));
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

std::vector<std::int16_t> FakeOutput::Pull(int frames) {
  std::vector<std::int16_t> stereo(static_cast<std::size_t>(frames) * 2, 0);
  if (Source) Source->Render(stereo.data(), frames);
  return stereo;
}

double Rms(const std::vector<std::int16_t>& stereo, int channel, std::size_t from, std::size_t to) {
  to = std::min(to, stereo.size() / 2);
  if (to <= from) return 0;
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) {
    double value = stereo[2 * i + channel];
    sum += value * value;
  }
  return std::sqrt(sum / static_cast<double>(to - from));
}

long LastSoundingFrame(const std::vector<std::int16_t>& stereo) {
  for (long i = static_cast<long>(stereo.size() / 2) - 1; i >= 0; --i) {
    if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0) return i;
  }
  return -1;
}
