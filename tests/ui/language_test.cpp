// Which translation a "Language" setting and a locale choose.
#include "ui/language.h"

#include <gtest/gtest.h>

TEST(Language, SettingThenLocale)
{
    const char* const cases[][3] = {
        // setting, locale, the translation chosen
        {"", "de_DE", "de"},   // System: the locale's
        {"", "de_AT", "de"},   // any German-speaking country
        {"", "en_US", ""},     // English: the sources' texts
        {"", "C", ""},         // no language at all
        {"", "fr_FR", ""},     // none of ours: English
        {"en", "de_DE", ""},   // the setting wins over the locale
        {"de", "C", "de"},     // also over a C locale
        {"xx", "de_DE", "de"}, // a setting naming no translation: the locale's
    };
    for (const auto& [setting, locale, chosen] : cases) {
        SCOPED_TRACE(std::string(setting) + " / " + locale);
        EXPECT_EQ(language::choose(QLatin1String(setting), QLocale(QLatin1String(locale))).toStdString(), chosen);
    }
}
