#include "SlideWorkers.h"

#include "SlideCache.h"

#include <atomic>
#include <thread>

std::vector<SlideOutcome> makeSlides(const std::vector<std::string> &originals, int targetHeight,
                                     const SlideCache *cache)
{
    std::vector<SlideOutcome> outcomes(originals.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < originals.size(); i = next++) {
            try {
                outcomes[i].picture = makeSlidePictureCached(originals[i], targetHeight, cache);
            } catch (...) {
                outcomes[i].error = std::current_exception();
            }
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), originals.size());
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    return outcomes;
}
