#pragma once
// The two lists of numbers in the monitor settings: names for the own numbers
// (three MSNs each of Phone 1, Phone 2 and the DTE port, stored in the
// settings) and the ignore list (ignore.txt in the program folder).
#include "phonebook/phone_to_name.h"

#include <QDialog>
#include <QStringList>
#include <array>

class QLineEdit;
class QPlainTextEdit;
class SettingsStore;

// "Own Numbers": each MSN and the name the outputs show with it. Stored when
// "OK" is pressed. A slot not yet set offers the adapter's MSN of that slot
// (`adapterMsns`, as the settings window read them: Phone 1's three first).
class OwnNumbersDialog : public QDialog {
    Q_OBJECT
public:
    explicit OwnNumbersDialog(SettingsStore& settings, const QStringList& adapterMsns = {}, QWidget* parent = nullptr);
    void store();
    // Each MSN as written ("47 11", "471-1") becomes its digits; one that is
    // no number is named, and the dialog stays for it to be mended.
    void accept() override;

private:
    SettingsStore& settings_;
    std::array<QLineEdit*, 9> numbers_{}, names_{};
    std::array<QString, 9> captions_{};
};

// "Ignored Callers": the ignore list as text, one number or prefix a line,
// read with the user's number plan. "OK" refuses a line that is no phone
// number, naming it; store() writes the file, false when it could not.
class IgnoredCallersDialog : public QDialog {
    Q_OBJECT
public:
    IgnoredCallersDialog(const QString& path, const NumberPlan& plan = {}, QWidget* parent = nullptr);
    bool store();
    void accept() override;

private:
    QString path_;
    NumberPlan plan_;
    QPlainTextEdit* text_ = nullptr;
};
