#pragma once
// Visual Basic's conversion functions over Variant.
// Numbers: Boolean True is -1; CLng and CInt round halves to even (2.5 -> 2,
// 3.5 -> 4) and raise 6 "Overflow" outside their range. Strings convert to
// numbers when they hold one (blanks around it allowed; "&H1F" hex and "&O17"
// octal: up to 4 digits' worth is a 16-bit value, so "&HFFFF" is -1), else 13
// "Type mismatch". CStr of a Double gives up to 15 significant digits ("1.5",
// "1E+20", "1E-05"); of a Date the US form "1/2/2003 3:04:05 PM". Null converts
// to nothing but raises 94 "Invalid use of Null"; Empty is 0, "" or False; a
// byte array and a String convert into each other byte for byte.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/automation/variant.h"

namespace brevora {

std::string CStr(const Variant& v);
int32_t CLng(const Variant& v);
int16_t CInt(const Variant& v);
double CDbl(const Variant& v);
bool CBool(const Variant& v);
// Days since 1899-12-30; 6 outside the years 100 to 9999.
double CDate(const Variant& v);
// Byte array of a byte array or a String; 13 otherwise.
std::vector<uint8_t> CBytes(const Variant& v);

// The rounding and range checks alone, for code that holds a double.
int32_t DoubleToLong(double d);
int16_t DoubleToInteger(double d);
// The CStr form of a number and of a date (6 for a date outside the years 100
// to 9999, as CDate gives).
std::string FormatDouble(double d);
std::string FormatDate(double days);

}  // namespace brevora
