#pragma once
// QtForm: a frontend::Form (form.h) whose window is a QWidget, made when the
// form loads and destroyed when it unloads, while the form object and its
// properties live on as long as they are referenced. A form class derives from
// it, makes its window (MakeWindow), runs its Form_Load and Form_Unload
// (FormLoad, FormUnload) and answers its own late-bound members
// (InvokeMember); the window properties every form has ("Caption", "Tag",
// "Visible") are answered here.
//
// The loaded forms of a thread are listed in load order (LoadedQtForms) and
// held while loaded. Unloading hides the window and leaves its deletion to the
// event loop (a form often unloads from one of its window's own events); the
// form lives at least as long as that window. Windows live on the
// QApplication's thread only (the form factory refuses the others). The
// window's close box unloads the form through QueryClose, which a dialog
// overrides to act as its Cancel button.
#include <QPointer>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/form.h"
#include "platform/automation/variant.h"

namespace brevora::frontend::forms {

class QtForm : public Form {
 public:
  std::string Name() const override { return name_; }
  void Load() override;
  bool IsLoaded() const override { return loaded_; }
  void Show(bool modal) override;
  void Unload() override;
  bool Visible() const override;
  void RemoveMinimizeBox() override;
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

  // The window while the form is loaded, else null.
  QWidget* Window() const { return loaded_ ? window_.data() : nullptr; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);  // code page

 protected:
  explicit QtForm(std::string name);
  ~QtForm() override;

  // A new top-level window with the form's controls; the form owns it.
  virtual QWidget* MakeWindow() = 0;
  // Form_Load, after the window is made; errors are raised to the loader.
  virtual void FormLoad() {}
  // Form_Unload, before the window goes.
  virtual void FormUnload() {}
  // The window's close box (or Alt+F4): unloads the form by default.
  virtual void QueryClose() { Unload(); }
  // The form's own members; the default raises 438.
  virtual Variant InvokeMember(std::string_view name, CallKind kind, Args args);

 private:
  class CloseWatcher;
  class Keeper;

  std::string name_;
  QPointer<QWidget> window_;
  QPointer<QObject> closeWatcher_;
  bool loaded_ = false;
  std::string caption_;
  std::string tag_;
};

// The calling thread's loaded forms, in load order.
std::vector<Ref<Form>> LoadedQtForms();

// Lets pending window messages run once. The windows of forms unloaded in the
// event that calls it stay until that event is over.
void ProcessWindowMessages();

}  // namespace brevora::frontend::forms
