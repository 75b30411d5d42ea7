#include "SlideWorkers.h"

#include "SlideCache.h"

#include <algorithm>

SlideWorkers::SlideWorkers(std::vector<std::string> originals, int targetHeight,
                           const SlideCache *cache)
    : m_originals(std::move(originals)), m_targetHeight(targetHeight), m_cache(cache),
      m_outcomes(m_originals.size())
{
    const std::size_t threads = std::min<std::size_t>(
        std::max(1u, std::thread::hardware_concurrency()), m_originals.size());
    // A finished slide is only a few kilobytes, while the originals differ in size many times
    // over: a narrow window (two slides per worker) left cores idle behind one big picture
    // and made a 50-photo publish slower than whole batches did.
    m_aheadLimit = 8 * std::max<std::size_t>(threads, 1);
    try {
        for (std::size_t t = 0; t < threads; ++t)
            m_threads.emplace_back([this] { work(); });
    } catch (...) {
        stop();
        throw;
    }
}

SlideWorkers::~SlideWorkers()
{
    stop();
}

void SlideWorkers::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workAllowed.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
    m_threads.clear();
}

void SlideWorkers::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_workAllowed.wait(lock, [this] {
            return m_stopping || m_nextToMake >= m_originals.size() ||
                   m_nextToMake < m_nextToHand + m_aheadLimit;
        });
        if (m_stopping || m_nextToMake >= m_originals.size())
            return;
        const std::size_t index = m_nextToMake++;
        lock.unlock();
        SlideOutcome outcome;
        try {
            outcome.picture = makeSlidePictureCached(m_originals[index], m_targetHeight, m_cache);
        } catch (...) {
            outcome.error = std::current_exception();
        }
        lock.lock();
        m_outcomes[index] = std::move(outcome);
        if (index == m_nextToHand)
            m_slideDone.notify_one();
    }
}

SlideOutcome SlideWorkers::next(const std::function<void()> &waiting,
                                std::chrono::milliseconds pause)
{
    std::unique_lock lock(m_mutex);
    std::optional<SlideOutcome> &slot = m_outcomes.at(m_nextToHand);
    while (!m_slideDone.wait_for(lock, pause, [&] { return slot.has_value(); })) {
        if (!waiting)
            continue;
        lock.unlock();
        waiting();
        lock.lock();
    }
    SlideOutcome outcome = std::move(*slot);
    slot.reset();
    ++m_nextToHand;
    lock.unlock();
    m_workAllowed.notify_all();
    return outcome;
}
