#include "state/LGD_System.h"

#include <algorithm>
#include <cstring>

#include <nlohmann/json.hpp>

#include "data/LD_DataBase.h"
#include "graphics/VantraDraw.h"
#include "shell/Assets.h"
#include "shell/Melvox.h"
#include "shell/StateText.h"

TKelgSystem::TKelgSystem(const TKelDataBase& dataBase, const AssetFolders& folders, TVantraDraw* draw)
    : DataBase(dataBase),
      Folders(folders),
      Draw(draw),
      SystemGraphic(std::make_unique<TKelSystemGraphic>(TKelFontSearch{folders})) {
  Transitions.fill(kNoTransitionOverride);
}

void TKelgSystem::DescribeField(int id, TCatalogVarData& v, bool) {
  static const char* const kMusicNames[] = {"TitleMusic", "BattleMusic", "VictoryMusic", "InnMusic",
                                            "BoatMusic", "ShipMusic", "AirshipMusic", "GameOverMusic"};
  static const char* const kTransitionNames[] = {"TeleportErase", "TeleportShow", "BattleStartErase",
                                                 "BattleStartShow", "BattleEndErase", "BattleEndShow"};
  switch (id) {
    case 1: v.Fixed("SceneId", &SceneId, 1); break;
    case 11: v.Number("FrameCount", &FrameCount, 0); break;
    case 21: v.String("SystemName", &SystemName, true); break;
    case 22: v.Number("WindowTiled", &WindowTiled, 0); break;
    case 23: v.Number("FontKind", &FontKind, 0); break;
    case 31: v.Number("SwitchCount", &SwitchCountField, 0); break;
    case 32: v.Buffer("Switches", &Switches); break;
    case 33: v.Number("VariableCount", &VariableCountField, 0); break;
    case 34: v.Buffer("Variables", &VariableBytes, TCatalogElement::I32); break;
    case 41: v.Number("MessageTransparent", &MessageTransparent, 0); break;
    case 42: v.Number("MessagePosition", &MessagePosition, 2); break;
    case 43: v.Byte("MessageAutoPosition", &MessageAutoPosition, 1); break;
    case 44: v.Byte("MessageEventsMove", &MessageEventsMove, 0); break;
    case 51: v.String("FaceName", &FaceName, true); break;
    case 52: v.Number("FaceIndex", &FaceIndex, 0); break;
    case 53: v.Number("FaceRight", &FaceRight, 0); break;
    case 54: v.Byte("FaceFlipped", &FaceFlipped, 0); break;
    case 55: v.Byte("EventMessage", &EventMessage, 0); break;
    case 61: v.Byte("MusicStopped", &MusicStopped, 0); break;
    case 71: case 72: case 73: case 74: v.Record(kMusicNames[id - 71], &MusicOverrides[id - 71]); break;
    case 75: v.Record("CurrentMusic", &CurrentMusic); break;
    case 76: v.Record("VehicleReturnMusic", &VehicleReturnMusic); break;
    case 77: v.Record("BattleReturnMusic", &BattleReturnMusic); break;
    case 78: v.Record("MemorizedMusic", &MemorizedMusic); break;
    case 79: case 80: case 81: case 82: v.Record(kMusicNames[id - 75], &MusicOverrides[id - 75]); break;
    case 121: v.Byte("TeleportAllowed", &TeleportAllowed, 1); break;
    case 122: v.Byte("EscapeAllowed", &EscapeAllowed, 1); break;
    case 123: v.Byte("SaveAllowed", &SaveAllowed, 1); break;
    case 124: v.Byte("MenuAllowed", &MenuAllowed, 1); break;
    case 125: v.String("BattleBackground", &BattleBackground, true); break;
    case 131: v.Number("SaveCount", &SaveCount, 0); break;
    case 132: v.Number("LastSaveSlot", &LastSaveSlot, 1); break;
    default:
      if (id >= 91 && id <= 102) v.Record("SystemSound", &SoundOverrides[id - 91]);
      else if (id >= 111 && id <= 116) v.Fixed(kTransitionNames[id - 111], &Transitions[id - 111], 1);
      break;
  }
}

void TKelgSystem::Clear() {
  TCatalogBaseItem::Clear();
  SceneId = scField;
  FrameCount = 0;
  SystemName.clear();
  WindowTiled = FontKind = 0;
  Switches.clear();
  Variables.clear();
  MessageTransparent = 0;
  MessagePosition = 2;
  MessageAutoPosition = 1;
  MessageEventsMove = 0;
  FaceName.clear();
  FaceIndex = FaceRight = 0;
  FaceFlipped = EventMessage = MusicStopped = 0;
  for (TKelMusic* remembered : {&CurrentMusic, &VehicleReturnMusic, &BattleReturnMusic, &MemorizedMusic}) {
    remembered->Clear();
    remembered->Name = kNoSound;
  }
  for (TKelMusic& music : MusicOverrides) {
    music.Clear();
    music.Name.clear();
  }
  for (TKelSound& sound : SoundOverrides) {
    sound.Clear();
    sound.Name.clear();
  }
  Transitions.fill(kNoTransitionOverride);
  TeleportAllowed = EscapeAllowed = SaveAllowed = MenuAllowed = 1;
  BattleBackground.clear();
  SaveCount = 0;
  LastSaveSlot = 1;
  RefreshSystemGraphic();
  ReserveSystemSounds();
  RefreshFace();
}

void TKelgSystem::AfterLoad() {
  // The counts say how much of each buffer is meant; never more than is there.
  if (SwitchCountField < 0) SwitchCountField = 0;
  Switches.resize(std::min<std::size_t>(Switches.size(), static_cast<std::size_t>(SwitchCountField)));
  const std::size_t variables =
      std::min<std::size_t>(VariableBytes.size() / 4, static_cast<std::size_t>(std::max(VariableCountField, 0)));
  Variables.assign(variables, 0);
  if (variables > 0) std::memcpy(Variables.data(), VariableBytes.data(), variables * 4);
  RefreshSystemGraphic();
  RefreshFace();
}

void TKelgSystem::BeforeSave() {
  SwitchCountField = SwitchCount();
  VariableCountField = VariableCount();
  VariableBytes.resize(Variables.size() * 4);
  if (!Variables.empty()) std::memcpy(VariableBytes.data(), Variables.data(), VariableBytes.size());
}

std::uint8_t TKelgSystem::Switch(std::int32_t id) const {
  return id >= 1 && id <= SwitchCount() ? Switches[id - 1] : 0;
}

void TKelgSystem::SetSwitch(std::int32_t id, std::uint8_t value) {
  if (id < 1 || id > kMaxSwitchId) return;
  if (id > SwitchCount()) Switches.resize(id, 0);
  Switches[id - 1] = value;
}

std::int32_t TKelgSystem::Variable(std::int32_t id) const {
  return id >= 1 && id <= VariableCount() ? Variables[id - 1] : 0;
}

void TKelgSystem::SetVariable(std::int32_t id, std::int32_t value) {
  if (id < 1 || id > kMaxSwitchId) return;
  if (id > VariableCount()) Variables.resize(id, 0);
  Variables[id - 1] = value;
}

std::string TKelgSystem::MusicPath(const std::string& name) const {
  return FindAsset(Folders, name, "Music", kMusicExtensions);
}

std::string TKelgSystem::SoundPath(const std::string& name) const {
  return FindAsset(Folders, name, "Sound", kSoundExtensions);
}

void TKelgSystem::PlayMusic(const TKelMusic& music, bool force) {
  if (force || MusicStopped != 0 || music.Name != CurrentMusic.Name) {
    if (music.Name == kNoSound) {
      MelvoxStopMusic();
    } else {
      MelvoxPlayMusic(MusicPath(music.Name).c_str());
      MelvoxFadeInMusic(music.FadeIn);
    }
  }
  MelvoxSetMusicVolume(music.Volume);
  MelvoxSetMusicSpeed(music.Tempo);
  MelvoxSetMusicPanpot(music.Balance);
  CurrentMusic.AssignFields(music);
  MusicStopped = 0;
  // Loading music may take longer than a frame.
  if (Draw != nullptr) Draw->Resync();
}

void TKelgSystem::FadeOutMusic(int milliseconds) {
  if (MusicStopped != 0) return;
  MelvoxFadeOutMusic(milliseconds);
  MusicStopped = 1;
}

void TKelgSystem::StopMusic() {
  MelvoxStopMusic();
  MusicStopped = 1;
}

void TKelgSystem::PlaySound(const TKelSound& sound) {
  if (sound.Name == kNoSound) return;
  MelvoxPlaySoundEx(SoundPath(sound.Name).c_str(), sound.Volume, sound.Tempo, sound.Balance);
}

const TKelMusic& TKelgSystem::DataBaseMusic(TMusicSlot slot) const {
  const TKelSystem& system = DataBase.KelSystem;
  switch (slot) {
    case msTitle: return system.TitleMusic;
    case msBattle: return system.BattleMusic;
    case msVictory: return system.VictoryMusic;
    case msInn: return system.InnMusic;
    case msBoat: return system.BoatMusic;
    case msShip: return system.ShipMusic;
    case msAirship: return system.AirshipMusic;
    case msGameOver: return system.GameOverMusic;
  }
  return system.TitleMusic;
}

const TKelSound& TKelgSystem::DataBaseSound(TKelSystemSound slot) const {
  const TKelSystem& s = DataBase.KelSystem;
  const TKelSound* const sounds[kSystemSoundCount] = {
      &s.CursorSound,      &s.DecisionSound,    &s.CancelSound,     &s.BuzzerSound,
      &s.BattleStartSound, &s.EscapeSound,      &s.EnemyAttackSound, &s.EnemyDamageSound,
      &s.HeroDamageSound,  &s.EvasionSound,     &s.EnemyDeathSound, &s.ItemSound};
  return *sounds[slot];
}

std::uint8_t TKelgSystem::DataBaseTransition(TKelTransitionSlot slot) const {
  const TKelSystem& s = DataBase.KelSystem;
  const std::uint8_t values[kTransitionSlotCount] = {s.TeleportErase,    s.TeleportShow,   s.BattleStartErase,
                                                     s.BattleStartShow, s.BattleEndErase, s.BattleEndShow};
  return values[slot];
}

const TKelMusic& TKelgSystem::Music(TMusicSlot slot) const {
  return MusicOverrides[slot].Name.empty() ? DataBaseMusic(slot) : MusicOverrides[slot];
}

void TKelgSystem::SetMusic(TMusicSlot slot, const TKelMusic& music) {
  // No override that only repeats the database: saves stay free of it.
  if (music == DataBaseMusic(slot)) MusicOverrides[slot].Name.clear();
  else MusicOverrides[slot].AssignFields(music);
}

const TKelSound& TKelgSystem::SystemSound(TKelSystemSound slot) const {
  return SoundOverrides[slot].Name.empty() ? DataBaseSound(slot) : SoundOverrides[slot];
}

void TKelgSystem::SetSystemSound(TKelSystemSound slot, const TKelSound& sound) {
  const bool reserved = slot <= ssBuzzer;
  if (reserved) MelvoxCancelSound(SoundPath(SystemSound(slot).Name).c_str());
  if (sound == DataBaseSound(slot)) SoundOverrides[slot].Name.clear();
  else SoundOverrides[slot].AssignFields(sound);
  if (reserved) MelvoxReserveSound(SoundPath(SystemSound(slot).Name).c_str());
}

void TKelgSystem::ReserveSystemSounds() {
  for (TKelSystemSound slot : {ssCursor, ssDecision, ssCancel, ssBuzzer})
    MelvoxReserveSound(SoundPath(SystemSound(slot).Name).c_str());
}

std::uint8_t TKelgSystem::Transition(TKelTransitionSlot slot) const {
  return Transitions[slot] == kNoTransitionOverride ? DataBaseTransition(slot) : Transitions[slot];
}

void TKelgSystem::SetTransition(TKelTransitionSlot slot, std::uint8_t kind) {
  Transitions[slot] = kind == DataBaseTransition(slot) ? kNoTransitionOverride : kind;
}

std::string TKelgSystem::SystemGraphicName() const {
  return SystemName.empty() ? DataBase.KelSystem.SystemName : SystemName;
}

std::int32_t TKelgSystem::EffectiveWindowTiled() const {
  return SystemName.empty() ? DataBase.KelSystem.WindowTiled : WindowTiled;
}

std::int32_t TKelgSystem::EffectiveFontKind() const {
  return SystemName.empty() ? DataBase.KelSystem.FontKind : FontKind;
}

void TKelgSystem::SetSystemGraphic(const std::string& name, std::int32_t tiled, std::int32_t font) {
  const TKelSystem& db = DataBase.KelSystem;
  if (name != db.SystemName || tiled != db.WindowTiled || font != db.FontKind) {
    SystemName = name;
    WindowTiled = tiled;
    FontKind = font;
  } else {
    SystemName.clear();
    WindowTiled = FontKind = 0;
  }
  RefreshSystemGraphic();
}

void TKelgSystem::RefreshFace() {
  constexpr int kFaceSize = 48;
  constexpr int kFacesPerRow = 4;
  FaceSheet.Clear();
  FaceSheet.SetSize(kFaceSize, kFaceSize);
  if (FaceName.empty()) return;
  const int index = std::clamp(FaceIndex, 0, 15);
  const std::string path = FindAsset(Folders, FaceName, "FaceSet", kImageExtensions);
  // A missing face shows no face; the message still shows.
  FaceSheet.LoadFromFile(path, (index % kFacesPerRow) * kFaceSize, (index / kFacesPerRow) * kFaceSize, false);
  if (FaceFlipped != 0) FaceSheet.Mirror();
}

void TKelgSystem::RefreshSystemGraphic() {
  SystemGraphic->Load(Folders, SystemGraphicName());
  SystemGraphic->Tiled = EffectiveWindowTiled() != 0;
  SystemGraphic->SetFont(EffectiveFontKind());
}

void TKelgSystem::DumpState(nlohmann::json& state) const {
  state["SceneId"] = static_cast<int>(SceneId);
  state["FrameCount"] = FrameCount;
  state["Switches"] = nlohmann::json::array();
  for (std::uint8_t value : Switches) state["Switches"].push_back(value);
  state["Variables"] = Variables;
  state["CurrentMusic"] = {{"Name", StateText(CurrentMusic.Name)},
                           {"FadeIn", CurrentMusic.FadeIn},
                           {"Volume", CurrentMusic.Volume},
                           {"Tempo", CurrentMusic.Tempo},
                           {"Balance", CurrentMusic.Balance}};
}
