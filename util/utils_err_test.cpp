#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "utils.h"

namespace {

TEST(ErrorMsg, WarningGoesToStandardErrorAndReturns) {
  testing::internal::CaptureStderr();
  ErrorMsg(1, 0, "x=%d", 5);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "WARNING: x=5\n");
  EXPECT_STREQ(Line, "x=5");
}

TEST(ErrorMsg, OtherTypesOnlyFillTheSharedLine) {
  testing::internal::CaptureStderr();
  ErrorMsg(3, 0, "quiet %s", "text");
  ErrorMsg(0, 0, "quiet");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_STREQ(Line, "quiet");
}

TEST(ErrorMsg, OverlongMessageIsCutToTheSharedLine) {
  std::string big(100000, 'e');
  ErrorMsg(0, 0, "%s", big.c_str());
  EXPECT_EQ(std::strlen(Line), static_cast<size_t>(kLineSize - 1));
}

TEST(ErrorMsgDeathTest, ErrorEndsWithTheCallersStatus) {
  EXPECT_EXIT(ErrorMsg(2, 7, "bad %s", "thing"), testing::ExitedWithCode(7), "^ERROR: bad thing\n$");
}

TEST(SysErrorDeathTest, NamesTheProgramAndTheSystemError) {
  my_name = const_cast<char*>("prog");
  std::string expected = std::string("^\nprog: cannot 42 : ") + std::strerror(ENOENT) + "\n$";
  EXPECT_EXIT(
      {
        errno = ENOENT;
        SysError("cannot %d", 42);
      },
      testing::ExitedWithCode(1), expected);
}

// A replaced exit handler sees every end of the run with its status; one
// that returns does not keep the program alive.
struct Ended {
  int status;
};
[[noreturn]] void ThrowEnded(int status) { throw Ended{status}; }
void ReturnAnyway(int) {}

TEST(ExitProgram, EndsThroughTheHandlerInForce) {
  ExitHandler saved = SetExitHandler(ThrowEnded);
  testing::internal::CaptureStderr();
  for (auto [end, status] : std::initializer_list<std::pair<void (*)(), int>>{
           {[] { FatalError("x"); }, 1}, {[] { ErrorMsg(2, 9, "y"); }, 9}, {[] { SysError("z"); }, 1}}) {
    try {
      end();
      ADD_FAILURE() << "returned";
    } catch (const Ended& e) {
      EXPECT_EQ(e.status, status);
    }
  }
  testing::internal::GetCapturedStderr();
  SetExitHandler(ReturnAnyway);
  EXPECT_EXIT(ExitProgram(4), testing::ExitedWithCode(4), "");
  SetExitHandler(saved);
}

}  // namespace
