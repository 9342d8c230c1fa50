#include "monitor/outputs/place_text.h"

QString PlaceText::kind(NumberKind kind)
{
    switch (kind) {
    case NumberKind::Mobile: return tr("mobile");
    case NumberKind::FixedLineOrMobile: return tr("fixed line or mobile");
    case NumberKind::TollFree: return tr("toll-free");
    case NumberKind::PremiumRate: return tr("premium rate");
    case NumberKind::SharedCost: return tr("shared cost");
    case NumberKind::Voip: return tr("internet telephony");
    case NumberKind::Personal: return tr("personal number");
    case NumberKind::FixedLine:
    case NumberKind::Unknown: break;
    }
    return {};
}

QString PlaceText::caller(const QString& place, std::optional<NumberKind> kind)
{
    const QString word = kind ? PlaceText::kind(*kind) : QString();
    if (place.isEmpty() || word.isEmpty())
        return place.isEmpty() ? word : place;
    return tr("%1, %2", "a place and the kind of number: Germany, mobile").arg(place, word);
}
