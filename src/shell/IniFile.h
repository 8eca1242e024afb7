#pragma once
// Reads "key=value" settings from "[section]" blocks of an ini file. Keys and
// sections compare case-insensitively, as the originals' readers did.

#include <filesystem>
#include <optional>
#include <string>

std::optional<std::string> ReadIniString(const std::filesystem::path& file, const std::string& section,
                                         const std::string& key);
// An integer value; absent or not a number gives the default.
int ReadIniInteger(const std::filesystem::path& file, const std::string& section, const std::string& key,
                   int defaultValue);
