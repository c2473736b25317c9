#include "slides/dialog/slidr_options_form_logic.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/registry/hive_store.h"
#include "platform/registry/registry.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"

namespace brevora::slides::dialog {
namespace {

using registry::Hive;
constexpr const char* kKey = SlidrOptions::kRegistryKey;

void StoreWord(const char* name, uint32_t value) {
  registry::SetValue(Hive::CurrentUser, kKey, name, registry::Value::DWord(value));
}

std::optional<uint32_t> StoredWord(const char* name) {
  auto v = registry::QueryValue(Hive::CurrentUser, kKey, name);
  if (!v || v->type != registry::ValueType::DWord) return std::nullopt;
  return v->dword;
}

std::string SelectedText(const ComboState& combo) {
  if (combo.selected < 0) return "<none>";
  return combo.items.at(static_cast<size_t>(combo.selected));
}

class FormLogic : public ::testing::Test {
 protected:
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scope_{services::InstallMessageBox, box_};
};

TEST_F(FormLogic, ControlsFromDefaults) {
  SlidrOptionsFormLogic form;
  form.SetShowLinking(true);
  form.SetLinkFile("/data/talk.ppt");
  const SlidrOptionsControls c = form.Load();
  EXPECT_EQ(c.resolution.items,
            (std::vector<std::string>{"800x600", "640x480", "436x320", "320x240", "160x120"}));
  EXPECT_EQ(c.bitDepth.items, (std::vector<std::string>{"256 Color (8 bit)", "Hi Color (16 bit)"}));
  EXPECT_EQ(c.vantaRes.items, (std::vector<std::string>{"1024x768", "800x600", "640x480"}));
  EXPECT_EQ(c.vantaDepth.items, c.bitDepth.items);
  EXPECT_EQ(SelectedText(c.resolution), "320x240");
  EXPECT_EQ(SelectedText(c.bitDepth), "256 Color (8 bit)");
  EXPECT_EQ(SelectedText(c.vantaRes), "800x600");
  EXPECT_EQ(SelectedText(c.vantaDepth), "256 Color (8 bit)");
  EXPECT_FALSE(c.linkedTicked);
  EXPECT_EQ(c.linkFile, "/data/talk.ppt");
  EXPECT_TRUE(c.showLinking);
  EXPECT_FALSE(c.vantaTicked);
  EXPECT_FALSE(c.advancedShown);
  EXPECT_FALSE(form.Cancelled());
  EXPECT_FALSE(form.FileLinked());
}

// The large-screen controls start in the state UseVanta says: disabled while
// the box is unticked (they used to start enabled, the tick's handler never
// having run), enabled when it is ticked.
TEST_F(FormLogic, VantaControlsFollowUseVantaFromTheStart) {
  {
    SlidrOptionsFormLogic form;
    const SlidrOptionsControls c = form.Load();
    EXPECT_FALSE(c.vantaTicked);
    EXPECT_FALSE(c.vantaControlsEnabled);
  }
  StoreWord("VantaSlide", 1);
  SlidrOptionsFormLogic form;
  const SlidrOptionsControls c = form.Load();
  EXPECT_TRUE(c.vantaTicked);
  EXPECT_TRUE(c.vantaControlsEnabled);
}

TEST_F(FormLogic, SelectionsFromStoredOptions) {
  struct Case {
    uint32_t width, height, depth, vantaWidth, vantaHeight, vantaDepth;
    const char *resolution, *bitDepth, *vantaRes, *vantaDepthText;
  };
  const Case cases[] = {
      {436, 320, 16, 1024, 768, 16, "436x320", "Hi Color (16 bit)", "1024x768",
       "Hi Color (16 bit)"},
      // Not in the lists: the defaults' entries.
      {500, 500, 4, 1280, 1024, 24, "320x240", "256 Color (8 bit)", "800x600", "256 Color (8 bit)"},
      {160, 120, 8, 640, 480, 8, "160x120", "256 Color (8 bit)", "640x480", "256 Color (8 bit)"}};
  for (const Case& k : cases) {
    StoreWord("SlideWidth", k.width);
    StoreWord("SlideHeight", k.height);
    StoreWord("BitDepth", k.depth);
    StoreWord("VantaWidth", k.vantaWidth);
    StoreWord("VantaHeight", k.vantaHeight);
    StoreWord("VantaDepth", k.vantaDepth);
    SlidrOptionsFormLogic form;
    const SlidrOptionsControls c = form.Load();
    EXPECT_EQ(SelectedText(c.resolution), k.resolution);
    EXPECT_EQ(SelectedText(c.bitDepth), k.bitDepth);
    EXPECT_EQ(SelectedText(c.vantaRes), k.vantaRes);
    EXPECT_EQ(SelectedText(c.vantaDepth), k.vantaDepthText);
  }
}

TEST_F(FormLogic, OkStoresAndSavesTheChoice) {
  SlidrOptionsFormLogic form;
  form.Load();
  ASSERT_TRUE(
      form.OkClicked({"436x320", "Hi Color (16 bit)", true, "1024x768", "256 Color (8 bit)"}));
  EXPECT_EQ(StoredWord("SlideWidth"), 436u);
  EXPECT_EQ(StoredWord("SlideHeight"), 320u);
  EXPECT_EQ(StoredWord("BitDepth"), 16u);
  EXPECT_EQ(StoredWord("VantaSlide"), 1u);
  EXPECT_EQ(StoredWord("VantaWidth"), 1024u);
  EXPECT_EQ(StoredWord("VantaHeight"), 768u);
  EXPECT_EQ(StoredWord("VantaDepth"), 8u);
  EXPECT_FALSE(form.Cancelled());
  EXPECT_TRUE(box_->shown().empty());

  // A new dialog shows what was saved.
  SlidrOptionsFormLogic again;
  const SlidrOptionsControls c = again.Load();
  EXPECT_EQ(SelectedText(c.resolution), "436x320");
  EXPECT_EQ(SelectedText(c.bitDepth), "Hi Color (16 bit)");
  EXPECT_TRUE(c.vantaTicked);
  EXPECT_EQ(SelectedText(c.vantaRes), "1024x768");
}

TEST_F(FormLogic, OkWithoutASelectionShowsTheErrorAndSavesNothing) {
  SlidrOptionsFormLogic form;
  form.Load();
  EXPECT_FALSE(form.OkClicked({"", "256 Color (8 bit)", false, "800x600", "256 Color (8 bit)"}));
  ASSERT_EQ(box_->shown().size(), 1u);
  const services::Message m = box_->shown()[0];
  EXPECT_EQ(m.title, "Slidora Error");
  EXPECT_EQ(m.text, "Slidora options: String format is invalid, expect type (WIDTHxHEIGHT)");
  EXPECT_EQ(m.buttons, services::MsgButtons::Ok);
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey));
  EXPECT_EQ(form.Options()->SlideWidth(), 320) << "nothing set before the error";
}

TEST_F(FormLogic, OkWhoseSaveFailsKeepsTheValuesSetAndReports) {
  SlidrOptionsFormLogic form;
  form.Load();
  // A folder where the hive file belongs: the save cannot write.
  std::filesystem::create_directories(registry::HiveFilePath(Hive::CurrentUser));
  EXPECT_FALSE(
      form.OkClicked({"640x480", "256 Color (8 bit)", false, "800x600", "256 Color (8 bit)"}));
  ASSERT_EQ(box_->shown().size(), 1u);
  EXPECT_EQ(box_->shown()[0].title, "Slidora Error");
  EXPECT_EQ(box_->shown()[0].text.rfind("Slidora options: ", 0), 0u);
  EXPECT_EQ(form.Options()->SlideWidth(), 640);
  EXPECT_EQ(form.Options()->SlideHeight(), 480);
}

TEST_F(FormLogic, CancelSavesNothingAndKeepsTheLinkTick) {
  SlidrOptionsFormLogic form;
  form.SetShowLinking(true);
  form.Load();
  form.LinkedClicked(true);
  form.CancelClicked();
  EXPECT_TRUE(form.Cancelled());
  EXPECT_TRUE(form.FileLinked());
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey));
}

TEST_F(FormLogic, LoadingAgainClearsCancelledAndTheLinkTick) {
  SlidrOptionsFormLogic form;
  form.SetCancelled(true);
  form.LinkedClicked(true);
  const SlidrOptionsControls c = form.Load();
  EXPECT_FALSE(form.Cancelled());
  EXPECT_FALSE(form.FileLinked());
  EXPECT_FALSE(c.showLinking);
}

}  // namespace
}  // namespace brevora::slides::dialog
