#include "PathTrust.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "test_support.h"

namespace {

// Links root made, and links whose owner owns what they point to, are
// followed; a link of another user's that points at root's files is named,
// wherever on the way it stands.
TEST(PathTrust, NamesTheFirstLinkRootMayNotFollow) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give links other owners";
  ScratchDir dir;
  const std::string d = dir.path();
  std::string out;
  // nobody's links: to root's folder, to root's file, to nobody's own file,
  // and two that point at each other.
  ASSERT_EQ(RunProgram({"sh", "-c", "cd '" + d + "' && mkdir root-dir && echo x > root-dir/f && echo y > mine && "
                        "chown 65534 mine && ln -s root-dir admin && ln -s root-dir planted && "
                        "ln -s root-dir/f planted-file && ln -s mine own && ln -s loop2 loop1 && ln -s loop1 loop2 && "
                        "chown -h 65534 planted planted-file own loop1 loop2 && ln -s planted via-admin"},
                       "", &out),
            0)
      << out;
  const struct {
    const char* path;
    const char* refused;  // the link named, relative to d; "" for none
  } cases[] = {
      {"root-dir/f", ""},          {"admin/f", ""},          {"absent/x", ""},
      {"own", ""},                 {"planted", "planted"},   {"planted/f", "planted"},
      {"planted-file", "planted-file"}, {"via-admin/f", "planted"}, {"loop1", "loop1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string want = c.refused[0] != '\0' ? d + "/" + c.refused : "";
    EXPECT_EQ(UntrustedLinkOnPath((d + "/" + c.path).c_str()), want);
  }
  // A relative path is judged from the current directory.
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(d.c_str()), 0);
  const std::string relative = UntrustedLinkOnPath("planted/f");
  ASSERT_EQ(chdir(cwd), 0);
  EXPECT_EQ(relative, d + "/planted");
}

}  // namespace
