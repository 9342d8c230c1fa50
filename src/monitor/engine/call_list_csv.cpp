#include "monitor/engine/call_list_csv.h"

#include "monitor/engine/call_list.h"

#include <QRegularExpression>

namespace calllistcsv {

namespace {

// A field needs quotes when it holds one of these; TAB too, so spreadsheets
// that guess the separator keep the field whole.
bool needsQuotes(const QString& text)
{
    for (QChar c : text)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n' || c == u'\t')
            return true;
    return false;
}

// A spreadsheet takes a cell starting with one of these as a formula (or, TAB
// and CR, skips them and then does), so a name "=HYPERLINK(...)" from a phone
// book would run. Such a cell gets a leading single quote and shows as text.
// What the list itself writes stays plain: "-" (no number, no duration, no
// charge information) and numbers with a sign ("+4930...", "-1.50") are no
// formula a spreadsheet could run.
bool mightRunAsFormula(const QString& text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    static const QRegularExpression signedNumber(QStringLiteral("^[+-][0-9]+([.,][0-9]+)?$"));
    if (text.isEmpty() || !starts.contains(text.front()) || text == QLatin1String("-"))
        return false;
    return !signedNumber.match(text).hasMatch();
}

void append(QString& out, const QString& value)
{
    const QString text = mightRunAsFormula(value) ? u'\'' + value : value;
    if (!needsQuotes(text)) {
        out += text;
        return;
    }
    out += u'"';
    for (QChar c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void appendRow(QString& out, const QString* const (&fields)[8])
{
    for (int i = 0; i < 8; ++i) {
        if (i > 0)
            out += u',';
        append(out, *fields[i]);
    }
    out += QLatin1String("\r\n");
}

} // namespace

QString field(const QString& text)
{
    QString out;
    append(out, text);
    return out;
}

QByteArray toCsv(const QList<CallRecord>& records, const QList<int>& rows)
{
    const QStringList& h = CallList::headers();
    QString out;
    out.reserve((rows.size() + 1) * 72);
    const QString* const header[8] = {&h[0], &h[1], &h[2], &h[3], &h[4], &h[5], &h[6], &h[7]};
    appendRow(out, header);
    for (int row : rows) {
        if (row < 0 || row >= records.size())
            continue;
        const CallRecord& r = records[row];
        const QString* const fields[8] = {&r.msn, &r.type, &r.date, &r.time, &r.number, &r.name, &r.duration, &r.cost};
        appendRow(out, fields);
    }
    return out.toUtf8();
}

} // namespace calllistcsv
