#include "testing/fake_office.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/running_objects.h"
#include "platform/fs/paths.h"
#include "testing/fake_slide_show.h"

namespace brevora::testing {

namespace {

using M = CallKind;

constexpr int32_t kBadIndex = 9;
constexpr int32_t kWrongArgumentCount = 450;
constexpr int32_t kCannotCreate = 429;
// The most arguments Documents.Open, Add, Close and Application.Quit and Run
// take in any of the three applications (Run: the macro and 30 arguments).
constexpr int kOpenArgs = 16;
constexpr int kAddArgs = 4;
constexpr int kCloseArgs = 3;
constexpr int kQuitArgs = 3;
constexpr size_t kRunArgs = 31;

bool Is(std::string_view a, std::string_view b) { return text::EqualsNoCase(a, b); }

bool IsPosition(const Variant& index) { return index.IsNumeric(); }

// The item at a 1-based position; null when there is none.
template <class T>
Ref<T> AtPosition(const std::vector<Ref<T>>& items, const Variant& index) {
  const int32_t i = CLng(index);
  if (i < 1 || i > static_cast<int32_t>(items.size())) return nullptr;
  return items[static_cast<size_t>(i - 1)];
}

std::string FolderWithoutSeparator(std::string_view path) {
  std::string folder = fs::FolderPart(path);
  if (!folder.empty() && fs::IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

}  // namespace

// ---- OfficeScript -------------------------------------------------------------

void OfficeScript::FailOn(std::string linePrefix, AutomationError error) {
  failures_.emplace_back(std::move(linePrefix), std::move(error));
}

std::vector<std::string> OfficeScript::Select(
    std::initializer_list<std::string_view> prefixes) const {
  std::vector<std::string> selected;
  for (const std::string& line : calls) {
    for (std::string_view prefix : prefixes) {
      if (line.starts_with(prefix)) {
        selected.push_back(line);
        break;
      }
    }
  }
  return selected;
}

bool OfficeScript::Called(std::string_view prefix) const {
  for (const std::string& line : calls) {
    if (line.starts_with(prefix)) return true;
  }
  return false;
}

void OfficeScript::Clear() {
  calls.clear();
  failures_.clear();
}

void OfficeScript::Record(std::string line) {
  calls.push_back(line);
  for (const auto& [prefix, error] : failures_) {
    if (line.starts_with(prefix)) throw error;
  }
}

std::string ArgText(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
      return "<empty>";
    case VarType::Null:
      return "<null>";
    case VarType::Missing:
      return "<missing>";
    case VarType::Object:
      return value.AsObject() ? "<object>" : "<nothing>";
    case VarType::Bytes:
      return "<" + std::to_string(value.AsBytes().size()) + " bytes>";
    case VarType::Array:
      return "<array " + std::to_string(value.AsArray().size()) + ">";
    case VarType::Boolean:
      return value.AsBoolean() ? "True" : "False";
    default:
      return CStr(value);
  }
}

std::string CallLine(std::string_view object, std::string_view member, CallKind kind, Args args) {
  std::string line = std::string(object) + "." + std::string(member);
  const bool assigns = kind == CallKind::Let || kind == CallKind::Set;
  const size_t listed = assigns && !args.empty() ? args.size() - 1 : args.size();
  if (listed > 0 || kind == CallKind::Method) {
    line += "(";
    for (size_t i = 0; i < listed; ++i) line += (i ? ", " : "") + ArgText(args[i]);
    line += ")";
  }
  if (assigns && !args.empty()) line += "=" + ArgText(args.back());
  return line;
}

// ---- Variables --------------------------------------------------------------------

FakeVariable::FakeVariable(std::shared_ptr<OfficeScript> script, std::string name,
                           std::string value)
    : name(std::move(name)), value(std::move(value)), script_(std::move(script)) {}

const MemberTable<FakeVariable>& FakeVariable::Members() {
  static const MemberTable<FakeVariable> table{
      {"Name", M::Get, [](FakeVariable& v, Args) { return Variant(v.name); }},
      {"Value", M::Get, [](FakeVariable& v, Args) { return Variant(v.value); }},
      {"Value", M::Let, [](FakeVariable& v, Args a) { v.value = CStr(a[0]); }}};
  return table;
}

Variant FakeVariable::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Variable(" + name + ")", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

Ref<FakeVariable> FakeVariables::Find(std::string_view name) const {
  for (const Ref<FakeVariable>& v : items) {
    if (Is(v->name, name)) return v;
  }
  return nullptr;
}

void FakeVariables::Set(std::string_view name, std::string value) {
  if (Ref<FakeVariable> v = Find(name)) {
    v->value = std::move(value);
    return;
  }
  items.push_back(MakeRef<FakeVariable>(script_, std::string(name), std::move(value)));
}

const MemberTable<FakeVariables>& FakeVariables::Members() {
  static const MemberTable<FakeVariables> table{
      {"Count", M::Get,
       [](FakeVariables& v, Args) { return Variant(static_cast<int32_t>(v.items.size())); }},
      {"Item", M::Method,
       [](FakeVariables& v, Args a) {
         if (IsPosition(a[0])) {
           Ref<FakeVariable> item = AtPosition(v.items, a[0]);
           if (!item)
             RaiseError(kBadIndex, "Word",
                        "The requested member of the collection does not exist.");
           return Variant(item);
         }
         if (Ref<FakeVariable> item = v.Find(CStr(a[0]))) return Variant(item);
         RaiseError(5825, "Word", "Object has been deleted.");
       },
       1},
      {"Add", M::Method,
       [](FakeVariables& v, Args a) {
         const std::string name = CStr(a[0]);
         if (v.Find(name)) RaiseError(5903, "Word", "The variable name already exists.");
         const std::string value = a[1].IsMissing() ? std::string() : CStr(a[1]);
         v.items.push_back(MakeRef<FakeVariable>(v.script_, name, value));
         return Variant(v.items.back());
       },
       1, 2}};
  return table;
}

Variant FakeVariables::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Variables", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

// ---- Documents --------------------------------------------------------------------

FakeDocument::FakeDocument(std::shared_ptr<OfficeScript> script, FakeOfficeApp& app,
                           std::string fullName)
    : fullName(std::move(fullName)),
      variables(MakeRef<FakeVariables>(script)),
      slideShow(MakeRef<FakeSlideShow>(script, fs::FileNamePart(this->fullName))),
      script_(std::move(script)),
      app_(&app) {}

FakeDocument::~FakeDocument() = default;

std::string FakeDocument::Name() const { return fs::FileNamePart(fullName); }

const MemberTable<FakeDocument>& FakeDocument::Members() {
  static const MemberTable<FakeDocument> table{
      {"Name", M::Get, [](FakeDocument& d, Args) { return Variant(d.Name()); }},
      {"FullName", M::Get, [](FakeDocument& d, Args) { return Variant(d.fullName); }},
      {"Path", M::Get,
       [](FakeDocument& d, Args) { return Variant(FolderWithoutSeparator(d.fullName)); }},
      {"Variables", M::Get, [](FakeDocument& d, Args) { return Variant(d.variables); }},
      {"Slides", M::Get, [](FakeDocument& d, Args) { return Variant(SlidesOf(d.slideShow)); }},
      {"SlideShowSettings", M::Get,
       [](FakeDocument& d, Args) { return Variant(SlideShowSettingsOf(d.slideShow)); }},
      {"SlideShowWindow", M::Get,
       [](FakeDocument& d, Args) { return Variant(SlideShowWindowOf(d.slideShow)); }},
      {"Saved", M::Get, [](FakeDocument& d, Args) { return Variant(d.saved); }},
      {"Saved", M::Let, [](FakeDocument& d, Args a) { d.saved = CBool(a[0]); }},
      {"Activate", M::Method,
       [](FakeDocument& d, Args) { d.app_->documents->Activate(Ref<FakeDocument>(&d)); }},
      {"Save", M::Method, [](FakeDocument& d, Args) { d.saved = true; }},
      {"Close", M::Method, [](FakeDocument& d, Args) { d.app_->documents->Close(d); }, 0,
       kCloseArgs}};
  return table;
}

Variant FakeDocument::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Document(" + Name() + ")", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

Ref<FakeDocument> FakeDocuments::Find(std::string_view name) const {
  for (const Ref<FakeDocument>& d : items) {
    if (Is(d->Name(), name) || Is(d->fullName, name)) return d;
  }
  return nullptr;
}

Ref<FakeDocument> FakeDocuments::OpenDocument(std::string fullName) {
  Ref<FakeDocument> document = Find(fullName);
  if (!document) {
    document = MakeRef<FakeDocument>(script_, *app_, std::move(fullName));
    items.push_back(document);
  }
  active = document;
  return document;
}

void FakeDocuments::Close(const FakeDocument& document) {
  Ref<FakeDocument> keep(const_cast<FakeDocument*>(&document));  // alive until we are done
  std::erase_if(items, [&](const Ref<FakeDocument>& d) { return d.get() == &document; });
  if (active.get() == &document) active = items.empty() ? nullptr : items.back();
}

void FakeDocuments::Activate(const Ref<FakeDocument>& document) { active = document; }

const MemberTable<FakeDocuments>& FakeDocuments::Members() {
  static const MemberTable<FakeDocuments> table{
      {"Count", M::Get,
       [](FakeDocuments& d, Args) { return Variant(static_cast<int32_t>(d.items.size())); }},
      {"Item", M::Method,
       [](FakeDocuments& d, Args a) {
         Ref<FakeDocument> item = IsPosition(a[0]) ? AtPosition(d.items, a[0]) : d.Find(CStr(a[0]));
         if (!item) RaiseRuntimeError(kBadIndex);
         return Variant(item);
       },
       1},
      {"Open", M::Method,
       [](FakeDocuments& d, Args a) { return Variant(d.OpenDocument(CStr(a[0]))); }, 1, kOpenArgs},
      {"Add", M::Method,
       [](FakeDocuments& d, Args) {
         return Variant(d.OpenDocument("Document" + std::to_string(d.items.size() + 1)));
       },
       0, kAddArgs}};
  return table;
}

Variant FakeDocuments::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Documents", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

// ---- AddIns -----------------------------------------------------------------------

FakeAddIn::FakeAddIn(std::shared_ptr<OfficeScript> script, std::string name, std::string fullName,
                     std::string path)
    : name(std::move(name)),
      fullName(std::move(fullName)),
      path(std::move(path)),
      script_(std::move(script)) {}

const MemberTable<FakeAddIn>& FakeAddIn::Members() {
  static const MemberTable<FakeAddIn> table{
      {"Name", M::Get, [](FakeAddIn& a, Args) { return Variant(a.name); }},
      {"FullName", M::Get, [](FakeAddIn& a, Args) { return Variant(a.fullName); }},
      {"Path", M::Get, [](FakeAddIn& a, Args) { return Variant(a.path); }},
      {"Installed", M::Get, [](FakeAddIn& a, Args) { return Variant(a.installed); }},
      {"Installed", M::Let, [](FakeAddIn& a, Args args) { a.installed = CBool(args[0]); }}};
  return table;
}

Variant FakeAddIn::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("AddIn(" + name + ")", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

Ref<FakeAddIn> FakeAddIns::List(std::string fullName) {
  Ref<FakeAddIn> addIn = MakeRef<FakeAddIn>(script_, fs::FileNamePart(fullName), fullName,
                                            FolderWithoutSeparator(fullName));
  items.push_back(addIn);
  return addIn;
}

const MemberTable<FakeAddIns>& FakeAddIns::Members() {
  static const MemberTable<FakeAddIns> table{
      {"Count", M::Get,
       [](FakeAddIns& a, Args) { return Variant(static_cast<int32_t>(a.items.size())); }},
      {"Item", M::Method,
       [](FakeAddIns& a, Args args) {
         if (IsPosition(args[0])) {
           Ref<FakeAddIn> item = AtPosition(a.items, args[0]);
           if (!item) RaiseRuntimeError(kBadIndex);
           return Variant(item);
         }
         for (const Ref<FakeAddIn>& item : a.items) {
           if (Is(item->name, CStr(args[0]))) return Variant(item);
         }
         RaiseRuntimeError(kBadIndex);
       },
       1},
      {"Add", M::Method,
       [](FakeAddIns& a, Args args) {
         const std::string fullName = CStr(args[0]);
         for (const Ref<FakeAddIn>& item : a.items) {
           if (Is(item->fullName, fullName)) return Variant(item);
         }
         return Variant(a.List(fullName));
       },
       1, 2}};
  return table;
}

Variant FakeAddIns::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("AddIns", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

// ---- The application ----------------------------------------------------------------

FakeOfficeApp::FakeOfficeApp(std::shared_ptr<OfficeScript> script, std::string label)
    : label(std::move(label)),
      addIns(MakeRef<FakeAddIns>(script)),
      documents(MakeRef<FakeDocuments>(script, *this)),
      script_(std::move(script)) {}

FakeOfficeApp::~FakeOfficeApp() = default;

void FakeOfficeApp::SetMacro(std::string macroName, Macro macro) {
  macros_[std::move(macroName)] = std::move(macro);
}

const MemberTable<FakeOfficeApp>& FakeOfficeApp::Members() {
  using App = FakeOfficeApp;
  const auto active = [](App& app, Args) {
    if (!app.documents->active) {
      RaiseError(4248, app.label, "This command is not available because no document is open.");
    }
    return Variant(app.documents->active);
  };
  static const MemberTable<App> table{
      {"Application", M::Get, [](App& app, Args) { return Variant(Ref<Dispatch>(&app)); }},
      {"Name", M::Get, [](App& app, Args) { return Variant(app.name); }},
      {"Version", M::Get, [](App& app, Args) { return Variant(app.version); }},
      {"AddIns", M::Get, [](App& app, Args) { return Variant(app.addIns); }},
      {"SlideShowWindows", M::Get,
       [](App& app, Args) { return Variant(MakeRef<FakeSlideShowWindows>(app.script_, app)); }},
      {"Path", M::Get, [](App& app, Args) { return Variant(app.path); }},
      {"Documents", M::Get, [](App& app, Args) { return Variant(app.documents); }},
      {"Workbooks", M::Get, [](App& app, Args) { return Variant(app.documents); }},
      {"Presentations", M::Get, [](App& app, Args) { return Variant(app.documents); }},
      {"ActiveDocument", M::Get, active},
      {"ActiveWorkbook", M::Get, active},
      {"ActivePresentation", M::Get, active},
      {"StartupPath", M::Get, [](App& app, Args) { return Variant(app.startupPath); }},
      {"StartupPath", M::Let, [](App& app, Args a) { app.startupPath = CStr(a[0]); }},
      {"Visible", M::Get, [](App& app, Args) { return Variant(app.visible); }},
      {"Visible", M::Let, [](App& app, Args a) { app.visible = CBool(a[0]); }},
      {"WindowState", M::Get, [](App& app, Args) { return Variant(app.windowState); }},
      {"WindowState", M::Let, [](App& app, Args a) { app.windowState = CLng(a[0]); }},
      {"Quit", M::Method, [](App& app, Args) { ++app.quitCount; }, 0, kQuitArgs}};
  return table;
}

Variant FakeOfficeApp::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine(label, member, kind, args));
  // Run is answered here, not from the table: its macro sees exactly the
  // arguments passed (a table entry would pad them to its most).
  if (kind == CallKind::Method && Is(member, "Run")) return Run(args);
  return Dispatchable::Invoke(member, kind, args);
}

Variant FakeOfficeApp::Run(Args args) {
  if (args.empty() || args.size() > kRunArgs) RaiseRuntimeError(kWrongArgumentCount);
  const std::string macroName = CStr(args[0]);
  const auto it = macros_.find(macroName);
  if (it == macros_.end()) RaiseError(1004, label, "Cannot run the macro '" + macroName + "'.");
  const Macro macro = it->second;  // the macro may register others
  return macro(*this, args.subspan(1));
}

// ---- The pool -----------------------------------------------------------------------

const MemberTable<FakeServerEntry>& FakeServerEntry::Members() {
  static const MemberTable<FakeServerEntry> table{
      {"ServerObject", M::Get, [](FakeServerEntry& e, Args) { return Variant(e.app_); }},
      {"ReleaseServer", M::Method, [](FakeServerEntry&, Args) {}}};
  return table;
}

Variant FakeServerEntry::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Entry", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

const MemberTable<FakeServerPool>& FakeServerPool::Members() {
  static const MemberTable<FakeServerPool> table{
      {"GetServer", M::Method,
       [](FakeServerPool& p, Args a) {
         const auto it = p.apps_.find(CStr(a[0]));
         if (it == p.apps_.end()) RaiseRuntimeError(kCannotCreate);
         return Variant(MakeRef<FakeServerEntry>(p.script_, it->second));
       },
       1}};
  return table;
}

Variant FakeServerPool::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Pool", member, kind, args));
  return Dispatchable::Invoke(member, kind, args);
}

// ---- Registrations ------------------------------------------------------------------

ScopedClass::ScopedClass(std::string progId, Ref<Dispatch> object,
                         std::shared_ptr<OfficeScript> script)
    : progId_(std::move(progId)) {
  RegisterClass(progId_, "", [progId = progId_, object, script]() -> Ref<Dispatch> {
    script->Record("CreateObject(" + progId + ")");
    return object;
  });
}

ScopedClass::~ScopedClass() { UnregisterClass(progId_); }

ScopedRunning::ScopedRunning(std::string progId, Ref<Dispatch> object)
    : progId_(std::move(progId)) {
  RegisterActive(progId_, std::move(object));
}

ScopedRunning::~ScopedRunning() { RevokeActive(progId_); }

}  // namespace brevora::testing
