// Makes the disk look full for the writes of one scope: the process's file
// size limit drops to a few bytes, so a write past it fails with EFBIG (the
// signal it would raise is ignored) as it would on a full file system. Tests
// run as root, where folder permissions cannot make a write fail.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace planora::test {

class FullDisk {
public:
    explicit FullDisk(rlim_t bytes = 64) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace planora::test
