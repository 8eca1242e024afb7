#pragma once
// The sound library: music (MIDI and wave) and sound effects. One program-wide
// engine behind plain calls; paths come from FindAsset. Results are ints as the
// callers expect them; most are ignored.

class Platform;

// Ours: where the engine's mixer plays. Call before MelvoxCreate; nullptr or
// never called means silent with the same timing.
void MelvoxAttachOutput(Platform* platform);

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
