#include "PathTrust.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "test_support.h"

namespace {

// Root's links in folders only root writes are followed; a link of another
// user's, or root's link where others could have moved it, bars the way,
// and so does a folder of another user's where only root's may stand.
TEST(PathTrust, FollowsOnlyRootsLinksInRootsFolders) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give links other owners";
  ScratchDir dir;
  const std::string d = dir.path();
  std::string out;
  ASSERT_EQ(RunProgram({"sh", "-c", "cd '" + d + "' && chmod 755 . && mkdir -m 755 root-dir && echo x > root-dir/f && "
                        "ln -s root-dir admin && ln -s root-dir planted && ln -s root-dir/f planted-file && "
                        "chown -h 65534 planted planted-file && ln -s planted via-admin && "
                        "mkdir -m 777 shared && ln -s ../root-dir shared/moved && "
                        "mkdir -m 755 theirs && chown 65534 theirs && ln -s loop2 loop1 && ln -s loop1 loop2"},
                       "", &out),
            0)
      << out;
  const struct {
    const char* path;
    WayOwners owners;
    LastLink last;
    WayResult result;
    const char* block;  // entry relative to d, then why
  } cases[] = {
      {"root-dir/f", WayOwners::kRootOnly, LastLink::kFollow, kWayReached, ""},
      {"admin/f", WayOwners::kRootOnly, LastLink::kFollow, kWayReached, ""},
      {"absent/x", WayOwners::kRootOnly, LastLink::kFollow, kWayGone, ""},
      {"planted-file", WayOwners::kAny, LastLink::kKeep, kWayReached, ""},
      {"planted-file", WayOwners::kAny, LastLink::kFollow, kWayBlocked,
       "planted-file is a symbolic link not owned by root"},
      {"planted/f", WayOwners::kAny, LastLink::kKeep, kWayBlocked, "planted is a symbolic link not owned by root"},
      {"via-admin/f", WayOwners::kAny, LastLink::kKeep, kWayBlocked, "via-admin is a symbolic link not owned by root"},
      {"shared/moved/f", WayOwners::kAny, LastLink::kKeep, kWayBlocked,
       "shared/moved is a symbolic link in a folder that others may write"},
      {"theirs/f", WayOwners::kAny, LastLink::kKeep, kWayReached, ""},
      {"theirs/f", WayOwners::kRootOnly, LastLink::kKeep, kWayBlocked, "theirs is not root's (uid 65534)"},
      {"loop1/f", WayOwners::kAny, LastLink::kKeep, kWayBlocked, "loop1 is a symbolic link that cannot be followed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    PathPlace place;
    WayBlock block;
    EXPECT_EQ(OpenWayTo(d + "/" + c.path, c.owners, c.last, &place, &block), c.result);
    EXPECT_EQ(c.result == kWayBlocked ? block.Text() : "", c.block[0] != '\0' ? d + "/" + c.block : "");
    if (c.result == kWayReached) {
      EXPECT_TRUE(place.folder.ok());
    }
  }
}

}  // namespace
