// A Qt window in the window directory: posted messages reach it on its thread.
#include "frontend/forms/window_registration.h"

#include "frontend/forms/button_control.h"
#include "platform/automation/call_by_name.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>

namespace brevora::frontend::forms {
namespace {

// Lets the window's messages arrive (they are sent already; the socket just
// has to be read by the event loop).
void Deliver() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

TEST(WindowRegistration, PostedMessagesReachTheWindow) {
  QWidget window;
  auto* refresh = new QPushButton(QStringLiteral("Refresh"), &window);
  int clicks = 0;
  QObject::connect(refresh, &QPushButton::clicked, [&] { ++clicks; });
  window.setWindowTitle(QStringLiteral("Brevora Desktop"));
  window.show();
  {
    WindowRegistration registration(window, "ThunderRT5Form", "Brevora Desktop",
                                    {{"ThunderRT5CommandButton", "Refresh", refresh}});
    const std::vector<windows::WindowEntry> found =
        windows::Find("ThunderRT5Form", "brevora desktop");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].handle, registration.handle());

    ASSERT_TRUE(windows::Post(registration.handle(),
                              windows::WindowMessage::Click("ThunderRT5CommandButton", "REFRESH")));
    Deliver();
    EXPECT_EQ(clicks, 1);

    ASSERT_TRUE(windows::Post(registration.handle(),
                              windows::WindowMessage::Title("Microsoft Excel - Caf\xE9")));
    Deliver();
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Microsoft Excel - Caf\xC3\xA9"));

    ASSERT_TRUE(windows::Post(registration.handle(), windows::WindowMessage::Minimize()));
    Deliver();
    EXPECT_TRUE(window.isMinimized());
    ASSERT_TRUE(windows::Post(registration.handle(), windows::WindowMessage::Activate()));
    Deliver();
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());

    registration.SetTitle("Brevora Server");
    EXPECT_EQ(windows::Find("ThunderRT5Form", "Brevora Server").size(), 1u);
  }
  EXPECT_TRUE(
      windows::Find("ThunderRT5Form", "Brevora Server").empty());  // gone with the registration
}

TEST(ButtonControl, SettingValuePressesTheButton) {
  auto button = std::make_unique<QPushButton>(QStringLiteral("Refresh"));
  int clicks = 0;
  QObject::connect(button.get(), &QPushButton::clicked, [&] { ++clicks; });
  const Ref<ButtonControl> control = MakeRef<ButtonControl>(button.get());
  CallByName(control, "Value", CallKind::Let, true);
  EXPECT_EQ(clicks, 1);
  CallByName(control, "value", CallKind::Let, false);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(CallByName(control, "Value", CallKind::Get), Variant(false));
  button.reset();
  CallByName(control, "Value", CallKind::Let, true);  // the button is gone: nothing
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace brevora::frontend::forms
