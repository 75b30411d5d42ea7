#pragma once

// The slide show's parameters as the Script and Path pages hold them, in one table that both
// faces of the pages read: the editor's controls and velloria-cli's `set` and `info`. Each
// field names its control, its kind and its bounds, and the conversions between a stored
// value and what a control holds live here, so the two faces cannot drift apart.

#include "ValueFormatting.h"
#include "model/AppletRecords.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct ShowField
{
    // What holds the field on the pages: name and text an edit, number a spin edit, colour a
    // colour panel, borderStyle the style list, convertTo a pair of radio buttons.
    enum class Kind { name, text, number, colour, borderStyle, convertTo };

    // The field's name on velloria-cli's command line.
    std::string_view name;
    std::string TAppletData::*field;
    Kind kind;
    // The editor's control by object name; for convertTo the button of "local", with
    // `otherControl` the button of "web".
    std::string_view control;
    std::string_view otherControl = {};
    // The bounds of a number: the spin edit keeps them, `set` refuses outside them and the
    // build refuses a project outside them, so a value is refused where it is typed.
    int minimum = 0;
    int maximum = 0;
    std::string_view help;
    // What a number counts, in the singular ("pixel"); empty for a plain count.
    std::string_view unit = {};

    // What the pages call the field: "Height", "Background Color".
    std::string_view label() const { return fieldLabel(field); }
};

// The twelve parameters the pages show, in the pages' order. The element id and the array
// name are not among them: storing the pages derives them from the name.
const std::vector<ShowField> &showFields();
// "name, width, ...", for messages and help.
std::string showFieldList();
// The names the border style list shows, in the order of the stored position.
std::vector<std::string> borderStyleNames();

// What a control shows of a stored value. A control cannot hold every text a project file
// may bring: a number that is not one shows 0, a style outside the list its nearest end, a
// colour that is not one white. A flag that is neither "1" nor "0" checks neither button.
int numberOnPage(std::string_view stored);
int borderStyleOnPage(std::string_view stored);
ColorValue colourOnPage(std::string_view stored);
std::optional<bool> convertsToLocalOnPage(std::string_view stored);

// What a control stores.
inline std::string storedNumber(int value)
{
    return std::to_string(value);
}
inline std::string storedColour(ColorValue colour)
{
    return ColorToHexRGB(colour);
}
inline std::string storedConvertsToLocal(bool local)
{
    return local ? "1" : "0";
}

// Puts `assignment` ("FIELD=VALUE") into the pages. Raises ProjectValueError naming the
// field and the reason when the field is unknown or a page would refuse the value.
void applyShowField(TAppletData &pages, std::string_view assignment);

// The rule of the pages that `value` breaks, in the page's words ("Height must be at least 1
// pixel"), or empty when the number field takes it.
std::string numberRule(const ShowField &field, long long value);
// Why the build refuses the stored text of a number field, ending in what it holds ("Height
// must be at least 1 pixel, not 0."), or empty when the build takes it.
std::string numberRefusal(const ShowField &field, std::string_view stored);

// The stored value as `set` takes it: "#FFFFFF", "solid", "local", numbers as stored.
std::string shownValue(const ShowField &field, const TAppletData &data);
// What the value does, for a person: "each picture shows 3.0 s", "no border"; may be empty.
// velloria-cli's info and the editor's pages both say it so.
std::string meaningOf(const ShowField &field, const TAppletData &data);
