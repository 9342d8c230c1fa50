#include "monitor/window/number_settings.h"

#include "common/atomic_file.h"
#include "common/settings_keys.h"
#include "common/settings_store.h"
#include "common/user_text.h"
#include "phonebook/ignore_list.h"
#include "phonebook/number_place.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr const char* kPorts[] = {
    QT_TRANSLATE_NOOP("OwnNumbersDialog", "Phone 1"),
    QT_TRANSLATE_NOOP("OwnNumbersDialog", "Phone 2"),
    QT_TRANSLATE_NOOP("OwnNumbersDialog", "DTE port"),
};
constexpr int kSlotsPerPort = 3;
constexpr int kMostMsnDigits = 20;    // as the adapter keeps them
constexpr int kMostWrittenChars = 40; // with spaces and dashes

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

OwnNumbersDialog::OwnNumbersDialog(SettingsStore& settings, const QStringList& adapterMsns, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("OwnNumbersDialog"));
    setWindowTitle(tr("Own Numbers"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("MSN"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Name shown with it"), this), 0, 2);
    for (int i = 0; i < key::kMsnSlots; ++i) {
        const QString caption = tr("%1 MSN%2").arg(tr(kPorts[i / kSlotsPerPort])).arg(i % kSlotsPerPort + 1);
        const QString stored = settings.read(key::msnNumber(i + 1));
        numbers_[size_t(i)] = new QLineEdit(stored.isEmpty() ? adapterMsns.value(i).trimmed() : stored, this);
        numbers_[size_t(i)]->setObjectName(QStringLiteral("TextMsnNumber%1").arg(i + 1));
        numbers_[size_t(i)]->setMaxLength(kMostWrittenChars);
        captions_[size_t(i)] = caption;
        names_[size_t(i)] = new QLineEdit(settings.read(key::msnName(i + 1)), this);
        names_[size_t(i)]->setObjectName(QStringLiteral("TextMsnName%1").arg(i + 1));
        names_[size_t(i)]->setMaxLength(40);
        grid->addWidget(new QLabel(caption, this), i + 1, 0);
        grid->addWidget(numbers_[size_t(i)], i + 1, 1);
        grid->addWidget(names_[size_t(i)], i + 1, 2);
    }
    grid->setColumnStretch(2, 1);
    auto* note = new QLabel(tr("The name appears with the MSN in desktop notifications, NCID, hooks and JSON; "
                               "the call list keeps the digits."),
        this);
    note->setWordWrap(true);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(grid);
    rows->addWidget(note);
    rows->addWidget(okCancel(this));
    connect(this, &QDialog::accepted, this, &OwnNumbersDialog::store);
}

void OwnNumbersDialog::accept()
{
    for (int i = 0; i < key::kMsnSlots; ++i) {
        QLineEdit& field = *numbers_[size_t(i)];
        const QString written = field.text().trimmed();
        if (written.isEmpty())
            continue;
        const std::optional<QString> digits = NumberPlace().digitsOf(written);
        if (!digits || digits->size() > kMostMsnDigits) {
            field.setFocus();
            QMessageBox::warning(this, windowTitle(),
                tr("%1: \"%2\" is not an MSN. Write its digits (spaces and dashes are fine).")
                    .arg(captions_[size_t(i)], written));
            return;
        }
        field.setText(*digits);
    }
    QDialog::accept();
}

void OwnNumbersDialog::store()
{
    for (int i = 0; i < key::kMsnSlots; ++i) {
        settings_.write(key::msnNumber(i + 1), numbers_[size_t(i)]->text().trimmed());
        settings_.write(key::msnName(i + 1), names_[size_t(i)]->text().trimmed());
    }
}

IgnoredCallersDialog::IgnoredCallersDialog(const QString& path, const NumberPlan& plan, QWidget* parent)
    : QDialog(parent), path_(path), plan_(plan)
{
    setObjectName(QStringLiteral("IgnoredCallersDialog"));
    setWindowTitle(tr("Ignored Callers"));
    auto* note = new QLabel(tr("One number a line; a * at the end ignores every number starting so "
                               "(0900*). These callers ring no sound and are announced nowhere, "
                               "but their calls are still logged."),
        this);
    note->setWordWrap(true);
    text_ = new QPlainTextEdit(usertext::readFile(path), this);
    text_->setObjectName(QStringLiteral("TextIgnored"));
    auto* rows = new QVBoxLayout(this);
    rows->addWidget(note);
    rows->addWidget(text_, 1);
    rows->addWidget(okCancel(this));
    // Enter starts a new line in the list; Ctrl+Enter is OK, as in other editors' dialogs.
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QDialog::accept);
    resize(420, 360);
}

// A line that is no phone number would be left out when the list is read:
// it is named, and the cursor goes to it for the user to mend.
void IgnoredCallersDialog::accept()
{
    const std::optional<IgnoreList::Refused> refused = IgnoreList::firstRefused(text_->toPlainText(), plan_);
    if (!refused)
        return QDialog::accept();
    QTextCursor cursor(text_->document()->findBlockByNumber(refused->line - 1));
    cursor.movePosition(QTextCursor::EndOfBlock);
    text_->setTextCursor(cursor);
    text_->setFocus();
    QMessageBox::warning(this, windowTitle(),
        tr("Line %1: \"%2\" is not a phone number. Write a number (spaces, dashes, brackets and a leading + are "
           "fine) or a prefix ending in *, or start a comment with #.")
            .arg(refused->line)
            .arg(refused->entry));
}

bool IgnoredCallersDialog::store()
{
    QString text = text_->toPlainText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    return writeFileAtomically(path_, usertext::encode(text));
}
