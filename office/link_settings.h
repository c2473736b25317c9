#pragma once
// LinkSettings: the settings of the link of one kind of desktop file
// (workbook, document, presentation) to its Office file (.xls, .doc, .ppt) as
// its model shows them: the texts of the sync methods and the range check of
// the sync method and option. Which way a method lets the link go and whether
// the linked file is newer are in office/link_sync.h.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevora::office {

class LinkSettings {
 public:
  // `office`: the Office file's name in the texts ("XLS", "DOC", "PPT");
  // `source`: the source of the range errors.
  constexpr LinkSettings(std::string_view office, std::string_view source)
      : office_(office), source_(source) {}

  // "Synchronize", "Palm to <office>", "<office> to Palm", "Do Nothing" for
  // methods 0 to 3; "Synchronize" for any other number.
  std::string SyncMethodText(int32_t method) const;
  // The method whose text `text` is, exactly; 0 for any other text.
  int16_t SyncMethodFromText(std::string_view text) const;
  // A sync method or option outside 0 to 3 raises 32760 with the source and
  // "Invalid <what>.  Must be between 0 and 3".
  void CheckSyncValue(int32_t value, std::string_view what) const;

 private:
  std::string_view office_;
  std::string_view source_;
};

}  // namespace brevora::office
