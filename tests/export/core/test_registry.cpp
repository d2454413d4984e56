// Provider registry, provider lifetime and engine start-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "EngineFixture.h"
#include "FakeExportProvider.h"

namespace kv::testing {
namespace {

using Registry = ExportEngineTest;

std::vector<int> RegisteredKinds() {
  std::vector<int> kinds;
  for (const TcxExportProviderClass& c : TcxExport::RegisteredProviders()) kinds.push_back(c.ExportKind());
  return kinds;
}

TEST_F(Registry, DuplicateKindOrClassOrEmptyClassIsRefusedAndChangesNothing) {
  const std::vector<int> before = RegisteredKinds();
  ASSERT_TRUE(TcxExport::RegisterProvider(FakeClass<TFakeExportProvider<41>>("TFake41")));
  ASSERT_TRUE(TcxExport::RegisterProvider(FakeClass<TFakeCacheProvider<42>>("TFake42")));

  // Same kind, other class.
  EXPECT_FALSE(TcxExport::RegisterProvider(FakeClass<TFakeCacheProvider<41>>("TOther41")));
  // Same class again (its kind is taken too, but the class test alone must refuse it).
  TcxExportProviderClass same = FakeClass<TFakeExportProvider<41>>("TFake41");
  same.Kind = 43;
  EXPECT_FALSE(TcxExport::RegisterProvider(same));
  // No class at all.
  EXPECT_FALSE(TcxExport::RegisterProvider(TcxExportProviderClass{}));

  std::vector<int> expected = before;
  expected.push_back(41);
  expected.push_back(42);
  EXPECT_EQ(RegisteredKinds(), expected);
  EXPECT_EQ(TcxExport::FindProviderClass(41).ClassName, "TFake41");
}

TEST_F(Registry, UnsupportedKindNamesTheKind) {
  try {
    TcxExport::CreateProvider(5, "/tmp/x.out");
    FAIL() << "no error";
  } catch (const EcxExportData& e) {
    EXPECT_STREQ(e.what(), "不支持导出类型: 5");
  }
  EXPECT_THROW(TcxExport::FindProviderClass(-1), EcxExportData);
}

TEST_F(Registry, MessagesComeFromTheInstalledLookup) {
  InitExportEngine([](const TcxResourceString& r) { return std::string("unsupported kind %1 (") + r.Name + ")"; },
                   nullptr);
  try {
    TcxExport::FindProviderClass(7);
    FAIL() << "no error";
  } catch (const EcxExportData& e) {
    EXPECT_STREQ(e.what(), "unsupported kind 7 (scxUnsupportedExport)");
  }
  EXPECT_EQ(FormatExportMessage(scxInvalidRowIndex.Text, -3), "行号 -3 超出范围");
}

TEST_F(Registry, CreateProviderFindsTheFirstClassOfTheKindAndSharesOwnership) {
  ASSERT_TRUE(TcxExport::RegisterProvider(FakeClass<TFakeExportProvider<51>>("TFake51")));
  ASSERT_TRUE(TcxExport::RegisterProvider(FakeClass<TFakeCacheProvider<52>>("TFake52")));
  TFakeLog::Events().clear();
  const int alive = TFakeLog::Alive();
  {
    std::shared_ptr<TcxCustomExportProvider> object = TcxExport::CreateProvider(52, "C:\\out/dir\\list.html");
    EXPECT_EQ(object->TargetName(), u"C:/out/dir/list.html");
    auto provider = std::dynamic_pointer_cast<IcxExportProvider>(object);
    auto cache = std::dynamic_pointer_cast<IcxCellInternalCache>(object);
    ASSERT_TRUE(provider && cache);
    object.reset();
    EXPECT_EQ(TFakeLog::Alive(), alive + 1);  // the interface references keep it
    provider->Finish();
    provider.reset();
    EXPECT_EQ(TFakeLog::Alive(), alive + 1);
  }
  EXPECT_EQ(TFakeLog::Alive(), alive);
  // The hook ran once, before destruction, while the manager was still held.
  EXPECT_EQ(TFakeLog::Events(), (std::vector<std::string>{"Finish", "DoBeforeDestroy 52 1"}));

  auto plain = TcxExport::CreateProvider(51, "/tmp/a.txt");
  EXPECT_EQ(std::dynamic_pointer_cast<IcxCellInternalCache>(plain), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<IcxExportProvider>(plain), nullptr);
}

TEST_F(Registry, ConstructorErrorsPassThroughUnchanged) {
  ASSERT_TRUE(TcxExport::RegisterProvider(FakeClass<TFakeExportProvider<61>>("TFake61")));
  EXPECT_THROW(TcxExport::CreateProvider(61, "fail"), EFCreateError);
}

TEST_F(Registry, StartUpRegistersTheWritersOnceInTheirOrder) {
  // Whichever writers are linked in come in the order Excel, HTML, text, XML.
  const std::vector<int> documented = {cxExportToExcel, cxExportToHtml, cxExportToText, cxExportToXml};
  std::vector<int> kinds = RegisteredKinds();
  size_t next = 0;
  for (int kind : kinds) {
    auto at = std::find(documented.begin(), documented.end(), kind);
    ASSERT_NE(at, documented.end()) << "unexpected kind " << kind;
    ASSERT_GE(static_cast<size_t>(at - documented.begin()), next) << "kind " << kind << " out of order";
    next = at - documented.begin() + 1;
  }
  EnsureExportEngine();  // a second start-up changes nothing
  EXPECT_EQ(RegisteredKinds(), kinds);
  EXPECT_TRUE(ExportEngineInitialized());
}

TEST_F(Registry, StartUpKeepsAHostsInitialisation) {
  ResetEngine();
  InitExportEngine([](const TcxResourceString&) { return std::string("translated"); },
                   [](TColor) -> uint32_t { return 0x123456; });
  EnsureExportEngine();
  EXPECT_EQ(cxGetResourceString(scxIllegalWidth), "translated");
  EXPECT_EQ(ResolveExportColor(clWindow), 0x123456u);
  ResetEngine();
  EXPECT_EQ(cxGetResourceString(scxIllegalWidth), "非法的列宽");
}

}  // namespace
}  // namespace kv::testing
