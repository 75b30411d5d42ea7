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
