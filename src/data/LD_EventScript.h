#pragma once
// Event scripts: numbered command lines shared by event pages, battle-event
// pages and common events, and the page base that stores one.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"

class TKelEventScriptLine {
 public:
  std::int32_t Code = 0;
  std::int32_t Indent = 0;
  std::string Text;
  std::vector<std::int32_t> Params;

  std::int32_t Param(int index) const;
  void SetParam(int index, std::int32_t value);
  void SetParamCount(int count);
  int ParamCount() const { return static_cast<int>(Params.size()); }
  bool operator==(const TKelEventScriptLine&) const = default;
};

class TKelEventScriptList {
 public:
  int Count() const { return static_cast<int>(Lines_.size()); }
  const TKelEventScriptLine& Line(int index) const { return Lines_.at(static_cast<std::size_t>(index)); }
  TKelEventScriptLine& Line(int index) { return Lines_.at(static_cast<std::size_t>(index)); }
  TKelEventScriptLine& AddLine();
  void ClearLines() { Lines_.clear(); }
  // Lines to the end of the stream; there is no count.
  void LoadFromStream(TStreamReader& stream);
  void SaveToStream(TStreamWriter& stream) const;
  void Assign(const TKelEventScriptList& source);
  const std::vector<TKelEventScriptLine>& Lines() const { return Lines_; }

 private:
  std::vector<TKelEventScriptLine> Lines_;
};

// Where a block was read from, so that decoding it later can name the file
// and the byte offset of a fault.
struct TKelBlockOrigin {
  std::string FileName = "(memory)";
  std::size_t FileOffset = 0;
  void Remember(const TCatalogVarData& v);
};

class TKelBaseEventPageItem : public TCatalogItem {
 public:
  std::int32_t ScriptSize = 0;
  std::vector<std::uint8_t> Script;
  TKelEventScriptList Lines;

  void Clear() override;
  void AfterLoad() override;
  void BeforeSave() override;

 protected:
  // The derived records place the script at their own chunk ids.
  void DescribeScript(TCatalogVarData& v, bool sizeField, bool loading);

 private:
  TKelBlockOrigin ScriptOrigin_;
};
