#pragma once
// Test support for the Word converter: a recording fake Word (testing/
// fake_office.h) with the Scrivane add-in installed, whose macros treat the
// Session values as the real add-in does: "SetSession" takes the ten variables
// of the active document (the temporary document), the conversion macros work
// on that copy, "GetSession" writes it back into the variables.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "doc/word_session.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "testing/fake_office.h"

namespace brevora::doc::testing {

using brevora::testing::FakeOfficeApp;
using brevora::testing::OfficeScript;
using Lines = std::vector<std::string>;
using Values = std::map<std::string, std::string>;

class FakeWord {
 public:
  using Body = std::function<void(Values& values)>;

  FakeWord(const FakeWord&) = delete;  // the macros hold `this`
  FakeWord& operator=(const FakeWord&) = delete;
  explicit FakeWord(std::string version = "9.0") {
    app->version = std::move(version);
    addInFolder = fs::TempDir() + "WordStartup";
    fs::MakeFolder(addInFolder);
    app->startupPath = addInFolder;
    addIn = app->addIns->List(addInFolder + "/scriv8.dot");
    app->SetMacro("SetSession", [this](FakeOfficeApp& word, Args) {
      values.clear();
      for (const auto& v : word.documents->active->variables->items) values[v->name] = v->value;
      return Variant();
    });
    app->SetMacro("GetSession", [this](FakeOfficeApp& word, Args) {
      for (const auto& [name, value] : values) word.documents->active->variables->Set(name, value);
      return Variant();
    });
  }

  // A macro of the add-in; `body` sees and may change the Session values.
  void Macro(const std::string& name, Body body) {
    app->SetMacro(name, [this, name, body = std::move(body)](FakeOfficeApp&, Args) {
      ++runs[name];
      body(values);
      return Variant();
    });
  }

  // The lines that show the call's course: creation, visibility, macros,
  // documents opened and closed, quitting and the pool.
  Lines Course() const {
    return script->Select({"CreateObject", "Word.Visible", "Word.Run", "Documents.Open",
                           "Word.Quit", "Document(" + std::string(kTempDocumentName) + ").Close",
                           "Pool.", "Entry."});
  }

  std::string TempDocumentPath() const { return addInFolder + "\\" + kTempDocumentName; }

  std::shared_ptr<OfficeScript> script = std::make_shared<OfficeScript>();
  Ref<FakeOfficeApp> app = MakeRef<FakeOfficeApp>(script, "Word");
  Ref<brevora::testing::FakeAddIn> addIn;
  std::string addInFolder;
  Values values;  // the add-in's copy of the Session values
  std::map<std::string, int> runs;
};

// Copies a file, standing in for a conversion of the add-in.
inline void CopyAs(const std::string& from, const std::string& to) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(from);
  fs::AtomicWrite(to, bytes);
}

}  // namespace brevora::doc::testing
