// A bounded set of database connections shared by the HTTP threads: a
// request borrows one for its statements and gives it back, so hundreds of
// client connections need only a few database ones (PostgreSQL allows about
// a hundred in all). A connection that failed is dropped, not given back;
// the next borrower opens a fresh one.
#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "storage.h"

namespace board {

class ConnectionPool {
public:
    ConnectionPool(std::string url, int most) : url_(std::move(url)), most_(most) {}

    class Lease {
    public:
        Lease(ConnectionPool& pool, std::unique_ptr<Storage> storage) : pool_(pool), storage_(std::move(storage)) {}
        ~Lease() { pool_.GiveBack(std::move(storage_), failed_); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        Storage& storage() { return *storage_; }
        // The connection is not given back (an error left it in doubt).
        void Failed() { failed_ = true; }

    private:
        ConnectionPool& pool_;
        std::unique_ptr<Storage> storage_;
        bool failed_ = false;
    };

    // Waits for a free connection, opening one while fewer than the most
    // are open. Throws what opening throws.
    std::unique_ptr<Lease> Borrow();

private:
    std::string url_;
    int most_;
    int open_ = 0;
    std::vector<std::unique_ptr<Storage>> idle_;
    std::mutex lock_;
    std::condition_variable freed_;

    void GiveBack(std::unique_ptr<Storage> storage, bool failed);
};

// Runs use(storage) on a borrowed connection; one that threw is dropped.
template <class F>
auto WithStorage(ConnectionPool& pool, F&& use) {
    const std::unique_ptr<ConnectionPool::Lease> lease = pool.Borrow();
    try {
        return use(lease->storage());
    } catch (...) {
        lease->Failed();
        throw;
    }
}

}  // namespace board
