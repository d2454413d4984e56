// Cell styles: packed form, hash, equality; the style manager and its
// registry.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "EngineFixture.h"

namespace kv::testing {
namespace {

using Styles = ExportEngineTest;

TcxExportCellStyle SampleStyle() {
  TcxExportCellStyle s;
  s.AlignText = catRight;
  s.SetFontName("Arial");
  s.FontStyle = cfsBold | cfsUnderline;
  s.FontColor = 0x00332211;
  s.FontSize = -9;
  s.FontCharset = 134;
  s.CellBorders[cxBorderLeft] = {1, 2, 0x0A0B0C};
  s.CellBorders[cxBorderBottom] = {0, 3, 0xFFEEDD};
  s.BrushStyle = cbsSolid;
  s.BrushBkColor = 0x00F0E0D0;
  s.BrushFgColor = 0x01020304;
  return s;
}

TEST(CellStyle, PackedFormIsTheFieldsInOrderLittleEndian) {
  TcxExportCellStyle s = SampleStyle();
  s.StyleHash = 0xDEADBEEF;  // not part of the packed form
  TcxExportCellStyle::TPacked p = s.Packed();
  ASSERT_EQ(p.size(), 123u);
  EXPECT_EQ(p[0], catRight);
  EXPECT_EQ(std::memcmp(p.data() + 1, "Arial\0\0", 7), 0);
  EXPECT_EQ(p[64], 0);  // last byte of the name buffer
  EXPECT_EQ(p[65], cfsBold | cfsUnderline);
  const uint8_t fontColor[] = {0x11, 0x22, 0x33, 0x00};
  EXPECT_EQ(std::memcmp(p.data() + 66, fontColor, 4), 0);
  const uint8_t fontSize[] = {0xF7, 0xFF, 0xFF, 0xFF};  // -9
  EXPECT_EQ(std::memcmp(p.data() + 70, fontSize, 4), 0);
  EXPECT_EQ(p[74], 134);
  const uint8_t left[] = {1, 2, 0, 0, 0, 0x0C, 0x0B, 0x0A, 0};  // IsDefault, Width, Color
  EXPECT_EQ(std::memcmp(p.data() + 78, left, 9), 0);
  const uint8_t bottom[] = {0, 3, 0, 0, 0, 0xDD, 0xEE, 0xFF, 0};
  EXPECT_EQ(std::memcmp(p.data() + 78 + 27, bottom, 9), 0);
  EXPECT_EQ(p[114], cbsSolid);
  const uint8_t tail[] = {0xD0, 0xE0, 0xF0, 0x00, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(std::memcmp(p.data() + 115, tail, 8), 0);
  EXPECT_EQ(s.ComputeHash(), ExportHash(p.data(), p.size()));
}

TEST(CellStyle, EqualityCoversTheWholeNameBufferButNotTheHash) {
  TcxExportCellStyle a = SampleStyle(), b = SampleStyle();
  b.StyleHash = 12345;
  EXPECT_TRUE(a == b);
  b.FontName[40] = 'x';  // after the terminator: invisible in the name, still a difference
  EXPECT_EQ(a.FontNameText(), b.FontNameText());
  EXPECT_FALSE(a == b);
  b = SampleStyle();
  b.CellBorders[cxBorderTop].Color = 1;
  EXPECT_FALSE(a == b);
}

TEST(CellStyle, SetFontNameClearsTheBufferAndKeepsWholeCharacters) {
  TcxExportCellStyle s;
  std::memset(s.FontName, 'z', sizeof s.FontName);
  s.SetFontName("Tahoma");
  EXPECT_EQ(s.FontNameText(), "Tahoma");
  for (size_t i = 6; i < cxFontNameSize; ++i) ASSERT_EQ(s.FontName[i], 0) << i;
  s.SetFontName(std::string(70, 'a'));
  EXPECT_EQ(s.FontNameText(), std::string(63, 'a'));
  // 21 three-byte characters fit in 63 bytes; the 22nd is dropped whole.
  std::string song;
  for (int i = 0; i < 22; ++i) song += "宋";
  s.SetFontName(song);
  EXPECT_EQ(s.FontNameText().size(), 63u);
  s.SetFontName("a" + song);  // 1 + 20 * 3 = 61 bytes kept
  EXPECT_EQ(s.FontNameText().size(), 61u);
}

TEST_F(Styles, AddStyleFindsEqualStylesAndStoresTheHash) {
  TcxExportStyleManager* m = TcxExportStyleManager::Acquire("/out/styles.xls");
  TcxExportCellStyle a = SampleStyle();
  EXPECT_EQ(m->AddStyle(a), 0);
  EXPECT_EQ(a.StyleHash, a.ComputeHash());
  TcxExportCellStyle again = SampleStyle();
  EXPECT_EQ(m->AddStyle(again), 0);
  EXPECT_EQ(m->StyleCount(), 1);

  TcxExportCellStyle b = SampleStyle();
  b.FontName[50] = 1;
  EXPECT_EQ(m->AddStyle(b), 1);
  EXPECT_EQ(m->StyleCount(), 2);
  EXPECT_EQ(m->StyleAt(1)->FontName[50], 1);
  EXPECT_EQ(m->StyleAt(1)->StyleHash, b.ComputeHash());

  TcxExportCellStyle copy;
  m->CopyStyle(0, copy);
  EXPECT_TRUE(copy == a);
  EXPECT_EQ(copy.StyleHash, a.StyleHash);
  m->Release();
}

TEST_F(Styles, EqualHashesWithDifferentBytesAreDifferentStyles) {
  // Bytes 32 apart are rotated by the same amount, so flipping the same bits
  // in both keeps the hash: a true collision.
  TcxExportCellStyle a = SampleStyle(), b = SampleStyle();
  b.FontName[10] ^= 0x40;
  b.FontName[42] ^= 0x40;
  ASSERT_EQ(a.ComputeHash(), b.ComputeHash());
  ASSERT_FALSE(a == b);
  TcxExportStyleManager* m = TcxExportStyleManager::Acquire("collide");
  EXPECT_EQ(m->AddStyle(a), 0);
  EXPECT_EQ(m->AddStyle(b), 1);
  EXPECT_EQ(m->AddStyle(b), 1);
  EXPECT_EQ(m->AddStyle(a), 0);
  m->Release();
}

TEST_F(Styles, ResultsEqualTheLinearWalk) {
  // Random styles drawn from a small set of values, with many colliding
  // hashes: every index must be the one the plain walk over the list gives.
  std::mt19937 random(7);
  std::vector<TcxExportCellStyle> walk;
  auto linearIndex = [&walk](const TcxExportCellStyle& s) {
    uint32_t h = s.ComputeHash();
    for (size_t i = 0; i < walk.size(); ++i)
      if (walk[i].StyleHash == h && walk[i] == s) return static_cast<int>(i);
    TcxExportCellStyle copy = s;
    copy.StyleHash = h;
    walk.push_back(copy);
    return static_cast<int>(walk.size() - 1);
  };
  TcxExportStyleManager* m = TcxExportStyleManager::Acquire("walk");
  for (int i = 0; i < 5000; ++i) {
    TcxExportCellStyle s = SampleStyle();
    s.FontName[8] = static_cast<char>(random() % 3 ? 0 : 0x20);
    s.FontName[40] = static_cast<char>(random() % 3 ? 0 : 0x20);  // collides with byte 8
    s.FontSize = static_cast<int32_t>(random() % 4);
    s.CellBorders[random() % 4].Width = static_cast<int32_t>(random() % 3);
    ASSERT_EQ(m->AddStyle(s), linearIndex(s)) << i;
  }
  EXPECT_EQ(m->StyleCount(), static_cast<int>(walk.size()));
  m->Release();
}

TEST_F(Styles, StyleAtOutsideTheListIsAListIndexError) {
  TcxExportStyleManager* m = TcxExportStyleManager::Acquire("bounds");
  m->AddStyle(SampleStyle());
  for (int index : {1, -1}) {
    try {
      m->StyleAt(index);
      FAIL() << index;
    } catch (const EListError& e) {
      EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
  TcxExportCellStyle out;
  EXPECT_THROW(m->CopyStyle(5, out), EListError);
  m->Release();
}

TEST_F(Styles, AcquireSharesByKeyIgnoringCaseAndRegistersTheDefaultStyleOnlyWhenShared) {
  TcxExportStyleManager* first = TcxExportStyleManager::Acquire("/Out/List.HTML");
  EXPECT_EQ(first->StyleCount(), 0);  // a new manager has no style
  EXPECT_EQ(first->UserCount(), 1);
  TcxExportCellStyle own = SampleStyle();
  EXPECT_EQ(first->AddStyle(own), 0);

  TcxExportStyleManager* second = TcxExportStyleManager::Acquire("/out/list.html");
  ASSERT_EQ(second, first);
  EXPECT_EQ(second->UserCount(), 2);
  ASSERT_EQ(second->StyleCount(), 2);  // the default style was added for the second user
  EXPECT_TRUE(*second->StyleAt(1) == DefaultExportStyle());

  TcxExportStyleManager* third = TcxExportStyleManager::Acquire("/OUT/LIST.html");
  EXPECT_EQ(third, first);
  EXPECT_EQ(third->StyleCount(), 2);  // found, not added again

  TcxExportStyleManager* other = TcxExportStyleManager::Acquire("/out/other.html");
  EXPECT_NE(other, first);
  EXPECT_EQ(TcxExportStyleManager::RegisteredCount(), 2);

  first->Release();
  first->Release();
  EXPECT_EQ(TcxExportStyleManager::RegisteredCount(), 2);
  third->Release();  // the last user frees it
  EXPECT_EQ(TcxExportStyleManager::RegisteredCount(), 1);
  other->Release();
  EXPECT_EQ(TcxExportStyleManager::RegisteredCount(), 0);

  TcxExportStyleManager* fresh = TcxExportStyleManager::Acquire("/out/list.html");
  EXPECT_EQ(fresh->StyleCount(), 0);
  fresh->Release();
}

TEST_F(Styles, FreeingTheRegistryWhileInUseReportsItAndKeepsTheManagerForItsUsers) {
  TcxExportStyleManager* m = TcxExportStyleManager::Acquire("busy");
  m->AddStyle(SampleStyle());
  try {
    TcxExportStyleManager::FreeRegistry();
    FAIL() << "no error";
  } catch (const EcxExportData& e) {
    EXPECT_STREQ(e.what(), "风格管理器当前正在使用中,所以不能释放");
  }
  EXPECT_EQ(TcxExportStyleManager::RegisteredCount(), 0);
  EXPECT_EQ(m->StyleCount(), 1);  // still whole for its user
  TcxExportStyleManager* other = TcxExportStyleManager::Acquire("busy");
  EXPECT_NE(other, m);
  other->Release();
  m->Release();  // frees the detached manager (the leak checker sees it)
}

TEST_F(Styles, DefaultExportStyleUsesTheSystemColours) {
  const TcxExportCellStyle& d = DefaultExportStyle();
  EXPECT_EQ(d.AlignText, catCenter);
  EXPECT_EQ(d.FontNameText(), "Tahoma");
  for (size_t i = 6; i < cxFontNameSize; ++i) ASSERT_EQ(d.FontName[i], 0);
  EXPECT_EQ(d.FontStyle, 0);
  EXPECT_EQ(d.FontColor, 0u);  // button text: black
  EXPECT_EQ(d.FontSize, 8);
  EXPECT_EQ(d.FontCharset, 0u);
  for (const TcxExportCellBorder& b : d.CellBorders) {
    EXPECT_EQ(b.IsDefault, 0);
    EXPECT_EQ(b.Width, 1);
    EXPECT_EQ(b.Color, 0xA0A0A0u);  // button shadow
  }
  EXPECT_EQ(d.BrushStyle, cbsSolid);
  EXPECT_EQ(d.BrushBkColor, 0xFFFFFFu);  // window
  EXPECT_EQ(d.BrushFgColor, 0u);
}

TEST_F(Styles, SystemColoursAreReadAtInitialisation) {
  SetSysColor(COLOR_WINDOW, RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(DefaultExportStyle().BrushBkColor, 0xFFFFFFu);         // read once, at start-up
  EXPECT_EQ(ResolveExportColor(clWindow), RGB(0x10, 0x20, 0x30));  // the resolver is live
  InitExportEngine(nullptr, nullptr);
  EXPECT_EQ(DefaultExportStyle().BrushBkColor, RGB(0x10, 0x20, 0x30));
  ResetSysColors();
  EXPECT_EQ(ResolveExportColor(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ResolveExportColor(0x123456), 0x123456u);
  EXPECT_EQ(ResolveExportColor(clDefault), static_cast<uint32_t>(clDefault));
}

}  // namespace
}  // namespace kv::testing
