#include "conduit/local_workbook.h"

#include <vector>

#include "conduit/numbers.h"
#include "sheet/tbr_format.h"

namespace brevora::tabrel {
namespace tbr = sheet::tbr_format;
namespace fmt = workbook_format;
namespace {

constexpr std::size_t kMaxLinkPath = fmt::kLinkPathSize - 1;
constexpr uint32_t kOldProperties = 22;
constexpr std::size_t kV4Params = 12;
constexpr std::size_t kV5Params = 13;
constexpr std::size_t kV8Params = 11;

std::string Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += tbr::kQuote;
  out += text;
  out += tbr::kQuote;
  return out;
}

// Whether the version text names a version below 4 (no properties line).
bool BeforeVersion4(const std::string& versionText) {
  const auto version = ParseInteger(versionText);
  return version && *version < 4;
}

}  // namespace

// The header's lines in order, each value checked; the first fault is kept in
// `problem` with its line.
class LocalWorkbook::HeaderLines {
 public:
  HeaderLines(CLocalFile& file, std::string& problem) : file_(file), problem_(problem) {}

  bool Fail(const std::string& what) {
    problem_ = file_.path() + ", line " + std::to_string(file_.lineNumber()) + ": " + what;
    return false;
  }

  bool Line(std::string_view& line, const char* what) {
    if (file_.ReadLine(line)) return true;
    problem_ = file_.path() + ": the file ends before its " + std::string(what) + ".";
    return false;
  }

  template <class T, class Parse>
  bool Number(T& out, const char* what, Parse parse) {
    std::string_view line;
    if (!Line(line, what)) return false;
    const auto value = parse(line);
    if (!value) return Fail("the " + std::string(what) + " is not a number that fits.");
    out = *value;
    return true;
  }
  bool Word(uint16_t& out, const char* what) { return Number(out, what, ParseWord); }
  bool DWord(uint32_t& out, const char* what) { return Number(out, what, ParseDWord); }

  bool Quoted(std::string& out, const char* what) {
    std::string_view line;
    if (!Line(line, what)) return false;
    out = std::string(tbr::Unquoted(line));
    return true;
  }

  // The comma-separated values of one line; exactly `count`.
  bool Values(std::vector<std::string_view>& values, std::size_t count, const char* what) {
    std::string_view line;
    if (!Line(line, what)) return false;
    values.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
      if (i < line.size() && line[i] != tbr::kValueSeparator) continue;
      values.push_back(line.substr(start, i - start));
      start = i + 1;
    }
    if (values.size() != count) {
      return Fail("the " + std::string(what) + " has " + std::to_string(values.size()) +
                  " values, not " + std::to_string(count) + ".");
    }
    return true;
  }

  bool WordAt(const std::vector<std::string_view>& values, std::size_t i, uint16_t& out,
              const char* what) {
    const auto value = ParseWord(values[i]);
    if (!value)
      return Fail("value " + std::to_string(i + 1) + " of the " + what +
                  " is not a number that fits.");
    out = *value;
    return true;
  }

  // A line of column widths into `widths` (as many as it holds).
  template <std::size_t N>
  bool Widths(std::array<uint16_t, N>& widths, std::size_t count) {
    std::vector<std::string_view> values;
    if (!Values(values, count, "column-width line")) return false;
    for (std::size_t i = 0; i < count; ++i) {
      uint16_t w = 0;
      if (!WordAt(values, i, w, "column-width line")) return false;
      if (i < N) widths[i] = w;
    }
    return true;
  }

  bool Currency(char& first, char& second) {
    std::string_view line;
    if (!Line(line, "currency")) return false;
    if (line.empty() || line.front() != tbr::kQuote) return Fail("the currency is not in quotes.");
    line.remove_prefix(1);
    const std::size_t end = line.find(tbr::kQuote);
    const std::string_view text = line.substr(0, std::min<std::size_t>(end, 2));
    first = text.size() > 0 ? text[0] : '\0';
    second = text.size() > 1 ? text[1] : '\0';
    return true;
  }

  bool Style(BlockStyle& style) {
    std::string_view line;
    if (!Line(line, "style lines")) return false;
    const std::size_t comma = line.find(tbr::kValueSeparator);
    const auto flags = ParseDWord(line.substr(0, comma));
    if (comma == std::string_view::npos || !flags) return Fail("not a style line.");
    style.flags = *flags;
    const std::string_view name = tbr::Unquoted(line.substr(comma + 1));
    style.name = std::string(name.substr(0, fmt::kStyleNameSize - 1));
    return true;
  }

  // The sheet count and the names after it, into slots 0 on.
  template <class Header>
  bool Names(Header& h) {
    std::string_view line;
    if (!Line(line, "sheet count")) return false;
    const auto count = ParseInteger(line);
    if (!count || *count < 0) return Fail("the sheet count is not a number.");
    if (*count > static_cast<int64_t>(kHeaderSlots)) {
      return Fail("the sheet count " + std::to_string(*count) + " is above " +
                  std::to_string(kHeaderSlots) + ".");
    }
    h.sheetCount = static_cast<uint16_t>(*count);
    for (std::size_t i = 0; i < h.sheetCount; ++i) {
      if (!Quoted(h.names[i], "sheet names")) return false;
    }
    return true;
  }

 private:
  CLocalFile& file_;
  std::string& problem_;
};

template <class Header>
bool LocalWorkbook::ReadCommon(HeaderLines& in, Header& h, bool& modified) {
  // Lines 1 to 3.
  const auto lines = ReadModifiedLines();
  if (!lines) return in.Fail("the file does not begin with its modified flag and version.");
  modified = lines->modified;
  h.versionText = lines->versionText;
  std::string_view line;
  if (!in.Line(line, "header flag")) return false;
  h.valid = line == "1";
  return true;
}

bool LocalWorkbook::ReadHeader(CWorkbookHeader& h, bool& modified, std::string& problem) {
  HeaderLines in(*this, problem);
  h.Reset();
  if (layout_ == Layout::V8) return in.Fail("the header is of version 8 or 9.");
  if (!ReadCommon(in, h, modified)) return false;
  if (h.valid) {
    std::vector<std::string_view> values;
    if (layout_ == Layout::V4) {
      // Ten workbook-wide widths, carried nowhere.
      std::array<uint16_t, fmt::kV4ColumnWidths> ignored{};
      if (!in.Widths(ignored, fmt::kV4ColumnWidths)) return false;
    }
    uint16_t currentSheet = 0;
    if (!in.DWord(h.defaultStyleFlags, "default style flags") ||
        !in.Word(currentSheet, "current sheet"))
      return false;
    h.currentSheet = currentSheet;
    h.properties = kOldProperties;
    if (!BeforeVersion4(h.versionText) && !in.DWord(h.properties, "properties")) return false;
    if (!in.Word(h.userStyleCount, "user style count") || !in.Currency(h.currency, h.secondChar))
      return false;
    for (BlockStyle& style : h.styles) {
      if (!in.Style(style)) return false;
    }
    for (SheetRecordV5& s : h.sheets) {
      const char* what = "sheet line";
      if (layout_ == Layout::V5 && !in.Widths(s.widths, s.widths.size())) return false;
      if (!in.Values(values, layout_ == Layout::V4 ? kV4Params : kV5Params, what)) return false;
      for (std::size_t k = 0; k < s.settings.size(); ++k) {
        if (!in.WordAt(values, k, s.settings[k], what)) return false;
      }
      // The double words (values 9 and 10) and the last word are not kept.
      s.doubles = {0, 0};
      if (!in.WordAt(values, 10, s.setting, what)) return false;
      if (layout_ == Layout::V5 && !in.WordAt(values, 11, s.defaultWidth, what)) return false;
      s.lastWord = 0;
    }
  }
  return in.Names(h);
}

bool LocalWorkbook::ReadHeader(CWorkbookHeader_V8& h, bool& modified, std::string& problem) {
  HeaderLines in(*this, problem);
  h.Reset();
  if (layout_ != Layout::V8) return in.Fail("the header is older than version 8.");
  if (!ReadCommon(in, h, modified)) return false;
  if (h.valid) {
    uint32_t linkDate = 0;
    if (!in.Word(h.linkMethod, "link sync method") || !in.Quoted(h.linkPath, "linked file") ||
        !in.Number(linkDate, "link date", ParseUInt32) || !in.Word(h.linkOption, "link option")) {
      return false;
    }
    if (h.linkPath.size() > kMaxLinkPath)
      return in.Fail("the linked file's path is longer than 255 characters.");
    h.linkDate = linkDate;
    if (!in.DWord(h.defaultStyleFlags, "default style flags") ||
        !in.Word(h.currentSheet, "current sheet")) {
      return false;
    }
    h.properties = kOldProperties;
    if (!BeforeVersion4(h.versionText) && !in.DWord(h.properties, "properties")) return false;
    if (!in.Word(h.userStyleCount, "user style count") || !in.Currency(h.currency, h.secondChar))
      return false;
    for (BlockStyle& style : h.styles) {
      if (!in.Style(style)) return false;
    }
    std::vector<std::string_view> values;
    for (SheetRecordV8& s : h.sheets) {
      const char* what = "sheet line";
      if (!in.Widths(s.widths, s.widths.size()) || !in.Values(values, kV8Params, what))
        return false;
      for (std::size_t k = 0; k < s.settings.size(); ++k) {
        if (!in.WordAt(values, k, s.settings[k], what)) return false;
      }
      if (!in.WordAt(values, 8, s.setting, what) || !in.WordAt(values, 9, s.defaultWidth, what))
        return false;
      s.lastWord = 0;
    }
  }
  return in.Names(h);
}

LocalWorkbook::CellRead LocalWorkbook::ReadNextCell(CellRecord& cell, std::string& problem) {
  std::string_view line;
  if (!ReadLine(line)) return CellRead::End;
  if (line.empty()) {
    // Blank lines end the cells only when nothing but blank lines follows.
    const std::size_t blank = lineNumber();
    while (ReadLine(line)) {
      if (!line.empty()) {
        problem = path() + ", line " + std::to_string(blank) + ": a blank line among the cells.";
        return CellRead::Bad;
      }
    }
    return CellRead::End;
  }
  auto parsed = ParseCell(line, form_, problem);
  if (!parsed) {
    problem = path() + ", line " + std::to_string(lineNumber()) + ": " + problem;
    return CellRead::Bad;
  }
  cell = std::move(*parsed);
  return CellRead::Cell;
}

template <class Header>
void LocalWorkbook::WriteCommonStart(const Header& h, bool modified) {
  writer_.WriteLine(modified ? "1" : "0");
  writer_.WriteLine(h.versionText);
  writer_.WriteLine("1");
}

namespace {

// "flags,"name"" of each style, the currency, the names.
std::string StyleLine(const BlockStyle& style) {
  std::string line;
  AppendDecimal(line, style.flags);
  line += tbr::kValueSeparator;
  line += Quoted(style.name);
  return line;
}

std::string CurrencyLine(char first, char second) {
  std::string text;
  if (first != '\0') {
    text += first;
    if (second != '\0') text += second;
  }
  return Quoted(text);
}

template <class Range>
std::string WordList(const Range& values, std::size_t count) {
  std::string line;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) line += tbr::kValueSeparator;
    AppendWord(line, values[i]);
  }
  return line;
}

std::string Number(uint32_t value) {
  std::string text;
  AppendDecimal(text, value);
  return text;
}

std::string Word(uint16_t value) {
  std::string text;
  AppendWord(text, value);
  return text;
}

}  // namespace

void LocalWorkbook::WriteHeader(const CWorkbookHeader& h, bool modified) {
  WriteCommonStart(h, modified);
  if (layout_ == Layout::V4) writer_.WriteLine(WordList(h.sheets[0].widths, fmt::kV4ColumnWidths));
  writer_.WriteLine(Number(h.defaultStyleFlags));
  writer_.WriteLine(Word(static_cast<uint16_t>(h.currentSheet)));
  if (!BeforeVersion4(h.versionText)) writer_.WriteLine(Number(h.properties));
  writer_.WriteLine(Word(h.userStyleCount));
  writer_.WriteLine(CurrencyLine(h.currency, h.secondChar));
  for (const BlockStyle& style : h.styles) writer_.WriteLine(StyleLine(style));
  for (const SheetRecordV5& s : h.sheets) {
    if (layout_ == Layout::V5) writer_.WriteLine(WordList(s.widths, s.widths.size()));
    std::string line = WordList(s.settings, s.settings.size());
    for (uint32_t d : s.doubles) line += tbr::kValueSeparator + Number(d);
    line += tbr::kValueSeparator + Word(s.setting);
    if (layout_ == Layout::V5) line += tbr::kValueSeparator + Word(s.defaultWidth);
    line += tbr::kValueSeparator + Word(s.lastWord);
    writer_.WriteLine(line);
  }
  if (layout_ == Layout::V4) {
    // Exactly the first (sheet count) slots.
    const std::size_t count = std::min<std::size_t>(h.sheetCount, kHeaderSlots);
    writer_.WriteLine(Number(static_cast<uint32_t>(count)));
    for (std::size_t i = 0; i < count; ++i) writer_.WriteLine(Quoted(h.names[i]));
    return;
  }
  std::size_t named = 0;
  for (const std::string& name : h.names) named += !name.empty();
  writer_.WriteLine(Number(static_cast<uint32_t>(named)));
  for (const std::string& name : h.names) {
    if (!name.empty()) writer_.WriteLine(Quoted(name));
  }
}

void LocalWorkbook::WriteHeader(const CWorkbookHeader_V8& h, bool modified) {
  WriteCommonStart(h, modified);
  writer_.WriteLine(Word(h.linkMethod));
  writer_.WriteLine(Quoted(h.linkPath));
  writer_.WriteLine(Number(h.linkDate));
  writer_.WriteLine(Word(h.linkOption));
  writer_.WriteLine(Number(h.defaultStyleFlags));
  writer_.WriteLine(Word(h.currentSheet));
  if (!BeforeVersion4(h.versionText)) writer_.WriteLine(Number(h.properties));
  writer_.WriteLine(Word(h.userStyleCount));
  writer_.WriteLine(CurrencyLine(h.currency, h.secondChar));
  for (const BlockStyle& style : h.styles) writer_.WriteLine(StyleLine(style));
  for (const SheetRecordV8& s : h.sheets) {
    writer_.WriteLine(WordList(s.widths, s.widths.size()));
    std::string line = WordList(s.settings, s.settings.size());
    line += tbr::kValueSeparator + Word(s.setting);
    line += tbr::kValueSeparator + Word(s.defaultWidth);
    line += tbr::kValueSeparator + Word(s.lastWord);
    writer_.WriteLine(line);
  }
  std::size_t named = 0;
  for (const std::string& name : h.names) named += !name.empty();
  writer_.WriteLine(Number(static_cast<uint32_t>(named)));
  for (const std::string& name : h.names) {
    if (!name.empty()) writer_.WriteLine(Quoted(name));
  }
}

void LocalWorkbook::WriteCell(const CellRecord& cell) {
  AppendCell(writer_.text(), cell, form_);
  writer_.text() += "\r\n";
}

std::unique_ptr<LocalWorkbook> LocalWorkbookFor(uint16_t version) {
  switch (version) {
    case 5:
      return std::make_unique<CLocalWorkbook_V5>();
    case 6:
      return std::make_unique<CLocalWorkbook_V6>();
    case 7:
      return std::make_unique<CLocalWorkbook_V7>();
    case 8:
    case 9:
      return std::make_unique<CLocalWorkbook_V8>();
    default:
      return std::make_unique<CLocalWorkbook_V4>();
  }
}

}  // namespace brevora::tabrel
