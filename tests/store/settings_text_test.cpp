// The store reads and writes its file with QSettings, but finds names
// without regard to case, in groups of their own: every file must read as
// QSettings reads it, and a write must leave a file in which QSettings finds
// the new value under one name and every other one as it was.
#include <gtest/gtest.h>

#include <QDataStream>
#include <QDirIterator>
#include <QTemporaryDir>

#include "qsettings_reference.h"
#include "app/ini_file_backend.h"

namespace wuffel {
namespace {

using testing::describe;
using testing::othersByQSettings;
using testing::readByQSettings;

// A value QSettings writes for a type it has no text form for, here holding text.
QByteArray variantHolding(const QString& text) {
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream.setVersion(QDataStream::Qt_4_0);
  stream << QVariant(text);
  QByteArray escaped = "@Variant(";
  for (const char c : bytes) escaped += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
  return escaped + ')';
}

std::vector<QByteArray> files() {
  std::vector<QByteArray> all{
      "[General]\nHiScoreA=130\nHiScoreB=7\n",
      "HiscoreA=5\n[Settings]\nzoom=2\n",  // no header: the top level
      "[general]\r\nHISCOREA = 12 \r\nhiscoreb=\"  34 \"\r\n",
      "\xef\xbb\xbf[General]\nHiscoreA=8\n",
      "\xef\xbb\xbf HiscoreA=8\nHiscoreB=9\n",
      "\xef\xbb\xbf\n HiscoreA=8\n",
      "; a comment\n[General] ; another\nHiscoreA=9 ; and one more\nHiscoreB=\"1;2\"\n",
      "[General]\nHiscoreA=1\nHiscoreA=2\n[Other]\nx=1\n[General]\nHiscoreA=3\nhiscoreb=4\nHISCOREB=5\n",
      "[General]\nHiscore%41=6\nHiscore%U0042=7\nHiscoreA\\x=8\nHiscoreB%2F=9\n",
      "[%General]\nHiscoreA=1\n[General\nHiscoreB=2\n",
      "[General]\nHiscoreA=1, 2\nHiscoreB=\"1, 2\"\n",
      "[General]\nHiscoreA=\\x31\\x32\nHiscoreB=\\061\\0624\n",
      "[General]\nHiscoreA=7\\0junk\nHiscoreB=\\\"5\\\"\n",
      "[General]\nHiscoreA=1\\\n2\nHiscoreB=\"3\n4\"\n",
      "[General]\nHiscoreA=@String(12)\nHiscoreB=@@13\n",
      "[General]\nHiscoreA=@ByteArray(12)\nHiscoreB=@Invalid()\n",
      "[General]\nHiscoreA=@Rect(1 2 3 4)\nHiscoreB=@Rect(1 2)\n",
      "[General]\nHiscoreA=@Size(1 2)\nHiscoreB=@Point(1 2 3)\n",
      "[General]\nHiscoreA=@DateTime(\\0)\nHiscoreB=@Unknown(5)\n",
      "[General]\nHiscoreA=" + variantHolding("42") + "\nHiscoreB=" + variantHolding("x") + "\n",
      "[General]\nHiscoreA=  \"12\"  \nHiscoreB=\t 3\t\n",
      "[General]\nHiscoreA=12  \\",
      "[General]\nHiscoreA=\"12",
      "[General]\nHiscoreB=3\nHiscoreA=\"12\\",
      "[General]\n=1\nHiscoreA\n\"Hi\"scoreB=2\nHiscoreB=3\n",
  };
  QDirIterator it(WUFFEL_STORE_REGRESSIONS, QDir::Files);
  while (it.hasNext()) {
    QFile f(it.next());
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    all.push_back(f.readAll());
  }
  return all;
}

// A folder each: QSettings takes a file of the same size and time as one
// it has read for that one.
struct FileOf {
  explicit FileOf(const QByteArray& bytes) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QTemporaryDir folder;
  QString path = folder.path() + "/WuffelTennis.conf";
};

std::string described(const QVariantMap& values) {
  std::string text;
  for (auto i = values.cbegin(); i != values.cend(); ++i)
    text += i.key().toStdString() + " = " + i.value().toStringList().join(u',').toStdString() + " (" +
            i.value().typeName() + ")\n";
  return text;
}

StoredValue readByStore(const QByteArray& bytes, std::string_view name) {
  const FileOf file(bytes);
  return IniFileBackend(file.path).read(name);
}

// The file's text after the store wrote `text` under `name` in it.
QByteArray writtenByStore(const QByteArray& bytes, std::string_view name, std::string_view text) {
  const FileOf file(bytes);
  IniFileBackend backend(file.path);
  EXPECT_EQ(backend.writeText(name, text), WriteOutcome::Written);
  QFile written(file.path);
  return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

bool operator==(const StoredValue& a, const StoredValue& b) {
  return a.outcome == b.outcome && a.isText == b.isText && a.text == b.text;
}

TEST(SettingsText, ReadsEveryFileAsQSettingsDoes) {
  for (const QByteArray& bytes : files()) {
    const FileOf file(bytes);
    for (const char* name : {"HiscoreA", "HiscoreB"}) {
      const StoredValue ours = readByStore(bytes, name);
      const StoredValue theirs = readByQSettings(file.path, name);
      EXPECT_TRUE(ours == theirs) << name << " in\n"
                                  << bytes.toStdString() << "\nours: " << describe(ours)
                                  << "\nQSettings: " << describe(theirs);
    }
  }
}

TEST(SettingsText, AWrittenValueReadsBackUnderOneNameWithEveryOtherValueKept) {
  for (const QByteArray& bytes : files()) {
    const FileOf before(bytes);
    const FileOf after(writtenByStore(bytes, "HiScoreA", "4321"));
    const std::string context = "in\n" + bytes.toStdString();
    EXPECT_TRUE(readByQSettings(after.path, "HiscoreA") == (StoredValue{StoredValue::Outcome::Found, true, "4321"}))
        << context;
    const QStringList keys = QSettings(after.path, QSettings::IniFormat).childKeys();
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const QString& k) { return sameValueName(k.toStdString(), "HiScoreA"); }), 1)
        << context;
    EXPECT_EQ(described(othersByQSettings(after.path, "HiScoreA")), described(othersByQSettings(before.path, "HiScoreA")))
        << context;
  }
}

TEST(SettingsText, TextsOfAnyKindReadBackAsWritten) {
  for (const std::string& text : {std::string("130"), std::string("-4"), std::string(), std::string(" lead"),
                                  std::string("trail "), std::string("a,b"), std::string("a;b"), std::string("a=b"),
                                  std::string("@x"), std::string("@@y"), std::string("x\\y"), std::string("\"q\""),
                                  std::string("tab\there"), std::string("line\nbreak"), std::string("z\0" "1", 3),
                                  std::string("\x01" "f"), std::string("\xc3\xa9t\xc3\xa9")}) {
    const QByteArray written = writtenByStore("", "HiScoreA", text);
    const StoredValue expected{StoredValue::Outcome::Found, true, text};
    EXPECT_TRUE(readByStore(written, "HiscoreA") == expected) << written.toStdString();
    EXPECT_TRUE(readByQSettings(FileOf(written).path, "HiscoreA") == expected) << written.toStdString();
  }
}

// The players' settings keep to a group of their own, "[Settings]".
TEST(SettingsText, AGroupsValueIsFoundAndWrittenInItsOwnSectionAsQSettingsWould) {
  const QByteArray text("[General]\nkeys=top\n\n[Settings]\nkeys=b\nKEYS=a\n\n[Other]\nzoom=1\n");
  EXPECT_EQ(readByStore(text, "Settings/keys").text, "a") << "the first spelling in sorted order";
  EXPECT_EQ(readByStore(text, "keys").text, "top");
  EXPECT_EQ(readByStore(text, "Settings/zoom").outcome, StoredValue::Outcome::Missing);
  EXPECT_EQ(readByStore(text, "Nowhere/keys").outcome, StoredValue::Outcome::Missing);
  EXPECT_EQ(writtenByStore(text, "Settings/Keys", "modern"),
            "[General]\nkeys=top\n\n[Other]\nzoom=1\n\n[Settings]\nKEYS=modern\n");
  const QByteArray added = writtenByStore(text, "Later/zoom", "150");
  // QSettings writes the groups, and the values in each, in the order of their names.
  EXPECT_EQ(added, "[General]\nkeys=top\n\n[Later]\nzoom=150\n\n[Other]\nzoom=1\n\n[Settings]\nKEYS=a\nkeys=b\n");
  const FileOf file(added);
  const QSettings reference(file.path, QSettings::IniFormat);
  EXPECT_EQ(reference.value("Later/zoom").toString(), "150");
  EXPECT_EQ(reference.value("keys").toString(), "top");
}

}  // namespace
}  // namespace wuffel
