#include "ShowField.h"

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

// The style list holds the ten styles that BorderStyleName knows.
constexpr int borderStyleCount = 10;

std::string numberPage(const ShowField &field, std::string_view typed)
{
    const std::optional<int> value = parseDecimal(trimmed(typed));
    if (!value || *value < field.minimum || *value > field.maximum)
        refuse(field.name, "'" + std::string(typed) + "' is not a whole number from " +
                               std::to_string(field.minimum) + " to " +
                               std::to_string(field.maximum) + ".");
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
        return numberPage(field, typed);
    case Kind::colour:
        return colourPage(field.name, typed);
    case Kind::borderStyle:
        return borderStylePage(field.name, typed);
    case Kind::convertTo:
        return convertToPage(field.name, typed);
    }
    return std::string(typed);
}

// Seconds to a tenth, as a designer reads a timing: 3000 -> "3.0 s", 990 -> "1.0 s"; a time
// under a twentieth of a second keeps its hundredths rather than show as nothing.
std::string seconds(long long milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, milliseconds > 0 && milliseconds < 50 ? "%.2f s" : "%.1f s",
                  double(milliseconds) / 1000.0);
    return text;
}

// "1 pixel", "9999 pixels", "30".
std::string counted(long long value, std::string_view unit)
{
    std::string text = std::to_string(value);
    if (!unit.empty())
        text += " " + std::string(unit) + (value == 1 || value == -1 ? "" : "s");
    return text;
}

} // namespace

const std::vector<ShowField> &showFields()
{
    using D = TAppletData;
    auto plain = [](std::string_view name, std::string D::*field, Kind kind,
                    std::string_view control, std::string_view help) {
        return ShowField{name, field, kind, control, {}, 0, 0, help};
    };
    // A number is a spin edit. The smallest values are the least that makes sense on a page:
    // a box at least one pixel wide and high; the runtime takes a negative delay or step as 0.
    auto number = [](std::string_view name, std::string D::*field, std::string_view control,
                     int minimum, std::string_view unit, std::string_view help) {
        return ShowField{name, field, Kind::number, control, {}, minimum, pagerules::spinMaximum,
                         help, unit};
    };
    static const std::vector<ShowField> fields = {
        plain("name", &D::pSliderName, Kind::name, "edt_pSliderName",
              "name of the show; names its element and array"),
        number("width", &D::pWidth, "spnedt_pWidth", 1, "pixel", "width in pixels"),
        number("height", &D::pHeight, "spedt_pHeight", 1, "pixel",
               "height in pixels; slides are scaled to it"),
        plain("background", &D::pBgColor, Kind::colour, "pnl_pBgColor",
              "background colour, #RRGGBB"),
        number("delay", &D::pDelay, "spnedt_pDelay", 0, {},
               "each picture shows 3 s + delay x 100 ms"),
        number("step", &D::pStep, "spnedt_pStep", 0, {}, "a fade takes step x 33 ms; 0: no fade"),
        number("border-width", &D::pContainerBorderWidth, "spnedt_pContainerBorderWidth", 0,
               "pixel", "border width in pixels"),
        plain("border-style", &D::pContainerBorderStyle, Kind::borderStyle,
              "cmbx_pContainerBorderStyle", "border style by name"),
        plain("border-color", &D::pContainerBorderColor, Kind::colour, "pnl_pContainerBorderColor",
              "border colour, #RRGGBB"),
        plain("local-root", &D::pInternalUse_RootDir_Local, Kind::text,
              "edtpInternalUse_RootDir_Local", "root folder of the site on this computer"),
        plain("web-root", &D::pInternalUse_RootDir_Remote, Kind::text,
              "edtpInternalUse_RootDir_Remote", "root address of the site on the web server"),
        {"convert-to", &D::pInternalUse_RootDir_Local_Checked, Kind::convertTo,
         "rdbtnpInternalUse_RootDir_Local_Checked", "rdbtnpInternalUse_RootDir_Local_Checked2", 0,
         0, "links are converted to the local or the web root: local|web"},
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
    for (int i = 0; i < borderStyleCount; ++i)
        names.push_back(BorderStyleName(std::to_string(i)));
    return names;
}

int numberOnPage(std::string_view stored)
{
    return parseDecimal(stored).value_or(0);
}

int borderStyleOnPage(std::string_view stored)
{
    return std::clamp(numberOnPage(stored), 0, borderStyleCount - 1);
}

ColorValue colourOnPage(std::string_view stored)
{
    try {
        return HexRGBToColor(stored);
    } catch (const VelloriaError &) {
        return 0xFFFFFF;
    }
}

std::optional<bool> convertsToLocalOnPage(std::string_view stored)
{
    if (stored == "1")
        return true;
    if (stored == "0")
        return false;
    return std::nullopt;
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

std::string numberRule(const ShowField &field, long long value)
{
    const std::string label(field.label());
    if (value < field.minimum)
        return label + " must be at least " + counted(field.minimum, field.unit);
    if (value > field.maximum)
        return label + " must be at most " + counted(field.maximum, field.unit);
    return {};
}

std::string numberRefusal(const ShowField &field, std::string_view stored)
{
    const std::optional<int> value = parseWholeNumber(stored);
    if (!value)
        return std::string(field.label()) + " must be a whole number, not '" + std::string(stored) +
               "'.";
    const std::string rule = numberRule(field, *value);
    return rule.empty() ? rule : rule + ", not " + std::string(stored) + ".";
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
        return "each picture shows " + seconds(3000 + std::max(0LL, 100LL * *number));
    if (field.field == &TAppletData::pStep)
        return *number > 0 ? "a fade takes " + seconds(33LL * *number) : "no fade";
    if (field.field == &TAppletData::pContainerBorderWidth && data.pContainerBorderStyle == "0")
        return "no border: style none";
    return field.kind == Kind::number ? "pixels" : "";
}
