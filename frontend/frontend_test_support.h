#pragma once
// What the front end's tests share: the error a call raises, a recording form
// factory installed for a scope, and a recording message box.
#include <functional>
#include <memory>

#include "frontend/form_factory.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/caught_error.h"
#include "testing/fake_forms.h"

namespace brevora::frontend::test {

// The error `call` raises; number 0 when it raises none.
using ::brevora::testing::ErrorOf;

// A recording form factory installed for the scope (the previous one comes back
// after it). Make it on the thread whose objects its forms hold, and let it end
// there.
class FakeForms {
 public:
  FakeForms() : previous_(InstallFormFactory(factory_)) {}
  ~FakeForms() { InstallFormFactory(previous_); }
  FakeForms(const FakeForms&) = delete;
  FakeForms& operator=(const FakeForms&) = delete;
  testing::RecordingFormFactory* operator->() const { return factory_.get(); }
  testing::RecordingFormFactory& operator*() const { return *factory_; }

 private:
  std::shared_ptr<testing::RecordingFormFactory> factory_ =
      std::make_shared<testing::RecordingFormFactory>();
  std::shared_ptr<FormFactory> previous_;
};

// A recording message box installed for the scope.
class RecordedMessages {
 public:
  RecordedMessages() : scope_(services::InstallMessageBox, box_) {}
  services::RecordingMessageBox* operator->() const { return box_.get(); }

 private:
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scope_;
};

}  // namespace brevora::frontend::test
