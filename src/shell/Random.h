#pragma once
// The program's one random generator: uniform integers 0 … n−1.

#include <cstdint>
#include <random>

class TKelRandom {
public:
  void Seed(std::uint32_t seed) { Engine.seed(seed); }
  int Next(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(Engine); }
  bool Percent(int chance) { return Next(100) < chance; }

private:
  std::mt19937 Engine;
};
