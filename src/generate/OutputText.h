#pragma once

// The text of the files a slide show is published with: style sheet, configuration script,
// HTML page and publish report. Every line ends in CR LF. The values must have passed
// ProjectChecks: numbers are whole numbers and names are script identifiers.

#include "model/AppletRecords.h"

#include <string>

std::string styleSheetText(const TAppletData &data);
std::string configScriptText(const TAppletData &data, const TItemArray &items);
std::string htmlPageText(const TAppletData &data, const TStringArray &scriptFileNames);
std::string publishReportText(const TStringArray &scriptFileNames, const TItemArray &items);

// "<!-- saved from url=(0029)https://... -->": the length of the address in four digits.
std::string markOfTheWeb(std::string_view url);
