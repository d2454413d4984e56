// Interim engine declarations used until the export engine core lands on
// this branch; replaced by the core's own headers then.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Variant.h"

namespace kv {

KV_DECLARE_EXCEPTION(EcxExportData, Exception);

#pragma pack(push, 1)
struct TcxExportCellBorder {
  uint8_t IsDefault = 1;
  int32_t Width = 0;
  uint32_t Color = 0;
};
struct TcxExportCellStyle {
  uint8_t AlignText = 0;
  char FontName[64] = {};
  uint8_t FontStyle = 0;
  uint32_t FontColor = 0;
  int32_t FontSize = 8;
  uint32_t FontCharset = 0;
  TcxExportCellBorder CellBorders[4];
  uint8_t BrushStyle = 0;
  uint32_t BrushBkColor = 0;
  uint32_t BrushFgColor = 0;
  uint32_t StyleHash = 0;
};
#pragma pack(pop)

inline uint32_t ExportHash(const void* ABytes, size_t ACount) {
  uint32_t h = 0;
  const uint8_t* p = static_cast<const uint8_t*>(ABytes);
  for (size_t i = 0; i < ACount; ++i) h = ((h << 5) | (h >> 27)) ^ p[i];
  return h;
}

class TcxExportStyleManager {
public:
  static TcxExportStyleManager* Acquire(const std::string&) { return new TcxExportStyleManager; }
  void Release() { delete this; }
  int AddStyle(TcxExportCellStyle& AStyle) {
    AStyle.StyleHash = ExportHash(&AStyle, offsetof(TcxExportCellStyle, StyleHash));
    for (size_t i = 0; i < FStyles.size(); ++i)
      if (std::memcmp(&FStyles[i], &AStyle, sizeof AStyle) == 0) return static_cast<int>(i);
    FStyles.push_back(AStyle);
    return static_cast<int>(FStyles.size() - 1);
  }
  const TcxExportCellStyle* StyleAt(int AIndex) const {
    if (AIndex < 0 || AIndex >= static_cast<int>(FStyles.size())) RaiseListIndexError(AIndex);
    return &FStyles[AIndex];
  }
  int StyleCount() const { return static_cast<int>(FStyles.size()); }

private:
  std::vector<TcxExportCellStyle> FStyles;
};

class IcxExportProvider {
public:
  virtual ~IcxExportProvider() = default;
  virtual void Finish() = 0;
  virtual const TcxExportCellStyle* CellStyleAt(int ACol, int ARow) = 0;
  virtual const TcxExportCellStyle* StyleAt(int AStyleIndex) = 0;
  virtual int AddStyle(TcxExportCellStyle& AStyle) = 0;
  virtual void PutDouble(int ACol, int ARow, double AValue) = 0;
  virtual void PutInteger(int ACol, int ARow, int AValue) = 0;
  virtual void PutText(int ACol, int ARow, const std::string& AText) = 0;
  virtual void PutWideText(int ACol, int ARow, const std::u16string& AText) = 0;
  virtual void ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) = 0;
  virtual void CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) = 0;
  virtual void ApplyStyle(int ACol, int ARow, TcxExportCellStyle& AStyle) = 0;
  virtual void ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) = 0;
  virtual void MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) = 0;
  virtual void PutValue(int ACol, int ARow, const Variant& AValue) = 0;
  virtual void DefineColumnWidth(int ACol, int AWidth) = 0;
  virtual void DefineDefaultStyle(TcxExportCellStyle& AStyle) = 0;
  virtual void DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) = 0;
  virtual void DefineRowHeight(int ARow, int AHeight) = 0;
  virtual void PutGraphic(int ACol, int ARow, const void* APicture) = 0;
  virtual bool AcceptsGraphics() = 0;
};

class TcxCustomExportProvider {
public:
  explicit TcxCustomExportProvider(const std::string& AFileName) : FTargetName(Utf8ToUtf16(AFileName)) {}
  virtual ~TcxCustomExportProvider() = default;
  std::u16string FTargetName;
};

inline int CharsetToCodePage(int ACharset) {
  switch (ACharset) {
    case 128: return 932;
    case 129: case 130: return 949;
    case 134: return 936;
    case 136: return 950;
    default: return 0;
  }
}
inline std::u16string AnsiToWideText(const std::string& AText, int ACharset) {
  int cp = CharsetToCodePage(ACharset);
  if (cp == 0 || cp == SystemCodePage()) return Utf8ToUtf16(AText);
  return Utf8ToUtf16(DecodeText(EncodeText(AText, SystemCodePage()), cp));
}
inline uint32_t ExportWindowColor() { return 0xFFFFFF; }

}  // namespace kv
