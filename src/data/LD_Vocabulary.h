#pragma once
// The game's built-in texts, referred to by their chunk id.

#include <array>
#include <cstdint>
#include <string>

#include "data/Catalog.h"

inline constexpr int kShopMessageCount = 11;
inline constexpr int kInnMessageCount = 5;
inline constexpr int kVocabularySize = 154;  // ids 1..153

class TKelVocabulary : public TCatalogBaseItem {
 public:
  using TShopMessages = std::array<const std::string*, kShopMessageCount>;
  using TInnMessages = std::array<const std::string*, kInnMessageCount>;

  TKelVocabulary() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  static bool IsTextId(int id);
  // The text of vocabulary id `id`; empty for ids that hold none.
  const std::string& Text(int id) const;
  void SetText(int id, std::string text);
  // Shop set 0..2 and inn set 0..1, positions from 0; nullopt-like empty
  // result (false) for other set numbers.
  bool ShopMessages(int set, TShopMessages& messages) const;
  bool InnMessages(int set, TInnMessages& messages) const;

 private:
  std::array<std::string, kVocabularySize> Texts_;
};
