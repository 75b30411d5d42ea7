#pragma once

// Makes the slides of a list of originals on all cores and hands them out one by one in the
// order of the list, each a picture or the error that stopped it, so the caller can apply
// them exactly as a run one by one would, on its own thread, while the workers go on. The
// workers run a bounded number of slides ahead of the caller, so a huge project never holds
// all its slides in memory.

#include "SlidePicture.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class SlideCache;

struct SlideOutcome
{
    SlidePicture picture;
    std::exception_ptr error;
};

class SlideWorkers
{
public:
    SlideWorkers(std::vector<std::string> originals, int targetHeight, const SlideCache *cache);
    // Stops the workers and waits for them: slides being made are finished and dropped.
    ~SlideWorkers();
    SlideWorkers(const SlideWorkers &) = delete;
    SlideWorkers &operator=(const SlideWorkers &) = delete;

    // The outcome of the next original in list order, waiting for it if need be. Called once
    // per original. While it waits, `waiting` runs every `pause`, so that a window can
    // repaint during a slide that takes long.
    SlideOutcome next(const std::function<void()> &waiting = {},
                      std::chrono::milliseconds pause = std::chrono::milliseconds(40));

private:
    void work();
    void stop();

    const std::vector<std::string> m_originals;
    const int m_targetHeight;
    const SlideCache *const m_cache;
    std::size_t m_aheadLimit = 1;

    std::mutex m_mutex;
    std::condition_variable m_workAllowed;
    std::condition_variable m_slideDone;
    std::vector<std::optional<SlideOutcome>> m_outcomes; // emptied once handed out
    std::size_t m_nextToMake = 0;
    std::size_t m_nextToHand = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
