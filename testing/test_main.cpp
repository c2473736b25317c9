// Shared main of every test program: gives each test case a fresh BREVORA_HOME
// (and TMPDIR inside it), and removes the folder when the case ends.
#include <gtest/gtest.h>

#include "testing/fresh_home.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new brevora::testing::FreshHome);
  return RUN_ALL_TESTS();
}
