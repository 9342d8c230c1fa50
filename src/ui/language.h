#pragma once
// The language of the program's texts. The sources hold them in English, and
// English is what shows without a translation; a translation (ours built into
// the program, Qt's own for the standard dialogs) is chosen by the "Language"
// setting, else by the languages of the user's locale.
#include <QLocale>
#include <QString>

namespace language {

// The languages with a translation of ours: the setting's value and the name
// the choice shows, in the language itself.
struct Translation {
    const char* code;
    const char* name;
};
inline constexpr Translation kTranslations[] = {{"de", "Deutsch"}};
// The setting's value for English: the texts as the sources hold them.
inline constexpr char kEnglish[] = "en";

// The translation for a setting ("" for none: English). An empty setting, or
// one naming no language we have, follows the locale's languages in order
// until English or one we have; a C locale is English.
QString choose(const QString& setting, const QLocale& locale = QLocale::system());

// Puts the translation of `code` in place in the running application ("" takes
// every translation out: English), for every text translated from then on.
void install(const QString& code);
// install(choose()) for the "Language" setting and the system's locale.
void installChosen();
// The code installed last ("" for English).
QString current();

// The help page in the current language, in the program folder: help_de.htm
// when it is there, else help.htm.
QString helpPageName();

} // namespace language
