#pragma once
// The player's command line: the four positional words the editor passes
// ("BattleTest"/"TestPlay", "HideTitle", "Window", troop number) and our options.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct TKelScreenshotRequest {
  std::uint64_t frame;
  std::string path;
};

struct TKelLaunchOptions {
  std::vector<std::string> positional;  // at most four
  std::optional<std::filesystem::path> gameFolder;
  std::optional<std::filesystem::path> packageFolder;
  bool headless = false;
  std::uint64_t frameLimit = 0;  // 0: run until the game ends
  std::optional<std::uint32_t> seed;
  std::optional<std::filesystem::path> inputScript;
  std::vector<TKelScreenshotRequest> screenshots;
  std::optional<std::filesystem::path> dumpState;
  std::optional<std::filesystem::path> audioOut;
  bool showHelp = false;
  bool showVersion = false;

  std::string Argument(std::size_t index) const {  // 1-based, as the editor numbers them
    return index >= 1 && index <= positional.size() ? positional[index - 1] : std::string();
  }
};

// Throws std::invalid_argument with a message naming the bad option.
TKelLaunchOptions ParseCommandLine(const std::vector<std::string>& arguments);

std::string CommandLineHelp();
