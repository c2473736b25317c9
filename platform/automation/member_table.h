#pragma once
// MemberTable<T>: a class's late-bound members, listed once. A class derives from
// Dispatchable<Self> and gives a static Members() table; Invoke is answered from
// it (unknown name or kind 438, argument count outside the entry's bounds 450, a
// required argument passed as Missing 449):
//
//   class Session : public Dispatchable<Session> {
//    public:
//     static const MemberTable<Session>& Members();
//     ...
//   };
//   const MemberTable<Session>& Session::Members() {
//     static const MemberTable<Session> table{
//         {"FileMode", CallKind::Get, [](Session& s, Args) { return Variant(s.FileMode()); }},
//         {"FileMode", CallKind::Let, [](Session& s, Args a) { s.SetFileMode(CInt(a[0])); }},
//         {"Open", CallKind::Method, [](Session& s, Args a) { return s.Open(CStr(a[0]), a[1]); },
//         1, 2}};
//     return table;
//   }
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora {

// The late-bound members of T. Method and Get calls find each other's entries (a
// caller cannot always tell a method from a property); Let and Set match only
// their own kind.
template <class T>
class MemberTable {
 public:
  using Fn = std::function<Variant(T&, Args)>;

  struct Entry {
    // `minArgs`/`maxArgs` bound the argument count (maxArgs < 0: same as minArgs);
    // by default 0 for Method and Get, 1 for Let and Set. A member with optional
    // arguments sees maxArgs arguments, the absent ones Missing (padded at the
    // end, so give Let and Set fixed counts). `f` may return void (Empty).
    template <class F>
    Entry(std::string_view name, CallKind kind, F f, int minArgs = -1, int maxArgs = -1)
        : name(name), kind(kind), fn(Wrap(std::move(f))) {
      const int byKind = (kind == CallKind::Let || kind == CallKind::Set) ? 1 : 0;
      this->minArgs = minArgs < 0 ? byKind : minArgs;
      this->maxArgs = maxArgs < 0 ? this->minArgs : maxArgs;
    }
    std::string name;
    CallKind kind;
    Fn fn;
    int minArgs;
    int maxArgs;

   private:
    template <class F>
    static Fn Wrap(F f) {
      if constexpr (std::is_void_v<std::invoke_result_t<F&, T&, Args>>) {
        return [f = std::move(f)](T& self, Args a) {
          f(self, a);
          return Variant();
        };
      } else {
        return f;
      }
    }
  };

  MemberTable(std::initializer_list<Entry> entries) : entries_(entries) {
    for (size_t i = 0; i < entries_.size(); ++i) index_[FoldName(entries_[i].name)].push_back(i);
  }

  Variant Invoke(T& self, std::string_view name, CallKind kind, Args args) const {
    const Entry& e = Find(name, kind);
    return Call(e, self, args);
  }

  // True when T has a member of this name and kind.
  bool Has(std::string_view name, CallKind kind) const { return FindOrNull(name, kind) != nullptr; }

 private:
  const Entry* FindOrNull(std::string_view name, CallKind kind) const {
    auto it = index_.find(FoldName(name));
    if (it == index_.end()) return nullptr;
    const Entry* fallback = nullptr;
    for (size_t i : it->second) {
      const Entry& e = entries_[i];
      if (e.kind == kind) return &e;
      const bool readKinds = (e.kind == CallKind::Method || e.kind == CallKind::Get) &&
                             (kind == CallKind::Method || kind == CallKind::Get);
      if (readKinds && !fallback) fallback = &e;
    }
    return fallback;
  }

  const Entry& Find(std::string_view name, CallKind kind) const {
    const Entry* e = FindOrNull(name, kind);
    if (!e) RaiseRuntimeError(438);
    return *e;
  }

  static Variant Call(const Entry& e, T& self, Args args) {
    const int n = static_cast<int>(args.size());
    if (n < e.minArgs || n > e.maxArgs) RaiseRuntimeError(450);
    for (int i = 0; i < e.minArgs; ++i) {
      if (args[i].IsMissing()) RaiseRuntimeError(449);
    }
    if (n == e.maxArgs) return e.fn(self, args);
    // Pad absent optional arguments with Missing, then hand by-reference
    // results back to the caller's elements.
    std::vector<Variant> full(args.begin(), args.end());
    full.resize(e.maxArgs, Variant::Missing());
    Variant result = e.fn(self, Args(full));
    for (int i = 0; i < n; ++i) args[i] = std::move(full[i]);
    return result;
  }

  static std::string FoldName(std::string_view name) { return text::LCase(name); }

  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::vector<size_t>> index_;
};

// Base of a class whose late-bound members are T::Members(). `Base` is Dispatch
// or an interface derived from it that T implements.
template <class T, class Base = Dispatch>
class Dispatchable : public Base {
 public:
  Variant Invoke(std::string_view name, CallKind kind, Args args) override {
    return T::Members().Invoke(static_cast<T&>(*this), name, kind, args);
  }
};

}  // namespace brevora
