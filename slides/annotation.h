#pragma once
// Annotation ("TabulynPC.Annotation"): a mark on a slide at X, Y with its
// sequence number; Annotations ("TabulynPC.Annotations"): a slide's marks keyed
// by SeqNum & "K" (duplicate key 457, unknown key 5, bad position 9).
// Annotations are kept in memory only; the presentation database stores none.
#include <cstdint>

#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"

namespace brevora::slides {

class Annotation : public Dispatchable<Annotation> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Annotation";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B04}";
  static const MemberTable<Annotation>& Members();

  int32_t X() const { return x_; }
  void SetX(int32_t v) { x_ = v; }
  int32_t Y() const { return y_; }
  void SetY(int32_t v) { y_ = v; }
  int32_t SeqNum() const { return seqNum_; }
  void SetSeqNum(int32_t v) { seqNum_ = v; }

 private:
  int32_t x_ = 0;
  int32_t y_ = 0;
  int32_t seqNum_ = 0;
};

class Annotations : public Dispatchable<Annotations> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Annotations";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B05}";
  static const MemberTable<Annotations>& Members();

  Ref<Annotation> Add(int32_t seqNum, int32_t x, int32_t y);
  Ref<Annotation> Item(const Variant& indexOrKey) { return items_.Item(indexOrKey); }
  int32_t Count() const { return items_.Count(); }
  void Remove(const Variant& indexOrKey) { items_.Remove(indexOrKey); }
  // The members in order, for For Each.
  Variant NewEnum() const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Collection<Ref<Annotation>> items_;
};

}  // namespace brevora::slides
