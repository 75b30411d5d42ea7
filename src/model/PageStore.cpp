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

// The fields the pages show, in the pages' order; the element id and the array name follow
// the name. Their labels are the records' own.
std::string TAppletData::*const appletPageFields[] = {
    &TAppletData::pSliderName,
    &TAppletData::pBgColor,
    &TAppletData::pWidth,
    &TAppletData::pHeight,
    &TAppletData::pStep,
    &TAppletData::pDelay,
    &TAppletData::pContainerBorderWidth,
    &TAppletData::pContainerBorderStyle,
    &TAppletData::pContainerBorderColor,
    &TAppletData::pInternalUse_RootDir_Local,
    &TAppletData::pInternalUse_RootDir_Remote,
    &TAppletData::pInternalUse_RootDir_Local_Checked,
};

struct ItemField
{
    std::string ItemPage::*page;
    std::string TItemData::*field;
};

const ItemField itemPageFields[] = {
    {&ItemPage::originalImagePath, &TItemData::IOriginalImagePath},
    {&ItemPage::link, &TItemData::ILink},
    {&ItemPage::target, &TItemData::ITarget},
    {&ItemPage::toolTip, &TItemData::IToolTip},
};

} // namespace

TAppletData appletWithPageChanges(const TAppletData &project, const TAppletData &shown,
                                  const TAppletData &pages)
{
    const TAppletData stored = storedAppletPages(pages);
    TAppletData result = project;
    for (const auto field : appletPageFields)
        if (shown.*field != pages.*field)
            result.*field = stored.*field;
    if (shown.pSliderName != pages.pSliderName) {
        result.pSliderDivID = stored.pSliderDivID;
        result.pConfigName = stored.pConfigName;
    }
    return result;
}

TItemData itemWithPageChanges(const TItemData &item, const ItemPage &shown, const ItemPage &page)
{
    TItemData result = item;
    for (const ItemField &entry : itemPageFields)
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
    for (const auto field : appletPageFields)
        if (shown.*field != pages.*field)
            labels.emplace_back(fieldLabel(field));
    return labels;
}

std::vector<std::string> changedItemLabels(const ItemPage &shown, const ItemPage &page)
{
    std::vector<std::string> labels;
    for (const ItemField &entry : itemPageFields)
        if (shown.*entry.page != page.*entry.page)
            labels.emplace_back(fieldLabel(entry.field));
    return labels;
}
