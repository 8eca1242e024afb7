#include "ui/GameFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BDF_H

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFaceNames[] = {"Zarsan", "Zarmin"};
// The system's 12-pixel faces: JIS X 0208 for two-byte characters per face,
// and JIS X 0201 (with half-width katakana) then Latin-1 for single bytes.
constexpr const char* kSystemWide[] = {"shnmk12.pcf.gz", "shnmk12min.pcf.gz"};
constexpr const char* kSystemNarrow[] = {"shnm6x12r.pcf.gz", "shnm6x12a.pcf.gz"};
constexpr std::string_view kAuthorFontExtensions[] = {"pcf.gz", "pcf", "bdf", "ttf", "otf", "ttc", "fon"};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Decodes the first UTF-8 sequence; 0 when there is none.
std::uint32_t FirstCodePoint(const std::string& utf8) {
  if (utf8.empty()) return 0;
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  if (s[0] < 0x80) return s[0];
  const int length = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : 2;
  if (utf8.size() < static_cast<std::size_t>(length)) return 0;
  std::uint32_t code = s[0] & (0x7F >> length);
  for (int i = 1; i < length; ++i) code = (code << 6) | (s[i] & 0x3F);
  return code;
}

// The whole file, gzip-compressed files inflated: FreeType reading a
// compressed face glyph by glyph restarts inflation on every backward seek.
std::vector<unsigned char> ReadFontBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (path.extension() != ".gz" || raw.empty()) return raw;
  z_stream stream{};
  if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) return {};
  std::vector<unsigned char> out;
  unsigned char chunk[65536];
  stream.next_in = raw.data();
  stream.avail_in = static_cast<uInt>(raw.size());
  int result = Z_OK;
  while (result == Z_OK) {
    stream.next_out = chunk;
    stream.avail_out = sizeof chunk;
    result = inflate(&stream, Z_NO_FLUSH);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
  }
  inflateEnd(&stream);
  if (result != Z_STREAM_END) return {};
  return out;
}

}  // namespace

bool IsShiftJisLead(std::uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool IsShiftJisTrail(std::uint8_t byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

std::uint16_t ShiftJisToJis(std::uint8_t lead, std::uint8_t trail) {
  int first = lead >= 0xE0 ? lead - 0x40 : lead;
  int row = (first - 0x81) * 2 + 0x21;
  int cell;
  if (trail >= 0x9F) {
    ++row;
    cell = trail - 0x7E;
  } else {
    cell = trail - (trail >= 0x80 ? 0x20 : 0x1F);
  }
  return static_cast<std::uint16_t>((row << 8) | cell);
}

// One opened font file and how a character's bytes become its codes.
class TKelFontFile {
public:
  enum class CodeKind { Jis0208, Jis0201, ShiftJis, Unicode };

  TKelFontFile(FT_Library library, const fs::path& path) : Path(path), Bytes(ReadFontBytes(path)) {
    if (Bytes.empty() ||
        FT_New_Memory_Face(library, Bytes.data(), static_cast<FT_Long>(Bytes.size()), 0, &Face) != 0) {
      Face = nullptr;
      return;
    }
    ChooseSize();
    ChooseCodes();
  }
  ~TKelFontFile() {
    if (Face) FT_Done_Face(Face);
  }
  TKelFontFile(const TKelFontFile&) = delete;
  TKelFontFile& operator=(const TKelFontFile&) = delete;

  bool IsOpen() const { return Face != nullptr; }
  const fs::path& GetPath() const { return Path; }

  bool Draw(std::string_view character, TKelGlyph& glyph) const {
    const std::uint32_t code = CodeOf(character);
    if (code == 0) return false;
    const FT_UInt index = FT_Get_Char_Index(Face, code);
    if (index == 0) return false;
    if (FT_Load_Glyph(Face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) return false;
    const FT_GlyphSlot slot = Face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    // The cell's top is the top of the ascent, as text is placed by its top.
    const int ascent = static_cast<int>(Face->size->metrics.ascender >> 6);
    const int originX = slot->bitmap_left;
    const int originY = ascent - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int y = originY + static_cast<int>(row);
      if (y < 0 || y >= kGlyphSize) continue;
      const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const int x = originX + static_cast<int>(column);
        if (x < 0 || x >= kGlyphSize) continue;
        const bool ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (line[column / 8] >> (7 - column % 8)) & 1
                                                                  : line[column] >= 128;
        if (ink) glyph[static_cast<std::size_t>(y * kGlyphSize + x)] = 1;
      }
    }
    return true;
  }

private:
  void ChooseSize() {
    if (FT_IS_SCALABLE(Face)) {
      FT_Set_Pixel_Sizes(Face, 0, kGlyphSize);
      return;
    }
    int best = 0;
    for (int i = 1; i < Face->num_fixed_sizes; ++i)
      if (std::abs(Face->available_sizes[i].height - kGlyphSize) <
          std::abs(Face->available_sizes[best].height - kGlyphSize))
        best = i;
    if (Face->num_fixed_sizes > 0) FT_Select_Size(Face, best);
  }

  void ChooseCodes() {
    const char* encoding = nullptr;
    const char* registry = nullptr;
    if (FT_Get_BDF_Charset_ID(Face, &encoding, &registry) == 0 && registry) {
      const std::string name = Upper(registry);
      if (name.starts_with("JISX0208")) Kind = CodeKind::Jis0208;
      else if (name.starts_with("JISX0201")) Kind = CodeKind::Jis0201;
    }
    if (Kind == CodeKind::Unicode && FT_Select_Charmap(Face, FT_ENCODING_SJIS) == 0) Kind = CodeKind::ShiftJis;
    if (!Face->charmap && Face->num_charmaps > 0) FT_Set_Charmap(Face, Face->charmaps[0]);
  }

  std::uint32_t CodeOf(std::string_view character) const {
    const auto first = static_cast<std::uint8_t>(character[0]);
    const bool pair = character.size() == 2;
    switch (Kind) {
      case CodeKind::Jis0208:
        return pair ? ShiftJisToJis(first, static_cast<std::uint8_t>(character[1])) : 0;
      case CodeKind::Jis0201:
        return pair ? 0 : first;
      case CodeKind::ShiftJis:
        return pair ? (first << 8) | static_cast<std::uint8_t>(character[1]) : first;
      case CodeKind::Unicode:
        if (!pair && first < 0x80) return first;
        if (const auto utf8 = Cp932ToUtf8(character)) return FirstCodePoint(*utf8);
        return 0;
    }
    return 0;
  }

  fs::path Path;
  std::vector<unsigned char> Bytes;  // the face reads from these while it lives
  FT_Face Face = nullptr;
  CodeKind Kind = CodeKind::Unicode;
};

TKelGameFonts::TKelGameFonts(const TKelFontSearch& search) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw EKelFontMissing("FreeType could not be started");
  Library = library;

  std::array<const TKelFontFile*, 2> author{};
  std::array<const TKelFontFile*, 2> systemWide{};
  for (int face = 0; face < 2; ++face) {
    const std::string found = FindAsset(search.Folders, kFaceNames[face], "Font", kAuthorFontExtensions);
    if (!found.empty()) author[face] = Open(found);
    systemWide[face] = Open(search.SystemFolder / kSystemWide[face]);
  }
  std::vector<const TKelFontFile*> systemNarrow;
  for (const char* name : kSystemNarrow)
    if (const TKelFontFile* file = Open(search.SystemFolder / name)) systemNarrow.push_back(file);

  // A typeface without files of its own borrows the other's.
  for (int face = 0; face < 2; ++face) {
    const int other = 1 - face;
    for (const TKelFontFile* file : {author[face], systemWide[face], author[other], systemWide[other]})
      if (file && std::find(Faces[face].Wide.begin(), Faces[face].Wide.end(), file) == Faces[face].Wide.end())
        Faces[face].Wide.push_back(file);
    if (author[face]) Faces[face].Narrow.push_back(author[face]);
    Faces[face].Narrow.insert(Faces[face].Narrow.end(), systemNarrow.begin(), systemNarrow.end());
    if (author[other] && author[other] != author[face]) Faces[face].Narrow.push_back(author[other]);
  }

  if (Files.empty()) {
    FT_Done_FreeType(library);
    Library = nullptr;
    std::string looked = "No game font found: looked for \"Zarmin\" and \"Zarsan\" in the \"Font\" folder of the "
                         "game and of the run-time package, and for";
    for (const char* name : kSystemWide) looked += std::string(" ") + name;
    for (const char* name : kSystemNarrow) looked += std::string(" ") + name;
    looked += " in " + search.SystemFolder.string();
    throw EKelFontMissing(looked);
  }
}

TKelGameFonts::~TKelGameFonts() {
  Files.clear();  // faces before their library
  if (Library) FT_Done_FreeType(static_cast<FT_Library>(Library));
}

const TKelFontFile* TKelGameFonts::Open(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return nullptr;
  auto file = std::make_unique<TKelFontFile>(static_cast<FT_Library>(Library), path);
  if (!file->IsOpen()) return nullptr;
  Files.push_back(std::move(file));
  return Files.back().get();
}

bool TKelGameFonts::DrawCharacter(TKelFontFace face, std::string_view character, TKelGlyph& glyph) const {
  if (character.empty() || character.size() > 2) return false;
  const Typeface& typeface = Faces[face == ffMincho ? 1 : 0];
  for (const TKelFontFile* file : character.size() == 2 ? typeface.Wide : typeface.Narrow)
    if (file->Draw(character, glyph)) return true;
  return false;
}

std::vector<fs::path> TKelGameFonts::FilesInUse() const {
  std::vector<fs::path> paths;
  for (const auto& file : Files) paths.push_back(file->GetPath());
  return paths;
}
