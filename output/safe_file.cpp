#include "output/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "iff/run_time_error.h"

namespace planora {

namespace {
// New files get the usual permissions (0666 less the umask), not mkstemp's 0600.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAll(int fd, std::vector<ByteSpan> pieces) {
    size_t next = 0;
    while (next < pieces.size()) {
        iovec batch[IOV_MAX];
        int count = 0;
        for (size_t i = next; i < pieces.size() && count < IOV_MAX; ++i)
            batch[count++] = {const_cast<uint8_t*>(pieces[i].data), pieces[i].size};
        const ssize_t written = ::writev(fd, batch, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw ErrorFromErrno(errno, true);
        }
        // Step past what was written; a partial write resumes mid-piece.
        size_t left = size_t(written);
        while (next < pieces.size() && left >= pieces[next].size) left -= pieces[next++].size;
        if (left > 0) {
            pieces[next].data += left;
            pieces[next].size -= left;
        }
    }
}
}  // namespace

void WriteFileReplacing(const std::string& path, const std::vector<ByteSpan>& pieces) {
    if (path.empty()) throw RunTimeError(kBadFileNameOrNumber);
    std::string temporary = path + ".planora-XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) throw ErrorFromErrno(errno, true);
    try {
        if (::fchmod(fd, NewFileMode()) != 0) throw ErrorFromErrno(errno, true);
        WriteAll(fd, pieces);
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0) throw ErrorFromErrno(errno, true);
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temporary.c_str());
        throw ErrorFromErrno(err, true);
    }
}

void WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
    WriteFileReplacing(path, std::vector<ByteSpan>{{data, size}});
}

}  // namespace planora
