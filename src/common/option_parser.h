#pragma once
// The command line of each of our programs: flags, options with a value
// ("--opt value" or "--opt=value") and the arguments without a leading "-".
// A value missing, empty or looking like the next option is an error, so
// "--port --home x" does not take "--home" as a device; a lone "-" is a value
// (standard output). Any other argument beginning with "-" that the program
// does not know is an unknown option. Every argument is looked at, so --help
// and --version win over errors; the first error is the one reported.
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The call monitor's trace levels run from 0 (none) to this one.
inline constexpr int kHighestDebugLevel = 5;
// Exit status of a wrong command line.
inline constexpr int kUsageErrorStatus = 2;

// What every program's command line says besides its own options.
struct CommandLineStatus {
    bool help = false;    // -h, --help
    bool version = false; // --version
    QString error;        // the first thing wrong with the command line; "" when none
};

class OptionParser {
public:
    // Takes a value or an argument; false when it is wrong, with `why` saying
    // so (left empty: "bad value for NAME: VALUE").
    using Take = std::function<bool(const QString& value, QString& why)>;

    explicit OptionParser(CommandLineStatus& status);

    void flag(const QString& name, bool* on);
    void flag(const QString& name, std::function<void()> seen);
    void option(const QString& name, QString* value);
    void option(const QString& name, Take take);
    // A trace level, 0 ... kHighestDebugLevel.
    void debugLevel(const QString& name, int* level);
    // An option whose value may be left out: "--opt=V" always gives V, "--opt V"
    // only when takesNext(V).
    void optionalValue(const QString& name, bool* given, QString* value, std::function<bool(const QString&)> takesNext);
    // Arguments without a leading "-"; without this each is "unexpected argument".
    void arguments(Take take);
    // "NAME FILE": the options in FILE are taken before the command line's, so
    // the command line wins. One "key = value" per line, the key an option's
    // name without "--", a flag's value yes or no; "#" begins a comment line.
    void optionsFile(const QString& name);

    // The arguments without the program name.
    void parse(const QStringList& args);

private:
    struct Option {
        QString name;
        Take take;                                // an option with a value
        std::function<void()> seen;               // a flag
        std::function<bool(const QString&)> next; // an optional value: whether the next argument is it
        bool* given = nullptr;
    };

    bool takeOption(const QStringList& args, qsizetype& i, const Option& o);
    void fail(const QString& why);
    // The options file's lines as the arguments they stand for.
    QStringList fileArguments(const QString& path);
    QStringList argumentOf(const QString& key, const QString& value, const QString& where);
    void parseArguments(const QStringList& args);

    CommandLineStatus& status_;
    std::vector<Option> options_;
    Take arguments_;
    QString optionsFile_; // the option naming the file; "" when there is none
};

// What a program does first with its command line: --help prints `usage` and
// --version "PROGRAM 4.0.0" on standard output (status 0); a wrong command line
// is named on standard error with the usage (status 2). -1: go on.
int commandLineExit(const CommandLineStatus& status, const char* program, const QString& usage);
