#include "Convert.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "graphics/VantraBmp.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"
#include "graphics/VantraXyz.h"

namespace {

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// The player's Japanese messages are Shift-JIS bytes; the tool names them in English.
std::string Readable(const char* message) {
  const std::string text = message;
  if (text == kMsgInvalidImageFormat) return "invalid image format";
  if (text == kMsgBitmapEmpty) return "the bitmap is empty";
  return text;
}

std::vector<std::uint8_t> Encode(const TVantraBitmap& bitmap, const std::string& extension) {
  if (extension == ".xyz") return WriteXyz(bitmap);
  if (extension == ".png") return WritePng(bitmap);
  return WriteBmp(bitmap);
}

}  // namespace

int RunConvert(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const auto command = std::find(args.begin(), args.end(), "convert");
  if (command != args.end()) args.erase(args.begin(), command + 1);
  if (args.size() != 2) {
    std::cerr << "usage: zartool convert IN OUT   (OUT ending in .xyz, .png or .bmp)\n";
    return 2;
  }
  const std::string& input = args[0];
  const std::string& output = args[1];
  const std::string extension = LowerExtension(output);
  if (extension != ".xyz" && extension != ".png" && extension != ".bmp") {
    std::cerr << "zartool convert: " << output << ": unknown picture type \"" << extension
              << "\" (use .xyz, .png or .bmp)\n";
    return 2;
  }

  TVantraBitmap bitmap;
  try {
    LoadImageFile(bitmap, input);
  } catch (const EVantraInvalidGraphic& e) {
    std::cerr << "zartool convert: " << input << ": not a picture the player can load (" << Readable(e.what())
              << ")\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "zartool convert: " << input << ": " << e.what() << "\n";
    return 1;
  }
  if (bitmap.BitsPerPixel != 8) {
    std::cerr << "zartool convert: " << input << ": a " << bitmap.BitsPerPixel
              << "-bit picture; the player loads only 8-bit paletted (256-colour) pictures\n";
    return 1;
  }
  if (extension == ".xyz" && (bitmap.Width > 65535 || bitmap.Height > 65535)) {
    std::cerr << "zartool convert: " << input << ": too large for an XYZ file\n";
    return 1;
  }
  try {
    WriteFileBytes(output, Encode(bitmap, extension));
  } catch (const std::exception& e) {
    std::cerr << "zartool convert: " << output << ": " << Readable(e.what()) << "\n";
    return 1;
  }
  return 0;
}
