// Whether root may act on a path through a symbolic link on the way. A
// link that root made, or one whose owner also owns what it points to (an
// administrator's link of /opt/Vexla to another disk, a user's link to a
// file of their own), may be followed; a link that another user planted
// to point at something of root's may not: a chmod or a copy through it
// would change the file it points to.
#pragma once

#include <string>

// The first link on the way to path, path itself included, that may not be
// followed; empty when there is none. Links that may be followed are
// resolved as the kernel would, so that what they lead to is judged too; a
// path that does not exist (yet) is judged as far as it exists. A relative
// path is taken from the current directory. More than 40 links on the way
// count as a link that may not be followed.
std::string UntrustedLinkOnPath(const char* path);
