#include "world/LGD_CmnEvent.h"

#include "data/LD_DataBase.h"
#include "script/LGD_Scripter.h"
#include "state/LGD_System.h"

TKelgCommonEventItem::TKelgCommonEventItem(const TKelCommonEventItem& source) : Source(source) {}
TKelgCommonEventItem::~TKelgCommonEventItem() = default;

bool TKelgCommonEventItem::SwitchHolds(const TKelgSystem& system) const {
  return Source.HasSwitch == 0 || system.Switch(Source.SwitchId) != 0;
}

void TKelgCommonEventItem::Update(const TKelgSystem& system, const TKelScriptServices* services) {
  if (!SwitchHolds(system) || Source.Trigger != kCommonTriggerParallel || services == nullptr) return;
  if (!Interpreter) Interpreter = std::make_unique<TKelgRegularScripter>(*services);
  if (!Interpreter->IsRunning()) Interpreter->StartScript(0, Source.Lines);
  Interpreter->UpdateParallel();
}

bool TKelgCommonEventItem::WantsAutoStart(const TKelgSystem& system) const {
  return SwitchHolds(system) && Source.Trigger == kCommonTriggerAutoStart && Source.Lines.Count() > 1;
}

void TKelgCommonEvent::Reset(const TKelDataBase& dataBase) {
  Items.clear();
  const TKelCommonEvent& table = dataBase.KelCommonEvent;
  for (int i = 0; i < table.Count(); ++i) Items.push_back(std::make_unique<TKelgCommonEventItem>(*table.ItemAt(i)));
}

TKelgCommonEventItem& TKelgCommonEvent::ItemAt(int index) {
  if (index < 0 || index >= Count()) throw EKelInvalid("Invalid Common Event");
  return *Items[index];
}

void TKelgCommonEvent::Update(const TKelgSystem& system, const TKelScriptServices* services) {
  for (auto& item : Items) item->Update(system, services);
}

const TKelEventScriptList* TKelgCommonEvent::AutoStartScript(const TKelgSystem& system) const {
  for (const auto& item : Items)
    if (item->WantsAutoStart(system)) return &item->Source.Lines;
  return nullptr;
}
