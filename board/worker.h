// A verification worker: a thread that takes the oldest job from the queue
// in the database, keeps its lease while the game replays it (a job whose
// worker died is taken again once its lease runs out), and stores the
// verdict. Workers in many processes, on many machines, share one queue.
#pragma once
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

#include "metrics.h"
#include "verifier.h"

namespace board {

// Wakes the workers of this process when a replay arrives, so they need not
// wait for their next look at the queue.
class JobSignal {
public:
    void Notify();
    // Waits until notified, stopping or the time is up.
    void Wait(double seconds, const std::atomic<bool>& stopping);

private:
    std::mutex lock_;
    std::condition_variable wake_;
    uint64_t count_ = 0;
};

struct WorkerSettings {
    std::string databaseUrl;
    std::string name;          // host:pid:number, stored beside the jobs it holds
    int leaseSeconds = 30;     // a job is taken again this long after its worker last spoke
    double idleSeconds = 1.0;  // between looks at an empty queue
    int mostAttempts = 3;      // a job begun this often and never finished is refused
};

// Runs until stopping is set; a database that fails is told on stderr and
// opened again.
void RunWorker(const WorkerSettings& worker, const VerifierSettings& verifier, Metrics& metrics, JobSignal& signal,
               const std::atomic<bool>& stopping);

}  // namespace board
