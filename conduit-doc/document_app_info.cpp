#include "conduit-doc/document_app_info.h"

#include <algorithm>
#include <cstring>

#include "platform/bytes/big_endian.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;

}  // namespace

DocumentAppInfo DocumentAppInfo::Defaults() {
  DocumentAppInfo info;
  info.SetVersion(fmt::kDocumentVersion);
  return info;
}

std::optional<DocumentAppInfo> DocumentAppInfo::Parse(std::span<const uint8_t> block) {
  DocumentAppInfo info;
  if (block.size() == fmt::kBlockSize) {
    std::copy(block.begin(), block.end(), info.bytes_.begin());
    return info;
  }
  for (const fmt::OldBlock& old : fmt::kOldBlocks) {
    if (block.size() != old.size) continue;
    const uint8_t* p = block.data();
    // The version and both names stand where they stand in the current block.
    std::copy(p, p + fmt::kSecondNameOffset + fmt::kNameSize, info.bytes_.begin());
    info.SetWordA(bytes::LoadBigEndian16(p + old.wordA));
    info.SetWordB(bytes::LoadBigEndian16(p + old.wordB));
    info.SetServerSync(p[old.serverSync]);
    std::copy(p + old.linkPath, p + old.linkPath + fmt::kLinkPathSize,
              info.bytes_.begin() + fmt::kLinkPathOffset);
    info.SetLinkMethod(bytes::LoadBigEndian16(p + old.linkMethod));
    info.SetLinkOption(bytes::LoadBigEndian16(p + old.linkOption));
    info.SetLinkDate(bytes::LoadBigEndian32(p + old.linkDate));
    info.SetModified(true);
    return info;
  }
  return std::nullopt;
}

uint32_t DocumentAppInfo::linkDate() const {
  return bytes::LoadBigEndian32(bytes_.data() + fmt::kLinkDateOffset);
}
void DocumentAppInfo::SetLinkDate(uint32_t v) {
  bytes::StoreBigEndian32(bytes_.data() + fmt::kLinkDateOffset, v);
}

uint16_t DocumentAppInfo::Word(std::size_t offset) const {
  return bytes::LoadBigEndian16(bytes_.data() + offset);
}
void DocumentAppInfo::SetWord(std::size_t offset, uint16_t v) {
  bytes::StoreBigEndian16(bytes_.data() + offset, v);
}

std::string DocumentAppInfo::Text(std::size_t offset, std::size_t size) const {
  const char* p = reinterpret_cast<const char*>(bytes_.data() + offset);
  return std::string(p, strnlen(p, size - 1));
}

void DocumentAppInfo::SetText(std::size_t offset, std::size_t size, std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), size - 1));
  uint8_t* p = bytes_.data() + offset;
  std::fill(p, p + size, 0);
  std::copy(text.begin(), text.end(), p);
}

}  // namespace brevora::scriv
