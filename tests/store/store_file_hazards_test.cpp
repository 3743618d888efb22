// What may lie where the store expects its file and its lock: each case
// runs in a child process, so that an operation that never returns fails
// its test. Nothing may hold the program up, and nothing stored is lost.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLockFile>

#include <chrono>
#include <random>
#include <thread>

#include "child_process.h"
#include "core/rig.h"
#include "error_of.h"
#include "app/settings_file.h"
#include "store/player_settings_store.h"
#include "store_file.h"

namespace wuffel {
namespace {

using testing::errorOf;
using testing::FileStore;
using testing::inChildProcess;
using testing::Rig;

const QByteArray kScores = "[General]\nHiScoreA=120\nHiScoreB=5\n";

struct Hazard : ::testing::Test, testing::StoreFolder {
  Hazard() { QDir().mkpath(QFileInfo(file()).absolutePath()); }
  QByteArray lock() const { return (file() + ".lock").toLocal8Bit(); }
  QByteArray local(const QString& path) const { return path.toLocal8Bit(); }

  // Both kinds of write are refused with the store's message, and a
  // regular file keeps what it held.
  std::string writesAreRefused(const std::optional<QByteArray>& before) const {
    FileStore s;
    if (errorOf([&] { s.store.writeInteger("HiScoreA", 130); }) != "Failed to set data for 'HiScoreA'")
      return "a write was not refused";
    if (errorOf([&] { s.store.raiseInteger("HiScoreB", 130); }) != "Failed to set data for 'HiScoreB'")
      return "a game over's write was not refused";
    if (before && fileText() != *before) return "the file changed";
    return {};
  }
};

TEST_F(Hazard, ALockThatIsNoPlainFileRefusesWritesAndIsLeftAsItIs) {
  putFile(kScores);
  for (const auto& [kind, make] : std::vector<std::pair<std::string, std::function<int()>>>{
           {"folder", [&] { return ::mkdir(lock(), 0755); }},
           {"named pipe", [&] { return ::mkfifo(lock(), 0644); }},
           {"link", [&] { return ::symlink("elsewhere", lock()); }}}) {
    ASSERT_EQ(make(), 0) << kind;
    EXPECT_EQ(inChildProcess([&] { return writesAreRefused(kScores); }), "") << kind;
    struct stat st{};
    EXPECT_EQ(::lstat(lock(), &st), 0) << kind;
    if (::rmdir(lock()) != 0) ::unlink(lock());
  }
  EXPECT_EQ(FileStore{}.store.readInteger("HiscoreA", 0), 120);
}

// A copy of the program that ended without letting go of the lock left its
// process number there, which a copy running now has.
TEST_F(Hazard, ALockLeftBehindLocksNothingEvenIfItNamesARunningCopy) {
  putFile(kScores);
  const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  QFile stale(file() + ".lock");
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write(QByteArray::number(::getpid()) + '\n' + QFileInfo(self).fileName().toUtf8() + '\n');
  stale.close();
  EXPECT_EQ(inChildProcess([&]() -> std::string {
              FileStore s;
              s.store.writeInteger("HiScoreA", 130);
              return fileText() == "[General]\nHiScoreA=130\nHiScoreB=5\n" ? "" : "the score was not written";
            }),
            "");
  EXPECT_FALSE(QFile::exists(file() + ".lock"));
}

// An earlier build of the program writes through QSettings, under its lock.
TEST_F(Hazard, ALockHeldByAnotherWriterRefusesTheWriteUntilItIsLetGo) {
  putFile(kScores);
  QLockFile other(file() + ".lock");
  ASSERT_TRUE(other.tryLock(0));
  EXPECT_EQ(inChildProcess([&] { return writesAreRefused(kScores); }), "");
  other.unlock();
  FileStore s;
  s.store.writeInteger("HiScoreA", 130);
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=130\nHiScoreB=5\n");
}

TEST_F(Hazard, ANamedPipeReadsAsNoScoresAtStartAndIsNeverReplaced) {
  ASSERT_EQ(::mkfifo(local(file()), 0644), 0);
  EXPECT_EQ(inChildProcess([&]() -> std::string {
              IniFileBackend backend;
              Rig rig(0, &backend);
              rig.handheld.start();
              const GameVariables& vars = rig.handheld.variables();
              if (!rig.errors().empty() || vars.HiScoreA != 0 || vars.HiScoreB != 0)
                return "the start-up did not read empty best scores";
              if (!rig.windows().isShown(WindowId::SplashForm)) return "the splash window was not shown";
              return writesAreRefused(std::nullopt);
            }),
            "");
  struct stat st{};
  ASSERT_EQ(::lstat(local(file()), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Replacing what a link names with a file would turn a device into a plain
// file. A device of our own, where one may be made: never the machine's.
TEST_F(Hazard, ALinkToADeviceOrAPipeIsNeverReplaced) {
  std::vector<QString> targets{config.path() + "/pipe"};
  ASSERT_EQ(::mkfifo(local(targets[0]), 0644), 0);
  if (::mknod(local(config.path() + "/null"), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
    targets.push_back(config.path() + "/null");
  for (const QString& target : targets) {
    QFile::remove(file());
    ASSERT_TRUE(QFile::link(target, file()));
    EXPECT_EQ(inChildProcess([&]() -> std::string {
                if (FileStore{}.store.readInteger("HiscoreA", 7) != 7) return "the device gave a score";
                return writesAreRefused(std::nullopt);
              }),
              "")
        << target.toStdString();
    struct stat st{};
    ASSERT_EQ(::lstat(local(target), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode)) << target.toStdString();
    EXPECT_TRUE(QFileInfo(file()).isSymLink());
  }
}

// Chosen so, as the QSettings store did before: a user who links the
// settings to a file elsewhere keeps them there.
TEST_F(Hazard, ALinkToAFileIsWrittenThroughToTheFile) {
  QDir().mkpath(config.path() + "/elsewhere");
  QFile target(config.path() + "/elsewhere/scores.conf");
  ASSERT_TRUE(target.open(QIODevice::WriteOnly));
  target.write(kScores);
  target.close();
  ASSERT_TRUE(QFile::link("../elsewhere/scores.conf", file()));
  FileStore s;
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 120);
  s.store.writeInteger("HiScoreA", 130);
  EXPECT_TRUE(QFileInfo(file()).isSymLink());
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=130\nHiScoreB=5\n");
}

// No file of the program's own is near that size: one is not worth the wait
// of reading it at every write. It reads as no scores, as an unreadable file
// does, and is never replaced, since what it holds may be a best score.
TEST_F(Hazard, AFileOverOneMebibyteReadsAsNoScoresAndIsNeverReplaced) {
  QByteArray big = kScores + "[Other]\n";
  while (big.size() <= static_cast<qsizetype>(settings_file::kMaxFileSize)) big += "filler=" + QByteArray(80, 'x') + '\n';
  putFile(big);
  FileStore s;
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 0);
  EXPECT_TRUE(fileText() == big);
  EXPECT_EQ(writesAreRefused(big), "");
  IniFileBackend backend;
  PlayerSettingsStore settings(backend);
  EXPECT_FALSE(settings.savePlace({5, 6}));
  EXPECT_TRUE(backend.refusal().contains("is over 1 MiB")) << backend.refusal().toStdString();
  EXPECT_TRUE(fileText() == big);

  big.chop(big.size() - static_cast<qsizetype>(settings_file::kMaxFileSize));
  putFile(big);  // at the limit: read, and replaced
  EXPECT_EQ(FileStore{}.store.readInteger("HiscoreA", 0), 120);
  FileStore{}.store.writeInteger("HiScoreB", 130);
  EXPECT_EQ(FileStore{}.store.readInteger("HiscoreB", 0), 130);
  EXPECT_EQ(FileStore{}.store.readInteger("HiscoreA", 0), 120);
}

// What a copy of the program killed while writing leaves: its new files,
// and a lock whose holder is gone. The next write clears them away.
TEST_F(Hazard, WritersKilledMidwayLeaveOnlyTheFileAndAtMostOneLock) {
  putFile(kScores);
  const QDir folder(QFileInfo(file()).absolutePath());
  constexpr int kKills = 200;
  std::mt19937 random(24);
  for (int kill = 0; kill < kKills; ++kill) {
    std::fflush(nullptr);
    const pid_t writer = ::fork();
    if (writer == 0) {
      FileStore s;
      for (int i = 0;; ++i) errorOf([&] { s.store.writeInteger("HiScoreA", 1000 + i); });
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(200, 6000)(random)));
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
  }
  // A user's own files beside it stay, whatever their names.
  const QStringList own{"WuffelTennis.conf.backup", "WuffelTennis.conf.new", "WuffelTennis.conf.lock2"};
  for (const QString& name : own) {
    QFile f(folder.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(kScores);
  }
  FileStore s;
  s.store.writeInteger("HiScoreB", 7);
  QStringList expected = own;
  expected << "WuffelTennis.conf";
  expected.sort();
  EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System).join(' ').toStdString(),
            expected.join(' ').toStdString());
  EXPECT_GE(s.store.readInteger("HiscoreA", 0), 120);
  EXPECT_EQ(s.store.readInteger("HiscoreB", 0), 7);
}

}  // namespace
}  // namespace wuffel
