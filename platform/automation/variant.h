#pragma once
// Variant: the value type of late-bound calls, with Visual Basic's kinds.
// Empty (never assigned), Null, Missing (an optional argument not given),
// Boolean, Integer (16-bit), Long (32-bit), Double, Date (days since
// 1899-12-30 as a double), String (code-page bytes), Object (a reference, null
// meaning Nothing), byte array, array of Variant. Copies are deep except for
// objects, which are shared by reference. Conversions (CStr, CLng...) are in
// convert.h; the As... accessors here raise 13 "Type mismatch" for another kind.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora {

enum class VarType {
  Empty,
  Null,
  Missing,
  Boolean,
  Integer,
  Long,
  Double,
  Date,
  String,
  Object,
  Bytes,
  Array
};

class Variant {
 public:
  Variant() = default;
  Variant(bool b) : v_(b) {}
  Variant(int16_t i) : v_(i) {}
  Variant(int32_t l) : v_(l) {}
  Variant(double d) : v_(d) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(std::string_view s) : v_(std::string(s)) {}
  Variant(const char* s) : v_(std::string(s)) {}
  Variant(Ref<Dispatch> object);
  template <class T, class = std::enable_if_t<std::is_base_of_v<Dispatch, T>>>
  Variant(Ref<T> object) : Variant(Ref<Dispatch>(std::move(object))) {}
  Variant(std::vector<uint8_t> bytes) : v_(std::move(bytes)) {}
  Variant(std::vector<Variant> array);
  // A raw pointer would silently become a Boolean.
  template <class T>
  Variant(T*) = delete;

  static Variant Null() {
    Variant v;
    v.v_ = NullTag{};
    return v;
  }
  static Variant Missing() {
    Variant v;
    v.v_ = MissingTag{};
    return v;
  }
  static Variant Date(double days) {
    Variant v;
    v.v_ = DateValue{days};
    return v;
  }
  static Variant Nothing();

  Variant(const Variant&);
  Variant(Variant&&) noexcept;
  Variant& operator=(const Variant&);
  Variant& operator=(Variant&&) noexcept;
  ~Variant();

  VarType type() const noexcept { return static_cast<VarType>(v_.index()); }
  bool IsEmpty() const noexcept { return type() == VarType::Empty; }
  bool IsNull() const noexcept { return type() == VarType::Null; }
  bool IsMissing() const noexcept { return type() == VarType::Missing; }
  bool IsObject() const noexcept { return type() == VarType::Object; }
  // True for Boolean, Integer, Long, Double and Date.
  bool IsNumeric() const noexcept;

  // The value of exactly this kind; 13 "Type mismatch" for any other kind.
  bool AsBoolean() const;
  int16_t AsInteger() const;
  int32_t AsLong() const;
  double AsDouble() const;
  double AsDate() const;
  const std::string& AsString() const;
  const Ref<Dispatch>& AsObject() const;
  const std::vector<uint8_t>& AsBytes() const;
  std::vector<uint8_t>& AsBytes();
  const std::vector<Variant>& AsArray() const;
  std::vector<Variant>& AsArray();

  // Same kind and same value (objects: the same object; arrays: element-wise).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  struct MissingTag {
    bool operator==(const MissingTag&) const = default;
  };
  struct DateValue {
    double days;
    bool operator==(const DateValue&) const = default;
  };
  // Order must follow VarType.
  std::variant<std::monostate, NullTag, MissingTag, bool, int16_t, int32_t, double, DateValue,
               std::string, Ref<Dispatch>, std::vector<uint8_t>, std::vector<Variant>>
      v_;
};

// A readable name of a kind ("Long", "String") for messages and tests.
std::string_view TypeName(VarType type);
// Kind and value ("Long 5"), so test failures show what a Variant held.
void PrintTo(const Variant& v, std::ostream* os);

}  // namespace brevora
