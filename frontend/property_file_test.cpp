// Property files through the application object: the records byte for byte,
// lookups, replacement, the mended long keys and partial records, deletion.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "frontend/frontend_test_support.h"
#include "frontend/property_file.h"
#include "frontend/property_file_format.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;
using test::ErrorOf;
namespace fmt = property_file_format;

std::string Bytes(const std::string& path) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::string Record(const std::string& key, const std::string& value) {
  return key + std::string(fmt::kKeySize - key.size(), ' ') + value +
         std::string(fmt::kValueSize - value.size(), ' ');
}

// Runs `body` with an application object and a new property file from it.
void WithPropertyFile(const std::function<void(TabrelPC&, const std::string&)>& body) {
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const std::string file = CStr(CallByName(app, "GetPropertyFile", CallKind::Method));
    body(*app, file);
  });
}

TEST(PropertyFile, OneRecordByteForByte) {
  WithPropertyFile([](TabrelPC& app, const std::string& file) {
    EXPECT_EQ(Bytes(file), "");
    CallByName(app, "SetProperty", CallKind::Method, file, "A", "1");
    EXPECT_EQ(Bytes(file), Record("A", "1"));
    EXPECT_EQ(CallByName(app, "GetProperty", CallKind::Method, file, "  A "), Variant("1"));
    // The same key again replaces the value in its record.
    app.SetProperty(file, "A", "  two words  ");
    EXPECT_EQ(Bytes(file), Record("A", "  two words  "));
    EXPECT_EQ(app.GetProperty(file, "A"), "two words");
    // Keys are stored as passed and matched trimmed, case counting.
    app.SetProperty(file, " a", "3");
    EXPECT_EQ(Bytes(file), Record("A", "  two words  ") + Record(" a", "3"));
    EXPECT_EQ(app.GetProperty(file, "a"), "3");
    EXPECT_EQ(app.GetProperty(file, "A"), "two words");
    EXPECT_EQ(app.GetProperty(file, "B"), "");
  });
}

TEST(PropertyFile, LongKeysAndValuesAreCutToTheirFields) {
  WithPropertyFile([](TabrelPC& app, const std::string& file) {
    const std::string longKey = std::string(49, 'k') + "LONG-TAIL";
    const std::string longValue = std::string(250, 'v') + "1234567890";
    app.SetProperty(file, longKey, longValue);
    EXPECT_EQ(Bytes(file), Record(longKey.substr(0, 50), longValue.substr(0, 255)));
    EXPECT_EQ(app.GetProperty(file, longKey), longValue.substr(0, 255));
    // The same long key again replaces its record instead of adding one.
    app.SetProperty(file, longKey, "again");
    EXPECT_EQ(fs::FileSize(file), fmt::kRecordSize);
    EXPECT_EQ(app.GetProperty(file, longKey), "again");
    // So does any key whose first 50 characters are the stored ones.
    EXPECT_EQ(app.GetProperty(file, std::string(49, 'k') + "L"), "again");
    EXPECT_EQ(app.GetProperty(file, std::string(49, 'k')), "");
  });
}

TEST(PropertyFile, BlankKeysAndMissingFilesDoNothing) {
  WithPropertyFile([](TabrelPC& app, const std::string& file) {
    app.SetProperty(file, "   ", "1");
    app.SetProperty(file, "", "1");
    EXPECT_EQ(fs::FileSize(file), 0u);
    EXPECT_EQ(app.GetProperty(file, " "), "");
    const std::string missing = file + ".missing";
    EXPECT_NO_THROW(app.SetProperty(missing, "A", "1"));
    EXPECT_FALSE(fs::FileExists(missing));
    EXPECT_EQ(app.GetProperty(missing, "A"), "");
    // A folder is no property file either.
    const std::string folder = testing::MakeTempDir("props");
    EXPECT_NO_THROW(app.SetProperty(folder, "A", "1"));
    EXPECT_EQ(app.GetProperty(folder, "A"), "");
  });
}

// A file cut inside its last record: that record reads blank-padded and a new
// key takes its place after the last whole record.
TEST(PropertyFile, APartialLastRecord) {
  WithPropertyFile([](TabrelPC& app, const std::string& file) {
    const std::string partial = Record("P", "kept").substr(0, 60);  // key and 6 bytes of value
    fs::AtomicWrite(file, Record("A", "1") + partial);
    EXPECT_EQ(app.GetProperty(file, "P"), "kept");
    app.SetProperty(file, "P", "replaced");
    EXPECT_EQ(Bytes(file), Record("A", "1") + Record("P", "replaced"));

    fs::AtomicWrite(file, Record("A", "1") + std::string(200, 'x'));
    app.SetProperty(file, "N", "new");
    EXPECT_EQ(Bytes(file), Record("A", "1") + Record("N", "new"));
    EXPECT_EQ(app.GetProperty(file, "N"), "new");
  });
}

TEST(PropertyFile, ReaderAndWriterReportRecordNumbers) {
  const std::string file = testing::MakeTempDir("props") + "/p";
  fs::AtomicWrite(file, Record("A", "1") + Record("B", "2"));
  EXPECT_EQ(PropertyFileWriter(file).Set("B", "3"), 1u);
  EXPECT_EQ(PropertyFileWriter(file).Set("C", "4"), 2u);
  const auto found = PropertyFileReader(file).Find("C");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->index, 2u);
  EXPECT_EQ(found->value, "4");
  EXPECT_FALSE(PropertyFileReader(file).Find("D"));
}

TEST(PropertyFile, ResetAllPropertiesDeletesOnlyTheFile) {
  WithPropertyFile([](TabrelPC& app, const std::string& file) {
    app.SetProperty(file, "A", "1");
    CallByName(app, "ResetAllProperties", CallKind::Method, file);
    EXPECT_FALSE(fs::FileExists(file));

    const std::string folder = testing::MakeTempDir("props");
    const std::string target = folder + "/target";
    fs::AtomicWrite(target, std::string_view("keep"));
    const std::string link = folder + "/link";
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    const struct {
      std::string path;
      std::string reason;
    } cases[] = {{file, "File not found"},
                 {folder, "Path/File access error"},
                 {link, "Path/File access error"}};
    for (const auto& c : cases) {
      const AutomationError e = ErrorOf([&] { app.ResetAllProperties(c.path); });
      EXPECT_EQ(e.number(), 32760) << c.path;
      EXPECT_EQ(e.source(), "TabrelPC.ResetAllProperties") << c.path;
      EXPECT_EQ(e.description(), "Could not reset properties\r\n" + c.reason) << c.path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Bytes(target), "keep");
  });
}

}  // namespace
}  // namespace brevora::frontend
