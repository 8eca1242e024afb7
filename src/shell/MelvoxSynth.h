#pragma once
// The General MIDI synthesiser behind MIDI music, and where its soundfont
// comes from.

#include <string>
#include <vector>

#include "shell/Melvox.h"
#include "shell/MelvoxMidi.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;

// The first soundfont file that exists, or "" when there is none.
std::string FindSoundFont(const MelvoxSoundFontSources& sources);

class MelvoxSynth : public MidiSink {
public:
  // Throws EMelvoxFile when the soundfont does not load.
  MelvoxSynth(const std::string& soundFontPath, int sampleRate);
  ~MelvoxSynth() override;
  MelvoxSynth(const MelvoxSynth&) = delete;
  MelvoxSynth& operator=(const MelvoxSynth&) = delete;

  void Play(const MidiEvent& event, const MidiSong& song) override;
  void Restart() override;
  // A new piece: every channel back to its defaults, every voice cut.
  void Reset();
  // Adds nothing: writes frames of left and right.
  void Render(float* left, float* right, int frames);
  int ActiveVoices() const;

private:
  _fluid_hashtable_t* Settings = nullptr;
  _fluid_synth_t* Synth = nullptr;
};
