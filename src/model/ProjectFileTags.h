#pragma once

// The fixed lines of a project file, shared by its writer and its reader.

#include <string_view>

namespace tags {

inline constexpr std::string_view warningOpen = "<Warning_Info>";
inline constexpr std::string_view warningLine1 =
    "Note: This file was created and maintained by Velloria 1.0.";
inline constexpr std::string_view warningLine2 =
    "Do not modify it or script project may not be opened again!";
inline constexpr std::string_view warningClose = "</Warning_Info>";
inline constexpr std::string_view productNameOpen = "<Product_Name>";
inline constexpr std::string_view productName = "Velloria";
inline constexpr std::string_view productNameClose = "</Product_Name>";
inline constexpr std::string_view productVersionOpen = "<Product_Version>";
inline constexpr std::string_view productVersion = "1.0";
inline constexpr std::string_view productVersionClose = "</Product_Version>";
inline constexpr std::string_view parametersOpen = "<Applet_Parameters>";
inline constexpr std::string_view parametersClose = "</Applet_Parameters>";
inline constexpr std::string_view itemsOpen = "<Item_Parameters>";
inline constexpr std::string_view itemsClose = "</Item_Parameters>";

} // namespace tags
