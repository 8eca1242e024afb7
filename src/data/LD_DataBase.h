#pragma once
// The database file: the fifteen read-only tables the game reads at start-up.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_Animation.h"
#include "data/LD_ChipSet.h"
#include "data/LD_CommonEvent.h"
#include "data/LD_Ground.h"
#include "data/LD_Item.h"
#include "data/LD_MonGroup.h"
#include "data/LD_Monster.h"
#include "data/LD_Player.h"
#include "data/LD_Skill.h"
#include "data/LD_System.h"
#include "data/LD_Vocabulary.h"

inline constexpr const char* kDataBaseMagic = "KelDataBase";
inline constexpr const char* kDataBaseFileName = "ZAR_RT.kdb";

class TKelDataBase {
 public:
  TKelPlayer KelPlayer{"Invalid Hero"};
  TKelSkill KelSkill{"Invalid Technical Skill"};
  TKelItem KelItem{"Invalid Item"};
  TKelMonster KelMonster{"Invalid Monster Chara"};
  TKelMonGroup KelMonGroup{"Invalid Monsters Group"};
  TKelGround KelGround{"Invalid Terrain"};
  TKelAttrib KelAttrib{"Invalid Attribute Created"};
  TKelStatus KelStatus{"Invalid Medical Condition"};
  TKelAnimation KelAnimation{"Invalid Name Of Battle Animation"};
  TKelChipSet KelChipSet{"Invalid ChipSet"};
  TKelVocabulary KelVocabulary;
  TKelSystem KelSystem;
  TKelSwitch KelSwitch{"Invalid Switch"};
  TKelVariable KelVariable{"Invalid Variable"};
  TKelCommonEvent KelCommonEvent{"Invalid Common Event"};
  // Top-level chunks of ids the game does not know, written back in place.
  std::map<std::int32_t, std::vector<std::uint8_t>> UnknownChunks;

  TKelDataBase() { Reset(); }
  TKelDataBase(const TKelDataBase&) = delete;
  TKelDataBase& operator=(const TKelDataBase&) = delete;

  // One default entry in every list; vocabulary and system cleared.
  void Reset();
  // "ZAR_RT.kdb" in the game folder.
  void Load(const std::filesystem::path& gameFolder);
  // Resets first only when the file's size or date changed since the last load.
  void LoadFromFile(const std::filesystem::path& fileName);
  void LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName);
  void LoadFromStream(TStreamReader& stream);
  // Every table in id order, exactly as it is (the save counter is not touched).
  std::vector<std::uint8_t> SaveToBytes();
  void SaveToFile(const std::filesystem::path& fileName);

  // The table of a top-level id as the codec sees it: a list or a record.
  struct TTable {
    std::int32_t Id;
    const char* Name;
    TCatalog* List;
    TCatalogBaseItem* Record;
  };
  std::vector<TTable> Tables();

  // An editor's tidying before saving: set and rank tables cut to their
  // useful length, and the system record's save counter raised by one.
  void PrepareEditorSave();

 private:
  std::uintmax_t LoadedSize_ = 0;
  std::filesystem::file_time_type LoadedTime_{};
  bool HasLoaded_ = false;
};
