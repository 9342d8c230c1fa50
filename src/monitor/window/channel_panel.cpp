#include "monitor/window/channel_panel.h"

#include "monitor/outputs/place_text.h"
#include "monitor/window/elided_label.h"
#include "monitor/window/lamp_pictures.h"
#include "monitor/window/picture_label.h"
#include "monitor/window/twips.h"

#include <utility>

namespace {

constexpr int kTop = 600, kHeight = 2535, kMargins = 210; // twips

// A framed, sunken text field as the number and name have; a name too long
// for it ends in "…".
QLabel* makeField(QWidget* parent, const char* name, QRect geometry)
{
    auto* l = new ElidedLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::Base);
    l->setGeometry(geometry);
    return l;
}

} // namespace

ChannelPanel::ChannelPanel(Channel channel, int leftTwips, int widthTwips, double dpi, QWidget* parent)
    : QGroupBox(channel == A ? tr("ISDN Channel  A") : tr("ISDN Channel  B"), parent)
{
    const bool a = channel == A;
    setObjectName(a ? QStringLiteral("FrameChannelA") : QStringLiteral("FrameChannelB"));
    setGeometry(twips::rect(leftTwips, kTop, widthTwips, kHeight, dpi));
    const int inner = width() * 1440 / dpi - kMargins; // twips between the side margins
    number_ = makeField(this, a ? "Label1" : "Label2", twips::rect(105, 240, inner, 300, dpi));
    QFont bold = number_->font();
    bold.setBold(true);
    number_->setFont(bold);
    name_ = makeField(this, a ? "Label19" : "Label20", twips::rect(105, 585, inner, 300, dpi));

    picture_ = new PictureLabel(this);
    picture_->setObjectName(a ? QStringLiteral("ImageA") : QStringLiteral("ImageB"));
    picture_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture_->setGeometry(twips::rect(105, 945, 840, 780, dpi));
    buildLamps(channel, dpi);
    buildRows(channel, inner, dpi);
}

void ChannelPanel::buildLamps(Channel channel, double dpi)
{
    static const char* const names[2][3] = {{"Image11", "Image12", "Image13"}, {"Image14", "Image15", "Image16"}};
    const QString captions[3] = {tr("Active"), tr("Connected"), tr("Ring")};
    for (int i = 0; i < 3; ++i) {
        auto* lamp = new PictureLabel(this);
        lamp->setObjectName(QLatin1String(names[channel][i]));
        lamp->setGeometry(twips::rect(1080, 975 + i * 255, 240, 240, dpi));
        lamp->showLamp(lamps::Grey);
        lamps_[i] = lamp;
        (new QLabel(captions[i], this))->setGeometry(twips::rect(1380, 975 + i * 255, 1300, 240, dpi));
    }
    connect(lamps_[2], &PictureLabel::clicked, this, &ChannelPanel::ringLampClicked);
}

void ChannelPanel::buildRows(Channel channel, int inner, double dpi)
{
    // Channel A's caption has always had a blank more at its end.
    const QString costCaption = tr("Call cost  :") + (channel == A ? QStringLiteral(" ") : QString());
    const std::pair<QString, QLabel**> rows[3] = {
        {tr("MSN :"), &msn_},
        {costCaption, &cost_},
        {tr("Call duration :"), &duration_},
    };
    static const char* const valueNames[2][3] = {
        {"LabelMSNA", "Label9", "LabelDur1"}, {"LabelMSNB", "Label10", "LabelDur2"}};
    for (int i = 0; i < 3; ++i) {
        const int top = 1800 + i * 225;
        (new QLabel(rows[i].first, this))->setGeometry(twips::rect(105, top, 1200, 225, dpi));
        auto* value = new QLabel(QStringLiteral("-"), this);
        value->setObjectName(QLatin1String(valueNames[channel][i]));
        value->setGeometry(twips::rect(1320, top, inner - 1215, 225, dpi));
        *rows[i].second = value;
    }
}

void ChannelPanel::draw(const ChannelDisplay& d)
{
    number_->setText(d.number);
    drawName(d);
    msn_->setText(d.msn);
    cost_->setText(d.cost);
    duration_->setText(d.duration);
    if (d.picture == shownPicture_)
        return;
    shownPicture_ = d.picture;
    if (d.picture.isEmpty())
        picture_->clearPicture();
    else
        picture_->showFile(d.picture); // a picture that cannot be loaded leaves the old one
}

// A caller without a name shows where the number is from, in italics and in
// the colour of a hint, so a place is never read as a phone-book name.
void ChannelPanel::drawName(const ChannelDisplay& d)
{
    const QString place = d.name.isEmpty() ? PlaceText::caller(d.place.place, d.place.kind) : QString();
    const bool isPlace = !place.isEmpty();
    name_->setText(isPlace ? place : d.name);
    if (name_->font().italic() == isPlace)
        return;
    QFont font = name_->font();
    font.setItalic(isPlace);
    name_->setFont(font);
    name_->setForegroundRole(isPlace ? QPalette::PlaceholderText : QPalette::Text);
    name_->setToolTip(isPlace ? tr("Where the number is from: no phone-book entry names it") : QString());
}

QString ChannelPanel::numberWithPlace(const QString& number, const PlaceOfNumber& place, const QPalette& palette)
{
    const QString text = PlaceText::caller(place.place, place.kind);
    if (text.isEmpty())
        return number;
    return QStringLiteral("%1 <span style=\"font-style:italic; font-weight:normal; color:%3\">(%2)</span>")
        .arg(number.toHtmlEscaped(), text.toHtmlEscaped(), palette.color(QPalette::PlaceholderText).name());
}

void ChannelPanel::drawLamps(const ChannelDisplay& d, bool blinkOn)
{
    const int flags[3] = {d.active, d.connected, d.ringing};
    const int blinking[3] = {0, lamps::Red, lamps::Blue}; // the active lamp is steady green
    for (int i = 0; i < 3; ++i) {
        if (flags[i] == 0) {
            if (std::exchange(lampLit_[i], false))
                lamps_[i]->showLamp(lamps::Grey);
        } else if (flags[i] == 1) {
            if (i > 0)
                lamps_[i]->showLamp(blinkOn ? blinking[i] : int(lamps::Blank));
            else if (!lampLit_[i])
                lamps_[i]->showLamp(lamps::Green);
            lampLit_[i] = true;
        }
    }
}
