#include "shell/MelvoxSynth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace {

// fluidsynth's own default (0.2) leaves General MIDI pieces far quieter than
// typical wave music; this brings an ordinary piece to about −15 dBFS with its
// drum peaks still below full scale.
constexpr double kSynthGain = 0.35;

bool HasSoundFontExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".sf2" || extension == ".sf3";
}

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::string FirstSoundFontIn(const std::filesystem::path& folder) {
  std::error_code error;
  std::vector<std::filesystem::path> found;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (HasSoundFontExtension(it->path()) && IsFile(it->path())) found.push_back(it->path());
  }
  if (found.empty()) return {};
  return std::min_element(found.begin(), found.end())->string();
}

}  // namespace

std::string FindSoundFont(const MelvoxSoundFontSources& sources) {
  if (!sources.PackageFolder.empty()) {
    for (const char* folder : {"Music", "SoundFont"}) {
      std::string found = FirstSoundFontIn(std::filesystem::path(sources.PackageFolder) / folder);
      if (!found.empty()) return found;
    }
  }
  if (!sources.Configured.empty() && IsFile(sources.Configured)) return sources.Configured;
  for (const std::string& candidate : sources.SystemDefaults) {
    if (IsFile(candidate)) return candidate;
  }
  return {};
}

MelvoxSynth::MelvoxSynth(const std::string& soundFontPath, int sampleRate) {
  Settings = new_fluid_settings();
  fluid_settings_setnum(Settings, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(Settings, "synth.gain", kSynthGain);
  fluid_settings_setint(Settings, "synth.cpu-cores", 1);
  Synth = new_fluid_synth(Settings);
  if (!Synth || fluid_synth_sfload(Synth, soundFontPath.c_str(), 1) == FLUID_FAILED) {
    if (Synth) delete_fluid_synth(Synth);
    delete_fluid_settings(Settings);
    throw EMelvoxFile("soundfont does not load");
  }
}

MelvoxSynth::~MelvoxSynth() {
  delete_fluid_synth(Synth);
  delete_fluid_settings(Settings);
}

void MelvoxSynth::Play(const MidiEvent& event, const MidiSong& song) {
  if (event.EventKind == MidiEvent::Kind::SysEx) {
    fluid_synth_sysex(Synth, song.SysExData.data() + event.SysExOffset, static_cast<int>(event.SysExLength),
                      nullptr, nullptr, nullptr, 0);
    return;
  }
  int channel = event.Status & 0x0F;
  switch (event.Status & 0xF0) {
    case 0x80: fluid_synth_noteoff(Synth, channel, event.Data1); break;
    case 0x90: fluid_synth_noteon(Synth, channel, event.Data1, event.Data2); break;
    case 0xA0: fluid_synth_key_pressure(Synth, channel, event.Data1, event.Data2); break;
    case 0xB0: fluid_synth_cc(Synth, channel, event.Data1, event.Data2); break;
    case 0xC0: fluid_synth_program_change(Synth, channel, event.Data1); break;
    case 0xD0: fluid_synth_channel_pressure(Synth, channel, event.Data1); break;
    case 0xE0: fluid_synth_pitch_bend(Synth, channel, event.Data1 | (event.Data2 << 7)); break;
    default: break;
  }
}

void MelvoxSynth::Restart() {
  // Released notes ring out into the new pass; controllers start fresh.
  constexpr int kResetAllControllers = 121;
  fluid_synth_all_notes_off(Synth, -1);
  for (int channel = 0; channel < 16; ++channel) fluid_synth_cc(Synth, channel, kResetAllControllers, 0);
}

void MelvoxSynth::Reset() { fluid_synth_system_reset(Synth); }

void MelvoxSynth::Render(float* left, float* right, int frames) {
  fluid_synth_write_float(Synth, frames, left, 0, 1, right, 0, 1);
}

int MelvoxSynth::ActiveVoices() const { return fluid_synth_get_active_voice_count(Synth); }
