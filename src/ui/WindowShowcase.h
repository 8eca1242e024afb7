#pragma once
// A screenful of windows that shows what text and windows do — colours,
// half- and full-width characters, "$" glyphs, a scrolling list, the gold
// line and the timer — in the game's own skin. A placeholder screen draws it
// until the real screens exist.

#include <memory>

#include "ui/GameWindows.h"

class TKelWindowShowcase {
public:
  // Loads the system graphic "System" of the game; the fonts as the player finds them.
  TKelWindowShowcase(const AssetFolders& folders, TMultiInput& input);
  ~TKelWindowShowcase();

  void Update();  // the list follows Up and Down
  void Draw(TVantraBoard& target);
  const TKelWindow& List() const;

private:
  struct Parts;
  std::unique_ptr<Parts> Own;
};
