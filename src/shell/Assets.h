#pragma once
// The game folder, the run-time package folder, and turning an asset's name
// (Shift-JIS bytes, no folder or extension) into the file to open.

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

struct AssetFolders {
  std::filesystem::path game;     // the game folder
  std::filesystem::path package;  // the run-time package folder; empty when none
};

inline constexpr std::string_view kImageExtensions[] = {"bmp", "png", "xyz"};
inline constexpr std::string_view kMusicExtensions[] = {"mid", "wav"};
inline constexpr std::string_view kSoundExtensions[] = {"wav"};
inline constexpr std::string_view kMovieExtensions[] = {"avi", "mpg"};

// The path of Name in Folder: the game folder with every extension first, then
// the package. Folder and file names match case-insensitively and after
// conversion from CP932; a backslash in Name separates sub-folders. A name
// that is empty, absolute, has a drive letter or a ".." component is never
// looked up. Not found: an empty string, so nothing is ever opened relative to
// the current folder.
std::string FindAsset(const AssetFolders& folders, std::string_view name, std::string_view folder,
                      std::span<const std::string_view> extensions);

// "FullPackageFlag" of "ZAR_RT.ini" in the game folder: the game carries all its assets.
bool IsFullPackage(const std::filesystem::path& gameFolder);

// "GameTitle" of "ZAR_RT.ini", "Untitled" when absent.
std::string ReadGameTitle(const std::filesystem::path& gameFolder);

// The package folder: --package, else $ZARKIT_PACKAGE, else "RuntimePackagePath"
// in section "ZAR_RT" of $XDG_CONFIG_HOME/zarkit/zarkit.ini. Empty when none.
std::filesystem::path ReadPackageFolder(const std::optional<std::filesystem::path>& commandLine);
std::filesystem::path ConfigFilePath();

// Where saves go: the game folder when writable, else
// $XDG_DATA_HOME/zarkit/<game folder name>/, created on first use.
std::filesystem::path SaveFolder(const std::filesystem::path& gameFolder);
std::filesystem::path SaveFolder(const std::filesystem::path& gameFolder, bool gameFolderWritable);

// Creates a folder and its missing parents; true when it exists afterwards.
// An empty path is an error.
bool CreateFolderPath(const std::filesystem::path& path);

// The file starts with "RIFF"; never throws.
bool IsRiffFile(const std::filesystem::path& file);

std::filesystem::path TempFolder();

// CP932 (Shift-JIS) bytes as UTF-8; nullopt when they do not convert.
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
