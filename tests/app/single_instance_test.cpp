// One running copy per user: a second start brings the first to the front
// and ends; what a crashed copy left behind, a copy that is stuck, or a
// runtime folder that others can reach never keeps a new one from starting,
// and never puts the socket where others can reach it.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "app/private_runtime_folder.h"
#include "app/single_instance.h"
#include "qt_application.h"

namespace wuffel {
namespace {

// A second copy's claim, made while the first answers from its event loop.
bool claimFromAnotherProcessLike(const QString& path) {
  std::atomic<bool> done = false;
  bool runs = true;
  std::thread second([&] {
    SingleInstance instance(path);
    runs = instance.claim([] {});
    done = true;
  });
  while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  second.join();
  return runs;
}

TEST(SingleInstance, ASecondStartBringsTheFirstToTheFrontAndEnds) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  SingleInstance first(path);
  int fronts = 0;
  ASSERT_TRUE(first.claim([&fronts] { ++fronts; }));
  EXPECT_FALSE(claimFromAnotherProcessLike(path));
  EXPECT_FALSE(claimFromAnotherProcessLike(path));
  EXPECT_EQ(fronts, 2);
}

// Whatever the umask, the socket is this user's alone, and nothing of its
// making is left beside it; a start that hangs up without asking is let go.
TEST(SingleInstance, TheSocketIsTheUsersAloneAndAStartThatHangsUpIsLetGo) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  const mode_t umask = ::umask(0);
  SingleInstance first(path);
  ASSERT_TRUE(first.claim([] {}));
  ::umask(umask);
  struct stat status {};
  ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0);
  EXPECT_TRUE(S_ISSOCK(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            QStringList{QStringLiteral("wuffel-tennis")});
  const int quiet = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
  ASSERT_EQ(::connect(quiet, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::write(quiet, "fr", 2), 2);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ::close(quiet);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(claimFromAnotherProcessLike(path)) << "the copy still answers";
}

TEST(SingleInstance, ASocketAndALockLeftByACrashedCopyDoNotStopANewStart) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  // A socket bound and never listened on, as a killed copy leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  // A lock whose process is gone.
  QFile lock(path + QStringLiteral(".lock"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write("2147483000\nwuffel-tennis\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  lock.close();

  SingleInstance fresh(path);
  EXPECT_TRUE(fresh.claim([] {}));
  EXPECT_FALSE(claimFromAnotherProcessLike(path)) << "the new copy is found";
}

// A patience far below the pace of the stuck copies below, so that the
// claim is over long before they are.
constexpr std::chrono::milliseconds kShortPatience{100};
constexpr std::chrono::milliseconds kStuckPace{400};

// A copy that is stuck: it takes the question and then answers one byte
// at a time, slowly. `answered` once the whole answer went out.
class SlowPeer {
 public:
  explicit SlowPeer(const QString& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    listening_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd_, 1) == 0;
    if (listening_) thread_ = std::thread([this] { serve(); });
  }
  ~SlowPeer() {
    stop_ = true;
    ::shutdown(fd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    ::close(fd_);
  }
  bool listening() const { return listening_; }
  bool answered() const { return answered_; }

 private:
  void serve() {
    const int client = ::accept(fd_, nullptr, nullptr);
    if (client < 0) return;
    char question[6];
    if (::read(client, question, sizeof question) > 0)
      for (const char* c = "done\n"; *c && !stop_; ++c) {
        std::this_thread::sleep_for(kStuckPace);
        if (::write(client, c, 1) != 1) break;
      }
    answered_ = !stop_;
    ::close(client);
  }

  int fd_;
  bool listening_ = false;
  std::atomic<bool> stop_ = false;
  std::atomic<bool> answered_ = false;
  std::thread thread_;
};

TEST(SingleInstance, ACopyThatAnswersSlowlyIsGivenUpOnWithinThePatienceAndThisOneStarts) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  SlowPeer stuck(path);
  ASSERT_TRUE(stuck.listening());
  SingleInstance fresh(path, kShortPatience);
  EXPECT_TRUE(fresh.claim([] {}));
  EXPECT_FALSE(stuck.answered()) << "the claim waited for the whole answer";
  EXPECT_TRUE(fresh.problem().contains(QStringLiteral("did not answer within 100 ms"))) << qPrintable(fresh.problem());
  EXPECT_FALSE(claimFromAnotherProcessLike(path)) << "the new copy is found";
}

TEST(SingleInstance, ALockHeldByALiveCopyIsGivenUpOnWithinThePatienceAndThisOneStarts) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  std::atomic<bool> held = false, released = false;
  std::thread holder([&] {
    QLockFile lock(path + QStringLiteral(".lock"));
    held = lock.tryLock(0);
    std::this_thread::sleep_for(3 * kStuckPace);
    lock.unlock();
    released = true;
  });
  while (!held && !released) std::this_thread::yield();
  SingleInstance fresh(path, kShortPatience);
  EXPECT_TRUE(fresh.claim([] {}));
  EXPECT_FALSE(released) << "the claim waited for the lock";
  EXPECT_TRUE(fresh.problem().contains(QStringLiteral("kept its lock past 100 ms"))) << qPrintable(fresh.problem());
  holder.join();
  ASSERT_TRUE(held);
}

TEST(SingleInstance, AFileInTheSocketsPlaceIsLeftAloneAndThisCopyStartsUnfound) {
  testing::application();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("wuffel-tennis"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("notes\n");
  file.close();
  SingleInstance fresh(path);
  EXPECT_TRUE(fresh.claim([] {}));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "notes\n");
  EXPECT_TRUE(fresh.problem().contains(QStringLiteral("is not a socket"))) << qPrintable(fresh.problem());
}

// An environment variable set (or, to a null value, unset) for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const QByteArray& value)
      : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), was_(qgetenv(name)) {
    value.isNull() ? qunsetenv(name) : qputenv(name, value);
  }
  ~ScopedVariable() { wasSet_ ? qputenv(name_, was_) : qunsetenv(name_); }

 private:
  const char* name_;
  bool wasSet_;
  QByteArray was_;
};

TEST(SingleInstance, OnlyAFolderOfThisUsersAloneHoldsTheSocket) {
  testing::application();
  QTemporaryDir dir;
  EXPECT_EQ(whyNotPrivate(dir.path()), QString()) << "a temporary folder is made for its user alone";
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
  EXPECT_TRUE(whyNotPrivate(dir.path()).contains(QStringLiteral("open to other users")));
  QTemporaryDir own;
  const QString link = own.filePath(QStringLiteral("link"));
  ASSERT_TRUE(QFile::link(own.path(), link));
  EXPECT_FALSE(whyNotPrivate(link).isEmpty());
  EXPECT_FALSE(whyNotPrivate(QStringLiteral("run")).isEmpty());
  EXPECT_FALSE(whyNotPrivate(own.filePath(QStringLiteral("missing"))).isEmpty());
  if (::geteuid() == 0) {
    QTemporaryDir others;
    ASSERT_EQ(::chown(QFile::encodeName(others.path()).constData(), 65534, 65534), 0);
    EXPECT_TRUE(whyNotPrivate(others.path()).contains(QStringLiteral("another user")));
  }
}

// Without XDG_RUNTIME_DIR, where the stand-in folder's name is taken by a
// file or by another user's folder, this copy runs without the socket.
TEST(SingleInstance, WithoutAFolderOfThisUsersAloneThisCopyStartsWithoutTheSocket) {
  testing::application();
  QTemporaryDir temp;
  const ScopedVariable noRuntimeFolder("XDG_RUNTIME_DIR", QByteArray());
  const ScopedVariable tempHere("TMPDIR", QFile::encodeName(temp.path()));
  const QString standIn = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  ASSERT_TRUE(standIn.startsWith(temp.path())) << qPrintable(standIn);
  ASSERT_TRUE(QDir(standIn).removeRecursively());
  QFile taken(standIn);
  ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
  taken.close();
  if (::geteuid() == 0) {
    // The case as it comes: the folder made by another user before this one.
    ASSERT_TRUE(taken.remove());
    ASSERT_TRUE(QDir().mkdir(standIn));
    ASSERT_EQ(::chown(QFile::encodeName(standIn).constData(), 65534, 65534), 0);
  }
  EXPECT_TRUE(privateRuntimeFolder().path.isEmpty());
  const bool rootSocketWasThere = QFile::exists(QStringLiteral("/wuffel-tennis"));
  SingleInstance instance;
  EXPECT_TRUE(instance.claim([] {}));
  EXPECT_FALSE(instance.problem().isEmpty());
  EXPECT_EQ(QFile::exists(QStringLiteral("/wuffel-tennis")), rootSocketWasThere) << "a socket at the root";
}

TEST(SingleInstance, TheProgramStartedAgainEndsAndLeavesTheRunningOne) {
  testing::application();
  QTemporaryDir run, config;
  QFile::setPermissions(run.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
  QProcess first, second;
  for (QProcess* p : {&first, &second}) {
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(QStringLiteral(WUFFEL_SOURCE_DIR));
  }
  first.start(QStringLiteral(WUFFEL_PROGRAM), {});
  ASSERT_TRUE(first.waitForStarted());
  // Generous: the first copy may be slow to come up on a busy machine.
  for (int i = 0; i < 300 && !QFile::exists(run.filePath(QStringLiteral("wuffel-tennis"))); ++i)
    first.waitForFinished(100);
  ASSERT_TRUE(QFile::exists(run.filePath(QStringLiteral("wuffel-tennis"))));
  second.start(QStringLiteral(WUFFEL_PROGRAM), {});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  first.kill();
  first.waitForFinished();
}

}  // namespace
}  // namespace wuffel
