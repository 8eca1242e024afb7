#pragma once
// Game text (CP932 bytes) for the state dump: UTF-8, or {"bytes": hex} when
// the bytes do not convert, so nothing is lost.

#include <string_view>

#include <nlohmann/json.hpp>

nlohmann::json StateText(std::string_view bytes);
