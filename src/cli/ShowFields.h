#pragma once

// The slide show's parameters by the names velloria-cli gives them. A typed value becomes
// what the Script and Path pages would hold after the same input, refused where a page
// refuses it; the pages' store then trims and derives as it does for the editor.

#include "model/AppletRecords.h"

#include <string>
#include <string_view>
#include <vector>

struct ShowField
{
    enum class Kind { name, text, number, colour, borderStyle, convertTo };

    std::string_view name;
    std::string TAppletData::*field;
    Kind kind;
    std::string_view help;
};

const std::vector<ShowField> &showFields();
// "name, width, ...", for messages and help.
std::string showFieldList();
// The names the border style list shows, in the order of the stored position.
std::vector<std::string> borderStyleNames();

// Puts `assignment` ("FIELD=VALUE") into the pages. Raises ProjectValueError naming the
// field and the reason when the field is unknown or a page would refuse the value.
void applyShowField(TAppletData &pages, std::string_view assignment);

// The stored value as `set` takes it: "#FFFFFF", "solid", "local", numbers as stored.
std::string shownValue(const ShowField &field, const TAppletData &data);
// What the value does, for a person: "3 s each picture", "no border"; may be empty.
std::string meaningOf(const ShowField &field, const TAppletData &data);
