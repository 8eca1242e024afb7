#pragma once
// A map event as the map view knows it: the look and movement settings of
// its page, its imposed route and its page's own route. Conditions,
// triggers and scripts belong to the event rules that build on this.

#include "world/LGD_Character.h"

class TKelEventItem;
class TKelEventPageItem;

class TKelgMapEvent : public TKelgCharacter {
public:
  TKelgMapEvent(TKelgMap& map, const TKelEventItem& source);

  void DecideMove() override;
  void Update() override;
  void Draw(TVantraBoard& board) override;

  const TKelEventItem& Source;
  const TKelEventPageItem* Page = nullptr;
  int PageRoutePos = 0;

private:
  void TakePage(const TKelEventPageItem& page);
};
