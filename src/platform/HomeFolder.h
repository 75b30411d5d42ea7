#pragma once

#include <filesystem>

// The user's home folder: $HOME, else the account's folder, else the temporary folder.
std::filesystem::path homeFolder();
