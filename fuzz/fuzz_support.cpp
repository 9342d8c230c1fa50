#include "fuzz_entry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <string>

namespace fuzz {

namespace {

std::map<std::string, Harness>& harnesses()
{
    static std::map<std::string, Harness> all;
    return all;
}

} // namespace

bool registerHarness(const char* name, Harness fn)
{
    harnesses()[name] = fn;
    return true;
}

int replayAll(const QString& root)
{
    int run = 0;
    for (const auto& [name, fn] : harnesses()) {
        const QDir dir(root + u'/' + QString::fromStdString(name));
        for (const QString& file : dir.entryList(QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(file));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            std::fprintf(stderr, "%s/%s\n", name.c_str(), qPrintable(file));
            fn(f.readAll());
            ++run;
        }
    }
    return run;
}

void ensureApp()
{
    static int argc = 1;
    static char arg0[] = "corvane-fuzz";
    static char* argv[] = {arg0, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives until the process ends: exit handlers run after other statics went
}

QString scratchPath(const QString& name)
{
    // In memory where the machine has it: the readers write their files atomically, with a sync.
    static QTemporaryDir dir((QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath())
                             + QStringLiteral("/corvane-fuzz-XXXXXX"));
    return dir.filePath(name);
}

void writeScratch(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

} // namespace fuzz
