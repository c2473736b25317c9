#include "conduit-framework/category_block.h"

#include <algorithm>

#include "conduit-framework/main_db_format.h"
#include "platform/text/case.h"

namespace brevora::conduit {

namespace fmt = conduit_format;

CategoryBlock CategoryBlock::Defaults() {
  CategoryBlock block;
  block.renamed = 6;
  block.labels[0] = "Unfiled";
  block.labels[1] = "Business";
  block.labels[2] = "Personal";
  for (std::size_t i = 0; i < fmt::kCategoryCount; ++i) block.ids[i] = static_cast<uint8_t>(i);
  block.lastId = 2;
  return block;
}

std::optional<CategoryBlock> CategoryBlock::Parse(std::span<const uint8_t> bytes) {
  if (bytes.size() < fmt::kCategoryBlockSize ||
      bytes.size() > fmt::kCategoryBlockSize + fmt::kMaxPadding) {
    return std::nullopt;
  }
  const uint8_t* p = bytes.data();
  CategoryBlock block;
  block.renamed = static_cast<uint16_t>(p[fmt::kRenamedOffset] << 8 | p[fmt::kRenamedOffset + 1]);
  for (std::size_t i = 0; i < fmt::kCategoryCount; ++i) {
    const uint8_t* label = p + fmt::kLabelsOffset + i * fmt::kLabelSize;
    const uint8_t* end = std::find(label, label + fmt::kMaxLabelLength, 0);
    block.labels[i].assign(label, end);
    block.ids[i] = p[fmt::kIdsOffset + i];
  }
  block.lastId = p[fmt::kLastIdOffset];
  block.padding = p[fmt::kPaddingOffset];
  block.reserved =
      static_cast<uint16_t>(p[fmt::kReservedOffset] << 8 | p[fmt::kReservedOffset + 1]);
  return block;
}

std::vector<uint8_t> CategoryBlock::Bytes() const {
  std::vector<uint8_t> bytes(fmt::kCategoryBlockSize, 0);
  bytes[fmt::kRenamedOffset] = static_cast<uint8_t>(renamed >> 8);
  bytes[fmt::kRenamedOffset + 1] = static_cast<uint8_t>(renamed);
  for (std::size_t i = 0; i < fmt::kCategoryCount; ++i) {
    const std::size_t length = std::min(labels[i].size(), fmt::kMaxLabelLength);
    std::copy_n(
        labels[i].begin(), length,
        bytes.begin() + static_cast<std::ptrdiff_t>(fmt::kLabelsOffset + i * fmt::kLabelSize));
    bytes[fmt::kIdsOffset + i] = ids[i];
  }
  bytes[fmt::kLastIdOffset] = lastId;
  bytes[fmt::kPaddingOffset] = padding;
  bytes[fmt::kReservedOffset] = static_cast<uint8_t>(reserved >> 8);
  bytes[fmt::kReservedOffset + 1] = static_cast<uint8_t>(reserved);
  return bytes;
}

std::optional<std::size_t> CategoryBlock::SlotOf(std::string_view name) const {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i].empty() && text::EqualsNoCase(labels[i], name)) return i;
  }
  return std::nullopt;
}

std::optional<uint8_t> CategoryBlock::FindCategory(std::string_view name) {
  if (const auto slot = SlotOf(name)) return ids[*slot];
  if (name.empty() || name.size() > fmt::kMaxLabelLength) return std::nullopt;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (labels[i].empty()) {
      labels[i] = std::string(name);
      return ids[i];
    }
  }
  return std::nullopt;
}

bool CategoryBlock::RemoveCategory(std::string_view name) {
  const auto slot = SlotOf(name);
  if (!slot || *slot == 0) return false;
  labels[*slot].clear();
  return true;
}

std::string CategoryBlock::NameOf(uint8_t id, bool unnamedIsFirst) const {
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (ids[i] == id && !labels[i].empty()) return labels[i];
  }
  if (unnamedIsFirst) return labels[0];
  return id < labels.size() ? labels[id] : std::string();
}

std::size_t CategoryBlock::IndexOf(std::string_view name) const { return SlotOf(name).value_or(0); }

}  // namespace brevora::conduit
