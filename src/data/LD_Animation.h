#pragma once
// Battle animations: cell sheet, frames of cells, and timed sounds and flashes.

#include <cstdint>
#include <string>

#include "data/Catalog.h"
#include "data/LD_System.h"

class TKelAnimationTimingItem : public TCatalogItem {
 public:
  std::int32_t Frame = 0;
  TKelSound Sound;
  std::uint8_t FlashScope = 0;
  std::int32_t FlashRed = 31, FlashGreen = 31, FlashBlue = 31, FlashStrength = 31;
  std::int32_t TimingOption = 0;

  TKelAnimationTimingItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelAnimationTiming = TCatalogOf<TKelAnimationTimingItem>;

class TKelAnimationCellItem : public TCatalogItem {
 public:
  std::uint8_t Visible = 1;
  std::int32_t CellIndex = 0;
  std::int32_t X = 0, Y = 0;
  std::int32_t Zoom = 100;
  std::int32_t Red = 100, Green = 100, Blue = 100, Saturation = 100;
  std::int32_t Transparency = 0;

  TKelAnimationCellItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelAnimationCell = TCatalogOf<TKelAnimationCellItem>;

class TKelAnimationPatternItem : public TCatalogItem {
 public:
  TKelAnimationCell Cells;

  TKelAnimationPatternItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelAnimationPattern = TCatalogOf<TKelAnimationPatternItem>;

class TKelAnimationItem : public TCatalogItem {
 public:
  std::string GraphicName;
  TKelAnimationTiming Timings;
  std::uint8_t Scope = 0;
  std::uint8_t Position = 0;
  TKelAnimationPattern Frames;

  TKelAnimationItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelAnimation = TCatalogOf<TKelAnimationItem>;
