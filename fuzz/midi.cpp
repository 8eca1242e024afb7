// Feeds arbitrary bytes to the MIDI parser. Whatever it accepts is played for
// a bounded stretch of audio through the sequencer, at two tempos: the
// sequencer must move on and never hang on a hostile timeline.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "shell/MelvoxMidi.h"

namespace {

class CountingSink final : public MidiSink {
public:
  void Play(const MidiEvent&, const MidiSong&) override { ++Played; }
  void Restart() override { ++Restarts; }
  std::uint64_t Played = 0, Restarts = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::shared_ptr<const MidiSong> song;
  try {
    song = std::make_shared<const MidiSong>(ParseMidiFile({data, size}));
  } catch (const EMelvoxFile&) {
    return 0;
  }
  for (int speed : {50, 150}) {
    MidiSequencer sequencer(song, 44100);
    sequencer.SetSpeedPercent(speed);
    CountingSink sink;
    // Ten seconds of audio in device-sized pieces.
    for (int piece = 0; piece < 441; ++piece) sequencer.Advance(1000, &sink);
    sequencer.Skip(44100 * 60);
  }
  return 0;
}
