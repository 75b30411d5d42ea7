#pragma once

// Whether a file can become a slide, asked where a picture is chosen or dropped rather than
// at the next save: a PNG found only when the show is built stops the whole save, long after
// the user could have seen which file it was.

#include <filesystem>
#include <optional>
#include <string>

namespace picturecheck {

// Why the file cannot become a slide, naming it ("holiday.png is a PNG picture; Velloria
// makes slides from JPEG files"), or nothing when its JPEG header reads. Only the header is
// read: a large photo is checked as quickly as a small one.
std::optional<std::string> problemOf(const std::filesystem::path &path);

// The kind of picture the first bytes of a file announce ("a PNG picture"), or nothing when
// they are a JPEG's or no picture format known here.
std::optional<std::string> otherKindOf(const std::string &firstBytes);

} // namespace picturecheck
