#include "OutputText.h"

#include "TextEscaping.h"
#include "ValueFormatting.h"
#include "platform/ProductInfo.h"

#include <cstdio>
#include <set>

namespace {

class Lines
{
public:
    Lines &operator<<(std::string_view line)
    {
        m_text.append(line);
        m_text.append("\r\n");
        return *this;
    }
    // Lines that already end in CR LF.
    void append(std::string_view text) { m_text.append(text); }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

void headerBlock(Lines &lines)
{
    lines << "/*" << product::nameAndVersion << product::copyrightLine << product::productFamilyUrl
          << product::supportUrl << "*/";
}

std::string quoted(std::string_view value)
{
    return "'" + escapeScriptString(value) + "'";
}

// The slide at twice the size is a seventh element: runtimes that read six ignore it, so an
// old runtime beside a new script shows the slides as before.
std::string itemLine(const std::string &name, const TItemData &item, const std::string &sharp)
{
    return "CI" + name + "([" + quoted(item.IImageFileName) + "," + quoted(item.ILink) + "," +
           quoted(item.ITarget) + "," + quoted(item.IToolTip) + "," + item.IWidth + "," +
           item.IHeight + (sharp.empty() ? "" : "," + quoted(sharp)) + "]);";
}

const std::string &sharpOf(const TStringArray &sharpSlides, std::size_t item)
{
    static const std::string none;
    return item < sharpSlides.size() ? sharpSlides[item] : none;
}

std::string constructorLine(const TAppletData &d)
{
    return "new bPaf(" + quoted(d.pSliderName) + "," + quoted(d.pSliderDivID) + "," + d.pWidth +
           "," + d.pHeight + "," + quoted(d.pBgColor) + "," + d.pDelay + "," + d.pStep + "," +
           d.pConfigName + "," + d.pContainerBorderWidth + ");};";
}

const std::string ruleLine(77, '=');

} // namespace

std::string markOfTheWeb(std::string_view url)
{
    char length[8];
    std::snprintf(length, sizeof length, "%04zu", url.size());
    return "<!-- saved from url=(" + std::string(length) + ")" + std::string(url) + " -->";
}

std::string styleSheetText(const TAppletData &d)
{
    Lines lines;
    headerBlock(lines);
    lines << "#" + escapeCssIdentifier(d.pSliderDivID) + "{"
          << "BORDER:" + WithHash(d.pContainerBorderColor) + " " + WithPx(d.pContainerBorderWidth) +
                 " " + BorderStyleName(d.pContainerBorderStyle) + ";"
          << "}";
    return lines.take();
}

std::string configScriptText(const TAppletData &d, const TItemArray &items,
                             const TStringArray &sharpSlides)
{
    const std::string &n = d.pSliderName;
    Lines lines;
    headerBlock(lines);
    for (std::size_t i = 0; i < items.size(); ++i)
        lines << itemLine(n, items[i], sharpOf(sharpSlides, i));
    // No eval and no timer given as text: a page whose policy allows scripts from files only
    // (script-src 'self') would refuse both and never show the slides.
    lines << "function CI" + n + "(ipa){"
          << "if(!window." + n + "cfg){window." + n + "cfg=[];}"
          << n + "cfg[" + n + "cfg.length]=ipa;};"
          << "function Init" + n + "(){"
          << "if (!window.bkag){setTimeout(Init" + n + ",350);return;};" << constructorLine(d);
    // Without items nothing creates the array, and the constructor call would stop the
    // page's script with an undefined name: create it empty.
    if (items.empty())
        lines << "window." + d.pConfigName + "=window." + d.pConfigName + "||new Array();";
    lines << "Init" + n + "();";
    return lines.take();
}

CodeToPaste codeToPaste(const TAppletData &d, const TStringArray &files)
{
    Lines scripts;
    scripts << "<link href=\"./" + files[2] + "\" type=text/css rel=stylesheet>"
            << "<script language=\"javascript\" src=\"./" + files[0] + "\"></script>"
            << "<script language=\"javascript\" src=\"./" + files[1] + "\"></script>";
    Lines div;
    div << "<div id=\"" + escapeHtml(d.pSliderDivID) + "\" style=\"width:" + d.pWidth +
               "px;height:" + d.pHeight + "px;\"></div>";
    return {scripts.take(), div.take()};
}

std::string CodeToPaste::markedScripts() const
{
    return "<!-- BEGIN -->\r\n" + scripts + "<!-- END -->\r\n";
}

std::string htmlPageText(const TAppletData &d, const TStringArray &files)
{
    const CodeToPaste code = codeToPaste(d, files);
    Lines lines;
    lines << markOfTheWeb(product::homePageUrl) << "<html>"
          << "<head>"
          << "<title>Preview</title>"
          << "</head>"
          << "<body>"
          << ""
          << "<!-- " + std::string(product::nameAndVersion) + " -->"
          << "<!-- " + std::string(product::copyrightLine) + " -->"
          << "<!-- " + std::string(product::productFamilyUrl) + " -->"
          << "<!-- NOTE: Please insert these codes into <body> section of Web pages. -->";
    lines.append(code.markedScripts());
    lines << ""
          << "<!-- Please insert the <div> below to your Web page where you would -->"
          << "<!-- like to include the slideshow. -->";
    lines.append(code.div);
    lines << ""
          << "</body>"
          << "</html>";
    return lines.take();
}

std::string publishReportText(const TStringArray &files, const TItemArray &items,
                              const TStringArray &sharpSlides)
{
    Lines lines;
    lines << ruleLine
          << "This file includes a list of filename and you need to upload them to Web server"
          << "to get the script to work. All these files are saved into the same directory along"
          << "with the project file (*.jfs) as well as this file."
          << "" << ruleLine << ""
          << "[Script file(s)]:";
    for (const std::string &file : files)
        lines << "  " + file;
    lines << ""
          << "[Image File(s)]: They should be copied along with script files!";
    std::set<std::string> listed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].IImageFileName.empty())
            continue;
        for (const std::string &image : {items[i].IImageFileName, sharpOf(sharpSlides, i)})
            if (!image.empty() && listed.insert(image).second)
                lines << "  " + image;
    }
    lines << ""
          << "" << ruleLine << "End of Publish Report" << ruleLine;
    return lines.take();
}
