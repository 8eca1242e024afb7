#include "platform/HeadlessPlatform.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "platform/KeyNames.h"
#include "platform/WavWriter.h"

namespace {
bool ParseNumber(const std::string& word, std::uint64_t& value) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  return ec == std::errc() && ptr == end;
}

InputEvent::Kind ReleaseOf(InputEvent::Kind down) {
  return down == InputEvent::Kind::KeyDown ? InputEvent::Kind::KeyUp : InputEvent::Kind::PadUp;
}
}  // namespace

std::vector<ScriptedInput> ParseInputScript(const std::string& text, const std::string& fileName) {
  std::vector<ScriptedInput> events;
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string frameWord, keysWord, holdWord, extra;
    if (!(words >> frameWord)) continue;
    const std::string where = fileName + ":" + std::to_string(lineNumber) + ": ";
    std::uint64_t frame = 0, hold = 1;
    if (!ParseNumber(frameWord, frame)) throw std::runtime_error(where + "frame number expected, found \"" + frameWord + "\"");
    if (!(words >> keysWord)) throw std::runtime_error(where + "keys expected after the frame number");
    if (words >> holdWord && (!ParseNumber(holdWord, hold) || hold == 0))
      throw std::runtime_error(where + "hold must be a positive number of frames, found \"" + holdWord + "\"");
    if (words >> extra) throw std::runtime_error(where + "unexpected \"" + extra + "\"");
    std::size_t start = 0;
    while (start <= keysWord.size()) {
      const std::size_t plus = std::min(keysWord.find('+', start), keysWord.size());
      const std::string name = keysWord.substr(start, plus - start);
      const auto key = LookupKeyName(name);
      if (!key) throw std::runtime_error(where + "unknown key \"" + name + "\"");
      events.push_back({frame, {key->downKind, key->code, 0}});
      events.push_back({frame + hold, {ReleaseOf(key->downKind), key->code, 0}});
      start = plus + 1;
    }
  }
  // Stable: at one frame, releases and presses keep the script's order.
  std::stable_sort(events.begin(), events.end(),
                   [](const ScriptedInput& a, const ScriptedInput& b) { return a.frame < b.frame; });
  return events;
}

HeadlessPlatform::HeadlessPlatform(std::vector<ScriptedInput> script, std::string audioOutPath)
    : Script(std::move(script)), AudioOutPath(std::move(audioOutPath)) {}

HeadlessPlatform::~HeadlessPlatform() {
  try {
    FinishAudio();
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
  }
}

void HeadlessPlatform::SleepUntilMs(std::uint64_t deadline) {
  Now = std::max(Now, deadline);
  const auto& samples = Audio.PullUntil(Now, Source);
  if (!AudioOutPath.empty()) Heard.insert(Heard.end(), samples.begin(), samples.end());
}

std::vector<InputEvent> HeadlessPlatform::PumpEvents(std::uint64_t frame) {
  std::vector<InputEvent> fresh;
  while (NextScripted < Script.size() && Script[NextScripted].frame <= frame) {
    const InputEvent& event = Script[NextScripted++].event;
    if (event.kind == InputEvent::Kind::KeyDown) Held[event.code] = true;
    if (event.kind == InputEvent::Kind::KeyUp) Held[event.code] = false;
    fresh.push_back(event);
  }
  Pending.insert(Pending.end(), fresh.begin(), fresh.end());
  return fresh;
}

std::vector<InputEvent> HeadlessPlatform::TakeInputEvents() { return std::exchange(Pending, {}); }

void HeadlessPlatform::ShowError(std::string_view caption, std::string_view text) {
  std::cerr << caption << ": " << text << "\n";
}

void HeadlessPlatform::FinishAudio() {
  if (AudioOutPath.empty() || AudioWritten) return;
  AudioWritten = true;
  WriteWav16Stereo(AudioOutPath, Heard, Audio.GetRate());
}
