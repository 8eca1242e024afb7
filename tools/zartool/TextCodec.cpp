#include "TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

TTextCodec::TTextCodec(std::string encoding) : Encoding_(std::move(encoding)) {
  iconv_t probe = iconv_open("UTF-8", Encoding_.c_str());
  if (probe == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("unknown encoding \"" + Encoding_ + "\"");
  iconv_close(probe);
}

std::optional<std::string> TTextCodec::Convert(const std::string& input, const char* from, const char* to) const {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::vector<char> in(input.begin(), input.end());
  std::string output;
  std::vector<char> buffer(input.size() * 4 + 16);
  char* inPointer = in.data();
  std::size_t inLeft = in.size();
  bool ok = true;
  while (inLeft > 0) {
    char* outPointer = buffer.data();
    std::size_t outLeft = buffer.size();
    std::size_t result = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    output.append(buffer.data(), static_cast<std::size_t>(outPointer - buffer.data()));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  char* outPointer = buffer.data();
  std::size_t outLeft = buffer.size();
  if (ok && iconv(converter, nullptr, nullptr, &outPointer, &outLeft) == static_cast<std::size_t>(-1)) ok = false;
  output.append(buffer.data(), static_cast<std::size_t>(outPointer - buffer.data()));
  iconv_close(converter);
  if (!ok) return std::nullopt;
  return output;
}

std::optional<std::string> TTextCodec::ToUtf8(const std::string& bytes) const {
  bool plain = true;
  for (unsigned char c : bytes) plain = plain && c >= 0x20 && c < 0x7F && c != '\\' && c != '~';
  if (plain) return bytes;
  auto text = Convert(bytes, Encoding_.c_str(), "UTF-8");
  // Some characters have two codes in the page: keep only what comes back unchanged.
  if (!text || FromUtf8(*text) != bytes) return std::nullopt;
  return text;
}

std::optional<std::string> TTextCodec::FromUtf8(const std::string& text) const {
  return Convert(text, "UTF-8", Encoding_.c_str());
}

std::string ToHex(const void* data, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  auto bytes = static_cast<const unsigned char*>(data);
  std::string hex;
  hex.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    hex.push_back(kDigits[bytes[i] >> 4]);
    hex.push_back(kDigits[bytes[i] & 15]);
  }
  return hex;
}

std::optional<std::string> FromHex(const std::string& hex) {
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int high = digit(hex[i]);
    int low = digit(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}
