#pragma once
// Plays a game folder with the real player on the headless backend, the way
// `zarplayer --headless` does, and keeps what a test wants to look at.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "graphics/VantraDraw.h"
#include "platform/HeadlessPlatform.h"
#include "shell/GameMain.h"
#include "shell/Melvox.h"
#include "state/LGD_SaveData.h"

struct ReplayRun {
  nlohmann::json state;
  TVantraBoard board{320, 240};  // the back buffer when the run ended
  std::vector<std::string> soundCalls;
  std::string error;  // the message of an error that ended the run

  bool Heard(const std::string& part) const {
    for (const std::string& call : soundCalls)
      if (call.find(part) != std::string::npos) return true;
    return false;
  }
};

inline std::filesystem::path DemoGame() { return ZAR_BINARY_DIR "/demo"; }

// Runs `frames` frames of the game with the scripted keys ("FRAME KEYS [HOLD]" lines).
inline ReplayRun Replay(std::uint64_t frames, const std::string& script = "",
                        std::vector<std::string> positional = {"x", "x", "Window"},
                        const std::filesystem::path& game = DemoGame()) {
  HeadlessPlatform machine(ParseInputScript(script, "replay"));
  TKelLaunchOptions options;
  options.headless = true;
  options.frameLimit = frames;
  options.seed = 1;
  options.positional = std::move(positional);
  ReplayRun run;
  TFormKelGameMain form(machine, options);
  form.SetFolders({game, {}});
  MelvoxClearCallLog();
  try {
    form.FormCreate();
    form.FormShow();
    form.Run();
  } catch (const EVantraDrawAbort&) {
  } catch (const std::exception& e) {
    run.error = e.what();
  }
  run.soundCalls = MelvoxCallLog();
  run.state = form.DumpState();
  if (const TVantraDraw* draw = form.GetProgram().Draw) run.board.CopyRect(0, 0, {0, 0, 320, 240}, draw->Board);
  form.FormCloseQuery();
  return run;
}

// FNV-1a over the pixels: a compact fingerprint of a reviewed picture.
inline std::uint64_t BoardHash(const TVantraBoard& board) {
  std::uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < board.GetHeight(); ++y)
    for (int x = 0; x < board.GetWidth(); ++x) {
      hash = (hash ^ (board.Pixel(x, y) & 0xFF)) * 1099511628211ull;
      hash = (hash ^ (board.Pixel(x, y) >> 8)) * 1099511628211ull;
    }
  return hash;
}

// The demo's program built and shown headless, without running the loop:
// for tests that set the game state directly and call its rules.
struct DemoProgram {
  HeadlessPlatform machine;
  TKelLaunchOptions options;
  std::unique_ptr<TFormKelGameMain> form;

  DemoProgram() {
    options.headless = true;
    form = std::make_unique<TFormKelGameMain>(machine, options);
    form->SetFolders({DemoGame(), {}});
    form->FormCreate();
    form->FormShow();
  }
  ~DemoProgram() { form->FormCloseQuery(); }
  DemoProgram(const DemoProgram&) = delete;
  DemoProgram& operator=(const DemoProgram&) = delete;

  const TKelProgram& Program() const { return form->GetProgram(); }
  TKelgSaveData& Game() const { return *form->GetProgram().SaveData; }
};
