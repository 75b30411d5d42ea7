#include "PageStore.h"

#include "TextUtil.h"

TAppletData storedAppletPages(TAppletData pages)
{
    pages.pSliderName = trimmed(pages.pSliderName);
    pages.pSliderDivID = pages.pSliderName + "_div";
    pages.pConfigName = pages.pSliderName + "cfg";
    pages.pInternalUse_RootDir_Local = trimmed(pages.pInternalUse_RootDir_Local);
    pages.pInternalUse_RootDir_Remote = trimmed(pages.pInternalUse_RootDir_Remote);
    return pages;
}

TItemData storedItemPage(const ItemPage &page, const TItemData &before)
{
    TItemData item;
    item.IOriginalImagePath = trimmed(page.originalImagePath);
    item.ILink = trimmed(page.link);
    item.ITarget = trimmed(page.target);
    item.IToolTip = trimmed(page.toolTip);
    if (item.IOriginalImagePath == trimmed(before.IOriginalImagePath)) {
        item.IImageFileName = before.IImageFileName;
        item.IWidth = before.IWidth;
        item.IHeight = before.IHeight;
        item.ILevel = before.ILevel;
        item.IReserved = before.IReserved;
    }
    return item;
}

ItemPage itemPageOf(const TItemData &item)
{
    return {trimmed(item.IOriginalImagePath), trimmed(item.ILink), trimmed(item.ITarget),
            trimmed(item.IToolTip)};
}

namespace {

struct AppletLabel
{
    std::string TAppletData::*field;
    const char *label;
};

// The fields the pages show, with their labels; the element id and the array name follow
// the name.
const AppletLabel appletLabels[] = {
    {&TAppletData::pSliderName, "Name"},
    {&TAppletData::pBgColor, "Background Color"},
    {&TAppletData::pWidth, "Width"},
    {&TAppletData::pHeight, "Height"},
    {&TAppletData::pStep, "Step"},
    {&TAppletData::pDelay, "Delay"},
    {&TAppletData::pContainerBorderWidth, "Border Width"},
    {&TAppletData::pContainerBorderStyle, "Border Style"},
    {&TAppletData::pContainerBorderColor, "Border Color"},
    {&TAppletData::pInternalUse_RootDir_Local, "Local Root"},
    {&TAppletData::pInternalUse_RootDir_Remote, "Web Root"},
    {&TAppletData::pInternalUse_RootDir_Local_Checked, "Path Conversion"},
};

struct ItemLabel
{
    std::string ItemPage::*page;
    std::string TItemData::*field;
    const char *label;
};

const ItemLabel itemLabels[] = {
    {&ItemPage::originalImagePath, &TItemData::IOriginalImagePath, "Picture"},
    {&ItemPage::link, &TItemData::ILink, "Link"},
    {&ItemPage::target, &TItemData::ITarget, "Target"},
    {&ItemPage::toolTip, &TItemData::IToolTip, "Tooltip"},
};

} // namespace

TAppletData appletWithPageChanges(const TAppletData &project, const TAppletData &shown,
                                  const TAppletData &pages)
{
    const TAppletData stored = storedAppletPages(pages);
    TAppletData result = project;
    for (const AppletLabel &entry : appletLabels)
        if (shown.*entry.field != pages.*entry.field)
            result.*entry.field = stored.*entry.field;
    if (shown.pSliderName != pages.pSliderName) {
        result.pSliderDivID = stored.pSliderDivID;
        result.pConfigName = stored.pConfigName;
    }
    return result;
}

TItemData itemWithPageChanges(const TItemData &item, const ItemPage &shown, const ItemPage &page)
{
    TItemData result = item;
    for (const ItemLabel &entry : itemLabels)
        if (shown.*entry.page != page.*entry.page)
            result.*entry.field = trimmed(page.*entry.page);
    if (trimmed(result.IOriginalImagePath) != trimmed(item.IOriginalImagePath)) {
        result.IImageFileName.clear();
        result.IWidth.clear();
        result.IHeight.clear();
    }
    return result;
}

std::vector<std::string> changedAppletLabels(const TAppletData &shown, const TAppletData &pages)
{
    std::vector<std::string> labels;
    for (const AppletLabel &entry : appletLabels)
        if (shown.*entry.field != pages.*entry.field)
            labels.push_back(entry.label);
    return labels;
}

std::vector<std::string> changedItemLabels(const ItemPage &shown, const ItemPage &page)
{
    std::vector<std::string> labels;
    for (const ItemLabel &entry : itemLabels)
        if (shown.*entry.page != page.*entry.page)
            labels.push_back(entry.label);
    return labels;
}
