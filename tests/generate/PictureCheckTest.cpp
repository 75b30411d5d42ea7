// A picture is checked where it is chosen: what each kind of file is told.

#include "generate/PictureCheck.h"

#include "SyntheticPhoto.h"
#include "common/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string jpegOnly = "; Velloria makes slides from JPEG files";

TEST(PictureCheck, namesTheFileAndSaysWhatItIs)
{
    TempFolder folder;
    const std::string photo = SyntheticPhoto(16, 12).encodeJpeg();
    const struct
    {
        const char *name;
        std::string bytes;
        std::string said; // the start of the message; "" when the picture is accepted
    } cases[] = {
        {"dunes.jpg", photo, ""},
        {"holiday.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "holiday.png is a PNG picture" + jpegOnly},
        {"wave.gif", "GIF89a\x10\0\x10\0", "wave.gif is a GIF picture" + jpegOnly},
        {"web.jpg", std::string("RIFF\x24\0\0\0WEBPVP8 ", 16), "web.jpg is a WebP picture"},
        {"IMG_0001.HEIC",
         std::string("\0\0\0\x18"
                     "ftypheic\0\0\0\0",
                     16),
         "IMG_0001.HEIC is a HEIC picture"},
        {"new.avif",
         std::string("\0\0\0\x1c"
                     "ftypavif\0\0\0\0",
                     16),
         "new.avif is an AVIF"},
        {"clip.mp4",
         std::string("\0\0\0\x18"
                     "ftypisom\0\0\0\0",
                     16),
         "clip.mp4 is not a JPEG picture" + jpegOnly},
        {"scan.tif", std::string("II*\0\x08\0\0\0", 8), "scan.tif is a TIFF picture"},
        {"old.bmp", std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14), "old.bmp is a BMP picture"},
        {"BMW.jpg", "BMW 320d, 2019", "BMW.jpg is not a JPEG picture" + jpegOnly},
        {"notes.jpg", "plain text", "notes.jpg is not a JPEG picture" + jpegOnly},
        {"empty.jpg", "", "empty.jpg is not a JPEG picture"},
        // A JPEG's start with a damaged header: the reader's own words.
        {"cut.jpg", photo.substr(0, 40), "Cannot read picture \""},
    };
    for (const auto &c : cases) {
        writeBytes(folder.file(c.name), c.bytes);
        const std::optional<std::string> problem = picturecheck::problemOf(folder.file(c.name));
        EXPECT_EQ(problem.value_or("").substr(0, c.said.size()), c.said) << c.name;
        EXPECT_EQ(problem.has_value(), !c.said.empty()) << c.name;
    }
    EXPECT_NE(picturecheck::problemOf(folder.file("gone.jpg")).value_or("").find("gone.jpg"),
              std::string::npos);
}

} // namespace
