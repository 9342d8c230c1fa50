#pragma once
// Is a DodOva answering on the channel's port? The part of detection that
// needs no window, shared by the program's start-up and the headless monitor.
#include <QString>

class AtChannel;

// Trace output off, echo on, and the "ATI4" answer must name the device.
bool answersAsDodova(AtChannel& at);

// The case-sensitive name test on an "ATI4" answer: "DodOva", "dodOva",
// "dodova", "Dodova" or the maker's name "Zedevuvi"; capitals only do not count.
bool isDodovaIdentity(const QString& ati4Answer);
