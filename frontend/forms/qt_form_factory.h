#pragma once
// The windows library's form factory (frontend/form_factory.h): forms by class
// name, each form class registering itself (FormRegistration in its .cpp).
// Loading libtabrel_forms.so and calling its BrevoraInstallForms installs it,
// after making the QApplication when the program has none and a display is
// there, and puts the Qt message box, file dialog and help viewer in place of
// the default ones.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/form.h"
#include "frontend/forms/qt_form.h"

namespace brevora::frontend::forms {

class QtFormFactory : public FormFactory {
 public:
  // Forms can only be made on the QApplication's thread: elsewhere this
  // raises 5 with the reason. An unknown name raises 429.
  Ref<Form> Create(std::string_view name) override;
  std::vector<Ref<Form>> LoadedForms() override;
  void DoEvents() override;
};

// Makes the forms of class `name` known to the factory; one static object per
// form class.
class FormRegistration {
 public:
  FormRegistration(std::string name, std::function<Ref<QtForm>()> make);
};

// The installation the loader calls (also for programs and tests that link
// the library): 0 when the factory is installed, 1 when there is no display.
extern "C" int BrevoraInstallForms();

}  // namespace brevora::frontend::forms
