// make-photo: writes a synthetic photo as JPEG, for trying the program on pictures of any
// size and kind without shipping real ones.

#include "IccProfiles.h"
#include "SyntheticPhoto.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace {

constexpr const char *usage =
    "usage: make-photo OUT.jpg WIDTH HEIGHT [--seed N] [--quality Q] [--progressive]\n"
    "                  [--gray] [--cmyk] [--adobe-inverted] [--subsampling 420|444]\n"
    "                  [--orientation N] [--scene harbour|meadow|dunes|tower]\n"
    "                  [--display-p3]\n";

struct UsageError
{
    std::string message;
};

long number(std::string_view text, long low, long high, std::string_view what)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw UsageError{std::string(what) + " must be a number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not '" + std::string(text) + "'"};
    return value;
}

SceneKind scene(std::string_view name)
{
    if (name == "harbour")
        return SceneKind::harbour;
    if (name == "meadow")
        return SceneKind::meadow;
    if (name == "dunes")
        return SceneKind::dunes;
    if (name == "tower")
        return SceneKind::tower;
    throw UsageError{"unknown scene '" + std::string(name) + "'"};
}

struct Request
{
    std::string path;
    int width = 0;
    int height = 0;
    std::uint32_t seed = 1;
    SceneKind kind = SceneKind::automatic;
    JpegOptions options;
};

void readOption(Request &r, std::string_view option, int &i, int argc, char **argv)
{
    const auto value = [&]() -> std::string_view {
        if (i + 1 >= argc)
            throw UsageError{std::string(option) + " needs a value"};
        return argv[++i];
    };
    if (option == "--seed")
        r.seed = static_cast<std::uint32_t>(number(value(), 0, 4294967295, "seed"));
    else if (option == "--quality")
        r.options.quality = static_cast<int>(number(value(), 1, 100, "quality"));
    else if (option == "--orientation")
        r.options.orientation = static_cast<int>(number(value(), 1, 8, "orientation"));
    else if (option == "--subsampling")
        r.options.subsampling = number(value(), 420, 444, "subsampling") == 444
                                    ? ChromaSubsampling::yuv444
                                    : ChromaSubsampling::yuv420;
    else if (option == "--scene")
        r.kind = scene(value());
    else if (option == "--display-p3")
        r.options.iccProfile = displayP3Profile(); // the pixels are taken as P3 colours
    else if (option == "--progressive")
        r.options.progressive = true;
    else if (option == "--gray")
        r.options.colour = JpegColour::gray;
    else if (option == "--cmyk" && r.options.colour != JpegColour::adobeInvertedCmyk)
        r.options.colour = JpegColour::cmyk;
    else if (option == "--adobe-inverted")
        r.options.colour = JpegColour::adobeInvertedCmyk; // inverted CMYK is still CMYK
    else if (option != "--cmyk")
        throw UsageError{"unknown option '" + std::string(option) + "'"};
}

Request parse(int argc, char **argv)
{
    if (argc < 4)
        throw UsageError{"expected OUT.jpg WIDTH HEIGHT"};
    Request r;
    r.path = argv[1];
    r.width = static_cast<int>(number(argv[2], 1, 65500, "width"));
    r.height = static_cast<int>(number(argv[3], 1, 65500, "height"));
    for (int i = 4; i < argc; ++i)
        readOption(r, argv[i], i, argc, argv);
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        const Request r = parse(argc, argv);
        SyntheticPhoto(r.width, r.height, r.seed, r.kind).writeJpeg(r.path, r.options);
        return 0;
    } catch (const UsageError &e) {
        std::fprintf(stderr, "make-photo: %s\n%s", e.message.c_str(), usage);
        return 2;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "make-photo: %s\n", e.what());
        return 1;
    }
}
