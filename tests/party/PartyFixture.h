#pragma once
// A tiny database with the heroes, items, skills, states and attributes the
// rules need, and the run-time heroes, party, troop and teleport list over it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "battle/LGD_Monster.h"
#include "data/LD_DataBase.h"
#include "data/StreamUtils.h"
#include "shell/Assets.h"
#include "shell/Random.h"
#include "state/LGD_PartyInfo.h"
#include "state/LGD_Player.h"
#include "state/LGD_System.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Teleport.h"

// Hand-made chunks for saves the player did not write.
inline void WriteChunk(TStreamWriter& writer, int id, const std::vector<std::uint8_t>& payload) {
  WriteBerNumber(writer, id);
  WriteBerNumber(writer, static_cast<std::int32_t>(payload.size()));
  writer.WriteBytes(payload);
}

inline std::vector<std::uint8_t> Ber(std::int32_t value) {
  TStreamWriter writer;
  WriteBerNumber(writer, value);
  return writer.Bytes();
}

struct MessageLog : TKelMessageSink {
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};

class PartyFixture : public ::testing::Test {
protected:
  PartyFixture() {
    db.KelPlayer.Clear();
    db.KelItem.Clear();
    db.KelSkill.Clear();
    db.KelMonster.Clear();
    db.KelMonGroup.Clear();
    db.KelAttrib.Clear();
    db.KelStatus.Clear();
    services.DataBase = &db;
    services.Random = &random;
    services.System = &system;
    services.Party = &party;
    services.Heroes = &heroes;
    services.Troop = &troop;
    services.Teleport = &teleport;
    services.Screen = &screen;
    services.Messages = &messages;
  }

  // A hero whose every parameter is `value` at every level.
  TKelPlayerItem& Hero(int id, int value = 50) {
    TKelPlayerItem& hero = db.KelPlayer.Get(id);
    hero.Name = "Hero" + std::to_string(id);
    for (int p = 0; p < kParameterCount; ++p)
      for (int level = 1; level <= kCurveLevels; ++level) hero.SetParameter(p, level, value);
    return hero;
  }
  TKelItemItem& Item(int id, std::uint8_t type) {
    TKelItemItem& item = db.KelItem.Get(id);
    item.Name = "Item" + std::to_string(id);
    item.ItemType = type;
    return item;
  }
  TKelSkillItem& Skill(int id) {
    TKelSkillItem& skill = db.KelSkill.Get(id);
    skill.Name = "Skill" + std::to_string(id);
    skill.MindInfluence = 0;
    skill.Variance = 0;
    return skill;
  }
  TKelMonsterItem& Enemy(int id, int value = 50) {
    TKelMonsterItem& enemy = db.KelMonster.Get(id);
    enemy.Name = "Enemy" + std::to_string(id);
    enemy.MaxHp = enemy.MaxMp = enemy.Attack = enemy.Defense = enemy.Mind = enemy.Agility = value;
    enemy.Actions.Clear();
    return enemy;
  }
  TKelStatusItem& State(int id, int priority = 50) {
    TKelStatusItem& state = db.KelStatus.Get(id);
    state.Name = "State" + std::to_string(id);
    state.Priority = priority;
    return state;
  }
  TKelAttribItem& Attrib(int id, std::uint8_t kind, std::vector<int> rates = {200, 150, 100, 50, 0}) {
    TKelAttribItem& attrib = db.KelAttrib.Get(id);
    attrib.AttribKind = kind;
    attrib.RateA = rates[0];
    attrib.RateB = rates[1];
    attrib.RateC = rates[2];
    attrib.RateD = rates[3];
    attrib.RateE = rates[4];
    return attrib;
  }
  static void SetTable(std::vector<std::uint8_t>& table, std::int32_t& count, int id, std::uint8_t value,
                       std::uint8_t fill) {
    if (count < id) {
      table.resize(static_cast<std::size_t>(id), fill);
      count = id;
    }
    table[static_cast<std::size_t>(id - 1)] = value;
  }

  // The run-time heroes for the database as it stands now.
  void StartGame() {
    heroes.Reset();
    party.Clear();
  }
  // One troop of the given enemies, members in order.
  TKelgMonster& Troop(std::vector<int> enemies) {
    TKelMonGroupItem& group = db.KelMonGroup.Get(1);
    group.Members.Clear();
    for (int enemy : enemies) group.Members.Add().MonsterId = enemy;
    troop.SetupTroop(1);
    return troop;
  }

  TKelDataBase db;
  AssetFolders folders;
  TKelRandom random;
  TKelgSystem system{db, folders, nullptr};
  TKelgScreen screen;
  MessageLog messages;
  TKelgUnitServices services;
  TKelgPlayer heroes{services};
  TKelgPartyInfo party{services, nullptr};
  TKelgMonster troop{services};
  TKelgTeleport teleport;
};
