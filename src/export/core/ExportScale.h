// Integer lists and scales: the sorted pixel boundaries from which a view
// exporter derives the columns and rows of the cell grid.
//
// `TcxExportScale` collects coordinates in any order (duplicates allowed);
// once arranged it is strictly ascending, and the interval between boundary
// i and i+1 is column (or row) i.  Indexed access outside the list raises
// the class library's list-index error.
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

class TcxExportIntList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  int Capacity() const { return static_cast<int>(FItems.capacity()); }
  // Indexed access; EListError with the index when outside the list.
  int32_t Values(int AIndex) const;
  void SetValues(int AIndex, int32_t AValue);
  int Add(int32_t AValue);
  void Clear() { FItems.clear(); }
  const std::vector<int32_t>& Items() const { return FItems; }

 protected:
  std::vector<int32_t> FItems;
};

class TcxExportScale : public TcxExportIntList {
 public:
  // Append coordinates (unsorted, duplicates allowed until Arrange).  Before
  // appending, if fewer than 2 free slots remain, the capacity becomes twice
  // the count, but at least 1024.
  void AddBoundary(int32_t AValue);
  void AddBoundaries(int32_t AValue1, int32_t AValue2);
  // The last stored coordinate; EListError when the scale is empty.
  int32_t LastBoundary() const;
  // Sorts ascending and removes duplicates.
  void Arrange();
  // Index of a coordinate in the whole scale; EListError naming AValue when
  // it is not a boundary.
  int IndexOfBoundary(int32_t AValue) const;
  // Binary search between indexes ALo and AHi; EListError naming AValue when
  // the coordinate is not found there.
  int FindBoundary(int32_t AValue, int ALo, int AHi) const;
  // AStartIndex := IndexOfBoundary(AStart); AFinishIndex := FindBoundary(AFinish,
  // AStartIndex, last index).
  void GetSpan(int32_t AStart, int32_t AFinish, int& AStartIndex, int& AFinishIndex) const;
  // AStartIndex := FindBoundary(AStart, ALo, AHi); AFinishIndex :=
  // FindBoundary(AFinish, AStartIndex, AHi).
  void GetSpanWithin(int32_t AStart, int32_t AFinish, int ALo, int AHi, int& AStartIndex, int& AFinishIndex) const;
  // Number of boundaries minus 1.
  int IntervalCount() const { return Count() - 1; }
  // Values(AIndex + 1) - Values(AIndex).
  int32_t IntervalSize(int AIndex) const;

 private:
  void Grow();
};

}  // namespace kv
