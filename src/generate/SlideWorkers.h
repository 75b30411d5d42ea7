#pragma once

// Makes the slides of several originals on all cores. Results come back in the order of
// the originals, each a picture or the error that stopped it, so the caller can apply them
// exactly as a run one by one would.

#include "SlidePicture.h"

#include <exception>
#include <string>
#include <vector>

class SlideCache;

struct SlideOutcome
{
    SlidePicture picture;
    std::exception_ptr error;
};

std::vector<SlideOutcome> makeSlides(const std::vector<std::string> &originals, int targetHeight,
                                     const SlideCache *cache);
