#include "HomeFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::filesystem::path homeFolder()
{
    if (const char *home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd *user = ::getpwuid(::getuid()); user && user->pw_dir)
        return user->pw_dir;
    return std::filesystem::temp_directory_path();
}
