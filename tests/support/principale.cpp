// Main of the core and engine tests. The program's toolkit sets the process locale from the
// environment at start-up (setlocale(LC_ALL, "")); the tests do the same first, so that a
// conversion that follows the C library's locale fails here as it would for a user.
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
