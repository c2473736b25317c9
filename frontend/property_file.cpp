#include "frontend/property_file.h"

#include <array>

#include "core/text_cleanup.h"
#include "frontend/property_file_format.h"
#include "platform/fs/open_file.h"

namespace brevora::frontend {

namespace property_file_format {

std::string EncodeRecord(std::string_view key, std::string_view value) {
  std::string record(kRecordSize, kPad);
  record.replace(0, std::min(key.size(), kKeySize), key.substr(0, kKeySize));
  record.replace(kKeySize, std::min(value.size(), kValueSize), value.substr(0, kValueSize));
  return record;
}

Record DecodeRecord(std::string_view bytes) {
  std::string whole(bytes.substr(0, kRecordSize));
  whole.resize(kRecordSize, kPad);
  return {whole.substr(0, kKeySize), whole.substr(kKeySize)};
}

bool KeyMatches(std::string_view storedKey, std::string_view wanted) {
  return core::Trim(storedKey) == core::Trim(wanted.substr(0, kKeySize));
}

}  // namespace property_file_format

namespace {

using namespace property_file_format;

// Calls `visit(index, record)` for each record in order until it returns true;
// returns the index it stopped at, or nullopt at the end of the file.
template <class Visit>
std::optional<uint64_t> ForEachRecord(const fs::OpenFile& file, Visit&& visit) {
  std::array<char, kRecordSize> buffer{};
  for (uint64_t index = 0;; ++index) {
    const std::size_t n = file.ReadAt(index * kRecordSize, buffer.data(), buffer.size());
    if (n == 0) return std::nullopt;
    if (visit(DecodeRecord(std::string_view(buffer.data(), n)))) return index;
    if (n < kRecordSize) return std::nullopt;  // that was the partial last record
  }
}

}  // namespace

std::optional<PropertyFileReader::Found> PropertyFileReader::Find(std::string_view key) const {
  const fs::OpenFile file(path_, fs::OpenFile::Mode::Read);
  std::string value;
  const std::optional<uint64_t> index = ForEachRecord(file, [&](const Record& record) {
    if (!KeyMatches(record.key, key)) return false;
    value = core::Trim(record.value);
    return true;
  });
  if (!index) return std::nullopt;
  return Found{*index, std::move(value)};
}

uint64_t PropertyFileWriter::Set(std::string_view key, std::string_view value) {
  fs::OpenFile file(path_, fs::OpenFile::Mode::ReadWrite);
  const std::optional<uint64_t> match =
      ForEachRecord(file, [&](const Record& record) { return KeyMatches(record.key, key); });
  const uint64_t index = match ? *match : file.Size() / kRecordSize;
  file.WriteAt(index * kRecordSize, EncodeRecord(key, value));
  return index;
}

}  // namespace brevora::frontend
