#pragma once
// The program-wide objects, handed to every scene instead of globals.

#include <array>
#include <filesystem>
#include <string>

#include "shell/Assets.h"

class TVantraDraw;
class TMultiInput;
class TKelgSaveData;
class TKelRandom;
class TKelDataBase;
class TKelMapTree;
class TKelMap;

struct TKelStartFlags {
  std::filesystem::path GameFolder;
  std::string GameFolderName;
  std::string GameTitle = "Untitled";
  bool IsBattleTest = false;
  bool IsTestPlay = false;
  bool ShowLogos = true;  // the title clears it once the logos have shown
  bool ShowTitle = true;
  bool ExeReadOnly = false;
};

class TKelScene;
class TKelMessagePool;
class TKelMessageWindow;

struct TKelProgram {
  TKelStartFlags Flags;
  AssetFolders Folders;
  TVantraDraw* Draw = nullptr;
  TMultiInput* Input = nullptr;
  TKelMapTree* MapTree = nullptr;
  TKelMap* Map = nullptr;  // the current map's data
  TKelDataBase* DataBase = nullptr;
  TKelgSaveData* SaveData = nullptr;
  TKelRandom* Random = nullptr;
  TKelMessagePool* MessagePool = nullptr;
  TKelMessageWindow* MessageWindow = nullptr;
  // The nine scenes by id, for the few hand-overs between them.
  std::array<TKelScene*, 9> Scenes{};
};
