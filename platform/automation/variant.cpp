#include "platform/automation/variant.h"

#include <ostream>

#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora {

Variant::Variant(Ref<Dispatch> object) : v_(std::move(object)) {}
Variant::Variant(std::vector<Variant> array) : v_(std::move(array)) {}
Variant Variant::Nothing() { return Variant(Ref<Dispatch>()); }

Variant::Variant(const Variant&) = default;
Variant::Variant(Variant&&) noexcept = default;
Variant& Variant::operator=(const Variant&) = default;
Variant& Variant::operator=(Variant&&) noexcept = default;
Variant::~Variant() = default;

bool Variant::IsNumeric() const noexcept {
  switch (type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
    case VarType::Date:
      return true;
    default:
      return false;
  }
}

namespace {

template <class T, class V>
auto& Get(V& v) {
  if (auto* p = std::get_if<T>(&v)) return *p;
  RaiseRuntimeError(13);
}

}  // namespace

bool Variant::AsBoolean() const { return Get<bool>(v_); }
int16_t Variant::AsInteger() const { return Get<int16_t>(v_); }
int32_t Variant::AsLong() const { return Get<int32_t>(v_); }
double Variant::AsDouble() const { return Get<double>(v_); }
double Variant::AsDate() const { return Get<DateValue>(v_).days; }
const std::string& Variant::AsString() const { return Get<std::string>(v_); }
const Ref<Dispatch>& Variant::AsObject() const { return Get<Ref<Dispatch>>(v_); }
const std::vector<uint8_t>& Variant::AsBytes() const { return Get<std::vector<uint8_t>>(v_); }
std::vector<uint8_t>& Variant::AsBytes() { return Get<std::vector<uint8_t>>(v_); }
const std::vector<Variant>& Variant::AsArray() const { return Get<std::vector<Variant>>(v_); }
std::vector<Variant>& Variant::AsArray() { return Get<std::vector<Variant>>(v_); }

bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

std::string_view TypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Missing:
      return "Missing";
    case VarType::Boolean:
      return "Boolean";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Double:
      return "Double";
    case VarType::Date:
      return "Date";
    case VarType::String:
      return "String";
    case VarType::Object:
      return "Object";
    case VarType::Bytes:
      return "Byte()";
    case VarType::Array:
      return "Variant()";
  }
  return "Unknown";
}

void PrintTo(const Variant& v, std::ostream* os) {
  *os << TypeName(v.type());
  switch (v.type()) {
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
      *os << ' ' << CStr(v);
      break;
    case VarType::Date:  // the day count: a date outside the years 100-9999 has no text
      *os << ' ' << FormatDouble(v.AsDate());
      break;
    case VarType::String:
      *os << " \"" << v.AsString() << '"';
      break;
    case VarType::Object:
      *os << (v.AsObject() ? " object" : " Nothing");
      break;
    case VarType::Bytes:
      *os << " of " << v.AsBytes().size();
      break;
    case VarType::Array:
      *os << " of " << v.AsArray().size();
      break;
    default:
      break;
  }
}

}  // namespace brevora
