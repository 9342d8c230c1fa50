// PhoneToName on a 10,000-contact book.txt, a miss reads the whole file.
#include "phonebook/book_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_PhoneToNameMiss(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.txt");
    QList<BookEntry> entries;
    for (int i = 0; i < 10000; ++i)
        entries.append(
            BookEntry{QStringLiteral("Contact %1").arg(i), QStringLiteral("0301%1").arg(i, 6, 10, QChar(u'0')),
                QStringLiteral("-"), QStringLiteral("0171%1").arg(i, 7, 10, QChar(u'0')), QStringLiteral("-"),
                QStringLiteral("/home/user/pictures/contact%1.jpg").arg(i)});
    BookFile::write(path, entries);
    for (auto _ : state) {
        QString number = QStringLiteral("0899999999");
        benchmark::DoNotOptimize(PhoneToName(number, path));
    }
}
BENCHMARK(BM_PhoneToNameMiss)->Unit(benchmark::kMicrosecond);

} // namespace
