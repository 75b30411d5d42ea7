#include "ProjectFileReader.h"

#include "ExtractField.h"
#include "ProjectFileTags.h"

#include <algorithm>

namespace {

// Each field goes straight into its member: the same as ExtractField for fields 1 to count.
template <typename Record> void fillFromLine(Record &record, std::string_view line)
{
    std::size_t k = 0;
    for (; k < Record::fieldCount; ++k) {
        const auto at = line.find(fieldSeparator);
        if (at == std::string_view::npos)
            break;
        (record.*Record::fields[k]).assign(line.data(), at);
        line.remove_prefix(at + fieldSeparator.size());
    }
    for (; k < Record::fieldCount; ++k)
        (record.*Record::fields[k]).clear();
}

} // namespace

ProjectFileReader::ProjectFileReader(std::string_view text, ProgressDisplay &progress)
    : m_rest(text), m_progress(progress)
{}

std::string_view ProjectFileReader::nextLine()
{
    const auto end = m_rest.find('\n');
    m_line = m_rest.substr(0, end);
    m_rest.remove_prefix(end == std::string_view::npos ? m_rest.size() : end + 1);
    if (!m_line.empty() && m_line.back() == '\r')
        m_line.remove_suffix(1);
    return m_line;
}

// Moves on until the current line is the tag; false at the end of the text.
bool ProjectFileReader::skipTo(std::string_view tag)
{
    while (m_line != tag) {
        if (atEnd())
            return false;
        nextLine();
    }
    return true;
}

bool ProjectFileReader::skipFromNextLineTo(std::string_view tag)
{
    if (atEnd())
        return false;
    nextLine();
    return skipTo(tag);
}

ProjectFileContent ProjectFileReader::read()
{
    using End = ProjectFileContent::End;
    if (atEnd())
        return std::move(m_content);
    nextLine();
    if (!skipTo(tags::productNameOpen) || atEnd())
        return std::move(m_content);
    if (nextLine() != tags::productName) {
        m_content.end = End::Foreign;
        return std::move(m_content);
    }
    // The version is not checked: a file of any version with our product name reads alike.
    if (!skipFromNextLineTo(tags::productVersionOpen) || atEnd())
        return std::move(m_content);
    nextLine();
    if (!skipFromNextLineTo(tags::parametersOpen) || atEnd())
        return std::move(m_content);
    fillFromLine(m_content.parameters.emplace(), nextLine());
    m_content.end = End::BeforeItemSection;
    // The parameter line itself may be the item tag: the search starts on it.
    if (!skipTo(tags::itemsOpen))
        return std::move(m_content);
    readItems();
    return std::move(m_content);
}

void ProjectFileReader::readItems()
{
    m_progress.showStatus("Loading Data ... ...");
    m_progress.setBusy(true);
    m_content.end = ProjectFileContent::End::InsideItemSection;
    if (atEnd())
        return;
    // One item per line up to the closing tag: reserving spares the list its regrowth.
    const std::string_view section = m_rest.substr(0, m_rest.find(tags::itemsClose));
    m_content.items.reserve(
        static_cast<std::size_t>(std::count(section.begin(), section.end(), '\n')));
    nextLine();
    while (m_line != tags::itemsClose) {
        // Every line of the section is an item, an empty one included.
        fillFromLine(m_content.items.emplace_back(), m_line);
        if (atEnd())
            return;
        nextLine();
    }
    m_content.end = ProjectFileContent::End::Complete;
}
