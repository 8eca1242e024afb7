// A window as the player shows it, with the demo's own skin: frame, cursor,
// both arrows and text in several colours, compared by hash with a reviewed
// picture. Set ZAR_UPDATE_GOLDEN=1 to write a new picture on purpose (and
// look at it before committing it).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "UiTestKit.h"
#include "graphics/VantraPng.h"
#include "ui/WindowShowcase.h"

namespace {

struct Line {
  int Color;
  std::string Text;
};

const Line kLines[] = {
    {0, "Potion  \x83\x7c\x81\x5b\x83\x56\x83\x87\x83\x93"},
    {1, "$A Heart \x82\xa0\x82\xa2\x82\xa4"},
    {2, "Warning \x8c\x78\x8d\x90 ($$5)"},
    {3, "Disabled \xb6\xc0\xb6\xc5"},
    {4, "$C$D Green \x97\xce"},
    {5, "Red \x90\xd4\x81\x42"},
    {6, "Yellow\x01\x01thin"},
    {13, "Coral \x8d\xbb\x8c\xe3"},
};

class TextList : public TKelWindow {
public:
  using TKelWindow::TKelWindow;
  void DrawItem(int x, int y, int index) override {
    const Line& line = kLines[index % std::size(kLines)];
    DrawText(x, y, false, line.Color, line.Text);
  }
};

std::uint64_t Fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t hash = 1469598103934665603ull;
  for (std::uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

std::vector<std::uint8_t> PixelsOf(const std::string& path) {
  TVantraBitmap bitmap;
  LoadImageFile(bitmap, path);
  std::vector<std::uint8_t> bytes = bitmap.Pixels;
  bytes.push_back(static_cast<std::uint8_t>(bitmap.Width));
  bytes.push_back(static_cast<std::uint8_t>(bitmap.Height));
  return bytes;
}

TEST(Screenshot, ListWindowWithCursorArrowsAndText) {
  TKelSystemGraphic graphic{TKelFontSearch{}};
  graphic.Load({ZAR_BINARY_DIR "/demo", {}}, "System");
  WindowRig rig;
  TKelWindowServices services{graphic, rig.Input, rig.Sound};

  TVantraBoard board(320, 240);
  const TVantraRgb background = graphic.BackgroundColor();
  board.FillRect({0, 0, 320, 240}, background);

  TextList list(services);
  list.Setup(16, 16, 200, 96, false);
  list.ItemCount = 8;
  list.SetActive(true);
  list.SetIndex(6);  // scrolls two rows down: both arrows show
  list.Refresh();
  rig.Frame(list);  // composes the cursor
  list.Draw(board);

  TKelWindow small(services);
  graphic.Tiled = true;
  small.Setup(224, 16, 80, 48, false);
  small.DrawText(8, 8, true, 10, "\x8b\xe0 $I 123");
  small.DrawText(8, 24, true, 11, "\xb7\xde\xdd");
  small.Draw(board);
  graphic.DrawTimer(board, 232, 80, 3599);

  const std::filesystem::path actual = ZAR_BINARY_DIR "/tests/ui/window-actual.png";
  std::filesystem::create_directories(actual.parent_path());
  WriteBoardPng(board, actual.string());
  const std::string golden = ZAR_SOURCE_DIR "/tests/ui/golden/window.png";
  if (std::getenv("ZAR_UPDATE_GOLDEN")) std::filesystem::copy_file(actual, golden, std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(std::filesystem::exists(golden));
  EXPECT_EQ(Fnv1a(PixelsOf(actual.string())), Fnv1a(PixelsOf(golden)))
      << "the window differs from the reviewed picture; see " << actual;
}

}  // namespace

namespace {

// The placeholder screens' window show, on the demo game: opens, then the list scrolls.
TEST(Showcase, OpensOnTheDemoSkinAndScrollsItsList) {
  WindowRig rig;
  TKelWindowShowcase show({ZAR_BINARY_DIR "/demo", {}}, rig.Input);
  for (int i = 0; i < 7; ++i) {
    rig.Input.Poll();
    show.Update();
  }
  ASSERT_TRUE(show.List().IsReady());
  for (int i = 0; i < 40; ++i) {
    if (i % 6 == 0) rig.Machine.Press(Key::Down);
    rig.Input.Poll();
    show.Update();
    if (i % 6 == 0) rig.Machine.Release(Key::Down);
  }
  EXPECT_GT(show.List().TopRow, 0);
  TVantraBoard board(320, 240);
  show.Draw(board);
  const std::filesystem::path shot = ZAR_BINARY_DIR "/tests/ui/showcase.png";
  std::filesystem::create_directories(shot.parent_path());
  WriteBoardPng(board, shot.string());  // for a look; not compared
}

}  // namespace
