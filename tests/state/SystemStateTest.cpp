#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "data/LD_DataBase.h"
#include "shell/Assets.h"
#include "shell/Melvox.h"
#include "state/LGD_System.h"

namespace {

class SystemState : public ::testing::Test {
protected:
  void SetUp() override {
    // A game folder with two window skins to choose from.
    game = std::filesystem::temp_directory_path() / ("zar_state_" + std::to_string(::getpid()));
    std::filesystem::create_directories(game / "System");
    for (const char* name : {"System1.png", "Blue.png"})
      std::filesystem::copy_file(ZAR_BINARY_DIR "/demo/System/System.png", game / "System" / name,
                                 std::filesystem::copy_options::overwrite_existing);
    folders.game = game;
    MelvoxCreate();
    dataBase.KelSystem.BattleMusic.Name = "Battle1";
    dataBase.KelSystem.BattleMusic.Volume = 90;
    dataBase.KelSystem.CursorSound.Name = "Cursor1";
    dataBase.KelSystem.TeleportErase = 3;
    dataBase.KelSystem.SystemName = "System1";
    system = std::make_unique<TKelgSystem>(dataBase, folders, nullptr);
    system->Clear();
    MelvoxClearCallLog();
  }
  void TearDown() override {
    MelvoxRelease();
    std::filesystem::remove_all(game);
  }

  // Records are not copyable; each call fills one scratch record.
  const TKelMusic& MusicNamed(const char* name, int volume = 100) {
    scratch.Clear();
    scratch.Name = name;
    scratch.Volume = volume;
    return scratch;
  }

  TKelMusic scratch;

  std::filesystem::path game;
  TKelDataBase dataBase;
  AssetFolders folders;
  std::unique_ptr<TKelgSystem> system;
};

TEST_F(SystemState, SwitchesAndVariablesGrowOnWriteAndReadZeroOutside) {
  system->SetSwitch(10, 1);
  EXPECT_EQ(system->SwitchCount(), 10);
  for (int id = 1; id < 10; ++id) EXPECT_EQ(system->Switch(id), 0);
  EXPECT_EQ(system->Switch(10), 1);
  EXPECT_EQ(system->Switch(11), 0);
  EXPECT_EQ(system->Switch(0), 0);
  EXPECT_EQ(system->Switch(-5), 0);

  system->SetVariable(3, -999999);
  EXPECT_EQ(system->VariableCount(), 3);
  EXPECT_EQ(system->Variable(3), -999999);
  EXPECT_EQ(system->Variable(4), 0);

  // Ids past the cap are ignored: no script makes the game allocate gigabytes.
  for (std::int32_t id : {0, -1, kMaxSwitchId + 1, 2147483647}) {
    system->SetSwitch(id, 1);
    system->SetVariable(id, 7);
  }
  EXPECT_EQ(system->SwitchCount(), 10);
  EXPECT_EQ(system->VariableCount(), 3);
  system->SetSwitch(kMaxSwitchId, 1);
  EXPECT_EQ(system->Switch(kMaxSwitchId), 1);
}

TEST_F(SystemState, OverridesEqualToTheDataBaseAreCleared) {
  system->SetMusic(TKelgSystem::msBattle, MusicNamed("Boss"));
  EXPECT_EQ(system->Music(TKelgSystem::msBattle).Name, "Boss");
  system->SetMusic(TKelgSystem::msBattle, MusicNamed("Battle1", 90));
  EXPECT_TRUE(system->MusicOverrides[TKelgSystem::msBattle].Name.empty());
  EXPECT_EQ(system->Music(TKelgSystem::msBattle).Volume, 90);

  system->SetTransition(tsTeleportErase, 7);
  EXPECT_EQ(system->Transition(tsTeleportErase), 7);
  system->SetTransition(tsTeleportErase, 3);
  EXPECT_EQ(system->Transitions[tsTeleportErase], kNoTransitionOverride);
  EXPECT_EQ(system->Transition(tsTeleportErase), 3);

  system->SetSystemGraphic("Blue", 0, 0);
  EXPECT_EQ(system->SystemGraphicName(), "Blue");
  system->SetSystemGraphic("System1", 0, 0);
  EXPECT_TRUE(system->SystemName.empty());
  dataBase.KelSystem.SystemName = "Blue";  // a later database change reaches old games
  EXPECT_EQ(system->SystemGraphicName(), "Blue");
  // A skin that is not there is fatal, as the game could show no window.
  EXPECT_THROW(system->SetSystemGraphic("Missing", 0, 0), std::exception);
}

TEST_F(SystemState, MusicRequestCallOrderAndTheSameNameRule) {
  system->PlayMusic(MusicNamed("Town", 80), false);
  const std::vector<std::string> first = MelvoxCallLog();
  ASSERT_EQ(first.size(), 5u);
  EXPECT_EQ(first[0].rfind("MelvoxPlayMusic(", 0), 0u);
  EXPECT_EQ(first[1], "MelvoxFadeInMusic(0)");
  EXPECT_EQ(first[2], "MelvoxSetMusicVolume(80)");
  EXPECT_EQ(first[3], "MelvoxSetMusicSpeed(100)");
  EXPECT_EQ(first[4], "MelvoxSetMusicPanpot(50)");

  // The same name only re-applies the settings.
  MelvoxClearCallLog();
  system->PlayMusic(MusicNamed("Town", 60), false);
  EXPECT_EQ(MelvoxCallLog().size(), 3u);
  EXPECT_EQ(system->CurrentMusic.Volume, 60);

  // After a fade-out the same request restarts the file; forcing does too.
  system->FadeOutMusic(800);
  system->FadeOutMusic(800);  // once only
  MelvoxClearCallLog();
  system->PlayMusic(MusicNamed("Town", 60), false);
  EXPECT_EQ(MelvoxCallLog().size(), 5u);
  MelvoxClearCallLog();
  system->PlayMusic(MusicNamed("Town", 60), true);
  EXPECT_EQ(MelvoxCallLog().size(), 5u);

  // "(OFF)" stops and never reaches the library as a file.
  MelvoxClearCallLog();
  system->PlayMusic(MusicNamed(kNoSound), false);
  EXPECT_EQ(MelvoxCallLog().front(), "MelvoxStopMusic()");
  EXPECT_EQ(system->CurrentMusic.Name, kNoSound);
}

TEST_F(SystemState, SystemSoundOverridesCancelAndReserve) {
  TKelSound decide;
  decide.Name = "Chime";
  system->SetSystemSound(ssCursor, decide);
  const std::vector<std::string> log = MelvoxCallLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].rfind("MelvoxCancelSound(", 0), 0u);
  EXPECT_EQ(log[1].rfind("MelvoxReserveSound(", 0), 0u);
  EXPECT_EQ(system->SystemSound(ssCursor).Name, "Chime");

  MelvoxClearCallLog();
  system->SetSystemSound(ssItem, decide);  // not reserved: no library calls
  EXPECT_TRUE(MelvoxCallLog().empty());

  TKelSound off;
  off.Name = kNoSound;
  system->SetSystemSound(ssBuzzer, off);
  MelvoxClearCallLog();
  system->PlaySystemSound(ssBuzzer);
  EXPECT_TRUE(MelvoxCallLog().empty());
}

TEST_F(SystemState, ClearGivesTheNewGameDefaults) {
  system->SetSwitch(5, 1);
  system->MessagePosition = 0;
  system->MenuAllowed = 0;
  system->PlayMusic(MusicNamed("Town"), false);
  MelvoxClearCallLog();
  system->Clear();
  EXPECT_EQ(system->SwitchCount(), 0);
  EXPECT_EQ(system->MessagePosition, 2);
  EXPECT_EQ(system->MessageAutoPosition, 1);
  EXPECT_EQ(system->MenuAllowed, 1);
  EXPECT_EQ(system->CurrentMusic.Name, kNoSound);
  EXPECT_EQ(system->MemorizedMusic.Name, kNoSound);
  EXPECT_EQ(system->LastSaveSlot, 1);
  EXPECT_EQ(system->Transitions[tsBattleEndShow], kNoTransitionOverride);
  // The four system sounds are reserved again.
  const std::vector<std::string> log = MelvoxCallLog();
  ASSERT_EQ(log.size(), 4u);
  for (const std::string& call : log) EXPECT_EQ(call.rfind("MelvoxReserveSound(", 0), 0u);
}

TEST_F(SystemState, SaveChunksRoundTripAndCountsBoundTheirBuffers) {
  system->SetSwitch(3, 1);
  system->SetVariable(2, 123456);
  system->SetMusic(TKelgSystem::msBattle, MusicNamed("Boss"));
  system->SetTransition(tsBattleStartShow, 9);
  TStreamWriter writer;
  system->SaveToStream(writer);
  TKelgSystem loaded(dataBase, folders, nullptr);
  TStreamReader reader(writer.Bytes(), "save");
  loaded.LoadFromStream(reader);
  EXPECT_EQ(loaded.Switch(3), 1);
  EXPECT_EQ(loaded.SwitchCount(), 3);
  EXPECT_EQ(loaded.Variable(2), 123456);
  EXPECT_EQ(loaded.Music(TKelgSystem::msBattle).Name, "Boss");
  EXPECT_EQ(loaded.Transition(tsBattleStartShow), 9);
  EXPECT_EQ(loaded.Transition(tsTeleportErase), 3);
}

}  // namespace
