// The worker's loop: claim, verify with the lease renewed about three times
// a lease, finish; an empty queue is looked at again after a short wait or
// when a replay arrives.
#include "worker.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

namespace board {

namespace {

int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// One job taken and done; false when the queue was empty.
bool DoOneJob(Storage& storage, const WorkerSettings& worker, const VerifierSettings& verifier, Metrics& metrics,
              const std::atomic<bool>& stopping) {
    const std::optional<Job> job = storage.Claim(worker.name, Now(), Now() + worker.leaseSeconds);
    if (!job) return false;
    Verdict verdict;
    if (job->attempts > worker.mostAttempts) {
        verdict = Judged(job->id, "refused",
                         "its verification was begun " + std::to_string(job->attempts - 1) +
                             " times and never finished (the worker stopped each time)");
    } else {
        int64_t renewed = Now();
        verdict = Verify(*job, verifier, [&] {
            if (stopping) return false;
            if (Now() - renewed >= worker.leaseSeconds / 3) {
                renewed = Now();
                storage.Renew(job->id, worker.name, renewed + worker.leaseSeconds);
            }
            return true;
        });
    }
    if (stopping && verdict.status.empty()) {
        storage.Release(job->id, worker.name);  // for the next worker, at once
        return true;
    }
    if (verdict.status.empty()) {
        // The board's own trouble: the job waits for its lease to run out
        // and is tried again, by this worker or another.
        std::cerr << "kavrix-board: replay " << job->id << " not verified this time: " << verdict.reason << "\n";
        return true;
    }
    if (storage.Finish(verdict, worker.name, Now())) metrics.Verified(verdict.status, verdict.seconds);
    return true;
}

}  // namespace

void JobSignal::Notify() {
    std::lock_guard<std::mutex> hold(lock_);
    ++count_;
    wake_.notify_all();
}

void JobSignal::Wait(double seconds, const std::atomic<bool>& stopping) {
    std::unique_lock<std::mutex> hold(lock_);
    const uint64_t seen = count_;
    wake_.wait_for(hold, std::chrono::duration<double>(seconds), [&] { return count_ != seen || stopping.load(); });
}

void RunWorker(const WorkerSettings& worker, const VerifierSettings& verifier, Metrics& metrics, JobSignal& signal,
               const std::atomic<bool>& stopping) {
    std::unique_ptr<Storage> storage;
    while (!stopping) {
        try {
            if (!storage) storage = OpenStorage(worker.databaseUrl);
            if (!DoOneJob(*storage, worker, verifier, metrics, stopping)) signal.Wait(worker.idleSeconds, stopping);
        } catch (const std::exception& e) {
            std::cerr << "kavrix-board: worker " << worker.name << ": " << e.what() << "\n";
            storage.reset();
            signal.Wait(2.0, stopping);
        }
    }
}

}  // namespace board
