// One running copy per user. A second start finds the first through a local
// socket in the user's runtime folder, asks it to come to the front and
// ends. A socket left behind by a copy that crashed answers nobody, so it is
// replaced; a copy that does not answer in time does not keep a new one
// from starting.
#pragma once

#include <QLocalServer>
#include <QString>

#include <functional>

namespace wuffel {

class SingleInstance {
 public:
  explicit SingleInstance(QString socketPath = defaultSocketPath());
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process is the one to run: no other copy answered. From
  // then on a later start calls `bringToFront`.
  bool claim(std::function<void()> bringToFront);

  static QString defaultSocketPath();

 private:
  bool askRunningCopy() const;
  void answer();

  QString path_;
  QLocalServer server_;
  std::function<void()> bringToFront_;
};

}  // namespace wuffel
