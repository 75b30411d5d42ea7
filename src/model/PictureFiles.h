#pragma once

// The pictures a chosen or dropped folder gives: its JPEG files, in the order a file
// manager shows them, so "photo 2" comes before "photo 10" and "B" beside "b".

#include <filesystem>
#include <string>
#include <vector>

namespace picturefiles {

// .jpg, .jpeg, .jpe and .jfif in any letter case, as cameras and phones name them.
bool hasJpegName(const std::filesystem::path &path);

// True when a sorts before b: runs of digits by their value, other characters without
// regard to ASCII letter case, and names equal so by their bytes.
bool naturalLess(const std::string &a, const std::string &b);

// The folder's files with a JPEG name, full paths, sorted by name; not those of its
// subfolders. Empty when the folder cannot be read.
std::vector<std::string> jpegFilesIn(const std::filesystem::path &folder);

} // namespace picturefiles
