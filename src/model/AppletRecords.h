#pragma once

// The records of a project: the slide show's parameters and its items. Every value
// is text exactly as the project file stores it; the file order is the member order.

#include <array>
#include <string>
#include <string_view>
#include <vector>

using TStringArray = std::vector<std::string>;

struct TAppletData
{
    std::string pSliderName;
    std::string pSliderDivID;
    std::string pWidth;
    std::string pHeight;
    std::string pBgColor;
    std::string pDelay;
    std::string pStep;
    std::string pConfigName;
    std::string pContainerBorderWidth;
    std::string pContainerBorderStyle;
    std::string pContainerBorderColor;
    std::string pInternalUse_RootDir_Local;
    std::string pInternalUse_RootDir_Remote;
    std::string pInternalUse_RootDir_Local_Checked;

    static constexpr std::size_t fieldCount = 14;
    // Members in file order, so conversions and the file code need no field-by-field lists.
    static const std::array<std::string TAppletData::*, fieldCount> fields;
    static const std::array<std::string_view, fieldCount> fieldNames;
    // What the pages call each field, for every message a user reads: "Height", not pHeight.
    static const std::array<std::string_view, fieldCount> fieldLabels;

    bool operator==(const TAppletData &) const = default;
};

struct TItemData
{
    std::string IImageFileName;
    std::string IOriginalImagePath;
    std::string ILink;
    std::string ITarget;
    std::string IToolTip;
    std::string IWidth;
    std::string IHeight;
    std::string ILevel;
    std::string IReserved;

    static constexpr std::size_t fieldCount = 9;
    static const std::array<std::string TItemData::*, fieldCount> fields;
    static const std::array<std::string_view, fieldCount> fieldNames;
    static const std::array<std::string_view, fieldCount> fieldLabels;

    bool operator==(const TItemData &) const = default;
};

// The label of a field of either record, from its fieldLabels.
template <typename Record> std::string_view fieldLabel(std::string Record::*field)
{
    for (std::size_t k = 0; k < Record::fieldCount; ++k)
        if (Record::fields[k] == field)
            return Record::fieldLabels[k];
    return {};
}

using TItemArray = std::vector<TItemData>;
