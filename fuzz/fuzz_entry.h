#pragma once
// Each harness is one function over an input's bytes. The fuzzer build wraps
// it as libFuzzer's entry point; the regression test (tests/fuzz) calls the
// same function over the inputs saved from earlier findings.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

using Harness = void (*)(const QByteArray& data);

// Registers a harness under its name; the regression test replays
// tests/fuzz/data/<name>/* through it.
bool registerHarness(const char* name, Harness fn);
// Replays every file under root/<name>/ through its harness; the count run.
int replayAll(const QString& root);

// A QCoreApplication for harnesses that need an event loop or Qt's text codecs.
void ensureApp();
// A private folder for the harnesses' files, made once per process.
QString scratchPath(const QString& name);
void writeScratch(const QString& path, const QByteArray& data);

} // namespace fuzz

// An invariant the reader must keep: a violation is a finding like a crash.
#define FUZZ_CHECK(cond)                                                                                               \
    do {                                                                                                               \
        if (!(cond)) {                                                                                                 \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #cond, __FILE__, __LINE__);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

#ifdef CORVANE_FUZZER
#define CORVANE_FUZZ_HARNESS(name, fn)                                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                                            \
    {                                                                                                                  \
        fuzz::ensureApp();                                                                                             \
        fn(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));                             \
        return 0;                                                                                                      \
    }
#else
#define CORVANE_FUZZ_HARNESS(name, fn)                                                                                 \
    [[maybe_unused]] static const bool registered_##fn = fuzz::registerHarness(name, fn);
#endif
