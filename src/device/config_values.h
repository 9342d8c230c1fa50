#pragma once
// The adapter's configuration as text: the Name=value lines of show, its JSON
// object, the backup file, and NAME=VALUE changes checked before anything is sent.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

#include "device/adapter_settings.h"

namespace configtext {

// Every line of show: identification, registers, settings, counters.
QStringList showLines(const AdapterSettings& value);
QString showJson(const AdapterSettings& value);
// The same names and texts as one JSON object, and back: what it names.
QJsonObject showObject(const AdapterSettings& value);
AdapterSettings fromShowObject(const QJsonObject& object);
// What `object` names, put into `value`; the rest of `value` stays.
void applyShowObject(AdapterSettings& value, const QJsonObject& object);
// The settable names whose values differ from `before` in `after`, with
// after's texts: what a transmission through the service asks for.
QJsonObject changedSettings(const AdapterSettings& before, const AdapterSettings& after);

// What show prints of `value`: the lines, or the JSON object.
QString showText(const AdapterSettings& value, bool json);
// After set's transmission: what the adapter refused (captions) or kept
// otherwise of `changes` (NAME=VALUE), as one text; "" when it took them all.
QString notTaken(const QStringList& changes, const AdapterSettings& back, const QStringList& refused);

// The names set accepts: the register settings and the numbers, as the
// settings window names its elements.
bool isSettable(FormElement e);
QStringList settableNames();
// Applies "NAME=VALUE" to `value`; the reason when the name is unknown or the
// value out of range.
std::optional<QString> applyChange(AdapterSettings& value, const QString& assignment);

// What a backup holds: the sixteen registers read, the twelve numbers, the
// unit cost; the identification in its header.
struct Backup {
    QString identification;             // the "ATI4" answer, trimmed
    std::map<QString, QString> entries; // "S79" -> "12", "TextMSN1" -> "4711", "UnitCost" -> "0,026"
};
Backup backupOf(const AdapterSettings& value, const QString& unitCost);
QString backupText(const Backup& backup);
// The backup in `text`, or the reason it is refused (damaged, truncated, foreign).
std::optional<Backup> parseBackup(const QString& text, QString& why);

} // namespace configtext
