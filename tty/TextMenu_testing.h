// Test fixture of the menu engine's tests: the real string database, and
// dialogues run with standard input reading a given text while standard
// output is captured.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "NlsUtils.h"
#include "TextMenu.h"
#include "test_support.h"

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pDrvCoreDB = DbTOpen(DRVCORE_VDB, kDbNoCheck);
    DbTUpDate(pDrvCoreDB);
    flExitTextMenu = 0;
  }
  void TearDown() override {
    DbTClose(pDrvCoreDB);
    pDrvCoreDB = nullptr;
    flExitTextMenu = 0;
  }

  // What the dialogue printed, with standard input reading input.
  static std::string Run(const std::string& input, const std::function<void()>& dialogue) {
    StdinFrom in(input);
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    dialogue();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
  }
};

// The texts of the driver core string database the tests meet.
constexpr const char* kPromptLine = "\nEnter a selection: ";
constexpr const char* kPressEnter = "\nPress Enter to continue...";
constexpr const char* kEndOfInput = "End of input on the terminal";
