#include "sim/pty_transport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

PtyTransport::~PtyTransport()
{
    close();
}

std::string PtyTransport::open(const std::string& linkPath)
{
    close();
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
        return std::string("openpty failed: ") + std::strerror(errno);
    device_ = name;
    termios t{};
    if (::tcgetattr(slave_, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B115200);
        ::cfsetospeed(&t, B115200);
        ::tcsetattr(slave_, TCSANOW, &t);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    if (!linkPath.empty()) {
        struct stat st {};
        if (::lstat(linkPath.c_str(), &st) == 0) {
            if (!S_ISLNK(st.st_mode))
                return "will not replace " + linkPath + ": not a symlink";
            ::unlink(linkPath.c_str());
        }
        if (::symlink(device_.c_str(), linkPath.c_str()) != 0)
            return "cannot create link " + linkPath + ": " + std::strerror(errno);
        link_ = linkPath;
    }
    return {};
}

void PtyTransport::close()
{
    if (!link_.empty()) {
        // Only our own link goes: another simulator may have taken the path.
        char target[256] = {};
        const auto n = ::readlink(link_.c_str(), target, sizeof target - 1);
        if (n > 0 && device_ == std::string(target, static_cast<std::size_t>(n)))
            ::unlink(link_.c_str());
        link_.clear();
    }
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

std::string PtyTransport::readAvailable()
{
    std::string data;
    char buf[4096];
    while (master_ >= 0 && data.size() < 65536) {
        const auto n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read; EIO cannot last while we hold the terminal side
    }
    return data;
}

std::size_t PtyTransport::write(const std::string& bytes)
{
    std::size_t done = 0;
    while (master_ >= 0 && done < bytes.size()) {
        const auto n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    return done;
}

} // namespace sim
