#pragma once

// Whether an item's original picture is there for a run to make its slide from.

#include <string>

enum class OriginalPicture { missing, present };

// A path that names something other than a file (a folder, a pipe, a device) is no missing
// picture: the user named it, and dropping it silently would publish a show without it.
// Throws VelloriaError, naming the path and what it is, for such a path.
OriginalPicture originalPictureAt(const std::string &path);
