#pragma once
// DocumentAppInfo: the application-info block of a handheld document
// (document_db_format.h), held as its 1,020 bytes in handheld order, with
// typed access to its fields. Bytes the conduit has no field for (the
// reserved areas) are kept as they were read and written back unchanged.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "conduit-doc/document_db_format.h"

namespace brevora::scriv {

class DocumentAppInfo {
 public:
  using Bytes = std::array<uint8_t, scriv_format::kBlockSize>;

  // The block of a new document: zeros, version 5.
  static DocumentAppInfo Defaults();
  // The block as read from the handheld: 1,020 bytes as they are; a 400- or
  // 636-byte block of an older document converted field by field and marked
  // modified; nullopt for any other length.
  static std::optional<DocumentAppInfo> Parse(std::span<const uint8_t> block);

  const Bytes& bytes() const { return bytes_; }

  uint16_t version() const { return Word(scriv_format::kVersionOffset); }
  std::string firstName() const {
    return Text(scriv_format::kFirstNameOffset, scriv_format::kNameSize);
  }
  std::string secondName() const {
    return Text(scriv_format::kSecondNameOffset, scriv_format::kNameSize);
  }
  uint16_t wordA() const { return Word(scriv_format::kWordAOffset); }
  uint16_t wordB() const { return Word(scriv_format::kWordBOffset); }
  bool modified() const { return bytes_[scriv_format::kModifiedOffset] != 0; }
  uint8_t serverSync() const { return bytes_[scriv_format::kServerSyncOffset]; }
  std::string linkPath() const {
    return Text(scriv_format::kLinkPathOffset, scriv_format::kLinkPathSize);
  }
  uint16_t linkMethod() const { return Word(scriv_format::kLinkMethodOffset); }
  uint16_t linkOption() const { return Word(scriv_format::kLinkOptionOffset); }
  uint32_t linkDate() const;

  void SetVersion(uint16_t v) { SetWord(scriv_format::kVersionOffset, v); }
  // Names are cut to 31 bytes and the path to 255; the rest of each field is
  // filled with NUL bytes.
  void SetFirstName(std::string_view name) {
    SetText(scriv_format::kFirstNameOffset, scriv_format::kNameSize, name);
  }
  void SetSecondName(std::string_view name) {
    SetText(scriv_format::kSecondNameOffset, scriv_format::kNameSize, name);
  }
  void SetWordA(uint16_t v) { SetWord(scriv_format::kWordAOffset, v); }
  void SetWordB(uint16_t v) { SetWord(scriv_format::kWordBOffset, v); }
  void SetModified(bool modified) { bytes_[scriv_format::kModifiedOffset] = modified ? 1 : 0; }
  void SetServerSync(uint8_t flag) { bytes_[scriv_format::kServerSyncOffset] = flag; }
  void SetLinkPath(std::string_view path) {
    SetText(scriv_format::kLinkPathOffset, scriv_format::kLinkPathSize, path);
  }
  void SetLinkMethod(uint16_t v) { SetWord(scriv_format::kLinkMethodOffset, v); }
  void SetLinkOption(uint16_t v) { SetWord(scriv_format::kLinkOptionOffset, v); }
  void SetLinkDate(uint32_t v);

 private:
  DocumentAppInfo() = default;
  uint16_t Word(std::size_t offset) const;
  void SetWord(std::size_t offset, uint16_t v);
  // The text of a field of `size` bytes up to its first NUL, at most size - 1 bytes.
  std::string Text(std::size_t offset, std::size_t size) const;
  void SetText(std::size_t offset, std::size_t size, std::string_view text);

  Bytes bytes_{};
};

}  // namespace brevora::scriv
