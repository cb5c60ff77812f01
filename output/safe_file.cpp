#include "output/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "iff/run_time_error.h"

namespace planora {

namespace {
// New files get the usual permissions (0666 less the umask), not mkstemp's 0600.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw ErrorFromErrno(errno, true);
        }
        data += written;
        size -= size_t(written);
    }
}
}  // namespace

void WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
    if (path.empty()) throw RunTimeError(kBadFileNameOrNumber);
    std::string temporary = path + ".planora-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ErrorFromErrno(errno, true);
    try {
        if (::fchmod(fd, NewFileMode()) != 0) throw ErrorFromErrno(errno, true);
        WriteAll(fd, data, size);
        if (::close(fd) != 0) {
            const int err = errno;
            ::unlink(temporary.c_str());
            throw ErrorFromErrno(err, true);
        }
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        throw ErrorFromErrno(err, true);
    }
}

}  // namespace planora
