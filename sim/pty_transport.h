#pragma once
// The serial line: a pseudo-terminal in raw mode. The program opens and
// closes the port for every command, so the simulator keeps a descriptor of
// the terminal side open itself: the master then never reports a hang-up
// between the program's opens and never needs polling.
#include <string>

namespace sim {

class PtyTransport {
public:
    PtyTransport() = default;
    ~PtyTransport();
    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    // Opens the pseudo-terminal; with a link path, also a symlink to its
    // terminal side (a stale symlink there is replaced, any other file is
    // left alone and reported). Error text, or "" on success.
    std::string open(const std::string& linkPath);
    void close();

    int masterFd() const { return master_; }
    const std::string& devicePath() const { return device_; }
    const std::string& linkPath() const { return link_; }

    // Reads what is there (never blocks); "" when nothing was waiting.
    std::string readAvailable();
    // Writes without blocking. When nobody reads the terminal side and its
    // buffer is full, the rest is dropped, as a serial line drops bytes
    // nobody receives. Returns the number of bytes written.
    std::size_t write(const std::string& bytes);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    std::string link_;
};

} // namespace sim
