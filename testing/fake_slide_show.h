#pragma once
// The slide-show side of the recording PowerPoint fake (fake_office.h): every
// presentation (FakeDocument) has a FakeSlideShow with its slides and, while a
// show runs, its show window. Calls are logged in the shared OfficeScript:
//
//   Document(Talk.ppt).SlideShowSettings    Settings(Talk.ppt).Run()
//   Document(Talk.ppt).SlideShowWindow      ShowWindow(Talk.ppt).View
//   View(Talk.ppt).CurrentShowPosition      View(Talk.ppt).GotoSlide(2, 0)
//   View(Talk.ppt).Slide   View(Talk.ppt).Exit()
//   Document(Talk.ppt).Slides   Slides(Talk.ppt).Count   Slides(Talk.ppt).Item(1)
//   Slide(256).SlideID      App.SlideShowWindows     SlideShowWindows.Count
//
// A new presentation has three slides with the IDs 256, 257 and 258. Run starts
// the show at the first slide; Exit ends it, and so does EndOnDesktop (the user
// closing the show). SlideShowWindow without a running show, GotoSlide to a
// position that is not there and Item out of range raise errors as PowerPoint
// does.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/member_table.h"
#include "testing/fake_office.h"

namespace brevora::testing {

// The slides and the show of one presentation, held by its FakeDocument (and
// by the show objects handed out, so none of them outlives it).
class FakeSlideShow : public Object {
 public:
  FakeSlideShow(std::shared_ptr<OfficeScript> script, std::string name)
      : name(std::move(name)), script(std::move(script)) {}

  // The presentation's name in the log lines (its file name).
  std::string name;
  std::vector<int32_t> slideIds = {256, 257, 258};
  bool running = false;
  int32_t position = 0;  // 1-based while running
  int runCount = 0;
  std::shared_ptr<OfficeScript> script;

  void EndOnDesktop() { running = false; }
};

class FakeSlide : public Dispatchable<FakeSlide> {
 public:
  FakeSlide(std::shared_ptr<OfficeScript> script, int32_t id)
      : id(id), script_(std::move(script)) {}
  static const MemberTable<FakeSlide>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  int32_t id;

 private:
  std::shared_ptr<OfficeScript> script_;
};

class FakeSlides : public Dispatchable<FakeSlides> {
 public:
  FakeSlides(std::shared_ptr<OfficeScript> script, Ref<FakeSlideShow> show)
      : script_(std::move(script)), show_(std::move(show)) {}
  static const MemberTable<FakeSlides>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  FakeSlideShow& Show() const { return *show_; }

 private:
  std::shared_ptr<OfficeScript> script_;
  Ref<FakeSlideShow> show_;
};

class FakeSlideShowView : public Dispatchable<FakeSlideShowView> {
 public:
  FakeSlideShowView(std::shared_ptr<OfficeScript> script, Ref<FakeSlideShow> show)
      : script_(std::move(script)), show_(std::move(show)) {}
  static const MemberTable<FakeSlideShowView>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  FakeSlideShow& Show() const { return *show_; }

 private:
  std::shared_ptr<OfficeScript> script_;
  Ref<FakeSlideShow> show_;
};

class FakeSlideShowWindow : public Dispatchable<FakeSlideShowWindow> {
 public:
  FakeSlideShowWindow(std::shared_ptr<OfficeScript> script, Ref<FakeSlideShow> show)
      : script_(std::move(script)), show_(std::move(show)) {}
  static const MemberTable<FakeSlideShowWindow>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  FakeSlideShow& Show() const { return *show_; }

 private:
  std::shared_ptr<OfficeScript> script_;
  Ref<FakeSlideShow> show_;
};

class FakeSlideShowSettings : public Dispatchable<FakeSlideShowSettings> {
 public:
  FakeSlideShowSettings(std::shared_ptr<OfficeScript> script, Ref<FakeSlideShow> show)
      : script_(std::move(script)), show_(std::move(show)) {}
  static const MemberTable<FakeSlideShowSettings>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  FakeSlideShow& Show() const { return *show_; }

 private:
  std::shared_ptr<OfficeScript> script_;
  Ref<FakeSlideShow> show_;
};

// The application's SlideShowWindows: Count is the number of running shows.
class FakeSlideShowWindows : public Dispatchable<FakeSlideShowWindows> {
 public:
  FakeSlideShowWindows(std::shared_ptr<OfficeScript> script, FakeOfficeApp& app)
      : script_(std::move(script)), app_(&app) {}
  static const MemberTable<FakeSlideShowWindows>& Members();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;
  int32_t Count() const;

 private:
  std::shared_ptr<OfficeScript> script_;
  FakeOfficeApp* app_;
};

// A presentation's own slide-show members, read on a FakeDocument: Slides,
// SlideShowSettings and SlideShowWindow (refused while no show runs).
Ref<FakeSlides> SlidesOf(const Ref<FakeSlideShow>& show);
Ref<FakeSlideShowSettings> SlideShowSettingsOf(const Ref<FakeSlideShow>& show);
Ref<FakeSlideShowWindow> SlideShowWindowOf(const Ref<FakeSlideShow>& show);

}  // namespace brevora::testing
