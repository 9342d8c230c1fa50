#pragma once
// Device detection at start-up: is a DodOva answering on the chosen port?
#include "device/dodova_probe.h"

class AtChannel;
class QWidget;

// The start-up probe: the port must open (else the port-error message and
// false), then the adapter must answer as a DodOva.
bool dodOvaExists(AtChannel& at, QWidget* parentForMessages);
