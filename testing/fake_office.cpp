#include "testing/fake_office.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/running_objects.h"
#include "platform/fs/paths.h"
#include "testing/fake_slide_show.h"

namespace brevora::testing {

namespace {

constexpr int32_t kUnknownMember = 438;
constexpr int32_t kWrongArgumentCount = 450;
constexpr int32_t kBadIndex = 9;
constexpr int32_t kCannotCreate = 429;

bool Is(std::string_view a, std::string_view b) { return text::EqualsNoCase(a, b); }
bool IsRead(CallKind kind) { return kind == CallKind::Get || kind == CallKind::Method; }

void NeedArgs(Args args, size_t minimum) {
  if (args.size() < minimum) RaiseRuntimeError(kWrongArgumentCount);
}

[[noreturn]] void Unknown() { RaiseRuntimeError(kUnknownMember); }

// The last argument of a Let: the value assigned.
const Variant& Assigned(Args args) {
  NeedArgs(args, 1);
  return args.back();
}

bool IsPosition(const Variant& index) { return index.IsNumeric(); }

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

std::vector<std::string> OfficeScript::Select(std::initializer_list<std::string_view> prefixes) const {
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
    case VarType::Empty: return "<empty>";
    case VarType::Null: return "<null>";
    case VarType::Missing: return "<missing>";
    case VarType::Object: return value.AsObject() ? "<object>" : "<nothing>";
    case VarType::Bytes: return "<" + std::to_string(value.AsBytes().size()) + " bytes>";
    case VarType::Array: return "<array " + std::to_string(value.AsArray().size()) + ">";
    case VarType::Boolean: return value.AsBoolean() ? "True" : "False";
    default: return CStr(value);
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

FakeVariable::FakeVariable(std::shared_ptr<OfficeScript> script, std::string name, std::string value)
    : name(std::move(name)), value(std::move(value)), script_(std::move(script)) {}

Variant FakeVariable::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Variable(" + name + ")", member, kind, args));
  if (Is(member, "Name") && IsRead(kind)) return Variant(name);
  if (Is(member, "Value")) {
    if (IsRead(kind)) return Variant(value);
    value = CStr(Assigned(args));
    return Variant();
  }
  Unknown();
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

Variant FakeVariables::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Variables", member, kind, args));
  if (Is(member, "Count") && IsRead(kind)) return Variant(static_cast<int32_t>(items.size()));
  if (Is(member, "Item") && IsRead(kind)) {
    NeedArgs(args, 1);
    if (IsPosition(args[0])) {
      const int32_t i = CLng(args[0]);
      if (i < 1 || i > static_cast<int32_t>(items.size())) RaiseError(kBadIndex, "Word", "The requested member of the collection does not exist.");
      return Variant(items[static_cast<size_t>(i - 1)]);
    }
    if (Ref<FakeVariable> v = Find(CStr(args[0]))) return Variant(v);
    RaiseError(5825, "Word", "Object has been deleted.");
  }
  if (Is(member, "Add") && kind == CallKind::Method) {
    NeedArgs(args, 1);
    const std::string name = CStr(args[0]);
    if (Find(name)) RaiseError(5903, "Word", "The variable name already exists.");
    const std::string value = args.size() > 1 && !args[1].IsMissing() ? CStr(args[1]) : std::string();
    items.push_back(MakeRef<FakeVariable>(script_, name, value));
    return Variant(items.back());
  }
  Unknown();
}

// ---- Documents --------------------------------------------------------------------

FakeDocument::FakeDocument(std::shared_ptr<OfficeScript> script, FakeOfficeApp& app, std::string fullName)
    : fullName(std::move(fullName)),
      variables(MakeRef<FakeVariables>(script)),
      slideShow(MakeRef<FakeSlideShow>(script, fs::FileNamePart(this->fullName))),
      script_(std::move(script)),
      app_(&app) {}

FakeDocument::~FakeDocument() = default;

std::string FakeDocument::Name() const { return fs::FileNamePart(fullName); }

Variant FakeDocument::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Document(" + Name() + ")", member, kind, args));
  if (Is(member, "Name") && IsRead(kind)) return Variant(Name());
  if (Is(member, "FullName") && IsRead(kind)) return Variant(fullName);
  if (Is(member, "Path") && IsRead(kind)) return Variant(FolderWithoutSeparator(fullName));
  if (Is(member, "Variables") && IsRead(kind)) return Variant(variables);
  if (IsRead(kind)) {
    if (std::optional<Variant> answer = AnswerSlideShowMember(slideShow, member)) return *answer;
  }
  if (Is(member, "Saved")) {
    if (IsRead(kind)) return Variant(saved);
    saved = CBool(Assigned(args));
    return Variant();
  }
  if (Is(member, "Activate") && kind == CallKind::Method) {
    app_->documents->Activate(Ref<FakeDocument>(this));
    return Variant();
  }
  if (Is(member, "Save") && kind == CallKind::Method) {
    saved = true;
    return Variant();
  }
  if (Is(member, "Close") && kind == CallKind::Method) {
    app_->documents->Close(*this);
    return Variant();
  }
  Unknown();
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

Variant FakeDocuments::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Documents", member, kind, args));
  if (Is(member, "Count") && IsRead(kind)) return Variant(static_cast<int32_t>(items.size()));
  if (Is(member, "Item") && IsRead(kind)) {
    NeedArgs(args, 1);
    if (IsPosition(args[0])) {
      const int32_t i = CLng(args[0]);
      if (i < 1 || i > static_cast<int32_t>(items.size())) RaiseRuntimeError(kBadIndex);
      return Variant(items[static_cast<size_t>(i - 1)]);
    }
    if (Ref<FakeDocument> d = Find(CStr(args[0]))) return Variant(d);
    RaiseRuntimeError(kBadIndex);
  }
  if (Is(member, "Open") && kind == CallKind::Method) {
    NeedArgs(args, 1);
    return Variant(OpenDocument(CStr(args[0])));
  }
  if (Is(member, "Add") && kind == CallKind::Method) {
    return Variant(OpenDocument("Document" + std::to_string(items.size() + 1)));
  }
  Unknown();
}

// ---- AddIns -----------------------------------------------------------------------

FakeAddIn::FakeAddIn(std::shared_ptr<OfficeScript> script, std::string name, std::string fullName,
                     std::string path)
    : name(std::move(name)), fullName(std::move(fullName)), path(std::move(path)), script_(std::move(script)) {}

Variant FakeAddIn::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("AddIn(" + name + ")", member, kind, args));
  if (Is(member, "Name") && IsRead(kind)) return Variant(name);
  if (Is(member, "FullName") && IsRead(kind)) return Variant(fullName);
  if (Is(member, "Path") && IsRead(kind)) return Variant(path);
  if (Is(member, "Installed")) {
    if (IsRead(kind)) return Variant(installed);
    installed = CBool(Assigned(args));
    return Variant();
  }
  Unknown();
}

Ref<FakeAddIn> FakeAddIns::List(std::string fullName) {
  Ref<FakeAddIn> addIn =
      MakeRef<FakeAddIn>(script_, fs::FileNamePart(fullName), fullName, FolderWithoutSeparator(fullName));
  items.push_back(addIn);
  return addIn;
}

Variant FakeAddIns::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("AddIns", member, kind, args));
  if (Is(member, "Count") && IsRead(kind)) return Variant(static_cast<int32_t>(items.size()));
  if (Is(member, "Item") && IsRead(kind)) {
    NeedArgs(args, 1);
    if (IsPosition(args[0])) {
      const int32_t i = CLng(args[0]);
      if (i < 1 || i > static_cast<int32_t>(items.size())) RaiseRuntimeError(kBadIndex);
      return Variant(items[static_cast<size_t>(i - 1)]);
    }
    for (const Ref<FakeAddIn>& a : items) {
      if (Is(a->name, CStr(args[0]))) return Variant(a);
    }
    RaiseRuntimeError(kBadIndex);
  }
  if (Is(member, "Add") && kind == CallKind::Method) {
    NeedArgs(args, 1);
    const std::string fullName = CStr(args[0]);
    for (const Ref<FakeAddIn>& a : items) {
      if (Is(a->fullName, fullName)) return Variant(a);
    }
    return Variant(List(fullName));
  }
  Unknown();
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

Variant FakeOfficeApp::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine(label, member, kind, args));
  if (IsRead(kind)) {
    if (Is(member, "Application")) return Variant(Ref<Dispatch>(this));
    if (Is(member, "Name")) return Variant(name);
    if (Is(member, "Version")) return Variant(version);
    if (Is(member, "AddIns")) return Variant(addIns);
    if (Is(member, "SlideShowWindows")) return Variant(MakeRef<FakeSlideShowWindows>(script_, *this));
    if (Is(member, "Path")) return Variant(path);
    if (Is(member, "Documents") || Is(member, "Workbooks") || Is(member, "Presentations")) {
      return Variant(documents);
    }
    if (Is(member, "ActiveDocument") || Is(member, "ActiveWorkbook") || Is(member, "ActivePresentation")) {
      if (!documents->active) {
        RaiseError(4248, label, "This command is not available because no document is open.");
      }
      return Variant(documents->active);
    }
  }
  if (Is(member, "StartupPath")) {
    if (IsRead(kind)) return Variant(startupPath);
    startupPath = CStr(Assigned(args));
    return Variant();
  }
  if (Is(member, "Visible")) {
    if (IsRead(kind)) return Variant(visible);
    visible = CBool(Assigned(args));
    return Variant();
  }
  if (Is(member, "WindowState")) {
    if (IsRead(kind)) return Variant(windowState);
    windowState = CLng(Assigned(args));
    return Variant();
  }
  if (Is(member, "Quit") && kind == CallKind::Method) {
    ++quitCount;
    return Variant();
  }
  if (Is(member, "Run") && kind == CallKind::Method) {
    NeedArgs(args, 1);
    const std::string macroName = CStr(args[0]);
    const auto it = macros_.find(macroName);
    if (it == macros_.end()) RaiseError(1004, label, "Cannot run the macro '" + macroName + "'.");
    const Macro macro = it->second;  // the macro may register others
    return macro(*this, args.subspan(1));
  }
  Unknown();
}

// ---- The pool -----------------------------------------------------------------------

Variant FakeServerEntry::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Entry", member, kind, args));
  if (Is(member, "ServerObject") && IsRead(kind)) return Variant(app_);
  if (Is(member, "ReleaseServer") && kind == CallKind::Method) return Variant();
  Unknown();
}

Variant FakeServerPool::Invoke(std::string_view member, CallKind kind, Args args) {
  script_->Record(CallLine("Pool", member, kind, args));
  if (Is(member, "GetServer") && kind == CallKind::Method) {
    NeedArgs(args, 1);
    const auto it = apps_.find(CStr(args[0]));
    if (it == apps_.end()) RaiseRuntimeError(kCannotCreate);
    return Variant(MakeRef<FakeServerEntry>(script_, it->second));
  }
  Unknown();
}

// ---- Registrations ------------------------------------------------------------------

ScopedClass::ScopedClass(std::string progId, Ref<Dispatch> object, std::shared_ptr<OfficeScript> script)
    : progId_(std::move(progId)) {
  RegisterClass(progId_, "", [progId = progId_, object, script]() -> Ref<Dispatch> {
    script->Record("CreateObject(" + progId + ")");
    return object;
  });
}

ScopedClass::~ScopedClass() { UnregisterClass(progId_); }

ScopedRunning::ScopedRunning(std::string progId, Ref<Dispatch> object) : progId_(std::move(progId)) {
  RegisterActive(progId_, std::move(object));
}

ScopedRunning::~ScopedRunning() { RevokeActive(progId_); }

}  // namespace brevora::testing
