#include "screens/LS_Title.h"

#include <algorithm>

#include "data/LD_DataBase.h"
#include "graphics/VantraDraw.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"

namespace {
constexpr int kVocabularyNewGame = 114;
constexpr int kVocabularyContinue = 115;
constexpr int kVocabularyQuit = 117;
constexpr int kLogoHoldFrames = 20;
constexpr int kLogoWaitFrames = 60;
constexpr int kNewGameFadeOutMs = 800;
constexpr int kQuitFadeOutMs = 400;
}  // namespace

TKelTitleScene::TKelTitleScene(TKelProgram& program)
    : TKelScene(program), CommandWindow(WindowServices()) {
  Reset();
}

void TKelTitleScene::Reset() {
  TKelScene::Reset();
  Prepared = false;
  FirstShow = true;
  Picture.FreePixels();
  CommandWindow.Release();
}

void TKelTitleScene::ShowLogo(const std::string& name) {
  Picture.LoadFromXyzResource(name, true);
  FadeIn(10);
  Program.Draw->Resync();
  for (int i = 0; i < kLogoHoldFrames; ++i) WaitFrame();
  // Holding Decide cuts the wait short.
  for (int i = 0; i < kLogoWaitFrames; ++i) {
    Program.Input->Poll();
    if (Program.Input->Pressed(ibDecide)) break;
    WaitFrame();
  }
  Program.Input->Flush();
  FadeOut(10);
}

void TKelTitleScene::Prepare() {
  TKelStartFlags& flags = Program.Flags;
  TKelgSystem& system = System();
  const TKelDataBase& dataBase = *Program.DataBase;
  Prepared = true;
  Picture.SetSize(320, 240);
  if (FirstShow && flags.ShowLogos) {
    for (int i = 0; i < 10; ++i) WaitFrame();
    ShowLogo("LOGO1");
    ShowLogo("LOGO2");
    ShowLogo("LOGO3");
    flags.ShowLogos = false;
  }
  // Save headers are read with the save screen; until then there are none.
  SaveExists = false;
  LoadGamePicture(Picture, "Title", dataBase.KelSystem.TitleName);
  if (flags.ShowTitle) system.PlayMusic(system.Music(TKelgSystem::msTitle), false);

  const TKelVocabulary& words = dataBase.KelVocabulary;
  const std::size_t longest = std::max({words.Text(kVocabularyNewGame).size(), words.Text(kVocabularyContinue).size(),
                                        words.Text(kVocabularyQuit).size()});
  const int width = 6 * static_cast<int>(longest) + 16;
  const int x = 160 - width / 2;
  if (flags.ShowTitle && FirstShow) FadeIn(3);
  if (flags.ShowTitle) CommandWindow.Setup(x, 148, width, 64, FirstShow);
  else CommandWindow.Setup(x, 88, width, 64, false);
  CommandWindow.DrawText(8, 8, true, 0, words.Text(kVocabularyNewGame));
  CommandWindow.DrawText(8, 24, true, SaveExists ? 0 : 3, words.Text(kVocabularyContinue));
  CommandWindow.DrawText(8, 40, true, 0, words.Text(kVocabularyQuit));
  CommandWindow.SetActive(true);
  if (!FirstShow) CommandWindow.SetIndex(1);
  FadeIn(20);
}

void TKelTitleScene::Draw() {
  if (!Prepared) return;
  TVantraBoard& board = BackBuffer();
  board.FillRect({0, 0, 320, 240}, System().Graphic().BackgroundColor());
  if (Program.Flags.ShowLogos || Program.Flags.ShowTitle) board.Draw(0, 0, Picture.GetBounds(), Picture);
  CommandWindow.Draw(board);
}

void TKelTitleScene::Leave() {
  FadeOut(20);
  BackBuffer().Clear();
  Program.Draw->Present();
  Reset();
  FirstShow = false;
}

void TKelTitleScene::Update() {
  if (!Prepared) Prepare();
  CommandWindow.Update();
  if (!CommandWindow.IsReady() || !Program.Input->Triggered(ibDecide)) return;
  TKelgSystem& system = System();
  switch (CommandWindow.Index) {
    case 0:
      system.PlaySystemSound(ssDecision);
      system.FadeOutMusic(kNewGameFadeOutMs);
      Leave();
      for (int i = 0; i < 48; ++i) Program.Draw->WaitNextFrame();
      system.StopMusic();
      for (int i = 0; i < 16; ++i) Program.Draw->WaitNextFrame();
      SwitchTo(scField);
      Program.SaveData->NewGame();
      Program.Scenes[scField]->FadeIn(3);
      break;
    case 1:
      if (SaveExists) {
        system.PlaySystemSound(ssDecision);
        Leave();
        SwitchTo(scSaveFile);
      } else {
        system.PlaySystemSound(ssBuzzer);
      }
      break;
    case 2:
      system.PlaySystemSound(ssDecision);
      system.FadeOutMusic(kQuitFadeOutMs);
      FadeOut(4);
      Program.Draw->RaiseAbort();  // closes the program
      break;
    default: break;
  }
}
