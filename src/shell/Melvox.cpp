// The plain calls of the sound library over the one program-wide engine,
// each written to the call log first.

#include "shell/Melvox.h"

#include <deque>
#include <memory>
#include <string>

#include "shell/MelvoxEngine.h"

namespace {

constexpr std::size_t kCallLogLimit = 65536;
constexpr int kVersion = 100;
constexpr int kDone = 0;
constexpr int kFailed = -1;

struct MelvoxLibrary {
  Platform* Output = nullptr;
  MelvoxSoundFontSources SoundFonts;
  std::unique_ptr<MelvoxEngine> Engine;
  std::deque<std::string> CallLog;

  // An engine never released is left alone at exit: its output may be gone
  // already, or still pulling it from the device thread.
  ~MelvoxLibrary() { static_cast<void>(Engine.release()); }
};

MelvoxLibrary& Library() {
  static MelvoxLibrary library;
  return library;
}

MelvoxEngine* Engine() { return Library().Engine.get(); }

void Log(std::string entry) {
  auto& log = Library().CallLog;
  if (log.size() >= kCallLogLimit) log.pop_front();
  log.push_back(std::move(entry));
}

std::string Text(const char* path) { return path ? std::string(path) : std::string(); }

int LogResult(const std::string& call, int result) {
  Log(call + " = " + std::to_string(result));
  return result;
}

int Outcome(bool done) { return done ? kDone : kFailed; }

}  // namespace

void MelvoxAttachOutput(Platform* platform) { Library().Output = platform; }

void MelvoxSetSoundFontSources(const MelvoxSoundFontSources& sources) { Library().SoundFonts = sources; }

std::vector<std::string> MelvoxCallLog() {
  const auto& log = Library().CallLog;
  return {log.begin(), log.end()};
}

void MelvoxClearCallLog() { Library().CallLog.clear(); }

int MelvoxCreate() {
  Log("MelvoxCreate()");
  auto& library = Library();
  library.Engine.reset();  // a second create starts afresh; the old one leaves the output first
  library.Engine = std::make_unique<MelvoxEngine>(library.Output, library.SoundFonts);
  return kDone;
}

int MelvoxInitMidi() {
  Log("MelvoxInitMidi()");
  if (!Engine()) return kFailed;
  Engine()->InitMidi();
  return kDone;
}

int MelvoxInitWave() {
  Log("MelvoxInitWave()");
  if (!Engine()) return kFailed;
  Engine()->InitWave();
  return kDone;
}

int MelvoxRelease() {
  Log("MelvoxRelease()");
  Library().Engine.reset();
  return kDone;
}

int MelvoxTermMidi() {
  Log("MelvoxTermMidi()");
  if (!Engine()) return kFailed;
  Engine()->TermMidi();
  return kDone;
}

int MelvoxTermWave() {
  Log("MelvoxTermWave()");
  if (!Engine()) return kFailed;
  Engine()->TermWave();
  return kDone;
}

int MelvoxGetVersion() { return LogResult("MelvoxGetVersion()", kVersion); }

int MelvoxPlayMusic(const char* path) {
  Log("MelvoxPlayMusic(" + Text(path) + ")");
  if (!Engine()) return kFailed;
  return Outcome(Engine()->PlayMusic(Text(path)));
}

int MelvoxFadeInMusic(int milliseconds) {
  Log("MelvoxFadeInMusic(" + std::to_string(milliseconds) + ")");
  if (!Engine()) return kFailed;
  Engine()->FadeInMusic(milliseconds);
  return kDone;
}

int MelvoxSetMusicVolume(int volume) {
  Log("MelvoxSetMusicVolume(" + std::to_string(volume) + ")");
  if (!Engine()) return kFailed;
  Engine()->SetMusicVolume(volume);
  return kDone;
}

int MelvoxSetMusicSpeed(int tempo) {
  Log("MelvoxSetMusicSpeed(" + std::to_string(tempo) + ")");
  if (!Engine()) return kFailed;
  Engine()->SetMusicSpeed(tempo);
  return kDone;
}

int MelvoxSetMusicPanpot(int balance) {
  Log("MelvoxSetMusicPanpot(" + std::to_string(balance) + ")");
  if (!Engine()) return kFailed;
  Engine()->SetMusicPanpot(balance);
  return kDone;
}

int MelvoxFadeOutMusic(int milliseconds) {
  Log("MelvoxFadeOutMusic(" + std::to_string(milliseconds) + ")");
  if (!Engine()) return kFailed;
  Engine()->FadeOutMusic(milliseconds);
  return kDone;
}

int MelvoxStopMusic() {
  Log("MelvoxStopMusic()");
  if (!Engine()) return kFailed;
  Engine()->StopMusic();
  return kDone;
}

int MelvoxGetMusicPlaying() {
  return LogResult("MelvoxGetMusicPlaying()", Engine() && Engine()->MusicPlaying() ? 1 : 0);
}

int MelvoxGetMusicLooping() {
  return LogResult("MelvoxGetMusicLooping()", Engine() && Engine()->MusicLooping() ? 1 : 0);
}

int MelvoxGetMidiTick() { return LogResult("MelvoxGetMidiTick()", Engine() ? Engine()->MidiTick() : 0); }

int MelvoxCheckValidMidi(const char* path) {
  std::string call = "MelvoxCheckValidMidi(" + Text(path) + ")";
  return LogResult(call, Engine() && Engine()->IsValidMidi(Text(path)) ? 1 : 0);
}

int MelvoxCheckValidWave(const char* path) {
  std::string call = "MelvoxCheckValidWave(" + Text(path) + ")";
  return LogResult(call, Engine() && Engine()->IsValidWave(Text(path)) ? 1 : 0);
}

int MelvoxPlaySound(const char* path) {
  Log("MelvoxPlaySound(" + Text(path) + ")");
  if (!Engine()) return kFailed;
  return Outcome(Engine()->PlaySound(Text(path), 100, 100, 50));
}

int MelvoxPlaySoundEx(const char* path, int volume, int tempo, int balance) {
  Log("MelvoxPlaySoundEx(" + Text(path) + ", " + std::to_string(volume) + ", " + std::to_string(tempo) + ", " +
      std::to_string(balance) + ")");
  if (!Engine()) return kFailed;
  return Outcome(Engine()->PlaySound(Text(path), volume, tempo, balance));
}

int MelvoxStopSound() {
  Log("MelvoxStopSound()");
  if (!Engine()) return kFailed;
  Engine()->StopSounds();
  return kDone;
}

int MelvoxReserveSound(const char* path) {
  Log("MelvoxReserveSound(" + Text(path) + ")");
  if (!Engine()) return kFailed;
  return Outcome(Engine()->ReserveSound(Text(path)));
}

int MelvoxCancelSound(const char* path) {
  Log("MelvoxCancelSound(" + Text(path) + ")");
  if (!Engine()) return kFailed;
  Engine()->CancelSound(Text(path));
  return kDone;
}

int MelvoxCacheSound(const char* path) {
  Log("MelvoxCacheSound(" + Text(path) + ")");
  if (!Engine()) return kFailed;
  return Outcome(Engine()->ReserveSound(Text(path)));
}
