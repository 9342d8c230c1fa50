#include "device/config_values.h"

#include "common/regional.h"
#include "device/register_map.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace configtext {

namespace {

constexpr char kBackupHeader[] = "# corvane-config backup";
constexpr int kFormat = 1;
// A number the adapter keeps: digits only, as long as an ISDN number gets.
const QRegularExpression kNumber(QStringLiteral("^[0-9]{0,20}$"));
// The counters in the device's order, named for their port and span.
constexpr const char* kCounterNames[6] = {"Units.DTE.Last", "Units.Phone1.Last", "Units.Phone2.Last", "Units.DTE.Total",
    "Units.Phone1.Total", "Units.Phone2.Total"};

QString oneLine(QString text)
{
    return text.replace(u'\r', u' ').replace(u'\n', u' ').simplified();
}

bool isNumberField(FormElement e)
{
    return int(e) >= int(FormElement::TextMSN1);
}

std::vector<std::pair<QString, QString>> pairs(const AdapterSettings& v)
{
    std::vector<std::pair<QString, QString>> out;
    for (std::size_t i = 0; i < kIdentityCommands.size(); ++i)
        out.emplace_back(QLatin1String(kIdentityCommands[i]), oneLine(v.identity[i]));
    for (int reg : kReadOrder)
        out.emplace_back(QStringLiteral("S%1").arg(reg), QString::number(v.registers[reg]));
    for (int i = 0; i < kElementCount; ++i)
        if (isSettable(FormElement(i)) || FormElement(i) == FormElement::Option1)
            out.emplace_back(elementName(FormElement(i)), v.elements.valueText(FormElement(i)));
    for (int j = 0; j < 6; ++j)
        out.emplace_back(QLatin1String(kCounterNames[j]), QString::number(v.chargeUnits[j]));
    return out;
}

// The highest choice index of a group, from the register map.
int lastChoice(FormElement group)
{
    const RegisterField* f = fieldOfElement(group);
    return f ? int(f->values.size()) - 1 : -1;
}

std::optional<QString> checkValue(FormElement e, const QString& text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (isCheck(e))
        return ok && (n == 0 || n == 1) ? std::nullopt : std::optional<QString>(QStringLiteral("0 or 1"));
    if (isChoice(e))
        return ok && n >= 0 && n <= lastChoice(e)
                   ? std::nullopt
                   : std::optional<QString>(QStringLiteral("a choice 0-%1").arg(lastChoice(e)));
    if (e == FormElement::TextHOOK)
        return ok && n >= 200 && n <= 1000 ? std::nullopt : std::optional<QString>(QStringLiteral("200-1000 ms"));
    if (e == FormElement::TextRINGS)
        return ok && n >= 0 && n <= 120 ? std::nullopt : std::optional<QString>(QStringLiteral("0-120 rings"));
    return kNumber.match(text).hasMatch() ? std::nullopt
                                          : std::optional<QString>(QStringLiteral("digits only, at most 20"));
}

} // namespace

bool isSettable(FormElement e)
{
    return e != FormElement::Option1 && e != FormElement::Check3 && e != FormElement::Check4
           && (fieldOfElement(e) || isNumberField(e));
}

QStringList settableNames()
{
    QStringList names;
    for (int i = 0; i < kElementCount; ++i)
        if (isSettable(FormElement(i)))
            names << elementName(FormElement(i));
    return names;
}

QStringList showLines(const AdapterSettings& value)
{
    QStringList lines;
    for (const auto& [name, text] : pairs(value))
        lines << name + u'=' + text;
    return lines;
}

QJsonObject showObject(const AdapterSettings& value)
{
    QJsonObject o;
    for (const auto& [name, text] : pairs(value))
        o.insert(name, text);
    return o;
}

AdapterSettings fromShowObject(const QJsonObject& o)
{
    AdapterSettings v;
    applyShowObject(v, o);
    return v;
}

void applyShowObject(AdapterSettings& v, const QJsonObject& o)
{
    for (std::size_t i = 0; i < kIdentityCommands.size(); ++i)
        v.identity[i] = o.value(QLatin1String(kIdentityCommands[i])).toString();
    for (int reg : kReadOrder)
        v.registers[reg] = quint8(o.value(QStringLiteral("S%1").arg(reg)).toString().toInt());
    for (int i = 0; i < kElementCount; ++i) {
        const FormElement e = FormElement(i);
        const QJsonValue text = o.value(elementName(e));
        if (!text.isString())
            continue;
        if (isCheck(e))
            v.elements.setCheck(e, text.toString().toInt());
        else if (isChoice(e))
            v.elements.setChoice(e, text.toString().toInt());
        else
            v.elements.setText(e, text.toString());
    }
    for (int j = 0; j < 6; ++j) {
        v.counterTexts[j] = o.value(QLatin1String(kCounterNames[j])).toString();
        v.chargeUnits[j] = v.counterTexts[j].toInt();
    }
}

QJsonObject changedSettings(const AdapterSettings& before, const AdapterSettings& after)
{
    QJsonObject changes;
    for (int i = 0; i < kElementCount; ++i)
        if (const FormElement e = FormElement(i);
            isSettable(e) && before.elements.valueText(e) != after.elements.valueText(e))
            changes.insert(elementName(e), after.elements.valueText(e));
    return changes;
}

QString showJson(const AdapterSettings& value)
{
    return QString::fromUtf8(QJsonDocument(showObject(value)).toJson(QJsonDocument::Indented));
}

QString showText(const AdapterSettings& value, bool json)
{
    return json ? showJson(value) : showLines(value).join(u'\n') + u'\n';
}

QString notTaken(const QStringList& changes, const AdapterSettings& back, const QStringList& refused)
{
    QStringList kept;
    for (const QString& change : changes) {
        AdapterSettings wanted;
        applyChange(wanted, change);
        const FormElement e = *elementNamed(change.section(u'=', 0, 0));
        if (back.elements.valueText(e) != wanted.elements.valueText(e))
            kept << QStringLiteral("%1=%2").arg(elementName(e), back.elements.valueText(e));
    }
    if (refused.isEmpty() && kept.isEmpty())
        return {};
    return QStringLiteral("the adapter refused %1; it keeps %2")
        .arg(refused.isEmpty() ? QStringLiteral("nothing") : refused.join(QStringLiteral(", ")),
            kept.isEmpty() ? QStringLiteral("the rest") : kept.join(u' '));
}

std::optional<QString> applyChange(AdapterSettings& value, const QString& assignment)
{
    const qsizetype eq = assignment.indexOf(u'=');
    const QString name = assignment.left(eq), text = assignment.mid(eq + 1);
    const std::optional<FormElement> e = elementNamed(name);
    if (eq < 0 || !e || !isSettable(*e))
        return QStringLiteral("unknown setting: %1 (corvane-config show lists them)").arg(name);
    if (const std::optional<QString> want = checkValue(*e, text))
        return QStringLiteral("bad value for %1: \"%2\" (%3)").arg(name, text, *want);
    if (isCheck(*e))
        value.elements.setCheck(*e, text.toInt());
    else if (isChoice(*e))
        value.elements.setChoice(*e, text.toInt());
    else
        value.elements.setText(*e, text);
    return std::nullopt;
}

Backup backupOf(const AdapterSettings& value, const QString& unitCost)
{
    Backup b;
    b.identification = oneLine(value.identity[0]);
    for (int reg : kReadOrder)
        b.entries[QStringLiteral("S%1").arg(reg)] = QString::number(value.registers[reg]);
    for (int i = int(FormElement::TextMSN1); i < kElementCount; ++i)
        b.entries[elementName(FormElement(i))] = value.elements.text(FormElement(i));
    b.entries[QStringLiteral("UnitCost")] = unitCost;
    return b;
}

QString backupText(const Backup& backup)
{
    QStringList lines{QLatin1String(kBackupHeader), QStringLiteral("format=%1").arg(kFormat),
        QStringLiteral("identification=") + backup.identification};
    for (const auto& [name, text] : backup.entries)
        lines << name + u'=' + text;
    lines << QStringLiteral("end");
    return lines.join(u'\n') + u'\n';
}

std::optional<Backup> parseBackup(const QString& text, QString& why)
{
    const Backup expected = backupOf(AdapterSettings{}, {}); // the names a backup must hold
    QStringList lines = text.split(u'\n');
    if (lines.value(0) != QLatin1String(kBackupHeader) || lines.value(1) != QStringLiteral("format=%1").arg(kFormat)) {
        why = QStringLiteral("not a corvane-config backup (format %1)").arg(kFormat);
        return std::nullopt;
    }
    Backup b;
    bool ended = false;
    for (qsizetype i = 2; i < lines.size() && !ended; ++i) {
        const QString& line = lines[i];
        const qsizetype eq = line.indexOf(u'=');
        if (line.trimmed().isEmpty()) {
            continue;
        } else if (line == u"end") {
            ended = true;
        } else if (line.startsWith(QLatin1String("identification="))) {
            b.identification = line.mid(eq + 1);
        } else if (eq < 0 || !expected.entries.count(line.left(eq)) || b.entries.count(line.left(eq))) {
            why = QStringLiteral("line %1 is damaged: %2").arg(i + 1).arg(line.left(80));
            return std::nullopt;
        } else {
            b.entries[line.left(eq)] = line.mid(eq + 1);
        }
    }
    if (!ended || b.entries.size() != expected.entries.size()) {
        why = QStringLiteral("the backup is truncated");
        return std::nullopt;
    }
    for (const auto& [name, value] : b.entries) {
        bool ok = false;
        const int n = value.toInt(&ok);
        const bool good = name.startsWith(u'S')                    ? ok && n >= 0 && n <= 255
                          : name.startsWith(QLatin1String("Text")) ? kNumber.match(value).hasMatch()
                                                                   : regional::toCost(value).has_value(); // UnitCost
        if (!good) {
            why = QStringLiteral("bad value for %1: \"%2\"").arg(name, value.left(40));
            return std::nullopt;
        }
    }
    return b;
}

} // namespace configtext
