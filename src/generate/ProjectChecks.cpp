#include "ProjectChecks.h"

#include "TextEscaping.h"
#include "model/DecimalText.h"
#include "platform/VelloriaError.h"

#include <cctype>

namespace {

[[noreturn]] void refuse(const std::string &where, const std::string &field, const std::string &why)
{
    throw ProjectValueError(where + "field " + field + ": " + why);
}

void checkWholeNumber(const std::string &value, const char *field)
{
    if (!parseWholeNumber(value))
        refuse("Slide show ", field, "'" + value + "' is not a whole number.");
}

void checkIdentifier(const std::string &value, const char *field)
{
    if (!isScriptIdentifier(value))
        refuse("Slide show ", field,
               "'" + value +
                   "' can't name the slide show in a web page: use only letters A-Z "
                   "and a-z, digits, \"_\" and \"$\", and don't start with a digit.");
}

void checkColour(const std::string &value, const char *field)
{
    bool ok = value.size() == 6;
    for (char c : value)
        ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    if (!ok)
        refuse("Slide show ", field,
               "'" + value + "' is not a colour (six hexadecimal digits RRGGBB).");
}

} // namespace

void checkParametersForBuild(const TAppletData &d)
{
    checkIdentifier(d.pSliderName, "pSliderName");
    checkIdentifier(d.pConfigName, "pConfigName");
    checkWholeNumber(d.pWidth, "pWidth");
    checkWholeNumber(d.pHeight, "pHeight");
    checkWholeNumber(d.pDelay, "pDelay");
    checkWholeNumber(d.pStep, "pStep");
    checkWholeNumber(d.pContainerBorderStyle, "pContainerBorderStyle");
    // Without a border the run sets the width to 0 before it is used.
    if (*parseWholeNumber(d.pContainerBorderStyle) != 0)
        checkWholeNumber(d.pContainerBorderWidth, "pContainerBorderWidth");
    if (*parseWholeNumber(d.pHeight) <= 0)
        refuse("Slide show ", "pHeight",
               "the height must be at least 1 pixel, not " + d.pHeight + ".");
    checkColour(d.pBgColor, "pBgColor");
    checkColour(d.pContainerBorderColor, "pContainerBorderColor");
}

void checkKeptItemSize(const TItemData &item, int position)
{
    const std::string where = "Item " + std::to_string(position) + ", ";
    for (const auto &[value, field] :
         {std::pair{&item.IWidth, "IWidth"}, {&item.IHeight, "IHeight"}})
        if (!value->empty() && !parseWholeNumber(*value))
            refuse(where, field, "'" + *value + "' is not a whole number.");
}
