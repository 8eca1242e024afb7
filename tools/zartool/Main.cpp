// zartool: the data tool for authors and tests. Dumps database, map-tree and
// map files as JSON, packs JSON back into them, checks a game folder for
// broken references, and converts pictures.

#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Check.h"
#include "JsonCodec.h"
#include "TextCodec.h"
#include "data/StreamUtils.h"

#if __has_include("Convert.h")
#include "Convert.h"
#define ZARTOOL_HAS_CONVERT 1
#endif

namespace {

const char kUsage[] =
    "usage: zartool COMMAND ...\n"
    "\n"
    "  dump FILE [--encoding CP]   a database, map-tree or map file as JSON on stdout\n"
    "  pack FILE.json -o OUT [--encoding CP]\n"
    "                              the reverse: JSON back into the file it describes\n"
    "  check GAMEDIR [--package DIR] [--no-assets]\n"
    "                              broken references and missing assets; exit 1 when any\n"
    "  convert IN OUT              pictures between XYZ, PNG and bitmap by OUT's extension\n"
    "\n"
    "Text is converted between the game's code page (default CP932) and UTF-8; bytes\n"
    "that do not convert appear as {\"bytes\": \"<hex>\"}.\n";

int UsageError(const std::string& problem) {
  std::cerr << "zartool: " << problem << "\n\n" << kUsage;
  return 2;
}

struct TArguments {
  std::vector<std::string> Positional;
  std::string Encoding = "CP932";
  std::string Output;
  std::string Package;
  bool NoAssets = false;
};

// Options take their value from the next argument; nullopt-like false on error.
bool ParseArguments(int argc, char** argv, TArguments& arguments, std::string& problem) {
  for (int i = 2; i < argc; ++i) {
    std::string argument = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) {
        problem = argument + " needs a value";
        return false;
      }
      into = argv[++i];
      return true;
    };
    if (argument == "--encoding") {
      if (!value(arguments.Encoding)) return false;
    } else if (argument == "-o" || argument == "--output") {
      if (!value(arguments.Output)) return false;
    } else if (argument == "--package") {
      if (!value(arguments.Package)) return false;
    } else if (argument == "--no-assets") {
      arguments.NoAssets = true;
    } else if (argument.starts_with("-") && argument != "-") {
      problem = "unknown option " + argument;
      return false;
    } else {
      arguments.Positional.push_back(argument);
    }
  }
  return true;
}

int Dump(const TArguments& arguments) {
  if (arguments.Positional.size() != 1) return UsageError("dump takes one FILE");
  TTextCodec text(arguments.Encoding);
  TJsonCodec codec(text);
  const std::string& file = arguments.Positional[0];
  TJson json = codec.FileToJson(ReadWholeFile(file), file);
  std::cout << FormatJson(json);
  return 0;
}

int Pack(const TArguments& arguments) {
  if (arguments.Positional.size() != 1) return UsageError("pack takes one FILE.json");
  if (arguments.Output.empty()) return UsageError("pack needs -o OUT");
  const std::string& input = arguments.Positional[0];
  std::ifstream file(input);
  if (!file) throw std::runtime_error(input + ": cannot open the file");
  TJson json;
  try {
    json = TJson::parse(file);
  } catch (const nlohmann::json::parse_error& e) {
    throw std::runtime_error(input + ": " + e.what());
  }
  TTextCodec text(arguments.Encoding);
  TJsonCodec codec(text);
  std::vector<std::uint8_t> bytes;
  try {
    bytes = codec.FileFromJson(json);
  } catch (const EJsonError& e) {
    throw std::runtime_error(input + ": " + e.what());
  } catch (const EKelDataError& e) {
    throw std::runtime_error(input + ": " + e.what());
  }
  // Never write a file that the player could not read back.
  try {
    codec.FileToJson(bytes, arguments.Output);
  } catch (const std::exception& e) {
    throw std::runtime_error(input + ": the packed file would not load: " + e.what());
  }
  WriteWholeFile(arguments.Output, bytes);
  return 0;
}

int Check(const TArguments& arguments) {
  if (arguments.Positional.size() != 1) return UsageError("check takes one GAMEDIR");
  TCheckOptions options;
  options.GameFolder = arguments.Positional[0];
  options.PackageFolder = arguments.Package;
  options.CheckAssets = !arguments.NoAssets;
  auto problems = CheckGame(options);
  for (const auto& problem : problems) std::cout << problem << "\n";
  if (problems.empty()) std::cout << "no broken references\n";
  return problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return UsageError("no command");
  std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "convert") {
#ifdef ZARTOOL_HAS_CONVERT
    return RunConvert(argc - 1, argv + 1);
#else
    std::cerr << "zartool: convert is not built into this zartool\n";
    return 2;
#endif
  }
  for (int i = 2; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0) {
      std::cout << kUsage;
      return 0;
    }
  TArguments arguments;
  std::string problem;
  if (!ParseArguments(argc, argv, arguments, problem)) return UsageError(problem);
  try {
    if (command == "dump") return Dump(arguments);
    if (command == "pack") return Pack(arguments);
    if (command == "check") return Check(arguments);
  } catch (const std::exception& e) {
    std::cerr << "zartool: " << e.what() << "\n";
    return 1;
  }
  return UsageError("unknown command " + command);
}
