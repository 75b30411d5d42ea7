#include "ExtractField.h"

std::string ExtractField(std::string_view line, int n)
{
    std::string_view field;
    for (int i = 0; i < n; ++i) {
        const auto at = line.find(fieldSeparator);
        if (at == std::string_view::npos)
            return {};
        field = line.substr(0, at);
        line.remove_prefix(at + fieldSeparator.size());
    }
    return std::string(field);
}
