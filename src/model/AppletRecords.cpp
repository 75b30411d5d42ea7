#include "AppletRecords.h"

const std::array<std::string TAppletData::*, TAppletData::fieldCount> TAppletData::fields = {
    &TAppletData::pSliderName,
    &TAppletData::pSliderDivID,
    &TAppletData::pWidth,
    &TAppletData::pHeight,
    &TAppletData::pBgColor,
    &TAppletData::pDelay,
    &TAppletData::pStep,
    &TAppletData::pConfigName,
    &TAppletData::pContainerBorderWidth,
    &TAppletData::pContainerBorderStyle,
    &TAppletData::pContainerBorderColor,
    &TAppletData::pInternalUse_RootDir_Local,
    &TAppletData::pInternalUse_RootDir_Remote,
    &TAppletData::pInternalUse_RootDir_Local_Checked,
};

const std::array<std::string_view, TAppletData::fieldCount> TAppletData::fieldNames = {
    "pSliderName",
    "pSliderDivID",
    "pWidth",
    "pHeight",
    "pBgColor",
    "pDelay",
    "pStep",
    "pConfigName",
    "pContainerBorderWidth",
    "pContainerBorderStyle",
    "pContainerBorderColor",
    "pInternalUse_RootDir_Local",
    "pInternalUse_RootDir_Remote",
    "pInternalUse_RootDir_Local_Checked",
};

// The element id and the array name have no control: storing the pages derives them from the
// name. The Path page's two roots and its choice are named shorter than its long labels.
const std::array<std::string_view, TAppletData::fieldCount> TAppletData::fieldLabels = {
    "Name",         "Element Id", "Width",      "Height",          "Background Color",
    "Delay",        "Step",       "Array Name", "Border Width",    "Border Style",
    "Border Color", "Local Root", "Web Root",   "Path Conversion",
};

const std::array<std::string TItemData::*, TItemData::fieldCount> TItemData::fields = {
    &TItemData::IImageFileName, &TItemData::IOriginalImagePath,
    &TItemData::ILink,          &TItemData::ITarget,
    &TItemData::IToolTip,       &TItemData::IWidth,
    &TItemData::IHeight,        &TItemData::ILevel,
    &TItemData::IReserved,
};

const std::array<std::string_view, TItemData::fieldCount> TItemData::fieldNames = {
    "IImageFileName", "IOriginalImagePath", "ILink", "ITarget", "IToolTip", "IWidth", "IHeight",
    "ILevel",         "IReserved",
};

// The size and the slide's file name are the build's; the page shows the other four.
const std::array<std::string_view, TItemData::fieldCount> TItemData::fieldLabels = {
    "Slide File",  "Picture",      "Link",  "Target",   "Tooltip",
    "Slide Width", "Slide Height", "Level", "Reserved",
};
