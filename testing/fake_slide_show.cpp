#include "testing/fake_slide_show.h"

#include "platform/automation/convert.h"

namespace brevora::testing {
namespace {

// PowerPoint's error for a request the object cannot serve now.
[[noreturn]] void InvalidRequest(const std::string& what) {
  RaiseError(-2147188160, "PowerPoint", what + " : Invalid request.");
}

}  // namespace

// ---- Slide and Slides ------------------------------------------------------------

const MemberTable<FakeSlide>& FakeSlide::Members() {
  static const MemberTable<FakeSlide> table{
      {"SlideID", CallKind::Get, [](FakeSlide& s, Args) { return Variant(s.id); }}};
  return table;
}

Variant FakeSlide::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("Slide(" + std::to_string(id) + ")", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

const MemberTable<FakeSlides>& FakeSlides::Members() {
  static const MemberTable<FakeSlides> table{
      {"Count", CallKind::Get,
       [](FakeSlides& s, Args) { return Variant(static_cast<int32_t>(s.Show().slideIds.size())); }},
      {"Item", CallKind::Method,
       [](FakeSlides& s, Args a) {
         const int32_t i = CLng(a[0]);
         const auto& ids = s.Show().slideIds;
         if (i < 1 || i > static_cast<int32_t>(ids.size())) {
           RaiseError(-2147188160, "PowerPoint", "Slides.Item : Integer out of range.");
         }
         return Variant(MakeRef<FakeSlide>(s.script_, ids[static_cast<size_t>(i - 1)]));
       },
       1}};
  return table;
}

Variant FakeSlides::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("Slides(" + show_->name + ")", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

// ---- The show ----------------------------------------------------------------------

const MemberTable<FakeSlideShowView>& FakeSlideShowView::Members() {
  static const MemberTable<FakeSlideShowView> table{
      {"CurrentShowPosition", CallKind::Get,
       [](FakeSlideShowView& v, Args) { return Variant(v.Show().position); }},
      {"Slide", CallKind::Get,
       [](FakeSlideShowView& v, Args) {
         const FakeSlideShow& show = v.Show();
         if (show.position < 1 || show.position > static_cast<int32_t>(show.slideIds.size())) {
           InvalidRequest("SlideShowView.Slide");
         }
         return Variant(
             MakeRef<FakeSlide>(v.script_, show.slideIds[static_cast<size_t>(show.position - 1)]));
       }},
      {"GotoSlide", CallKind::Method,
       [](FakeSlideShowView& v, Args a) {
         FakeSlideShow& show = v.Show();
         const int32_t i = CLng(a[0]);
         if (!show.running || i < 1 || i > static_cast<int32_t>(show.slideIds.size())) {
           InvalidRequest("SlideShowView.GotoSlide");
         }
         show.position = i;
       },
       1, 2},
      {"Exit", CallKind::Method, [](FakeSlideShowView& v, Args) { v.Show().running = false; }}};
  return table;
}

Variant FakeSlideShowView::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("View(" + show_->name + ")", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

const MemberTable<FakeSlideShowWindow>& FakeSlideShowWindow::Members() {
  static const MemberTable<FakeSlideShowWindow> table{
      {"View", CallKind::Get, [](FakeSlideShowWindow& w, Args) {
         return Variant(MakeRef<FakeSlideShowView>(w.script_, w.show_));
       }}};
  return table;
}

Variant FakeSlideShowWindow::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("ShowWindow(" + show_->name + ")", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

const MemberTable<FakeSlideShowSettings>& FakeSlideShowSettings::Members() {
  static const MemberTable<FakeSlideShowSettings> table{
      {"Run", CallKind::Method, [](FakeSlideShowSettings& s, Args) {
         FakeSlideShow& show = s.Show();
         show.running = true;
         show.position = show.slideIds.empty() ? 0 : 1;
         ++show.runCount;
         return Variant(MakeRef<FakeSlideShowWindow>(s.script_, s.show_));
       }}};
  return table;
}

Variant FakeSlideShowSettings::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("Settings(" + show_->name + ")", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

Ref<FakeSlides> SlidesOf(const Ref<FakeSlideShow>& show) {
  return MakeRef<FakeSlides>(show->script, show);
}

Ref<FakeSlideShowSettings> SlideShowSettingsOf(const Ref<FakeSlideShow>& show) {
  return MakeRef<FakeSlideShowSettings>(show->script, show);
}

Ref<FakeSlideShowWindow> SlideShowWindowOf(const Ref<FakeSlideShow>& show) {
  if (!show->running) InvalidRequest("Presentation.SlideShowWindow");
  return MakeRef<FakeSlideShowWindow>(show->script, show);
}

// ---- The application's show windows ---------------------------------------------------

int32_t FakeSlideShowWindows::Count() const {
  int32_t running = 0;
  for (const Ref<FakeDocument>& d : app_->documents->items)
    running += d->slideShow->running ? 1 : 0;
  return running;
}

const MemberTable<FakeSlideShowWindows>& FakeSlideShowWindows::Members() {
  static const MemberTable<FakeSlideShowWindows> table{
      {"Count", CallKind::Get, [](FakeSlideShowWindows& w, Args) { return Variant(w.Count()); }}};
  return table;
}

Variant FakeSlideShowWindows::Invoke(std::string_view name, CallKind kind, Args args) {
  script_->Record(CallLine("SlideShowWindows", name, kind, args));
  return Dispatchable::Invoke(name, kind, args);
}

}  // namespace brevora::testing
