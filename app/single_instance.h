// One running copy per user. A second start finds the first through a local
// socket in the user's private runtime folder, asks it to come to the front
// and ends. A socket left behind by a copy that crashed answers nobody, so
// it is replaced; a copy that does not answer in time does not keep a new
// one from starting, nor does the lack of a folder that is the user's alone.
// The socket is a plain Unix one, watched by the event loop: Qt's network
// library would take longer to load than the whole exchange.
#pragma once

#include <QDeadlineTimer>
#include <QString>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

#include "app/private_runtime_folder.h"

class QSocketNotifier;

namespace wuffel {

class SingleInstance {
 public:
  // A running copy answers within a few event-loop turns; one that takes
  // longer is stuck, and a new start goes ahead rather than wait on it.
  static constexpr std::chrono::milliseconds kPatience{500};

  // Through the socket in the user's private runtime folder.
  SingleInstance();
  // Through the socket at `socketPath` (in a folder of this user's alone),
  // giving the whole exchange with another copy at most `patience`.
  explicit SingleInstance(QString socketPath, std::chrono::milliseconds patience = kPatience);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when this process is the one to run: no other copy answered. From
  // then on a later start calls `bringToFront`, where the socket could be
  // made.
  bool claim(std::function<void()> bringToFront);

  // What kept the start from its usual course (said on standard error too),
  // empty where nothing did.
  const QString& problem() const { return problem_; }

 private:
  SingleInstance(const PrivateFolder& folder, std::chrono::milliseconds patience);
  enum class Answer { NoCopy, Front, Silent };
  Answer askRunningCopy(const QDeadlineTimer& deadline) const;
  bool clearSocketPlace();
  bool listen();
  void report(const QString& problem);
  void accept();
  void read(int connection);
  void drop(int connection);

  QString path_;
  std::chrono::milliseconds patience_;
  QString problem_;
  int listening_ = -1;
  std::unique_ptr<QSocketNotifier> incoming_;
  // The later starts being answered, by their connection.
  std::map<int, std::unique_ptr<QSocketNotifier>> asking_;
  std::function<void()> bringToFront_;
};

}  // namespace wuffel
