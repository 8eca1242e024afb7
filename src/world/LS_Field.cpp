#include "world/LS_Field.h"

#include "state/LGD_SaveData.h"
#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/MapView.h"

void TKelFieldScene::Update() {
  TKelgMap& map = Program.SaveData->Map;
  if (map.Events.empty() && map.Hero().MapId == 0) return;
  for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Updated = false;
  for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Update();
  map.Panorama().UpdateFrame();
}

void TKelFieldScene::Draw() {
  TKelgMap& map = Program.SaveData->Map;
  if (map.Hero().MapId == 0) {
    BackBuffer().Clear();
    return;
  }
  DrawMapView(map, BackBuffer());
}
