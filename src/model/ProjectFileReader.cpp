#include "ProjectFileReader.h"

#include "ExtractField.h"
#include "ProjectFileTags.h"

#include <array>

namespace {

template <typename Record> Record recordFromLine(std::string_view line)
{
    std::array<std::string, Record::fieldCount> values;
    extractFields(line, values.data(), values.size());
    Record record;
    for (std::size_t k = 0; k < Record::fieldCount; ++k)
        record.*Record::fields[k] = std::move(values[k]);
    return record;
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
        return m_content;
    nextLine();
    if (!skipTo(tags::productNameOpen) || atEnd())
        return m_content;
    if (nextLine() != tags::productName) {
        m_content.end = End::Foreign;
        return m_content;
    }
    // The version is not checked: a file of any version with our product name reads alike.
    if (!skipFromNextLineTo(tags::productVersionOpen) || atEnd())
        return m_content;
    nextLine();
    if (!skipFromNextLineTo(tags::parametersOpen) || atEnd())
        return m_content;
    m_content.parameters = recordFromLine<TAppletData>(nextLine());
    m_content.end = End::BeforeItemSection;
    // The parameter line itself may be the item tag: the search starts on it.
    if (!skipTo(tags::itemsOpen))
        return m_content;
    readItems();
    return m_content;
}

void ProjectFileReader::readItems()
{
    m_progress.showStatus("Loading Data ... ...");
    m_progress.setBusy(true);
    m_content.end = ProjectFileContent::End::InsideItemSection;
    if (atEnd())
        return;
    nextLine();
    while (m_line != tags::itemsClose) {
        // Every line of the section is an item, an empty one included.
        m_content.items.push_back(recordFromLine<TItemData>(m_line));
        if (atEnd())
            return;
        nextLine();
    }
    m_content.end = ProjectFileContent::End::Complete;
}
