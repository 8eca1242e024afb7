#pragma once
// Standard MIDI files: a parser that merges every track into one timeline, and
// a sequencer that walks it by output frames so that the tick position, the
// loop flag and the tempo follow the rendered audio exactly.

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A music or sound file that cannot be played; the message names the fault.
class EMelvoxFile : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct MidiEvent {
  enum class Kind : std::uint8_t { Channel, Tempo, SysEx };
  std::uint32_t Tick = 0;
  Kind EventKind = Kind::Channel;
  std::uint8_t Status = 0;  // channel messages: status byte with channel
  std::uint8_t Data1 = 0;
  std::uint8_t Data2 = 0;
  std::uint32_t MicrosecondsPerQuarter = 0;  // Tempo
  std::uint32_t SysExOffset = 0;             // SysEx: bytes in MidiSong::SysExData
  std::uint32_t SysExLength = 0;
};

struct MidiSong {
  std::vector<MidiEvent> Events;  // sorted by tick; same tick keeps file order
  std::vector<char> SysExData;    // system-exclusive bodies without F0 and F7
  std::uint32_t EndTick = 0;      // the latest end of any track
  int TicksPerQuarter = 0;        // 0 for time-code files
  double TicksPerSecondFixed = 0; // time-code files: ticks per second regardless of tempo
};

// Parses a standard MIDI file (formats 0, 1 and 2) or one wrapped in a RIFF
// "RMID" container. Throws EMelvoxFile when the data is not a complete file.
MidiSong ParseMidiFile(std::span<const std::uint8_t> bytes);

// Receives the events the sequencer plays.
class MidiSink {
public:
  virtual ~MidiSink() = default;
  virtual void Play(const MidiEvent& event, const MidiSong& song) = 0;
  // The piece starts over: notes still sounding should be released.
  virtual void Restart() = 0;
};

class MidiSequencer {
public:
  MidiSequencer(std::shared_ptr<const MidiSong> song, int sampleRate);

  // Plays every event due at the current position (the sink may be null).
  void PlayDue(MidiSink* sink);
  // Whole frames until the next event or the end of the piece; at least 1.
  int FramesUntilNextEvent() const;
  // Moves the position on; at the end of the piece it plays what remains,
  // sets the loop flag and starts over, carrying the remainder.
  void Advance(int frames, MidiSink* sink);
  // Runs frames without sound, stepping through tempo changes and loops.
  void Skip(std::int64_t frames);

  void SetSpeedPercent(int percent);
  std::uint32_t Tick() const { return static_cast<std::uint32_t>(Position); }
  bool Looped() const { return HasLooped; }

private:
  void UpdateTicksPerFrame();
  void StartOver(MidiSink* sink);

  std::shared_ptr<const MidiSong> Song;
  int SampleRate;
  double SpeedFactor = 1.0;
  std::uint32_t MicrosecondsPerQuarter = 500000;
  double TicksPerFrame = 0;
  double Position = 0;  // in ticks
  std::size_t NextEvent = 0;
  bool HasLooped = false;
};
