#pragma once
// The program folder: list.txt, book.txt, log.txt, ring.wav, help.htm and the
// pictures live here. Start-up resolves it (--home, CORVANE_HOME, the
// executable's folder when writable, else the per-user data folder) and makes
// it the working directory, so bare names such as "noname.jpg" resolve too.
#include <QString>

namespace ProgramFolder {

QString path();
void setPath(const QString& folder);
QString filePath(const QString& name);

} // namespace ProgramFolder
