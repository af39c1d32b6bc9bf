#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CKeywordFileTest;

// Tests collection files for the keywords on worker threads while the calling thread asks for
// the results in record order. The workers take the locations in order and run ahead; they
// touch nothing but their own file test and their result slots, so the caller keeps the store,
// the ports and the windows to itself. Memory stays at one read buffer per worker and one byte
// per location.
class CKeywordTestPool {
public:
    // With workers 0 (or when no thread can be started) each file is tested on the calling
    // thread when its result is asked for. The locations must outlive the pool.
    CKeywordTestPool(const std::vector<std::string>& locations, const std::vector<std::string>& keywords, bool noCase,
                     unsigned workers);
    // Stops the workers (a file being read is given up) and waits for them.
    ~CKeywordTestPool();
    CKeywordTestPool(const CKeywordTestPool&) = delete;
    CKeywordTestPool& operator=(const CKeywordTestPool&) = delete;

    // Whether location i holds every keyword; waits until a worker has tested it.
    bool Holds(std::size_t i);
    // Waits until location i is tested (without workers: does nothing; Holds tests).
    void WaitFor(std::size_t i);

    // Two workers a core, at most eight: a read that waits for the disk, or a core taken by
    // another program for a moment, then leaves the other worker of that core to go on.
    static unsigned DefaultWorkers();

private:
    enum : unsigned char { kPending = 0, kMiss = 1, kHit = 2 };

    void Work(CKeywordFileTest& test);
    void StopWorkers();

    const std::vector<std::string>& m_locations;
    std::unique_ptr<std::atomic<unsigned char>[]> m_results;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    std::vector<std::unique_ptr<CKeywordFileTest>> m_tests; // one per worker, or the caller's own
    std::vector<std::thread> m_workers;
};
