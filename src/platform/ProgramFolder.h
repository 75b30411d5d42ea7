#pragma once

#include <filesystem>

// The folder that holds the running program: its installation folder.
std::filesystem::path programFolder();
