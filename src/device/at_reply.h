#pragma once
// One command's answer as the settings window's steps see it: the text
// SendAT returned and whether the device answered at all.
#include <QString>
#include <utility>

// Answered with "OK"; refused with "ERROR" (or failed by the 2 s limit or the
// latch); no answer in time; or not sent because the device-absent latch was set.
enum class AtOutcome { Answered, Refused, Unanswered, NotSent };

struct AtReply {
    QString text;
    AtOutcome outcome = AtOutcome::Answered;

    AtReply(QString t = {}, AtOutcome o = AtOutcome::Answered) : text(std::move(t)), outcome(o) {}
    // False when nothing came back: what the answer would have filled is left as it is.
    bool arrived() const { return outcome == AtOutcome::Answered || outcome == AtOutcome::Refused; }
};
