#pragma once
// `zartool check`: every broken reference and missing asset of a game folder.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

struct TCheckOptions {
  std::filesystem::path GameFolder;
  std::filesystem::path PackageFolder;  // empty: the configured one
  bool CheckAssets = true;
};

// The problems found, one line each ("where: what").
std::vector<std::string> CheckGame(const TCheckOptions& options);
