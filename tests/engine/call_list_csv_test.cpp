// CSV fields a spreadsheet opens: no cell runs as a formula, and the list's
// own plain values stay as they are.
#include "monitor/engine/call_list_csv.h"

#include <gtest/gtest.h>

TEST(CallListCsv, FormulasBecomeTextPlainValuesStay)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"x(=HYPERLINK("http://x.example","Anna"))x", R"x("'=HYPERLINK(""http://x.example"",""Anna"")")x"},
        {"+SUM(A1:A9)", "'+SUM(A1:A9)"},
        {"-2+3", "'-2+3"},
        {"@cmd", "'@cmd"},
        {"\t=1+1", "\"'\t=1+1\""},
        {"\r=1+1", "\"'\r=1+1\""},
        {"- Office -", "'- Office -"},
        {"-", "-"},                     // no number, duration or charge information
        {"+4930123456", "+4930123456"}, // a number in international form
        {"-1.50", "-1.50"},
        {"-1,50", "\"-1,50\""},
        {"01.20", "01.20"},
        {"Anna = Bob", "Anna = Bob"},
        {"", ""},
    };
    for (const auto& [value, written] : cases)
        EXPECT_EQ(calllistcsv::field(QString::fromUtf8(value)), QString::fromUtf8(written)) << value;
}
