// CSV as address books and spreadsheets write it: quoted fields with "" for a
// quote, line breaks inside quotes, comma, semicolon or TAB between fields.
#include "phonebook/contact_fields.h"
#include "phonebook/contact_import.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

QChar guessSeparator(const QString& text)
{
    int comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u'\n' && !quoted)
            break;
        else if (!quoted && c == u',')
            ++comma;
        else if (!quoted && c == u';')
            ++semicolon;
        else if (!quoted && c == u'\t')
            ++tab;
    }
    if (tab > comma && tab > semicolon)
        return u'\t';
    return semicolon > comma ? u';' : u',';
}

QList<QStringList> records(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    const QChar sep = guessSeparator(text);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else if (c == u'"')
                quoted = false;
            else
                field += c;
        } else if (c == u'"') {
            quoted = true;
        } else if (c == sep) {
            row << field;
            field.clear();
        } else if (c == u'\n') {
            rows << (row << field);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

// Where the name and the four numbers are in a row: each field's columns in
// the order of their titles below; none when absent. A file may have several
// for one field ("Mobil" and "Handy"); a row's first filled one is read.
using FieldColumns = QList<int>;
struct Columns {
    FieldColumns name{0}, first, last;
    std::array<FieldColumns, 4> numbers{FieldColumns{1}, FieldColumns{2}, FieldColumns{3}, FieldColumns{4}};
};

FieldColumns findColumns(const QStringList& header, std::initializer_list<const char*> titles)
{
    FieldColumns found;
    for (const char* t : titles)
        for (int i = 0; i < header.size(); ++i)
            if (header[i].trimmed().compare(QLatin1String(t), Qt::CaseInsensitive) == 0 && !found.contains(i))
                found << i;
    return found;
}

// A header line is recognised by the titles it holds; without one the
// columns are name, Phone 1, Phone 2, Mobile, Other.
std::optional<Columns> headerColumns(const QStringList& header)
{
    Columns c;
    c.name = findColumns(header, {"Name", "Full Name", "Display Name", "FN", "Formatted Name"});
    c.first = findColumns(header, {"First Name", "Given Name", "Vorname"});
    c.last = findColumns(header, {"Last Name", "Family Name", "Surname", "Nachname"});
    c.numbers = {
        findColumns(header, {"Phone 1", "Telephone 1", "Phone", "Telephone", "Telefon privat", "Home Phone",
                                "Primary Phone", "Phone 1 - Value", "Telefon"}),
        findColumns(header, {"Phone 2", "Telephone 2", "Business Phone", "Work Phone", "Telefon 2", "Phone 2 - Value"}),
        findColumns(header,
            {"Mobile", "Mobile Phone", "Cell", "Cell Phone", "Handy", "Mobil", "Mobiltelefon", "Phone 3 - Value"}),
        findColumns(header, {"Other", "Other Phone", "Phone 4 - Value"}),
    };
    const bool anyNumber = std::any_of(
        c.numbers.begin(), c.numbers.end(), [](const FieldColumns& f) { return !f.isEmpty(); });
    if (c.name.isEmpty() && c.first.isEmpty() && c.last.isEmpty() && !anyNumber)
        return std::nullopt;
    return c;
}

// The field in the row's first of `columns` that holds more than blanks or "-".
QString firstFilled(const QStringList& row, const FieldColumns& columns)
{
    for (const int i : columns)
        if (const QString f = row.value(i).trimmed(); !f.isEmpty() && f != u'-')
            return row.value(i);
    return {};
}

QString nameOf(const QStringList& row, const Columns& c)
{
    QString name = firstFilled(row, c.name).trimmed();
    if (name.isEmpty())
        name = (firstFilled(row, c.first).trimmed() + u' ' + firstFilled(row, c.last).trimmed()).trimmed();
    return contact_fields::singleLine(name).trimmed();
}

} // namespace

namespace contact_import {

ContactImport parseCsv(const QByteArray& data)
{
    ContactImport result;
    QList<QStringList> rows = records(decodeText(data));
    Columns columns;
    if (!rows.isEmpty())
        if (const std::optional<Columns> header = headerColumns(rows.first())) {
            columns = *header;
            rows.removeFirst();
        }
    for (const QStringList& row : rows) {
        if (std::all_of(row.begin(), row.end(), [](const QString& f) { return f.trimmed().isEmpty(); }))
            continue; // blank line
        const QString name = nameOf(row, columns);
        if (name.isEmpty()) {
            ++result.unusable;
            continue;
        }
        BookEntry e{name, {}, {}, {}, {}, {}};
        for (int i = 0; i < 4; ++i) {
            const QString raw = firstFilled(row, columns.numbers[i]);
            contactField(e, i + 1) = bookNumber(raw);
            const QString written = raw.trimmed();
            result.unreadNumbers += contactField(e, i + 1) == u'-' && !written.isEmpty() && written != u'-';
        }
        result.contacts << e;
    }
    return result;
}

} // namespace contact_import
