// Borrowing and giving back the shared connections.
#include "connection_pool.h"

namespace board {

std::unique_ptr<ConnectionPool::Lease> ConnectionPool::Borrow() {
    std::unique_lock<std::mutex> hold(lock_);
    freed_.wait(hold, [&] { return !idle_.empty() || open_ < most_; });
    if (!idle_.empty()) {
        std::unique_ptr<Storage> storage = std::move(idle_.back());
        idle_.pop_back();
        return std::make_unique<Lease>(*this, std::move(storage));
    }
    ++open_;
    hold.unlock();
    try {
        return std::make_unique<Lease>(*this, OpenStorage(url_));
    } catch (...) {
        hold.lock();
        --open_;
        freed_.notify_one();
        throw;
    }
}

void ConnectionPool::GiveBack(std::unique_ptr<Storage> storage, bool failed) {
    std::lock_guard<std::mutex> hold(lock_);
    if (failed) --open_;
    else idle_.push_back(std::move(storage));
    freed_.notify_one();
}

}  // namespace board
