#include "data/LD_EventScript.h"

#include <algorithm>

std::int32_t TKelEventScriptLine::Param(int index) const {
  if (index < 0 || index >= ParamCount()) return 0;
  return Params[static_cast<std::size_t>(index)];
}

void TKelEventScriptLine::SetParam(int index, std::int32_t value) {
  if (index < 0 || index >= ParamCount()) return;
  Params[static_cast<std::size_t>(index)] = value;
}

void TKelEventScriptLine::SetParamCount(int count) { Params.resize(static_cast<std::size_t>(std::max(count, 0))); }

TKelEventScriptLine& TKelEventScriptList::AddLine() { return Lines_.emplace_back(); }

void TKelEventScriptList::LoadFromStream(TStreamReader& stream) {
  Lines_.clear();
  Lines_.reserve(stream.Remaining() / 8);  // a typical line is about this long
  while (!stream.AtEnd()) {
    TKelEventScriptLine& line = AddLine();
    line.Code = ReadBerNumber(stream);
    line.Indent = ReadBerNumber(stream);
    ReadBerString(stream, line.Text);
    std::size_t countAt = stream.Position();
    std::int32_t count = ReadBerNumber(stream);
    // Every parameter takes at least one byte.
    if (count < 0 || static_cast<std::size_t>(count) > stream.Remaining())
      stream.FailAt("script parameter count " + std::to_string(count) + " exceeds the " +
                        std::to_string(stream.Remaining()) + " bytes that remain",
                    countAt);
    line.Params.resize(static_cast<std::size_t>(count));
    for (auto& param : line.Params) param = ReadBerNumber(stream);
  }
}

void TKelEventScriptList::SaveToStream(TStreamWriter& stream) const {
  for (const auto& line : Lines_) {
    WriteBerNumber(stream, line.Code);
    WriteBerNumber(stream, line.Indent);
    WriteBerString(stream, line.Text);
    WriteBerNumber(stream, line.ParamCount());
    for (auto param : line.Params) WriteBerNumber(stream, param);
  }
}

void TKelEventScriptList::Assign(const TKelEventScriptList& source) {
  TStreamWriter copy;
  source.SaveToStream(copy);
  TStreamReader reader(copy.Bytes(), "(copy)");
  LoadFromStream(reader);
}

void TKelBlockOrigin::Remember(const TCatalogVarData& v) {
  if (v.Source == nullptr) return;
  FileName = v.Source->FileName();
  FileOffset = v.Source->FileOffset();
}

void TKelBaseEventPageItem::Clear() {
  TCatalogItem::Clear();
  Script.assign(4, 0);  // a single end line
  ScriptSize = 4;
  Lines.ClearLines();
  Lines.AddLine();
  ScriptOrigin_ = {};
}

void TKelBaseEventPageItem::DescribeScript(TCatalogVarData& v, bool sizeField, bool loading) {
  if (sizeField) {
    v.Number("ScriptSize", &ScriptSize, 0);
    v.Derived = true;
    return;
  }
  v.Buffer("Script", &Script, TCatalogElement::Script);
  if (loading) ScriptOrigin_.Remember(v);
}

void TKelBaseEventPageItem::AfterLoad() {
  TStreamReader reader(Script, ScriptOrigin_.FileName, ScriptOrigin_.FileOffset);
  Lines.LoadFromStream(reader);
}

void TKelBaseEventPageItem::BeforeSave() {
  TStreamWriter encoded;
  Lines.SaveToStream(encoded);
  Script = encoded.TakeBytes();
  ScriptSize = static_cast<std::int32_t>(Script.size());
}
