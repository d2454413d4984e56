// Component ownership, file name rules and exclusive file streams.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Components.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace kv {
namespace {

struct Probe : TComponent {
  using TComponent::TComponent;
  int* Counter = nullptr;
  ~Probe() override { if (Counter) ++*Counter; }
};

TEST(Components, OwnerFreesOwnedAndDirectDeleteDetaches) {
  int freed = 0;
  auto* owner = new TComponent();
  auto* a = new Probe(owner);
  auto* b = new Probe(owner);
  a->Counter = b->Counter = &freed;
  ASSERT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  delete a;
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_THROW(owner->Components(1), EListError);
  delete owner;
  EXPECT_EQ(freed, 2);
}

TEST(Files, ExtensionRules) {
  EXPECT_EQ(ExtractFileExt("report"), "");
  EXPECT_EQ(ExtractFileExt("/a.b/report"), "");
  EXPECT_EQ(ExtractFileExt("C:\\a.b\\out.DBF"), ".DBF");
  EXPECT_EQ(ChangeFileExt("/x/list.txt", ".xls"), "/x/list.xls");
  EXPECT_EQ(ChangeFileExt("/x.y/list", ".xls"), "/x.y/list.xls");
  EXPECT_TRUE(SameTextAscii(".dbf", ".DBF"));
  EXPECT_FALSE(SameTextAscii(".dbf", ".dbt"));
}

TEST(Files, ExpandFileNameResolvesDots) {
  const std::string cwd = GetCurrentDir();
  const std::string base = cwd.back() == '/' ? cwd : cwd + "/";
  EXPECT_EQ(ExpandFileName("out.xls"), base + "out.xls");
  EXPECT_EQ(ExpandFileName("./out.xls"), base + "out.xls");
  EXPECT_EQ(ExpandFileName("/a/b/../c/./d.txt"), "/a/c/d.txt");
  EXPECT_EQ(ExpandFileName("/a/b/."), "/a/b/");
}

TEST(FileStream, SecondOpenFailsWhileHeld) {
  std::string name = ::testing::TempDir() + "kv_exclusive.bin";
  {
    TFileStream f(name, fmCreate);
    f.WriteString("abc");
    EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareExclusive), EFOpenError);
  }
  TFileStream again(name, fmOpenReadWrite | fmShareExclusive);
  EXPECT_EQ(again.Size(), 3);
  std::remove(name.c_str());
  EXPECT_THROW(TFileStream("/nonexistent-dir/x.bin", fmCreate), EFCreateError);
}

}  // namespace
}  // namespace kv
