// The settings file on the disk, handled so that nothing waits on anything
// but the disk itself: only regular files of a sensible size are read, and
// never a named pipe or a device. Unix only.
#pragma once

#include <QString>

#include <cstddef>
#include <string>

namespace wuffel::settings_file {

// Far more than any file the program writes; a larger one is not read, and
// never replaced.
inline constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

struct Contents {
  enum class State {
    Absent,      // no file there
    Read,        // `bytes` holds it
    TooLarge,    // a regular file over kMaxFileSize: not read
    NotRegular,  // a folder, a named pipe, a device or a socket: not opened
    Unreadable,  // not to be read: no permission, or an input/output error
  };
  State state = State::Absent;
  std::string bytes;
};

// Never blocks on what the path names: a named pipe or a device is not
// opened for reading at all. Links are followed.
Contents read(const std::string& path);

// Syncs the folder that holds `file` (links followed), so that a file just
// renamed into it is there after a power cut too.
void syncFolderOf(const QString& file);

}  // namespace wuffel::settings_file
