#pragma once
// A recording form factory for the application object's tests: it stands in
// for libtabrel_forms.so behind frontend::FormFactory. Every form it creates
// writes what is done to it, in order, into the factory's log, one line each:
//
//   Create(frmSave)                   a new form
//   frmSave.SaveMode=False            a property assigned (Let or Set)
//   frmSave.BringFileIn(/tmp/a.tbr)   a method called with its arguments
//   frmSave.btnRefresh.Value=True     the refresh button pressed
//   frmSave.Load  frmSave.Show(modal)  frmSave.Show(modeless)
//   frmSave.Unload  frmSave.RemoveMinimizeBox  DoEvents
//
// Arguments are shown as in testing/fake_office.h ("True", "<object>").
// Properties keep what was assigned and answer it back (Empty when never
// assigned). Tests script the forms through hooks: onLoad (a dialog's load may
// set gDialogAbort), onModal (what the user does while a modal form is up: set
// "FileName", gDialogCancelled; the form is unloaded afterwards, as OK and
// Cancel do), onUnload (the main window notifies its owner), onMethod (a
// method's own behaviour, which may raise). The forms are per thread: each
// thread's LoadedForms are the forms it loaded.
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "frontend/form.h"
#include "platform/automation/variant.h"

namespace brevora::testing {

class RecordingFormFactory;

class RecordingForm : public frontend::Form {
 public:
  RecordingForm(RecordingFormFactory& factory, std::string name);

  std::string Name() const override { return name_; }
  void Load() override;
  bool IsLoaded() const override { return loaded_; }
  void Show(bool modal) override;
  void Unload() override;
  bool Visible() const override { return visible_; }
  void RemoveMinimizeBox() override;
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

  // A property's value (Empty when never assigned), and setting one without a log line.
  Variant Property(std::string_view name) const;
  void SetProperty(std::string_view name, Variant value);

  std::function<void(RecordingForm&)> onLoad;
  std::function<void(RecordingForm&)> onModal;
  std::function<void(RecordingForm&)> onUnload;
  std::function<Variant(RecordingForm&, std::string_view method, Args)> onMethod;

 private:
  RecordingFormFactory& factory_;
  std::string name_;
  std::map<std::string, Variant> properties_;  // by lower-case name
  bool loaded_ = false;
  bool visible_ = false;
};

class RecordingFormFactory : public frontend::FormFactory {
 public:
  Ref<frontend::Form> Create(std::string_view name) override;
  std::vector<Ref<frontend::Form>> LoadedForms() override;
  void DoEvents() override;

  // Runs on every form right after it is created (to set its hooks).
  std::function<void(RecordingForm&)> onCreate;

  std::vector<std::string> Log() const;
  void ClearLog();
  // Every form created so far, in order.
  std::vector<Ref<RecordingForm>> Created() const;

  // Used by the forms.
  void Record(std::string line);
  void Loaded(RecordingForm& form);
  void Unloaded(RecordingForm& form);

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> log_;
  std::vector<Ref<RecordingForm>> created_;
  std::vector<std::pair<std::thread::id, Ref<RecordingForm>>> loaded_;
};

}  // namespace brevora::testing
