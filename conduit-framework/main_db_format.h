#pragma once
// The conduit's main handheld database: its application-info block holds the
// category block, its sort-info block the conduit's sync state.
//
// Category block, 278 bytes, big-endian words:
//   0    2   renamed-categories bit mask
//   2  256   16 labels of 16 bytes, NUL-terminated (at most 15 characters)
//   258 16   16 category IDs, one byte each
//   274  1   last ID handed out
//   275  1   padding
//   276  2   reserved word
// Sync state, 10 bytes, five 16-bit words in little-endian order (the desktop's
// own order, never converted): synced-before flag, pending new-desktop flag,
// pending mode, pending slow flag, reserved.
//
// A block read from a file laid out with 4-byte alignment may carry up to 3
// bytes of padding after it; readers accept those and ignore them.
#include <cstddef>
#include <cstdint>

namespace brevora::conduit_format {

inline constexpr std::size_t kCategoryBlockSize = 278;
inline constexpr std::size_t kRenamedOffset = 0;
inline constexpr std::size_t kLabelsOffset = 2;
inline constexpr std::size_t kLabelSize = 16;
inline constexpr std::size_t kMaxLabelLength = kLabelSize - 1;
inline constexpr std::size_t kCategoryCount = 16;
inline constexpr std::size_t kIdsOffset = kLabelsOffset + kLabelSize * kCategoryCount;
inline constexpr std::size_t kLastIdOffset = kIdsOffset + kCategoryCount;
inline constexpr std::size_t kPaddingOffset = kLastIdOffset + 1;
inline constexpr std::size_t kReservedOffset = kPaddingOffset + 1;

inline constexpr std::size_t kSyncStateSize = 10;
inline constexpr std::size_t kMaxPadding = 3;

static_assert(kIdsOffset == 258);
static_assert(kLastIdOffset == 274);
static_assert(kReservedOffset + 2 == kCategoryBlockSize);

}  // namespace brevora::conduit_format
