#pragma once
// CLocalFile: a product's desktop file in a category folder of the conduit's
// user folder, as a conduit reads it, and LocalFileWriter, which builds the
// text of one (the framework puts the bytes in place through a temporary file
// and a rename).
//
//   Path rule: <user folder><category, "Unfiled" when empty>\<name><extension>
//   (the product's extension).
//   Reading: Open loads the whole file (at most the reader's bound; a larger
//   file is not read) and hands its lines out one by one, numbered from 1,
//   without their line ends (CR LF or LF; a CR on its own stays in its line,
//   text::LineEnds::CrLf). The bytes are the object's own.
//   The modified lines: the first line "1" (modified) or "0" ("2" is read as
//   "0"), the second the version text, not empty.
//   Delete removes the file and logs why it could not.
//
// Clearing or setting the modified flag of a file in place is
// SetModifiedFlag (modified_line.h): it rewrites the flag byte alone.
//
// Every desktop file a run writes goes through a temporary file beside it
// (fs::AtomicFile); RemoveAbandonedDesktopWrites clears the ones that runs
// which were killed left.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/line_reader.h"

namespace brevora::conduit {

struct Product;

class CLocalFile {
 public:
  // 64 MiB: far beyond what a handheld database of 65,535 records can take.
  static constexpr uint64_t kDefaultMaxBytes = uint64_t{64} << 20;

  explicit CLocalFile(uint64_t maxBytes = kDefaultMaxBytes) : maxBytes_(maxBytes) {}
  CLocalFile(const CLocalFile&) = delete;
  CLocalFile& operator=(const CLocalFile&) = delete;

  // The path of the product file `name` in `category` of `userFolder`.
  static std::string PathOf(const std::string& userFolder, const std::string& category,
                            const std::string& name, std::string_view extension);

  enum class OpenResult {
    Opened,
    Failed,    // logged: "Could not open <path>...skipping.\n", activity 21
    TooLarge,  // larger than the bound: not read, not logged
  };
  OpenResult Open(const std::string& name, const std::string& category,
                  const std::string& userFolder, std::string_view extension);
  OpenResult OpenPath(const std::string& path);
  // Lets the bytes go; true.
  bool Close();
  // Closes and removes the file. Not found logs "File Not Found.", access
  // denied "Access Denied.", any other failure "IO Error." (activity 21);
  // false then.
  bool Delete();

  bool isOpen() const { return open_; }
  const std::string& path() const { return path_; }
  // The whole file as it was loaded, for a reader of its own (empty when closed).
  std::string_view text() const { return text_; }

  // The next line; false at the end of the file.
  bool ReadLine(std::string_view& line);
  // The next line handed out is line 1 again.
  void Rewind() {
    lines_ = Lines(text_);
    line_ = 0;
  }
  // The number of the last line handed out (0 before the first).
  std::size_t lineNumber() const { return line_; }
  // True when no line is left.
  bool AtEnd() const { return lines_.AtEnd(); }
  // How many lines are left (to size what is read from them).
  std::size_t LinesLeft() const { return lines_.LinesLeft(); }

  struct ModifiedLines {
    bool modified = false;
    std::string versionText;
  };
  // Reads the first two lines (call it first); nullopt when they are not a
  // modified line and a version text.
  std::optional<ModifiedLines> ReadModifiedLines();

 private:
  static text::LineReader Lines(std::string_view text) {
    return text::LineReader(text, text::kDesktopLines);
  }

  uint64_t maxBytes_;
  std::string path_;
  std::string text_;
  text::LineReader lines_ = Lines({});
  std::size_t line_ = 0;
  bool open_ = false;
};

// Removes from the category folders of `userFolder` the temporary files of
// product files (the product's extension) whose writers were killed: never a
// live writer's (the desktop window may be saving), never any other file.
// Run it at the start of a run. Returns how many were removed.
std::size_t RemoveAbandonedDesktopWrites(const Product& product, const std::string& userFolder);

// The text of a desktop file, line by line, each line ended by CR LF.
class LocalFileWriter {
 public:
  void WriteLine(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
  }
  std::string& text() { return text_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace brevora::conduit
