#pragma once
// Test support for the framework's tests with the TextTest conduit: its
// handheld databases and desktop files as plain values, on the fixture that
// every conduit's tests share (conduit_fixture.h). In-process runs call the
// framework's OpenConduit; the host runs go through the `hotsync` program
// with the TextTest plug-in registered.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "conduit-framework/tests/conduit_fixture.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"

namespace brevora::texttest::testing {

using brevora::testing::TestDatabase;

// A handheld text database: category ID, modified, server sync, body.
struct Handheld {
  uint8_t category = 0;
  bool modified = false;
  bool serverSync = false;
  std::string body;
  uint16_t version = 2;
  bool operator==(const Handheld&) const = default;
};

// The desktop file's text for a body.
std::string DesktopText(const std::string& body, bool modified, const std::string& link = "-");
TestDatabase HandheldDatabase(const std::string& name, const Handheld& h);
// nullopt when the database is missing or is not a text database of one record.
std::optional<Handheld> ReadHandheld(const TestDatabase& db);

// Both sides, as plain values.
using conduit::testing::Snapshot;

// The fixture with the TextTest conduit.
class TextTest : public conduit::testing::ConduitTest {
 protected:
  TextTest();

  using conduit::testing::ConduitTest::PutHandheld;
  void PutHandheld(const std::string& name, const Handheld& handheld);
  std::optional<Handheld> HandheldCopy(const std::string& name) const;
};

// One run of the `hotsync` program: its exit status, stdout and stderr.
using HostResult = brevora::testing::ProgramResult;
using conduit::testing::RunHotSync;

// Tests through the `hotsync` program: the TextTest plug-in registered, the
// desktop folder is the conduit's folder of the user "Alice".
class HostTest : public TextTest {
 protected:
  void SetUp() override;
};

}  // namespace brevora::texttest::testing
