#include "shell/MelvoxMidi.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t kDefaultMicrosecondsPerQuarter = 500000;  // 120 beats per minute
constexpr std::uint64_t kMaxTick = 0x7FFFFFFF;
// Far beyond any real piece; keeps a hostile file from taking gigabytes of events.
constexpr std::size_t kMaxMidiFileBytes = std::size_t(16) << 20;

class ByteReader {
public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : Bytes(bytes) {}

  std::size_t Remaining() const { return Bytes.size() - Offset; }
  bool AtEnd() const { return Offset >= Bytes.size(); }

  std::uint8_t U8() {
    Need(1);
    return Bytes[Offset++];
  }
  std::uint8_t Peek() {
    Need(1);
    return Bytes[Offset];
  }
  std::uint32_t U16BE() {
    Need(2);
    std::uint32_t value = (Bytes[Offset] << 8) | Bytes[Offset + 1];
    Offset += 2;
    return value;
  }
  std::uint32_t U32BE() {
    Need(4);
    std::uint32_t value = (std::uint32_t(Bytes[Offset]) << 24) | (Bytes[Offset + 1] << 16) |
                          (Bytes[Offset + 2] << 8) | Bytes[Offset + 3];
    Offset += 4;
    return value;
  }
  std::uint32_t U32LE() {
    Need(4);
    std::uint32_t value = Bytes[Offset] | (Bytes[Offset + 1] << 8) | (Bytes[Offset + 2] << 16) |
                          (std::uint32_t(Bytes[Offset + 3]) << 24);
    Offset += 4;
    return value;
  }
  // Variable-length quantity: at most four bytes of seven bits.
  std::uint32_t VarLength() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      std::uint8_t byte = U8();
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return value;
    }
    throw EMelvoxFile("MIDI variable-length number longer than four bytes");
  }
  bool Tag(const char* tag) {
    Need(4);
    bool same = std::memcmp(&Bytes[Offset], tag, 4) == 0;
    if (same) Offset += 4;
    return same;
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    Need(count);
    auto part = Bytes.subspan(Offset, count);
    Offset += count;
    return part;
  }
  void Skip(std::size_t count) { Take(count); }

private:
  void Need(std::size_t count) const {
    if (count > Remaining()) throw EMelvoxFile("MIDI file ends early");
  }
  std::span<const std::uint8_t> Bytes;
  std::size_t Offset = 0;
};

int DataBytesOf(std::uint8_t status) {
  std::uint8_t kind = status & 0xF0;
  return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
}

// Appends one track's events; returns the tick at which the track ends.
std::uint32_t ReadTrack(std::span<const std::uint8_t> body, MidiSong& song) {
  ByteReader track(body);
  std::uint64_t tick = 0;
  std::uint8_t runningStatus = 0;
  while (!track.AtEnd()) {
    tick += track.VarLength();
    if (tick > kMaxTick) throw EMelvoxFile("MIDI track too long");
    MidiEvent event;
    event.Tick = static_cast<std::uint32_t>(tick);
    std::uint8_t status = track.Peek();
    if (status >= 0x80) {
      track.U8();
    } else if (runningStatus != 0) {
      status = runningStatus;
    } else {
      throw EMelvoxFile("MIDI data byte without a status");
    }

    if (status == 0xFF) {
      std::uint8_t type = track.U8();
      auto data = track.Take(track.VarLength());
      if (type == 0x2F) return event.Tick;  // end of track
      if (type == 0x51 && data.size() == 3) {
        event.EventKind = MidiEvent::Kind::Tempo;
        event.MicrosecondsPerQuarter = (data[0] << 16) | (data[1] << 8) | data[2];
        if (event.MicrosecondsPerQuarter == 0) continue;
        song.Events.push_back(event);
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      auto data = track.Take(track.VarLength());
      runningStatus = 0;
      if (status == 0xF7) continue;  // escaped raw bytes: nothing a synthesiser needs
      if (!data.empty() && data.back() == 0xF7) data = data.first(data.size() - 1);
      event.EventKind = MidiEvent::Kind::SysEx;
      event.SysExOffset = static_cast<std::uint32_t>(song.SysExData.size());
      event.SysExLength = static_cast<std::uint32_t>(data.size());
      song.SysExData.insert(song.SysExData.end(), data.begin(), data.end());
      song.Events.push_back(event);
      continue;
    }
    if (status >= 0xF0) throw EMelvoxFile("MIDI system message inside a track");

    runningStatus = status;
    event.Status = status;
    event.Data1 = track.U8() & 0x7F;
    if (DataBytesOf(status) == 2) event.Data2 = track.U8() & 0x7F;
    song.Events.push_back(event);
  }
  // A track without its end marker ends with its chunk.
  return static_cast<std::uint32_t>(tick);
}

MidiSong ParseStandardMidi(std::span<const std::uint8_t> bytes) {
  ByteReader file(bytes);
  if (!file.Tag("MThd")) throw EMelvoxFile("not a MIDI file");
  std::uint32_t headerLength = file.U32BE();
  if (headerLength < 6) throw EMelvoxFile("MIDI header too short");
  auto header = file.Take(headerLength);
  std::uint32_t format = (header[0] << 8) | header[1];
  std::uint32_t trackCount = (header[2] << 8) | header[3];
  std::uint32_t division = (header[4] << 8) | header[5];
  if (format > 2) throw EMelvoxFile("unknown MIDI format " + std::to_string(format));
  if (trackCount == 0) throw EMelvoxFile("MIDI file without tracks");

  MidiSong song;
  if (division & 0x8000) {
    int framesPerSecond = -static_cast<std::int8_t>(division >> 8);
    int ticksPerFrame = division & 0xFF;
    if (framesPerSecond <= 0 || ticksPerFrame == 0) throw EMelvoxFile("bad MIDI time division");
    double rate = framesPerSecond == 29 ? 29.97 : framesPerSecond;
    song.TicksPerSecondFixed = rate * ticksPerFrame;
  } else {
    if (division == 0) throw EMelvoxFile("bad MIDI time division");
    song.TicksPerQuarter = static_cast<int>(division);
  }

  std::uint32_t tracksRead = 0;
  while (tracksRead < trackCount) {
    if (file.Remaining() < 8) throw EMelvoxFile("MIDI file ends before its last track");
    bool isTrack = file.Tag("MTrk");
    if (!isTrack) file.Skip(4);
    auto body = file.Take(file.U32BE());
    if (!isTrack) continue;  // unknown chunks are skipped by length
    song.EndTick = std::max(song.EndTick, ReadTrack(body, song));
    ++tracksRead;
  }
  std::stable_sort(song.Events.begin(), song.Events.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.Tick < b.Tick; });
  if (!song.Events.empty()) song.EndTick = std::max(song.EndTick, song.Events.back().Tick);
  return song;
}

}  // namespace

MidiSong ParseMidiFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxMidiFileBytes) throw EMelvoxFile("MIDI file too large");
  ByteReader file(bytes);
  if (bytes.size() >= 12 && file.Tag("RIFF")) {
    file.U32LE();
    if (!file.Tag("RMID")) throw EMelvoxFile("RIFF file is not RIFF MIDI");
    while (file.Remaining() >= 8) {
      bool isData = file.Tag("data");
      if (!isData) file.Skip(4);
      std::uint32_t length = file.U32LE();
      if (isData) return ParseStandardMidi(file.Take(length));
      file.Skip(std::min<std::size_t>(length + (length & 1), file.Remaining()));
    }
    throw EMelvoxFile("RIFF MIDI without data");
  }
  return ParseStandardMidi(bytes);
}

MidiSequencer::MidiSequencer(std::shared_ptr<const MidiSong> song, int sampleRate)
    : Song(std::move(song)), SampleRate(sampleRate), MicrosecondsPerQuarter(kDefaultMicrosecondsPerQuarter) {
  UpdateTicksPerFrame();
}

void MidiSequencer::SetSpeedPercent(int percent) {
  SpeedFactor = percent / 100.0;
  UpdateTicksPerFrame();
}

void MidiSequencer::UpdateTicksPerFrame() {
  double ticksPerSecond = Song->TicksPerQuarter > 0
                              ? Song->TicksPerQuarter * 1e6 / MicrosecondsPerQuarter
                              : Song->TicksPerSecondFixed;
  TicksPerFrame = ticksPerSecond * SpeedFactor / SampleRate;
}

void MidiSequencer::PlayDue(MidiSink* sink) {
  const auto& events = Song->Events;
  while (NextEvent < events.size() && events[NextEvent].Tick <= Position) {
    const MidiEvent& event = events[NextEvent++];
    if (event.EventKind == MidiEvent::Kind::Tempo) {
      MicrosecondsPerQuarter = event.MicrosecondsPerQuarter;
      UpdateTicksPerFrame();
    } else if (sink) {
      sink->Play(event, *Song);
    }
  }
}

int MidiSequencer::FramesUntilNextEvent() const {
  if (Song->EndTick == 0) return 1 << 20;  // an empty piece has nothing to wait for
  double target = Song->EndTick;
  if (NextEvent < Song->Events.size()) target = std::min<double>(target, Song->Events[NextEvent].Tick);
  double frames = std::ceil((target - Position) / TicksPerFrame);
  return frames < 1 ? 1 : frames > (1 << 20) ? (1 << 20) : static_cast<int>(frames);
}

void MidiSequencer::Advance(int frames, MidiSink* sink) {
  if (Song->EndTick == 0) {
    HasLooped = true;  // nothing to play through: it has played through at once
    return;
  }
  Position += frames * TicksPerFrame;
  while (Position >= Song->EndTick) {
    PlayDue(sink);  // what remains up to the end, note releases included
    Position -= Song->EndTick;
    // Whole passes shorter than one step would not be heard: skip them at once.
    if (Position >= Song->EndTick) Position = std::fmod(Position, static_cast<double>(Song->EndTick));
    StartOver(sink);
  }
}

void MidiSequencer::StartOver(MidiSink* sink) {
  HasLooped = true;
  NextEvent = 0;
  MicrosecondsPerQuarter = kDefaultMicrosecondsPerQuarter;
  UpdateTicksPerFrame();
  if (sink) sink->Restart();
}

void MidiSequencer::Skip(std::int64_t frames) {
  while (frames > 0) {
    PlayDue(nullptr);
    int step = static_cast<int>(std::min<std::int64_t>(frames, FramesUntilNextEvent()));
    Advance(step, nullptr);
    frames -= step;
  }
}
