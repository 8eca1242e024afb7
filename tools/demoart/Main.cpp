// zardemoart OUTDIR           writes every demo picture under OUTDIR
// zardemoart --exfont FILE    writes the built-in glyph sheet as a bitmap

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "DemoArt.h"
#include "graphics/VantraBmp.h"
#include "graphics/VantraPng.h"

namespace {

struct DemoPicture {
  const char* Path;  // under the game folder
  void (*Draw)(TVantraBitmap&);
};

const DemoPicture kPictures[] = {
    {"System/System.png", DrawSystemGraphic},
    {"Title/Title.png", DrawTitlePicture},
    {"GameOver/GameOver.png", DrawGameOverPicture},
    {"FaceSet/People.png", DrawFaceSet},
    {"ChipSet/World.png", DrawChipSetPicture},
    {"CharSet/Hero.png", DrawCharSetPicture},
    {"CharSet/Vehicle.png", DrawVehicleSetPicture},
    {"Panorama/Sky.png", DrawPanoramaPicture},
};

void WriteSounds(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder / "Music");
  std::filesystem::create_directories(folder / "Sound");
  WriteTitleMusic((folder / "Music" / "Title.mid").string());
  WriteGameOverMusic((folder / "Music" / "GameOver.mid").string());
  WriteSystemSounds((folder / "Sound").string());
}

void WriteAll(const std::filesystem::path& folder) {
  for (const DemoPicture& picture : kPictures) {
    TVantraBitmap bitmap;
    picture.Draw(bitmap);
    const std::filesystem::path path = folder / picture.Path;
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path.string(), WritePng(bitmap));
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string_view(argv[1]) == "--exfont") {
      TVantraBitmap bitmap;
      DrawExFontGlyphs(bitmap);
      WriteFileBytes(argv[2], WriteBmp(bitmap));
      return 0;
    }
    if (argc != 2) {
      std::fprintf(stderr, "usage: zardemoart OUTDIR | zardemoart --exfont FILE.bmp\n");
      return 2;
    }
    WriteAll(argv[1]);
    WriteSounds(argv[1]);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zardemoart: %s\n", error.what());
    return 1;
  }
}
