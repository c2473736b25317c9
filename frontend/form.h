#pragma once
// Form and FormFactory: the front end's windows as the application object and
// the dialog helpers drive them, whatever draws them. libtabrelpc.so holds no
// window code: the windows live in libtabrel_forms.so (frontend/forms/), which
// installs its FormFactory when it is loaded (form_factory.h); tests install a
// recording fake (testing/fake_forms.h).
//
// A Form is a window class instance as Visual Basic knows it: the object lives
// as long as it is referenced; loading makes its window (running Form_Load),
// unloading destroys the window (running Form_Unload) while the object and the
// values of its properties stay readable. Its properties and methods are
// reached by name through Invoke ("FileName", "SaveMode", "BringFileIn", and
// the window properties every form has: "Caption", "Tag", "Visible"), since the
// callers do not know the form's own class.
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::frontend {

class Form : public Dispatch {
 public:
  // The form's class name ("frmSave", "frmAbout").
  virtual std::string Name() const = 0;
  // Makes the window and runs Form_Load; nothing when it is loaded. Errors of
  // the load are raised.
  virtual void Load() = 0;
  virtual bool IsLoaded() const = 0;
  // Loads the form when needed and shows it. Modeless returns at once (a shown
  // window is shown again, keeping its state); modal returns when the window
  // has been hidden or unloaded.
  virtual void Show(bool modal) = 0;
  // Runs Form_Unload and destroys the window; nothing when it is not loaded.
  virtual void Unload() = 0;
  // True while the window is loaded and shown.
  virtual bool Visible() const = 0;
  // Loads the form when needed and takes the minimise button off its window.
  virtual void RemoveMinimizeBox() = 0;

 protected:
  ~Form() override;
};

class FormFactory {
 public:
  virtual ~FormFactory();
  // A new, not yet loaded form of that class. An unknown name raises 429.
  virtual Ref<Form> Create(std::string_view name) = 0;
  // The calling thread's loaded forms, in the order they were loaded.
  virtual std::vector<Ref<Form>> LoadedForms() = 0;
  // Lets the calling thread's pending window messages run once.
  virtual void DoEvents() = 0;
};

}  // namespace brevora::frontend
