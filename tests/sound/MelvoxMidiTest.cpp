#include <gtest/gtest.h>

#include <memory>

#include "shell/MelvoxMidi.h"
#include "sound/SoundMedia.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A file of one track with the given body, 480 ticks per quarter.
Bytes OneTrackFile(const Bytes& body, std::uint16_t format = 0, std::uint16_t tracks = 1,
                   std::uint16_t division = 480) {
  Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  out.insert(out.end(), {static_cast<std::uint8_t>(format >> 8), static_cast<std::uint8_t>(format),
                         static_cast<std::uint8_t>(tracks >> 8), static_cast<std::uint8_t>(tracks),
                         static_cast<std::uint8_t>(division >> 8), static_cast<std::uint8_t>(division)});
  out.insert(out.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(body.size())});
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

class RecordingSink : public MidiSink {
public:
  struct Played {
    std::uint32_t Tick;
    std::uint8_t Status;
    std::uint8_t Key;
  };
  void Play(const MidiEvent& event, const MidiSong&) override {
    Events.push_back({event.Tick, event.Status, event.Data1});
  }
  void Restart() override { ++Restarts; }
  std::vector<Played> Events;
  int Restarts = 0;
};

TEST(MidiFile, RunningStatusMetaAndSysExAreRead) {
  Bytes body = {
      0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  // GM system on
      0x00, 0x90, 60, 100,                             // note on
      0x60, 62, 100,                                   // running status: another note on at 96
      0x81, 0x00, 0xFF, 0x01, 0x02, 'h', 'i',          // a text meta at 224, ignored
      0x00, 0x80, 60, 0,                               // note off
      0x10, 0xFF, 0x2F, 0x00,                          // end of track at 240
  };
  MidiSong song = ParseMidiFile(OneTrackFile(body));
  ASSERT_EQ(song.Events.size(), 4u);
  EXPECT_EQ(song.Events[0].EventKind, MidiEvent::Kind::SysEx);
  EXPECT_EQ(song.Events[0].SysExLength, 4u);  // without F0 and the closing F7
  EXPECT_EQ(song.Events[2].Tick, 96u);
  EXPECT_EQ(song.Events[2].Status, 0x90);
  EXPECT_EQ(song.Events[2].Data1, 62);
  EXPECT_EQ(song.Events[3].Tick, 224u);
  EXPECT_EQ(song.EndTick, 240u);
  EXPECT_EQ(song.TicksPerQuarter, 480);
}

TEST(MidiFile, TracksMergeByTickAndRiffWrapperIsAccepted) {
  Bytes first = {0x00, 0x90, 60, 100, 0x64, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
  Bytes second = {0x32, 0x91, 64, 100, 0x81, 0x00, 0x81, 64, 0, 0x00, 0xFF, 0x2F, 0x00};
  Bytes file = OneTrackFile(first, 1, 2);
  file.insert(file.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(second.size())});
  file.insert(file.end(), second.begin(), second.end());

  Bytes riff = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
  std::uint32_t length = static_cast<std::uint32_t>(file.size());
  riff.insert(riff.end(), {static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8), 0, 0});
  riff.insert(riff.end(), file.begin(), file.end());

  for (const Bytes& bytes : {file, riff}) {
    MidiSong song = ParseMidiFile(bytes);
    ASSERT_EQ(song.Events.size(), 4u);
    std::vector<std::uint32_t> ticks;
    for (const MidiEvent& event : song.Events) ticks.push_back(event.Tick);
    EXPECT_EQ(ticks, (std::vector<std::uint32_t>{0, 50, 100, 178}));
    EXPECT_EQ(song.EndTick, 178u);
  }
}

TEST(MidiFile, BrokenFilesAreRefused) {
  Bytes good = MidiBytes({{0, 480}}, 960);
  Bytes cutTrack(good.begin(), good.end() - 5);
  Bytes missingTrack = good;
  missingTrack[11] = 2;  // says two tracks, holds one
  Bytes formatThree = good;
  formatThree[9] = 3;
  Bytes noDivision = good;
  noDivision[12] = noDivision[13] = 0;
  struct Case {
    const char* Name;
    Bytes Data;
  };
  const Case cases[] = {
      {"empty", {}},
      {"not MIDI", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"header only", {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0}},
      {"track cut short", cutTrack},
      {"track missing", missingTrack},
      {"unknown format", formatThree},
      {"zero division", noDivision},
      {"data without status", OneTrackFile({0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00})},
      {"five-byte delta", OneTrackFile({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100})},
      {"meta longer than track", OneTrackFile({0x00, 0xFF, 0x01, 0x40, 'x'})},
  };
  for (const Case& c : cases) {
    EXPECT_THROW(ParseMidiFile(c.Data), EMelvoxFile) << c.Name;
  }
}

// At 1000 frames per second and 120 beats per minute a frame is 0.96 ticks.
constexpr int kRate = 1000;

TEST(MidiSequencer, TicksFollowFramesTempoAndSpeed) {
  struct Case {
    std::uint32_t MicrosecondsPerQuarter;
    int SpeedPercent;
    int Frames;
    std::uint32_t Tick;
  };
  const Case cases[] = {
      {500000, 100, 500, 480},  // 960 ticks a second
      {250000, 100, 250, 480},  // twice the tempo
      {500000, 150, 500, 720},
      {500000, 50, 500, 240},
  };
  for (const Case& c : cases) {
    auto song = std::make_shared<MidiSong>(ParseMidiFile(MidiBytes({{0, 100}}, 100000, c.MicrosecondsPerQuarter)));
    MidiSequencer sequencer(song, kRate);
    sequencer.SetSpeedPercent(c.SpeedPercent);
    sequencer.Skip(c.Frames);
    EXPECT_NEAR(sequencer.Tick(), c.Tick, 1) << c.MicrosecondsPerQuarter << " " << c.SpeedPercent;
  }
}

TEST(MidiSequencer, TempoChangeMidwayShortensTheRest) {
  // 480 ticks at 120 bpm (500 ms), then 480 ticks at 240 bpm (250 ms).
  Bytes body = {0x00, 0x90, 60, 100, 0x83, 0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,
                0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
  auto song = std::make_shared<MidiSong>(ParseMidiFile(OneTrackFile(body)));
  MidiSequencer sequencer(song, kRate);
  sequencer.Skip(745);
  EXPECT_FALSE(sequencer.Looped());
  EXPECT_NEAR(sequencer.Tick(), 950, 3);
  sequencer.Skip(10);
  EXPECT_TRUE(sequencer.Looped());
  // The end came 5 frames into those 10; the second pass starts again at the
  // file's first tempo: 245 frames of 0.96 ticks.
  sequencer.Skip(240);
  EXPECT_NEAR(sequencer.Tick(), 235, 2);
}

TEST(MidiSequencer, PlaysEveryEventOncePerPassAndRestartsAtTheEnd) {
  auto song = std::make_shared<MidiSong>(ParseMidiFile(MidiBytes({{0, 240, 60}, {480, 480, 64}}, 960)));
  MidiSequencer sequencer(song, kRate);
  RecordingSink sink;
  // Rendered as the engine does it: play what is due, then move on.
  int done = 0;
  while (done < 1600) {
    sequencer.PlayDue(&sink);
    int step = std::min(1600 - done, sequencer.FramesUntilNextEvent());
    sequencer.Advance(step, &sink);
    done += step;
  }
  EXPECT_EQ(sink.Restarts, 1);
  EXPECT_TRUE(sequencer.Looped());
  // First pass: program, two notes on and off; the second, up to tick 576: program, a note on and off, a note on.
  std::vector<std::uint8_t> statuses;
  for (const auto& played : sink.Events) statuses.push_back(played.Status);
  EXPECT_EQ(statuses, (std::vector<std::uint8_t>{0xC0, 0x90, 0x80, 0x90, 0x80, 0xC0, 0x90, 0x80, 0x90}));
  EXPECT_NEAR(sequencer.Tick(), 1536 - 960, 2);
}

TEST(MidiSequencer, EmptyAndTinyPiecesCountAsPlayedThroughWithoutSpinning) {
  auto empty = std::make_shared<MidiSong>(ParseMidiFile(OneTrackFile({0x00, 0xFF, 0x2F, 0x00})));
  MidiSequencer emptySequencer(empty, kRate);
  emptySequencer.Skip(100000);
  EXPECT_TRUE(emptySequencer.Looped());
  EXPECT_EQ(emptySequencer.Tick(), 0u);

  // One tick long at a microsecond per quarter of 32767 ticks: millions of
  // passes in every frame, which must not be walked one by one.
  Bytes body = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x01, 0x00, 0x90, 60, 100, 0x01, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00};
  auto tiny = std::make_shared<MidiSong>(ParseMidiFile(OneTrackFile(body, 0, 1, 0x7FFF)));
  MidiSequencer tinySequencer(tiny, kRate);
  RecordingSink sink;
  for (int frame = 0; frame < 100; ++frame) {
    tinySequencer.PlayDue(&sink);
    tinySequencer.Advance(1, &sink);
  }
  EXPECT_TRUE(tinySequencer.Looped());
  EXPECT_LE(sink.Restarts, 100);
}

}  // namespace
