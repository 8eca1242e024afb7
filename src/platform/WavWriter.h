#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A 16-bit stereo PCM wave file of interleaved samples.
void WriteWav16Stereo(const std::string& path, const std::vector<std::int16_t>& samples, int rate);
