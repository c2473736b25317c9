#pragma once
// CellFormat ("TabulynPC.CellFormat"): the format word of a cell or a named style,
// an unsigned 32-bit bit field exposed as a double, with one property per field.
// Cells and styles share CellFormat objects by reference: a change through one
// holder is seen by all.
//
//   bits 0-2 alignment (1 left, 2 right, 4 centre)   bit 3 bold
//   bits 4-11 number format type                      bit 12 thousands separator
//   bit 13 underline                                  bit 14 long time / short date
//   bit 15 unlocked                                   bit 16 calculated
//   bit 18 error                                      bit 22 value is text
//   bit 23 chart                                      bits 28-31 precision
// The other bits have no property and travel unchanged with the word.
#include <cstdint>

#include "platform/automation/member_table.h"

namespace brevora::sheet {

enum eFormats : int16_t { Number = 0, Text = 1, Money = 2, Date = 3, Time = 4, DateTime = 5 };
enum eAlignment : int16_t { LeftJustify = 0, RightJustify = 1, CenterJustify = 2 };

// Masks and values of the format word.
namespace format_bits {
inline constexpr uint32_t kAlignment = 0x7;
inline constexpr uint32_t kAlignLeft = 1, kAlignRight = 2, kAlignCentre = 4;
inline constexpr uint32_t kBold = 0x8;
inline constexpr uint32_t kType = 0xFF0;
inline constexpr uint32_t kTypeNumber = 0x20, kTypeText = 0x40, kTypeMoney = 0x80,
                          kTypePercentage = 0x200, kTypeDate = 0x400, kTypeTime = 0x800,
                          kTypeDateTime = 0xC00;
inline constexpr uint32_t kSeparator = 0x1000;
inline constexpr uint32_t kUnderline = 0x2000;
inline constexpr uint32_t kLongTime = 0x4000;
inline constexpr uint32_t kUnlocked = 0x8000;
inline constexpr uint32_t kCalculated = 0x10000;
inline constexpr uint32_t kError = 0x40000;
inline constexpr uint32_t kValueText = 0x400000;
inline constexpr uint32_t kChart = 0x800000;
inline constexpr uint32_t kPrecision = 0xF0000000;
inline constexpr int kPrecisionShift = 28;
}  // namespace format_bits

class CellFormat : public Dispatchable<CellFormat> {
 public:
  static constexpr const char* kProgId = "TabulynPC.CellFormat";
  static constexpr const char* kClsid = "{7A41C2E0-5B3D-4F86-9C21-0D8E6B4A3F11}";

  static const MemberTable<CellFormat>& Members();

  CellFormat() = default;
  explicit CellFormat(uint32_t word) : word_(word) {}

  // The whole word. The let stores any number, normalised to the 32-bit value
  // the field getters read from it (WordBits), so the word can always be saved.
  double Raw() const { return static_cast<double>(word_); }
  void SetRaw(double word);
  uint32_t Bits() const { return word_; }
  void SetBits(uint32_t word) { word_ = word; }

  eFormats FormatType() const;
  // Number..DateTime set their type bits; any other value leaves them clear.
  void SetFormatType(int32_t type);
  int16_t Precision() const { return static_cast<int16_t>(word_ >> format_bits::kPrecisionShift); }
  // 0..15, else 0x80040100 "Invalid Precision. Must be between 0 and 15."
  void SetPrecision(int32_t precision);
  bool Underline() const { return Has(format_bits::kUnderline); }
  void SetUnderline(bool on) { Set(format_bits::kUnderline, on); }
  bool Bold() const { return Has(format_bits::kBold); }
  void SetBold(bool on) { Set(format_bits::kBold, on); }
  // LongTime and ShortDate are one bit under two names.
  bool LongTime() const { return Has(format_bits::kLongTime); }
  void SetLongTime(bool on) { Set(format_bits::kLongTime, on); }
  bool ShortDate() const { return LongTime(); }
  void SetShortDate(bool on) { SetLongTime(on); }
  eAlignment Alignment() const;
  // LeftJustify, RightJustify, CenterJustify set 1, 2, 4; any other value clears.
  void SetAlignment(int32_t alignment);
  // True when the unlocked bit is clear.
  bool locked() const { return !Has(format_bits::kUnlocked); }
  void Setlocked(bool on) { Set(format_bits::kUnlocked, !on); }
  bool NumberSeperator() const { return Has(format_bits::kSeparator); }
  void SetNumberSeperator(bool on) { Set(format_bits::kSeparator, on); }

  // A single bit of the word (the cell flags use these too).
  bool Has(uint32_t bit) const { return (word_ & bit) == bit; }
  void Set(uint32_t bit, bool on) { word_ = (word_ & ~bit) + (on ? bit : 0); }

 private:
  uint32_t word_ = 0;
};

}  // namespace brevora::sheet
