#include "shell/StateText.h"

#include "shell/Assets.h"

nlohmann::json StateText(std::string_view bytes) {
  if (auto text = Cp932ToUtf8(bytes)) return *text;
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kHex[c >> 4];
    hex += kHex[c & 15];
  }
  return {{"bytes", hex}};
}
