#include <gtest/gtest.h>

#include <filesystem>

#include "shell/MelvoxSynth.h"
#include "sound/SoundMedia.h"

namespace {

TEST(SoundFontLookup, PackageThenConfigThenSystemDefault) {
  ScratchFolder folder;
  auto make = [&](const std::string& relative) {
    std::filesystem::create_directories(folder.Path() / std::filesystem::path(relative).parent_path());
    WriteBytes(folder.File(relative), {0});
    return folder.File(relative);
  };
  std::string inMusic = make("package/Music/b.SF2");
  make("package/Music/c.sf3");
  make("package/Music/a.txt");
  std::string inSoundFont = make("other/SoundFont/gm.sf3");
  std::string configured = make("config/mine.sf2");
  std::string system = make("system/default-GM.sf2");

  struct Case {
    std::string Package;
    std::string Configured;
    std::vector<std::string> System;
    std::string Found;
  };
  const Case cases[] = {
      {folder.File("package"), configured, {system}, inMusic},
      {folder.File("other"), configured, {system}, inSoundFont},
      {folder.File("empty"), configured, {system}, configured},
      {"", folder.File("config/missing.sf2"), {folder.File("none.sf2"), system}, system},
      {"", "", {folder.File("none.sf2")}, ""},
  };
  for (const Case& c : cases) {
    MelvoxSoundFontSources sources{c.Package, c.Configured, c.System};
    EXPECT_EQ(FindSoundFont(sources), c.Found) << c.Package << " | " << c.Configured;
  }
}

TEST(SoundFontLookup, NoSoundFontIsSaidOnceAndMidiStillKeepsTime) {
  MelvoxSoundFontSources none;
  none.SystemDefaults.clear();
  FakeOutput output(22050);
  ScratchFolder folder;
  std::string path = folder.File("piece.mid");
  WriteBytes(path, MidiBytes({{0, 480}}, 960));

  MelvoxAttachOutput(&output);
  MelvoxSetSoundFontSources(none);
  MelvoxCreate();
  testing::internal::CaptureStderr();
  MelvoxInitMidi();
  MelvoxInitMidi();
  MelvoxPlayMusic(path.c_str());
  std::string said = testing::internal::GetCapturedStderr();
  auto out = output.Pull(11025);
  EXPECT_EQ(LastSoundingFrame(out), -1);
  EXPECT_NEAR(MelvoxGetMidiTick(), 480, 2);
  EXPECT_NE(said.find("soundfont"), std::string::npos) << said;
  EXPECT_EQ(said.find("soundfont"), said.rfind("soundfont")) << said;
  MelvoxRelease();
  MelvoxAttachOutput(nullptr);
}

}  // namespace
