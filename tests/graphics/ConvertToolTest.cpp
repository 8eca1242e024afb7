// zartool convert, run as authors run it: every direction between the three
// formats keeps the picture, and pictures the player cannot load are refused.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "graphics/VantraBmp.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"

namespace {

class ConvertTool : public ::testing::Test {
protected:
  void SetUp() override {
    Tool = std::string(ZAR_BINARY_DIR) + "/bin/zartool";
    if (!std::filesystem::exists(Tool)) GTEST_SKIP() << "zartool is not built";
    Folder = std::string(ZAR_BINARY_DIR) + "/convert-test";
    std::filesystem::create_directories(Folder);
  }

  int Run(const std::string& in, const std::string& out) {
    const std::string command = Tool + " convert '" + in + "' '" + out + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Tool, Folder;
};

TEST_F(ConvertTool, ConvertsEveryWayAndKeepsThePicture) {
  TVantraBitmap original;
  original.SetFormat(7, 5, 8);
  for (std::size_t i = 0; i < original.Pixels.size(); ++i) original.Pixels[i] = static_cast<std::uint8_t>(i * 9);
  for (int i = 0; i < 256; ++i)
    original.Palette[i] = TVantraRgb{static_cast<std::uint8_t>(i), 7, static_cast<std::uint8_t>(~i)};
  WriteFileBytes(Folder + "/start.bmp", WriteBmp(original));

  const char* chain[] = {"start.bmp", "a.xyz", "b.PNG", "c.bmp", "d.png", "e.xyz", "f.bmp"};
  for (std::size_t i = 1; i < std::size(chain); ++i) {
    SCOPED_TRACE(chain[i]);
    ASSERT_EQ(Run(Folder + "/" + chain[i - 1], Folder + "/" + chain[i]), 0);
    TVantraBitmap converted;
    LoadImageFile(converted, Folder + "/" + chain[i]);
    EXPECT_EQ(converted.Pixels, original.Pixels);
    EXPECT_EQ(converted.Palette[200].B, 55);
  }
}

TEST_F(ConvertTool, RefusesWhatThePlayerCannotLoad) {
  TVantraBitmap truecolour;
  truecolour.SetFormat(2, 2, 24);
  WriteFileBytes(Folder + "/true.png", WritePng(truecolour));
  WriteFileBytes(Folder + "/text.txt", std::vector<std::uint8_t>{'h', 'i'});
  EXPECT_EQ(Run(Folder + "/true.png", Folder + "/out.xyz"), 1);
  EXPECT_EQ(Run(Folder + "/text.txt", Folder + "/out.xyz"), 1);
  EXPECT_EQ(Run(Folder + "/missing.bmp", Folder + "/out.xyz"), 1);
  EXPECT_EQ(Run(Folder + "/true.png", Folder + "/out.gif"), 2);
  EXPECT_FALSE(std::filesystem::exists(Folder + "/out.xyz"));
}

}  // namespace
