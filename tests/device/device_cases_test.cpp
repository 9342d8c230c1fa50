// The device code without a device: register map, answer cutting and
// parsers, counters and the name test, as cases in data/device_cases.txt,
// one per line: "KIND ARGS -> EXPECTED" ("ANSWER" quoted, with \r \n escapes).
//   show REG VALUE            -> the elements set, in map order
//   compose REG BASE BOXES    -> the register value written
//   value "ANSWER"            -> the register byte, or "-"
//   cut "REPLY"               -> the answer body SendAT cuts out of a reply
//   msns|own|charges "ANSWER" -> the values cut out, joined by "|"
//   count TEXT PREVIOUS       -> the charge count
//   stamp LOCALE              -> the reset stamp of 2007-03-03 09:05
//   identity "ANSWER"         -> yes when the answer names a DodOva
#include <gtest/gtest.h>

#include <QFile>

#include "device/answer_parsers.h"
#include "device/at_channel.h"
#include "device/charge_counters.h"
#include "device/detection.h"
#include "device/register_map.h"

namespace {

// Elements as plain maps; records every change in order.
class MapElements : public SettingsElements {
public:
    QMap<FormElement, int> checks, choices;
    QMap<FormElement, QString> texts;
    QStringList changes;

    int check(FormElement e) const override { return checks.value(e, 0); }
    void setCheck(FormElement e, int v) override
    {
        checks[e] = v, changes << elementName(e) + u'=' + QString::number(v);
    }
    int choice(FormElement e) const override { return choices.value(e, -1); }
    void setChoice(FormElement e, int i) override
    {
        choices[e] = i, changes << elementName(e) + u'=' + QString::number(i);
    }
    QString text(FormElement e) const override { return texts.value(e); }
    void setText(FormElement e, const QString& t) override { texts[e] = t, changes << elementName(e) + u'=' + t; }
};

QString unquote(QString s)
{
    if (s.startsWith(u'"') && s.endsWith(u'"'))
        s = s.mid(1, s.size() - 2);
    return s.replace(QLatin1String("\\r"), QLatin1String("\r")).replace(QLatin1String("\\n"), QLatin1String("\n"));
}

QString run(const QString& kind, const QStringList& args, const QString& rest)
{
    if (kind == u"show") {
        MapElements e;
        showRegister(args.value(0).toInt(), quint8(args.value(1).toInt(nullptr, 0)), e);
        return e.changes.join(u' ');
    }
    if (kind == u"compose") {
        MapElements e;
        for (const QString& box : args.mid(2))
            e.checks[elementNamed(box.section(u'=', 0, 0)).value()] = box.section(u'=', 1).toInt();
        return QString::number(composeRegister(args.value(0).toInt(), quint8(args.value(1).toInt(nullptr, 0)), e));
    }
    const QString answer = unquote(rest);
    if (kind == u"value") {
        const std::optional<quint8> v = registerValue(answer);
        return v ? QString::number(*v) : QStringLiteral("-");
    }
    if (kind == u"cut")
        return AtChannel::cutAnswerBody(answer)
            .replace(u'\r', QLatin1String("\\r"))
            .replace(u'\n', QLatin1String("\\n"));
    const auto joined = [](const auto& values) { return QStringList(values.begin(), values.end()).join(u'|'); };
    if (kind == u"msns")
        return joined(parseMsns(answer));
    if (kind == u"own")
        return joined(parseOwnNumbers(answer));
    if (kind == u"charges")
        return joined(parseCharges(answer));
    if (kind == u"count")
        return QString::number(chargeCount(unquote(rest.section(u' ', 0, -2)), args.value(args.size() - 1).toInt()));
    if (kind == u"stamp")
        return resetStamp(QDateTime(QDate(2007, 3, 3), QTime(9, 5)), QLocale(args.value(0)));
    if (kind == u"identity")
        return isDodovaIdentity(answer) ? QStringLiteral("yes") : QStringLiteral("no");
    return QStringLiteral("?? unknown kind");
}

TEST(DeviceCases, CasesOfTheDataFile)
{
    QLocale::setDefault(QLocale::c());
    QFile file(QStringLiteral(CORVANE_SOURCE_DIR "/tests/device/data/device_cases.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString input = line.section(QStringLiteral(" -> "), 0, 0);
        const QStringList words = input.split(u' ', Qt::SkipEmptyParts);
        EXPECT_EQ(run(words.value(0), words.mid(1), input.section(u' ', 1)).toStdString(),
            line.section(QStringLiteral(" -> "), 1).toStdString())
            << line.toStdString();
    }
}

} // namespace
