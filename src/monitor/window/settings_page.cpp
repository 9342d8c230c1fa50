#include "monitor/window/settings_page.h"

#include "common/settings_store.h"
#include "monitor/window/twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

SettingsPage::SettingsPage(SettingsStore& settings, std::function<void()> changed, const char* name, QWidget* parent)
    : QWidget(parent), settings_(settings), changed_(std::move(changed))
{
    setObjectName(QLatin1String(name));
}

void SettingsPage::load()
{
    loading_ = true;
    loadBoxes();
    loadNetwork();
    loading_ = false;
}

void SettingsPage::store(const QString& key, const QString& value)
{
    settings_.write(key, value);
    if (!loading_)
        tellMonitor();
}

void SettingsPage::storeFlag(const QString& key, bool ticked)
{
    store(key, ticked ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsPage::tellMonitor()
{
    if (changed_)
        changed_();
}

double SettingsPage::dpi() const
{
    return twips::dpiOf(this);
}

QGroupBox* SettingsPage::addLowerFrame(const char* name, const QString& title, int top, int heightTwips)
{
    auto* frame = new QGroupBox(title, this);
    frame->setObjectName(QLatin1String(name));
    frame->setGeometry(twips::rect(120, top, kLowerFrameWidth, heightTwips, dpi()));
    return frame;
}

QCheckBox* SettingsPage::addSwitch(QGroupBox* frame, const char* name, const QString& caption, const QString& tip)
{
    auto* box = new QCheckBox(caption, frame);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(tip);
    box->adjustSize();
    box->move(twips::toPx(kFieldIndent, dpi()), twips::toPx(270, dpi()));
    return box;
}

QLineEdit* SettingsPage::addField(QGroupBox* frame, const char* name, const QString& caption, QPoint at, int widthTwips)
{
    const int h = twips::toPx(kFieldHeight, dpi());
    auto* label = new QLabel(caption, frame);
    label->adjustSize();
    label->move(at.x(), at.y() + (h - label->height()) / 2);
    auto* edit = new QLineEdit(frame);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(
        label->geometry().right() + twips::toPx(kFieldSpace, dpi()), at.y(), twips::toPx(widthTwips, dpi()), h);
    return edit;
}

QLineEdit* SettingsPage::addWideField(QGroupBox* frame, const char* name, const QString& caption, QPoint at)
{
    QLineEdit* edit = addField(frame, name, caption, at, 0);
    QRect field = edit->geometry();
    field.setRight(frame->width() - twips::toPx(kFieldIndent, dpi()));
    edit->setGeometry(field);
    return edit;
}

QLabel* SettingsPage::addStateLabel(QGroupBox* frame, const char* name, int top)
{
    const int indent = twips::toPx(kFieldIndent, dpi());
    auto* label = new QLabel(frame);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(indent, twips::toPx(top, dpi()), frame->width() - 2 * indent, twips::toPx(kFieldHeight, dpi()));
    return label;
}

SettingsPage::ServerRows SettingsPage::addServerRows(
    QGroupBox* frame, int top, const char* const names[4], const QString& caption, const QString& tip)
{
    const int indent = twips::toPx(kFieldIndent, dpi());
    ServerRows rows;
    rows.enable = addSwitch(frame, names[0], caption, tip);
    rows.enable->move(indent, twips::toPx(top, dpi()));
    rows.address = addField(frame, names[1], tr("Address:"), QPoint(indent, twips::toPx(top + kRow, dpi())), 1500);
    rows.address->setToolTip(tr("127.0.0.1 serves this computer only, 0.0.0.0 every network"));
    rows.port = addField(frame, names[2], tr("Port:"),
        QPoint(rows.address->geometry().right() + 3 * twips::toPx(kFieldSpace, dpi()), twips::toPx(top + kRow, dpi())),
        700);
    rows.port->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,5}")), rows.port));
    rows.state = addStateLabel(frame, names[3], top + 2 * kRow - 30);
    return rows;
}

void SettingsPage::addNetworkSwitch(QCheckBox* box, QLatin1String key, std::initializer_list<Field> fields)
{
    NetworkSwitch s{box, key, {}};
    for (const Field& f : fields) {
        s.fields.push_back(f.first);
        addNetworkField(f.first, f.second);
    }
    switches_.push_back(std::move(s));
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        storeFlag(key, on);
        emit networkEdited();
    });
}

void SettingsPage::addNetworkField(QLineEdit* edit, QLatin1String key)
{
    fields_.emplace_back(edit, key);
    connect(
        edit, &QLineEdit::textEdited, this, [this, key](const QString& text) { settings_.write(key, text.trimmed()); });
    connect(edit, &QLineEdit::editingFinished, this, &SettingsPage::networkEdited);
}

void SettingsPage::loadNetwork()
{
    for (const NetworkSwitch& s : switches_) {
        const QSignalBlocker quiet(s.box); // loading is no change
        s.box->setChecked(settings_.isOne(s.key));
    }
    for (const auto& [edit, key] : fields_)
        edit->setText(settings_.read(key));
}

void SettingsPage::enableNetworkFields()
{
    for (const NetworkSwitch& s : switches_)
        for (QLineEdit* edit : s.fields)
            edit->setEnabled(s.box->isChecked());
}
