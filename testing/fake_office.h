#pragma once
// Recording fakes of an Office application (Word, Excel or PowerPoint as the
// converters drive them, late-bound) and of the server pool, for converter
// tests. Every call any of the fakes of one test receives is written, in
// order, into their shared OfficeScript as one line of text:
//
//   App.Version                      a property read
//   App.Visible=False                a property assigned
//   App.Run(SetSession)              a method call with its arguments
//   Documents.Open(/tmp/t/scriv8.dot)
//   Variables.Add(SERVERMODE, 0)     Document(name) / Variable(name) / AddIn(name)
//   Pool.GetServer(Word.Application), Entry.ServerObject, Entry.ReleaseServer()
//   CreateObject(Word.Application)   a creation through the class registry
//
// Arguments are shown as text ("True", "5", "<missing>", "<object>",
// "<3 bytes>"). A test makes a call fail with OfficeScript::FailOn.
//
// The application answers: Application (itself), Name, Version, AddIns (Count,
// Item by position or name, Add; items with Name, FullName, Path, Installed),
// StartupPath, Path, Documents / Workbooks / Presentations (one list: Count,
// Item, Open, Add; documents with Name, FullName, Path, Variables, Activate,
// Close, Save, Saved), ActiveDocument / ActiveWorkbook / ActivePresentation,
// Run(macro, args...), Visible, WindowState, Quit. Macros are callbacks the
// test registers; they receive the Run arguments after the name by reference,
// so a macro can fill them (or, through a Session it holds, the error slot).
// Each fake lists its members in a MemberTable: anything else raises 438 and
// an argument count outside a member's bounds 450, as a real application
// would. A call is logged before it is looked up.
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/member_table.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora::testing {

// The log and the scripted failures that the fakes of one test share.
class OfficeScript {
 public:
  std::vector<std::string> calls;

  // A call whose log line begins with `linePrefix` raises `error` once it has
  // been logged (every time, until Clear).
  void FailOn(std::string linePrefix, AutomationError error);
  // The lines that begin with one of the prefixes, in order.
  std::vector<std::string> Select(std::initializer_list<std::string_view> prefixes) const;
  // True when a line begins with `prefix`.
  bool Called(std::string_view prefix) const;
  void Clear();

  // Used by the fakes: logs the line, then raises a scripted failure.
  void Record(std::string line);

 private:
  std::vector<std::pair<std::string, AutomationError>> failures_;
};

// The log line of one call.
std::string CallLine(std::string_view object, std::string_view member, CallKind kind, Args args);
// How an argument is shown in a log line.
std::string ArgText(const Variant& value);

class FakeOfficeApp;
class FakeSlideShow;

// One variable of a document; its value is kept as text, as Word keeps it.
class FakeVariable : public Dispatchable<FakeVariable> {
 public:
  static const MemberTable<FakeVariable>& Members();
  FakeVariable(std::shared_ptr<OfficeScript> script, std::string name, std::string value);
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  std::string name;
  std::string value;

 private:
  std::shared_ptr<OfficeScript> script_;
};

// A document's Variables: Count, Item(position or name; a missing name raises
// 5825), Add(name, value).
class FakeVariables : public Dispatchable<FakeVariables> {
 public:
  static const MemberTable<FakeVariables>& Members();
  explicit FakeVariables(std::shared_ptr<OfficeScript> script) : script_(std::move(script)) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  // The variable of that name (any case), or null.
  Ref<FakeVariable> Find(std::string_view name) const;
  void Set(std::string_view name, std::string value);  // adds it when missing; not logged
  std::vector<Ref<FakeVariable>> items;

 private:
  std::shared_ptr<OfficeScript> script_;
};

class FakeDocument : public Dispatchable<FakeDocument> {
 public:
  static const MemberTable<FakeDocument>& Members();
  FakeDocument(std::shared_ptr<OfficeScript> script, FakeOfficeApp& app, std::string fullName);
  ~FakeDocument() override;
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  std::string Name() const;
  std::string fullName;
  bool saved = true;
  Ref<FakeVariables> variables;
  // A presentation's slides and show (fake_slide_show.h): Slides,
  // SlideShowSettings, SlideShowWindow.
  Ref<FakeSlideShow> slideShow;

 private:
  std::shared_ptr<OfficeScript> script_;
  FakeOfficeApp* app_;  // the application outlives its documents' use in a test
};

// Documents, Workbooks or Presentations: the open documents and the active one.
class FakeDocuments : public Dispatchable<FakeDocuments> {
 public:
  static const MemberTable<FakeDocuments>& Members();
  FakeDocuments(std::shared_ptr<OfficeScript> script, FakeOfficeApp& app)
      : script_(std::move(script)), app_(&app) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  // Opens (or, when open already, activates) a document; not logged.
  Ref<FakeDocument> OpenDocument(std::string fullName);
  Ref<FakeDocument> Find(std::string_view name) const;  // by Name or FullName, any case
  void Close(const FakeDocument& document);
  void Activate(const Ref<FakeDocument>& document);
  std::vector<Ref<FakeDocument>> items;
  Ref<FakeDocument> active;

 private:
  std::shared_ptr<OfficeScript> script_;
  FakeOfficeApp* app_;
};

class FakeAddIn : public Dispatchable<FakeAddIn> {
 public:
  static const MemberTable<FakeAddIn>& Members();
  FakeAddIn(std::shared_ptr<OfficeScript> script, std::string name, std::string fullName,
            std::string path);
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  std::string name;
  std::string fullName;
  std::string path;
  bool installed = true;

 private:
  std::shared_ptr<OfficeScript> script_;
};

// AddIns: Count, Item(position or name; a missing one raises 9), Add(path[, install]).
class FakeAddIns : public Dispatchable<FakeAddIns> {
 public:
  static const MemberTable<FakeAddIns>& Members();
  explicit FakeAddIns(std::shared_ptr<OfficeScript> script) : script_(std::move(script)) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  // Lists an add-in file: Name is its file name, Path its folder (no final separator).
  Ref<FakeAddIn> List(std::string fullName);
  std::vector<Ref<FakeAddIn>> items;

 private:
  std::shared_ptr<OfficeScript> script_;
};

class FakeOfficeApp : public Dispatchable<FakeOfficeApp> {
 public:
  static const MemberTable<FakeOfficeApp>& Members();
  using Macro = std::function<Variant(FakeOfficeApp& app, Args args)>;

  // `label` begins the application's own log lines ("App", "Word").
  explicit FakeOfficeApp(std::shared_ptr<OfficeScript> script, std::string label = "App");
  ~FakeOfficeApp() override;
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

  // A macro that Run finds by its name (any case). Run of a name without a
  // macro raises 1004 "Cannot run the macro '<name>'.".
  void SetMacro(std::string name, Macro macro);

  std::string label;
  std::string name = "Microsoft Office";
  std::string version = "9.0";
  std::string startupPath;
  std::string path;
  bool visible = false;
  int32_t windowState = 1;
  int quitCount = 0;
  Ref<FakeAddIns> addIns;
  Ref<FakeDocuments> documents;

  OfficeScript& Script() { return *script_; }

 private:
  // Run(macro, arguments...): the macro receives the arguments after its name.
  Variant Run(Args args);

  std::shared_ptr<OfficeScript> script_;
  std::map<std::string, Macro, text::LessNoCase> macros_;
};

// One application lent by the pool: ServerObject, ReleaseServer.
class FakeServerEntry : public Dispatchable<FakeServerEntry> {
 public:
  static const MemberTable<FakeServerEntry>& Members();
  FakeServerEntry(std::shared_ptr<OfficeScript> script, Ref<Dispatch> app)
      : script_(std::move(script)), app_(std::move(app)) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

 private:
  std::shared_ptr<OfficeScript> script_;
  Ref<Dispatch> app_;
};

// The server pool: GetServer(progId) gives an entry for the application lent
// under that ProgID (none lent: 429).
class FakeServerPool : public Dispatchable<FakeServerPool> {
 public:
  static const MemberTable<FakeServerPool>& Members();
  explicit FakeServerPool(std::shared_ptr<OfficeScript> script) : script_(std::move(script)) {}
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  void Lend(std::string progId, Ref<Dispatch> app) { apps_[std::move(progId)] = std::move(app); }

 private:
  std::shared_ptr<OfficeScript> script_;
  std::map<std::string, Ref<Dispatch>, text::LessNoCase> apps_;
};

// Registers `object` in the class registry under `progId` for this object's
// life: every CreateObject(progId) logs "CreateObject(<progId>)" and returns it.
class ScopedClass {
 public:
  ScopedClass(std::string progId, Ref<Dispatch> object, std::shared_ptr<OfficeScript> script);
  ~ScopedClass();
  ScopedClass(const ScopedClass&) = delete;
  ScopedClass& operator=(const ScopedClass&) = delete;

 private:
  std::string progId_;
};

// Registers `object` as the running application of `progId` for this object's life.
class ScopedRunning {
 public:
  ScopedRunning(std::string progId, Ref<Dispatch> object);
  ~ScopedRunning();
  ScopedRunning(const ScopedRunning&) = delete;
  ScopedRunning& operator=(const ScopedRunning&) = delete;

 private:
  std::string progId_;
};

}  // namespace brevora::testing
