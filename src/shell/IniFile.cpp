#include "shell/IniFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>

namespace {
std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}
}  // namespace

std::optional<std::string> ReadIniString(const std::filesystem::path& file, const std::string& section,
                                         const std::string& key) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      inSection = close != std::string::npos && EqualsIgnoringCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const auto equals = line.find('=');
    if (inSection && equals != std::string::npos && EqualsIgnoringCase(Trim(line.substr(0, equals)), key))
      return Trim(line.substr(equals + 1));
  }
  return std::nullopt;
}

int ReadIniInteger(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   int defaultValue) {
  const auto text = ReadIniString(file, section, key);
  if (!text) return defaultValue;
  int value = 0;
  const char* end = text->data() + text->size();
  auto [ptr, ec] = std::from_chars(text->data(), end, value);
  return ec == std::errc() && ptr == end ? value : defaultValue;
}
