// The library's picker in a host without a Qt application: it answers Cancel
// at once and shows nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "phonesync/frm_send_to.h"
#include "phonesync/sync_test_support.h"

namespace brevora::bvsync {
namespace {

TEST(FormPicker, WithoutAQtApplicationItIsCancel) {
  test::WriteLauncher(test::SendToFolder() + "/Bluetooth/Phone.desktop", "/bin/true %f");
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  FormPicker picker;
  EXPECT_EQ(picker.Choose(), "");
}

}  // namespace
}  // namespace brevora::bvsync
