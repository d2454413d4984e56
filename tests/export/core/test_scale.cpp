// Integer lists and scales.
#include <gtest/gtest.h>

#include "export/core/ExportScale.h"
#include "platform/Exceptions.h"

namespace kv {
namespace {

std::string ListErrorOf(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const EListError& e) {
    return e.what();
  }
  return "no error";
}

TEST(Scale, GrowsToAtLeast1024ThenDoubles) {
  TcxExportScale s;
  EXPECT_EQ(s.Capacity(), 0);
  s.AddBoundary(1);
  EXPECT_EQ(s.Capacity(), 1024);
  while (s.Count() < 1022) s.AddBoundary(s.Count());
  s.AddBoundaries(1, 2);  // exactly two free slots: no growth
  EXPECT_EQ(s.Count(), 1024);
  EXPECT_EQ(s.Capacity(), 1024);
  s.AddBoundary(5);
  EXPECT_EQ(s.Capacity(), 2048);
  EXPECT_EQ(s.LastBoundary(), 5);
}

TEST(Scale, ArrangeSortsSignedAndDropsDuplicates) {
  TcxExportScale s;
  for (int v : {30, 10, 20, 10, 30}) s.AddBoundary(v);
  s.Arrange();
  EXPECT_EQ(s.Items(), (std::vector<int32_t>{10, 20, 30}));
  EXPECT_EQ(s.IntervalCount(), 2);
  EXPECT_EQ(s.IntervalSize(0), 10);
  EXPECT_EQ(s.IndexOfBoundary(30), 2);

  TcxExportScale n;
  n.AddBoundaries(5, -7);
  n.AddBoundaries(-7, 0);
  n.AddBoundary(INT32_MIN);
  n.Arrange();
  EXPECT_EQ(n.Items(), (std::vector<int32_t>{INT32_MIN, -7, 0, 5}));

  TcxExportScale empty;
  empty.Arrange();
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_EQ(empty.IntervalCount(), -1);
  EXPECT_EQ(ListErrorOf([&] { empty.LastBoundary(); }), "List index out of bounds (-1)");
}

TEST(Scale, MissingBoundaryIsAListIndexErrorNamingTheCoordinate) {
  TcxExportScale s;
  for (int v : {0, 10, 20, 30, 40}) s.AddBoundary(v);
  EXPECT_EQ(ListErrorOf([&] { s.IndexOfBoundary(15); }), "List index out of bounds (15)");
  EXPECT_EQ(ListErrorOf([&] { s.IndexOfBoundary(-5); }), "List index out of bounds (-5)");
  // Present in the scale but outside the searched range.
  EXPECT_EQ(ListErrorOf([&] { s.FindBoundary(10, 2, 4); }), "List index out of bounds (10)");
  EXPECT_EQ(s.FindBoundary(30, 2, 4), 3);
  // A range reaching beyond the list fails on the index, not by reading past it.
  EXPECT_EQ(ListErrorOf([&] { s.FindBoundary(99, 0, 9); }), "List index out of bounds (7)");
  EXPECT_EQ(ListErrorOf([&] { s.IntervalSize(4); }), "List index out of bounds (5)");
  EXPECT_EQ(ListErrorOf([&] { s.SetValues(5, 1); }), "List index out of bounds (5)");
}

TEST(Scale, SpansMapRectanglesToCells) {
  TcxExportScale s;
  s.AddBoundaries(0, 100);
  s.AddBoundaries(40, 100);
  s.AddBoundaries(70, 40);
  s.Arrange();  // 0 40 70 100
  int start = -1, finish = -1;
  s.GetSpan(40, 100, start, finish);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(finish, 3);
  s.GetSpanWithin(0, 70, 0, 2, start, finish);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(finish, 2);
  // The finish search starts at the start index and stays below AHi.
  EXPECT_EQ(ListErrorOf([&] { s.GetSpanWithin(40, 100, 0, 2, start, finish); }), "List index out of bounds (100)");
  EXPECT_EQ(ListErrorOf([&] { s.GetSpan(70, 40, start, finish); }), "List index out of bounds (40)");
}

}  // namespace
}  // namespace kv
