#pragma once
// CategoryBlock: the main database's category block (main_db_format.h) in host
// order, and the lookups the conduit makes in it. Labels are compared without
// regard to case.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::conduit {

struct CategoryBlock {
  uint16_t renamed = 0;
  std::array<std::string, 16> labels;  // code page, at most 15 characters
  std::array<uint8_t, 16> ids{};
  uint8_t lastId = 0;
  uint8_t padding = 0;
  uint16_t reserved = 0;
  bool operator==(const CategoryBlock&) const = default;

  // Mask 6; "Unfiled", "Business", "Personal" and 13 empty labels; IDs 0-15;
  // last ID 2.
  static CategoryBlock Defaults();
  // From the block's bytes (278, plus at most 3 bytes of padding); nullopt for
  // any other length. A label runs to its first NUL, at most 15 bytes.
  static std::optional<CategoryBlock> Parse(std::span<const uint8_t> bytes);
  std::vector<uint8_t> Bytes() const;

  // The slot of the label equal to `name`; nullopt when none is.
  std::optional<std::size_t> SlotOf(std::string_view name) const;
  // The ID of the label `name`; a missing name goes into the first empty
  // slot. nullopt when all 16 slots are in use, or the name is empty or
  // longer than 15 characters.
  std::optional<uint8_t> FindCategory(std::string_view name);
  // Clears the label `name`; false when no label is `name`. Slot 0, the
  // "Unfiled" category, is never cleared (false).
  bool RemoveCategory(std::string_view name);
  // The name of category `id`: the first non-empty label with that ID; else,
  // with `unnamedIsFirst`, slot 0's label, otherwise for an ID up to 15 the
  // label of the slot of that index (perhaps empty) and "" above.
  std::string NameOf(uint8_t id, bool unnamedIsFirst) const;
  // The slot index of `name` (0 when not found).
  std::size_t IndexOf(std::string_view name) const;
};

}  // namespace brevora::conduit
