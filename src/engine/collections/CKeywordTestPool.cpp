#include "collections/CKeywordTestPool.h"

#include "collections/KeywordSearch.h"

#include <algorithm>
#include <system_error>

CKeywordTestPool::CKeywordTestPool(const std::vector<std::string>& locations, const std::vector<std::string>& keywords,
                                   bool noCase, unsigned workers)
    : m_locations(locations), m_results(new std::atomic<unsigned char>[locations.size()]()) {
    workers = unsigned(std::min<std::size_t>(workers, locations.size()));
    for (unsigned w = 0; w < std::max(workers, 1u); ++w) {
        m_tests.push_back(std::make_unique<CKeywordFileTest>(keywords, noCase));
        m_tests.back()->StopWhen(m_stop);
    }
    try {
        for (unsigned w = 0; w < workers; ++w) m_workers.emplace_back([this, w] { Work(*m_tests[w]); });
    } catch (const std::system_error&) {
        // Fewer threads than asked for: the ones running share the work; with none the caller
        // tests each file itself.
    }
}

CKeywordTestPool::~CKeywordTestPool() { StopWorkers(); }

void CKeywordTestPool::StopWorkers() {
    m_stop.store(true, std::memory_order_relaxed);
    for (std::thread& t : m_workers) t.join();
    m_workers.clear();
}

unsigned CKeywordTestPool::DefaultWorkers() { return std::clamp(2 * std::thread::hardware_concurrency(), 2u, 8u); }

void CKeywordTestPool::Work(CKeywordFileTest& test) {
    while (!m_stop.load(std::memory_order_relaxed)) {
        const std::size_t i = m_next.fetch_add(1, std::memory_order_relaxed);
        if (i >= m_locations.size()) return;
        const bool hit = test.Matches(m_locations[i]);
        // A test cut short by Stop has no result; nobody asks for it any more.
        if (m_stop.load(std::memory_order_relaxed)) return;
        m_results[i].store(hit ? kHit : kMiss, std::memory_order_release);
        m_results[i].notify_one();
    }
}

void CKeywordTestPool::WaitFor(std::size_t i) {
    if (!m_workers.empty()) m_results[i].wait(kPending, std::memory_order_acquire);
}

bool CKeywordTestPool::Holds(std::size_t i) {
    if (m_workers.empty()) {
        // No worker runs, so the slots are the caller's alone.
        if (m_results[i].load(std::memory_order_relaxed) == kPending)
            m_results[i].store(m_tests.front()->Matches(m_locations[i]) ? kHit : kMiss, std::memory_order_relaxed);
    } else {
        m_results[i].wait(kPending, std::memory_order_acquire);
    }
    return m_results[i].load(std::memory_order_acquire) == kHit;
}
