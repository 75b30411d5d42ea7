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

void extractFields(std::string_view line, std::string *out, std::size_t count)
{
    std::size_t i = 0;
    for (; i < count; ++i) {
        const auto at = line.find(fieldSeparator);
        if (at == std::string_view::npos)
            break;
        out[i].assign(line.data(), at);
        line.remove_prefix(at + fieldSeparator.size());
    }
    for (; i < count; ++i)
        out[i].clear();
}
