#pragma once
// Common events at run time: one entry per database common event, each with
// its own interpreter for a parallel script on its switch.

#include <memory>
#include <vector>

#include "data/Catalog.h"

class TKelCommonEventItem;
class TKelDataBase;
class TKelEventScriptList;
class TKelgRegularScripter;
class TKelgSystem;
struct TKelScriptServices;

inline constexpr int kCommonTriggerAutoStart = 3;
inline constexpr int kCommonTriggerParallel = 4;

class TKelgCommonEventItem {
public:
  explicit TKelgCommonEventItem(const TKelCommonEventItem& source);
  ~TKelgCommonEventItem();

  // A parallel script runs while its switch (if any) is on.
  void Update(const TKelgSystem& system, const TKelScriptServices* services);
  bool WantsAutoStart(const TKelgSystem& system) const;

  const TKelCommonEventItem& Source;
  std::unique_ptr<TKelgRegularScripter> Interpreter;

private:
  bool SwitchHolds(const TKelgSystem& system) const;
};

class TKelgCommonEvent {
public:
  // One entry per database common event, in database order.
  void Reset(const TKelDataBase& dataBase);
  int Count() const { return static_cast<int>(Items.size()); }
  // "Invalid Common Event" for an index outside the list.
  TKelgCommonEventItem& ItemAt(int index);
  void Update(const TKelgSystem& system, const TKelScriptServices* services);
  // The script of the first common event that wants to start; nil for none.
  const TKelEventScriptList* AutoStartScript(const TKelgSystem& system) const;

private:
  std::vector<std::unique_ptr<TKelgCommonEventItem>> Items;
};
