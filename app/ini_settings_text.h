// The text of a settings file in QSettings' INI format, in which every build
// of the program has kept the best scores. Values at the top level (the
// section QSettings calls "General"), and those of a group named as in
// "Group/value" (the section "[Group]"), are read as QSettings reads them;
// a write carries every other value and section over as it was written.
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

  // The value whose name compares equal to `name`, in its group.
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
  struct Value {
    QString key;  // unescaped; a "/" in it makes it a subgroup's value
    Line line;
  };
  struct Group {
    QString name;
    std::vector<Value> values;
  };

  QByteArrayView lineText(const Line& line) const;
  void appendLine(QByteArray& out, const Line& line) const;
  // The values of the group `name` lies in (the top level for a name with
  // no "/"), or none; and the name within it.
  const std::vector<Value>* valuesOf(std::string_view name, std::string_view& leaf) const;
  // The spelling of `leaf` a read finds, as QSettings lists names: the
  // first in sorted order. Empty when there is none.
  static QString storedKey(const std::vector<Value>& values, std::string_view leaf);

  QByteArray text_;
  std::vector<Value> topLevel_;
  std::vector<Group> groups_;
  QHash<QString, std::size_t> groupIndex_;
};

}  // namespace wuffel
