#pragma once
// Slides ("TabulynPC.Slides"): the slides of a presentation in order, keyed by
// index & "K" (duplicate key 457, unknown key 5, bad position 9).
#include <cstdint>
#include <string_view>

#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"
#include "slides/slide.h"

namespace brevora::slides {

class Slides : public Dispatchable<Slides> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Slides";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B07}";
  static const MemberTable<Slides>& Members();

  // A new slide with these values, added under index & "K" and returned.
  Ref<Slide> Add(int16_t index, int16_t compression, std::string_view filePath);
  Ref<Slide> Item(const Variant& indexOrKey) { return items_.Item(indexOrKey); }
  // The slide numbered `index`, or null.
  Ref<Slide> FindByIndex(int32_t index);
  int32_t Count() const { return items_.Count(); }
  void Remove(const Variant& indexOrKey) { items_.Remove(indexOrKey); }
  Variant NewEnum() const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Collection<Ref<Slide>> items_;
};

}  // namespace brevora::slides
