#include "doc/word_session.h"

#include <array>
#include <string>
#include <utility>

#include "core/session.h"
#include "core/text_cleanup.h"
#include "doc/document_errors.h"
#include "doc/word_application.h"
#include "office/addin_session.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::doc {

namespace {

constexpr const char* kSource = "SDK_Document.";

// The numbers among the ten values (office/session_values.h).
constexpr int kFileMode = 2;
constexpr int kUserId = 3;
constexpr int kErrorNumber = 9;

Variant Get(Dispatch& object, std::string_view member) {
  return CallByName(object, member, CallKind::Get);
}
Variant Get(const Variant& object, std::string_view member) {
  return Get(ObjectOf(object), member);
}

// The temporary document that carries the Session's values, open in Word;
// closed (without saving) when it goes out of scope if Close was not reached.
class TempDocument {
 public:
  // OpenTempDoc.
  explicit TempDocument(Dispatch& word);
  ~TempDocument();
  TempDocument(const TempDocument&) = delete;
  TempDocument& operator=(const TempDocument&) = delete;

  Dispatch& Doc() { return *doc_; }
  // CloseTempDoc: closes it without saving and activates the document that
  // was active before, when Word still has documents open.
  void Close();

 private:
  Ref<Dispatch> word_;
  Ref<Dispatch> doc_;
  std::string previous_;  // the name of the document active before
};

TempDocument::TempDocument(Dispatch& word) : word_(&word) {
  const std::string source = std::string(kSource) + "OpenTempDoc";
  std::string name;
  try {
    name = AddInName(word);
  } catch (...) {
    throw Wrap32760(CurrentError(), source, "Could not find add-in name.");
  }
  std::string folder;
  try {
    const Variant addIn = CallByName(ObjectOf(Get(word, "AddIns")), "Item", CallKind::Method, name);
    folder = CStr(Get(addIn, "Path"));
  } catch (...) {
    const AutomationError inner = CurrentError();
    std::string startup;
    try {
      startup = CStr(Get(word, "StartupPath"));
    } catch (const AutomationError&) {
      // Only for the message.
    }
    throw Wrap32760(inner, source,
                    "Could not find Word Add-in (" + name + ")." + kCrLf +
                        "Please make sure that " + name + " is installed in the " + startup +
                        " directory.");
  }
  std::string path;
  try {
    path = fs::WithSeparator(folder) + kTempDocumentName;
  } catch (...) {
    throw Wrap32760(CurrentError(), source,
                    "Could not build temporary document name (" + name + ").");
  }
  try {
    const Variant documents = Get(word, "Documents");
    if (CLng(Get(documents, "Count")) > 0)
      previous_ = CStr(Get(Get(word, "ActiveDocument"), "Name"));
    const Variant doc = CallByName(ObjectOf(documents), "Open", CallKind::Method, path);
    doc_ = Ref<Dispatch>(&ObjectOf(doc));
  } catch (...) {
    throw Wrap32760(CurrentError(), source, "Could not open temporary document (" + path + ")");
  }
}

TempDocument::~TempDocument() {
  if (!doc_) return;
  try {
    Close();
  } catch (...) {
    // Only reached while another error leaves the macro run; that one wins.
  }
}

void TempDocument::Close() {
  if (!doc_) return;
  Ref<Dispatch> doc = std::move(doc_);  // one attempt, whatever happens
  try {
    CallByName(doc, "Close", CallKind::Method, false);
    const Variant documents = Get(*word_, "Documents");
    if (!previous_.empty() && CLng(Get(documents, "Count")) > 0) {
      const Variant active = CallByName(ObjectOf(documents), "Item", CallKind::Method, previous_);
      CallByName(ObjectOf(active), "Activate", CallKind::Method);
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), std::string(kSource) + "CloseTempDoc",
                    "Could not close temporary document.");
  }
}

void SetDocVariable(Dispatch& doc, const std::string& name, const std::string& value) {
  try {
    const Variant variables = Get(doc, "Variables");
    Variant existing;
    try {
      existing = CallByName(ObjectOf(variables), "Item", CallKind::Method, name);
    } catch (const AutomationError&) {
      // Not there yet: added below.
    }
    if (existing.IsObject()) {
      CallByName(ObjectOf(existing), "Value", CallKind::Let, value);
    } else {
      CallByName(ObjectOf(variables), "Add", CallKind::Method, name, value);
    }
  } catch (...) {
    throw Wrap32760(CurrentError(), std::string(kSource) + "SetDocVariable",
                    "Could not set doc variable '" + name + "'.");
  }
}

std::string GetDocVariable(Dispatch& doc, const std::string& name) {
  const Variant variable =
      CallByName(ObjectOf(Get(doc, "Variables")), "Item", CallKind::Method, name);
  return CStr(Get(variable, "Value"));
}

// "Variable Count=<n>" and one "name = value" line per variable, for the
// failure message; as much of it as Word gives.
std::string ListVariables(Dispatch& doc) {
  std::string listing = "Variable Count=";
  try {
    const Variant variables = Get(doc, "Variables");
    const int32_t count = CLng(Get(variables, "Count"));
    listing += std::to_string(count);
    for (int32_t i = 1; i <= count; ++i) {
      const Variant variable = CallByName(ObjectOf(variables), "Item", CallKind::Method, i);
      listing += kCrLf + CStr(Get(variable, "Name")) + " = " + CStr(Get(variable, "Value"));
    }
  } catch (const AutomationError&) {
    // The listing only explains the failure.
  }
  return listing;
}

void SetDocumentSessionValues(TempDocument& temp, core::Session& session) {
  try {
    session.SetParameter1(Variant(core::TrimAtNull(CStr(session.Parameter1()))));
    session.SetParameter2(Variant(core::TrimAtNull(CStr(session.Parameter2()))));
    session.SetParameter3(Variant(core::TrimAtNull(CStr(session.Parameter3()))));
    const auto texts = office::SessionValueTexts(session);
    for (int i = 0; i < office::kSessionValueCount; ++i) {
      SetDocVariable(temp.Doc(), office::kSessionValueNames[i], texts[i]);
    }
  } catch (...) {
    const AutomationError inner = CurrentError();
    throw Wrap32760(inner, std::string(kSource) + "SetDocumentSessionValues",
                    "Could not set document session values : " + inner.description());
  }
}

void GetDocumentSessionValues(TempDocument& temp, core::Session& session) {
  std::string current;  // the variable being taken
  try {
    std::array<std::string, office::kSessionValueCount> texts;
    for (int i = 0; i < office::kSessionValueCount; ++i) {
      current = office::kSessionValueNames[i];
      texts[i] = GetDocVariable(temp.Doc(), current);
      // The numbers are checked here, so that a failure names its variable.
      if (i == kFileMode) DoubleToInteger(office::LeadingNumber(texts[i]));
      if (i == kUserId || i == kErrorNumber) DoubleToLong(office::LeadingNumber(texts[i]));
    }
    office::SetSessionValuesFromTexts(session, texts);
  } catch (...) {
    const AutomationError inner = CurrentError();
    throw Wrap32760(inner, std::string(kSource) + "GetDocumentSessionValues",
                    "Unable to get session value: " + current + kCrLf + ListVariables(temp.Doc()));
  }
  temp.Close();
}

void Run(Dispatch& word, std::string_view macro) {
  CallByName(word, "Run", CallKind::Method, macro);
}

}  // namespace

void RunWordMacro(Dispatch& word, core::Session& session, std::string_view macro) {
  try {
    try {
      Run(word, "Initialize");
    } catch (const AutomationError&) {
      // An add-in without an Initialize macro needs none.
    }
    office::ClearErrorSlot(session);
    TempDocument temp(word);
    SetDocumentSessionValues(temp, session);
    Run(word, "SetSession");
    Run(word, macro);
    Run(word, "GetSession");
    GetDocumentSessionValues(temp, session);
    office::RaiseErrorSlot(session);
  } catch (...) {
    throw Wrap32760(CurrentError(), std::string(kSource) + "RunWordMacro",
                    "Could not run word macro '" + std::string(macro) + "'.");
  }
}

}  // namespace brevora::doc
