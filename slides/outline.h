#pragma once
// Outline ("TabulynPC.Outline"): one line of a slide's outline (level 0 is the
// slide title); Outlines ("TabulynPC.Outlines"): a slide's lines keyed by
// SeqNum & "K". A new Outlines already holds the empty title under "0K".
// Add reuses the first line for a title (HierLevel 0) while lines exist, so a
// slide holds one title, always first. Collection errors: 457 duplicate key,
// 5 unknown key, 9 bad position.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"

namespace brevora::slides {

class PresentationWriter;

// eBulletType
enum eBulletType : int16_t { NONE = 0, CIRCLEBULLET = 1, NUMBEREDBULLET = 2 };

class Outline : public Dispatchable<Outline> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Outline";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B03}";
  static const MemberTable<Outline>& Members();

  int16_t Section() const { return section_; }
  void SetSection(int16_t v) { section_ = v; }
  int16_t Bullet() const { return bullet_; }
  void SetBullet(int16_t v) { bullet_ = v; }
  int16_t SeqNum() const { return seqNum_; }
  void SetSeqNum(int16_t v) { seqNum_ = v; }
  const std::string& Text() const { return text_; }
  void SetText(std::string v) { text_ = std::move(v); }
  int16_t HierLevel() const { return hierLevel_; }
  void SetHierLevel(int16_t v) { hierLevel_ = v; }
  void AppendText(std::string_view txt) { text_ += txt; }

  // Adds the line's record (type 2) for slide `slideIndex`.
  void WriteRecord(PresentationWriter& writer, int32_t slideIndex) const;

 private:
  int16_t section_ = 0;
  int16_t bullet_ = NONE;
  int16_t seqNum_ = 0;
  std::string text_;
  int16_t hierLevel_ = 0;
};

class Outlines : public Dispatchable<Outlines> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Outlines";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B06}";
  static const MemberTable<Outlines>& Members();

  // Holds the empty title (SeqNum 0, Section 0, HierLevel 0, NONE) under "0K".
  Outlines();

  // A line of level other than 0, or any line while the collection is empty, is
  // added under SeqNum & "K"; a title while lines exist overwrites the first
  // line (Section 0, SeqNum 0, HierLevel 0, the given bullet and text), which is
  // returned and nothing is added.
  Ref<Outline> Add(int16_t seqNum, int16_t section, int16_t hierLevel, int16_t bullet,
                   std::string_view text);
  Ref<Outline> Item(const Variant& indexOrKey) { return items_.Item(indexOrKey); }
  int32_t Count() const { return items_.Count(); }
  void Remove(const Variant& indexOrKey) { items_.Remove(indexOrKey); }
  Variant NewEnum() const;

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Collection<Ref<Outline>> items_;
};

}  // namespace brevora::slides
