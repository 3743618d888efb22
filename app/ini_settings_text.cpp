#include "app/ini_settings_text.h"

#include <QDataStream>
#include <QStringDecoder>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace wuffel {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isSpace(char c) { return isBlank(c) || c == '\n' || c == '\r'; }
bool endsLine(char c) { return c == '\n' || c == '\r'; }

int digitValue(char16_t c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// One logical line: a value in quotes, or after a backslash, goes on over
// line breaks; ";" starts a comment outside quotes.
struct ScannedLine {
  qsizetype start = 0;
  qsizetype length = 0;
  qsizetype equals = -1;        // the first "=" outside quotes, or -1
  bool openQuote = false;       // the text ended inside quotes
  bool danglingEscape = false;  // the text ended with a backslash that escapes nothing
  bool escapedReturn = false;   // it ends with a backslash and a carriage return, which a line feed would join
};

bool nextLine(QByteArrayView data, qsizetype& pos, ScannedLine& line) {
  const qsizetype n = data.size();
  line = ScannedLine{};
  qsizetype start = pos;
  while (start < n && isSpace(data[start])) ++start;
  qsizetype i = start;
  bool inQuotes = false;
  qsizetype afterEscapedReturn = -1;
  while (i < n) {
    const char c = data[i++];
    if (c == '=') {
      if (!inQuotes && line.equals < 0) line.equals = i - 1;
    } else if (endsLine(c)) {
      if (i == start + 1) {
        ++start;
      } else if (!inQuotes) {
        --i;
        break;
      }
    } else if (c == '\\') {
      if (i == n) {
        line.danglingEscape = true;
      } else {
        const char escaped = data[i++];
        // A backslash before a two-character line break escapes both.
        if (i < n && endsLine(escaped) && endsLine(data[i]) && data[i] != escaped)
          ++i;
        else if (escaped == '\r')
          afterEscapedReturn = i;
      }
    } else if (c == '"') {
      inQuotes = !inQuotes;
    } else if (c == ';') {
      if (i == start + 1) {
        while (i < n && !endsLine(data[i])) ++i;
        while (i < n && isSpace(data[i])) ++i;
        start = i;
      } else if (!inQuotes) {
        --i;
        break;
      }
    }
  }
  pos = i;
  line.start = start;
  line.length = i - start;
  line.openQuote = inQuotes;
  line.escapedReturn = afterEscapedReturn == i;
  return line.length > 0;
}

// "\" stands for "/", "%XX" and "%UXXXX" for a character by its code.
QString unescapeKey(QByteArrayView raw) {
  const QString text = QString::fromUtf8(raw);
  QString key;
  key.reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text[i];
    if (c == u'\\') {
      key += u'/';
      ++i;
      continue;
    }
    if (c != u'%' || i == text.size() - 1) {
      key += c;
      ++i;
      continue;
    }
    const bool wide = text[i + 1] == u'U';
    const qsizetype first = i + (wide ? 2 : 1);
    const qsizetype digits = wide ? 4 : 2;
    bool ok = false;
    const ushort code = first + digits <= text.size() ? QStringView(text).sliced(first, digits).toUShort(&ok, 16) : 0;
    if (!ok) {
      key += u'%';
      ++i;
      continue;
    }
    key += QChar(code);
    i = first + digits;
  }
  return key;
}

QByteArray escapeKey(const QString& key) {
  QByteArray out;
  for (const QChar qc : key) {
    const char16_t c = qc.unicode();
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                       c == '-' || c == '.';
    if (c == '/')
      out += '\\';
    else if (plain)
      out += static_cast<char>(c);
    else if (c <= 0xFF)
      out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
    else
      out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
  }
  return out;
}

void chopBlanks(QString& text, qsizetype limit) {
  while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t')) text.chop(1);
}

struct ValueText {
  QString text;
  bool list = false;  // "a, b": a list, which is no text
};

// Quotes keep blanks and commas; a comma outside quotes makes a list; a
// backslash escapes as in C, also by octal or hexadecimal code.
ValueText unescapeValue(QByteArrayView s) {
  static constexpr std::pair<char, char> kEscapes[] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                                       {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                                       {'?', '?'}, {'\'', '\''}, {'\\', '\\'}};
  ValueText value;
  QString& out = value.text;
  // One decoder for the whole value, as QSettings has: an unfinished
  // sequence is carried over an escape, and one at the end is dropped.
  QStringDecoder fromUtf8(QStringDecoder::Utf8);
  const qsizetype n = s.size();
  qsizetype i = 0;
  qsizetype keepUpTo = 0;  // blanks before here are the value's own
  bool inQuotes = false;
  bool quoted = false;
  bool trimEnd = true;  // a value cut off inside an escape keeps its blanks
  const auto skipBlanks = [&] {
    while (i < n && isBlank(s[i])) ++i;
    keepUpTo = out.size();
  };
  skipBlanks();
  while (i < n) {
    const char c = s[i];
    if (c == '\\') {
      if (++i == n) {
        trimEnd = false;
        break;
      }
      const char e = s[i++];
      const auto simple = std::find_if(std::begin(kEscapes), std::end(kEscapes), [e](auto p) { return p.first == e; });
      if (simple != std::end(kEscapes)) {
        out += QLatin1Char(simple->second);
      } else if (e == 'x' || digitValue(e, 8) >= 0) {
        const int base = e == 'x' ? 16 : 8;
        if (e == 'x' && i == n) {
          trimEnd = false;
          break;
        }
        if (e == 'x' && digitValue(s[i], 16) < 0) {
          keepUpTo = out.size();
          continue;
        }
        char16_t code = e == 'x' ? 0 : static_cast<char16_t>(e - '0');
        for (; i < n && digitValue(s[i], base) >= 0; ++i) code = static_cast<char16_t>(code * base + digitValue(s[i], base));
        out += QChar(code);
        if (i == n) {
          trimEnd = false;
          break;
        }
      } else if (endsLine(e) && i < n && endsLine(s[i]) && s[i] != e) {
        ++i;  // a line continued after a two-character break
      }
      keepUpTo = out.size();
    } else if (c == '"') {
      ++i;
      quoted = true;
      inQuotes = !inQuotes;
      if (!inQuotes) skipBlanks();
    } else if (c == ',' && !inQuotes) {
      if (!quoted) chopBlanks(out, keepUpTo);
      value.list = true;
      out.clear();
      quoted = false;
      ++i;
      skipBlanks();
    } else {
      qsizetype j = i + 1;
      while (j < n && s[j] != '\\' && s[j] != '"' && s[j] != ',') ++j;
      out += fromUtf8(s.sliced(i, j - i));
      i = j;
    }
  }
  if (trimEnd && !quoted) chopBlanks(out, keepUpTo);
  return value;
}

// The number of arguments of "@Type(a b c)", counted as QSettings counts them.
qsizetype argumentCount(const QString& s, qsizetype open) {
  return std::count_if(s.cbegin() + open + 1, s.cend(), [](QChar c) { return c == u' ' || c == u')'; });
}

StoredValue notText() { return {StoredValue::Outcome::Found, false, {}}; }
StoredValue text(const QString& s) { return {StoredValue::Outcome::Found, true, s.toStdString()}; }

// "@Type(...)" marks a value of another type than text; "@@" a text that
// starts with "@".
StoredValue typedValue(const ValueText& v) {
  if (v.list) return notText();
  const QString& s = v.text;
  if (!s.startsWith(u'@')) return text(s);
  if (s.endsWith(u')')) {
    if (s.startsWith(u"@ByteArray(") || s == u"@Invalid()") return notText();
    if (s.startsWith(u"@String(")) return text(s.sliced(8).chopped(1));
    if (s.startsWith(u"@Variant(") || s.startsWith(u"@DateTime(")) {
      const bool dateTime = s[1] == u'D';
      const QByteArray bytes = s.sliced(dateTime ? 10 : 9).toLatin1();
      QDataStream stream(bytes);
      stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
      QVariant variant;
      stream >> variant;
      return variant.typeId() == QMetaType::QString ? text(variant.toString()) : notText();
    }
    if (s.startsWith(u"@Rect(") && argumentCount(s, 5) == 4) return notText();
    if ((s.startsWith(u"@Size(") && argumentCount(s, 5) == 2) || (s.startsWith(u"@Point(") && argumentCount(s, 6) == 2))
      return notText();
  }
  return text(s.startsWith(u"@@") ? s.sliced(1) : s);
}

// The text as QSettings writes a text value, so that it reads back the same.
QByteArray escapeValue(std::string_view utf8) {
  QByteArray out;
  bool quote = false;
  bool escapeHexDigit = false;  // after a numeric escape, which a hex digit would extend
  if (utf8.starts_with('@')) out += '@';
  for (const char c : utf8) {
    if (c == ';' || c == ',' || c == '=') quote = true;
    if (escapeHexDigit && digitValue(static_cast<unsigned char>(c), 16) >= 0) {
      out += "\\x" + QByteArray::number(c, 16);
      continue;
    }
    escapeHexDigit = false;
    static constexpr std::string_view kControls = "\a\b\f\n\r\t\v";
    static constexpr std::string_view kControlNames = "abfnrtv";
    if (c == '\0') {
      out += "\\0";
      escapeHexDigit = true;
    } else if (const auto k = kControls.find(c); k != std::string_view::npos) {
      out += '\\';
      out += kControlNames[k];
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) <= 0x1F) {
      out += "\\x" + QByteArray::number(c, 16);
      escapeHexDigit = true;
    } else {
      out += c;
    }
  }
  if (quote || out.startsWith(' ') || out.endsWith(' ')) out = '"' + out + '"';
  return out;
}

bool isValueOf(const QString& key, std::string_view name) {
  // Only names of ASCII characters compare equal, so the lengths must match.
  return key.size() == static_cast<qsizetype>(name.size()) && !key.contains(u'/') &&
         sameValueName(key.toStdString(), name);
}

// Written back with a line feed after it, a line must end there and hold
// the same value: a dangling backslash gets a line break of its own to
// escape, open quotes are closed, and an escaped carriage return is kept
// from joining the line feed.
constexpr QByteArrayView kEndings[] = {"", "\"", "\n", "\n\"", "\r"};
quint8 endingOf(const ScannedLine& line) {
  if (line.escapedReturn && !line.openQuote) return 4;
  return static_cast<quint8>((line.danglingEscape ? 2 : 0) + (line.openQuote ? 1 : 0));
}

}  // namespace

IniSettingsText::IniSettingsText(QByteArrayView text) : text_(text.toByteArray()) {
  const QByteArrayView data(text_);
  constexpr std::size_t kTopLevel = std::numeric_limits<std::size_t>::max();
  std::size_t group = kTopLevel;
  ScannedLine line;
  for (qsizetype pos = 0; nextLine(data, pos, line);) {
    const QByteArrayView bytes = data.sliced(line.start, line.length);
    // QSettings passes over a byte-order mark at the start to look for a
    // section, but reads it, with any blanks after it, as part of a first
    // line that holds a value (its UTF-8 decoding drops the mark from the name).
    QByteArrayView head = bytes;
    if (line.start == 0 && head.startsWith("\xef\xbb\xbf")) {
      head = head.sliced(3);
      while (!head.isEmpty() && isSpace(head.front())) head = head.sliced(1);
    }
    if (head.startsWith('[')) {
      // "[General]" in any case is the top level; "[%General]" a group of that name.
      qsizetype close = head.indexOf(']');
      if (close < 0) close = head.size();
      const QByteArrayView name = head.sliced(1, close - 1).trimmed();
      const std::string_view plain(name.data(), static_cast<std::size_t>(name.size()));
      if (sameValueName(plain, "general")) {
        group = kTopLevel;
        continue;
      }
      const QString groupName = sameValueName(plain, "%general") ? QString::fromLatin1(name.sliced(1)) : unescapeKey(name);
      const auto found = groupIndex_.constFind(groupName);
      group = found != groupIndex_.cend() ? *found : groups_.size();
      if (group == groups_.size()) {
        groupIndex_.insert(groupName, group);
        groups_.push_back({groupName, {}});
      }
      continue;
    }
    if (line.equals < 0) continue;
    const Line kept{line.start, line.length, line.equals - line.start, endingOf(line)};
    (group == kTopLevel ? topLevel_ : groups_[group].values)
        .push_back({unescapeKey(bytes.first(kept.equals).trimmed()), kept});
  }
}

QByteArrayView IniSettingsText::lineText(const Line& line) const {
  return QByteArrayView(text_).sliced(line.start, line.length);
}

void IniSettingsText::appendLine(QByteArray& out, const Line& line) const {
  out += lineText(line);
  out += kEndings[line.ending];
  out += '\n';
}

QString IniSettingsText::storedKey(const std::vector<Value>& values, std::string_view leaf) {
  QString best;
  for (const Value& v : values)
    if (isValueOf(v.key, leaf) && (best.isEmpty() || v.key < best)) best = v.key;
  return best;
}

const std::vector<IniSettingsText::Value>* IniSettingsText::valuesOf(std::string_view name,
                                                                     std::string_view& leaf) const {
  const auto slash = name.rfind('/');
  leaf = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (slash == std::string_view::npos) return &topLevel_;
  const auto found = groupIndex_.constFind(QString::fromUtf8(name.data(), static_cast<qsizetype>(slash)));
  return found == groupIndex_.cend() ? nullptr : &groups_[*found].values;
}

StoredValue IniSettingsText::value(std::string_view name) const {
  std::string_view leaf;
  const std::vector<Value>* values = valuesOf(name, leaf);
  const QString key = values ? storedKey(*values, leaf) : QString();
  if (key.isEmpty()) return {StoredValue::Outcome::Missing, false, {}};
  // Of one name written twice, the later counts.
  const auto found = std::find_if(values->rbegin(), values->rend(), [&](const Value& v) { return v.key == key; });
  return typedValue(unescapeValue(lineText(found->line).sliced(found->line.equals + 1)));
}

QByteArray IniSettingsText::withValue(std::string_view name, std::string_view text) const {
  std::string_view leaf;
  const std::vector<Value>* target = valuesOf(name, leaf);
  const QString key = target ? storedKey(*target, leaf) : QString();
  const QByteArray written =
      escapeKey(key.isEmpty() ? QString::fromUtf8(leaf.data(), static_cast<qsizetype>(leaf.size())) : key) + '=' +
      escapeValue(text) + '\n';
  QByteArray out = "[General]\n";
  out.reserve(text_.size() + written.size() + 16);
  // Each group's lines as they were, with the value put in the place of its
  // first spelling in its own group, or after the rest.
  const auto appendValues = [&](const std::vector<Value>& values) {
    bool placed = false;
    for (const Value& v : values) {
      if (&values != target || !isValueOf(v.key, leaf)) {
        appendLine(out, v.line);
      } else if (!placed) {
        out += written;
        placed = true;
      }
    }
    if (&values == target && !placed) out += written;
  };
  const auto appendHeader = [&](const QString& group) {
    QByteArray header = escapeKey(group);
    // A group that is itself named "General" is marked apart from the top level.
    if (sameValueName(header.toStdString(), "general")) header.prepend('%');
    out += "\n[" + header + "]\n";
  };
  appendValues(topLevel_);
  for (const Group& g : groups_) {
    if (g.values.empty() && &g.values != target) continue;
    appendHeader(g.name);
    appendValues(g.values);
  }
  if (!target) {
    appendHeader(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size() - leaf.size() - 1)));
    out += written;
  }
  return out;
}

}  // namespace wuffel
