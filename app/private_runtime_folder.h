// The user's runtime folder, where the program's socket and lock go: only
// a folder that this user alone can reach will do, so that no one else can
// put a socket or a lock where the program looks for its own.
#pragma once

#include <QString>

namespace wuffel {

struct PrivateFolder {
  QString path;     // empty when there is none
  QString problem;  // why there is none
};

// $XDG_RUNTIME_DIR, or Qt's stand-in for it where it is not set.
PrivateFolder privateRuntimeFolder();

// Why others could reach `folder` (or it is not a folder), empty when only
// this user can.
QString whyNotPrivate(const QString& folder);

}  // namespace wuffel
