#include "platform/error/error.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

namespace brevora {
namespace {

// Three levels of operations, each wrapping what fails inside it, as the
// object models do: the message reads from the outside in, one line per level.
void ReadCell() { RaiseError(13, "", "Type mismatch"); }

void ReadSheet() {
  try {
    ReadCell();
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.ReadSheet", "Could not read sheet 'A'.");
  }
}

void OpenWorkbook() {
  try {
    ReadSheet();
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.OpenFromDisk", "Could not open Workbook 'x.tbr'.");
  }
}

TEST(Wrap32760, ChainReadsOutsideInOneLinePerLevel) {
  try {
    OpenWorkbook();
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    // An inner 32760 passes unchanged, so the innermost wrapping's source stays.
    EXPECT_EQ(e.source(), "Workbook.ReadSheet");
    EXPECT_EQ(e.description(), "Could not read sheet 'A'.\r\nType mismatch");
  }
}

TEST(Wrap32760, WrapsOtherNumbersAndPassesA32760On) {
  const AutomationError inner(kObjectError + 3, "tabrelpc", "Bad value.");
  const AutomationError once = Wrap32760(inner, "Cell.Value", "Could not set value.");
  EXPECT_EQ(once.number(), kWrapError);
  EXPECT_EQ(once.source(), "Cell.Value");
  EXPECT_EQ(once.description(), "Could not set value.\r\nBad value.");

  const AutomationError twice = Wrap32760(once, "Workbook.Save", "Could not save.");
  EXPECT_EQ(twice.number(), once.number());
  EXPECT_EQ(twice.source(), once.source());
  EXPECT_EQ(twice.description(), once.description());
}

TEST(WrapAlways, PutsItsMessageInFrontOfEveryError) {
  const AutomationError inner32760(kWrapError, "Cell.Value", "Could not set value.\r\nBad value.");
  const AutomationError other(53, "fs", "File not found");
  for (const AutomationError& inner : {inner32760, other}) {
    const AutomationError outer =
        WrapAlways(inner, "Document.OpenFromDisk", "Could not open Document 'a'.");
    EXPECT_EQ(outer.number(), kWrapError);
    EXPECT_EQ(outer.source(), "Document.OpenFromDisk");
    EXPECT_EQ(outer.description(), "Could not open Document 'a'.\r\n" + inner.description());
  }
}

TEST(RunWrapped, ReturnsTheResultOrRaisesTheWrappedError) {
  EXPECT_EQ(RunWrapped("S", "m", [] { return 7; }), 7);
  EXPECT_EQ(RunWrappedAlways("S", "m", [] { return std::string("x"); }), "x");
  const AutomationError inner32760(kWrapError, "Inner", "inner.");
  const struct {
    AutomationError thrown;
    bool always;
    std::string source;
    std::string description;
  } cases[] = {
      {AutomationError(53, "fs", "File not found"), false, "SDK.Open",
       "Could not open.\r\nFile not found"},
      {inner32760, false, "Inner", "inner."},
      {AutomationError(53, "fs", "File not found"), true, "SDK.Open",
       "Could not open.\r\nFile not found"},
      {inner32760, true, "SDK.Open", "Could not open.\r\ninner."},
  };
  for (const auto& c : cases) {
    try {
      const auto body = [&] { throw c.thrown; };
      if (c.always) {
        RunWrappedAlways("SDK.Open", "Could not open.", body);
      } else {
        RunWrapped("SDK.Open", "Could not open.", body);
      }
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kWrapError);
      EXPECT_EQ(e.source(), c.source) << c.always;
      EXPECT_EQ(e.description(), c.description) << c.always;
    }
  }
  try {
    RunWrapped("SDK.Open", "Could not open.", [] { throw std::runtime_error("boom"); });
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.description(), "Could not open.\r\nboom") << "any exception is wrapped";
  }
}

TEST(CurrentError, TurnsAnyExceptionIntoAnAutomationError) {
  auto errorOf = [](auto thrower) {
    try {
      thrower();
    } catch (...) {
      return CurrentError();
    }
    return AutomationError(0, "", "");
  };
  AutomationError e = errorOf([] { throw AutomationError(53, "fs", "File not found"); });
  EXPECT_EQ(e.number(), 53);
  EXPECT_EQ(e.source(), "fs");
  e = errorOf([] { throw std::bad_alloc(); });
  EXPECT_EQ(e.number(), 7);
  e = errorOf([] { throw std::runtime_error("boom"); });
  EXPECT_EQ(e.number(), 5);
  EXPECT_EQ(e.description(), "boom");
}

TEST(RaiseObjectError, AddsVbObjectErrorWithModuleSource) {
  try {
    RaiseObjectError(12, "tabrelpc", "Invalid index.");
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x8004000C));
    EXPECT_EQ(e.source(), "tabrelpc");
    EXPECT_EQ(e.description(), "Invalid index.");
  }
}

TEST(RuntimeError, CarriesVisualBasicText) {
  EXPECT_EQ(RuntimeError(13).description(), "Type mismatch");
  EXPECT_EQ(RuntimeError(429).description(), "ActiveX component can't create object");
  EXPECT_EQ(RuntimeError(12345).description(), "Application-defined or object-defined error");
  EXPECT_EQ(RuntimeError(6).source(), "");
}

TEST(RuntimeError, KnowsTheFileAndFormatTexts) {
  // Raised by number alone (RaiseRuntimeError) by the file layer and the readers.
  const std::pair<int32_t, const char*> texts[] = {
      {52, "Bad file name or number"},
      {53, "File not found"},
      {57, "Device I/O error"},
      {58, "File already exists"},
      {61, "Disk full"},
      {62, "Input past end of file"},
      {70, "Permission denied"},
      {74, "Can't rename with different drive"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {321, "Invalid file format"},
      {380, "Invalid property value"},
  };
  for (const auto& [number, text] : texts) EXPECT_EQ(RuntimeErrorText(number), text) << number;
}

}  // namespace
}  // namespace brevora
