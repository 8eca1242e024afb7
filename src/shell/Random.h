#pragma once
// The program's one random generator: uniform integers 0 … n−1. Tests can
// script the values it gives, so every rule can be checked at its edges.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <vector>

class TKelRandom {
public:
  void Seed(std::uint32_t seed) { Engine.seed(seed); }

  // The next values Next gives, in order, before the generator's own;
  // each is brought into 0 … n−1 of the call that takes it.
  void Script(const std::vector<int>& values) { Scripted.insert(Scripted.end(), values.begin(), values.end()); }
  bool HasScripted() const { return !Scripted.empty(); }

  int Next(int n) {
    if (n <= 0) return 0;
    if (!Scripted.empty()) {
      const int value = Scripted.front();
      Scripted.pop_front();
      return std::clamp(value, 0, n - 1);
    }
    return std::uniform_int_distribution<int>(0, n - 1)(Engine);
  }
  bool Percent(int chance) { return Next(100) < chance; }

private:
  std::mt19937 Engine;
  std::deque<int> Scripted;
};
