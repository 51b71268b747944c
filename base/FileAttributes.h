#pragma once

#include "base/FileHandle.h"

#include <string>

namespace drovak {

// Gives the new file `to` (a temporary file about to take the place of `from`, written and not
// yet renamed) what `from` carries besides its bytes: its owner and group, its mode, and its
// extended attributes, the access control list (system.posix_acl_access) among them. All of it
// goes through the two descriptors. Ownership never changes hands: RefusedError when `to` could
// not be given `from`'s owner and group (`path`, the replaced file, named). An attribute the
// file system or this user can't set is left out, but an access control list that can't be
// kept is a FileError: without it the file would be open to others. A file system that keeps
// no modes or attributes (FAT) is no error.
void KeepOwnerModeAndAttributes(const FileHandle& from, const FileHandle& to,
                                const std::string& path);

} // namespace drovak
