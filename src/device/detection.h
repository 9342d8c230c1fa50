#pragma once
// Device detection: is a DodOva answering on the chosen port?
#include <QString>

class AtChannel;
class QWidget;

// The start-up probe: the port must open (else the port-error message and
// false), then trace output off, echo on, and the "ATI4" answer must name the
// device.
bool dodOvaExists(AtChannel& at, QWidget* parentForMessages);

// The case-sensitive name test on an "ATI4" answer: "DodOva", "dodOva",
// "dodova", "Dodova" or the maker's name "Zedevuvi"; capitals only do not count.
bool isDodovaIdentity(const QString& ati4Answer);
