#pragma once
// Test support for the document conduit: handheld documents made and read as
// plain values, desktop documents as text, pictures made by the test, and the
// conduits' shared fixture (conduit-framework/tests/conduit_fixture.h) with
// the document conduit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "conduit-doc/document_info.h"
#include "conduit-doc/text_header.h"
#include "conduit-framework/tests/conduit_fixture.h"
#include "testing/handheld_folder.h"

namespace brevora::scriv::testing {

using brevora::testing::TestDatabase;
using brevora::testing::TestRecord;

// A handheld document as the conduit writes one.
struct HandheldDoc {
  uint16_t version = 5;          // of the database
  uint16_t documentVersion = 5;  // the block's word
  uint8_t category = 0;
  bool modified = false;
  uint8_t serverSync = 0;
  std::string firstName;
  std::string secondName;
  uint16_t wordA = 0;
  uint16_t wordB = 0;
  std::string linkPath;
  uint16_t linkMethod = 0;
  uint16_t linkOption = 0;
  uint32_t linkDate = 0;
  uint8_t editable = 1;
  uint8_t compression = 2;
  uint8_t mode = 0;
  uint32_t position = 0;
  std::string text;  // cut into records of 3,072 bytes
  std::vector<Bookmark> bookmarks;
  std::vector<std::string> images;  // image records (list and data), as they are
  bool operator==(const HandheldDoc&) const = default;
};
void PrintTo(const HandheldDoc& doc, std::ostream* out);

TestDatabase DocumentDatabase(const std::string& name, const HandheldDoc& doc);
// The document a database holds; nullopt when it is not one the conduit wrote
// (a record with another category than record 0's counts as not one).
std::optional<HandheldDoc> ReadDocument(const TestDatabase& db);

// The text of a desktop document.
struct DesktopDoc {
  bool modified = false;
  int version = 5;
  std::string linkPath;
  int linkMethod = 0;
  uint32_t linkDate = 0;
  int linkOption = 0;
  int serverSync = 0;
  int editable = 1;
  int compression = 2;
  int mode = 0;
  std::string firstName;
  std::string secondName;
  uint32_t position = 0;
  int wordA = 0;
  int wordB = 0;
  std::vector<Bookmark> bookmarks;
  std::string text;
};
std::string DesktopText(const DesktopDoc& doc);

// Pictures made by the test: `width` x `height` of one colour, saved as PNG,
// JPEG or BMP by their extension.
void WritePicture(const std::string& path, int width, int height, uint8_t red, uint8_t green,
                  uint8_t blue);

// The fixture with the document conduit, in process.
class DocTest : public conduit::testing::ConduitTest {
 protected:
  DocTest();

  using conduit::testing::ConduitTest::PutHandheld;
  void PutHandheld(const std::string& name, const HandheldDoc& doc) {
    PutHandheld(DocumentDatabase(name, doc));
  }
  std::optional<HandheldDoc> HandheldCopy(const std::string& name) const;
};

}  // namespace brevora::scriv::testing
