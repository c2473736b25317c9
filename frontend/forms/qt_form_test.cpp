// The windows library's form factory and the QtForm life cycle, on the
// offscreen platform.
#include "frontend/forms/qt_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <thread>

#include "frontend/form_factory.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::frontend::forms {
namespace {

using ::brevora::testing::ErrorOf;

std::shared_ptr<FormFactory> Installed() {
  EXPECT_EQ(BrevoraInstallForms(), 0);
  return LoadedFormFactory();
}

TEST(QtFormFactory, InstallsItselfOnceForTheProgramsApplication) {
  const std::shared_ptr<FormFactory> factory = Installed();
  ASSERT_TRUE(dynamic_cast<QtFormFactory*>(factory.get()));
  EXPECT_EQ(BrevoraInstallForms(), 0);
  EXPECT_EQ(LoadedFormFactory(), factory);  // not replaced by a second call
  EXPECT_EQ(Forms(), factory);
}

TEST(QtFormFactory, MakesKnownFormsOnTheWindowThreadOnly) {
  const std::shared_ptr<FormFactory> factory = Installed();
  EXPECT_EQ(ErrorOf([&] { factory->Create("frmNoSuchForm"); }).number(), 429);
  AutomationError elsewhere(0, "", "");
  std::thread([&] { elsewhere = ErrorOf([&] { factory->Create("frmAbout"); }); }).join();
  EXPECT_EQ(elsewhere.number(), 5);
  EXPECT_EQ(elsewhere.description(),
            "Windows can only be shown on the thread of the program's windows.");
  std::vector<Ref<Form>> seenElsewhere{Ref<Form>()};
  const Ref<Form> about = factory->Create("FRMABOUT");  // any case
  about->Load();
  std::thread([&] { seenElsewhere = factory->LoadedForms(); }).join();
  EXPECT_TRUE(seenElsewhere.empty());
  about->Unload();
}

TEST(QtForm, LoadsListsAndUnloads) {
  const std::shared_ptr<FormFactory> factory = Installed();
  const Ref<Form> first = factory->Create("frmAbout");
  const Ref<Form> second = factory->Create("frmRootDirectory");
  EXPECT_FALSE(first->IsLoaded());
  EXPECT_TRUE(factory->LoadedForms().empty());
  second->Load();
  first->Load();
  EXPECT_EQ(factory->LoadedForms(), (std::vector<Ref<Form>>{second, first}));  // load order
  EXPECT_EQ(first->Name(), "frmAbout");
  EXPECT_FALSE(first->Visible());

  auto* window = static_cast<QtForm&>(*first).Window();
  ASSERT_NE(window, nullptr);
  QPointer<QWidget> watched(window);
  first->Show(false);
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(CallByName(*first, "Visible", CallKind::Get), Variant(true));
  first->Unload();
  EXPECT_FALSE(first->IsLoaded());
  EXPECT_FALSE(first->Visible());
  EXPECT_EQ(factory->LoadedForms(), (std::vector<Ref<Form>>{second}));
  factory->DoEvents();
  EXPECT_FALSE(watched.isNull());  // messages run; the window waits for the event loop
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watched.isNull());
  second->Unload();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The about box unloads from its OK button's click, and nothing but the list of
// loaded forms holds it: the window goes after the click, the form with it.
TEST(QtForm, AWindowClosedFromItsOwnEventGoesAfterIt) {
  QPointer<QWidget> window;
  QPointer<QPushButton> ok;
  {
    const Ref<Form> form = Installed()->Create("frmAbout");
    form->Show(false);
    window = static_cast<QtForm&>(*form).Window();
    ok = window->findChild<QPushButton*>(QStringLiteral("cmdOK"));
  }
  ASSERT_TRUE(ok);
  bool existed = false;  // once the form's own handler of the click is over
  QObject::connect(ok.data(), &QPushButton::clicked,
                   [window, &existed] { existed = !window.isNull(); });
  QTimer::singleShot(0, ok.data(), [ok] { ok->click(); });
  QApplication::processEvents();
  EXPECT_TRUE(existed);
  EXPECT_TRUE(Forms()->LoadedForms().empty());
  for (int i = 0; i < 5 && window; ++i) QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST(QtForm, WindowPropertiesByName) {
  const Ref<Form> form = Installed()->Create("frmAbout");
  CallByName(*form, "Caption", CallKind::Let, "Brevora Desktop");
  CallByName(*form, "Tag", CallKind::Let, "Brevora Desktop");
  form->Load();
  QWidget* window = static_cast<QtForm&>(*form).Window();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Brevora Desktop"));
  EXPECT_EQ(CallByName(*form, "Caption", CallKind::Get), Variant("Brevora Desktop"));
  EXPECT_EQ(CallByName(*form, "tag", CallKind::Get), Variant("Brevora Desktop"));
  CallByName(*form, "Visible", CallKind::Let, true);
  EXPECT_TRUE(window->isVisible());
  CallByName(*form, "Visible", CallKind::Let, false);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(ErrorOf([&] { CallByName(*form, "NoSuchMember", CallKind::Get); }).number(), 438);
  form->Unload();
  // The properties outlive the window.
  EXPECT_EQ(CallByName(*form, "Caption", CallKind::Get), Variant("Brevora Desktop"));
}

TEST(QtForm, RemoveMinimizeBoxKeepsTheCloseBox) {
  const Ref<Form> form = Installed()->Create("frmRootDirectory");
  form->RemoveMinimizeBox();  // loads the form
  ASSERT_TRUE(form->IsLoaded());
  const Qt::WindowFlags flags = static_cast<QtForm&>(*form).Window()->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  form->Unload();
}

TEST(QtForm, AModalShowReturnsWhenTheFormUnloads) {
  const Ref<Form> form = Installed()->Create("frmAbout");
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    QWidget* window = static_cast<QtForm&>(*form).Window();
    wasModal = window && window->isVisible() && window->isModal();
    form->Unload();
  });
  form->Show(true);
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(form->IsLoaded());
}

TEST(QtForm, TheCloseBoxUnloads) {
  const Ref<Form> form = Installed()->Create("frmAbout");
  QTimer::singleShot(0, [&] {
    QWidget* window = QApplication::activeModalWidget();
    ASSERT_NE(window, nullptr);
    window->close();  // as the close box does
  });
  form->Show(true);
  EXPECT_FALSE(form->IsLoaded());
}

TEST(FormUtility, SelectAllTextOnlyForText) {
  QLineEdit box;
  box.setText(QStringLiteral("   "));
  Utility::SelectAllText(box);
  EXPECT_FALSE(box.hasSelectedText());
  box.setText(QStringLiteral(" /home/anna "));
  Utility::SelectAllText(box);
  EXPECT_EQ(box.selectedText(), QStringLiteral(" /home/anna "));
}

TEST(FormUtility, CenterAndLocalize) {
  QWidget form;
  form.resize(200, 100);
  auto* label = new QLabel(QStringLiteral("x"), &form);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  Utility::DoLocalizeControls(form);
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(label->font().family(), QApplication::font().family());
  Utility::CenterForm(form);
  const QRect area = form.screen()->availableGeometry();
  EXPECT_NEAR(form.frameGeometry().center().x(), area.center().x(), 2);
  EXPECT_NEAR(form.frameGeometry().center().y(), area.center().y(), 2);
}

}  // namespace
}  // namespace brevora::frontend::forms
