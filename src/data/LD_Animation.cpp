#include "data/LD_Animation.h"

void TKelAnimationTimingItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Number("Frame", &Frame, 0); break;
    case 2: v.Record("Sound", &Sound); break;
    case 3: v.Fixed("FlashScope", &FlashScope, 1); break;
    case 4: v.Number("FlashRed", &FlashRed, 31); break;
    case 5: v.Number("FlashGreen", &FlashGreen, 31); break;
    case 6: v.Number("FlashBlue", &FlashBlue, 31); break;
    case 7: v.Number("FlashStrength", &FlashStrength, 31); break;
    case 8: v.Number("TimingOption", &TimingOption, 0); break;
    default: break;
  }
}

void TKelAnimationTimingItem::Clear() {
  TCatalogItem::Clear();
  Frame = 0;
  Sound.Clear();
  FlashScope = 0;
  FlashRed = FlashGreen = FlashBlue = FlashStrength = 31;
  TimingOption = 0;
}

void TKelAnimationCellItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Byte("Visible", &Visible, 1); break;
    case 2: v.Number("CellIndex", &CellIndex, 0); break;
    case 3: v.Number("X", &X, 0); break;
    case 4: v.Number("Y", &Y, 0); break;
    case 5: v.Number("Zoom", &Zoom, 100); break;
    case 6: v.Number("Red", &Red, 100); break;
    case 7: v.Number("Green", &Green, 100); break;
    case 8: v.Number("Blue", &Blue, 100); break;
    case 9: v.Number("Saturation", &Saturation, 100); break;
    case 10: v.Number("Transparency", &Transparency, 0); break;
    default: break;
  }
}

void TKelAnimationCellItem::Clear() {
  TCatalogItem::Clear();
  Visible = 1;
  CellIndex = X = Y = 0;
  Zoom = Red = Green = Blue = Saturation = 100;
  Transparency = 0;
}

void TKelAnimationPatternItem::DescribeField(int id, TCatalogVarData& v, bool) {
  if (id == 1) v.List("Cells", &Cells);
}

void TKelAnimationPatternItem::Clear() {
  TCatalogItem::Clear();
  Cells.Clear();
}

void TKelAnimationItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("GraphicName", &GraphicName, true); break;
    case 6: v.List("Timings", &Timings); break;
    case 9: v.Fixed("Scope", &Scope, 1); break;
    case 10: v.Fixed("Position", &Position, 1); break;
    case 12: v.List("Frames", &Frames); break;
    default: break;
  }
}

void TKelAnimationItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  GraphicName.clear();
  Timings.Clear();
  Scope = 0;
  Position = 0;
  Frames.Clear();
}
