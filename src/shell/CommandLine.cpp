#include "shell/CommandLine.h"

#include <charconv>
#include <stdexcept>

namespace {
template <typename Number>
Number ParseWhole(const std::string& option, const std::string& text) {
  Number value{};
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) throw std::invalid_argument(option + " needs a whole number, not \"" + text + "\"");
  return value;
}

TKelScreenshotRequest ParseScreenshot(const std::string& text) {
  const auto colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size())
    throw std::invalid_argument("--screenshot needs FRAME:FILE.png, not \"" + text + "\"");
  return {ParseWhole<std::uint64_t>("--screenshot", text.substr(0, colon)), text.substr(colon + 1)};
}
}  // namespace

TKelLaunchOptions ParseCommandLine(const std::vector<std::string>& arguments) {
  TKelLaunchOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(word + " needs a value");
      return arguments[++i];
    };
    if (word == "--game") options.gameFolder = value();
    else if (word == "--package") options.packageFolder = value();
    else if (word == "--headless") options.headless = true;
    else if (word == "--frames") options.frameLimit = ParseWhole<std::uint64_t>(word, value());
    else if (word == "--seed") options.seed = ParseWhole<std::uint32_t>(word, value());
    else if (word == "--input") options.inputScript = value();
    else if (word == "--screenshot") options.screenshots.push_back(ParseScreenshot(value()));
    else if (word == "--dump-state") options.dumpState = value();
    else if (word == "--audio-out") options.audioOut = value();
    else if (word == "--help" || word == "-h") options.showHelp = true;
    else if (word == "--version") options.showVersion = true;
    else if (word.size() > 1 && word[0] == '-' && word[1] == '-') throw std::invalid_argument("unknown option " + word);
    else if (options.positional.size() < 4) options.positional.push_back(word);
    else throw std::invalid_argument("too many arguments: \"" + word + "\"");
  }
  return options;
}

std::string CommandLineHelp() {
  return "usage: zarplayer [options] [BattleTest|TestPlay [HideTitle [Window [TROOP]]]]\n"
         "  --game DIR            the game folder (default: the current folder when it holds\n"
         "                        ZAR_RT.kdb, else the program's folder)\n"
         "  --package DIR         the run-time package folder\n"
         "  --headless            no window, no audio device, a virtual clock\n"
         "  --frames N            end after N frames\n"
         "  --seed N              fixed random seed\n"
         "  --input FILE          scripted keys: lines 'FRAME KEYS [HOLD]'\n"
         "  --screenshot N:FILE   write the picture presented after frame N as PNG\n"
         "  --dump-state FILE     write the game state as JSON at the end\n"
         "  --audio-out FILE      headless: write everything heard as a WAV file\n"
         "  --help, --version\n";
}
