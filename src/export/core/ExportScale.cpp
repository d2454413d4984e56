// Integer lists and scales.
#include "export/core/ExportScale.h"

#include <algorithm>

#include "platform/Exceptions.h"

namespace kv {

int32_t TcxExportIntList::Values(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[AIndex];
}

void TcxExportIntList::SetValues(int AIndex, int32_t AValue) {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  FItems[AIndex] = AValue;
}

int TcxExportIntList::Add(int32_t AValue) {
  FItems.push_back(AValue);
  return Count() - 1;
}

void TcxExportScale::Grow() {
  if (FItems.capacity() - FItems.size() < 2) FItems.reserve(std::max<size_t>(FItems.size() * 2, 1024));
}

void TcxExportScale::AddBoundary(int32_t AValue) {
  Grow();
  FItems.push_back(AValue);
}

void TcxExportScale::AddBoundaries(int32_t AValue1, int32_t AValue2) {
  Grow();
  FItems.push_back(AValue1);
  FItems.push_back(AValue2);
}

int32_t TcxExportScale::LastBoundary() const { return Values(Count() - 1); }

void TcxExportScale::Arrange() {
  std::sort(FItems.begin(), FItems.end());
  FItems.erase(std::unique(FItems.begin(), FItems.end()), FItems.end());
}

int TcxExportScale::IndexOfBoundary(int32_t AValue) const { return FindBoundary(AValue, 0, Count() - 1); }

int TcxExportScale::FindBoundary(int32_t AValue, int ALo, int AHi) const {
  int lo = ALo, hi = AHi;
  while (lo <= hi) {
    int mid = static_cast<int>((static_cast<int64_t>(lo) + hi) / 2);
    int32_t v = Values(mid);  // a range reaching outside the list fails here
    if (v < AValue)
      lo = mid + 1;
    else if (v == AValue)
      return mid;
    else
      hi = mid - 1;
  }
  RaiseListIndexError(AValue);
}

void TcxExportScale::GetSpan(int32_t AStart, int32_t AFinish, int& AStartIndex, int& AFinishIndex) const {
  AStartIndex = IndexOfBoundary(AStart);
  AFinishIndex = FindBoundary(AFinish, AStartIndex, Count() - 1);
}

void TcxExportScale::GetSpanWithin(int32_t AStart, int32_t AFinish, int ALo, int AHi, int& AStartIndex,
                                   int& AFinishIndex) const {
  AStartIndex = FindBoundary(AStart, ALo, AHi);
  AFinishIndex = FindBoundary(AFinish, AStartIndex, AHi);
}

int32_t TcxExportScale::IntervalSize(int AIndex) const { return Values(AIndex + 1) - Values(AIndex); }

}  // namespace kv
