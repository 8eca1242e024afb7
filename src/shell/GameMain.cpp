#include "shell/GameMain.h"

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "battle/LS_Battle.h"
#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "graphics/VantraDraw.h"
#include "platform/Platform.h"
#include "screens/LS_Debug.h"
#include "screens/LS_GameOver.h"
#include "screens/LS_Menu.h"
#include "screens/LS_Name.h"
#include "screens/LS_SaveFile.h"
#include "screens/LS_Shop.h"
#include "screens/LS_Title.h"
#include "shell/IniFile.h"
#include "shell/Melvox.h"
#include "shell/MultiInput.h"
#include "shell/Random.h"
#include "shell/StateText.h"
#include "state/LGD_MessageLink.h"
#include "state/LGD_SaveData.h"
#include "ui/GameMessageWindow.h"
#include "world/LS_Field.h"

namespace fs = std::filesystem;

namespace {
constexpr int kFrameRate = 60;
constexpr int kMaxLag = 20;
constexpr int kFramesAfterReset = 20;
}  // namespace

TFormKelGameMain::TFormKelGameMain(Platform& machine, TKelLaunchOptions options)
    : Machine(machine), Options(std::move(options)) {}

TFormKelGameMain::~TFormKelGameMain() { FormDestroy(); }

TKelgSystem& TFormKelGameMain::System() { return SaveData->System; }

void TFormKelGameMain::SetFolders(const AssetFolders& folders) {
  Program.Folders = folders;
  Program.Flags.GameFolder = folders.game;
  fs::path normal = folders.game.lexically_normal();
  if (normal.filename().empty()) normal = normal.parent_path();
  Program.Flags.GameFolderName = normal.filename().string();
  Program.Flags.ExeReadOnly = access(folders.game.c_str(), W_OK) != 0;
}

void TFormKelGameMain::FormCreate() {
  Draw = std::make_unique<TVantraDraw>(Machine);
  Draw->OnMain = [this] { VantraDrawMain(); };
  Draw->SetFrameRate(kFrameRate);
  Draw->SetMaxLag(kMaxLag);
  Draw->SetScreenZoom(true);
  Draw->SetFrameLimit(Options.frameLimit);
  for (const auto& shot : Options.screenshots) Draw->AddScreenshot({shot.frame, shot.path});

  TKelStartFlags& flags = Program.Flags;
  flags.IsBattleTest = Options.Argument(1) == "BattleTest";
  flags.IsTestPlay = flags.IsBattleTest || Options.Argument(1) == "TestPlay";
  flags.ShowLogos = !flags.IsTestPlay;
  flags.ShowTitle = Options.Argument(2) != "HideTitle";
  Draw->SetScreenMode(Options.Argument(3) == "Window" ? ScreenMode::smWindow : ScreenMode::smFullScreen);
  Draw->Initialize();
  flags.GameTitle = ReadGameTitle(flags.GameFolder);
  Machine.SetTitle(flags.GameTitle);
  Program.Draw = Draw.get();
}

void TFormKelGameMain::FormShow() {
  MelvoxAttachOutput(&Machine);
  MelvoxSoundFontSources soundFonts;
  soundFonts.PackageFolder = Program.Folders.package.string();
  soundFonts.Configured = ReadIniString(ConfigFilePath(), "ZAR_RT", "SoundFont").value_or("");
  MelvoxSetSoundFontSources(soundFonts);
  MelvoxCreate();
  MelvoxInitMidi();
  MelvoxInitWave();
  SoundStarted = true;

  Random = std::make_unique<TKelRandom>();
  Random->Seed(Options.seed.value_or(
      static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count())));
  Program.Random = Random.get();

  Input = std::make_unique<TMultiInput>(Machine);
  Program.Input = Input.get();
  MapTree = std::make_unique<TKelMapTree>();
  Program.MapTree = MapTree.get();
  Map = std::make_unique<TKelMap>();
  Program.Map = Map.get();
  MapTree->Load(Program.Folders.game, TempFolder());
  DataBase = std::make_unique<TKelDataBase>();
  Program.DataBase = DataBase.get();
  DataBase->Load(Program.Folders.game);
  SaveData = std::make_unique<TKelgSaveData>(Program);
  SaveData->ClearAll();
  Program.SaveData = SaveData.get();
  MessageLink = std::make_unique<TKelgMessageLink>(Program);
  MessagePool = std::make_unique<TKelMessagePool>();
  Program.MessagePool = MessagePool.get();
  MessageWindow = std::make_unique<TKelMessageWindow>(
      TKelWindowServices{SaveData->System.Graphic(), *Input, SaveData->System}, *MessageLink);
  Program.MessageWindow = MessageWindow.get();
  SaveData->ConnectInterpreters(*MessageWindow, *MessagePool);

  Scenes[scField] = std::make_unique<TKelFieldScene>(Program);
  Scenes[scMenu] = std::make_unique<TKelMenuScene>(Program);
  Scenes[scBattle] = std::make_unique<TKelBattleScene>(Program);
  Scenes[scShop] = std::make_unique<TKelShopScene>(Program);
  Scenes[scName] = std::make_unique<TKelNameScene>(Program);
  Scenes[scSaveFile] = std::make_unique<TKelSaveFileScene>(Program);
  Scenes[scTitle] = std::make_unique<TKelTitleScene>(Program);
  Scenes[scGameOver] = std::make_unique<TKelGameOverScene>(Program);
  Scenes[scDebug] = std::make_unique<TKelDebugScene>(Program);
  for (int id = 0; id < kSceneCount; ++id) Program.Scenes[id] = Scenes[id].get();
}

void TFormKelGameMain::FormCloseQuery() {
  if (Draw) {
    // Both pages of a flip chain go black.
    for (int i = 0; i < 2; ++i) {
      Draw->Board.Clear();
      Draw->Present();
    }
  }
  if (SoundStarted) MelvoxRelease();
}

void TFormKelGameMain::FormDestroy() {
  if (SoundStarted) {
    MelvoxRelease();
    MelvoxAttachOutput(nullptr);
    SoundStarted = false;
  }
  // Freed in the reverse order of creation, so nothing outlives what it uses.
  Program.Scenes.fill(nullptr);
  for (auto it = Scenes.rbegin(); it != Scenes.rend(); ++it) it->reset();
  Program.MessageWindow = nullptr;
  MessageWindow.reset();
  Program.MessagePool = nullptr;
  MessagePool.reset();
  MessageLink.reset();
  Program.SaveData = nullptr;
  SaveData.reset();
  Program.DataBase = nullptr;
  DataBase.reset();
  Program.Map = nullptr;
  Map.reset();
  Program.MapTree = nullptr;
  MapTree.reset();
  Program.Input = nullptr;
  Input.reset();
  Program.Random = nullptr;
  Random.reset();
  Program.Draw = nullptr;
  Draw.reset();
}

void TFormKelGameMain::Run() { Draw->Run(); }

void TFormKelGameMain::ResetGame() {
  MelvoxStopMusic();
  MelvoxStopSound();
  TVantraBoard& board = Draw->Board;
  board.Clear();
  board.Brightness = 0;
  Draw->Present();
  SaveData->ClearAll();
  MessagePool->Clear();
  MessageWindow->Release();  // at once, without the closing animation
  for (int id = scField; id <= scGameOver; ++id) Scenes[id]->Reset();
  // A held F12 keeps the screen black until it is released.
  while (Machine.KeyDown(Key::F12)) Draw->WaitNextFrame();
  for (int i = 0; i < kFramesAfterReset; ++i) Draw->WaitNextFrame();
  if (Program.Flags.IsBattleTest) SetupBattleTest();
  else System().SceneId = scTitle;
}

void TFormKelGameMain::SetupBattleTest() {
  System().SceneId = scBattle;
  const std::string troop = Options.Argument(4);
  int troopId = 0;
  const auto [ptr, ec] = std::from_chars(troop.data(), troop.data() + troop.size(), troopId);
  if (troop.empty() || ec != std::errc() || ptr != troop.data() + troop.size())
    throw std::runtime_error("Invalid Monsters Group");
  SaveData->PartyInfo.SetupBattleTest();
  System().PlayMusic(System().Music(TKelgSystem::msBattle), true);
  System().PlaySystemSound(ssBattleStart);
}

void TFormKelGameMain::VantraDrawMain() {
  ResetGame();
  while (!Program.Flags.IsBattleTest || System().SceneId == scBattle) {
    const TKelSceneId previous = System().SceneId;
    ++System().FrameCount;
    Input->Poll();
    TKelScene& scene = *Scenes[previous];
    scene.Update();
    // A new scene starts at once: its first update runs in this frame's time.
    if (System().SceneId != previous) continue;
    if (Draw->GetLag() < Draw->GetMaxLag() / 2 || scene.ForceDraw()) {
      scene.Draw();
      Draw->Present();
    }
    Draw->WaitNextFrame();
  }
}

nlohmann::json TFormKelGameMain::DumpState() const {
  nlohmann::json state;
  state["frames"] = Draw ? Draw->FramesDone() : 0;
  if (SaveData) SaveData->DumpState(state);
  if (MessageWindow) {
    nlohmann::json lines = nlohmann::json::array();
    for (const std::string& line : MessageWindow->Lines) lines.push_back(StateText(line));
    state["MessageWindow"] = {{"Exists", MessageWindow->Exists()}, {"Lines", lines}};
  }
  return state;
}
