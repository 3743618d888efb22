#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "child_process.h"
#include "core/rig.h"
#include "error_of.h"
#include "app/settings_file.h"
#include "store_file.h"

namespace wuffel {
namespace {

using testing::errorOf;
using testing::FileStore;
using testing::inChildProcess;
using testing::Rig;
using testing::StoreFolder;

struct StoreFile : ::testing::Test, StoreFolder {};

// Not even the folder: a run that never writes leaves no trace.
TEST_F(StoreFile, TheFirstRunReadsZeroAndCreatesNothingBeforeItsFirstWrite) {
  FileStore s;
  EXPECT_EQ(s.backend.location(), file());
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 0);
  EXPECT_EQ(s.store.readInteger("HiscoreB", 0), 0);
  EXPECT_TRUE(QDir(config.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System));
  s.store.writeInteger("HiScoreB", 5);
  EXPECT_EQ(fileText(), "[General]\nHiScoreB=5\n");
}

// The freedesktop rule: a configuration folder given by a relative path is
// ignored, or the scores would lie wherever the program was started.
TEST_F(StoreFile, ARelativeConfigurationFolderGivesWayToTheDefault) {
  const QByteArray home = qgetenv("HOME");
  const QByteArray working = QDir::currentPath().toLocal8Bit();
  qputenv("HOME", config.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", "relative/config");
  QDir::setCurrent(config.path());
  FileStore s;
  s.store.writeInteger("HiScoreA", 9);
  const QString expected = config.path() + "/.config/Quillon/WuffelTennis.conf";
  EXPECT_EQ(s.backend.location(), expected);
  EXPECT_TRUE(QFile::exists(expected));
  EXPECT_FALSE(QFile::exists(config.path() + "/relative"));
  QDir::setCurrent(QString::fromLocal8Bit(working));
  qputenv("HOME", home);
}

TEST_F(StoreFile, AWriteIsInTheFileWhenItReturnsUnderTheNameAlreadyThere) {
  putFile("[General]\nHISCOREA=250\nhiscoreb=0x20\n");
  FileStore s;
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 250);
  EXPECT_EQ(s.store.readInteger("HiscoreB", 0), 32);
  s.store.writeInteger("HiScoreA", 300);
  EXPECT_EQ(fileText(), "[General]\nHISCOREA=300\nhiscoreb=0x20\n");
  s.store.writeInteger("HiScoreB", 7);
  EXPECT_EQ(fileText(), "[General]\nHISCOREA=300\nhiscoreb=7\n");
}

TEST_F(StoreFile, AWriteLeavesOneSpellingOfTheName) {
  putFile("[General]\nHISCOREA=1\nHiscoreA=2\nhiscorea=3\n");
  FileStore s;
  s.store.writeInteger("HiScoreA", 40);
  EXPECT_EQ(fileText(), "[General]\nHISCOREA=40\n");
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 40);
}

TEST_F(StoreFile, ValuesThatAreNotTextAreAnotherDataType) {
  // A folder each: QSettings takes a file of the same size and time for
  // the one it has read already.
  for (const char* value : {"@ByteArray(120)", "1, 2", "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)", "@Invalid()"}) {
    const StoreFolder folder;
    folder.putFile(QByteArray("[General]\nHiscoreA=") + value + "\nHiscoreB=9\n");
    FileStore s;
    EXPECT_EQ(errorOf([&] { s.store.readInteger("HiscoreA", 0); }),
              "Invalid data type for 'HiscoreA'")
        << value;
    EXPECT_EQ(s.store.readInteger("HiscoreB", 0), 9);
  }
  for (const auto& [value, expected] : std::vector<std::pair<const char*, int>>{
           {"\"250\"", 250}, {"@String(12)", 12}, {"  $10", 16}, {"12abc", 0}, {"", 0}, {"2147483648", 0}}) {
    const StoreFolder folder;
    folder.putFile(QByteArray("[General]\nHiscoreA=") + value + "\n");
    FileStore s;
    EXPECT_EQ(s.store.readInteger("HiscoreA", 0), expected) << value;
  }
}

// Files no program of ours wrote: each reads as 0 and stays as it is until
// a score is written, which then replaces it with a valid file. One too
// large to be read whole is never replaced: what it holds may be a score.
TEST_F(StoreFile, BadFilesReadAsZeroAndStayUntilAScoreIsWritten) {
  static const char binary[] = "\x01\x02\0\0\xff\xfe[[=\n\0HiscoreA\0=12";
  const std::vector<QByteArray> files{
      "this is not a settings file\n{}\n",
      QByteArray(binary, sizeof binary - 1),
      "[General]\nHiscoreA=" + QByteArray(4 << 20, '9') + "\n",
      QByteArray(8 << 20, 'x'),
      "[General\nHiscoreA\n==\n[]=[\n\\\\\\\n",
      QByteArray(1 << 16, '\0'),
  };
  for (const QByteArray& bytes : files) {
    const StoreFolder folder;
    folder.putFile(bytes);
    FileStore reader;
    EXPECT_EQ(reader.store.readInteger("HiscoreA", 0), 0);
    EXPECT_EQ(reader.store.readInteger("HiscoreB", 0), 0);
    EXPECT_TRUE(folder.fileText() == bytes) << "a read changed the file";

    FileStore writer;
    if (bytes.size() > static_cast<qsizetype>(settings_file::kMaxFileSize)) {
      EXPECT_EQ(errorOf([&] { writer.store.writeInteger("HiScoreA", 130); }), "Failed to set data for 'HiScoreA'");
      EXPECT_TRUE(folder.fileText() == bytes) << "a file too large to read was replaced";
      continue;
    }
    writer.store.writeInteger("HiScoreA", 130);
    const QByteArray written = folder.fileText();
    EXPECT_TRUE(written.startsWith("[General]\n"));
    EXPECT_TRUE(written.toLower().contains("\nhiscorea=130\n")) << written.left(100).toStdString();
    EXPECT_EQ(FileStore{}.store.readInteger("HiscoreA", 0), 130);
  }
}

// A garbage file that the write itself is first to read must not turn a
// successful write into a refusal.
TEST_F(StoreFile, AWriteOverAFileNotReadBeforeSucceeds) {
  FileStore s;
  putFile("[General]\nHiScoreA=5\n[Other]\ngarbage without an equals sign\n");
  EXPECT_EQ(errorOf([&] { s.store.writeInteger("HiScoreB", 55); }), "no error");
  EXPECT_TRUE(fileText().contains("HiScoreB=55"));
}

TEST_F(StoreFile, AKeyThatCannotBeCreatedIsReportedAtTheWrite) {
  QFile blocker(config.path() + "/Quillon");  // a file where the folder should be
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  FileStore s;
  EXPECT_EQ(s.store.readInteger("HiscoreA", 0), 0);
  EXPECT_EQ(errorOf([&] { s.store.writeInteger("HiScoreA", 10); }), "Failed to create key ");
}

// Runs `checks` in a child process; as root, who may read and write
// anything, as "nobody", owner of the configuration folder. Its result is
// what failed, or empty.
std::string inUnprivilegedProcess(const StoreFolder& folder, const std::function<std::string()>& checks) {
  constexpr uid_t kNobody = 65534;
  const bool root = ::geteuid() == 0;
  if (root && ::chown(folder.config.path().toLocal8Bit().constData(), kNobody, kNobody) != 0)
    return "cannot hand the folder over";
  return inChildProcess(checks, [root] { return !root || (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0); });
}

TEST_F(StoreFile, AFileWithoutReadPermissionReadsAsZeroAndIsNotOverwritten) {
  EXPECT_EQ(inUnprivilegedProcess(*this, [this]() -> std::string {
              putFile("[General]\nHiScoreA=120\n");
              ::chmod(file().toLocal8Bit().constData(), 0);
              FileStore s;
              if (s.store.readInteger("HiscoreA", 0) != 0) return "an unreadable file gave a score";
              if (errorOf([&] { s.store.writeInteger("HiScoreA", 130); }) !=
                  "Failed to set data for 'HiScoreA'")
                return "a write over an unreadable file was not refused";
              ::chmod(file().toLocal8Bit().constData(), 0600);
              if (fileText() != "[General]\nHiScoreA=120\n") return "the unreadable file was changed";
              return {};
            }),
            "");
}

TEST_F(StoreFile, AWriteToAFolderThatCannotBeWrittenFails) {
  EXPECT_EQ(inUnprivilegedProcess(*this, [this]() -> std::string {
              putFile("[General]\nHiScoreA=120\nHiScoreB=5\n");
              const QByteArray folder = QFileInfo(file()).absolutePath().toLocal8Bit();
              ::chmod(folder.constData(), 0555);
              FileStore s;
              if (s.store.readInteger("HiscoreA", 0) != 120) return "the file was not read";
              if (errorOf([&] { s.store.writeInteger("HiScoreA", 130); }) !=
                  "Failed to set data for 'HiScoreA'")
                return "a write into a read-only folder was not refused";
              if (fileText() != "[General]\nHiScoreA=120\nHiScoreB=5\n") return "the file was changed";

              // no file yet, in a folder that cannot take one
              ::chmod(folder.constData(), 0755);
              QFile::remove(file());
              ::chmod(folder.constData(), 0555);
              FileStore fresh;
              if (errorOf([&] { fresh.store.writeInteger("HiScoreB", 1); }) !=
                  "Failed to set data for 'HiScoreB'")
                return "creating a file in a read-only folder was not refused";
              if (QFile::exists(file())) return "a file appeared";
              return {};
            }),
            "");
}

// A handheld on the store in the configuration folder, as the window
// program starts it.
struct RunningCopy {
  RunningCopy() { rig.handheld.start(); }
  // A game of Game A that ends at `score`: no one swings, and three misses end it.
  void playGameA(int score) {
    rig.click(ElementId::Puls_GameA);
    rig.inside.vars.Score = score;
    for (int s = 0; s < 120 && rig.handheld.variables().GameRunning; ++s) rig.wait(1000);
  }
  IniFileBackend store;
  Rig rig{0, &store};
};

TEST_F(StoreFile, AGameOverWritesTheBestThatTheNextHandheldShows) {
  putFile("[General]\nhiscorea=120\nHiScoreB=77\n");
  RunningCopy first;
  const GameVariables& vars = first.rig.handheld.variables();
  EXPECT_EQ(vars.HiScoreA, 120);
  first.playGameA(130);
  ASSERT_FALSE(vars.GameRunning);
  EXPECT_EQ(vars.HiScoreA, 130);
  EXPECT_TRUE(first.rig.errors().empty());
  // QSettings writes the values of a group in the order of their names.
  EXPECT_EQ(fileText(), "[General]\nHiScoreB=77\nhiscorea=130\n");

  RunningCopy second;
  Handheld& next = second.rig.handheld;
  const auto& gameA = elementInfo(ElementId::Puls_GameA);
  next.mousePress(gameA.left + 1, gameA.top + 1, MouseButton::Left);
  EXPECT_EQ(second.rig.digits(), "-130");
  EXPECT_EQ(next.variables().HiScoreB, 77);
}

// Both read 100 at their start; the first ends at 500, then the second,
// still holding 100 as the best, at 300.
TEST_F(StoreFile, TwoRunningCopiesKeepTheHigherBestWhicheverEndsLast) {
  putFile("[General]\nHiScoreA=100\n");
  RunningCopy first;
  RunningCopy second;
  first.playGameA(500);
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=500\n");
  second.playGameA(300);
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=500\n");
  EXPECT_FALSE(second.rig.handheld.variables().GameRunning);
  EXPECT_TRUE(second.rig.errors().empty());
  EXPECT_EQ(RunningCopy{}.rig.handheld.variables().HiScoreA, 500);

  // The menu's reset writes its zeros all the same.
  second.rig.handheld.chooseMenuItem(MenuCommand::PM_8HiScore);
  EXPECT_EQ(fileText(), "[General]\nHiScoreA=0\nHiScoreB=0\n");
}

// Two processes write the same value 500 times each while this one reads:
// every read finds a whole file, and the last write is what stays. A writer
// that finds the other holding the lock too long is refused, and tries again.
TEST_F(StoreFile, TwoWritersRacingLeaveAValidFileWithOneOfTheirValues) {
  constexpr int kWrites = 500;
  putFile("[General]\nHiScoreA=1\n");
  std::fflush(nullptr);
  std::vector<pid_t> writers;
  for (int base : {1000, 2000}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      FileStore s;
      for (int i = 0; i < kWrites; ++i) {
        while (errorOf([&] { s.store.writeInteger("HiScoreA", base + i); }) != "no error") {
        }
      }
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  FileStore reader;
  std::set<std::string> badReads;
  int reads = 0;
  for (int running = 2; running > 0; ++reads) {
    try {
      const int v = reader.store.readInteger("HiscoreA", -1);
      if (!(v == 1 || (v >= 1000 && v < 1000 + kWrites) || (v >= 2000 && v < 2000 + kWrites)))
        badReads.insert(std::to_string(v));
    } catch (const WuffelError& e) {
      badReads.insert(e.what());
    }
    running = 0;
    for (pid_t w : writers) running += ::waitpid(w, nullptr, WNOHANG) == 0 ? 1 : 0;
  }
  for (pid_t w : writers) ::waitpid(w, nullptr, 0);
  EXPECT_TRUE(badReads.empty()) << *badReads.begin();
  EXPECT_GT(reads, 1);
  const QByteArray text = fileText();
  EXPECT_TRUE(text == "[General]\nHiScoreA=" + QByteArray::number(999 + kWrites) + "\n" ||
              text == "[General]\nHiScoreA=" + QByteArray::number(1999 + kWrites) + "\n")
      << text.toStdString();
  EXPECT_FALSE(QFile::exists(file() + ".lock"));
}

}  // namespace
}  // namespace wuffel
