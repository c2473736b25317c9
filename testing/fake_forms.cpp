#include "testing/fake_forms.h"

#include <algorithm>
#include <utility>

#include "platform/automation/member_table.h"
#include "platform/text/case.h"
#include "testing/fake_office.h"

namespace brevora::testing {
namespace {

// The refresh button of a form: assigning its Value presses it.
class RecordingButton : public Dispatchable<RecordingButton> {
 public:
  RecordingButton(RecordingFormFactory& factory, std::string path)
      : factory_(factory), path_(std::move(path)) {}

  static const MemberTable<RecordingButton>& Members() {
    static const MemberTable<RecordingButton> table{
        {"Value", CallKind::Let, [](RecordingButton& b, Args a) {
           b.factory_.Record(CallLine(b.path_, "Value", CallKind::Let, a));
         }}};
    return table;
  }

 private:
  RecordingFormFactory& factory_;
  std::string path_;
};

}  // namespace

RecordingForm::RecordingForm(RecordingFormFactory& factory, std::string name)
    : factory_(factory), name_(std::move(name)) {}

void RecordingForm::Load() {
  if (loaded_) return;
  factory_.Record(name_ + ".Load");
  loaded_ = true;
  factory_.Loaded(*this);
  if (onLoad) onLoad(*this);
}

void RecordingForm::Show(bool modal) {
  Load();
  factory_.Record(name_ + (modal ? ".Show(modal)" : ".Show(modeless)"));
  visible_ = true;
  if (!modal) return;
  if (onModal) onModal(*this);
  Unload();
}

void RecordingForm::Unload() {
  if (!loaded_) return;
  factory_.Record(name_ + ".Unload");
  if (onUnload) onUnload(*this);
  loaded_ = false;
  visible_ = false;
  factory_.Unloaded(*this);
}

void RecordingForm::RemoveMinimizeBox() {
  Load();
  factory_.Record(name_ + ".RemoveMinimizeBox");
}

Variant RecordingForm::Invoke(std::string_view name, CallKind kind, Args args) {
  const std::string key = text::LCase(name);
  switch (kind) {
    case CallKind::Let:
    case CallKind::Set:
      if (args.empty()) RaiseRuntimeError(450);
      factory_.Record(CallLine(name_, name, kind, args));
      properties_[key] = args.back();
      return {};
    case CallKind::Get:
    case CallKind::Method:
      if (key == "btnrefresh" && args.empty()) {
        return Variant(Ref<Dispatch>(MakeRef<RecordingButton>(factory_, name_ + ".btnRefresh")));
      }
      if (kind == CallKind::Get || (args.empty() && properties_.count(key))) return Property(name);
      factory_.Record(CallLine(name_, name, kind, args));
      return onMethod ? onMethod(*this, name, args) : Variant();
  }
  return {};
}

Variant RecordingForm::Property(std::string_view name) const {
  const auto it = properties_.find(text::LCase(name));
  return it == properties_.end() ? Variant() : it->second;
}

void RecordingForm::SetProperty(std::string_view name, Variant value) {
  properties_[text::LCase(name)] = std::move(value);
}

Ref<frontend::Form> RecordingFormFactory::Create(std::string_view name) {
  Record("Create(" + std::string(name) + ")");
  Ref<RecordingForm> form = MakeRef<RecordingForm>(*this, std::string(name));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    created_.push_back(form);
  }
  if (onCreate) onCreate(*form);
  return form;
}

std::vector<Ref<frontend::Form>> RecordingFormFactory::LoadedForms() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<Ref<frontend::Form>> forms;
  for (const auto& [thread, form] : loaded_) {
    if (thread == std::this_thread::get_id()) forms.push_back(form);
  }
  return forms;
}

void RecordingFormFactory::DoEvents() { Record("DoEvents"); }

std::vector<std::string> RecordingFormFactory::Log() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

void RecordingFormFactory::ClearLog() {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.clear();
}

std::vector<Ref<RecordingForm>> RecordingFormFactory::Created() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return created_;
}

void RecordingFormFactory::Record(std::string line) {
  std::lock_guard<std::mutex> lock(mutex_);
  log_.push_back(std::move(line));
}

void RecordingFormFactory::Loaded(RecordingForm& form) {
  std::lock_guard<std::mutex> lock(mutex_);
  loaded_.emplace_back(std::this_thread::get_id(), Ref<RecordingForm>(&form));
}

void RecordingFormFactory::Unloaded(RecordingForm& form) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(loaded_, [&](const auto& entry) { return entry.second.get() == &form; });
}

}  // namespace brevora::testing
