// Feeds arbitrary bytes to the slide picture maker as an original photo. Whatever the bytes,
// it must either make a slide of the promised size or refuse with a VelloriaError.

#include "generate/SlidePicture.h"
#include "platform/VelloriaError.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const std::string path = "/tmp/velloria-fuzz-" + std::to_string(::getpid()) + ".jpg";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    try {
        const SlidePicture slide = makeSlidePicture(path, 24);
        if (slide.height != 24 || slide.width <= 0 || slide.jpeg.size() < 4)
            std::abort();
    } catch (const VelloriaError &) {
    }
    return 0;
}
