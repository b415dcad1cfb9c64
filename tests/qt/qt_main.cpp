// The main of every test program that drives Qt widgets: one QApplication
// for all tests, on the offscreen platform that ctest sets.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
