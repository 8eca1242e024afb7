#include "ui/WindowShowcase.h"

#include <iterator>
#include <string>

namespace {

struct ShowcaseLine {
  int Color;
  const char* Text;
};

// Shift-JIS: katakana, hiragana and kanji beside half-width katakana.
const ShowcaseLine kLines[] = {
    {0, "$A Potion   \x83\x7c\x81\x5b\x83\x56\x83\x87\x83\x93"},
    {1, "$B Star     \x82\xd9\x82\xb5"},
    {2, "$E Sword    \x8c\x95 (\xb9\xdd)"},
    {3, "$F Shield   \x8f\x82"},
    {4, "$O Herb     \x96\xf2\x91\x90"},
    {5, "$N Fire     \x89\xce\x81\x42"},
    {6, "$J Sun      \x91\xbe\x97\x7a"},
    {7, "$M Water    \x90\x85"},
    {8, "$h Thunder  \x97\x8b"},
    {9, "$P Flower   \x89\xd4"},
    {10, "$I Coin     \x8b\xe0\x89\xdd"},
    {11, "$K Moon     \x8c\x8e"},
    {12, "$O Leaf     \x97\x74"},
    {13, "$Z Gem      \x95\xf3\x90\xce"},
    {17, "$$ Dollar   $$100"},
};

class ShowcaseList : public TKelWindow {
public:
  using TKelWindow::TKelWindow;
  void DrawItem(int x, int y, int index) override {
    const ShowcaseLine& line = kLines[index];
    DrawText(x, y, false, line.Color, line.Text);
  }
};

class SilentCursor : public TKelCursorSound {
public:
  void PlayCursorSound() override {}
};

class ShowcaseGold : public TKelGoldSource {
public:
  int Gold() const override { return 4096; }
  std::string CurrencyWord() const override { return "G"; }
};

}  // namespace

struct TKelWindowShowcase::Parts {
  Parts(const AssetFolders& folders, TMultiInput& input)
      : Graphic(TKelFontSearch{folders}), Services{Graphic, input, Sound}, List(Services), Help(Services),
        Gold(Services, Money) {
    Graphic.Load(folders, "System");
  }
  TKelSystemGraphic Graphic;
  SilentCursor Sound;
  ShowcaseGold Money;
  TKelWindowServices Services;
  ShowcaseList List;
  TKelHelpWindow Help;
  TKelGoldWindow Gold;
  int Frames = 0;
};

TKelWindowShowcase::TKelWindowShowcase(const AssetFolders& folders, TMultiInput& input)
    : Own(std::make_unique<Parts>(folders, input)) {
  Own->Help.Setup(16, 16, 288, 32, true);
  Own->Help.SetText("Text and windows: Up and Down scroll the list.");
  Own->List.Setup(16, 56, 192, 112, true);
  Own->List.ItemCount = static_cast<int>(std::size(kLines));
  Own->List.Refresh();
  Own->List.SetActive(true);
  Own->Gold.Setup(216, 56, 88, 32, true);
}

TKelWindowShowcase::~TKelWindowShowcase() = default;

void TKelWindowShowcase::Update() {
  Own->Frames += 1;
  Own->Help.Update();
  Own->List.Update();
  Own->Gold.Update();
}

void TKelWindowShowcase::Draw(TVantraBoard& target) {
  target.FillRect({0, 0, target.GetWidth(), target.GetHeight()}, Own->Graphic.BackgroundColor());
  Own->Help.Draw(target);
  Own->List.Draw(target);
  Own->Gold.Draw(target);
  Own->Graphic.DrawTimer(target, 236, 100, Own->Frames);
}

const TKelWindow& TKelWindowShowcase::List() const { return Own->List; }
