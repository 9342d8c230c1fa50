#include "fuzz_entry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <memory>
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
    static std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);
}

QString scratchPath(const QString& name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

void writeScratch(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(data);
}

} // namespace fuzz
