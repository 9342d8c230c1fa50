#pragma once
// Charge counters and the money they stand for.
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QtGlobal>
#include <array>

// A counter text from "ATCH?": empty counts 0, a number counts as a whole
// number (halves to even), anything else keeps the old count.
qint32 chargeCount(const QString& text, qint32 previous);

// The moment of a counter reset as "d/m/yyyy h:mm" with the locale's date and
// time separators in place of "/" and ":".
QString resetStamp(const QDateTime& when, const QLocale& locale = QLocale());
