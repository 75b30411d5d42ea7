#pragma once

// The text of the files a slide show is published with: style sheet, configuration script,
// HTML page and publish report. Every line ends in CR LF. The values must have passed
// ProjectChecks: numbers are whole numbers and names are script identifiers.

#include "model/AppletRecords.h"

#include <string>

std::string styleSheetText(const TAppletData &data);
// sharpSlides: per item, the name of its slide at twice the size, or empty when it has none.
std::string configScriptText(const TAppletData &data, const TItemArray &items,
                             const TStringArray &sharpSlides = {});
std::string htmlPageText(const TAppletData &data, const TStringArray &scriptFileNames);

// The code a designer pastes into a page of their own, as the HTML page holds it. The page,
// velloria-cli and the sample pages all take it from here, so they cannot come to differ.
struct CodeToPaste
{
    std::string scripts; // what loads the show, for the <body>
    std::string div;     // the one line where the show appears

    // The scripts between the BEGIN and END comments that mark them in the page, so that a
    // designer finds the pasted code again to replace it.
    std::string markedScripts() const;
};
CodeToPaste codeToPaste(const TAppletData &data, const TStringArray &scriptFileNames);

// Each slide at twice the size is listed right after its slide.
std::string publishReportText(const TStringArray &scriptFileNames, const TItemArray &items,
                              const TStringArray &sharpSlides = {});

// "<!-- saved from url=(0029)https://... -->": the length of the address in four digits.
std::string markOfTheWeb(std::string_view url);
