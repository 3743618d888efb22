// The store's lock between processes: QLockFile's, the one earlier builds of
// the program took through QSettings, given up at a deadline instead of
// waited for without end. Unix only.
#pragma once

#include <QLockFile>
#include <QString>

#include <chrono>
#include <memory>

namespace wuffel {

// The lock at `path`, held while the object lives. Nothing, with the reason
// for the player in `why`, when another process still holds it after
// `patience`, when it cannot be made, or when the path is something other
// than a regular file (a folder, a link, a named pipe), which is left as it
// is. A lock file no process holds any more is removed once it has stayed so
// a moment: its holder ended without letting go, and the number it left may
// now be another running program's.
std::unique_ptr<QLockFile> takeStoreLock(const QString& path, std::chrono::milliseconds patience, QString& why);

// Removes the lock file at `path` if no process holds it. False when it is
// held, is no regular file, or is not there.
bool removeUnheldLock(const QString& path);

}  // namespace wuffel
