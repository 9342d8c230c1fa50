#pragma once
// Text on its way to a terminal or the journal. Clients, the phone book and the
// line put any character they like into names, identities and the trace; a
// control character passed on verbatim would move the cursor, recolour the
// terminal or start a forged line. Each one is shown as \xHH instead.
#include <QString>
#include <QStringView>

namespace logtext {

// One log line: every control character escaped, line breaks too.
QString line(QStringView text);

// The trace as the panes show it, for a terminal: line breaks kept (CR LF
// becomes LF), every other control character escaped.
QString trace(QStringView text);

} // namespace logtext
