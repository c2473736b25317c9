#pragma once
// Test support for the document conduit: handheld documents made and read as
// plain values, desktop documents as text, pictures made by the test, and a
// fixture with a device folder, a desktop folder and a recording HotSync log
// that runs the conduit in process.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conduit-doc/document_info.h"
#include "conduit-doc/text_header.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/hotsync_log.h"
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
  std::string text;                 // cut into records of 3,072 bytes
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
void WritePicture(const std::string& path, int width, int height, uint8_t red, uint8_t green, uint8_t blue);

class DocTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void PutDesktop(const std::string& category, const std::string& name, const std::string& text);
  std::optional<std::string> Desktop(const std::string& category, const std::string& name) const;
  std::string DesktopPath(const std::string& category, const std::string& name) const;
  void PutHandheld(const TestDatabase& db);
  void PutHandheld(const std::string& name, const HandheldDoc& doc) { PutHandheld(DocumentDatabase(name, doc)); }
  std::optional<TestDatabase> HandheldDatabase(const std::string& name) const;
  std::optional<HandheldDoc> HandheldCopy(const std::string& name) const;
  // Every desktop file (by path under the conduit's folder) and every database.
  std::map<std::string, std::string> DesktopFiles() const;
  std::map<std::string, TestDatabase> HandheldDatabases() const;

  // A device session for calls made by the test itself.
  void Connect(const hotsync::Faults& faults = {});
  void Disconnect() { session_.reset(); }
  // An in-process run of the conduit with a fresh device session.
  void Run(int32_t syncType, const hotsync::Faults& faults = {});
  std::vector<std::string> LogTexts() const;
  bool Logged(const std::string& text) const;
  void ClearLog() { log_->Clear(); }

  std::string device_;
  std::string userFolder_;  // ends in '/'
  std::string desktop_;     // the conduit's folder, userFolder_ + "Scrivane/"
  std::shared_ptr<hotsync::RecordingLogSink> log_;
  std::unique_ptr<hotsync::DeviceSession> session_;
};

}  // namespace brevora::scriv::testing
