#pragma once
// The sound library: music (MIDI and wave) and sound effects. One program-wide
// engine behind plain calls; paths come from FindAsset. Results are ints as the
// callers expect them; most are ignored.
//
// Results: 0 when the call did what it asked, -1 when it could not (no engine,
// a file that does not play); the queries return their value.
//
// Settings arrive as the database stores them and are clamped to its ranges:
//   volume 0..100   gain = (volume / 100)², so 50 is a quarter (−12 dB), 0 silent
//   tempo 50..150   percent; MIDI: tempo; wave: playback speed, pitch included
//   balance 0..100  50 centred; left gain = min(1, (100 − balance) / 50),
//                   right gain = min(1, balance / 50): 0 is heard only on the
//                   left, 100 only on the right, and the centre loses nothing
//   fades           milliseconds; the gain moves linearly from 0 to 1 (fade-in)
//                   or from where it is to 0 (fade-out, then the music stops)
//
// Music loops from its start for ever; MelvoxGetMusicLooping turns 1 at the
// first pass's end. MelvoxGetMidiTick counts in the file's own ticks and starts
// again at 0 on every pass; wave music has no tick (0). Effects: 16 voices, the
// oldest gives way. Reserving (or caching) a sound keeps it decoded until it is
// cancelled as often as it was reserved, or until MelvoxTermWave.
//
// Time: the engine moves on by the frames it renders. With an output attached
// the output pulls Render at AudioRate() frames per second (a device, or the
// platform's own clock when there is none). Without an output the engine
// keeps time itself from the steady clock, silently.

#include <string>
#include <vector>

class Platform;

// Ours: where the engine's mixer plays. Call before MelvoxCreate; nullptr or
// never called means silent with the same timing. MelvoxRelease before the
// output goes away: the engine leaves it then.
void MelvoxAttachOutput(Platform* platform);

// Ours: where MelvoxInitMidi looks for a General MIDI soundfont, in this order.
struct MelvoxSoundFontSources {
  std::string PackageFolder;  // the first .sf2/.sf3 in its "Music", then its "SoundFont" folder
  std::string Configured;     // the config file's SoundFont value
  std::vector<std::string> SystemDefaults{
      "/usr/share/sounds/sf2/default-GM.sf2",
      "/usr/share/sounds/sf3/default-GM.sf3",
      "/usr/share/sounds/sf2/default-GM.sf3",
  };
};
void MelvoxSetSoundFontSources(const MelvoxSoundFontSources& sources);

// Ours, for tests: every call since the last clear with its arguments and,
// for queries, its result, e.g. "MelvoxPlaySoundEx(/g/Sound/Buzzer.wav, 80, 100, 50)"
// or "MelvoxGetMusicLooping() = 1". The oldest entries give way past 65536.
std::vector<std::string> MelvoxCallLog();
void MelvoxClearCallLog();

int MelvoxCreate();
int MelvoxInitMidi();
int MelvoxInitWave();
int MelvoxRelease();
int MelvoxTermMidi();
int MelvoxTermWave();
int MelvoxGetVersion();

int MelvoxPlayMusic(const char* path);
int MelvoxFadeInMusic(int milliseconds);
int MelvoxSetMusicVolume(int volume);  // 0..100
int MelvoxSetMusicSpeed(int tempo);    // 50..150 percent
int MelvoxSetMusicPanpot(int balance); // 0..100, 50 centred
int MelvoxFadeOutMusic(int milliseconds);
int MelvoxStopMusic();
int MelvoxGetMusicPlaying();
int MelvoxGetMusicLooping();
int MelvoxGetMidiTick();
int MelvoxCheckValidMidi(const char* path);
int MelvoxCheckValidWave(const char* path);

int MelvoxPlaySound(const char* path);
int MelvoxPlaySoundEx(const char* path, int volume, int tempo, int balance);
int MelvoxStopSound();
int MelvoxReserveSound(const char* path);
int MelvoxCancelSound(const char* path);
int MelvoxCacheSound(const char* path);
