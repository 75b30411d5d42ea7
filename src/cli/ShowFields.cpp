#include "ShowFields.h"

#include "generate/ValueFormatting.h"
#include "model/DecimalText.h"
#include "model/PageRules.h"
#include "model/TextUtil.h"
#include "platform/VelloriaError.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

using Kind = ShowField::Kind;

[[noreturn]] void refuse(std::string_view field, const std::string &reason)
{
    throw ProjectValueError(std::string(field) + ": " + reason);
}

std::string numberPage(std::string_view field, std::string_view typed)
{
    const std::optional<int> value = parseDecimal(trimmed(typed));
    if (!value || *value < pagerules::spinMinimum || *value > pagerules::spinMaximum)
        refuse(field, "'" + std::string(typed) + "' is not a whole number from " +
                          std::to_string(pagerules::spinMinimum) + " to " +
                          std::to_string(pagerules::spinMaximum) + ".");
    return std::to_string(*value);
}

// "#RRGGBB" or "RRGGBB", in either case; stored as the colour panel stores its colour.
std::string colourPage(std::string_view field, std::string_view typed)
{
    std::string_view digits = typed;
    if (!digits.empty() && digits.front() == '#')
        digits.remove_prefix(1);
    const bool hex = digits.size() == 6 && std::all_of(digits.begin(), digits.end(), [](char c) {
                         return std::isxdigit(static_cast<unsigned char>(c)) != 0;
                     });
    if (!hex)
        refuse(field, "'" + std::string(typed) + "' is not a colour: use #RRGGBB or RRGGBB.");
    return ColorToHexRGB(HexRGBToColor(digits));
}

std::string borderStylePage(std::string_view field, std::string_view typed)
{
    const std::vector<std::string> names = borderStyleNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (equalIgnoringCase(trimmed(typed), names[i]))
            return std::to_string(i);
    refuse(field, "'" + std::string(typed) + "' is not a border style: use one of " +
                      joined(names, ", ") + ".");
}

std::string convertToPage(std::string_view field, std::string_view typed)
{
    if (equalIgnoringCase(trimmed(typed), "local"))
        return "1";
    if (equalIgnoringCase(trimmed(typed), "web"))
        return "0";
    refuse(field, "'" + std::string(typed) + "' is neither local nor web.");
}

// The text fields keep what was typed: storing the pages trims them as it trims the edits.
std::string textPage(const ShowField &field, std::string_view typed)
{
    if (const char *reason = unstorableTextReason(typed))
        refuse(field.name, reason);
    if (field.kind == Kind::name && !isScriptIdentifier(trimmed(typed)))
        refuse(field.name, "'" + std::string(typed) + "': " + pagerules::nameRule);
    return std::string(typed);
}

std::string pageValue(const ShowField &field, std::string_view typed)
{
    switch (field.kind) {
    case Kind::name:
    case Kind::text:
        return textPage(field, typed);
    case Kind::number:
        return numberPage(field.name, typed);
    case Kind::colour:
        return colourPage(field.name, typed);
    case Kind::borderStyle:
        return borderStylePage(field.name, typed);
    case Kind::convertTo:
        return convertToPage(field.name, typed);
    }
    return std::string(typed);
}

// Milliseconds as seconds without trailing zeros: 3000 -> "3", 990 -> "0.99".
std::string seconds(int milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", milliseconds / 1000.0);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s + " s";
}

} // namespace

const std::vector<ShowField> &showFields()
{
    using D = TAppletData;
    static const std::vector<ShowField> fields = {
        {"name", &D::pSliderName, Kind::name, "name of the show; names its element and array"},
        {"width", &D::pWidth, Kind::number, "width in pixels"},
        {"height", &D::pHeight, Kind::number, "height in pixels; slides are scaled to it"},
        {"background", &D::pBgColor, Kind::colour, "background colour, #RRGGBB"},
        {"delay", &D::pDelay, Kind::number, "each picture holds 3 s + delay x 100 ms"},
        {"step", &D::pStep, Kind::number, "a fade lasts step x 33 ms; 0: no fade"},
        {"border-width", &D::pContainerBorderWidth, Kind::number, "border width in pixels"},
        {"border-style", &D::pContainerBorderStyle, Kind::borderStyle, "border style by name"},
        {"border-color", &D::pContainerBorderColor, Kind::colour, "border colour, #RRGGBB"},
        {"local-root", &D::pInternalUse_RootDir_Local, Kind::text,
         "root folder of the site on this computer"},
        {"web-root", &D::pInternalUse_RootDir_Remote, Kind::text,
         "root address of the site on the web server"},
        {"convert-to", &D::pInternalUse_RootDir_Local_Checked, Kind::convertTo,
         "links are converted to the local or the web root: local|web"},
    };
    return fields;
}

std::string showFieldList()
{
    std::vector<std::string> names;
    for (const ShowField &field : showFields())
        names.emplace_back(field.name);
    return joined(names, ", ");
}

std::vector<std::string> borderStyleNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i)
        names.push_back(BorderStyleName(std::to_string(i)));
    return names;
}

void applyShowField(TAppletData &pages, std::string_view assignment)
{
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos)
        throw ProjectValueError("'" + std::string(assignment) +
                                "' is not FIELD=VALUE; the fields are " + showFieldList() + ".");
    const std::string_view name = assignment.substr(0, equals);
    const auto &fields = showFields();
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [&](const ShowField &f) { return f.name == name; });
    if (field == fields.end())
        refuse(name, "no such field; the fields are " + showFieldList() + ".");
    pages.*field->field = pageValue(*field, assignment.substr(equals + 1));
}

std::string shownValue(const ShowField &field, const TAppletData &data)
{
    const std::string &stored = data.*field.field;
    switch (field.kind) {
    case Kind::colour:
        return "#" + stored;
    case Kind::borderStyle:
        return parseDecimal(stored) ? BorderStyleName(stored) : stored;
    case Kind::convertTo:
        return stored == "1" ? "local" : stored == "0" ? "web" : stored;
    default:
        return stored;
    }
}

std::string meaningOf(const ShowField &field, const TAppletData &data)
{
    const std::optional<int> number = parseWholeNumber(data.*field.field);
    if (field.kind == Kind::name)
        return "element id " + data.pSliderDivID + ", array " + data.pConfigName;
    if (field.kind == Kind::number && !number)
        return "not a whole number";
    if (field.field == &TAppletData::pDelay)
        return "each picture holds " + seconds(3000 + std::max(0, *number) * 100);
    if (field.field == &TAppletData::pStep)
        return *number > 0 ? "a fade lasts " + seconds(*number * 33) : "no fade";
    if (field.field == &TAppletData::pContainerBorderWidth && data.pContainerBorderStyle == "0")
        return "no border: style none";
    return field.kind == Kind::number ? "pixels" : "";
}
