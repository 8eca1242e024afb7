// The demo's music, written as standard MIDI files by code.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "DemoArt.h"

namespace {

constexpr int kTicksPerBeat = 96;

struct Note {
  int beat8;   // start, in eighth notes
  int length;  // in eighth notes
  int key;
  int channel;
};

void PutVariable(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[5];
  int count = 0;
  do {
    bytes[count++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (count > 0) {
    --count;
    out.push_back(static_cast<std::uint8_t>(bytes[count] | (count > 0 ? 0x80 : 0)));
  }
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct Event {
  std::uint32_t tick;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> TrackOf(std::vector<Event> events) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
  std::vector<std::uint8_t> track;
  std::uint32_t now = 0;
  for (const Event& e : events) {
    PutVariable(track, e.tick - now);
    now = e.tick;
    track.insert(track.end(), e.bytes.begin(), e.bytes.end());
  }
  PutVariable(track, 0);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
  return track;
}

void WriteMidi(const std::string& path, int beatsPerMinute, const std::vector<int>& programs,
               const std::vector<Note>& notes) {
  std::vector<Event> events;
  const std::uint32_t tempo = 60000000u / static_cast<std::uint32_t>(beatsPerMinute);
  events.push_back({0, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(tempo >> 16), static_cast<std::uint8_t>(tempo >> 8),
                        static_cast<std::uint8_t>(tempo)}});
  for (std::size_t channel = 0; channel < programs.size(); ++channel)
    events.push_back({0, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(programs[channel])}});
  const std::uint32_t eighth = kTicksPerBeat / 2;
  for (const Note& note : notes) {
    const auto status = static_cast<std::uint8_t>(note.channel);
    events.push_back({note.beat8 * eighth, {static_cast<std::uint8_t>(0x90 | status), static_cast<std::uint8_t>(note.key), 96}});
    events.push_back({(note.beat8 + note.length) * eighth - 2,
                      {static_cast<std::uint8_t>(0x80 | status), static_cast<std::uint8_t>(note.key), 0}});
  }
  const std::vector<std::uint8_t> track = TrackOf(std::move(events));
  std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd'};
  PutBig(file, 6, 4);
  PutBig(file, 0, 2);  // one track
  PutBig(file, 1, 2);
  PutBig(file, kTicksPerBeat, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k'});
  PutBig(file, static_cast<std::uint32_t>(track.size()), 4);
  file.insert(file.end(), track.begin(), track.end());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteTitleMusic(const std::string& path) {
  // Eight bars of a slow march in C: a melody on a horn over strings.
  const int melody[] = {67, 72, 74, 76, 74, 72, 71, 72, 69, 67, 69, 71, 72, 74, 76, 79,
                        77, 76, 74, 72, 74, 76, 74, 71, 72, 71, 69, 67, 69, 71, 72, 72};
  const int chords[8][3] = {{48, 55, 64}, {45, 52, 60}, {41, 48, 57}, {43, 50, 59},
                            {48, 55, 64}, {41, 48, 57}, {43, 50, 59}, {48, 55, 64}};
  std::vector<Note> notes;
  for (int i = 0; i < 32; ++i) notes.push_back({i * 2, 2, melody[i], 0});
  for (int bar = 0; bar < 8; ++bar)
    for (int key : chords[bar]) notes.push_back({bar * 8, 8, key, 1});
  WriteMidi(path, 88, {60, 48}, notes);
}

void WriteGameOverMusic(const std::string& path) {
  const int line[] = {69, 67, 65, 64, 62, 64, 65, 57};
  std::vector<Note> notes;
  for (int i = 0; i < 8; ++i) notes.push_back({i * 4, 4, line[i], 0});
  notes.push_back({0, 32, 45, 1});
  WriteMidi(path, 60, {19, 48}, notes);
}

namespace {

// A tone sequence rendered to a 16-bit mono wave file: (frequency, milliseconds)
// pairs, square or sine, with a short linear release on each tone.
struct Tone {
  double frequency;
  int milliseconds;
};

void WriteToneWave(const std::string& path, const std::vector<Tone>& tones, bool square, double level) {
  constexpr int kRate = 22050;
  std::vector<std::int16_t> samples;
  double phase = 0;
  for (const Tone& tone : tones) {
    const int count = kRate * tone.milliseconds / 1000;
    for (int i = 0; i < count; ++i) {
      phase += tone.frequency / kRate;
      const double wave = square ? (phase - static_cast<long>(phase) < 0.5 ? 1.0 : -1.0)
                                 : std::sin(phase * 6.283185307179586);
      const double release = std::min(1.0, (count - i) / (kRate * 0.01));
      samples.push_back(static_cast<std::int16_t>(wave * level * release * 32767));
    }
  }
  std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
  auto putLittle = [&file](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  putLittle(36 + dataBytes, 4);
  for (char c : std::string("WAVEfmt ")) file.push_back(static_cast<std::uint8_t>(c));
  putLittle(16, 4);
  putLittle(1, 2);
  putLittle(1, 2);
  putLittle(kRate, 4);
  putLittle(kRate * 2, 4);
  putLittle(2, 2);
  putLittle(16, 2);
  for (char c : std::string("data")) file.push_back(static_cast<std::uint8_t>(c));
  putLittle(dataBytes, 4);
  for (std::int16_t s : samples) putLittle(static_cast<std::uint16_t>(s), 2);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

void WriteSystemSounds(const std::string& folder) {
  WriteToneWave(folder + "/Cursor.wav", {{1320, 30}}, false, 0.4);
  WriteToneWave(folder + "/Decision.wav", {{880, 40}, {1320, 60}}, false, 0.45);
  WriteToneWave(folder + "/Cancel.wav", {{990, 40}, {660, 60}}, false, 0.45);
  WriteToneWave(folder + "/Buzzer.wav", {{110, 90}, {0, 20}, {110, 90}}, true, 0.3);
}
