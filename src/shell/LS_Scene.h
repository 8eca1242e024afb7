#pragma once
// The base of every screen: two boards for transitions, drawing into the back
// buffer, and the blocking fades and flash that end by flushing the input.

#include <cstdint>

#include <string>
#include <string_view>

#include "graphics/VantraSheet.h"
#include "ui/GameWindows.h"
#include "shell/KelProgram.h"
#include "state/LGD_System.h"

class TKelScene {
public:
  explicit TKelScene(TKelProgram& program);
  virtual ~TKelScene() = default;
  TKelScene(const TKelScene&) = delete;
  TKelScene& operator=(const TKelScene&) = delete;

  virtual void Reset();       // forget the scene's state; boards black
  virtual void Draw() = 0;    // the whole scene into the back buffer
  virtual void Update() = 0;  // once a frame while current
  // The map asks for a frame to be drawn even when late.
  virtual bool ForceDraw() const { return false; }

  void WaitFrame();
  void FadeIn(double step);
  void FadeOut(double step);
  void FlashScreen();

  // Transitions between OldScreen and NewScreen on the back buffer; they block
  // for their frames and end by flushing the input.
  void ShowScreen(std::uint8_t kind);
  void EraseScreen(std::uint8_t kind);
  void Transition(bool show, std::uint8_t kind);
  void CrossFade();
  void DrawMosaic(const TVantraBoard& source, int blockSize);
  void DrawRasterWave(const TVantraBoard& source, int amplitude);

  // Where the zoom transition closes in: the hero on the map, else the centre.
  struct TFocus {
    int X = 160;
    int Y = 120;
  };
  virtual TFocus TransitionFocus() const { return {}; }

  TVantraBoard OldScreen{320, 240};
  TVantraBoard NewScreen{320, 240};

protected:
  // What windows draw with and listen to.
  TKelWindowServices WindowServices();
  // A game picture from an asset folder, errors raised; a missing file is
  // reported with its folder and name.
  void LoadGamePicture(TVantraSheet& sheet, std::string_view folder, const std::string& name);
  TVantraBoard& BackBuffer();
  TKelgSystem& System();
  void SwitchTo(TKelSceneId scene);

  TKelProgram& Program;
};
