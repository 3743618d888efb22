// What writes of the settings file leave when the process is killed midway,
// cleared away by the next write or the next run.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace wuffel {

// A folder for the private copies the store reads and writes with QSettings,
// in memory where the system has a folder there (QSettings syncs every file
// it writes to the disk), removed with the object. Folders of copies of the
// program that ended without removing theirs are removed first.
std::unique_ptr<QTemporaryDir> makePrivateFolder();

// Beside the file at `file`, the name of what a write is about to put in its
// place, unique to this process and write; QSaveFile's new file holds the
// same until it has taken the old one's place. Earlier builds named their new
// files so too, without the ending.
QString readyTextName(const QString& file);

// Removes, beside the file at `file`, what writes that did not finish left:
// those files (with whatever an earlier build left under such a name), a new
// file of QSaveFile's that holds what one of them held, and QLockFile's lock
// for removing a lock left behind. Only under the store's lock, when no
// other write is under way. Files of any other name stay.
void removeLeftovers(const QString& file);

}  // namespace wuffel
