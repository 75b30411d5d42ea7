#pragma once

// The product's name, version and the maker's addresses, as every generated file shows
// them. Change them here and nowhere else.

#include <string_view>

namespace product {

inline constexpr std::string_view nameAndVersion = "Velloria 1.0";
inline constexpr std::string_view copyrightLine =
    "Copyright (C) 2026 The Velloria Developers. All rights reserved.";
inline constexpr std::string_view homePageUrl = "https://velloria.example.org/";
inline constexpr std::string_view productFamilyUrl = "https://velloria.example.org/products/";
inline constexpr std::string_view supportUrl = "https://velloria.example.org/support/";

} // namespace product
