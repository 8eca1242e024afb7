#pragma once
// Game text (bytes in the game's code page) to and from UTF-8 for JSON.

#include <optional>
#include <string>

class TTextCodec {
 public:
  // `encoding` names an iconv code page, "CP932" for the games we play.
  explicit TTextCodec(std::string encoding = "CP932");

  // UTF-8 when the bytes convert and convert back to the very same bytes.
  std::optional<std::string> ToUtf8(const std::string& bytes) const;
  // The game's bytes; nullopt when the text has characters the page lacks.
  std::optional<std::string> FromUtf8(const std::string& text) const;
  const std::string& Encoding() const { return Encoding_; }

 private:
  std::optional<std::string> Convert(const std::string& input, const char* from, const char* to) const;
  std::string Encoding_;
};

std::string ToHex(const void* data, std::size_t size);
// Nullopt for anything but pairs of hex digits.
std::optional<std::string> FromHex(const std::string& hex);
