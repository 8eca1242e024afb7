// CPU cost of the sound engine as a share of real time on one core: eight wave
// effects over a MIDI piece, the effects alone, and the synthesiser alone.
// The "realtime_%" counter is the percentage of one core the sound would take
// (the benchmark library prints it with an "s" because it is an inverted rate).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "shell/Melvox.h"
#include "shell/MelvoxMidi.h"
#include "shell/MelvoxSynth.h"

namespace {

constexpr int kRate = 44100;
constexpr int kBlockFrames = 1024;  // what a device asks for at a time
constexpr int kEffects = 8;

class PulledOutput final : public Platform {
public:
  std::uint64_t NowMs() override { return 0; }
  void SleepUntilMs(std::uint64_t) override {}
  std::vector<InputEvent> PumpEvents(std::uint64_t) override { return {}; }
  std::vector<InputEvent> TakeInputEvents() override { return {}; }
  bool KeyDown(Key) override { return false; }
  bool IsActive() override { return true; }
  bool QuitRequested() override { return false; }
  void Present(const TVantraBoard&) override {}
  void SetScreenMode(ScreenMode, bool) override {}
  void SetTitle(std::string_view) override {}
  int AudioRate() override { return kRate; }
  void SetAudioSource(AudioSource* source) override { Source = source; }
  void LockAudio() override {}
  void UnlockAudio() override {}
  void ShowError(std::string_view, std::string_view) override {}
  AudioSource* Source = nullptr;
};

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes, bool bigEndian) {
  for (int i = 0; i < bytes; ++i) {
    int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutText(std::vector<std::uint8_t>& out, const char* text) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(text[i]));
}

// Ten seconds of a stereo chirp at 22050 Hz: resampled on every frame.
std::vector<std::uint8_t> EffectWave() {
  constexpr int kClipRate = 22050;
  constexpr int kFrames = kClipRate * 10;
  std::vector<std::uint8_t> out;
  PutText(out, "RIFF");
  Put(out, 36 + kFrames * 4, 4, false);
  PutText(out, "WAVE");
  PutText(out, "fmt ");
  Put(out, 16, 4, false);
  Put(out, 1, 2, false);
  Put(out, 2, 2, false);
  Put(out, kClipRate, 4, false);
  Put(out, kClipRate * 4, 4, false);
  Put(out, 4, 2, false);
  Put(out, 16, 2, false);
  PutText(out, "data");
  Put(out, kFrames * 4, 4, false);
  for (int i = 0; i < kFrames; ++i) {
    double t = static_cast<double>(i) / kClipRate;
    auto sample = static_cast<std::int16_t>(4000 * std::sin(2 * M_PI * (300 + 50 * t) * t));
    Put(out, static_cast<std::uint16_t>(sample), 2, false);
    Put(out, static_cast<std::uint16_t>(-sample), 2, false);
  }
  return out;
}

// Eight seconds of an ordinary game piece at 120 beats per minute: a piano
// melody in eighths, held three-note string chords, a bass in quarters and
// drums (hi-hat in eighths, kick and snare on the beats).
std::vector<std::uint8_t> PieceMidi() {
  struct Timed {
    std::uint32_t Tick;
    std::vector<std::uint8_t> Bytes;
  };
  std::vector<Timed> events;
  auto note = [&](std::uint8_t channel, std::uint8_t key, std::uint32_t start, std::uint32_t length) {
    events.push_back({start, {static_cast<std::uint8_t>(0x90 | channel), key, 96}});
    events.push_back({start + length, {static_cast<std::uint8_t>(0x80 | channel), key, 0}});
  };
  constexpr std::uint32_t kBeat = 480;
  constexpr std::uint32_t kBar = 4 * kBeat;
  events.push_back({0, {0xC0, 0}});    // piano
  events.push_back({0, {0xC1, 48}});   // strings
  events.push_back({0, {0xC2, 33}});   // bass
  const std::uint8_t chordRoots[] = {60, 65, 67, 60};
  const std::uint8_t melody[] = {72, 74, 76, 79, 77, 76, 74, 72};
  for (std::uint32_t bar = 0; bar < 4; ++bar) {
    std::uint8_t root = chordRoots[bar];
    for (std::uint8_t offset : {0, 4, 7}) note(1, static_cast<std::uint8_t>(root + offset), bar * kBar, kBar);
    for (std::uint32_t beat = 0; beat < 4; ++beat) {
      std::uint32_t at = bar * kBar + beat * kBeat;
      note(2, static_cast<std::uint8_t>(root - 24), at, kBeat);
      note(9, beat % 2 == 0 ? 36 : 38, at, kBeat / 2);
      for (std::uint32_t half = 0; half < 2; ++half) {
        note(0, melody[(beat * 2 + half + bar) % 8], at + half * kBeat / 2, kBeat / 2);
        note(9, 42, at + half * kBeat / 2, kBeat / 4);
      }
    }
  }
  std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) { return a.Tick < b.Tick; });

  std::vector<std::uint8_t> track;
  std::uint32_t tick = 0;
  for (const Timed& event : events) {
    std::uint32_t delta = event.Tick - tick;  // below 16384: two bytes at most
    if (delta >= 128) track.push_back(static_cast<std::uint8_t>(0x80 | (delta >> 7)));
    track.push_back(static_cast<std::uint8_t>(delta & 0x7F));
    track.insert(track.end(), event.Bytes.begin(), event.Bytes.end());
    tick = event.Tick;
  }
  track.push_back(0);
  for (std::uint8_t byte : {0xFF, 0x2F, 0x00}) track.push_back(byte);

  std::vector<std::uint8_t> out;
  PutText(out, "MThd");
  Put(out, 6, 4, true);
  Put(out, 0, 2, true);
  Put(out, 1, 2, true);
  Put(out, 480, 2, true);
  PutText(out, "MTrk");
  Put(out, static_cast<std::uint32_t>(track.size()), 4, true);
  out.insert(out.end(), track.begin(), track.end());
  return out;
}

std::string WriteMedia(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::path path = std::filesystem::temp_directory_path() / ("zar-bench-sound-" + name);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

void ReportRealTimeShare(benchmark::State& state) {
  double audioSeconds = static_cast<double>(state.iterations()) * kBlockFrames / kRate;
  // Seconds of CPU per second of sound, as a percentage.
  state.counters["realtime_%"] =
      benchmark::Counter(audioSeconds / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void RunEngine(benchmark::State& state, bool withMidi) {
  PulledOutput output;
  MelvoxAttachOutput(&output);
  MelvoxSetSoundFontSources(MelvoxSoundFontSources{});
  MelvoxCreate();
  MelvoxInitMidi();
  MelvoxInitWave();
  std::string effect = WriteMedia("effect.wav", EffectWave());
  MelvoxReserveSound(effect.c_str());
  if (withMidi) {
    std::string piece = WriteMedia("piece.mid", PieceMidi());
    MelvoxPlayMusic(piece.c_str());
  }
  std::vector<std::int16_t> buffer(2 * kBlockFrames);
  std::int64_t framesSinceStart = 0;
  for (auto _ : state) {
    // Keep eight voices busy, staggered and with different settings.
    if (framesSinceStart % (kRate * 8) < kBlockFrames) {
      for (int k = 0; k < kEffects; ++k) MelvoxPlaySoundEx(effect.c_str(), 60 + 5 * k, 50 + 10 * k, 10 * k + 15);
    }
    output.Source->Render(buffer.data(), kBlockFrames);
    benchmark::DoNotOptimize(buffer.data());
    framesSinceStart += kBlockFrames;
  }
  ReportRealTimeShare(state);
  MelvoxRelease();
  MelvoxAttachOutput(nullptr);
}

void BM_SoundEffectsAndMidi(benchmark::State& state) { RunEngine(state, true); }
void BM_SoundEffectsOnly(benchmark::State& state) { RunEngine(state, false); }

void BM_SoundSynthesiserAlone(benchmark::State& state) {
  std::string soundFont = FindSoundFont(MelvoxSoundFontSources{});
  if (soundFont.empty()) {
    state.SkipWithError("no General MIDI soundfont installed");
    return;
  }
  MelvoxSynth synth(soundFont, kRate);
  auto bytes = PieceMidi();
  auto song = std::make_shared<const MidiSong>(ParseMidiFile(bytes));
  MidiSequencer sequencer(song, kRate);
  std::vector<float> left(kBlockFrames), right(kBlockFrames);
  double voiceSum = 0;
  for (auto _ : state) {
    int done = 0;
    while (done < kBlockFrames) {
      sequencer.PlayDue(&synth);
      int step = std::min(kBlockFrames - done, sequencer.FramesUntilNextEvent());
      synth.Render(left.data() + done, right.data() + done, step);
      sequencer.Advance(step, &synth);
      done += step;
    }
    benchmark::DoNotOptimize(left.data());
    voiceSum += synth.ActiveVoices();
  }
  ReportRealTimeShare(state);
  state.counters["voices"] = voiceSum / static_cast<double>(state.iterations());
}

}  // namespace

BENCHMARK(BM_SoundEffectsAndMidi)->MinTime(3.0);
BENCHMARK(BM_SoundEffectsOnly)->MinTime(2.0);
BENCHMARK(BM_SoundSynthesiserAlone)->MinTime(3.0);
