#include "data/StreamUtils.h"

#include <cstring>
#include <fstream>
#include <iterator>

TStreamReader::TStreamReader(std::span<const std::uint8_t> bytes, std::string fileName, std::size_t baseOffset)
    : Bytes_(bytes), FileName_(std::make_shared<const std::string>(std::move(fileName))), BaseOffset_(baseOffset) {}

TStreamReader::TStreamReader(std::span<const std::uint8_t> bytes, std::shared_ptr<const std::string> fileName,
                             std::size_t baseOffset)
    : Bytes_(bytes), FileName_(std::move(fileName)), BaseOffset_(baseOffset) {}

void TStreamReader::Fail(const std::string& problem) const { FailAt(problem, Position_); }

void TStreamReader::FailAt(const std::string& problem, std::size_t position) const {
  throw EKelDataError(*FileName_ + ": " + problem + " at byte " + std::to_string(BaseOffset_ + position));
}

void TStreamReader::Seek(std::size_t position) {
  if (position > Bytes_.size()) Fail("seek past the end of the data");
  Position_ = position;
}

std::uint8_t TStreamReader::ReadByte() {
  if (Position_ >= Bytes_.size()) Fail("unexpected end of data");
  return Bytes_[Position_++];
}

void TStreamReader::ReadBytes(void* destination, std::size_t count) {
  auto bytes = Take(count);
  if (count > 0) std::memcpy(destination, bytes.data(), count);
}

std::span<const std::uint8_t> TStreamReader::Take(std::size_t count) {
  if (count > Remaining()) Fail("unexpected end of data (" + std::to_string(count) + " bytes needed, " + std::to_string(Remaining()) + " left)");
  auto result = Bytes_.subspan(Position_, count);
  Position_ += count;
  return result;
}

TStreamReader TStreamReader::TakeReader(std::size_t count) {
  std::size_t start = FileOffset();
  return TStreamReader(Take(count), FileName_, start);
}

std::size_t TStreamReader::CheckLength(std::int32_t length, const char* what) const {
  if (length < 0) Fail(std::string("negative ") + what + " " + std::to_string(length));
  if (static_cast<std::size_t>(length) > Remaining())
    Fail(std::string(what) + " " + std::to_string(length) + " exceeds the " + std::to_string(Remaining()) + " bytes that remain");
  return static_cast<std::size_t>(length);
}

void TStreamWriter::WriteBytes(const void* data, std::size_t count) {
  auto bytes = static_cast<const std::uint8_t*>(data);
  Bytes_.insert(Bytes_.end(), bytes, bytes + count);
}

// Any count of bytes is accepted; bits shifted out at the top are lost.
std::int32_t ReadBerNumber(TStreamReader& stream) { return stream.ReadBer(); }

int BerNumberSize(std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  int size = 1;
  while (size < 5 && (bits >> (7 * size)) != 0) ++size;
  return size;
}

void WriteBerNumber(TStreamWriter& stream, std::int32_t value, bool withLength) {
  auto bits = static_cast<std::uint32_t>(value);
  int size = BerNumberSize(value);
  if (withLength) stream.WriteByte(static_cast<std::uint8_t>(size));
  for (int group = size - 1; group >= 0; --group) {
    auto byte = static_cast<std::uint8_t>((bits >> (7 * group)) & 0x7F);
    if (group > 0) byte |= 0x80;
    stream.WriteByte(byte);
  }
}

void ReadBerString(TStreamReader& stream, std::string& text) {
  std::size_t start = stream.Position();
  std::int32_t length = ReadBerNumber(stream);
  if (length < 0 || static_cast<std::size_t>(length) > stream.Remaining())
    stream.FailAt("string length " + std::to_string(length) + " exceeds the " + std::to_string(stream.Remaining()) + " bytes that remain", start);
  auto bytes = stream.Take(static_cast<std::size_t>(length));
  text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void WriteBerString(TStreamWriter& stream, const std::string& text) {
  WriteBerNumber(stream, static_cast<std::int32_t>(text.size()));
  stream.WriteBytes(text.data(), text.size());
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EKelDataError(path + ": cannot open the file");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw EKelDataError(path + ": cannot read the file");
  return bytes;
}

void WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) throw EKelDataError(path + ": cannot create the file");
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw EKelDataError(path + ": cannot write the file");
}

void ReadMagic(TStreamReader& stream, const char* magic) {
  std::string found;
  try {
    ReadBerString(stream, found);
  } catch (const EKelDataError&) {
    stream.FailAt(std::string(kStreamReadError) + " (no magic \"" + magic + "\")", 0);
  }
  if (found != magic) stream.FailAt(std::string(kStreamReadError) + " (magic is not \"" + magic + "\")", 0);
}
