#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace {

struct CommandResult {
  int status;
  std::string output;
};

CommandResult RunCommand(const std::string& command) {
  CommandResult result{-1, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

const std::string kPlayer = ZAR_BINARY_DIR "/bin/zarplayer";

class PlayerCommand : public ::testing::Test {
protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("zar_cli_" + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
};

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  auto be32 = [&](int at) { return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3]; };
  return {be32(16), be32(20)};
}

TEST_F(PlayerCommand, HeadlessRunWritesScreenshotAndState) {
  std::ofstream(dir / "keys.txt") << "# nothing pressed until the title shows\n200 Return\n";
  const CommandResult run = RunCommand(kPlayer + " --headless --game " ZAR_BINARY_DIR "/demo --frames 120 --seed 7" +
                                       " --input " + (dir / "keys.txt").string() + " --screenshot 60:" +
                                       (dir / "a.png").string() + " --dump-state " + (dir / "s.json").string());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(PngSize(dir / "a.png"), std::make_pair(320, 240));
  std::ifstream stateFile(dir / "s.json");
  const nlohmann::json state = nlohmann::json::parse(stateFile);
  EXPECT_EQ(state["SceneId"], 6);
  EXPECT_EQ(state["frames"], 120);
}

TEST_F(PlayerCommand, MissingPackageStopsBeforeAnyWindow) {
  fs::create_directories(dir / "game");
  const CommandResult run = RunCommand("env -u ZARKIT_PACKAGE XDG_CONFIG_HOME=" + dir.string() + " " + kPlayer +
                                       " --headless --frames 10 --game " + (dir / "game").string());
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("Zarkit Runtime Package Setup"), std::string::npos) << run.output;
}

TEST_F(PlayerCommand, ErrorsEndWithAMessageAndNonZeroStatus) {
  const CommandResult battle = RunCommand(kPlayer + " --headless --frames 60 --game " ZAR_BINARY_DIR "/demo BattleTest x Window nine");
  EXPECT_NE(battle.status, 0);
  EXPECT_NE(battle.output.find("Invalid Monsters Group"), std::string::npos) << battle.output;

  const CommandResult option = RunCommand(kPlayer + " --frames many");
  EXPECT_EQ(option.status, 2);
  EXPECT_NE(option.output.find("--frames"), std::string::npos);

  const CommandResult keys = RunCommand(kPlayer + " --headless --game " ZAR_BINARY_DIR "/demo --input /nonexistent/keys.txt");
  EXPECT_NE(keys.status, 0);
  EXPECT_NE(keys.output.find("/nonexistent/keys.txt"), std::string::npos) << keys.output;
}

TEST_F(PlayerCommand, ADamagedDatabaseEndsWithItsFileAndPlaceNamed) {
  fs::copy(ZAR_BINARY_DIR "/demo", dir / "game", fs::copy_options::recursive);
  const fs::path database = dir / "game" / "ZAR_RT.kdb";
  fs::resize_file(database, fs::file_size(database) / 2);
  const CommandResult run = RunCommand(kPlayer + " --headless --frames 60 --game " + (dir / "game").string());
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("ZAR_RT.kdb"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("at byte"), std::string::npos) << run.output;
}

}  // namespace
