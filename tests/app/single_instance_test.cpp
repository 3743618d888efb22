// One running copy per user: a second start brings the first to the front
// and ends; what a crashed copy left behind never keeps a new one from
// starting.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <atomic>
#include <cstring>
#include <thread>

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
