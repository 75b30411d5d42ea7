#include "PictureFiles.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace fs = std::filesystem;

namespace picturefiles {

namespace {

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The run of digits at `at`, without its leading zeros, and where it ends.
std::pair<std::string_view, std::size_t> numberAt(const std::string &text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    std::size_t start = at;
    while (start + 1 < end && text[start] == '0')
        ++start;
    return {std::string_view(text).substr(start, end - start), end};
}

// Below zero, zero or above zero, as a comparison without the tie-break on bytes.
int naturalCompare(const std::string &a, const std::string &b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const auto [x, afterX] = numberAt(a, i);
            const auto [y, afterY] = numberAt(b, j);
            // Without leading zeros the longer number is the larger one.
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y); order != 0)
                return order;
            i = afterX;
            j = afterY;
            continue;
        }
        if (lower(a[i]) != lower(b[j]))
            return lower(a[i]) < lower(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    return (i < a.size()) - (j < b.size());
}

} // namespace

bool hasJpegName(const fs::path &path)
{
    std::string suffix = path.extension().string();
    std::transform(suffix.begin(), suffix.end(), suffix.begin(), lower);
    return suffix == ".jpg" || suffix == ".jpeg" || suffix == ".jpe" || suffix == ".jfif";
}

bool naturalLess(const std::string &a, const std::string &b)
{
    const int order = naturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

std::vector<std::string> jpegFilesIn(const fs::path &folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (hasJpegName(entry->path()) && !entry->is_directory(ignored))
            names.push_back(entry->path().filename().string());
    }
    std::sort(names.begin(), names.end(), naturalLess);
    std::vector<std::string> paths;
    for (const std::string &name : names)
        paths.push_back((folder / name).string());
    return paths;
}

} // namespace picturefiles
