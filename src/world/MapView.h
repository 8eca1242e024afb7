#pragma once
// One frame of the map view: panorama, tile layers, characters by layer and
// row, and the star tiles above them.

class TKelgMap;
class TVantraBoard;

void DrawMapView(TKelgMap& map, TVantraBoard& board);
