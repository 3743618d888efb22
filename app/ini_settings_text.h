// The text of a settings file in QSettings' INI format, in which every build
// of the program has kept the best scores. Values at the top level (the
// section QSettings calls "General") are read as QSettings reads them; a
// write carries every other value and section over as it was written.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <string_view>
#include <vector>

#include "store/settings_backend.h"

namespace wuffel {

class IniSettingsText {
 public:
  explicit IniSettingsText(QByteArrayView text);

  // The top-level value whose name compares equal to `name`.
  StoredValue value(std::string_view name) const;
  // The whole text with that value set to `text`, under the spelling of its
  // name already there; other spellings of it are dropped. Lines that hold
  // no value (comments, garbage) are dropped too, so a damaged file comes
  // out whole.
  QByteArray withValue(std::string_view name, std::string_view text) const;

 private:
  // A line of text_ holding a value: kept as a place, since a file may hold
  // many thousands of them.
  struct Line {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = 0;  // where its "=" is, from its start
    quint8 ending = 0;     // what it needs to end where it is written back
  };
  struct TopLevelValue {
    QString key;  // unescaped; a "/" in it makes it a group's value
    Line line;
  };
  struct Group {
    QString name;
    std::vector<Line> lines;
  };

  QByteArrayView lineText(const Line& line) const;
  void appendLine(QByteArray& out, const Line& line) const;
  // The spelling of `name` a read finds, as QSettings lists names: the
  // first in sorted order. Empty when there is none.
  QString storedKey(std::string_view name) const;

  QByteArray text_;
  std::vector<TopLevelValue> topLevel_;
  std::vector<Group> groups_;
  QHash<QString, std::size_t> groupIndex_;
};

}  // namespace wuffel
