#pragma once

#include <sys/stat.h>

namespace avatello {

// What a replaced file keeps: the new copy of a file gets the old one's group, ACL, extended
// attributes and permission bits, so that nobody has more rights to it than before, and nobody
// fewer. Its owner is the writer (root gives it the old owner).
//
// Never kept: the setuid, setgid and sticky bits, and file capabilities (security.capability);
// the kernel clears those too when someone writes a file. An icon gives nobody a right.
//
// `old` is a descriptor of the old file (O_RDONLY, or O_PATH where it may not be read), `oldInfo`
// its status, `copy` the new file, still private. Returns 0, or an errno when something could not
// be copied exactly (a group the writer is not in, an attribute this file system or this user
// cannot set): the caller then writes the old file in place, which keeps all of it.
int copyFileMetadata(int old, const struct stat& oldInfo, int copy);

// The permission bits a written file keeps: everything but setuid, setgid and sticky.
inline constexpr mode_t keptPermissionBits = 0777;

} // namespace avatello
