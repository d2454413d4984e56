// Editor properties of grid items: how an item shows and edits its values.
//
// Each class stands for one editor kind (text, mask, calc, currency, date,
// spin, time, image, check box).  The grid reads from them the horizontal
// alignment of the cell text, whether the cell shows the record's display
// text (text editors) or a text the editor makes of the value, the text made
// of a value (`GetDisplayText`, by the class's display rules below), whether
// two values are equal for cell merging, and, for image editors, the picture
// kind of a value.  Properties are plain objects owned by their item (or by
// whoever created them for an `OnGetProperties` handler); `Clone` copies
// them for detail views.
#pragma once

#include <memory>
#include <string>

#include "platform/Graphics.h"
#include "platform/Types.h"
#include "platform/Variant.h"

namespace kv {

// Where an editor takes the text it shows from.
enum TcxEditValueSource { evsKey, evsText, evsValue };

struct TcxEditAlignment {
  TAlignment Horz = taLeftJustify;
};

class TcxCustomEditProperties {
 public:
  virtual ~TcxCustomEditProperties() = default;
  virtual std::unique_ptr<TcxCustomEditProperties> Clone() const = 0;
  // The class name ("TcxTextEditProperties", ...).
  virtual const char* ClassName() const = 0;

  TcxEditAlignment Alignment;

  // evsText: the cell shows the record's display text (text-based editors
  // whose text is the data's own text); evsValue: the editor makes the text
  // from the value (GetDisplayText).
  virtual TcxEditValueSource GetEditValueSource(bool AEditFocused) const;
  // The text the editor shows for AValue; a null or empty value shows "".
  // With AFullText false an editor may shorten it (none of these does).
  virtual std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const;
  // Whether two values show as one merged cell: they are equal by VarCompare
  // (ValueTypes.h); image editors compare the picture bytes.
  virtual bool IsValueEqual(const Variant& A, const Variant& B) const;
};

// A one-line text: the value's text.
class TcxTextEditProperties : public TcxCustomEditProperties {
 public:
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxTextEditProperties"; }
  TcxEditValueSource GetEditValueSource(bool AEditFocused) const override;
};

// A text with an input mask; the mask shapes what is typed, the display is
// the value's text.
class TcxMaskEditProperties : public TcxTextEditProperties {
 public:
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxMaskEditProperties"; }
  std::string EditMask;
};

// A number typed with a calculator: `DisplayFormat` (FormatFloat) when set,
// else the number in general format with `Precision` significant digits.
// Right-justified by default.
class TcxCalcEditProperties : public TcxCustomEditProperties {
 public:
  TcxCalcEditProperties() { Alignment.Horz = taRightJustify; }
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxCalcEditProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  std::string DisplayFormat;
  int Precision = 15;
};

// Money: `DisplayFormat` (FormatFloat) when set, else the process's currency
// format (CurrencyFormatText).  Right-justified by default.
class TcxCurrencyEditProperties : public TcxCustomEditProperties {
 public:
  TcxCurrencyEditProperties() { Alignment.Horz = taRightJustify; }
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxCurrencyEditProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  std::string DisplayFormat;
};

enum TcxDateEditKind { ckDate, ckDateTime };

// Dates: `DisplayFormat` (FormatDateTime) when set; else the short date
// (ckDate) or DateTimeToStr (ckDateTime).
class TcxDateEditProperties : public TcxCustomEditProperties {
 public:
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxDateEditProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  std::string DisplayFormat;
  TcxDateEditKind Kind = ckDate;
};

enum TcxSpinEditValueType { vtInt, vtFloat };

// Numbers changed with spin buttons: `DisplayFormat` when set; else whole
// numbers (vtInt, rounded half away from zero) or FloatToStr (vtFloat).
// Right-justified by default.
class TcxSpinEditProperties : public TcxCustomEditProperties {
 public:
  TcxSpinEditProperties() { Alignment.Horz = taRightJustify; }
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxSpinEditProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  std::string DisplayFormat;
  TcxSpinEditValueType ValueType = vtInt;
};

enum TcxTimeEditTimeFormat { tfHourMinSec, tfHourMin, tfHour };

// Times of day: "hh:nn:ss", "hh:nn" or "hh" by `TimeFormat`.
class TcxTimeEditProperties : public TcxCustomEditProperties {
 public:
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxTimeEditProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  TcxTimeEditTimeFormat TimeFormat = tfHourMinSec;
};

// Makes an empty picture of one kind.
using TGraphicClass = std::unique_ptr<TGraphic> (*)();

// Pictures held as the bytes of a picture file.  The display text is empty;
// the picture kind of a value is `GraphicClass` when set, else the kind its
// bytes start with (a bitmap for "BM").  Centred by default.
class TcxImageProperties : public TcxCustomEditProperties {
 public:
  TcxImageProperties() { Alignment.Horz = taCenter; }
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxImageProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  bool IsValueEqual(const Variant& A, const Variant& B) const override;

  // The picture kind for a value; nullptr when the value is null or empty or
  // its bytes are of no known kind.
  TGraphicClass GetGraphicClass(const Variant& AValue) const;
  // The picture a value holds, made with GetGraphicClass and loaded from
  // the value's bytes; nullptr when there is no kind for it or the bytes are
  // not a picture of that kind.
  std::unique_ptr<TGraphic> LoadPicture(const Variant& AValue) const;

  TGraphicClass GraphicClass = nullptr;
};

// A check box: the value is checked when it equals `ValueChecked`,
// unchecked when it equals `ValueUnchecked`, else grayed; the display texts
// are `DisplayChecked`, `DisplayUnchecked` and `DisplayGrayed`.  Centred by
// default.
class TcxCheckBoxProperties : public TcxCustomEditProperties {
 public:
  TcxCheckBoxProperties() { Alignment.Horz = taCenter; }
  std::unique_ptr<TcxCustomEditProperties> Clone() const override;
  const char* ClassName() const override { return "TcxCheckBoxProperties"; }
  std::string GetDisplayText(const Variant& AValue, bool AFullText = true) const override;
  Variant ValueChecked = Variant(true);
  Variant ValueUnchecked = Variant(false);
  std::string DisplayChecked = "True";
  std::string DisplayUnchecked = "False";
  std::string DisplayGrayed;
};

// The process's currency format applied to a number (symbol, thousands
// separators, CurrencyDecimals decimals, and the positive and negative
// currency formats of the format settings): "￥1,234.50", "￥-3.00".
std::string CurrencyFormatText(double AValue);

// The bitmap kind (TGraphicClass for TBitmap).
std::unique_ptr<TGraphic> NewBitmapGraphic();

}  // namespace kv
