#pragma once

// The property pages as the project commands see them: the Script and Path pages hold the
// slide show's parameters, the Item General page the four values of one item. The editor
// implements it over its controls; the command-line tool over the project itself.

#include "AppletRecords.h"

struct ItemPage
{
    std::string originalImagePath;
    std::string link;
    std::string target;
    std::string toolTip;

    bool operator==(const ItemPage &) const = default;
};

class PropertyPages
{
public:
    virtual ~PropertyPages() = default;

    // The parameters as the controls hold them, before the store trims and derives.
    virtual TAppletData appletPages() const = 0;
    virtual void showApplet(const TAppletData &data) = 0;
    virtual ItemPage itemPage() const = 0;
    virtual void showItem(const ItemPage &page) = 0;
};
