#include "OriginalPicture.h"

#include "platform/FileIO.h"
#include "platform/VelloriaError.h"

#include <sys/stat.h>

OriginalPicture originalPictureAt(const std::string &path)
{
    struct stat info
    {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return OriginalPicture::missing;
    if (!S_ISREG(info.st_mode))
        throw VelloriaError("Cannot read picture \"" + path + "\": it is " +
                            fileio::kindOfFile(info.st_mode));
    return OriginalPicture::present;
}
