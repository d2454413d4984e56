// The text writer: its lines byte for byte, padded and separated, with
// merged cells, GBK texts, the format texts, and the file it writes.
#include <gtest/gtest.h>

#include <vector>

#include "TextWritersSupport.h"
#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "writers/text/TXTExportProvider.h"

namespace kv {
namespace {

using testing::MessageOf;
using testing::TScratchFolder;

// GBK bytes of the texts used below.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";  // 中文

class TXTExportProvider : public ::testing::Test {
 protected:
  std::shared_ptr<TcxTXTExportProvider> Make(const std::string& AName = "out.txt") {
    return TcxCustomExportProvider::Create<TcxTXTExportProvider>(FFolder.File(AName));
  }
  // A provider holding a rectangle of texts, rows given top to bottom.
  std::shared_ptr<TcxTXTExportProvider> MakeWith(const std::vector<std::vector<std::string>>& ARows) {
    auto p = Make();
    p->DefineGrid(static_cast<int>(ARows[0].size()), static_cast<int>(ARows.size()), true);
    for (size_t r = 0; r < ARows.size(); ++r)
      for (size_t c = 0; c < ARows[r].size(); ++c)
        if (!ARows[r][c].empty()) p->PutText(static_cast<int>(c), static_cast<int>(r), ARows[r][c]);
    return p;
  }
  static void Format(TcxTXTExportProvider& AProvider, const std::string& ASeparator, const std::string& APrefix,
                     const std::string& ASuffix) {
    AProvider.PutFormatText(ASeparator);
    AProvider.PutFormatText(APrefix);
    AProvider.PutFormatText(ASuffix);
  }
  static std::string Output(TcxTXTExportProvider& AProvider) {
    TMemoryStream stream;
    AProvider.OutputCells(stream);
    return stream.Data();
  }
  TScratchFolder FFolder;
};

TEST_F(TXTExportProvider, LayoutsByteForByte) {
  struct Case {
    const char* what;
    std::vector<std::vector<std::string>> rows;
    std::string separator, prefix, suffix;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"padded", {{"ab", "x"}, {"abc", "yz"}}, "", "", "", "ab   x   \r\nabc  yz  \r\n"},
      {"separated", {{"ab", "x"}, {"abc", "yz"}}, ";", "", "", "ab;x\r\nabc;yz\r\n"},
      {"quoted, quotes not doubled", {{"a\"b", "c"}, {"", "d"}}, ",", "\"", "\"", "\"a\"b\",\"c\"\r\n\"\",\"d\"\r\n"},
      {"empty cell padded with prefix and suffix", {{"a", ""}}, "", "[", "]", "[a]  []  \r\n"},
      {"prefix and suffix do not count",
       {{"abc", "x"}, {"a", "xy"}},
       "",
       "<<",
       ">>",
       "<<abc>>  <<x>>   \r\n<<a>>    <<xy>>  \r\n"},
      {"texts are not escaped", {{"a\tb\r\nc;d", "e"}}, ";", "", "", "a\tb\r\nc;d;e\r\n"},
      {"single column", {{"only"}}, "", "", "", "only  \r\n"},
  };
  for (const Case& c : cases) {
    auto p = MakeWith(c.rows);
    if (!c.separator.empty() || !c.prefix.empty() || !c.suffix.empty()) Format(*p, c.separator, c.prefix, c.suffix);
    EXPECT_EQ(Output(*p), c.expected) << c.what;
  }
}

TEST_F(TXTExportProvider, MergedTextSharesItsWidthAmongItsColumns) {
  auto p = MakeWith({{"0123456789", ""}, {"a", "b"}});
  p->MergeCells(0, 0, 1, 2);
  // Both columns are 5 wide; the merged text is written whole in the first.
  EXPECT_EQ(Output(*p), "0123456789  " + std::string(7, ' ') + "\r\n" + "a      b      \r\n");

  // An odd length is shared rounded down; a wider cell still wins.
  auto q = MakeWith({{"abcde", "", ""}, {"a", "bbbb", "c"}});
  q->MergeCells(0, 0, 1, 3);  // share 1
  EXPECT_EQ(Output(*q), "abcde  " + std::string(6, ' ') + std::string(3, ' ') + "\r\n" + "a  bbbb  c  \r\n");
}

TEST_F(TXTExportProvider, CoveredCellsWithValuesAreWritten) {
  auto p = MakeWith({{"ab", "x"}});
  p->MergeCells(0, 0, 1, 2);
  // The covered cell's value still shows, padded by its column.
  EXPECT_EQ(Output(*p), "ab  x  \r\n");
}

TEST_F(TXTExportProvider, GbkTextIsWrittenAndPaddedByItsBytes) {
  ASSERT_EQ(SystemCodePage(), 936);
  auto p = Make();
  p->DefineGrid(2, 2, true);
  p->PutText(0, 0, "中文");  // 4 bytes in GBK, 6 in UTF-8
  p->PutText(0, 1, "abcde");
  p->PutWideText(1, 0, u"列");  // 2 bytes in GBK
  p->PutText(1, 1, "z");
  EXPECT_EQ(Output(*p), kZhongWenGbk + "   " + "\xC1\xD0" + "  " + "\r\n" + "abcde  z   \r\n");

  // Format texts are written in GBK too.
  Format(*p, "", "\xE3\x80\x8C", "\xE3\x80\x8D");  // 「 」
  std::string out = Output(*p);
  EXPECT_EQ(out.substr(0, 2 + 4 + 2), "\xA1\xB8" + kZhongWenGbk + "\xA1\xB9");
  EXPECT_EQ(DecodeText(out, 936), "「中文」   「列」  \r\n「abcde」  「z」   \r\n");

  // With UTF-8 as the system code page the same cell counts 6 bytes.
  SetSystemCodePage(CP_UTF8);
  auto u = Make("utf8.txt");
  u->DefineGrid(1, 2, true);
  u->PutText(0, 0, "中文");
  u->PutText(0, 1, "abcde");
  EXPECT_EQ(Output(*u), "中文  \r\nabcde   \r\n");
  SetSystemCodePage(936);
}

TEST_F(TXTExportProvider, NumbersPicturesAndNestedContent) {
  auto p = Make();
  p->DefineGrid(7, 1, true);
  p->PutDouble(0, 0, 1.5);
  p->PutDouble(1, 0, 1e20);
  p->PutDouble(2, 0, 0.1);
  p->PutInteger(3, 0, -42);
  TBitmap bitmap(1, 1);
  p->PutGraphic(4, 0, bitmap);  // never sent by the exporters; written as empty
  p->PutText(5, 0, "hidden");
  p->PutCellCache(5, 0, Make("detail.txt"));  // a nested table is written as empty
  p->PutText(6, 0, "");
  Format(*p, "|", "", "");
  EXPECT_EQ(Output(*p), "1.5|1E20|0.1|-42|||\r\n");
  EXPECT_FALSE(p->AcceptsGraphics());
}

TEST_F(TXTExportProvider, FormatTextsAfterTheThirdChangeNothing) {
  auto p = Make();
  EXPECT_EQ(p->FormatTextCount(), 0);
  EXPECT_EQ(p->CellSeparator() + p->CellPrefix() + p->CellSuffix(), "");
  for (const char* text : {",", "<", ">", "ignored", "ignored too"}) p->PutFormatText(text);
  EXPECT_EQ(p->CellSeparator(), ",");
  EXPECT_EQ(p->CellPrefix(), "<");
  EXPECT_EQ(p->CellSuffix(), ">");
  EXPECT_EQ(p->FormatTextCount(), 5);
}

TEST_F(TXTExportProvider, RegisteredAsKindFourAndFinishWritesTheFile) {
  EnsureExportEngine();
  const std::vector<TcxExportProviderClass> classes = TcxExport::RegisteredProviders();
  bool found = false;
  for (const TcxExportProviderClass& c : classes)
    if (c.ExportKind() == 4) found = c.ClassName == "TcxTXTExportProvider";
  EXPECT_TRUE(found);

  const std::string target = FFolder.File("列表.txt");
  std::shared_ptr<TcxCustomExportProvider> created = TcxExport::CreateProvider(cxExportToText, target);
  auto provider = std::dynamic_pointer_cast<IcxExportProvider>(created);
  auto format = std::dynamic_pointer_cast<IcxTextFormat>(created);
  auto cache = std::dynamic_pointer_cast<IcxCellInternalCache>(created);
  ASSERT_TRUE(provider && format && cache);
  created.reset();
  EXPECT_FALSE(provider->AcceptsGraphics());
  format->PutFormatText("\t");
  provider->DefineGrid(2, 1, false);
  provider->PutText(0, 0, "名称");
  provider->PutInteger(1, 0, 7);
  provider->Finish();
  EXPECT_EQ(ReadFileBytes(target), "\xC3\xFB\xB3\xC6\t7\r\n");

  // Finish again truncates the file first.
  provider->PutText(0, 0, "a");
  provider->Finish();
  EXPECT_EQ(ReadFileBytes(target), "a\t7\r\n");
}

TEST_F(TXTExportProvider, FinishIntoAMissingFolderFails) {
  auto p = TcxCustomExportProvider::Create<TcxTXTExportProvider>(FFolder.File("no/such/out.txt"));
  p->DefineGrid(1, 1, true);
  EXPECT_THROW(p->Finish(), EFCreateError);
}

}  // namespace
}  // namespace kv
