#include "platform/WavWriter.h"

#include <fstream>
#include <stdexcept>

namespace {
void PutLe(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}
}  // namespace

void WriteWav16Stereo(const std::string& path, const std::vector<std::int16_t>& samples, int rate) {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw std::runtime_error("Cannot write " + path);
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  out.write("RIFF", 4);
  PutLe(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, 2, 2);
  PutLe(out, static_cast<std::uint32_t>(rate), 4);
  PutLe(out, static_cast<std::uint32_t>(rate) * 4, 4);
  PutLe(out, 4, 2);
  PutLe(out, 16, 2);
  out.write("data", 4);
  PutLe(out, dataBytes, 4);
  for (std::int16_t s : samples) PutLe(out, static_cast<std::uint16_t>(s), 2);
  if (!out) throw std::runtime_error("Cannot write " + path);
}
