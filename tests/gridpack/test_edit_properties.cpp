// Editor properties: display texts made from values, alignments, value
// sources, picture kinds; the properties and texts columns give for records
// (own, default by field type, from OnGetProperties); cell-merging comparisons.
#include <gtest/gtest.h>

#include "TableFixture.h"
#include "platform/Bitmap.h"
#include "platform/SysUtils.h"

namespace kv {
namespace {

using testing::TTableForm;

TEST(EditProperties, DisplayTextsFromValues) {
  TcxTextEditProperties text;
  TcxMaskEditProperties mask;
  TcxCalcEditProperties calc;
  TcxCalcEditProperties calcFormat;
  calcFormat.DisplayFormat = "0.00";
  TcxCurrencyEditProperties currency;
  TcxCurrencyEditProperties currencyFormat;
  currencyFormat.DisplayFormat = "#,##0.0 元";
  TcxDateEditProperties date;
  TcxDateEditProperties dateTime;
  dateTime.Kind = ckDateTime;
  TcxDateEditProperties dateFormat;
  dateFormat.DisplayFormat = "yyyy年m月d日";
  TcxSpinEditProperties spin;
  TcxSpinEditProperties spinFloat;
  spinFloat.ValueType = vtFloat;
  TcxTimeEditProperties time;
  TcxTimeEditProperties hourMin;
  hourMin.TimeFormat = tfHourMin;
  TcxCheckBoxProperties check;
  TcxImageProperties image;
  TDateTime day = EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 9, 0);

  struct Case {
    const TcxCustomEditProperties* Properties;
    Variant Value;
    const char* Text;
  } cases[] = {
      {&text, Variant("abc"), "abc"},
      {&text, Variant(1.5), "1.5"},
      {&text, Variant::Null(), ""},
      {&mask, Variant(42), "42"},
      {&calc, Variant(1.0 / 3), "0.333333333333333"},
      {&calcFormat, Variant(2.5), "2.50"},
      {&calc, Variant("x"), "x"},  // not a number: its text
      {&currency, Variant::Currency(12345600), "￥1,234.56"},
      {&currency, Variant(-3.0), "￥-3.00"},
      {&currency, Variant(-0.001), "￥0.00"},  // rounds to zero: no sign
      {&currencyFormat, Variant(1234.56), "1,234.6 元"},
      {&date, Variant::DateTime(day), "2024-05-06"},
      {&dateTime, Variant::DateTime(day), "2024-05-06 07:08:09"},
      {&dateFormat, Variant::DateTime(day), "2024年5月6日"},
      {&spin, Variant(2.5), "3"},
      {&spin, Variant(-2.5), "-3"},
      {&spinFloat, Variant(2.5), "2.5"},
      {&time, Variant::DateTime(day), "07:08:09"},
      {&hourMin, Variant::DateTime(day), "07:08"},
      {&check, Variant(true), "True"},
      {&check, Variant(false), "False"},
      {&check, Variant::Null(), ""},
      {&check, Variant(5), ""},
      {&image, Variant("BM..."), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Properties->ClassName()) + " " + c.Text);
    EXPECT_EQ(c.Properties->GetDisplayText(c.Value), c.Text);
  }
}

TEST(EditProperties, CurrencyFormatsFollowTheSettings) {
  TFormatSettings saved = FormatSettings();
  FormatSettings().CurrencyString = "$";
  struct Case {
    int Positive, Negative;
    double Value;
    const char* Text;
  } cases[] = {{0, 0, -1, "($1.00)"},  {1, 1, 1234.5, "1,234.50$"}, {2, 5, -1, "-1.00$"}, {3, 8, -1, "-1.00 $"},
               {0, 12, -1, "$ -1.00"}, {0, 15, -1, "(1.00 $)"},     {2, 2, 2, "$ 2.00"}};
  for (const Case& c : cases) {
    FormatSettings().CurrencyFormat = c.Positive;
    FormatSettings().NegCurrFormat = c.Negative;
    EXPECT_EQ(CurrencyFormatText(c.Value), c.Text);
  }
  FormatSettings().CurrencyDecimals = 0;
  EXPECT_EQ(CurrencyFormatText(2.6), "$ 3");
  FormatSettings() = saved;
}

TEST(EditProperties, AlignmentsSourcesAndPictures) {
  EXPECT_EQ(TcxTextEditProperties().Alignment.Horz, taLeftJustify);
  EXPECT_EQ(TcxCalcEditProperties().Alignment.Horz, taRightJustify);
  EXPECT_EQ(TcxCurrencyEditProperties().Alignment.Horz, taRightJustify);
  EXPECT_EQ(TcxSpinEditProperties().Alignment.Horz, taRightJustify);
  EXPECT_EQ(TcxCheckBoxProperties().Alignment.Horz, taCenter);
  EXPECT_EQ(TcxImageProperties().Alignment.Horz, taCenter);
  EXPECT_EQ(TcxTextEditProperties().GetEditValueSource(false), evsText);
  EXPECT_EQ(TcxMaskEditProperties().GetEditValueSource(false), evsText);
  EXPECT_EQ(TcxDateEditProperties().GetEditValueSource(false), evsValue);
  EXPECT_EQ(TcxCurrencyEditProperties().GetEditValueSource(false), evsValue);
  // Clones keep their class and settings.
  TcxDateEditProperties date;
  date.DisplayFormat = "yy";
  date.Alignment.Horz = taCenter;
  std::unique_ptr<TcxCustomEditProperties> copy = date.Clone();
  ASSERT_NE(dynamic_cast<TcxDateEditProperties*>(copy.get()), nullptr);
  EXPECT_EQ(static_cast<TcxDateEditProperties*>(copy.get())->DisplayFormat, "yy");
  EXPECT_EQ(copy->Alignment.Horz, taCenter);

  TcxImageProperties image;
  TBitmap bitmap(2, 1);
  bitmap.SetPixel(1, 0, RGB(255, 0, 0));
  Variant picture(bitmap.SaveToBytes());
  EXPECT_EQ(image.GetGraphicClass(picture), &NewBitmapGraphic);
  std::unique_ptr<TGraphic> loaded = image.LoadPicture(picture);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 2);
  EXPECT_EQ(static_cast<TBitmap*>(loaded.get())->Pixel(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(image.GetGraphicClass(Variant::Null()), nullptr);
  EXPECT_EQ(image.GetGraphicClass(Variant("GIF89a")), nullptr);
  EXPECT_EQ(image.LoadPicture(Variant("BM broken")), nullptr);  // not a picture after all
  EXPECT_TRUE(image.IsValueEqual(picture, Variant(bitmap.SaveToBytes())));
  EXPECT_FALSE(image.IsValueEqual(picture, Variant::Null()));
}

TEST(ColumnProperties, DefaultsByFieldOwnAndPerRecord) {
  TTableForm f;
  f.Define({{"S", ftString, 10},
            {"I", ftInteger},
            {"F", ftFloat},
            {"C", ftCurrency},
            {"B", ftBoolean},
            {"D", ftDate},
            {"DT", ftDateTime},
            {"T", ftTime},
            {"G", ftGraphic},
            {"M", ftMemo}});
  struct Case {
    const char* Field;
    const char* ClassName;
    TAlignment Horz;
  } cases[] = {{"S", "TcxTextEditProperties", taLeftJustify},  {"I", "TcxTextEditProperties", taRightJustify},
               {"F", "TcxTextEditProperties", taRightJustify}, {"C", "TcxCurrencyEditProperties", taRightJustify},
               {"B", "TcxCheckBoxProperties", taCenter},       {"D", "TcxDateEditProperties", taLeftJustify},
               {"DT", "TcxDateEditProperties", taLeftJustify}, {"T", "TcxTimeEditProperties", taLeftJustify},
               {"G", "TcxImageProperties", taCenter},          {"M", "TcxTextEditProperties", taLeftJustify}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Field);
    TcxCustomEditProperties* p = f.Column(c.Field)->GetProperties();
    EXPECT_STREQ(p->ClassName(), c.ClassName);
    EXPECT_EQ(p->Alignment.Horz, c.Horz);
  }
  EXPECT_EQ(static_cast<TcxDateEditProperties*>(f.Column("DT")->GetProperties())->Kind, ckDateTime);
  EXPECT_NE(dynamic_cast<const TcxCurrencyValueType*>(f.Column("C")->DataBinding()->ValueTypeClass()), nullptr);
  // A float field marked as money gets the currency editor.
  static_cast<TFloatField*>(f.DataSet->FieldByName("F"))->Currency = true;
  f.View->DeleteColumn(f.Column("F")->Index());
  TcxGridDBColumn* money = f.View->CreateColumn();
  money->DataBinding()->FieldName = "F";
  EXPECT_STREQ(money->GetProperties()->ClassName(), "TcxCurrencyEditProperties");

  // Own properties win; OnGetProperties may give others per record.
  f.AddRow({"x", "1", "2.5"});
  f.AddRow({"y", "2", "3.5"});
  auto* calc = f.Column("I")->SetPropertiesClass<TcxCalcEditProperties>();
  calc->DisplayFormat = "0.0";
  EXPECT_EQ(f.Column("I")->GetProperties(), calc);
  TcxSpinEditProperties spin;
  f.Column("I")->OnGetProperties = [&](TcxCustomGridTableItem*, TcxCustomGridRecord* ARecord,
                                       TcxCustomEditProperties*& AProperties) {
    if (ARecord && ARecord->Index() == 1) AProperties = &spin;
  };
  TcxGridViewData* data = f.View->ViewData();
  EXPECT_EQ(f.Column("I")->GetProperties(data->Records(0)), calc);
  EXPECT_EQ(f.Column("I")->GetProperties(data->Records(1)), &spin);
  // Display texts of data-bound records are the fields' (with their formats).
  EXPECT_EQ(data->Records(0)->DisplayTexts(f.Column("I")->Index()), "1");
  static_cast<TNumericField*>(f.DataSet->FieldByName("I"))->DisplayFormat = "000";
  EXPECT_EQ(data->Records(0)->DisplayTexts(f.Column("I")->Index()), "001");
  EXPECT_EQ(data->Records(1)->Values(f.Column("I")->Index()).VarType(), varInteger);
  // Views without a dataset show the editor's text of the value.
  TcxGridTableView plain;
  TcxGridColumn* c = plain.CreateColumn();
  c->DataBinding()->SetValueTypeClass(TcxCurrencyValueType::Instance());
  auto* dc = static_cast<TcxGridDataController*>(plain.DataController());
  dc->SetRecordCount(1);
  dc->SetValue(0, c, Variant::Currency(15000));
  EXPECT_EQ(plain.ViewData()->Records(0)->DisplayTexts(0), "￥1.50");
}

TEST(ColumnProperties, CellMergingComparison) {
  TcxGridTableView view;
  TcxGridColumn* c = view.CreateColumn();
  auto* dc = static_cast<TcxGridDataController*>(view.DataController());
  dc->SetRecordCount(3);
  for (int i = 0; i < 3; ++i) dc->SetValue(i, c, Variant(i < 2 ? "A" : "B"));
  TcxGridViewData* data = view.ViewData();
  TcxCustomEditProperties* p = c->GetProperties();
  auto same = [&](int A, int B) {
    return c->CompareValuesForCellMerging(data->Records(A), p, data->Records(A)->Values(0), data->Records(B), p,
                                          data->Records(B)->Values(0));
  };
  EXPECT_TRUE(same(0, 1));
  EXPECT_FALSE(same(1, 2));
  TcxTextEditProperties other;
  EXPECT_FALSE(c->CompareValuesForCellMerging(data->Records(0), p, Variant("A"), data->Records(1), &other,
                                              Variant("A")));  // other editors never merge
  std::vector<std::string> calls;
  c->OnCompareValuesForCellMerging = [&](TcxGridColumn*, TcxCustomEditProperties*, const Variant&,
                                         TcxCustomEditProperties*, const Variant&, bool& AEqual) {
    calls.push_back("values");
    AEqual = true;
  };
  c->OnCompareRowValuesForCellMerging = [&](TcxGridColumn*, TcxCustomGridRecord* A, TcxCustomEditProperties*,
                                            const Variant&, TcxCustomGridRecord* B, TcxCustomEditProperties*,
                                            const Variant&, bool& AEqual) {
    calls.push_back("rows");
    if (A->Index() == 0 && B->Index() == 2) AEqual = false;
  };
  EXPECT_TRUE(same(1, 2));
  EXPECT_FALSE(same(0, 2));
  EXPECT_EQ(calls, (std::vector<std::string>{"values", "rows", "values", "rows"}));
}

}  // namespace
}  // namespace kv
