#include "shell/MelvoxWave.h"

#include <SDL.h>

#include <cstring>
#include <fstream>
#include <memory>

#include "shell/MelvoxMidi.h"

namespace {

constexpr std::size_t kMaxSoundFileBytes = std::size_t(256) << 20;

std::uint32_t ReadU32LE(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

// SDL's reader silently keeps what it can of a cut-off file; a truncated
// piece should instead be refused, so the chunk layout is checked first.
void CheckWaveChunks(std::span<const std::uint8_t> bytes) {
  if (!IsWaveData(bytes)) throw EMelvoxFile("not a wave file");
  std::size_t offset = 12;
  bool haveFormat = false;
  while (offset + 8 <= bytes.size()) {
    const std::uint8_t* header = &bytes[offset];
    std::uint64_t length = ReadU32LE(header + 4);
    offset += 8;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (length > bytes.size() - offset) throw EMelvoxFile("wave format chunk cut off");
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!haveFormat) throw EMelvoxFile("wave data before its format");
      if (length > bytes.size() - offset) throw EMelvoxFile("wave data cut off");
      if (length == 0) throw EMelvoxFile("wave file without sound");
      return;
    }
    offset += length + (length & 1);
  }
  throw EMelvoxFile("wave file without data");
}

struct SdlWaveBuffer {
  Uint8* Data = nullptr;
  ~SdlWaveBuffer() { SDL_FreeWAV(Data); }
};

}  // namespace

std::vector<std::uint8_t> ReadSoundFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EMelvoxFile("cannot open the file");
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) throw EMelvoxFile("cannot read the file");
  if (static_cast<std::uint64_t>(size) > kMaxSoundFileBytes) throw EMelvoxFile("file too large");
  in.seekg(0);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) throw EMelvoxFile("cannot read the file");
  return bytes;
}

bool IsWaveData(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 12 && std::memcmp(bytes.data(), "RIFF", 4) == 0 &&
         std::memcmp(bytes.data() + 8, "WAVE", 4) == 0;
}

WaveClip DecodeWave(std::span<const std::uint8_t> bytes) {
  CheckWaveChunks(bytes);
  SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!stream) throw EMelvoxFile(std::string("wave file: ") + SDL_GetError());
  SDL_AudioSpec format{};
  SdlWaveBuffer decoded;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(stream, 1, &format, &decoded.Data, &length))
    throw EMelvoxFile(std::string("wave file: ") + SDL_GetError());
  if (format.freq <= 0 || format.channels == 0) throw EMelvoxFile("wave file without a rate");

  SDL_AudioCVT convert;
  int built = SDL_BuildAudioCVT(&convert, format.format, format.channels, format.freq, AUDIO_S16SYS, 2, format.freq);
  if (built < 0) throw EMelvoxFile(std::string("wave file: ") + SDL_GetError());
  std::vector<std::uint8_t> work(static_cast<std::size_t>(length) * std::max(1, convert.len_mult));
  std::memcpy(work.data(), decoded.Data, length);
  if (built > 0) {
    convert.buf = work.data();
    convert.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&convert) < 0) throw EMelvoxFile(std::string("wave file: ") + SDL_GetError());
    length = static_cast<Uint32>(convert.len_cvt);
  }

  WaveClip clip;
  clip.Rate = format.freq;
  clip.Samples.resize(length / (2 * sizeof(std::int16_t)) * 2);
  if (clip.Samples.empty()) throw EMelvoxFile("wave file without sound");
  std::memcpy(clip.Samples.data(), work.data(), clip.Samples.size() * sizeof(std::int16_t));
  return clip;
}
