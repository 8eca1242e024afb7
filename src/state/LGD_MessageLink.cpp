#include "state/LGD_MessageLink.h"

#include "shell/KelProgram.h"
#include "state/LGD_SaveData.h"

namespace {
TKelgSaveData& Game(TKelProgram& program) { return *program.SaveData; }
}  // namespace

bool TKelgMessageLink::OnMap() const { return Game(Program).System.SceneId == scField; }
bool TKelgMessageLink::InBattle() const { return Game(Program).System.SceneId == scBattle; }
bool TKelgMessageLink::TestPlay() const { return Program.Flags.IsTestPlay; }
int TKelgMessageLink::MessagePosition() const { return Game(Program).System.MessagePosition; }
bool TKelgMessageLink::MessageAutoPosition() const { return Game(Program).System.MessageAutoPosition != 0; }
bool TKelgMessageLink::MessageTransparent() const { return Game(Program).System.MessageTransparent != 0; }
int TKelgMessageLink::HeroScreenY() const { return Game(Program).Party.ScreenY(); }

std::string TKelgMessageLink::HeroName(int n) const {
  TKelgSaveData& game = Game(Program);
  if (n == 0) {
    const TKelgPlayerItem* first = game.PartyInfo.Member(0);
    return first != nullptr ? first->GetName() : std::string();
  }
  const TKelgPlayerItem* hero = n > 0 ? game.Player.Find(n) : nullptr;
  return hero != nullptr ? hero->GetName() : std::string();
}

std::int32_t TKelgMessageLink::Variable(int id) const { return Game(Program).System.Variable(id); }
void TKelgMessageLink::SetVariable(int id, std::int32_t value) { Game(Program).System.SetVariable(id, value); }
int TKelgMessageLink::PartyGold() const { return Game(Program).PartyInfo.Gold(); }
const TKelGoldSource& TKelgMessageLink::GoldSource() const { return Game(Program).PartyInfo; }
bool TKelgMessageLink::FaceShown() const { return Game(Program).System.FaceShown(); }
bool TKelgMessageLink::FaceRight() const { return Game(Program).System.FaceRight != 0; }
TVantraSheet& TKelgMessageLink::FaceSheet() { return Game(Program).System.FaceSheet; }

void TKelgMessageLink::PlaySound(TKelMessageSound sound) {
  TKelgSystem& system = Game(Program).System;
  switch (sound) {
    case TKelMessageSound::Decision: system.PlaySystemSound(ssDecision); break;
    case TKelMessageSound::Cancel: system.PlaySystemSound(ssCancel); break;
    case TKelMessageSound::Buzzer: system.PlaySystemSound(ssBuzzer); break;
  }
}
