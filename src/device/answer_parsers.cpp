#include "device/answer_parsers.h"

namespace {

// Positions are 1-based, 0 meaning "not found": a search cannot start from a
// position that was not found, so one missing label empties all after it.
int findFrom(int start, const QString& text, const QString& what)
{
    if (start < 1 || start > text.size())
        return 0;
    return int(text.indexOf(what, start - 1)) + 1;
}

// `length` characters from 1-based `start`; a negative length cuts nothing.
QString cut(const QString& text, int start, int length)
{
    if (start < 1 || length < 0)
        return {};
    return text.mid(start - 1, length);
}

// Values of "label: value" lines: each starts two characters after its colon
// (colon and one separator) and runs to the line end.
template <std::size_t N>
std::array<QString, N> colonValues(const QString& answer)
{
    std::array<QString, N> values;
    int pos = 1;
    for (std::size_t j = 0; j < N; ++j) {
        const int colon = findFrom(pos, answer, QStringLiteral(":"));
        const int end = findFrom(colon, answer, QStringLiteral("\r\n"));
        values[j] = cut(answer, colon + 2, end - colon - 2);
        pos = end;
    }
    return values;
}

} // namespace

std::array<QString, 9> parseMsns(const QString& answer)
{
    // Each MSN line: label, three separators, number, CR LF. The second and
    // third port's group have a heading of 11 and 12 characters, and 7
    // characters follow the last number.
    static constexpr int kTail[9] = {9, 9, 20, 9, 9, 21, 9, 9, 13};
    int p[10] = {};
    for (int k = 0; k < 9; ++k) {
        const QString label = QStringLiteral("MSN%1").arg(k % 3 + 1);
        p[k] = k == 0 ? findFrom(1, answer, label) : findFrom(p[k - 1], answer, label);
    }
    p[9] = int(answer.size());
    std::array<QString, 9> values;
    for (int k = 0; k < 9; ++k)
        if (p[k] > 0)
            values[k] = cut(answer, p[k] + 7, p[k + 1] - p[k] - kTail[k]);
    return values;
}

std::array<QString, 3> parseOwnNumbers(const QString& answer)
{
    return colonValues<3>(answer);
}

std::array<QString, 6> parseCharges(const QString& answer)
{
    return colonValues<6>(answer);
}
