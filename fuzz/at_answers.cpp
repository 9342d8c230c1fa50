// The device's list answers and the body cut of an echoed reply. Every value
// a parser returns is a piece of the answer it was given (a missing label
// yields an empty value, never text from elsewhere), and the body is a piece
// of the reply.
#include "fuzz_entry.h"

#include "device/answer_parsers.h"
#include "device/at_channel.h"

namespace {

template <std::size_t N>
void checkPieces(const std::array<QString, N>& values, const QString& answer)
{
    for (const QString& v : values)
        FUZZ_CHECK(answer.contains(v));
}

void atAnswers(const QByteArray& data)
{
    const QString reply = QString::fromLatin1(data); // the port's bytes, one character each
    const QString body = AtChannel::cutAnswerBody(reply);
    FUZZ_CHECK(reply.contains(body));
    for (const QString& answer : {reply, body}) {
        checkPieces(parseMsns(answer), answer);
        checkPieces(parseOwnNumbers(answer), answer);
        checkPieces(parseCharges(answer), answer);
    }
}

} // namespace

CORVANE_FUZZ_HARNESS("at_answers", atAnswers)
