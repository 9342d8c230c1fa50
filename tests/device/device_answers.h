#pragma once
// Answer bodies laid out as the adapter lays them out (as the channel hands
// them over: after the echo's line, ending with the line breaks before "OK"),
// and the commands of a reading.
#include <QString>
#include <QStringList>

// Nine MSN lines: label, three separators, number; headings of 11 and 12
// characters before the second and third port, 7 characters after the end.
inline QString msnAnswerBody(const QStringList& n)
{
    const auto group = [&](int g) {
        return QStringLiteral("MSN1 : %1\r\nMSN2 : %2\r\nMSN3 : %3").arg(n[g * 3], n[g * 3 + 1], n[g * 3 + 2]);
    };
    return QStringLiteral("Phone 1\r\n") + group(0) + QStringLiteral("\r\nPhone 2  \r\n") + group(1)
           + QStringLiteral("\r\nDTE port  \r\n") + group(2) + QStringLiteral("\r\n.\r\n\r\n");
}

inline QString ownAnswerBody(const QStringList& n)
{
    return QStringLiteral("Phone 1: %1\r\n\r\nPhone 2: %2\r\n\r\nDTE: %3\r\n\r\n").arg(n[0], n[1], n[2]);
}

inline QString chargeAnswerBody(const QStringList& n)
{
    static const char* labels[] = {"DTE last", "POTS-1 last", "POTS-2 last", "DTE total", "POTS-1 total",
                                   "POTS-2 total"};
    QString body;
    for (int j = 0; j < 6; ++j)
        body += QString::fromLatin1(labels[j]) + QStringLiteral(": ") + n[j] + QStringLiteral("\r\n\r\n");
    return body;
}

// Receive Settings, with the PPP command that follows the bundle bits of S87.
inline QStringList receiveSequence(const QString& pppCommand)
{
    return {"ATE1",   "ATI4",   "ATI3",   "ATI0",    "ATI1",    "ATS109?", "ATS108?", "ATS79?",  "ATS89?",
            "ATS118?", "ATS85?", "ATS84?", "ATS83?", "ATS87?",  pppCommand, "ATE1",    "ATS56?",  "ATS82?",
            "ATS0?",  "ATS18?", "ATS123?", "ATS100?", "ATS15?",  "ATCH?",   "AT&ZI?",  "ATE1",    "AT&ZO?"};
}
