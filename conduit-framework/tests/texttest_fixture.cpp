#include "conduit-framework/tests/texttest_fixture.h"

#include "conduit-framework/test_conduit/text_conduit.h"

namespace brevora::texttest::testing {

std::string DesktopText(const std::string& body, bool modified, const std::string& link) {
  return std::string(modified ? "1" : "0") + "\n2\n" + link + "\n" + body;
}

TestDatabase HandheldDatabase(const std::string& name, const Handheld& h) {
  TestDatabase db =
      brevora::testing::Database(name, {{static_cast<uint8_t>(h.category), 1, "-\n" + h.body}});
  db.type = "Text";
  db.creator = "TxtT";
  db.version = h.version;
  db.appInfo = std::string{static_cast<char>(h.category), static_cast<char>(h.modified ? 1 : 0),
                           static_cast<char>(h.serverSync ? 1 : 0), 0};
  return db;
}

std::optional<Handheld> ReadHandheld(const TestDatabase& db) {
  if (db.type != "Text" || db.creator != "TxtT" || db.appInfo.size() != 4 ||
      db.records.size() != 1) {
    return std::nullopt;
  }
  const std::string& data = db.records[0].data;
  const std::size_t lf = data.find('\n');
  if (lf == std::string::npos) return std::nullopt;
  Handheld h;
  h.category = static_cast<uint8_t>(db.appInfo[0]);
  h.modified = db.appInfo[1] != 0;
  h.serverSync = db.appInfo[2] != 0;
  h.body = data.substr(lf + 1);
  h.version = db.version;
  return h;
}

TextTest::TextTest() : conduit::testing::ConduitTest(TextTestProduct()) {}

void TextTest::PutHandheld(const std::string& name, const Handheld& handheld) {
  PutHandheld(testing::HandheldDatabase(name, handheld));
}

std::optional<Handheld> TextTest::HandheldCopy(const std::string& name) const {
  const auto db = HandheldDatabase(name);
  if (!db) return std::nullopt;
  return ReadHandheld(*db);
}

void HostTest::SetUp() {
  TextTest::SetUp();
  UseHost(TEXTTEST_PLUGIN);
}

}  // namespace brevora::texttest::testing
