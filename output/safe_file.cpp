#include "output/safe_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <climits>

#include "iff/file_system.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
// New files get the usual permissions (0666 less the umask), not mkstemp's 0600.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& path) : path_(path) {
    if (path.empty()) throw RunTimeError(kBadFileNameOrNumber);
    // A short name of its own in the target's folder: the target's name plus
    // a suffix could pass the folder's limit on name length.
    temporary_ = FolderPart(path) + ".planora-XXXXXX";
    fd_ = ::mkstemp(temporary_.data());
    if (fd_ < 0) throw ErrorFromErrno(errno, true);
    if (::fchmod(fd_, NewFileMode()) != 0) {
        const int err = errno;
        ::close(fd_);
        ::unlink(temporary_.c_str());
        throw ErrorFromErrno(err, true);
    }
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void ReplacingFile::WriteAt(uint64_t offset, std::vector<FilePiece> pieces) {
    size_t next = 0;
    while (next < pieces.size()) {
        iovec batch[IOV_MAX];
        int count = 0;
        for (size_t i = next; i < pieces.size() && count < IOV_MAX; ++i)
            batch[count++] = {const_cast<uint8_t*>(pieces[i].data), pieces[i].size};
        const ssize_t written = ::pwritev(fd_, batch, count, off_t(offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            throw ErrorFromErrno(errno, true);
        }
        offset += uint64_t(written);
        // Step past what was written; a partial write resumes mid-piece.
        size_t left = size_t(written);
        while (next < pieces.size() && left >= pieces[next].size) left -= pieces[next++].size;
        if (left > 0) {
            pieces[next].data += left;
            pieces[next].size -= left;
        }
    }
}

void ReplacingFile::Commit() {
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) throw ErrorFromErrno(errno, true);
    if (::rename(temporary_.c_str(), path_.c_str()) != 0) throw ErrorFromErrno(errno, true);
    temporary_.clear();
}

void WriteFileReplacing(const std::string& path, const std::vector<FilePiece>& pieces) {
    ReplacingFile file(path);
    file.WriteAt(0, pieces);
    file.Commit();
}

void WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size) {
    WriteFileReplacing(path, std::vector<FilePiece>{{data, size}});
}

}  // namespace planora
