// How QSettings, through which earlier builds of the program kept the best
// scores, reads a settings file: what the store's own reading must agree
// with, so that every file those builds wrote reads as it did.
#pragma once

#include <QSettings>
#include <QVariant>

#include <string>
#include <string_view>

#include "store/settings_backend.h"

namespace wuffel::testing {

// The top-level value of that name, found as the QSettings store found it.
inline StoredValue readByQSettings(const QString& file, std::string_view name) {
  const QSettings settings(file, QSettings::IniFormat);
  for (const QString& key : settings.childKeys()) {
    if (!sameValueName(key.toStdString(), name)) continue;
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString) return {StoredValue::Outcome::Found, false, {}};
    return {StoredValue::Outcome::Found, true, value.toString().toStdString()};
  }
  return {StoredValue::Outcome::Missing, false, {}};
}

// Every value QSettings finds, by its full name as looked up ("/name" is
// "name"), but those named `name`.
inline QVariantMap othersByQSettings(const QString& file, std::string_view name) {
  const QSettings settings(file, QSettings::IniFormat);
  QVariantMap values;
  for (const QString& key : settings.allKeys()) {
    const QString lookedUp = key.split(u'/', Qt::SkipEmptyParts).join(u'/');
    if (sameValueName(lookedUp.toStdString(), name)) continue;
    // Values that QSettings decodes into another type (@Variant, @Rect, ...)
    // are compared by that type alone: a damaged one decodes into whatever
    // memory held, differently from one reading to the next.
    // One it cannot decode at all (a "\\x" with no digits) QSettings writes
    // back as empty text; the program reads both as no value.
    const QVariant value = settings.value(key);
    const int type = value.metaType().id();
    if (type == QMetaType::UnknownType || (type == QMetaType::QString && value.toString().isEmpty())) continue;
    const bool text = type == QMetaType::QString || type == QMetaType::QStringList || type == QMetaType::QByteArray;
    values.insert(lookedUp, text ? value : QVariant(QStringLiteral("decoded as type %1").arg(type)));
  }
  return values;
}

inline std::string describe(const StoredValue& v) {
  if (v.outcome != StoredValue::Outcome::Found) return "missing";
  return v.isText ? "text \"" + v.text + "\"" : "not text";
}

}  // namespace wuffel::testing
