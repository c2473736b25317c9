#include "remote/ppt_objects.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::remote {

Dispatch& PptHandle::Object() const {
  if (!object_) RaiseRuntimeError(91);  // Object variable not set
  return *object_;
}

Ref<Dispatch> PptHandle::GetObject(const char* member) const {
  const Variant v = CallByName(Object(), member, CallKind::Get);
  return Ref<Dispatch>(&ObjectOf(v));
}

Ref<Dispatch> PptHandle::CallObject(const char* member, int32_t index) const {
  const Variant v = CallByName(Object(), member, CallKind::Method, index);
  return Ref<Dispatch>(&ObjectOf(v));
}

int32_t PptHandle::GetLong(const char* member) const {
  return CLng(CallByName(Object(), member, CallKind::Get));
}

void PptSlideShowView::GotoSlide(int32_t index) const {
  CallByName(Object(), "GotoSlide", CallKind::Method, index, int32_t{0});
}

void PptSlideShowView::Exit() const { CallByName(Object(), "Exit", CallKind::Method); }

PptSlideShowWindow PptSlideShowSettings::Run() const {
  const Variant v = CallByName(Object(), "Run", CallKind::Method);
  return PptSlideShowWindow(Ref<Dispatch>(&ObjectOf(v)));
}

std::string PptPresentation::GetName() const {
  return CStr(CallByName(Object(), "Name", CallKind::Get));
}

PptPresentation PptPresentations::Open(const std::string& file) const {
  const Variant v =
      CallByName(Object(), "Open", CallKind::Method, file, int32_t{1}, int32_t{0}, int32_t{0});
  return PptPresentation(Ref<Dispatch>(&ObjectOf(v)));
}

PptApplication PptApplication::Create() { return PptApplication(CreateObject(kPowerPointProgId)); }

void PptApplication::Quit() const { CallByName(Object(), "Quit", CallKind::Method); }

}  // namespace brevora::remote
