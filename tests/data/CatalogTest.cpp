#include <gtest/gtest.h>

#include "TestBytes.h"
#include "data/Catalog.h"
#include "data/LD_System.h"

namespace {

// A record with one field of every kind, to drive the generic reader and writer.
class TSample : public TCatalogItem {
 public:
  std::int32_t Number = 0;
  std::uint8_t Flag = 0;
  double Real = 0;
  std::string Text;
  std::string Always;
  std::array<std::uint8_t, 4> Block{};
  std::vector<std::uint8_t> Buffer;

  TSample() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool) override {
    switch (id) {
      case 3: v.Number("Number", &Number, 0); break;
      case 4: v.Byte("Flag", &Flag, 0); break;
      case 5: v.Real("Real", &Real, 0); break;
      case 6: v.String("Text", &Text, true); break;
      case 8: v.Fixed("Block", Block.data(), 4); break;
      case 9: v.Buffer("Buffer", &Buffer); break;
      default: break;
    }
  }
  void Clear() override {
    TCatalogItem::Clear();
    Number = 0;
    Flag = 0;
    Real = 0;
    Text.clear();
    Block = {9, 9, 9, 9};
    Buffer.clear();
  }
};

// Only number fields, so that the all-defaults record is the lone terminator.
class TNumbers : public TCatalogItem {
 public:
  std::int32_t A = 0;
  std::int32_t B = 7;
  TNumbers() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool) override {
    if (id == 3) v.Number("A", &A, 0);
    if (id == 4) v.Number("B", &B, 7);
  }
  void Clear() override {
    TCatalogItem::Clear();
    A = 0;
    B = 7;
  }
};

std::vector<std::uint8_t> Ber(std::int32_t value) {
  TStreamWriter writer;
  WriteBerNumber(writer, value);
  return writer.TakeBytes();
}

std::vector<std::int32_t> Keys(const TCatalog& list) {
  std::vector<std::int32_t> keys;
  for (int i = 0; i < list.Count(); ++i) keys.push_back(list.ItemAt(i)->Key);
  return keys;
}

}  // namespace

TEST(Ber, NumbersEncodeInTheFewestGroupsAndReadBack) {
  struct Case { std::int32_t value; const char* bytes; };
  const Case cases[] = {
      {0, "00"}, {127, "7F"}, {128, "81 00"}, {16383, "FF 7F"}, {16384, "81 80 00"},
      {(1 << 21) - 1, "FF FF 7F"}, {1 << 21, "81 80 80 00"}, {1 << 28, "81 80 80 80 00"},
      {-1, "8F FF FF FF 7F"}, {INT32_MIN, "88 80 80 80 00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Ber(c.value), Hex(c.bytes)) << c.value;
    auto bytes = Hex(c.bytes);
    TStreamReader reader(bytes, "ber");
    EXPECT_EQ(ReadBerNumber(reader), c.value) << c.value;
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(Ber, OverlongNumbersLoseTheirTopBits) {
  auto bytes = Hex("80 80 80 80 80 81 00");
  TStreamReader reader(bytes, "ber");
  EXPECT_EQ(ReadBerNumber(reader), 128);
}

TEST(Ber, NumberWithLengthAndStrings) {
  TStreamWriter writer;
  WriteBerNumber(writer, 200, true);
  WriteBerString(writer, "abc");
  EXPECT_EQ(writer.Bytes(), Hex("02 81 48 03 61 62 63"));
  auto bytes = Hex("03 61 62 63");
  TStreamReader reader(bytes, "s");
  std::string text;
  ReadBerString(reader, text);
  EXPECT_EQ(text, "abc");
}

TEST(Record, DefaultsWriteNothingButTheTerminator) {
  TNumbers record;
  EXPECT_EQ(Encode(record), Hex("00"));
  record.A = 200;
  EXPECT_EQ(Encode(record), Hex("03 02 81 48 00"));
}

TEST(Record, MissingChunksLeaveDefaultsBecauseReadingClears) {
  TNumbers record;
  record.A = 5;
  record.B = 99;
  Decode(record, Hex("03 01 02 00"));
  EXPECT_EQ(record.A, 2);
  EXPECT_EQ(record.B, 7);
}

TEST(Record, BlocksAreAlwaysWrittenAndEmptyIsDefaultStringsSkipped) {
  TSample record;
  EXPECT_EQ(Encode(record), Hex("08 04 09 09 09 09 09 00 00"));
  record.Text = "hi";
  record.Flag = 1;
  record.Real = 0.5;
  EXPECT_EQ(Encode(record), Hex("04 01 01 05 08 00 00 00 00 00 00 E0 3F 06 02 68 69 08 04 09 09 09 09 09 00 00"));
  TSample copy;
  copy.Assign(record);
  EXPECT_EQ(copy.Text, "hi");
  EXPECT_EQ(copy.Flag, 1);
  EXPECT_EQ(copy.Real, 0.5);
}

TEST(Record, LongNumberChunkReadsAndWrongSizedBlockIsIgnored) {
  TSample record;
  // Number chunk 3 of length 4 holding a 1-byte number; block 8 with 3 bytes.
  Decode(record, Hex("03 04 05 AA BB CC 08 03 01 02 03 00"));
  EXPECT_EQ(record.Number, 5);
  EXPECT_EQ(record.Block, (std::array<std::uint8_t, 4>{9, 9, 9, 9}));
}

TEST(Record, UnknownChunksAreKeptAndWrittenBackInPlace) {
  TSample record;
  auto bytes = Hex("02 02 AA BB 03 01 05 07 01 CC 08 04 01 02 03 04 09 00 F7 07 01 DD 00");
  Decode(record, bytes);
  EXPECT_EQ(record.UnknownChunks.size(), 3u);
  EXPECT_EQ(Encode(record), bytes);
}

TEST(Sound, ByteExamples) {
  TKelSound sound;
  EXPECT_EQ(Encode(sound), Hex("01 05 28 4F 46 46 29 00"));
  sound.Name = "abc";
  sound.Volume = 80;
  EXPECT_EQ(Encode(sound), Hex("01 03 61 62 63 03 01 50 00"));
  TKelSound read;
  Decode(read, Hex("01 03 61 62 63 03 01 50 00"));
  EXPECT_TRUE(read == sound);
}

TEST(List, ByteExamples) {
  TCatalogOf<TNumbers> list;
  EXPECT_EQ(Encode(list), Hex("00"));
  list.Add();
  list.Add();
  EXPECT_EQ(Encode(list), Hex("02 01 00 02 00"));
}

TEST(List, EmptyListInsideARecordStillMakesAChunk) {
  TKelSystem system;
  auto bytes = Encode(system);
  // TestParty is id 85 (0x55): length 1, count 0.
  auto chunk = Hex("55 01 00");
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), chunk.begin(), chunk.end()), bytes.end());
}

TEST(List, ReadingSortsKeysAndARepeatedKeyKeepsItsLastRecord) {
  TCatalogOf<TNumbers> list;
  Decode(list, Hex("03 07 03 01 01 00 02 00 07 03 01 09 00"));
  EXPECT_EQ(Keys(list), (std::vector<std::int32_t>{2, 7}));
  EXPECT_EQ(list.Find(7)->A, 9);
}

TEST(List, ABackwardsFileLoadsSortedWithLastRecordsWinning) {
  TStreamWriter writer;
  const int count = 50000;
  WriteBerNumber(writer, count + 1);
  for (int key = count; key >= 1; --key) {
    WriteBerNumber(writer, key);
    writer.WriteByte(0);
  }
  WriteBerNumber(writer, 10);
  writer.WriteBytes(Hex("03 01 05 00").data(), 4);
  TCatalogOf<TNumbers> list;
  Decode(list, writer.Bytes());
  ASSERT_EQ(list.Count(), count);
  EXPECT_EQ(list.ItemAt(0)->Key, 1);
  EXPECT_EQ(list.ItemAt(count - 1)->Key, count);
  EXPECT_EQ(list.Find(10)->A, 5);
  EXPECT_EQ(list.Find(11)->A, 0);
}

TEST(List, GetFindAddDeleteKeepKeyOrder) {
  TCatalogOf<TNumbers> list;
  EXPECT_EQ(list.Add().Key, 1);
  list.Get(2);
  list.Get(7);
  list.Get(5);
  EXPECT_EQ(Keys(list), (std::vector<std::int32_t>{1, 2, 5, 7}));
  EXPECT_EQ(list.Find(8), nullptr);
  EXPECT_EQ(list.Find(6), nullptr);
  EXPECT_EQ(list.Find(5)->Key, 5);
  EXPECT_EQ(list.Add().Key, 8);

  TCatalogOf<TNumbers> dense;
  for (int i = 0; i < 4; ++i) dense.Add();
  dense.Delete(2);
  EXPECT_EQ(Keys(dense), (std::vector<std::int32_t>{1, 2, 3}));
  dense.Delete(9);
  EXPECT_EQ(dense.Count(), 3);
}

TEST(List, TableAccessorsRaiseTheTablesMessage) {
  TCatalogOf<TNumbers> list("Invalid Hero");
  list.Add();
  EXPECT_EQ(list.ById(1).Key, 1);
  EXPECT_EQ(list.At(0).Key, 1);
  try {
    list.ById(2);
    FAIL();
  } catch (const EKelInvalid& e) {
    EXPECT_STREQ(e.what(), "Invalid Hero");
  }
  EXPECT_THROW(list.At(1), EKelInvalid);
  EXPECT_THROW(list.At(-1), EKelInvalid);
}

TEST(List, AssignCopiesKeysAndRecords) {
  TCatalogOf<TNumbers> source;
  source.Get(3).A = 4;
  source.Get(9).B = 1;
  TCatalogOf<TNumbers> copy;
  copy.Add();
  copy.Assign(source);
  EXPECT_EQ(Keys(copy), (std::vector<std::int32_t>{3, 9}));
  EXPECT_EQ(copy.Find(3)->A, 4);
  EXPECT_EQ(copy.Find(9)->B, 1);
}

// Bad bytes give an error naming the file and the offset; never a crash.
TEST(Malformed, BadLengthsAndCountsAreErrorsWithTheirOffset) {
  struct Case { const char* name; const char* bytes; const char* offset; };
  const Case cases[] = {
      {"chunk length past the end", "03 05 01 00", "at byte 1"},
      {"negative chunk length", "03 8F FF FF FF 7F 00", "at byte 1"},
      {"number chunk empty", "03 00 00", "at byte 2"},
      {"no terminator", "03 01 01", "at byte 3"},
      {"list count oversized", "09 03 81 80 00", "at byte 0"},
      {"list count negative", "8F FF FF FF 7F", "at byte 0"},
      {"id cut short", "83", "at byte 1"},
  };
  for (const auto& c : cases) {
    auto bytes = Hex(c.bytes);
    std::string message;
    try {
      if (std::string(c.name).starts_with("list")) {
        TCatalogOf<TNumbers> list;
        Decode(list, bytes);
      } else {
        TSample record;
        Decode(record, bytes);
      }
    } catch (const EKelDataError& e) {
      message = e.what();
    }
    EXPECT_NE(message.find("test.bin: "), std::string::npos) << c.name << ": " << message;
    EXPECT_NE(message.find(c.offset), std::string::npos) << c.name << ": " << message;
  }
}

TEST(Malformed, FailedListReadLeavesTheListEmpty) {
  TCatalogOf<TNumbers> list;
  list.Add();
  EXPECT_THROW(Decode(list, Hex("02 01 00 02 03 05")), EKelDataError);
  EXPECT_EQ(list.Count(), 0);
}
