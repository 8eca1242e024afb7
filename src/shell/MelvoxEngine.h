#pragma once
// The engine behind the Melvox calls: one music piece (MIDI through the
// synthesiser or a wave clip) and a fixed set of effect voices, mixed into
// the output's 16-bit stereo stream. Control calls come from the game thread;
// Render may run on the device thread, so every change to what Render reads
// is made between the output's LockAudio and UnlockAudio.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "shell/Melvox.h"
#include "shell/MelvoxMidi.h"
#include "shell/MelvoxSynth.h"
#include "shell/MelvoxWave.h"

constexpr int kMelvoxVoiceCount = 16;
constexpr int kMelvoxDefaultRate = 44100;

// The curves documented in Melvox.h.
float MelvoxVolumeGain(int volume);
float MelvoxBalanceLeft(int balance);
float MelvoxBalanceRight(int balance);

// A gain that moves linearly towards a target over a number of frames.
struct MelvoxFade {
  float Level = 1.0f;
  float Step = 0.0f;
  std::int64_t FramesLeft = 0;
  bool StopsAtEnd = false;  // a fade-out: the music ends with it
};

struct MelvoxMusic {
  enum class Kind : std::uint8_t { None, Midi, Wave };
  Kind PieceKind = Kind::None;
  std::shared_ptr<const MidiSong> Song;
  std::unique_ptr<MidiSequencer> Sequencer;
  std::shared_ptr<const WaveClip> Clip;
  double Position = 0;  // wave: frames of the clip
  bool Looped = false;  // wave: has played through
  MelvoxFade Fade;
};

struct MelvoxVoice {
  std::shared_ptr<const WaveClip> Clip;
  double Position = 0;
  double Step = 1;
  float LeftGain = 1;
  float RightGain = 1;
  std::uint64_t Serial = 0;  // start order: the smallest gives way first
  bool Active = false;
};

class MelvoxEngine final : public AudioSource {
public:
  MelvoxEngine(Platform* output, MelvoxSoundFontSources soundFonts);
  ~MelvoxEngine() override;
  MelvoxEngine(const MelvoxEngine&) = delete;
  MelvoxEngine& operator=(const MelvoxEngine&) = delete;

  void Render(std::int16_t* stereo, int frameCount) override;

  void InitMidi();
  void TermMidi();
  void InitWave();
  void TermWave();

  bool PlayMusic(const std::string& path);
  void FadeInMusic(int milliseconds);
  void FadeOutMusic(int milliseconds);
  void SetMusicVolume(int volume);
  void SetMusicSpeed(int tempo);
  void SetMusicPanpot(int balance);
  void StopMusic();
  bool MusicPlaying();
  bool MusicLooping();
  int MidiTick();

  bool PlaySound(const std::string& path, int volume, int tempo, int balance);
  void StopSounds();
  bool ReserveSound(const std::string& path);
  void CancelSound(const std::string& path);

  bool IsValidMidi(const std::string& path);
  bool IsValidWave(const std::string& path);

  int Rate() const { return SampleRate; }

private:
  class StateLock;
  struct Reservation {
    std::shared_ptr<const WaveClip> Clip;
    int Count = 0;
  };

  // Mixing (MelvoxMixer.cpp). Null buffers: move time on without sound.
  void MixBlock(float* left, float* right, int frames);
  void MixMusic(float* left, float* right, int frames);
  void RenderMidi(float* left, float* right, int frames);
  void RenderWaveMusic(float* left, float* right, int frames);
  void ApplyMusicGain(const float* musicLeft, const float* musicRight, float* left, float* right, int frames);
  void MixVoice(MelvoxVoice& voice, float* left, float* right, int frames);
  void EndMusic();

  void CatchUpWithoutOutput();
  std::int64_t MillisecondsToFrames(int milliseconds) const;
  double WaveStep(const WaveClip& clip, int tempo) const;
  std::shared_ptr<const WaveClip> LoadEffect(const std::string& path);
  void ReportOnce(const std::string& path, const std::string& reason);

  Platform* Output;
  int SampleRate;
  MelvoxSoundFontSources SoundFonts;
  std::unique_ptr<MelvoxSynth> Synth;
  bool WaveReady = false;

  MelvoxMusic Music;
  int MusicVolume = 100;
  int MusicTempo = 100;
  int MusicBalance = 50;

  MelvoxVoice Voices[kMelvoxVoiceCount];
  std::uint64_t NextSerial = 1;
  std::map<std::string, Reservation> Reserved;

  std::set<std::string> Reported;
  bool ReportedNoSoundFont = false;

  std::chrono::steady_clock::time_point Started;
  std::int64_t FramesDone = 0;
};
