#include "sheet/cell_format.h"

#include "core/module_error.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/format_word.h"

namespace brevora::sheet {

namespace {

const ClassRegistration registration(CellFormat::kProgId, CellFormat::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<CellFormat>()); });

constexpr uint32_t kTypeBits[] = {format_bits::kTypeNumber, format_bits::kTypeText,
                                  format_bits::kTypeMoney,  format_bits::kTypeDate,
                                  format_bits::kTypeTime,   format_bits::kTypeDateTime};

}  // namespace

const MemberTable<CellFormat>& CellFormat::Members() {
  using M = CallKind;
  using F = CellFormat;
  static const MemberTable<CellFormat> table{
      {"FormatType", M::Let, [](F& f, Args a) { f.SetFormatType(CLng(a[0])); }},
      {"FormatType", M::Get,
       [](F& f, Args) { return Variant(static_cast<int32_t>(f.FormatType())); }},
      {"Precision", M::Let, [](F& f, Args a) { f.SetPrecision(CInt(a[0])); }},
      {"Precision", M::Get, [](F& f, Args) { return Variant(f.Precision()); }},
      {"Underline", M::Let, [](F& f, Args a) { f.SetUnderline(CBool(a[0])); }},
      {"Underline", M::Get, [](F& f, Args) { return Variant(f.Underline()); }},
      {"Bold", M::Let, [](F& f, Args a) { f.SetBold(CBool(a[0])); }},
      {"Bold", M::Get, [](F& f, Args) { return Variant(f.Bold()); }},
      {"Raw", M::Let, [](F& f, Args a) { f.SetRaw(CDbl(a[0])); }},
      {"Raw", M::Get, [](F& f, Args) { return Variant(f.Raw()); }},
      // The default member (dispatch identifier 0) answers to the empty name.
      {"", M::Let, [](F& f, Args a) { f.SetRaw(CDbl(a[0])); }},
      {"", M::Get, [](F& f, Args) { return Variant(f.Raw()); }},
      {"LongTime", M::Let, [](F& f, Args a) { f.SetLongTime(CBool(a[0])); }},
      {"LongTime", M::Get, [](F& f, Args) { return Variant(f.LongTime()); }},
      {"ShortDate", M::Let, [](F& f, Args a) { f.SetShortDate(CBool(a[0])); }},
      {"ShortDate", M::Get, [](F& f, Args) { return Variant(f.ShortDate()); }},
      {"Alignment", M::Let, [](F& f, Args a) { f.SetAlignment(CLng(a[0])); }},
      {"Alignment", M::Get,
       [](F& f, Args) { return Variant(static_cast<int32_t>(f.Alignment())); }},
      {"locked", M::Let, [](F& f, Args a) { f.Setlocked(CBool(a[0])); }},
      {"locked", M::Get, [](F& f, Args) { return Variant(f.locked()); }},
      {"NumberSeperator", M::Let, [](F& f, Args a) { f.SetNumberSeperator(CBool(a[0])); }},
      {"NumberSeperator", M::Get, [](F& f, Args) { return Variant(f.NumberSeperator()); }}};
  return table;
}

void CellFormat::SetRaw(double word) { word_ = WordBits(word); }

eFormats CellFormat::FormatType() const {
  switch (word_ & format_bits::kType) {
    case format_bits::kTypeText:
      return Text;
    case format_bits::kTypeMoney:
      return Money;
    case format_bits::kTypeDate:
      return Date;
    case format_bits::kTypeTime:
      return Time;
    case format_bits::kTypeDateTime:
      return DateTime;
    default:
      return Number;  // also 0, percentage and mixtures
  }
}

void CellFormat::SetFormatType(int32_t type) {
  word_ &= ~format_bits::kType;
  if (type >= Number && type <= DateTime) word_ += kTypeBits[type];
}

void CellFormat::SetPrecision(int32_t precision) {
  if (precision < 0 || precision > 15) {
    core::RaiseModuleError(256, "Invalid Precision. Must be between 0 and 15.");
  }
  word_ = (word_ & ~format_bits::kPrecision) +
          (static_cast<uint32_t>(precision) << format_bits::kPrecisionShift);
}

eAlignment CellFormat::Alignment() const {
  switch (word_ & format_bits::kAlignment) {
    case format_bits::kAlignRight:
      return RightJustify;
    case format_bits::kAlignCentre:
      return CenterJustify;
    default:
      return LeftJustify;
  }
}

void CellFormat::SetAlignment(int32_t alignment) {
  word_ &= ~format_bits::kAlignment;
  if (alignment == LeftJustify) word_ += format_bits::kAlignLeft;
  if (alignment == RightJustify) word_ += format_bits::kAlignRight;
  if (alignment == CenterJustify) word_ += format_bits::kAlignCentre;
}

}  // namespace brevora::sheet
