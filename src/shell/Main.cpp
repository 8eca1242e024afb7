// zarplayer: plays a game folder.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "graphics/VantraDraw.h"
#include "platform/HeadlessPlatform.h"
#include "platform/SdlPlatform.h"
#include "shell/Assets.h"
#include "shell/CommandLine.h"
#include "shell/GameMain.h"

namespace fs = std::filesystem;

namespace {

fs::path ProgramFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path() : exe.parent_path();
}

fs::path ResolveGameFolder(const TKelLaunchOptions& options) {
  if (options.gameFolder) return fs::absolute(*options.gameFolder);
  std::error_code error;
  if (fs::exists(fs::current_path() / "ZAR_RT.kdb", error)) return fs::current_path();
  return ProgramFolder();
}

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot read the input script " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::unique_ptr<Platform> CreatePlatform(const TKelLaunchOptions& options) {
  if (options.headless) {
    std::vector<ScriptedInput> script;
    if (options.inputScript)
      script = ParseInputScript(ReadWholeFile(*options.inputScript), options.inputScript->string());
    return std::make_unique<HeadlessPlatform>(std::move(script),
                                              options.audioOut ? options.audioOut->string() : std::string());
  }
  if (options.inputScript || options.audioOut)
    std::cerr << "zarplayer: --input and --audio-out apply only with --headless\n";
  SdlOptions sdl;
  sdl.allowMessageBox = std::getenv("ZARKIT_NO_MESSAGEBOX") == nullptr;
  return CreateSdlPlatform(sdl);
}

void WriteStateDump(const fs::path& path, const nlohmann::json& state) {
  std::ofstream out(path, std::ios::binary);
  out << state.dump(2) << "\n";
  if (!out) std::cerr << "zarplayer: cannot write " << path.string() << "\n";
}

int Play(const TKelLaunchOptions& options) {
  const fs::path gameFolder = ResolveGameFolder(options);
  std::unique_ptr<Platform> machine;
  try {
    machine = CreatePlatform(options);
  } catch (const std::exception& e) {
    std::cerr << "zarplayer: " << e.what() << "\n";
    return 1;
  }

  AssetFolders folders{gameFolder, {}};
  if (!IsFullPackage(gameFolder)) {
    folders.package = ReadPackageFolder(options.packageFolder);
    if (folders.package.empty()) {
      machine->ShowError("Zarkit", "Zarkit Runtime Package Setup");
      return 1;
    }
  } else if (options.packageFolder) {
    folders.package = *options.packageFolder;
  }

  int status = 0;
  nlohmann::json state;
  {
    TFormKelGameMain form(*machine, options);
    try {
      form.SetFolders(folders);
      form.FormCreate();
      form.FormShow();
      form.Run();
    } catch (const EVantraDrawAbort&) {
      // The window closed or the frame limit was reached: a normal end.
    } catch (const std::exception& e) {
      machine->ShowError(form.GetProgram().Flags.GameTitle, e.what());
      status = 1;
    }
    state = form.DumpState();
    form.FormCloseQuery();
  }
  if (options.dumpState) WriteStateDump(*options.dumpState, state);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  TKelLaunchOptions options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& e) {
    std::cerr << "zarplayer: " << e.what() << "\n" << CommandLineHelp();
    return 2;
  }
  if (options.showHelp) {
    std::cout << CommandLineHelp();
    return 0;
  }
  if (options.showVersion) {
    std::cout << "zarplayer " << ZARKIT_VERSION << "\n";
    return 0;
  }
  return Play(options);
}
