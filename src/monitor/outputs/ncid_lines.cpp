#include "monitor/outputs/ncid_lines.h"
#include "common/version.h"

namespace {

constexpr qsizetype kMaxName = 50; // the API's longest name
constexpr char kNoName[] = "NO NAME";
constexpr char kNoNumber[] = "NO-NUMBER";
constexpr char kWithheld[] = "PRIVATE"; // the API's name for a withheld caller
constexpr char kNoLine[] = "-";         // "-": clients show nothing

enum class Direction { In, Out };

bool missing(const QString& s)
{
    const QString t = s.trimmed();
    return t.isEmpty() || t == QLatin1String("-");
}

// Field data can hold neither the '*' between field pairs nor a line break
// that would start a line of its own.
QByteArray clean(QString text)
{
    for (QChar& c : text) {
        if (c == u'*')
            c = u'-';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return text.trimmed().toUtf8();
}

QByteArray numberField(const QString& number, Direction d)
{
    if (missing(number))
        return d == Direction::In ? kWithheld : kNoNumber;
    return clean(number);
}

QByteArray nameField(const QString& name, const QString& number, Direction d)
{
    if (!missing(name))
        return clean(name.trimmed().left(kMaxName));
    return d == Direction::In && missing(number) ? kWithheld : kNoName;
}

QByteArray lineField(const QString& msn)
{
    return missing(msn) ? QByteArray(kNoLine) : clean(msn);
}

QByteArray text(const QDateTime& t, const char* format)
{
    return t.toString(QLatin1String(format)).toLatin1();
}

std::optional<Direction> directionOf(std::optional<CallType> type)
{
    if (!type)
        return std::nullopt;
    return *type == CallType::Called || *type == CallType::Try ? Direction::Out : Direction::In;
}

QDateTime startOf(const CallEvent& e)
{
    return e.start.isValid() ? e.start : e.time;
}

Direction directionOf(const CallEvent& e)
{
    if (e.kind == CallEvent::Kind::Outgoing)
        return Direction::Out;
    return directionOf(e.type).value_or(Direction::In);
}

// CID:, WID:, OUT: and the log lines share one layout.
QByteArray callLine(QByteArrayView label, const QDateTime& when, const QString& msn, const QString& number,
    const QString& name, Direction d)
{
    return label.toByteArray() + ": *DATE*" + text(when, "MMddyyyy") + "*TIME*" + text(when, "HHmm") + "*LINE*"
           + lineField(msn) + "*NMBR*" + numberField(number, d) + "*MESG*NONE*NAME*" + nameField(name, number, d) + '*';
}

QByteArray endLine(const CallEvent& e)
{
    const bool connected = e.type == CallType::Answer || e.type == CallType::Called;
    const Direction d = directionOf(e);
    const QDateTime start = startOf(e);
    return QByteArray("END: *HTYPE*") + (connected ? "BYE" : "CANCEL") + "*DATE*" + text(start, "MMddyyyy") + "*TIME*"
           + text(start, "HHmm") + "*SCALL*" + text(start, "MM/dd/yyyy HH:mm:ss") + "*ECALL*"
           + text(e.time, "MM/dd/yyyy HH:mm:ss") + "*CTYPE*" + (d == Direction::Out ? "OUT" : "IN") + "*LINE*"
           + lineField(e.msn) + "*NMBR*" + numberField(e.number, d) + "*NAME*" + nameField(e.name, e.number, d) + '*';
}

// What the server adds to a message: when, and no call it belongs to.
QByteArray messageFields(const QDateTime& now)
{
    return " ***DATE*" + text(now, "MMddyyyy") + "*TIME*" + text(now, "HHmm") + "*NAME*-*NMBR*-*LINE*-*MTYPE*-*";
}

QByteArray ringInfoLine(const CallEvent& e)
{
    // RING 0: ringing stopped because the call was answered; -1: it was not.
    return "CIDINFO: *LINE*" + lineField(e.msn) + "*RING*" + (e.answered ? "0" : "-1") + "*TIME*"
           + text(e.time, "HH:mm:ss") + '*';
}

} // namespace

namespace ncid {

QByteArray bannerLine()
{
    return QByteArrayLiteral("200 Server: corvane (Corvane) " CORVANE_VERSION);
}

QByteArray apiLine()
{
    return QByteArrayLiteral("210 API 1.5 Feature Set 1 2");
}

QByteArray lineType(const CallEvent& e)
{
    switch (e.kind) {
    case CallEvent::Kind::Incoming: return "CID";
    case CallEvent::Kind::Waiting: return "WID";
    case CallEvent::Kind::Outgoing: return "OUT";
    case CallEvent::Kind::RingEnded: return "CIDINFO";
    case CallEvent::Kind::Logged: return e.type && *e.type != CallType::CID ? "END" : "";
    case CallEvent::Kind::Connected:
    case CallEvent::Kind::Ended:
    case CallEvent::Kind::Phase: return ""; // NCID has no word for them
    }
    return {};
}

QByteArray eventLine(const CallEvent& e)
{
    const QByteArray type = lineType(e);
    if (type == "END")
        return endLine(e);
    if (type == "CIDINFO")
        return ringInfoLine(e);
    if (type.isEmpty())
        return {};
    return callLine(type, e.time, e.msn, e.number, e.name, directionOf(e));
}

QByteArray logLine(const CallRecord& r)
{
    QString typeText = r.type;
    while (typeText.endsWith(u'*')) // the mark of a removed dial prefix
        typeText.chop(1);
    const std::optional<Direction> d = directionOf(call_type::fromText(typeText));
    const QDate date = QDate::fromString(r.date, QStringLiteral("yyyy-MM-dd"));
    QTime time = QTime::fromString(r.time, QStringLiteral("HH:mm:ss"));
    if (!time.isValid())
        time = QTime::fromString(r.time, QStringLiteral("H:mm:ss"));
    if (!d || !date.isValid() || !time.isValid())
        return {};
    return callLine(*d == Direction::Out ? "OUTLOG" : "CIDLOG", QDateTime(date, time), r.msn, r.number, r.name, *d);
}

QList<QByteArray> logLines(const QList<CallRecord>& records)
{
    QList<QByteArray> lines;
    lines.reserve(records.size());
    for (auto r = records.crbegin(); r != records.crend(); ++r) // list.txt holds the newest first
        if (QByteArray line = logLine(*r); !line.isEmpty())
            lines.append(std::move(line));
    return lines;
}

QByteArray relayedMessage(QByteArrayView line, const QDateTime& now)
{
    // Whatever bytes a client sent, clients get UTF-8 without a control character.
    QString message = QString::fromUtf8(line.trimmed()); // bad sequences become U+FFFD
    for (QChar& c : message)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    QByteArray out = message.toUtf8();
    if (const qsizetype mark = out.indexOf("###"); mark >= 0)
        return out.replace(mark, 3, "***"); // the client's own field pairs, now from the server
    return out + messageFields(now);
}

QByteArray serverMessage(const QString& warning, const QDateTime& now)
{
    return "MSG: " + clean(warning) + messageFields(now);
}

QByteArray moduleInput(const CallEvent& e)
{
    const QByteArray type = lineType(e);
    if (type.isEmpty() || type == "CIDINFO")
        return {};
    const Direction d = directionOf(e);
    const QDateTime when = startOf(e);
    // Line 7 (message) and line 8 (message type) are empty for a call.
    return text(when, "MM/dd/yyyy") + '\n' + text(when, "HH:mm") + '\n' + numberField(e.number, d) + '\n'
           + nameField(e.name, e.number, d) + '\n' + lineField(e.msn) + '\n' + type + "\n\n\n";
}

} // namespace ncid
