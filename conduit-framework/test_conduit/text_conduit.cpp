#include "conduit-framework/test_conduit/text_conduit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "conduit-framework/conduit_log.h"
#include "conduit-framework/modified_line.h"
#include "platform/fs/files.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/text/line_reader.h"

namespace brevora::texttest {

using conduit::CHandheldDatabase;
using conduit::ConverterBridge;
using conduit::CopyStep;
using conduit::DesktopHeader;
using conduit::LinkInfo;

namespace {

constexpr std::size_t kMaxRecord = 0xFFFF;
constexpr uint64_t kMaxFile = 1 << 20;

std::shared_ptr<ConverterBridge>& TestBridge() {
  static std::shared_ptr<ConverterBridge> bridge;
  return bridge;
}

// The next line of `text` (without LF or CR LF, as the conduits' desktop
// files end lines), `text` then what follows it; false when none is left.
bool NextLine(std::string_view& text, std::string_view& line) {
  text::LineReader lines(text, text::kDesktopLines);
  const auto next = lines.Next();
  if (!next) return false;
  line = *next;
  text.remove_prefix(lines.Position());
  return true;
}

template <class T>
std::optional<T> Number(std::string_view digits) {
  T value{};
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
    return std::nullopt;
  return value;
}

// "-" (no link) or "link <method> <option> <seconds> <path>"; nullopt when neither.
std::optional<std::optional<LinkInfo>> ParseLink(std::string_view line) {
  if (line == "-") return std::optional<LinkInfo>();
  if (!line.starts_with("link ")) return std::nullopt;
  line.remove_prefix(5);
  std::string_view fields[3];
  for (auto& field : fields) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    field = line.substr(0, space);
    line.remove_prefix(space + 1);
  }
  const auto method = Number<int32_t>(fields[0]);
  const auto option = Number<int32_t>(fields[1]);
  const auto seconds = Number<int64_t>(fields[2]);
  if (!method || !option || !seconds || *method < 0 || *method > 3 || *option < 0 || *option > 3 ||
      *seconds < 0 || line.empty()) {
    return std::nullopt;
  }
  return std::optional<LinkInfo>(
      LinkInfo{std::string(line), *method, *option, static_cast<double>(*seconds) / 86400.0});
}

struct ParsedFile {
  DesktopHeader header;
  std::string record;  // line 3 and the body
};

// The desktop file's text; `problem` names the line that is wrong.
std::optional<ParsedFile> ParseFile(std::string_view text, const std::string& path,
                                    std::string& problem) {
  ParsedFile parsed;
  std::string_view line;
  const auto flag = NextLine(text, line) ? conduit::ParseModifiedLine(line) : std::nullopt;
  if (!flag) {
    problem = path + ", line 1: not a modified line.";
    return std::nullopt;
  }
  parsed.header.modified = *flag;
  const auto version = NextLine(text, line) ? Number<uint16_t>(line) : std::nullopt;
  if (!version || *version < 1 || *version > kCurrentVersion) {
    problem = path + ", line 2: not a version of this format.";
    return std::nullopt;
  }
  parsed.header.version = *version;
  std::string_view linkLine;
  const auto link = NextLine(text, linkLine) ? ParseLink(linkLine) : std::nullopt;
  if (!link) {
    problem = path + ", line 3: not a link line.";
    return std::nullopt;
  }
  parsed.header.link = *link;
  parsed.record = std::string(linkLine) + "\n" + std::string(text);
  if (parsed.record.size() > kMaxRecord) {
    problem = path + ": the text is too long for the handheld.";
    return std::nullopt;
  }
  return parsed;
}

// The file's bytes, opened, sized and read once; nullopt when it can't be read
// or is larger than kMaxFile.
std::optional<std::string> ReadText(const std::string& path) {
  try {
    const fs::InputFile file(path);
    if (file.Size() > kMaxFile) return std::nullopt;
    const std::vector<uint8_t> bytes = file.Read(0, static_cast<std::size_t>(file.Size()));
    return std::string(bytes.begin(), bytes.end());
  } catch (...) {
    return std::nullopt;
  }
}

class TextCopy : public conduit::ProductCopy {
 public:
  CopyStep LoadDesktop(const std::string& path, uint16_t, std::string& problem) override {
    const auto text = ReadText(path);
    if (!text) {
      conduit::LogFileError("Could not open " + path + "...skipping.\n");
      return CopyStep::OpenFailed;
    }
    auto parsed = ParseFile(*text, path, problem);
    if (!parsed) return CopyStep::Refused;
    // The body is read only now: a NUL byte in it is bad data the header
    // reading does not see.
    if (const std::size_t nul = text->find('\0'); nul != std::string::npos) {
      const auto line =
          std::count(text->begin(), text->begin() + static_cast<std::ptrdiff_t>(nul), '\n') + 1;
      problem = path + ", line " + std::to_string(line) + ": a NUL byte in the text.";
      return CopyStep::Refused;
    }
    file_ = std::move(*parsed);
    return CopyStep::Done;
  }

  CopyStep WriteHandheld(CHandheldDatabase& db) override {
    conduit::CRecordDB::Record record;
    record.category = db.GetCategoryID();
    record.data.assign(file_.record.begin(), file_.record.end());
    db.ClearModified();
    return db.WriteRecord(record) && db.WriteAppInfo() ? CopyStep::Done : CopyStep::DeviceFailed;
  }

  CopyStep LoadHandheld(CHandheldDatabase& db, std::string& problem) override {
    const auto count = db.RecordCount();
    if (!count) return CopyStep::DeviceFailed;
    if (*count != 1) {
      problem = "the handheld's copy holds " + std::to_string(*count) + " records, not one.";
      return CopyStep::Refused;
    }
    const auto record = db.ReadRecord(0);
    if (!record) return CopyStep::DeviceFailed;
    std::string_view data(reinterpret_cast<const char*>(record->data.data()), record->data.size());
    std::string_view line;
    const auto link = NextLine(data, line) ? ParseLink(line) : std::nullopt;
    if (!link) {
      problem = "the handheld's copy, record 0: not a link line.";
      return CopyStep::Refused;
    }
    file_.header = {false, kCurrentVersion, *link};
    file_.record.assign(record->data.begin(), record->data.end());
    return CopyStep::Done;
  }

  bool WriteDesktop(fs::AtomicFile& out) override {
    out.Write("0\n" + std::to_string(kCurrentVersion) + "\n" + file_.record);
    return true;
  }

  CopyStep FinishHandheld(CHandheldDatabase& db) override {
    db.ClearModified();
    return db.WriteAppInfo() ? CopyStep::Done : CopyStep::DeviceFailed;
  }

  std::optional<LinkInfo> WrittenLink() const override { return file_.header.link; }

 private:
  ParsedFile file_;
};

// The installed test bridge, shared.
class SharedBridge : public ConverterBridge {
 public:
  explicit SharedBridge(std::shared_ptr<ConverterBridge> bridge) : bridge_(std::move(bridge)) {}
  bool OfficeToDesktop(const std::string& office, const std::string& desktop,
                       const std::string& options) override {
    return bridge_->OfficeToDesktop(office, desktop, options);
  }
  bool DesktopToOffice(const std::string& desktop, const std::string& office,
                       const std::string& options) override {
    return bridge_->DesktopToOffice(desktop, office, options);
  }

 private:
  std::shared_ptr<ConverterBridge> bridge_;
};

class TextClasses : public conduit::ConduitClasses {
 public:
  std::unique_ptr<CHandheldDatabase> HandheldFor(uint16_t version) const override {
    if (version < 1 || version > kCurrentVersion) return nullptr;
    return std::make_unique<TextDatabase>(version);
  }
  std::unique_ptr<CHandheldDatabase> NewestHandheld() const override {
    return std::make_unique<TextDatabase>(kCurrentVersion);
  }
  std::optional<DesktopHeader> ReadDesktopHeader(const std::string& path) const override {
    const auto text = ReadText(path);
    std::string problem;
    const auto parsed = text ? ParseFile(*text, path, problem) : std::nullopt;
    if (!parsed) return std::nullopt;
    return parsed->header;
  }
  std::unique_ptr<conduit::ProductCopy> MakeCopy() const override {
    return std::make_unique<TextCopy>();
  }
  std::unique_ptr<ConverterBridge> MakeBridge() const override {
    if (!TestBridge()) return nullptr;
    return std::make_unique<SharedBridge>(TestBridge());
  }
};

}  // namespace

TextDatabase::TextDatabase(uint16_t version)
    : CHandheldDatabase(hotsync::SyncCode("TxtT"), hotsync::SyncCode("Text"), version) {}

bool TextDatabase::ReadState() {
  const auto bytes = ReadAppInfoBlock();
  if (!bytes || bytes->size() != block_.size()) return false;
  std::copy(bytes->begin(), bytes->end(), block_.begin());
  return true;
}

bool TextDatabase::WriteAppInfo() {
  return WriteAppInfoBlock(std::vector<uint8_t>(block_.begin(), block_.end()));
}

void InstallTestBridge(std::shared_ptr<ConverterBridge> bridge) {
  TestBridge() = std::move(bridge);
}

const conduit::Product& TextTestProduct() {
  static const TextClasses classes;
  static const conduit::Product product = [] {
    conduit::Product p;
    p.name = "TextTest";
    p.registryKey = "Software\\Brevora\\TextTest";
    p.creator = hotsync::SyncCode("TxtT");
    p.type = hotsync::SyncCode("Text");
    p.version = kCurrentVersion;
    p.mainDatabase = "MainTextTestDB";
    p.mainCreator = hotsync::SyncCode("TxtT");
    p.mainType = hotsync::SyncCode("Main");
    p.oldMainDatabase = "OldTextTestDB";
    p.reservedNames = {"TextTest1DB"};
    p.extension = kExtension;
    p.minimumHandheldVersion = kCurrentVersion;
    p.registersWithSyncManager = true;
    p.officeExtensions = {".txt"};
    p.classes = &classes;
    return p;
  }();
  return product;
}

}  // namespace brevora::texttest
