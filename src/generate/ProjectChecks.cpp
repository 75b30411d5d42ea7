#include "ProjectChecks.h"

#include "ShowField.h"
#include "TextEscaping.h"
#include "model/DecimalText.h"
#include "platform/VelloriaError.h"

#include <cctype>

namespace {

using D = TAppletData;

// Every message names the field by the label the pages give it, as the user knows it.
[[noreturn]] void refuse(const std::string &why)
{
    throw ProjectValueError(why);
}

std::string labelOf(std::string D::*field)
{
    return std::string(fieldLabel(field));
}

void checkWholeNumber(const D &data, std::string D::*field)
{
    if (!parseWholeNumber(data.*field))
        refuse(labelOf(field) + " must be a whole number, not '" + data.*field + "'.");
}

void checkIdentifier(const D &data, std::string D::*field)
{
    if (!isScriptIdentifier(data.*field))
        refuse(labelOf(field) + " '" + data.*field +
               "' can't name the slide show in a web page: use only letters A-Z and a-z, "
               "digits, \"_\" and \"$\", and don't start with a digit.");
}

void checkColour(const D &data, std::string D::*field)
{
    const std::string &value = data.*field;
    bool ok = value.size() == 6;
    for (char c : value)
        ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    if (!ok)
        refuse(labelOf(field) + " must be a colour of six hexadecimal digits RRGGBB, not '" +
               value + "'.");
}

// The numbers within the bounds of the pages' own table, so that what the spin edits offer
// and what the build takes are the same numbers.
void checkNumbers(const D &data)
{
    for (const ShowField &field : showFields()) {
        if (field.kind != ShowField::Kind::number)
            continue;
        // Without a border the run sets the width to 0 before it is used.
        if (field.field == &D::pContainerBorderWidth &&
            *parseWholeNumber(data.pContainerBorderStyle) == 0)
            continue;
        if (const std::string why = numberRefusal(field, data.*field.field); !why.empty())
            refuse(why);
    }
}

} // namespace

void checkParametersForBuild(const TAppletData &d)
{
    checkIdentifier(d, &D::pSliderName);
    checkIdentifier(d, &D::pConfigName);
    checkWholeNumber(d, &D::pContainerBorderStyle);
    checkNumbers(d);
    checkColour(d, &D::pBgColor);
    checkColour(d, &D::pContainerBorderColor);
}

void checkKeptItemSize(const TItemData &item, int position)
{
    for (const auto field : {&TItemData::IWidth, &TItemData::IHeight})
        if (const std::string &value = item.*field; !value.empty() && !parseWholeNumber(value))
            refuse("Item " + std::to_string(position) + ", " + std::string(fieldLabel(field)) +
                   ": '" + value + "' is not a whole number.");
}
