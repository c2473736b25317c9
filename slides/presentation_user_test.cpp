// Presentations in a handheld user's folders: the user paths, reached through
// the Session and the application object.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/device_user.h"
#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_collection.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/registry/registry.h"
#include "slides/presentation.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

using core::OnFreshThread;

using ::brevora::testing::ErrorOf;

class UserPresentations : public ::testing::Test {
 protected:
  // Runs `body` on a fresh module thread where "Anna" is a user with her folder.
  void WithAnna(const std::function<void(core::Session&)>& body) {
    OnFreshThread([&] {
      Ref<core::Session> session = core::GlobalSession();
      ASSERT_TRUE(session);
      Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
      user->SetUID(7);
      user->SetUserName("Anna");
      user->SetPath(anna_);
      session->GetUserManager()->GetUsers()->Add(user);
      body(*session);
    });
  }

  Ref<Presentation> NewPresentation(core::Session& session) {
    Ref<Dispatch> object = session.GetPresentation();
    Ref<Presentation> p = RefCast<Presentation>(object);
    EXPECT_TRUE(p);
    EXPECT_EQ(p->Session().get(), &session);
    return p;
  }

  // A one-slide presentation whose pictures lie in `dir_`.
  void AddSlide(Presentation& p) {
    fs::AtomicWrite(dir_ + "/pic.png", std::string_view("PICTURE"));
    fs::AtomicWrite(dir_ + "/thumb.png", std::string_view("THUMB"));
    Ref<Slide> s = p.Slides()->Add(1, 0, dir_ + "/pic.png");
    s->AddThumbnail(dir_ + "/thumb.png", 0);
    s->Outlines()->Add(0, 0, 0, NONE, "Hello");
  }

  std::string Folder() const { return anna_ + "\\slidr\\Unfiled/"; }

  std::string anna_ = brevora::testing::MakeTempDir("Anna");
  std::string dir_ = brevora::testing::MakeTempDir("originals");
};

TEST_F(UserPresentations, WriteAndOpenByUserCategoryAndName) {
  WithAnna([&](core::Session& session) {
    {
      Ref<Presentation> p = NewPresentation(session);
      AddSlide(*p);
      p->WriteToUser("Anna", "Unfiled", "deck");
      EXPECT_EQ(p->FullPath(), Folder() + "deck.pdb");
      EXPECT_TRUE(fs::FileExists(Folder() + "deck.pdb"));
      EXPECT_EQ(session.FileMode(), 2);
    }
    Ref<Presentation> q = NewPresentation(session);
    EXPECT_TRUE(CBool(
        CallByName(Ref<Dispatch>(q), "OpenFromUser", CallKind::Method, "", "Unfiled", "deck.pdb")));
    ASSERT_EQ(q->Slides()->Count(), 1);
    EXPECT_EQ(fs::ReadWholeFile(q->Slides()->Item(Variant(1))->FilePath()),
              std::vector<uint8_t>({'P', 'I', 'C', 'T', 'U', 'R', 'E'}));
    EXPECT_EQ(q->Slides()->Item(Variant(1))->FilePath(), Folder() + "deckimg/slide1.PNG");
  });
}

// WriteToUser used to delete the unpacked pictures before writing them, so a
// presentation with slides could not be saved into a user's folder.
TEST_F(UserPresentations, WriteToUserKeepsThePicturesItStores) {
  WithAnna([&](core::Session& session) {
    {
      Ref<Presentation> p = NewPresentation(session);
      AddSlide(*p);
      p->WriteToUser("Anna", "Unfiled", "first");
    }
    Ref<Presentation> p = NewPresentation(session);
    p->OpenFromUser("Anna", "Unfiled", "first");
    const std::string unpacked = p->Slides()->Item(Variant(1))->FilePath();
    p->WriteToUser("Anna", "Unfiled", "copy");
    EXPECT_TRUE(fs::FileExists(unpacked));
    Ref<Presentation> copy = NewPresentation(session);
    copy->OpenFromUser("Anna", "Unfiled", "copy");
    EXPECT_EQ(fs::ReadWholeFile(copy->Slides()->Item(Variant(1))->Thumbnail()->ImagePath()),
              std::vector<uint8_t>({'T', 'H', 'U', 'M', 'B'}));
  });
}

TEST_F(UserPresentations, OpeningFromAUserCleansThePreviousImageFolder) {
  WithAnna([&](core::Session& session) {
    {
      Ref<Presentation> p = NewPresentation(session);
      AddSlide(*p);
      p->WriteToUser("Anna", "Unfiled", "first");
      p->WriteToUser("Anna", "Unfiled", "second");
    }
    Ref<Presentation> p = NewPresentation(session);
    p->OpenFromUser("Anna", "Unfiled", "first");
    EXPECT_TRUE(fs::FolderExists(Folder() + "firstimg"));
    p->ClosePresentation();
    EXPECT_FALSE(fs::FolderExists(Folder() + "firstimg"));
    p->OpenFromUser("Anna", "Unfiled", "first");
    const AutomationError e = ErrorOf([&] { p->OpenFromUser("Anna", "Unfiled", "second"); });
    EXPECT_EQ(e.number(), 32760) << "slide 1 is still there: opening does not empty Slides";
    EXPECT_FALSE(fs::FolderExists(Folder() + "firstimg"));
  });
  for (const char* name : {"pic.png", "thumb.png"}) {
    EXPECT_TRUE(fs::FileExists(dir_ + "/" + name)) << "originals outside stay: " << name;
  }
}

// Names that would leave the user's folder are refused before anything is written.
TEST_F(UserPresentations, UnsafeNamesAreRefused) {
  WithAnna([&](core::Session& session) {
    Ref<Presentation> p = NewPresentation(session);
    AddSlide(*p);
    struct Case {
      const char* category;
      const char* name;
    };
    for (const Case c : {Case{"..", "deck"}, Case{"Unfiled", "../deck"}, Case{"a/b", "deck"},
                         Case{"Unfiled", ""}, Case{"Unfiled", "a\\b"}, Case{"Un\nfiled", "deck"}}) {
      const AutomationError e = ErrorOf([&] { p->WriteToUser("Anna", c.category, c.name); });
      EXPECT_EQ(e.number(), 32760) << c.category << " " << c.name;
      EXPECT_NE(e.description().find("Invalid category or presentation name"), std::string::npos);
    }
    EXPECT_FALSE(fs::FileExists(anna_ + "/slidr/deck.pdb"));
    EXPECT_FALSE(fs::FileExists(anna_ + "/deck.pdb"));
  });
}

// A custom home folder that is missing is reported, not written around.
TEST_F(UserPresentations, MissingHomeFolderIsReported) {
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                     registry::Value::String(dir_ + "/gone"));
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                     registry::Value::DWord(1));
  WithAnna([&](core::Session& session) {
    Ref<Presentation> p = NewPresentation(session);
    AddSlide(*p);
    const AutomationError e = ErrorOf([&] { p->WriteToUser("Anna", "Unfiled", "deck"); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.HomeDirectory");
    EXPECT_FALSE(fs::FolderExists(dir_ + "/gone"));
  });
}

}  // namespace
}  // namespace brevora::slides
