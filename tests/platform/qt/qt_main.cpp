// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every test program that drives Qt widgets: one QApplication
// for all tests, on the offscreen platform that ctest sets. Listing the tests
// (as ctest's discovery does at build time) needs no application, and so no
// display.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
