// Whose show a site folder holds, from the reports and configuration script found there.

#include "model/OtherShow.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct FolderCase
{
    const char *name;
    int ownReportAge;           // seconds before now; -1 for none
    int otherReportAge;         // of gallery_PublishReport.txt; -1 for none
    const char *configuredShow; // nullptr for no velloriacfg.js
    const char *said;           // nullptr: no other show
    const char *own = "index";  // the other project is the one of the two names not ours
};

void PrintTo(const FolderCase &c, std::ostream *out)
{
    *out << c.name;
}

class SiteFolder : public ::testing::TestWithParam<FolderCase>
{
protected:
    void report(const std::string &name, int age)
    {
        if (age < 0)
            return;
        writeBytes(folder.file(name), "report");
        // One fixed moment, so that equal ages are equal times to the nanosecond.
        static const fs::file_time_type now = fs::file_time_type::clock::now();
        fs::last_write_time(folder.file(name), now - std::chrono::seconds(age));
    }

    TempFolder folder;
};

TEST_P(SiteFolder, holdsTheShowOfTheLastPublish)
{
    const FolderCase &c = GetParam();
    const std::string own = c.own, another = own == "index" ? "gallery" : "index";
    report(own + "_PublishReport.txt", c.ownReportAge);
    report(another + "_PublishReport.txt", c.otherReportAge);
    if (c.configuredShow)
        writeBytes(folder.file("velloriacfg.js"),
                   std::string("/*\r\n*/\r\nfunction Init") + c.configuredShow + "(){\r\n");
    TAppletData data;
    data.pSliderName = "Harbour";
    const std::optional<std::string> other =
        otherShowIn(folder.path().string() + "/", own + ".jfs", data);
    if (!c.said) {
        EXPECT_FALSE(other) << *other;
        return;
    }
    ASSERT_TRUE(other);
    EXPECT_NE(other->find(c.said), std::string::npos) << *other;
}

INSTANTIATE_TEST_SUITE_P(
    OtherShow, SiteFolder,
    ::testing::Values(
        FolderCase{"empty", -1, -1, nullptr, nullptr},
        FolderCase{"ownShow", 0, -1, "Harbour", nullptr},
        FolderCase{"ownReportNewest", 5, 10, "Gallery", nullptr},
        // Timestamps of some file systems are whole seconds: two publishes in
        // one. Both names in turn: the folder lists them in an order of its own.
        FolderCase{"ownReportAsNewAsTheOther", 5, 5, "Harbour", nullptr},
        FolderCase{"ownReportAsNewAsTheOtherTheOtherWay", 5, 5, "Harbour", nullptr, "gallery"},
        FolderCase{"otherReportNewest", 10, 5, "Harbour",
                   "the show \"Harbour\" of the project \"gallery.jfs\""},
        FolderCase{"otherReportAlone", -1, 0, nullptr, "a show of the project \"gallery.jfs\""},
        FolderCase{"scriptOfOwnShowAlone", -1, -1, "Harbour", nullptr},
        FolderCase{"scriptOfAnotherShowAlone", -1, -1, "Gallery",
                   "the show \"Gallery\" of another project"}));

TEST(OtherShow, aFolderThatIsNotThereHoldsNone)
{
    TempFolder folder;
    EXPECT_FALSE(otherShowIn(folder.file("not/there"), "index.jfs", TAppletData{}));
}

} // namespace
