// The per-frame run rules of the three interpreters.

#include <algorithm>

#include <nlohmann/json.hpp>

#include "script/LGD_Scripter.h"
#include "shell/MultiInput.h"
#include "state/LGD_System.h"
#include "ui/GameMessageWindow.h"

// ---- TKelgScripter ---------------------------------------------------------

void TKelgScripter::UpdateFrame() {
  const TKelScriptServices& services = Services();
  for (int lines = 0; lines < kMaxLinesPerFrame; ++lines) {
    if (WaitFrames > 0) {
      WaitFrames -= 1;
      return;
    }
    if (services.Host.StopKeyHeld()) {
      if (IsRunning()) {
        if (MessageWindowOpen()) services.Message.Close();
        services.Host.EndHeroRoute();
        EndScript();
      }
      return;
    }
    if (services.Pool.Count() > 0) {
      DrainMessagePool();
      return;
    }
    if (!IsRunning()) {
      StartPendingScripts();
      if (!IsRunning()) return;
    }
    if (MessageWindowOpen() && !MessageWindowClosing()) return;
    if (services.Host.VehicleTransitionBusy()) return;
    if (!Step()) return;
    if (SceneChangeRequested()) return;
  }
}

bool TKelgScripter::DrainMessagePool() {
  TKelMessageWindow& window = Services().Message;
  TKelMessagePool& pool = Services().Pool;
  // Only a window that has just begun closing may take the next page.
  if (window.Exists() && window.CloseStep != 1) return false;
  OpenMessagePage(false);
  while (pool.Count() > 0 && window.LineCount() < TKelMessageWindow::kMaxLines) {
    const std::string entry = pool.Take();
    if (!entry.empty()) window.AddLine(entry);
    else if (window.LineCount() > 0) break;  // a page break
  }
  if (window.LineCount() == 0) {
    window.Close();
    return false;
  }
  WaitingMessage = 1;
  return true;
}

void TKelgScripter::StartPendingScripts() {
  TKelScriptHost& host = Services().Host;
  if (const TKelEventScriptList* common = host.AutoStartCommonEventScript()) {
    PushFrame(0, *common);
    ClearFace();
  }
  for (const int id : host.MapEventIds()) {
    if (!host.EventStartPending(id)) continue;
    host.ClearEventStartPending(id);
    if (!host.EventActive(id)) continue;  // an erased event's request is dropped
    const TKelEventScriptList* script = host.EventPageScript(id);
    if (script == nullptr) continue;
    PushFrame(id, *script, host.EventStartedByKey(id));
    ClearFace();
    return;
  }
}

void TKelgScripter::DumpState(nlohmann::json& state) const { state["Interpreter"]["Frames"] = Depth(); }

// ---- TKelgRegularScripter ---------------------------------------------------

void TKelgRegularScripter::EndScript() {
  if (Frames.Count() >= 2) {
    TKelgBaseScripter::EndScript();
    return;
  }
  // A parallel script starts over from its first line.
  if (TKelgScriptData* bottom = TopFrame()) bottom->LineIndex = 0;
}

void TKelgRegularScripter::UpdateParallel() {
  TKelScriptHost& host = Services().Host;
  for (int lines = 0; lines < kMaxLinesPerFrame; ++lines) {
    if (!IsRunning()) return;
    if (WaitFrames > 0) {
      WaitFrames -= 1;
      return;
    }
    if (WaitingMessage != 0 && MessageWindowOpen()) return;
    WaitingMessage = 0;
    if (!Step() || !IsRunning()) return;
    const TKelgScriptData* top = TopFrame();
    if (top->EventId != 0 && !host.EventActive(top->EventId)) return;
    if (SceneChangeRequested()) return;
    // Once through per frame at most.
    if (Frames.Count() == 1 && top->LineIndex == 0) return;
  }
}

// ---- TKelgBattleScripter ----------------------------------------------------

void TKelgBattleScripter::Clear() {
  TKelgBaseScripter::Clear();
  ResetPageRun();
}

void TKelgBattleScripter::ResetPageRun() { std::fill(std::begin(PageRun), std::end(PageRun), 0); }

void TKelgBattleScripter::EndScript() {
  TKelgBaseScripter::EndScript();
  Services().Input.Flush();
}

void TKelgBattleScripter::UpdateBattle() {
  for (int lines = 0; lines < kMaxLinesPerFrame; ++lines) {
    if (!IsRunning()) return;
    if (WaitFrames > 0) {
      WaitFrames -= 1;
      return;
    }
    if (WaitingMessage != 0 && MessageWindowOpen()) return;
    WaitingMessage = 0;
    if (!Step()) return;
  }
}
