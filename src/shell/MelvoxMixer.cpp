// The engine's rendering side: runs on whatever thread pulls the output,
// under the output's audio lock. Null buffers mean "time passes, unheard".

#include <algorithm>
#include <cmath>

#include "shell/MelvoxEngine.h"

namespace {

constexpr int kBlockFrames = 256;

struct StereoSample {
  float Left;
  float Right;
};

// Linear interpolation between neighbouring frames; the frame after the last
// is the first when the clip loops, else the last again.
StereoSample SampleAt(const WaveClip& clip, double position, bool wraps) {
  std::size_t frames = clip.FrameCount();
  std::size_t index = static_cast<std::size_t>(position);
  if (index >= frames) index = frames - 1;
  std::size_t next = index + 1;
  if (next >= frames) next = wraps ? 0 : index;
  float fraction = static_cast<float>(position - static_cast<double>(index));
  const std::int16_t* s = clip.Samples.data();
  constexpr float kScale = 1.0f / 32768.0f;
  float left = s[2 * index] + (s[2 * next] - s[2 * index]) * fraction;
  float right = s[2 * index + 1] + (s[2 * next + 1] - s[2 * index + 1]) * fraction;
  return {left * kScale, right * kScale};
}

std::int16_t ToPcm16(float value) {
  float scaled = value * 32767.0f;
  if (scaled >= 32767.0f) return 32767;
  if (scaled <= -32768.0f) return -32768;
  return static_cast<std::int16_t>(std::lrintf(scaled));
}

}  // namespace

void MelvoxEngine::Render(std::int16_t* stereo, int frameCount) {
  float left[kBlockFrames];
  float right[kBlockFrames];
  while (frameCount > 0) {
    int frames = std::min(frameCount, kBlockFrames);
    std::fill_n(left, frames, 0.0f);
    std::fill_n(right, frames, 0.0f);
    MixBlock(left, right, frames);
    for (int i = 0; i < frames; ++i) {
      stereo[2 * i] = ToPcm16(left[i]);
      stereo[2 * i + 1] = ToPcm16(right[i]);
    }
    stereo += 2 * frames;
    frameCount -= frames;
    FramesDone += frames;
  }
}

void MelvoxEngine::MixBlock(float* left, float* right, int frames) {
  if (Music.PieceKind != MelvoxMusic::Kind::None) MixMusic(left, right, frames);
  for (MelvoxVoice& voice : Voices) {
    if (voice.Active) MixVoice(voice, left, right, frames);
  }
}

void MelvoxEngine::MixMusic(float* left, float* right, int frames) {
  float musicLeft[kBlockFrames];
  float musicRight[kBlockFrames];
  bool heard = left != nullptr;
  float* pieceLeft = heard ? musicLeft : nullptr;
  float* pieceRight = heard ? musicRight : nullptr;
  if (Music.PieceKind == MelvoxMusic::Kind::Midi) {
    RenderMidi(pieceLeft, pieceRight, frames);
  } else {
    RenderWaveMusic(pieceLeft, pieceRight, frames);
  }
  ApplyMusicGain(pieceLeft, pieceRight, left, right, frames);
}

void MelvoxEngine::RenderMidi(float* left, float* right, int frames) {
  // Unheard time still moves the sequencer, but the synthesiser gets nothing.
  MidiSink* sink = (left && Synth) ? Synth.get() : nullptr;
  MidiSequencer& sequencer = *Music.Sequencer;
  int done = 0;
  while (done < frames) {
    sequencer.PlayDue(sink);
    int step = std::min(frames - done, sequencer.FramesUntilNextEvent());
    if (left) {
      if (Synth) {
        Synth->Render(left + done, right + done, step);
      } else {
        std::fill_n(left + done, step, 0.0f);
        std::fill_n(right + done, step, 0.0f);
      }
    }
    sequencer.Advance(step, sink);
    done += step;
  }
}

void MelvoxEngine::RenderWaveMusic(float* left, float* right, int frames) {
  const WaveClip& clip = *Music.Clip;
  double length = static_cast<double>(clip.FrameCount());
  double step = WaveStep(clip, MusicTempo);
  if (!left) {
    Music.Position += step * frames;
    if (Music.Position >= length) {
      Music.Position = std::fmod(Music.Position, length);
      Music.Looped = true;
    }
    return;
  }
  for (int i = 0; i < frames; ++i) {
    StereoSample sample = SampleAt(clip, Music.Position, true);
    left[i] = sample.Left;
    right[i] = sample.Right;
    Music.Position += step;
    if (Music.Position >= length) {
      Music.Position = std::fmod(Music.Position, length);  // a clip shorter than a step wraps more than once
      Music.Looped = true;
    }
  }
}

void MelvoxEngine::ApplyMusicGain(const float* musicLeft, const float* musicRight, float* left, float* right,
                                  int frames) {
  MelvoxFade& fade = Music.Fade;
  if (!left) {
    if (fade.FramesLeft > 0) {
      std::int64_t moved = std::min<std::int64_t>(fade.FramesLeft, frames);
      fade.Level += fade.Step * static_cast<float>(moved);
      fade.FramesLeft -= moved;
      if (fade.FramesLeft == 0) {
        fade.Level = fade.StopsAtEnd ? 0.0f : 1.0f;
        if (fade.StopsAtEnd) EndMusic();
      }
    }
    return;
  }
  float volume = MelvoxVolumeGain(MusicVolume);
  float leftGain = volume * MelvoxBalanceLeft(MusicBalance);
  float rightGain = volume * MelvoxBalanceRight(MusicBalance);
  for (int i = 0; i < frames; ++i) {
    left[i] += musicLeft[i] * leftGain * fade.Level;
    right[i] += musicRight[i] * rightGain * fade.Level;
    if (fade.FramesLeft > 0) {
      fade.Level += fade.Step;
      if (--fade.FramesLeft == 0) {
        fade.Level = fade.StopsAtEnd ? 0.0f : 1.0f;
        if (fade.StopsAtEnd) {
          EndMusic();
          return;
        }
      }
    }
  }
}

void MelvoxEngine::MixVoice(MelvoxVoice& voice, float* left, float* right, int frames) {
  const WaveClip& clip = *voice.Clip;
  double length = static_cast<double>(clip.FrameCount());
  if (!left) {
    voice.Position += voice.Step * frames;
    if (voice.Position >= length) voice.Active = false;
    return;
  }
  for (int i = 0; i < frames; ++i) {
    if (voice.Position >= length) {
      voice.Active = false;
      return;
    }
    StereoSample sample = SampleAt(clip, voice.Position, false);
    left[i] += sample.Left * voice.LeftGain;
    right[i] += sample.Right * voice.RightGain;
    voice.Position += voice.Step;
  }
}

void MelvoxEngine::EndMusic() {
  Music.PieceKind = MelvoxMusic::Kind::None;
  Music.Looped = false;
}

void MelvoxEngine::CatchUpWithoutOutput() {
  if (Output) return;
  auto elapsed = std::chrono::steady_clock::now() - Started;
  std::int64_t microseconds = std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count();
  std::int64_t due = microseconds * SampleRate / 1000000 - FramesDone;
  while (due > 0) {
    int frames = static_cast<int>(std::min<std::int64_t>(due, 1 << 20));
    MixBlock(nullptr, nullptr, frames);
    FramesDone += frames;
    due -= frames;
  }
}
