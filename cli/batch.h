// Batches of inputs: outputs written on worker threads while the converter
// loads the next pictures, with everything printed in input order.
//
// The loads stay one after another in the converter's one picture context,
// since the colour tables carry over from picture to picture; only the
// writing of a loaded picture (PNG packing, BMP and raw files) is handed to a
// worker, with a copy of the context. Each input's messages and printed text
// are held until the inputs before it are done, so the output is the same
// whatever the number of threads; so are the files and the exit status.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace planora::cli {

class Batch {
public:
    // threads: 1 writes everything on the calling thread. progress: a line on
    // err ("12/1000") redrawn as inputs finish, for a terminal.
    Batch(int threads, size_t inputs, bool progress, std::ostream& out, std::ostream& err);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // The streams the converter prints to: they go to the current input's
    // held text between BeginInput and EndInput.
    std::ostream& Out() { return out_; }
    std::ostream& Err() { return err_; }

    bool Threaded() const { return !workers_.empty(); }
    void BeginInput();
    void EndInput(bool converted);
    // Runs write on a worker; it prints its failure to the stream it is
    // given and returns whether the output was written. `target` is the path
    // it writes.
    void Defer(const std::string& target, std::function<bool(std::ostream& err)> write);
    // Returns once no pending write has one of these paths as its target, so
    // that a later input sees the file as the earlier write leaves it.
    void WaitForWrites(const std::vector<std::string>& paths);
    // Waits for every write and prints what is left; true when every input
    // was converted.
    bool Finish();

private:
    struct Slot {
        std::stringbuf Out, Err;
        std::stringbuf WriteErr;  // the worker's messages, after the loader's
        bool Loaded = false;   // EndInput was called
        int Pending = 0;       // writes still running
        bool Converted = true;
    };
    void Work();
    // Prints the finished inputs at the front; the lock is held.
    void PrintFinished(std::unique_lock<std::mutex>& lock);
    void DrawProgress();

    std::ostream& realOut_;
    std::ostream& realErr_;
    std::ostream out_;
    std::ostream err_;
    const bool held_;  // text is held per input (threads or progress)
    const bool progress_;
    const size_t inputs_;
    size_t printed_ = 0;
    bool allConverted_ = true;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Slot>> slots_;
    std::deque<std::function<void()>> queue_;
    std::multiset<std::string> pendingTargets_;
    size_t pendingWrites_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace planora::cli
