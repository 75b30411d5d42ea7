// The generated files, line by line, and what happens to values that would break them.

#include "generate/OutputText.h"

#include "generate/ProjectChecks.h"
#include "generate/ShowField.h"
#include "generate/TextEscaping.h"
#include "model/TzybAppletAgent.h"
#include "platform/ProductInfo.h"
#include "platform/VelloriaError.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "every line, the last one too, ends in CR LF";
    return lines;
}

std::vector<std::string> slice(const std::vector<std::string> &lines, std::size_t from,
                               std::size_t to)
{
    return {lines.begin() + static_cast<long>(from - 1), lines.begin() + static_cast<long>(to)};
}

// The default project as the editor's pages store it.
TAppletData storedDefaults()
{
    TzybAppletAgent agent("/nonexistent");
    agent.SetDefaults();
    TAppletData d = agent.GetAppletData();
    d.pSliderDivID = "Velloria1_div";
    d.pConfigName = "Velloria1cfg";
    return d;
}

const TStringArray scripts{"velloria.js", "velloriacfg.js", "velloria.css"};

TEST(StyleSheet, opensWithTheHeaderAndStylesTheDiv)
{
    TAppletData d = storedDefaults();
    d.pContainerBorderStyle = "3";
    const auto lines = linesOf(styleSheetText(d));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(slice(lines, 1, 6),
              (std::vector<std::string>{"/*", "Velloria 1.0", std::string(product::copyrightLine),
                                        std::string(product::productFamilyUrl),
                                        std::string(product::supportUrl), "*/"}));
    EXPECT_EQ(slice(lines, 7, 9),
              (std::vector<std::string>{"#Velloria1_div{", "BORDER:#FFFF00 4px solid;", "}"}));
}

TEST(ConfigScript, matchesTheWorkedExample)
{
    TAppletData d = storedDefaults();
    d.pContainerBorderWidth = "0"; // style none, after the border rule
    TItemArray items{{"slider0.jpg", "/p/a.jpg", "page1.html", "_self", "", "160", "120", "0", ""}};
    const auto lines = linesOf(configScriptText(d, items));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "/*");
    EXPECT_EQ(slice(lines, 7, 14),
              (std::vector<std::string>{
                  "CIVelloria1(['slider0.jpg','page1.html','_self','',160,120]);",
                  "function CIVelloria1(ipa){", "if(!window.Velloria1cfg){window.Velloria1cfg=[];}",
                  "Velloria1cfg[Velloria1cfg.length]=ipa;};", "function InitVelloria1(){",
                  "if (!window.bkag){setTimeout(InitVelloria1,350);return;};",
                  "new bPaf('Velloria1','Velloria1_div',160,120,'FFFFFF',0,30,Velloria1cfg,0);};",
                  "InitVelloria1();"}));
}

TEST(ConfigScript, anEmptyListStillDefinesTheArray)
{
    const auto lines = linesOf(configScriptText(storedDefaults(), {}));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[6], "function CIVelloria1(ipa){");
    EXPECT_EQ(lines[12], "window.Velloria1cfg=window.Velloria1cfg||new Array();");
    EXPECT_EQ(lines[13], "InitVelloria1();");
}

TEST(ConfigScript, valuesThatWouldBreakTheirStringAreEscaped)
{
    TItemArray items{{"slider0.jpg", "", "a.html?q='x'\\y", "_self",
                      "It's </script><script>alert(1)</script>\r\nnext", "5", "", "0", ""}};
    const auto lines = linesOf(configScriptText(storedDefaults(), items));
    EXPECT_EQ(lines[6], "CIVelloria1(['slider0.jpg','a.html?q=\\'x\\'\\\\y','_self',"
                        "'It\\'s <\\/script><script>alert(1)<\\/script>\\r\\nnext',5,]);");
}

TEST(HtmlPage, isTheTwentyThreeLinePage)
{
    const auto lines = linesOf(htmlPageText(storedDefaults(), scripts));
    const std::string home(product::homePageUrl);
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  markOfTheWeb(home),
                  "<html>",
                  "<head>",
                  "<title>Preview</title>",
                  "</head>",
                  "<body>",
                  "",
                  "<!-- Velloria 1.0 -->",
                  "<!-- " + std::string(product::copyrightLine) + " -->",
                  "<!-- " + std::string(product::productFamilyUrl) + " -->",
                  "<!-- NOTE: Please insert these codes into <body> section of Web pages. -->",
                  "<!-- BEGIN -->",
                  "<link href=\"./velloria.css\" type=text/css rel=stylesheet>",
                  "<script language=\"javascript\" src=\"./velloria.js\"></script>",
                  "<script language=\"javascript\" src=\"./velloriacfg.js\"></script>",
                  "<!-- END -->",
                  "",
                  "<!-- Please insert the <div> below to your Web page where you would -->",
                  "<!-- like to include the slideshow. -->",
                  "<div id=\"Velloria1_div\" style=\"width:160px;height:120px;\"></div>",
                  "",
                  "</body>",
                  "</html>"}));
    EXPECT_EQ(markOfTheWeb("https://a.example/"),
              "<!-- saved from url=(0018)https://a.example/ -->");
}

TEST(HtmlPage, anOddElementIdStaysInsideItsAttributeAndSelector)
{
    TAppletData d = storedDefaults();
    d.pSliderDivID = "a\"><b>{x}";
    EXPECT_EQ(linesOf(htmlPageText(d, scripts))[19],
              "<div id=\"a&quot;&gt;&lt;b&gt;{x}\" style=\"width:160px;height:120px;\"></div>");
    EXPECT_EQ(linesOf(styleSheetText(d))[6], "#a\\\"\\>\\<b\\>\\{x\\}{");
    d.pSliderDivID = "1st show";
    EXPECT_EQ(linesOf(styleSheetText(d))[6], "#\\31 st\\ show{");
}

TEST(PublishReport, listsScriptsAndDistinctImages)
{
    TItemArray items(4);
    items[0].IImageFileName = "slider0.jpg";
    items[2].IImageFileName = "slider0.jpg";
    items[3].IImageFileName = "Slider0.jpg";
    const std::string rule(77, '=');
    EXPECT_EQ(linesOf(publishReportText(scripts, items)),
              (std::vector<std::string>{
                  rule,
                  "This file includes a list of filename and you need to upload them to Web server",
                  "to get the script to work. All these files are saved into the same directory "
                  "along",
                  "with the project file (*.jfs) as well as this file.",
                  "",
                  rule,
                  "",
                  "[Script file(s)]:",
                  "  velloria.js",
                  "  velloriacfg.js",
                  "  velloria.css",
                  "",
                  "[Image File(s)]: They should be copied along with script files!",
                  "  slider0.jpg",
                  "  Slider0.jpg",
                  "",
                  "",
                  rule,
                  "End of Publish Report",
                  rule}));
    const auto empty = linesOf(publishReportText(scripts, TItemArray(2)));
    EXPECT_EQ(empty[12], "[Image File(s)]: They should be copied along with script files!");
    EXPECT_EQ(empty[13], "");
    EXPECT_EQ(empty.size(), 18u);
}

TEST(Escaping, leavesPlainValuesAlone)
{
    for (const char *plain : {"", "Velloria1", "http://a.example/x?y=1&z=2", "<b> /"}) {
        EXPECT_EQ(escapeScriptString(plain), plain);
    }
    EXPECT_EQ(escapeHtml("Velloria1_div"), "Velloria1_div");
    EXPECT_EQ(escapeCssIdentifier("Velloria1_div"), "Velloria1_div");
    EXPECT_TRUE(isScriptIdentifier("$a_1"));
    for (const char *bad : {"", "1a", "a-b", "a b", "ä", "a'b"})
        EXPECT_FALSE(isScriptIdentifier(bad)) << bad;
}

// Characters beyond ASCII, as each written file spells them so that a page of any character
// set reads them alike; a value that is not UTF-8 reads as Windows-1252 and never ends early.
struct NonAscii
{
    const char *stored;
    const char *script;
    const char *html;
    const char *css;
};

TEST(Escaping, spellsCharactersBeyondAsciiAlikeInEveryCharacterSet)
{
    const NonAscii cases[] = {
        {"Square \xE2\x80\x93 caf\xC3\xA9", "Square \\u2013 caf\\u00e9", "Square &#8211; caf&#233;",
         "Square\\ \\2013 \\ caf\\e9 "},
        {"\xF0\x9F\x8C\x85!", "\\ud83c\\udf05!", "&#127749;!", "\\1f305 \\!"},
        {"a\xE2\x80\xA8"
         "b",
         "a\\u2028b", "a&#8232;b", "a\\2028 b"},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", "\\uffff\\udbff\\udfff", "&#65535;&#1114111;",
         "\\ffff \\10ffff "},
        // Not UTF-8, so Windows-1252 as a whole value: Latin-1 text, the range where
        // Windows-1252 differs from Latin-1 with a hole, a cut-short UTF-8 sequence before an
        // apostrophe, an overlong "/", a surrogate, a value that would be UTF-8 but for one byte.
        {"caf\xE9", "caf\\u00e9", "caf&#233;", "caf\\e9 "},
        {"\x80\x81\x9F", "\\u20ac\\ufffd\\u0178", "&#8364;&#65533;&#376;", "\\20ac \\fffd \\178 "},
        {"\xE2\x80'", "\\u00e2\\u20ac\\'", "&#226;&#8364;&#39;", "\\e2 \\20ac \\'"},
        {"\xC0\xAF", "\\u00c0\\u00af", "&#192;&#175;", "\\c0 \\af "},
        {"\xED\xA0\x80", "\\u00ed\\u00a0\\u20ac", "&#237;&#160;&#8364;", "\\ed \\a0 \\20ac "},
        {"\xC3\xA9\xE9", "\\u00c3\\u00a9\\u00e9", "&#195;&#169;&#233;", "\\c3 \\a9 \\e9 "},
    };
    for (const NonAscii &c : cases) {
        EXPECT_EQ(escapeScriptString(c.stored), c.script) << c.stored;
        EXPECT_EQ(escapeHtml(c.stored), c.html) << c.stored;
        EXPECT_EQ(escapeCssIdentifier(c.stored), c.css) << c.stored;
    }
}

TEST(Escaping, aNonAsciiElementIdReachesAllThreeFilesEscaped)
{
    TAppletData d = storedDefaults();
    d.pSliderDivID = "Caf\xC3\xA9_div";
    TItemArray items{
        {"slider0.jpg", "", "caf\xC3\xA9.html", "_self", "Caf\xC3\xA9", "5", "5", "0", ""}};
    EXPECT_EQ(linesOf(styleSheetText(d))[6], "#Caf\\e9 _div{");
    EXPECT_EQ(linesOf(htmlPageText(d, scripts))[19],
              "<div id=\"Caf&#233;_div\" style=\"width:160px;height:120px;\"></div>");
    const auto lines = linesOf(configScriptText(d, items));
    EXPECT_EQ(lines[6], "CIVelloria1(['slider0.jpg','caf\\u00e9.html','_self','Caf\\u00e9',5,5]);");
    EXPECT_EQ(lines[12],
              "new bPaf('Velloria1','Caf\\u00e9_div',160,120,'FFFFFF',0,30,Velloria1cfg,4);};");
}

struct Refusal
{
    std::string TAppletData::*field;
    const char *value;
    const char *message;
};

class ParameterCheck : public ::testing::TestWithParam<Refusal>
{};

TEST_P(ParameterCheck, namesTheFieldAndTheReason)
{
    TAppletData d = storedDefaults();
    d.pContainerBorderStyle = "3"; // a width only counts with a border
    d.*GetParam().field = GetParam().value;
    try {
        checkParametersForBuild(d);
        FAIL() << "accepted " << GetParam().value;
    } catch (const VelloriaError &e) {
        EXPECT_EQ(std::string(e.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    OutputText, ParameterCheck,
    ::testing::Values(
        Refusal{&TAppletData::pHeight, "0", "Height must be at least 1 pixel, not 0."},
        Refusal{&TAppletData::pHeight, "-120", "Height must be at least 1 pixel, not -120."},
        Refusal{&TAppletData::pWidth, "12px", "Width must be a whole number, not '12px'."},
        Refusal{&TAppletData::pDelay, "", "Delay must be a whole number, not ''."},
        Refusal{&TAppletData::pDelay, "+5", "Delay must be a whole number, not '+5'."},
        Refusal{&TAppletData::pWidth, "+-5", "Width must be a whole number, not '+-5'."},
        Refusal{&TAppletData::pStep, "1e3", "Step must be a whole number, not '1e3'."},
        Refusal{&TAppletData::pContainerBorderWidth, "4);alert(1",
                "Border Width must be a whole number, not '4);alert(1'."},
        Refusal{&TAppletData::pContainerBorderStyle, "x",
                "Border Style must be a whole number, not 'x'."},
        Refusal{&TAppletData::pSliderName, "My Show",
                "Name 'My Show' can't name the slide show in a web page: use only letters A-Z "
                "and a-z, digits, \"_\" and \"$\", and don't start with a digit."},
        Refusal{&TAppletData::pConfigName, "x;alert(1)",
                "Array Name 'x;alert(1)' can't name the slide show in a web page: use only "
                "letters A-Z and a-z, digits, \"_\" and \"$\", and don't start with a digit."},
        Refusal{&TAppletData::pBgColor, "FFF",
                "Background Color must be a colour of six hexadecimal digits RRGGBB, not 'FFF'."},
        Refusal{&TAppletData::pContainerBorderColor, "red;}",
                "Border Color must be a colour of six hexadecimal digits RRGGBB, not 'red;}'."}));

// The spin edits' bounds are the build's: each number is taken at both ends of its field's
// range and refused one past either, in the page's words. The bounds are written out here so
// that a table entry changed by mistake fails.
struct NumberEdges
{
    std::string TAppletData::*field;
    int lowest, highest;
    const char *below, *above;
};

class BuildBounds : public ::testing::TestWithParam<NumberEdges>
{
protected:
    static std::string refusalOf(std::string TAppletData::*field, int value)
    {
        TAppletData d = storedDefaults();
        d.pContainerBorderStyle = "3";
        d.*field = std::to_string(value);
        try {
            checkParametersForBuild(d);
            return "accepted";
        } catch (const VelloriaError &e) {
            return e.what();
        }
    }
};

TEST_P(BuildBounds, theSpinEditsRangeIsWhatTheBuildTakes)
{
    const NumberEdges &edges = GetParam();
    const auto &fields = showFields();
    const auto field = std::find_if(fields.begin(), fields.end(),
                                    [&](const ShowField &f) { return f.field == edges.field; });
    ASSERT_NE(field, fields.end());
    EXPECT_EQ(field->minimum, edges.lowest);
    EXPECT_EQ(field->maximum, edges.highest);
    EXPECT_EQ(refusalOf(edges.field, edges.lowest), "accepted");
    EXPECT_EQ(refusalOf(edges.field, edges.highest), "accepted");
    EXPECT_EQ(refusalOf(edges.field, edges.lowest - 1), edges.below);
    EXPECT_EQ(refusalOf(edges.field, edges.highest + 1), edges.above);
}

INSTANTIATE_TEST_SUITE_P(
    OutputText, BuildBounds,
    ::testing::Values(
        NumberEdges{&TAppletData::pWidth, 1, 9999, "Width must be at least 1 pixel, not 0.",
                    "Width must be at most 9999 pixels, not 10000."},
        NumberEdges{&TAppletData::pHeight, 1, 9999, "Height must be at least 1 pixel, not 0.",
                    "Height must be at most 9999 pixels, not 10000."},
        NumberEdges{&TAppletData::pDelay, 0, 9999, "Delay must be at least 0, not -1.",
                    "Delay must be at most 9999, not 10000."},
        NumberEdges{&TAppletData::pStep, 0, 9999, "Step must be at least 0, not -1.",
                    "Step must be at most 9999, not 10000."},
        NumberEdges{&TAppletData::pContainerBorderWidth, 0, 9999,
                    "Border Width must be at least 0 pixels, not -1.",
                    "Border Width must be at most 9999 pixels, not 10000."}));

} // namespace
