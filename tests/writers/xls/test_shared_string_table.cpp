// Shared string table: record layout, splitting across CONTINUE records,
// exact sizes and EXTSST buckets.
#include <gtest/gtest.h>

#include <string>

#include "platform/Streams.h"
#include "writers/xls/SharedStringTable.h"

namespace kv::xls {
namespace {

struct TRecord {
  uint16_t Id;
  size_t Start;  // stream position of the record header
  std::string Data;
};

uint16_t U16(const std::string& B, size_t AAt) {
  return static_cast<uint16_t>(uint8_t(B[AAt]) | uint8_t(B[AAt + 1]) << 8);
}
uint32_t U32(const std::string& B, size_t AAt) { return U16(B, AAt) | uint32_t(U16(B, AAt + 2)) << 16; }

// Writes the table at stream position APrefix (after that many filler bytes)
// and returns the bytes.
std::string Written(const TcxXLSSharedStringTable& ATable, size_t APrefix = 0) {
  TMemoryStream m;
  {
    TcxXLSByteSink sink(m, 1000);  // small buffer: records cross flushes
    sink.WriteZeros(APrefix);
    ATable.WriteTo(sink);
  }
  EXPECT_EQ(m.Data().size(), APrefix + size_t(ATable.TotalSize()));
  return m.Data().substr(APrefix);
}

std::vector<TRecord> Records(const std::string& B, size_t APrefix = 0) {
  std::vector<TRecord> out;
  size_t at = 0;
  while (at + 4 <= B.size()) {
    uint16_t len = U16(B, at + 2);
    EXPECT_LE(at + 4 + len, B.size());
    out.push_back({U16(B, at), APrefix + at, B.substr(at + 4, len)});
    at += 4 + len;
  }
  EXPECT_EQ(at, B.size());
  return out;
}

// Reads the strings back the way a reader does: counts, then each string's
// characters across record boundaries, a new option byte at every boundary.
std::vector<std::u16string> ReadStrings(const std::vector<TRecord>& ARecords) {
  std::vector<std::u16string> out;
  size_t rec = 0, pos = 8;
  uint32_t total = U32(ARecords[0].Data, 0);
  EXPECT_EQ(U32(ARecords[0].Data, 4), total);
  for (uint32_t i = 0; i < total; ++i) {
    if (pos >= ARecords[rec].Data.size()) {
      ++rec;
      pos = 0;
    }
    const std::string* d = &ARecords[rec].Data;
    EXPECT_LE(pos + 3, d->size()) << "string header split";
    uint16_t n = U16(*d, pos);
    EXPECT_EQ((*d)[pos + 2], 1);
    pos += 3;
    std::u16string s;
    while (s.size() < n) {
      if (pos >= d->size()) {
        ++rec;
        d = &ARecords[rec].Data;
        EXPECT_EQ(ARecords[rec].Id, cxBiffCONTINUE);
        EXPECT_EQ((*d)[0], 1);
        pos = 1;
      }
      s.push_back(static_cast<char16_t>(U16(*d, pos)));
      pos += 2;
    }
    out.push_back(s);
  }
  return out;
}

std::u16string Text(size_t ALength, char16_t AFirst) {
  std::u16string s(ALength, u'x');
  for (size_t i = 0; i < ALength; ++i) s[i] = static_cast<char16_t>(AFirst + i % 50);
  return s;
}

TEST(SharedStringTable, EmptyTableWritesNothing) {
  TcxXLSSharedStringTable t;
  EXPECT_EQ(t.TotalSize(), 0);
  EXPECT_EQ(Written(t), "");
}

TEST(SharedStringTable, IndexesAndExactBytes) {
  TcxXLSSharedStringTable t;
  EXPECT_EQ(t.AddString(u"中文"), 0u);
  EXPECT_EQ(t.AddString(u"中文"), 1u);  // not shared
  EXPECT_EQ(t.StringCount(), 2u);
  std::string b = Written(t, 100);
  const std::string want(
      "\xFC\x00\x16\x00"                  // SST, 22 bytes
      "\x02\x00\x00\x00\x02\x00\x00\x00"  // total and unique counts
      "\x02\x00\x01\x2D\x4E\x87\x65"      // 2 chars, UTF-16
      "\x02\x00\x01\x2D\x4E\x87\x65"
      "\xFF\x00\x0A\x00"  // EXTSST, 10 bytes
      "\x08\x00"          // 8 strings per bucket
      "\x70\x00\x00\x00"  // stream position 100 + 4 + 8
      "\x0C\x00\x00\x00",
      40);
  EXPECT_EQ(b, want);
}

TEST(SharedStringTable, LongTextContinuesInWholeCharacters) {
  TcxXLSSharedStringTable t;
  std::u16string text = Text(5000, u'A');
  t.AddString(text);
  std::vector<TRecord> r = Records(Written(t));
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[0].Id, cxBiffSST);
  // 8 count bytes, 3 header bytes, then 4,090 characters (8,181 bytes of room
  // rounded down to whole characters).
  EXPECT_EQ(r[0].Data.size(), 8u + 3 + 8180);
  EXPECT_EQ(U16(r[0].Data, 8), 5000);
  EXPECT_EQ(r[1].Id, cxBiffCONTINUE);
  EXPECT_EQ(r[1].Data.size(), 1u + 2 * 910);
  EXPECT_EQ(r[1].Data[0], 1);
  EXPECT_EQ(r[2].Id, cxBiffEXTSST);
  EXPECT_EQ(ReadStrings(r), std::vector<std::u16string>{text});
}

TEST(SharedStringTable, TextsAreKeptUpToTheCellLimit) {
  TcxXLSSharedStringTable t;
  std::u16string longest = Text(32767, u'a');
  std::u16string tooLong = Text(40000, u'0');
  t.AddString(longest);
  t.AddString(tooLong);
  t.AddString(u"after");
  std::vector<TRecord> r = Records(Written(t));
  for (size_t i = 0; i + 1 < r.size(); ++i) EXPECT_LE(r[i].Data.size(), 8192u);
  std::vector<std::u16string> s = ReadStrings(r);
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0], longest);
  EXPECT_EQ(s[1], tooLong.substr(0, 32767));
  EXPECT_EQ(s[2], u"after");
}

TEST(SharedStringTable, HeaderAtTheVeryEndOfABlock) {
  TcxXLSSharedStringTable t;
  // 8 + (3 + 8000) + (3 + 174) = 8188 bytes used in the SST block.
  t.AddString(Text(4000, u'a'));
  t.AddString(Text(87, u'b'));
  t.AddString(u"xyz");
  std::vector<TRecord> r = Records(Written(t));
  ASSERT_EQ(r.size(), 3u);
  ASSERT_EQ(r[0].Data.size(), 8191u);
  EXPECT_EQ(r[0].Data.substr(8188), std::string("\x03\x00\x01", 3));
  EXPECT_EQ(r[1].Id, cxBiffCONTINUE);
  EXPECT_EQ(r[1].Data, std::string("\x01x\0y\0z\0", 7));
  EXPECT_EQ(ReadStrings(r).back(), u"xyz");
  // With 8,189 bytes used the next string starts a new block.
  TcxXLSSharedStringTable u;
  u.AddString(Text(4000, u'a'));
  u.AddString(Text(85, u'b'));
  u.AddString(u"q");  // 8 + 8003 + 173 + 5 = 8189
  u.AddString(u"r");
  std::vector<TRecord> v = Records(Written(u));
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].Data.size(), 8189u);
  EXPECT_EQ(v[1].Data, std::string("\x01\x00\x01r\0", 5));
  EXPECT_EQ(ReadStrings(v).size(), 4u);
}

TEST(SharedStringTable, Buckets) {
  struct TCase {
    int Count, PerBucket, Buckets;
  };
  for (TCase c : {TCase{1, 8, 1}, TCase{10, 16, 1}, TCase{100, 32, 4}, TCase{1000, 96, 11}, TCase{200000, 1576, 127}}) {
    TcxXLSSharedStringTable::TBuckets b = TcxXLSSharedStringTable::BucketsFor(c.Count);
    EXPECT_EQ(b.PerBucket, c.PerBucket) << c.Count;
    EXPECT_EQ(b.Count, c.Buckets) << c.Count;
    EXPECT_LE(int64_t(b.PerBucket) * (b.Count - 1), c.Count);
    EXPECT_GE(int64_t(b.PerBucket) * b.Count, c.Count);
  }
}

TEST(SharedStringTable, BucketEntriesPointAtTheirStrings) {
  for (int count : {10, 100, 1000}) {
    SCOPED_TRACE(count);
    TcxXLSSharedStringTable t;
    std::vector<std::u16string> texts;
    for (int i = 0; i < count; ++i) {
      texts.push_back(Text(60 + i % 7, static_cast<char16_t>(0x4E00 + i)));
      t.AddString(texts.back());
    }
    const size_t prefix = 1234;
    std::string b = Written(t, prefix);
    std::vector<TRecord> r = Records(b, prefix);
    EXPECT_EQ(ReadStrings(r), texts);
    const TRecord& ext = r.back();
    ASSERT_EQ(ext.Id, cxBiffEXTSST);
    TcxXLSSharedStringTable::TBuckets want = TcxXLSSharedStringTable::BucketsFor(count);
    ASSERT_EQ(ext.Data.size(), 2u + 8 * want.Count);
    EXPECT_EQ(U16(ext.Data, 0), want.PerBucket);
    bool inContinue = false;
    for (int j = 0; j < want.Count; ++j) {
      uint32_t pos = U32(ext.Data, 2 + 8 * j);
      uint16_t offset = U16(ext.Data, 6 + 8 * j);
      EXPECT_EQ(U16(ext.Data, 8 + 8 * j), 0);
      // The string at that stream position is the bucket's first string.
      const std::u16string& first = texts[size_t(want.PerBucket) * j];
      size_t at = pos - prefix;
      EXPECT_EQ(U16(b, at), first.size());
      EXPECT_EQ(b[at + 2], 1);
      EXPECT_EQ(U16(b, at + 3), first[0]);
      // The offset counts from the start of the record holding it.
      const TRecord* holder = nullptr;
      for (const TRecord& rec : r)
        if (rec.Start <= pos && pos < rec.Start + 4 + rec.Data.size()) holder = &rec;
      ASSERT_NE(holder, nullptr);
      EXPECT_EQ(offset, pos - holder->Start);
      inContinue |= holder->Id == cxBiffCONTINUE;
    }
    if (count == 1000) {
      EXPECT_TRUE(inContinue);
    }
  }
}

}  // namespace
}  // namespace kv::xls
