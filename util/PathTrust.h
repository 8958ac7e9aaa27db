// How root reaches a path that other users may be able to reach too: from
// / one folder at a time, each opened without following a link, so that
// what is judged is what is then acted on. A symbolic link is followed only
// where root owns it and it stands in a folder that only root may write; a
// link of another user's, or root's link in a folder others may write
// (moved or linked there by them), is never followed.
#pragma once

#include <string>

#include "Fd.h"

// Where a path was reached: the folder that holds its last step, open, and
// the name of that step there.
struct PathPlace {
  Fd folder;
  std::string leaf;
};

// What may stand on the way: any folder, or only root's folders and links
// (a folder of another user's is theirs to change at any time).
enum class WayOwners { kAny, kRootOnly };
// Whether a symbolic link at the last step is followed (by the rule above)
// or is itself the place reached.
enum class LastLink { kKeep, kFollow };

enum WayResult { kWayReached, kWayGone, kWayBlocked };

// The entry that bars the way, as the path read up to it, and why
// ("is a symbolic link not owned by root", "is not root's (uid 1000)").
struct WayBlock {
  std::string entry;
  std::string why;
  std::string Text() const { return entry + " " + why; }
};

// Walks to path (absolute; "." and ".." steps as the kernel takes them).
// kWayGone when a folder on the way is not there (nor, then, the path);
// kWayBlocked with *block when the way is barred: a link that may not be
// followed, more than 40 links, a folder of another user's under
// kRootOnly, or a folder that cannot be opened.
WayResult OpenWayTo(const std::string& path, WayOwners owners, LastLink last, PathPlace* place, WayBlock* block);

// Called with every folder a walk opens, before any entry in it is looked
// at: the installer holds the folders its run works in from then on. It
// returns whether others could write the folder before it was held: a
// link in it could have been moved there by them, and is not followed.
// One hook for the whole program; nullptr for none.
using WayFolderHook = bool (*)(int folder);
void SetWayFolderHook(WayFolderHook hook);
