#pragma once
// The main form: creates and frees the program-wide objects, and runs the
// main loop that updates and draws the current scene once a frame.

#include <array>
#include <memory>

#include <nlohmann/json_fwd.hpp>

#include "shell/CommandLine.h"
#include "shell/KelProgram.h"
#include "state/LGD_System.h"

class Platform;
class TKelScene;
class TVantraDraw;
class TMultiInput;
class TKelgSaveData;
class TKelRandom;
class TKelDataBase;
class TKelMapTree;
class TKelMap;
class TKelMessagePool;
class TKelMessageWindow;
class TKelgMessageLink;

class TFormKelGameMain {
public:
  TFormKelGameMain(Platform& machine, TKelLaunchOptions options);
  ~TFormKelGameMain();

  void FormCreate();
  void FormShow();
  void FormCloseQuery();
  void FormDestroy();

  // Runs the game until it ends (window closed, frame limit, battle test over).
  void Run();
  void VantraDrawMain();
  void ResetGame();
  void SetupBattleTest();

  // The state dump: frames run, scene, and what every subsystem adds.
  nlohmann::json DumpState() const;

  const TKelProgram& GetProgram() const { return Program; }
  // The game and package folders, fixed before FormCreate.
  void SetFolders(const AssetFolders& folders);
  TKelScene& Scene(TKelSceneId id) { return *Scenes[id]; }

private:
  TKelgSystem& System();

  Platform& Machine;
  TKelLaunchOptions Options;
  TKelProgram Program;
  bool SoundStarted = false;
  std::unique_ptr<TVantraDraw> Draw;
  std::unique_ptr<TMultiInput> Input;
  std::unique_ptr<TKelMapTree> MapTree;
  std::unique_ptr<TKelMap> Map;
  std::unique_ptr<TKelDataBase> DataBase;
  std::unique_ptr<TKelgSaveData> SaveData;
  std::unique_ptr<TKelgMessageLink> MessageLink;
  std::unique_ptr<TKelMessagePool> MessagePool;
  std::unique_ptr<TKelMessageWindow> MessageWindow;
  std::unique_ptr<TKelRandom> Random;
  std::array<std::unique_ptr<TKelScene>, kSceneCount> Scenes;
};
