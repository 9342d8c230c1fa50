#include "monitor/outputs/callmonitor_lines.h"

namespace {

// Field text can hold neither the separator nor a line break.
QByteArray field(const QString& text)
{
    QString t = text.trimmed();
    if (t == QLatin1String("UNKNOWN") || t == QLatin1String("-"))
        return {};
    for (QChar& c : t)
        if (c == u';' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return t.toUtf8();
}

QByteArray line(const CallEvent& e, std::initializer_list<QByteArray> fields)
{
    QByteArray out = e.time.toString(QStringLiteral("dd.MM.yy HH:mm:ss")).toLatin1() + ';';
    for (const QByteArray& f : fields)
        out += f + ';';
    return out;
}

} // namespace

QList<QByteArray> CallMonitorLines::linesFor(const CallEvent& e)
{
    using Kind = CallEvent::Kind;
    const int ch = e.channel == u'A' ? 0 : e.channel == u'B' ? 1 : -1;
    const QByteArray id = QByteArray::number(ch < 0 ? kWaitingId : ch);
    switch (e.kind) {
    case Kind::Incoming:
        if (ch >= 0)
            callPending_[size_t(ch)] = false;
        return {line(e, {"RING", id, field(e.number), field(e.msn), kLine})};
    case Kind::Waiting: // nothing follows a waiting caller: it ends unanswered at once
        return {line(e, {"RING", id, field(e.number), field(e.msn), kLine}), line(e, {"DISCONNECT", id, "0"})};
    case Kind::Outgoing:
        if (ch >= 0)
            callPending_[size_t(ch)] = true;
        return {};
    case Kind::Connected:
    case Kind::Ended: {
        if (ch < 0)
            return {};
        QList<QByteArray> out;
        if (std::exchange(callPending_[size_t(ch)], false))
            out.append(line(e, {"CALL", id, kExtension, field(e.msn), field(e.number), kLine}));
        if (e.kind == Kind::Connected)
            out.append(line(e, {"CONNECT", id, kExtension, field(e.number)}));
        else
            out.append(line(e, {"DISCONNECT", id, QByteArray::number(e.seconds)}));
        return out;
    }
    case Kind::RingEnded:
    case Kind::Logged:
    case Kind::Phase: return {};
    }
    return {};
}
