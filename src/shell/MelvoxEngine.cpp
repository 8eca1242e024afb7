// The engine's control side: runs on the game thread. Files are read and
// decoded before the audio lock is taken, so the output never waits on a disk.

#include "shell/MelvoxEngine.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kMinTempo = 50;
constexpr int kMaxTempo = 150;

int ClampPercent(int value) { return std::clamp(value, 0, 100); }
int ClampTempo(int tempo) { return std::clamp(tempo, kMinTempo, kMaxTempo); }

}  // namespace

float MelvoxVolumeGain(int volume) {
  float share = ClampPercent(volume) / 100.0f;
  return share * share;
}

float MelvoxBalanceLeft(int balance) { return std::min(1.0f, (100 - ClampPercent(balance)) / 50.0f); }

float MelvoxBalanceRight(int balance) { return std::min(1.0f, ClampPercent(balance) / 50.0f); }

// Brings an output-less engine up to the present, then holds the output's
// audio lock for the rest of the scope.
class MelvoxEngine::StateLock {
public:
  explicit StateLock(MelvoxEngine& engine) : Engine(engine) {
    Engine.CatchUpWithoutOutput();
    if (Engine.Output) Engine.Output->LockAudio();
  }
  ~StateLock() {
    if (Engine.Output) Engine.Output->UnlockAudio();
  }
  StateLock(const StateLock&) = delete;
  StateLock& operator=(const StateLock&) = delete;

private:
  MelvoxEngine& Engine;
};

MelvoxEngine::MelvoxEngine(Platform* output, MelvoxSoundFontSources soundFonts)
    : Output(output),
      SampleRate(output && output->AudioRate() > 0 ? output->AudioRate() : kMelvoxDefaultRate),
      SoundFonts(std::move(soundFonts)),
      Started(std::chrono::steady_clock::now()) {
  if (Output) Output->SetAudioSource(this);
}

MelvoxEngine::~MelvoxEngine() {
  if (Output) Output->SetAudioSource(nullptr);
}

void MelvoxEngine::InitMidi() {
  if (Synth) return;
  std::string path = FindSoundFont(SoundFonts);
  if (path.empty()) {
    if (!ReportedNoSoundFont) {
      std::fprintf(stderr, "Melvox: no General MIDI soundfont found; MIDI music is silent\n");
      ReportedNoSoundFont = true;
    }
    return;
  }
  std::unique_ptr<MelvoxSynth> synth;
  try {
    synth = std::make_unique<MelvoxSynth>(path, SampleRate);
  } catch (const EMelvoxFile& error) {
    ReportOnce(path, error.what());
    return;
  }
  StateLock lock(*this);
  Synth = std::move(synth);
}

void MelvoxEngine::TermMidi() {
  std::unique_ptr<MelvoxSynth> released;
  StateLock lock(*this);
  if (Music.PieceKind == MelvoxMusic::Kind::Midi) EndMusic();
  released = std::move(Synth);
}

void MelvoxEngine::InitWave() { WaveReady = true; }

void MelvoxEngine::TermWave() {
  StopSounds();
  StateLock lock(*this);
  WaveReady = false;
  Reserved.clear();
}

bool MelvoxEngine::PlayMusic(const std::string& path) {
  MelvoxMusic next;
  if (!path.empty() && path != "(OFF)") {
    try {
      std::vector<std::uint8_t> bytes = ReadSoundFile(path);
      if (IsWaveData(bytes)) {
        next.Clip = std::make_shared<const WaveClip>(DecodeWave(bytes));
        next.PieceKind = MelvoxMusic::Kind::Wave;
      } else {
        next.Song = std::make_shared<const MidiSong>(ParseMidiFile(bytes));
        next.Sequencer = std::make_unique<MidiSequencer>(next.Song, SampleRate);
        next.PieceKind = MelvoxMusic::Kind::Midi;
      }
    } catch (const EMelvoxFile& error) {
      ReportOnce(path, error.what());
    }
  }
  StateLock lock(*this);
  if (next.Sequencer) next.Sequencer->SetSpeedPercent(MusicTempo);
  if (next.PieceKind == MelvoxMusic::Kind::Midi && Synth) Synth->Reset();
  std::swap(Music, next);
  return Music.PieceKind != MelvoxMusic::Kind::None;
}

std::int64_t MelvoxEngine::MillisecondsToFrames(int milliseconds) const {
  return static_cast<std::int64_t>(milliseconds) * SampleRate / 1000;
}

void MelvoxEngine::FadeInMusic(int milliseconds) {
  StateLock lock(*this);
  if (Music.PieceKind == MelvoxMusic::Kind::None) return;
  std::int64_t frames = MillisecondsToFrames(milliseconds);
  MelvoxFade& fade = Music.Fade;
  fade.StopsAtEnd = false;
  if (frames <= 0) {
    fade = MelvoxFade{};
    return;
  }
  fade.Level = 0.0f;
  fade.FramesLeft = frames;
  fade.Step = 1.0f / static_cast<float>(frames);
}

void MelvoxEngine::FadeOutMusic(int milliseconds) {
  StateLock lock(*this);
  if (Music.PieceKind == MelvoxMusic::Kind::None) return;
  std::int64_t frames = MillisecondsToFrames(milliseconds);
  if (frames <= 0) {
    EndMusic();
    return;
  }
  MelvoxFade& fade = Music.Fade;
  fade.StopsAtEnd = true;
  fade.FramesLeft = frames;
  fade.Step = -fade.Level / static_cast<float>(frames);
}

void MelvoxEngine::SetMusicVolume(int volume) {
  StateLock lock(*this);
  MusicVolume = ClampPercent(volume);
}

void MelvoxEngine::SetMusicSpeed(int tempo) {
  StateLock lock(*this);
  MusicTempo = ClampTempo(tempo);
  if (Music.Sequencer) Music.Sequencer->SetSpeedPercent(MusicTempo);
}

void MelvoxEngine::SetMusicPanpot(int balance) {
  StateLock lock(*this);
  MusicBalance = ClampPercent(balance);
}

void MelvoxEngine::StopMusic() {
  StateLock lock(*this);
  EndMusic();
}

bool MelvoxEngine::MusicPlaying() {
  StateLock lock(*this);
  return Music.PieceKind != MelvoxMusic::Kind::None;
}

bool MelvoxEngine::MusicLooping() {
  StateLock lock(*this);
  switch (Music.PieceKind) {
    case MelvoxMusic::Kind::Midi: return Music.Sequencer->Looped();
    case MelvoxMusic::Kind::Wave: return Music.Looped;
    default: return false;
  }
}

int MelvoxEngine::MidiTick() {
  StateLock lock(*this);
  if (Music.PieceKind != MelvoxMusic::Kind::Midi) return 0;
  return static_cast<int>(Music.Sequencer->Tick());
}

double MelvoxEngine::WaveStep(const WaveClip& clip, int tempo) const {
  return static_cast<double>(clip.Rate) / SampleRate * tempo / 100.0;
}

std::shared_ptr<const WaveClip> MelvoxEngine::LoadEffect(const std::string& path) {
  if (path.empty() || path == "(OFF)") return nullptr;
  auto reserved = Reserved.find(path);
  if (reserved != Reserved.end()) return reserved->second.Clip;
  try {
    return std::make_shared<const WaveClip>(DecodeWave(ReadSoundFile(path)));
  } catch (const EMelvoxFile& error) {
    ReportOnce(path, error.what());
    return nullptr;
  }
}

bool MelvoxEngine::PlaySound(const std::string& path, int volume, int tempo, int balance) {
  if (!WaveReady) return false;
  std::shared_ptr<const WaveClip> clip = LoadEffect(path);
  if (!clip) return false;
  StateLock lock(*this);
  MelvoxVoice* slot = &Voices[0];
  for (MelvoxVoice& voice : Voices) {
    if (!voice.Active) {
      slot = &voice;
      break;
    }
    if (voice.Serial < slot->Serial) slot = &voice;
  }
  float gain = MelvoxVolumeGain(volume);
  slot->Clip = std::move(clip);
  slot->Position = 0;
  slot->Step = WaveStep(*slot->Clip, ClampTempo(tempo));
  slot->LeftGain = gain * MelvoxBalanceLeft(balance);
  slot->RightGain = gain * MelvoxBalanceRight(balance);
  slot->Serial = NextSerial++;
  slot->Active = true;
  return true;
}

void MelvoxEngine::StopSounds() {
  StateLock lock(*this);
  for (MelvoxVoice& voice : Voices) voice.Active = false;
}

bool MelvoxEngine::ReserveSound(const std::string& path) {
  if (!WaveReady) return false;
  auto existing = Reserved.find(path);
  if (existing != Reserved.end()) {
    ++existing->second.Count;
    return true;
  }
  std::shared_ptr<const WaveClip> clip = LoadEffect(path);
  if (!clip) return false;
  Reserved[path] = Reservation{std::move(clip), 1};
  return true;
}

void MelvoxEngine::CancelSound(const std::string& path) {
  auto existing = Reserved.find(path);
  if (existing == Reserved.end()) return;
  // A voice still playing it keeps its own reference.
  if (--existing->second.Count <= 0) Reserved.erase(existing);
}

bool MelvoxEngine::IsValidMidi(const std::string& path) {
  try {
    ParseMidiFile(ReadSoundFile(path));
    return true;
  } catch (const EMelvoxFile&) {
    return false;
  }
}

bool MelvoxEngine::IsValidWave(const std::string& path) {
  try {
    DecodeWave(ReadSoundFile(path));
    return true;
  } catch (const EMelvoxFile&) {
    return false;
  }
}

void MelvoxEngine::ReportOnce(const std::string& path, const std::string& reason) {
  if (!Reported.insert(path).second) return;
  std::fprintf(stderr, "Melvox: cannot play \"%s\": %s\n", path.c_str(), reason.c_str());
}
