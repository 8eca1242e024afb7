#pragma once
// Byte streams of the data files: bounded readers that name the file and the
// byte offset of every failure, a growing writer, and the variable-length
// (BER) numbers and strings every chunk is built from.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A damaged or unreadable data file. The message names the file, what is
// wrong and the byte offset.
class EKelDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A look-up of a missing table entry; the message is the system's own text
// ("Invalid Hero", "Invalid Map" ...).
class EKelInvalid : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An internal consistency check failed: the text names the source unit and
// line, as the system's own assertions do.
class EKelAssertion : public std::runtime_error {
 public:
  EKelAssertion(const char* unit, int line)
      : std::runtime_error(std::string("Assertion failure (") + unit + ", line " + std::to_string(line) + ")") {}
};

// The system's message for a file that is not what its magic claims.
inline constexpr const char* kStreamReadError = "ストリームからの読み込みエラー";

// Reads a window of bytes. Every read is checked against the bytes that
// remain in the window, so a nested chunk can never read past its end.
class TStreamReader {
 public:
  TStreamReader(std::span<const std::uint8_t> bytes, std::string fileName, std::size_t baseOffset = 0);

  std::size_t Position() const { return Position_; }
  std::size_t Size() const { return Bytes_.size(); }
  std::size_t Remaining() const { return Bytes_.size() - Position_; }
  bool AtEnd() const { return Position_ >= Bytes_.size(); }
  // Offset of the current position in the whole file, for messages.
  std::size_t FileOffset() const { return BaseOffset_ + Position_; }
  const std::string& FileName() const { return *FileName_; }

  void Seek(std::size_t position);
  std::uint8_t ReadByte();
  // A BER number; the hot path of every decode, so it reads the span directly.
  std::int32_t ReadBer() {
    std::uint32_t value = 0;
    while (Position_ < Bytes_.size()) {
      std::uint8_t byte = Bytes_[Position_++];
      value = (value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return static_cast<std::int32_t>(value);
    }
    Fail("unexpected end of data");
  }
  void ReadBytes(void* destination, std::size_t count);
  std::span<const std::uint8_t> Take(std::size_t count);
  // A reader over the next `count` bytes; this reader moves past them.
  TStreamReader TakeReader(std::size_t count);
  // A length read from the file, checked to be non-negative and to fit the
  // bytes that remain.
  std::size_t CheckLength(std::int32_t length, const char* what) const;

  [[noreturn]] void Fail(const std::string& problem) const;
  [[noreturn]] void FailAt(const std::string& problem, std::size_t position) const;

 private:
  TStreamReader(std::span<const std::uint8_t> bytes, std::shared_ptr<const std::string> fileName, std::size_t baseOffset);
  std::span<const std::uint8_t> Bytes_;
  // Shared by the readers of nested chunks, which are made for every chunk.
  std::shared_ptr<const std::string> FileName_;
  std::size_t BaseOffset_ = 0;
  std::size_t Position_ = 0;
};

class TStreamWriter {
 public:
  void WriteByte(std::uint8_t value) { Bytes_.push_back(value); }
  void WriteBytes(const void* data, std::size_t count);
  void WriteBytes(std::span<const std::uint8_t> data) { WriteBytes(data.data(), data.size()); }
  std::size_t Size() const { return Bytes_.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return Bytes_; }
  std::vector<std::uint8_t> TakeBytes() { return std::move(Bytes_); }
  void Clear() { Bytes_.clear(); }

 private:
  std::vector<std::uint8_t> Bytes_;
};

std::int32_t ReadBerNumber(TStreamReader& stream);
// With `withLength` the count of BER bytes (1..5) goes first as one byte.
void WriteBerNumber(TStreamWriter& stream, std::int32_t value, bool withLength = false);
int BerNumberSize(std::int32_t value);
void ReadBerString(TStreamReader& stream, std::string& text);
void WriteBerString(TStreamWriter& stream, const std::string& text);

// The whole file as bytes; a missing or unreadable file is an EKelDataError.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
// Reads the leading magic string and checks it.
void ReadMagic(TStreamReader& stream, const char* magic);
