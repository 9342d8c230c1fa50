#pragma once
// Everything the monitor takes from the user's settings, as one value. The
// window, corvane-monitor and corvane-replay build it with readMonitorInputs
// and hand it to the engine; the monitor settings window hands it over again
// after every change. Call tracking reads these, never the settings store.
#include "monitor/engine/call_type.h"
#include "phonebook/book_file.h"
#include "phonebook/book_lookup.h"
#include "phonebook/ignore_list.h"
#include "phonebook/number_place.h"
#include "phonebook/phone_to_name.h"

#include <QHash>
#include <QString>

class SettingsStore;

struct MonitorInputs {
    int debugLevel = 0;      // 0 quiet ... 5 every trace pane; from the command line
    QString dialPrefix;      // DialPrefixNumber: taken off dialled numbers in the call list
    float unitCost = 0.026f; // UnitCost: price of one charge unit
    // Which calls enter the call list: LogAns, LogDial, LogRing, LogTry, LogCID.
    bool logAnswer = true, logCalled = true, logRing = true, logTry = true, logCid = true;
    bool popup = false;                           // Popup: an announced caller brings the window up
    bool callerIdSound = false;                   // IDSound: an announced caller plays wavFile
    QString wavFile;                              // WavFile
    bool ringSound = false;                       // Ring: the window plays wavFile while a channel rings
    NumberPlan numberPlan;                        // CountryCode, AreaCode: the other forms of a number
    QString placeLanguage = QStringLiteral("en"); // Language, else the locale's: what places are named in
    std::shared_ptr<PlaceCache> placeCache = std::make_shared<PlaceCache>(); // shared by copies, as bookCache
    QString bookPath;                           // the book.txt that names callers; "" for none
    std::shared_ptr<const BookLookup> contacts; // the address-book folder's, after the book; null for none
    // book.txt as last read; copies of these inputs share it, each reading of the settings has its own.
    std::shared_ptr<BookCache> bookCache = std::make_shared<BookCache>();
    IgnoreList ignored;               // ignore.txt: callers announced nowhere, still logged
    QHash<QString, QString> msnNames; // MsnNumber1..9 -> MsnName1..9: own numbers' names

    // The name the user gave an own number; "" for none.
    QString msnName(const QString& msn) const { return msnNames.value(msn); }

    // PhoneToName with the book, plan, contacts and cache above.
    QString nameFor(QString& number) const
    {
        return PhoneToName(number, bookPath, numberPlan, contacts, bookCache.get());
    }

    // Where a number the book does not name is from, and its kind; nothing for a text that is no number.
    std::optional<PlaceOfNumber> placeOf(QStringView number) const
    {
        return placeCache->of(number, numberPlan, placeLanguage);
    }

    // Whether an ended call of this type enters the call list.
    bool logs(CallType type) const;
    bool operator==(const MonitorInputs&) const = default;
};

// What the caller-ID announcement needs of the view showing the monitor,
// pushed by the view whenever it changes. Without a view the monitor counts
// as hidden and in normal state.
struct ViewState {
    bool visible = false;
    bool normal = true; // neither minimised nor maximised
};

// The inputs as the store holds them: a flag counts as on only when its text
// reads as the number 1, a unit cost that is no price (regional::toCost) as the
// default, said once on the log; the phone book
// is the program folder's. The trace level is not stored: the caller's.
MonitorInputs readMonitorInputs(const SettingsStore& store, int debugLevel);
