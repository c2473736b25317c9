// A widget made under its name is found by it, with the arguments it was made
// with.
#include "platform/qt/named.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace brevora::qt {
namespace {

TEST(Named, AWidgetIsFoundByItsName) {
  QDialog form;
  QPushButton* ok = Named<QPushButton>("cmdOK", QStringLiteral("OK"), &form);
  QLabel* caption = Named<QLabel>("lblCaption");
  caption->setParent(&form);
  EXPECT_EQ(form.findChild<QPushButton*>("cmdOK"), ok);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_EQ(form.findChild<QLabel*>("lblCaption"), caption);
  EXPECT_EQ(caption->objectName(), QStringLiteral("lblCaption"));
}

}  // namespace
}  // namespace brevora::qt
