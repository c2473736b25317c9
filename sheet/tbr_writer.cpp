#include "sheet/tbr_writer.h"

#include "platform/error/error.h"
#include "sheet/cell_line.h"
#include "sheet/tbr_format.h"

namespace brevora::sheet {

namespace {

constexpr const char* kCheckSource = "Workbook.CheckTexts";

void CheckQuoted(std::string_view what, std::string_view text) {
  if (text.find_first_of("\"\r\n") != std::string_view::npos) {
    RaiseError(kWrapError, kCheckSource,
               "The " + std::string(what) + " '" + std::string(text) +
                   "' holds a double quote or a line break, which a workbook file cannot keep.");
  }
}

}  // namespace

void TbrWriter::Number(double value) { AppendNumber(out_, value); }

void TbrWriter::Text(std::string_view text) {
  out_ += tbr_format::kQuote;
  out_ += text;
  out_ += tbr_format::kQuote;
}

void TbrWriter::WriteHeader(const WorkbookHeader& header, bool modified, int16_t currentSheet) {
  Number(modified ? 1 : 0);
  LineEnd();
  Number(tbr_format::kVersion);
  LineEnd();
  Number(1);  // header flag
  LineEnd();
  Number(header.SyncMethod);
  LineEnd();
  Text(header.LinkedFileName);
  LineEnd();
  Number(header.LinkedFileTime);
  LineEnd();
  Number(header.SyncOption);
  LineEnd();
  Number(header.DefaultFormat);
  LineEnd();
  Number(currentSheet);
  LineEnd();
  Number(header.Properties);
  LineEnd();
  Number(header.Extra);
  LineEnd();
  Text(header.Currency);
  LineEnd();
  for (const StyleSlot& slot : header.Styles) {
    Number(slot.Format);
    Separator();
    Text(slot.Name);
    LineEnd();
  }
  for (size_t e = 0; e < tbr_format::kStoredSheetEntries; ++e) {
    const SheetParamsEntry& p = header.SheetParams[e];
    for (size_t j = 0; j < kHeaderWidths; ++j) {
      if (j > 0) Separator();
      Number(p.ColumnWidths[j]);
    }
    LineEnd();
    for (int16_t v : p.Frozen) {
      Number(v);
      Separator();
    }
    for (int16_t v : p.Current) {
      Number(v);
      Separator();
    }
    Number(p.OverflowColumn);
    Separator();
    Number(p.Fixed47);
    Separator();
    Number(p.Reserved);
    LineEnd();
  }
  Number(header.SheetCount);
  LineEnd();
  for (int16_t i = 0; i < header.SheetCount && i < static_cast<int16_t>(kSheetEntries); ++i) {
    Text(header.SheetNames[static_cast<size_t>(i)]);
    LineEnd();
  }
}

void TbrWriter::WriteCells(const SheetCollection& sheets) {
  int32_t position = 0;
  for (const Ref<Sheet>& sheet : sheets) {
    ++position;
    for (const Ref<Cell>& cell : sheet->Cells()) {
      AppendCellLine(out_, position, *cell);
      LineEnd();
    }
  }
}

void TbrWriter::WriteLine(std::string_view line) {
  out_ += line;
  LineEnd();
}

void TbrWriter::CheckTexts(const WorkbookHeader& header, const SheetCollection& sheets) {
  CheckQuoted("linked file name", header.LinkedFileName);
  CheckQuoted("currency", header.Currency);
  for (const StyleSlot& slot : header.Styles) CheckQuoted("style name", slot.Name);
  for (int16_t i = 0; i < header.SheetCount && i < static_cast<int16_t>(kSheetEntries); ++i) {
    CheckQuoted("sheet name", header.SheetNames[static_cast<size_t>(i)]);
  }
  CheckCellTexts(sheets, "\t\r\n", kCheckSource, "a tab or a line break, which a workbook file");
}

}  // namespace brevora::sheet
