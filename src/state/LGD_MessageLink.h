#pragma once
// The message window's view of the game: scene, message options, face,
// variables, the party's names and gold, and the hero's place on screen.

#include "ui/GameMessageWindow.h"

struct TKelProgram;

class TKelgMessageLink final : public TKelMessageContext {
public:
  explicit TKelgMessageLink(TKelProgram& program) : Program(program) {}

  bool OnMap() const override;
  bool InBattle() const override;
  bool TestPlay() const override;
  int MessagePosition() const override;
  bool MessageAutoPosition() const override;
  bool MessageTransparent() const override;
  int HeroScreenY() const override;
  std::string HeroName(int n) const override;
  std::int32_t Variable(int id) const override;
  void SetVariable(int id, std::int32_t value) override;
  int PartyGold() const override;
  const TKelGoldSource& GoldSource() const override;
  bool FaceShown() const override;
  bool FaceRight() const override;
  TVantraSheet& FaceSheet() override;
  void PlaySound(TKelMessageSound sound) override;

private:
  TKelProgram& Program;
};
