#pragma once
// An unknown caller's place and kind as the desktop notification and the
// monitor window say them, in the user's language.
#include "phonebook/number_place.h"

#include <QCoreApplication>
#include <QString>
#include <optional>

class PlaceText {
    Q_DECLARE_TR_FUNCTIONS(PlaceText)
public:
    // "mobile", "toll-free", "premium rate" ...; "" for a fixed line and an
    // unknown kind, which need no word beside the place.
    static QString kind(NumberKind kind);
    // "Munich", "Germany, mobile", "premium rate"; "" when neither is known.
    static QString caller(const QString& place, std::optional<NumberKind> kind);
};
