#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/Assets.h"

namespace fs = std::filesystem;

namespace {

class AssetsTest : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("zar_assets_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    folders = {root / "game", root / "package"};
  }
  void TearDown() override { fs::remove_all(root); }

  static void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }
  std::string Find(std::string_view name, std::string_view folder = "CharSet") const {
    return FindAsset(folders, name, folder, kImageExtensions);
  }

  fs::path root;
  AssetFolders folders;
};

TEST_F(AssetsTest, GameFolderWinsForEveryExtensionThenExtensionOrder) {
  Touch(folders.game / "CharSet" / "Hero.xyz");
  Touch(folders.package / "CharSet" / "Hero.bmp");
  EXPECT_EQ(Find("Hero"), (folders.game / "CharSet" / "Hero.xyz").string());

  Touch(folders.game / "CharSet" / "Hero.png");
  Touch(folders.game / "CharSet" / "Hero.bmp");
  EXPECT_EQ(Find("Hero"), (folders.game / "CharSet" / "Hero.bmp").string());

  Touch(folders.package / "CharSet" / "Slime.png");
  EXPECT_EQ(Find("Slime"), (folders.package / "CharSet" / "Slime.png").string());
}

TEST_F(AssetsTest, NamesMatchIgnoringCaseAndAfterCp932Conversion) {
  Touch(folders.game / "charset" / "HERO.PNG");
  EXPECT_EQ(Find("Hero"), (folders.game / "charset" / "HERO.PNG").string());

  // 勇者 in Shift-JIS; the file on disk is named in UTF-8.
  Touch(folders.game / "charset" / "勇者.png");
  EXPECT_EQ(Find("\x97\x45\x8E\xD2"), (folders.game / "charset" / "勇者.png").string());

  // ソ has 0x5C as its trail byte: it is no folder separator.
  Touch(folders.game / "charset" / "ソ.png");
  EXPECT_EQ(Find("\x83\x5C"), (folders.game / "charset" / "ソ.png").string());

  // A file named by the raw bytes is found too.
  Touch(folders.game / "charset" / std::string("\x96\xBC.png"));
  EXPECT_EQ(Find("\x96\xBC"), (folders.game / "charset" / std::string("\x96\xBC.png")).string());
}

TEST_F(AssetsTest, BackslashSeparatesSubFolders) {
  Touch(folders.game / "Picture" / "Town" / "Sign.png");
  EXPECT_EQ(Find("town\\sign", "Picture"), (folders.game / "Picture" / "Town" / "Sign.png").string());
}

TEST_F(AssetsTest, UnsafeOrMissingNamesAreNeverLookedUp) {
  Touch(folders.game / "secret.png");
  Touch(folders.game / "CharSet" / "Hero.png");
  const char* refused[] = {"", "..\\secret", "../secret", "a\\..\\..\\secret", "\\etc\\passwd", "/etc/passwd",
                           "C:\\secret", "Hero\\", "Missing"};
  for (const char* name : refused) EXPECT_EQ(Find(name), "") << name;
}

TEST_F(AssetsTest, NoPackageFolderSkipsThePackageStep) {
  folders.package.clear();
  EXPECT_EQ(Find("Hero"), "");
}

TEST_F(AssetsTest, FullPackageFlagAndTitleFromTheIni) {
  fs::create_directories(folders.game);
  EXPECT_FALSE(IsFullPackage(folders.game));
  EXPECT_EQ(ReadGameTitle(folders.game), "Untitled");
  std::ofstream(folders.game / "ZAR_RT.ini") << "[Other]\r\nFullPackageFlag=1\r\n[zar_rt]\r\nfullpackageflag = 1\r\nGameTitle=Quest\r\n";
  EXPECT_TRUE(IsFullPackage(folders.game));
  EXPECT_EQ(ReadGameTitle(folders.game), "Quest");
  std::ofstream(folders.game / "ZAR_RT.ini") << "[ZAR_RT]\nFullPackageFlag=yes\n";
  EXPECT_FALSE(IsFullPackage(folders.game));
}

TEST_F(AssetsTest, PackageFolderOrderCommandLineEnvironmentConfig) {
  const fs::path config = root / "config";
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  unsetenv("ZARKIT_PACKAGE");
  EXPECT_EQ(ReadPackageFolder(std::nullopt), fs::path());
  fs::create_directories(config / "zarkit");
  std::ofstream(config / "zarkit" / "zarkit.ini") << "[ZAR_RT]\nRuntimePackagePath=/opt/pkg\n";
  EXPECT_EQ(ReadPackageFolder(std::nullopt), fs::path("/opt/pkg"));
  setenv("ZARKIT_PACKAGE", "/env/pkg", 1);
  EXPECT_EQ(ReadPackageFolder(std::nullopt), fs::path("/env/pkg"));
  EXPECT_EQ(ReadPackageFolder(fs::path("/cli/pkg")), fs::path("/cli/pkg"));
  unsetenv("ZARKIT_PACKAGE");
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(AssetsTest, SavesGoBesideTheGameUnlessItIsReadOnly) {
  fs::create_directories(folders.game);
  EXPECT_EQ(SaveFolder(folders.game), folders.game);
  setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
  for (const fs::path& game : {folders.game, folders.game / ""}) {
    EXPECT_EQ(SaveFolder(game, false), root / "data" / "zarkit" / "game");
    EXPECT_TRUE(fs::is_directory(root / "data" / "zarkit" / "game"));
  }
  unsetenv("XDG_DATA_HOME");
}

TEST_F(AssetsTest, RiffCheckNeverThrows) {
  fs::create_directories(root);
  std::ofstream(root / "a.wav") << "RIFF....WAVE";
  std::ofstream(root / "b.mid") << "MThd";
  std::ofstream(root / "c") << "RI";
  EXPECT_TRUE(IsRiffFile(root / "a.wav"));
  EXPECT_FALSE(IsRiffFile(root / "b.mid"));
  EXPECT_FALSE(IsRiffFile(root / "c"));
  EXPECT_FALSE(IsRiffFile(root / "missing"));
  EXPECT_THROW(CreateFolderPath(""), std::runtime_error);
}

}  // namespace
