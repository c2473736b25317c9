// Fuzzes the modified line of a conduit's desktop file: the bytes as the file,
// whose flag SetModifiedFlag sets and clears, and which CLocalFile reads.
// Checks: the flag is set exactly when the first line, as the desktop files'
// reader takes it, is a modified line; setting it changes the flag byte alone
// (a "2" already says "not modified") and leaves no temporary file beside the
// file; the file then reads back with that flag and the same version text. A
// file whose first line is not a modified line is left as it was.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conduit-framework/local_file.h"
#include "conduit-framework/modified_line.h"
#include "fuzz/file_input.h"
#include "platform/text/line_reader.h"

namespace brevora::fuzz {
namespace {

using conduit::CLocalFile;

std::string DesktopFile(std::initializer_list<std::string_view> lines) {
  conduit::LocalFileWriter writer;
  for (std::string_view line : lines) writer.WriteLine(line);
  return writer.text();
}

std::optional<CLocalFile::ModifiedLines> ReadBack(const std::string& path) {
  CLocalFile file;
  Check(file.OpenPath(path) == CLocalFile::OpenResult::Opened, "the file does not open");
  return file.ReadModifiedLines();
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"modified.ttx", DesktopFile({"1", "7", "the body"})},
      {"clean.ttx", DesktopFile({"0", "9", "line", "", "last"})},
      {"two.ttx", "2\n5\nbody"},
      {"torn.ttx", "1\r"},
      {"none.ttx", DesktopFile({"Tabulyn", "1"})},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::string input(reinterpret_cast<const char*>(data), size);
  text::LineReader lines(input, text::kDesktopLines);
  const auto first = lines.Next();
  const std::optional<bool> flag = first ? conduit::ParseModifiedLine(*first) : std::nullopt;
  const std::string path = WriteInput("Fuzz.ttx", data, size);
  const auto before = ReadBack(path);
  Check(!before || before->modified == *flag, "the reader's flag is not its first line's");

  for (const bool modified : {true, false}) {
    WriteInput("Fuzz.ttx", data, size);
    bool set = false;
    Must("setting the flag", [&] { set = conduit::SetModifiedFlag(path, modified); });
    const std::string after = FileBytes(path);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(WorkFolder() + "/files"))
      ++entries;
    Check(entries == 1, "something beside the file after setting its flag");
    if (!flag) {
      Check(!set, "a flag set in a file whose first line is not a modified line");
      Check(after == input, "a file without a modified line was changed");
      continue;
    }
    Check(set, "the flag of a modified line was not set");
    std::string expected = input;
    if (modified || expected[0] != '2') expected[0] = modified ? '1' : '0';
    Check(after == expected, "more than the flag byte changed");
    const auto again = ReadBack(path);
    Check(again.has_value() == before.has_value(), "the file's modified lines read otherwise");
    if (again) {
      Check(again->modified == modified, "the flag does not read back");
      Check(again->versionText == before->versionText, "the version text changed");
    }
  }
  return 0;
}
