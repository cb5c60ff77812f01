#include "cli/batch.h"

#include <filesystem>

namespace planora::cli {

namespace {
// Writes waiting beyond this many per thread hold the loads back, which bounds
// the copies of loaded pictures in memory.
constexpr size_t kQueuedPerThread = 2;

std::string SamePathKey(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}
}  // namespace

Batch::Batch(int threads, size_t inputs, bool progress, std::ostream& out, std::ostream& err)
    : realOut_(out),
      realErr_(err),
      out_(out.rdbuf()),
      err_(err.rdbuf()),
      held_(threads > 1 || progress),
      progress_(progress),
      inputs_(inputs) {
    // The calling thread loads and mostly waits: the writes get all the
    // threads asked for.
    if (threads > 1)
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

Batch::~Batch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (auto& worker : workers_) worker.join();
}

void Batch::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;
        auto task = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

void Batch::BeginInput() {
    std::lock_guard lock(mutex_);
    slots_.push_back(std::make_unique<Slot>());
    if (held_) {
        out_.rdbuf(&slots_.back()->Out);
        err_.rdbuf(&slots_.back()->Err);
    }
}

void Batch::EndInput(bool converted) {
    out_.flush();
    err_.flush();
    std::unique_lock lock(mutex_);
    Slot& slot = *slots_.back();
    slot.Loaded = true;
    if (!converted) slot.Converted = false;
    out_.rdbuf(realOut_.rdbuf());
    err_.rdbuf(realErr_.rdbuf());
    PrintFinished(lock);
}

void Batch::Defer(const std::string& target, std::function<bool(std::ostream& err)> write) {
    std::unique_lock lock(mutex_);
    Slot* slot = slots_.back().get();
    if (workers_.empty()) {
        lock.unlock();
        std::ostream err(&slot->Err);
        if (!write(held_ ? err : realErr_)) slot->Converted = false;
        return;
    }
    // Hold the load back while the workers have enough to do, printing what finishes meanwhile.
    while (queue_.size() >= kQueuedPerThread * workers_.size()) {
        changed_.wait(lock);
        PrintFinished(lock);
    }
    const std::string key = SamePathKey(target);
    ++slot->Pending;
    ++pendingWrites_;
    pendingTargets_.insert(key);
    queue_.push_back([this, slot, key, write = std::move(write)] {
        std::ostream err(&slot->WriteErr);
        const bool written = write(err);
        {
            std::lock_guard lock(mutex_);
            if (!written) slot->Converted = false;
            --slot->Pending;
            --pendingWrites_;
            pendingTargets_.erase(pendingTargets_.find(key));
        }
        changed_.notify_all();
    });
    lock.unlock();
    changed_.notify_all();
}

void Batch::WaitForWrites(const std::vector<std::string>& paths) {
    if (workers_.empty()) return;
    std::vector<std::string> keys;
    for (const auto& path : paths) keys.push_back(SamePathKey(path));
    std::unique_lock lock(mutex_);
    const auto pending = [&] {
        for (const auto& key : keys)
            if (pendingTargets_.count(key)) return true;
        return false;
    };
    while (pending()) changed_.wait(lock);
}

void Batch::PrintFinished(std::unique_lock<std::mutex>&) {
    bool printedAny = false;
    while (!slots_.empty() && slots_.front()->Loaded && slots_.front()->Pending == 0) {
        Slot& slot = *slots_.front();
        const std::string err = slot.Err.str() + slot.WriteErr.str(), out = slot.Out.str();
        if (progress_ && !err.empty()) realErr_ << "\r\033[K";
        realErr_ << err;
        realOut_ << out;
        if (!slot.Converted) allConverted_ = false;
        slots_.pop_front();
        ++printed_;
        printedAny = true;
    }
    if (printedAny && held_) {
        realOut_.flush();
        DrawProgress();
        realErr_.flush();
    }
}

void Batch::DrawProgress() {
    if (!progress_) return;
    realErr_ << "\r\033[K";
    if (printed_ < inputs_) realErr_ << "planora-convert: " << printed_ << "/" << inputs_;
}

bool Batch::Finish() {
    std::unique_lock lock(mutex_);
    while (pendingWrites_ > 0 || !slots_.empty()) {
        PrintFinished(lock);
        if (pendingWrites_ > 0) changed_.wait(lock);
    }
    if (progress_) {
        realErr_ << "\r\033[K";
        realErr_.flush();
    }
    return allConverted_;
}

}  // namespace planora::cli
