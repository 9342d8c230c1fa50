// corvane-config: the DodOva's configuration from the command line.
#include "common/port_argument.h"
#include "common/program_folder.h"
#include "common/settings_store.h"
#include "tools/config_options.h"
#include "tools/config_run.h"

#include <QCoreApplication>
#include <QFileInfo>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane"));
    ConfigOptions options = parseConfigOptions(app.arguments().mid(1));
    if (const int status = commandLineExit(options, "corvane-config", configUsage()); status >= 0)
        return status;
    options.port = portFromCommandLine(options.port); // before the program folder becomes the working one
    if (options.verb == ConfigVerb::Backup || options.verb == ConfigVerb::Restore)
        options.args[0] = QFileInfo(options.args[0]).absoluteFilePath(); // the file named from here
    ProgramFolder::setUp(options.home);
    ConfigRun run(options, SettingsStore::user());
    return run.run();
}
