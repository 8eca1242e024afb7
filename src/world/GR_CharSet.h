#pragma once
// The character-set cache: 288x256 sheets of eight walking characters, kept
// by file name across maps.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/VantraSheet.h"
#include "shell/Assets.h"

struct TVantraBitmap;

inline constexpr int kCharSheetWidth = 288;
inline constexpr int kCharSheetHeight = 256;

class TKelCharSetGraphic {
public:
  explicit TKelCharSetGraphic(const AssetFolders& folders) : Folders(folders) {}

  // The sheet's index, loading it from "CharSet" when not cached; marks it used.
  int Load(const std::string& name);
  // Caches an already drawn picture under a name (tests and tools).
  int LoadPicture(const std::string& name, const TVantraBitmap& picture);
  int IndexOf(const std::string& name) const;
  void ClearUsed();
  // Frees unused entries while at least 20 are cached, walking from the first.
  void Purge();
  void Clear();
  int Count() const { return static_cast<int>(Names.size()); }
  TVantraSheet& SheetAt(int index) { return *Sheets[index]; }

  // The 24x32 cell with its bottom centre at (x, y).
  void DrawCharacter(TVantraBoard& board, int x, int y, int bush, int frame, int facing, int charIndex,
                     int sheetIndex);

  std::vector<std::string> Names;
  std::vector<std::unique_ptr<TVantraSheet>> Sheets;
  std::vector<bool> Used;
  bool ColorKey = false;
  int Transparency = 0;
  bool Grey = false;

private:
  // A sheet as ready 16-bit pixels for the colours it was last drawn with
  // twice in a row, so that a flash on one character does not rebuild it.
  struct TReadySheet {
    TVantraBoard Pixels;
    std::vector<std::uint16_t> Mask;  // all ones where the index is not 0
    std::array<std::uint16_t, 256> Table{};
    std::array<std::uint16_t, 256> Pending{};
    bool Valid = false;
    bool HasPending = false;
  };
  TReadySheet* ReadyFor(int index);
  void BlitReady(TVantraBoard& board, int x, int y, const TVantraRect& source, const TReadySheet& ready, bool keyed);

  const AssetFolders& Folders;
  std::vector<std::unique_ptr<TReadySheet>> ReadySheets;
};
