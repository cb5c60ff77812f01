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
    explicit FullDisk(rlim_t bytes = 64) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limited{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    void (*oldHandler_)(int);
    rlimit saved_{};
};

}  // namespace planora::test
