// The settings window's frames and elements, built in code so that every
// element carries the object name the rest of the program and the tests use.
#include "device/form1.h"
#include "device/form1_ui.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// Field widths in digits, and the room a field needs beyond its digits.
constexpr int kNumberChars = 11;
constexpr int kRingsChars = 4;
constexpr int kHookChars = 5;
constexpr int kCostChars = 7;
constexpr int kFieldPadding = 12;
// The identification frame is one line of text; small margins keep it so.
constexpr int kInfoMargins = 2;
constexpr int kWindowMargins = 6;

struct Builder {
    Q_DECLARE_TR_FUNCTIONS(Form1)

public:
    Form1::Ui& ui;
    QWidget* window;

    QGroupBox* frame(const QString& name, const QString& caption, const QString& tip = {})
    {
        auto* box = new QGroupBox(caption);
        box->setObjectName(name);
        box->setToolTip(tip);
        return box;
    }

    QCheckBox* check(FormElement e, const QString& caption, const QString& tip)
    {
        auto* box = new QCheckBox(caption);
        box->setObjectName(elementName(e));
        box->setToolTip(tip);
        ui.elements.checks[int(e)] = box;
        return box;
    }

    QLineEdit* plainEdit(const QString& name, const QString& tip, int widthChars)
    {
        auto* field = new QLineEdit;
        field->setObjectName(name);
        field->setToolTip(tip);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(widthChars, u'0')) + kFieldPadding);
        return field;
    }

    QLineEdit* edit(FormElement e, const QString& tip, int widthChars = kNumberChars)
    {
        QLineEdit* field = plainEdit(elementName(e), tip, widthChars);
        ui.elements.texts[int(e) - kFirstText] = field;
        return field;
    }

    QLabel* caption(const QString& name, const QString& text)
    {
        auto* label = new QLabel(text);
        label->setObjectName(name);
        return label;
    }

    QLabel* value(QLabel*& member, const QString& name)
    {
        member = new QLabel;
        member->setObjectName(name);
        return member;
    }

    QPushButton* button(QPushButton*& member, const QString& name, const QString& text, const QString& tip = {})
    {
        member = new QPushButton(text);
        member->setObjectName(name);
        member->setToolTip(tip);
        return member;
    }

    struct Choice {
        int index;
        QString caption;
        QString tip;
    };
    // A choice group: a frame holding radio buttons named <group>_<index>,
    // with a button group of the same name whose ids are the choice indexes.
    QGroupBox* choices(FormElement e, const QString& caption, const QList<Choice>& list, const QString& tip = {})
    {
        const QString group = elementName(e);
        auto* box = frame(group, caption, tip);
        auto* layout = new QVBoxLayout(box);
        auto* buttons = new QButtonGroup(window);
        buttons->setObjectName(group);
        for (const Choice& c : list) {
            auto* radio = new QRadioButton(c.caption);
            radio->setObjectName(group + u'_' + QString::number(c.index));
            radio->setToolTip(c.tip);
            buttons->addButton(radio, c.index);
            layout->addWidget(radio);
        }
        layout->addStretch();
        ui.elements.groups[int(e) - kFirstChoice] = buttons;
        return box;
    }

    // "Call Charges": units and money of the last call and of the total.
    QGroupBox* charges(int port, int last, int total, const QString& tip)
    {
        auto* box = frame(QStringLiteral("FrameCharges%1").arg(port), tr("Call Charges"), tip);
        auto* grid = new QGridLayout(box);
        grid->addWidget(caption(QStringLiteral("LabelUnitsHead%1").arg(port), tr("Call Units")), 0, 1);
        grid->addWidget(caption(QStringLiteral("LabelCostHead%1").arg(port), tr("Cost")), 0, 2);
        grid->addWidget(caption(QStringLiteral("LabelLast%1").arg(port), tr("Last")), 1, 0);
        grid->addWidget(caption(QStringLiteral("LabelTotal%1").arg(port), tr("Total")), 2, 0);
        grid->addWidget(value(ui.Labelucost[last - 1], QStringLiteral("Labelucost%1").arg(last)), 1, 1);
        grid->addWidget(value(ui.Labelcost[last - 1], QStringLiteral("Labelcost%1").arg(last)), 1, 2);
        grid->addWidget(value(ui.Labelucost[total - 1], QStringLiteral("Labelucost%1").arg(total)), 2, 1);
        grid->addWidget(value(ui.Labelcost[total - 1], QStringLiteral("Labelcost%1").arg(total)), 2, 2);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(2, 1);
        return box;
    }

    // MSN1..MSN3 and "Own #" fields of one port.
    QGridLayout* numbers(
        int port, FormElement firstMsn, FormElement own, const QStringList& msnTips, const QString& ownTip)
    {
        auto* grid = new QGridLayout;
        for (int i = 0; i < 3; ++i) {
            grid->addWidget(
                caption(QStringLiteral("LabelMSN%1_%2").arg(port).arg(i + 1), tr("MSN%1").arg(i + 1)), i, 0);
            grid->addWidget(edit(nthElement(firstMsn, i), msnTips.value(i)), i, 1);
        }
        grid->addWidget(caption(QStringLiteral("LabelOwn%1").arg(port), tr("Own #")), 3, 0);
        grid->addWidget(edit(own, ownTip), 3, 1);
        grid->setColumnStretch(1, 1);
        return grid;
    }

    QGroupBox* phone(int n)
    {
        const QString pots = QStringLiteral("POTS-%1").arg(n);
        const int port = n - 1; // Phone 1 and Phone 2 elements sit side by side in FormElement
        const auto of = [port](FormElement phone1) { return nthElement(phone1, port); };
        auto* box = frame(QStringLiteral("FramePhone%1").arg(n), tr("Phone %1 (%2)").arg(n).arg(pots));
        auto* checksColumn = new QVBoxLayout;
        checksColumn->addWidget(check(of(FormElement::CheckGC1), tr("Global Calls On"),
            tr("When OFF, Rejects Calls with Call Party number information element missing")));
        checksColumn->addWidget(check(of(FormElement::CheckDCB1), tr("Delayed Clear Off"), {}));
        checksColumn->addWidget(check(of(FormElement::CheckCID1), tr("Caller on Bundle"),
            tr("When both channels are used for data, drop one line to receive voice call")));
        checksColumn->addWidget(check(of(FormElement::CheckCL1), tr("Calling Line ID Off"),
            tr("Deactivates sending own phone number when calling from %1").arg(pots)));
        checksColumn->addWidget(check(of(FormElement::CheckIC1), tr("Incoming calls Off"),
            tr("Disables incoming calls for %1. When Off you cannot receive calls!").arg(pots)));
        checksColumn->addWidget(check(of(FormElement::CheckMP1), tr("Metering Pulse"),
            tr("Enables a DECT phone to recognise cost charges on %1").arg(pots)));
        checksColumn->addWidget(check(
            of(FormElement::CheckCH1), tr("Charging Counter"), tr("Enables the Charging Counter for %1").arg(pots)));
        checksColumn->addWidget(
            check(of(FormElement::CheckCW1), tr("Call Waiting"), tr("Enables Call Waiting for %1").arg(pots)));
        checksColumn->addWidget(
            check(of(FormElement::Check3), tr("Emergency Line"), tr("This feature is currently not used")));
        checksColumn->addStretch();

        const QString phoneName = tr("Phone %1").arg(n);
        const QStringList msnTips = {
            tr("Set first MSN number. %1 will ring when this number is called.").arg(phoneName),
            tr("Set second MSN number. %1 will ring when this number is called.").arg(phoneName),
            tr("Set third MSN number. %1 will ring when this number is called.").arg(phoneName),
        };
        auto* right = new QVBoxLayout;
        right->addLayout(numbers(n, nthElement(FormElement::TextMSN1, 3 * port), of(FormElement::TextOWN1), msnTips,
            tr("Own number to send when calling from %1").arg(phoneName)));
        right->addWidget(charges(n, n, n + 3, tr("This windows displays call charges for %1").arg(pots)));
        right->addStretch();

        auto* layout = new QHBoxLayout(box);
        layout->addLayout(checksColumn);
        layout->addLayout(right, 1);
        return box;
    }

    QGroupBox* dte()
    {
        auto* box = frame(QStringLiteral("FrameDTE"), tr("DTE Port (ISDN Modem)"));
        const QString msnTip = tr(
            "Set MSN number for DTE port. Modem will answer when this number is called (In auto-answer mode).");
        auto* left = new QVBoxLayout;
        left->addLayout(numbers(3, FormElement::TextMSN7, FormElement::TextOWN3, {msnTip, msnTip, msnTip},
            tr("Own number to send when calling using the modem")));
        auto* rings = new QHBoxLayout;
        rings->addWidget(caption(QStringLiteral("LabelAnswer"), tr("Answer")));
        rings->addWidget(
            edit(FormElement::TextRINGS, tr("Set the number of rings to auto-answer (Zero disables)"), kRingsChars));
        rings->addWidget(caption(QStringLiteral("LabelRings"), tr("rings")));
        rings->addStretch();
        left->addLayout(rings);
        left->addWidget(check(
            FormElement::CheckCH3, tr("Charging Counter"), tr("Enables the Charging Counter for DTE Port (Internet)")));
        left->addWidget(charges(3, 3, 6, tr("This windows displays call charges for the DTE port")));
        left->addStretch();

        auto* right = new QVBoxLayout;
        right->addWidget(choices(FormElement::OptionPROT, tr("Protocol"),
            {{0, QStringLiteral("PPP-MLPPP B"), {}}, {1, tr("Voice Tran. B Ch."), {}}, {2, tr("PPP Trans. B Ch."), {}},
                {3, tr("Data Tran. B Ch."), {}}}));
        right->addWidget(choices(FormElement::Option1, tr("PPP Mode"),
            {{1, QStringLiteral("64 kbps"), tr("Set ISDN 64kbps")},
                {2, QStringLiteral("128 kbps"), tr("Set ISDN 128kbps")}},
            tr("Click to set PPP mode. Click Save to your 'Power-on' profile "
               "after selecting. You can also use ATB40 or ATB0 in modem Extra "
               "Settings!")));
        right->addStretch();

        auto* layout = new QHBoxLayout(box);
        layout->addLayout(left, 1);
        layout->addLayout(right);
        return box;
    }

    QGroupBox* highLayer()
    {
        auto* box = frame(QStringLiteral("FrameHighLayer"), tr("High Layer"));
        const QList<Choice> list = {{0, tr("Telephony"), {}}, {1, tr("Fax G2/G3"), {}}, {2, tr("No element sent"), {}}};
        auto* layout = new QVBoxLayout(box);
        layout->addWidget(choices(FormElement::Option4, tr("Setting for Phone 1"), list));
        layout->addWidget(choices(FormElement::Option5, tr("Setting for Phone 2"), list));
        layout->addStretch();
        return box;
    }

    QGroupBox* globals()
    {
        auto* box = frame(QStringLiteral("FrameGlobal"), tr("Global Controls"));
        auto* checksColumn = new QVBoxLayout;
        checksColumn->addWidget(check(FormElement::CheckFUL, tr("Full Emergency On"),
            tr("When ON, Dodova will try to operate on phone line power if mains is not available")));
        checksColumn->addWidget(check(
            FormElement::CheckBUN, tr("Bundle Connect On"), tr("Enables Bundle Connect. Both channels are used")));
        checksColumn->addWidget(
            check(FormElement::CheckCIDOnHook, tr("Caller ID (On Hook)"), tr("Enables Caller ID (ON HOOK)")));
        checksColumn->addWidget(
            check(FormElement::CheckCIDOffHook, tr("Caller ID (Off Hook)"), tr("Enables Caller ID (OFF HOOK)")));
        checksColumn->addWidget(check(FormElement::CheckBAUD, tr("Auto Baud On"), tr("This should always be on")));
        checksColumn->addStretch();
        checksColumn->addWidget(button(ui.Command7, QStringLiteral("Command7"), tr("Hangup Phone 1")));
        checksColumn->addWidget(button(ui.Command8, QStringLiteral("Command8"), tr("Hangup Phone 2")));

        auto* hook = frame(QStringLiteral("FrameHook"), tr("Hook Flash Time"));
        auto* hookGrid = new QGridLayout(hook);
        hookGrid->addWidget(
            edit(FormElement::TextHOOK, tr("Flash time setting for phones connected to POTS ports in milliseconds"),
                kHookChars),
            0, 0);
        hookGrid->addWidget(caption(QStringLiteral("LabelHookUnit"), tr("Time in ms")), 0, 1);
        hookGrid->addWidget(caption(QStringLiteral("LabelHookRange"), tr("200 ms to 1000 ms")), 1, 0, 1, 2);

        auto* right = new QVBoxLayout;
        right->addWidget(hook);
        right->addWidget(choices(FormElement::Option3, tr("SS Protocol"),
            {{0, tr("Keypad"), tr("Sets Supplementary Services Protocol to Keypad")},
                {1, tr("Functional"), tr("Sets Supplementary Services Protocol to Functional")}}));
        right->addStretch();

        auto* layout = new QHBoxLayout(box);
        layout->addLayout(checksColumn);
        layout->addLayout(right);
        return box;
    }

    QGroupBox* profiles()
    {
        auto* box = frame(QStringLiteral("FrameProfiles"), tr("Dodova Profiles and Power-on default"));
        auto* grid = new QGridLayout(box);
        grid->addWidget(choices(FormElement::Option2, tr("Power-On Profile"),
                            {{0, tr("Profile 1"), {}}, {1, tr("Profile 2"), {}}, {2, tr("Profile 3"), {}},
                                {3, tr("Profile 4"), {}}, {4, tr("Factory"), {}}}),
            0, 0, 5, 1);
        grid->addWidget(button(ui.CommandPRF, QStringLiteral("CommandPRF"), tr("Load Factory Settings")), 0, 1, 1, 2);
        for (int p = 1; p <= 4; ++p) {
            grid->addWidget(
                button(ui.CommandPRL[p - 1], QStringLiteral("CommandPRL%1").arg(p), tr("Load P%1").arg(p)), p, 1);
            grid->addWidget(
                button(ui.CommandPRS[p - 1], QStringLiteral("CommandPRS%1").arg(p), tr("Save to P%1").arg(p)), p, 2);
        }
        return box;
    }

    QGroupBox* identification()
    {
        auto* box = frame(QStringLiteral("FrameInfo"), QString());
        // The captions are the device's answers as received, trailing line
        // breaks included; each label is held to one line so the breaks do
        // not make the frame grow.
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(kInfoMargins, kInfoMargins, kInfoMargins, kInfoMargins);
        const std::pair<QLabel**, const char*> labels[] = {{&ui.Label_info1, "Label_info1"},
            {&ui.Label_info2, "Label_info2"}, {&ui.Label_info3, "Label_info3"}, {&ui.Label39, "Label39"},
            {&ui.Label_info4, "Label_info4"}};
        for (const auto& [member, name] : labels) {
            QLabel* l = value(*member, QString::fromLatin1(name));
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setTextInteractionFlags(Qt::TextSelectableByMouse);
            l->setFixedHeight(l->fontMetrics().height());
            layout->addWidget(l, *member == ui.Label39 ? 0 : 1);
        }
        box->setMaximumHeight(box->sizeHint().height()); // extra height goes to the frames below
        return box;
    }

    QGroupBox* cost()
    {
        auto* box = frame(QStringLiteral("FrameCost"), tr("Cost per Unit"));
        auto* layout = new QHBoxLayout(box);
        ui.TextUCost = plainEdit(QStringLiteral("TextUCost"), {}, kCostChars); // its own reaction, no register
        layout->addWidget(ui.TextUCost);
        layout->addWidget(value(ui.Label15, QStringLiteral("Label15")));
        layout->addWidget(button(ui.Command2, QStringLiteral("Command2"), tr("Reset Counters"),
            tr("Resets Last Call and Total Calls charge counters on DodOva")));
        layout->addWidget(caption(QStringLiteral("LabelLastReset"), tr("Last reset:")));
        layout->addWidget(value(ui.LabelRTime, QStringLiteral("LabelRTime")), 1);
        return box;
    }

    // The busy lamp and its caption.
    QWidget* busy()
    {
        auto* area = new QWidget;
        area->setObjectName(QStringLiteral("BusyArea"));
        auto* layout = new QHBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* led = new QLabel;
        led->setObjectName(QStringLiteral("Led"));
        led->setFrameShape(QFrame::Panel);
        led->setFrameShadow(QFrame::Sunken);
        led->setAutoFillBackground(true);
        const int side = led->fontMetrics().height();
        led->setFixedSize(side * 2, side); // wider than a check box, so it reads as a lamp
        ui.Led = led;
        layout->addStretch();
        layout->addWidget(led);
        layout->addWidget(caption(QStringLiteral("LabelBusy"), tr("COM Port Busy")));
        return area;
    }

    QWidget* transfer()
    {
        auto* area = new QWidget;
        area->setObjectName(QStringLiteral("TransferArea"));
        auto* layout = new QHBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addStretch();
        layout->addWidget(button(ui.CommandRead, QStringLiteral("CommandRead"), tr("Receive Settings")));
        layout->addWidget(button(ui.CommandSend, QStringLiteral("CommandSend"), tr("Transmit Settings")));
        return area;
    }
};

} // namespace

// The frames in rows of `columns` (3 as designed; fewer on a narrow screen),
// the identification across them.
void Form1::arrangeFrames(int columns)
{
    QGridLayout* grid = ui_->grid;
    grid->removeWidget(ui_->identification);
    for (QWidget* frame : ui_->frames)
        grid->removeWidget(frame);
    grid->addWidget(ui_->identification, 0, 0, 1, columns);
    for (int i = 0; i < int(ui_->frames.size()); ++i)
        grid->addWidget(ui_->frames[size_t(i)], 1 + i / columns, i % columns);
    for (int c = 0; c < 3; ++c)
        grid->setColumnStretch(c, c < columns ? 1 : 0);
}

// Cost per unit, the busy lamp and the transfer buttons in one row, or
// stacked (cost per unit above the others) where one row would be wider than
// the screen.
void Form1::arrangeBottomRow(bool stacked)
{
    QGridLayout* row = ui_->bottomGrid;
    const auto [cost, busy, transfer] = ui_->bottomItems;
    for (QWidget* w : ui_->bottomItems)
        row->removeWidget(w);
    row->addWidget(cost, 0, 0, 1, stacked ? 2 : 1);
    row->addWidget(busy, stacked ? 1 : 0, stacked ? 0 : 1);
    row->addWidget(transfer, stacked ? 1 : 0, stacked ? 1 : 2);
    for (int c = 0; c < 3; ++c)
        row->setColumnStretch(c, stacked && c == 2 ? 0 : 1);
}

void Form1::buildWindow()
{
    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("SettingsWindow"));
    Builder b{*ui_, this};
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(kWindowMargins, kWindowMargins, kWindowMargins, kWindowMargins);
    ui_->identification = b.identification();
    ui_->frames = {b.phone(1), b.phone(2), b.dte(), b.highLayer(), b.globals(), b.profiles()};
    ui_->grid = grid;
    arrangeFrames(3);
    // The bottom row holds Receive and Transmit: it stays in view below the
    // frames, which scroll on a screen smaller than they need.
    auto* bottom = new QWidget;
    bottom->setObjectName(QStringLiteral("SettingsBottom"));
    auto* row = new QGridLayout(bottom);
    row->setContentsMargins(kWindowMargins, 0, kWindowMargins, kWindowMargins);
    ui_->bottomGrid = row;
    ui_->bottomItems = {b.cost(), b.busy(), b.transfer()};
    arrangeBottomRow(false);
    ui_->content = central;
    ui_->bottomRow = bottom;

    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("SettingsScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    auto* window = new QWidget;
    auto* column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(scroll, 1);
    column->addWidget(bottom);
    setCentralWidget(window);

    ui_->status = new QLabel;
    ui_->status->setObjectName(QStringLiteral("StatusText"));
    ui_->status->setWordWrap(true); // a long message takes a second line, not the window's width
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(ui_->status, 1);
    ui_->pending = new QLabel(tr("Changes not transmitted"));
    ui_->pending->setObjectName(QStringLiteral("PendingText"));
    ui_->pending->setToolTip(tr("Transmit Settings writes them to the DodOva"));
    QFont bold = ui_->pending->font();
    bold.setBold(true);
    ui_->pending->setFont(bold);
    ui_->pending->hide();
    statusBar()->addPermanentWidget(ui_->pending);
}
