#include "shell/Assets.h"

#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "shell/IniFile.h"

namespace fs = std::filesystem;

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Splits at '\' and '/', skipping trail bytes of double-byte characters
// (a trail byte may be 0x5C).
std::vector<std::string> SplitAssetName(std::string_view name) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) {
      parts.back() += name.substr(i, 2);
      ++i;
    } else if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(c);
    }
  }
  return parts;
}

bool IsSafeName(std::string_view name, const std::vector<std::string>& parts) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;
  if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) return false;
  return std::none_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty() || p == ".."; });
}

std::string FoldAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The entry of dir whose name equals wanted (Shift-JIS bytes): case-insensitive,
// as UTF-8 after conversion or as the raw bytes.
std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& wanted) {
  std::error_code error;
  if (dir.empty() || !fs::is_directory(dir, error)) return std::nullopt;
  const std::string raw = FoldAscii(wanted);
  const std::optional<std::string> converted = Cp932ToUtf8(wanted);
  const std::string utf8 = converted ? FoldAscii(*converted) : raw;
  // An exact hit needs no scan.
  const fs::path direct = dir / (converted ? *converted : wanted);
  if (fs::exists(direct, error)) return direct;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = FoldAscii(it->path().filename().string());
    if (entry == utf8 || entry == raw) return it->path();
  }
  return std::nullopt;
}

std::string FindIn(const fs::path& root, const std::vector<std::string>& parts, std::string_view folder,
                   std::string_view extension) {
  std::optional<fs::path> dir = FindEntry(root, std::string(folder));
  for (std::size_t i = 0; dir && i + 1 < parts.size(); ++i) dir = FindEntry(*dir, parts[i]);
  if (!dir) return {};
  const std::optional<fs::path> file = FindEntry(*dir, parts.back() + "." + std::string(extension));
  std::error_code error;
  return file && fs::is_regular_file(*file, error) ? file->string() : std::string();
}

fs::path EnvFolder(const char* variable, const char* fallbackBelowHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "/tmp") / fallbackBelowHome;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::string FindAsset(const AssetFolders& folders, std::string_view name, std::string_view folder,
                      std::span<const std::string_view> extensions) {
  if (name.empty()) return {};
  const std::vector<std::string> parts = SplitAssetName(name);
  if (!IsSafeName(name, parts)) return {};
  for (const fs::path* root : {&folders.game, &folders.package}) {
    if (root->empty()) continue;
    for (std::string_view extension : extensions)
      if (std::string path = FindIn(*root, parts, folder, extension); !path.empty()) return path;
  }
  return {};
}

bool IsFullPackage(const fs::path& gameFolder) {
  return ReadIniInteger(gameFolder / "ZAR_RT.ini", "ZAR_RT", "FullPackageFlag", 0) != 0;
}

std::string ReadGameTitle(const fs::path& gameFolder) {
  return ReadIniString(gameFolder / "ZAR_RT.ini", "ZAR_RT", "GameTitle").value_or("Untitled");
}

fs::path ConfigFilePath() { return EnvFolder("XDG_CONFIG_HOME", ".config") / "zarkit" / "zarkit.ini"; }

fs::path ReadPackageFolder(const std::optional<fs::path>& commandLine) {
  if (commandLine && !commandLine->empty()) return *commandLine;
  if (const char* value = std::getenv("ZARKIT_PACKAGE"); value != nullptr && value[0] != '\0') return value;
  return ReadIniString(ConfigFilePath(), "ZAR_RT", "RuntimePackagePath").value_or("");
}

bool CreateFolderPath(const fs::path& path) {
  if (path.empty()) throw std::runtime_error("ディレクトリを作成することができません");
  std::error_code error;
  fs::create_directories(path, error);
  return fs::is_directory(path, error);
}

fs::path SaveFolder(const fs::path& gameFolder) {
  return SaveFolder(gameFolder, access(gameFolder.c_str(), W_OK) == 0);
}

fs::path SaveFolder(const fs::path& gameFolder, bool gameFolderWritable) {
  if (gameFolderWritable) return gameFolder;
  fs::path normal = fs::absolute(gameFolder).lexically_normal();
  if (normal.filename().empty()) normal = normal.parent_path();  // a trailing separator
  const fs::path folder = EnvFolder("XDG_DATA_HOME", ".local/share") / "zarkit" / normal.filename();
  CreateFolderPath(folder);
  return folder;
}

bool IsRiffFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  char magic[4] = {};
  return in.read(magic, 4) && std::equal(magic, magic + 4, "RIFF");
}

fs::path TempFolder() {
  std::error_code error;
  fs::path folder = fs::temp_directory_path(error);
  return error ? fs::path("/tmp") : folder;
}
