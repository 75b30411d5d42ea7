#include "ProjectFileWriter.h"

#include "ExtractField.h"
#include "ProgressScope.h"
#include "ProjectFileTags.h"
#include "VelloriaError.h"
#include "platform/FileIO.h"

namespace {

constexpr std::string_view lineEnd = "\r\n";

// The format has no escape: a separator would split the value into two fields and a line
// break would split the line, shifting everything after it.
void checkValue(const std::string &value, std::string_view field, const std::string &where)
{
    const std::string prefix = where + "field " + std::string(field) + ": ";
    if (value.find(fieldSeparator) != std::string::npos)
        throw VelloriaError(prefix + "The text can't include \"#$@\", it is used by system!");
    if (value.find_first_of("\r\n") != std::string::npos)
        throw VelloriaError(prefix + "The text can't include a line break, the project file keeps "
                                     "each record on one line.");
}

template <typename Record> void checkRecord(const Record &record, const std::string &where)
{
    for (std::size_t k = 0; k < Record::fieldCount; ++k)
        checkValue(record.*Record::fields[k], Record::fieldNames[k], where);
}

} // namespace

ProjectFileWriter::ProjectFileWriter(const TAppletData &parameters, const TItemArray &items,
                                     ProgressDisplay &progress)
    : m_parameters(parameters), m_items(items), m_progress(progress)
{}

void ProjectFileWriter::checkStorable(const TAppletData &parameters, const TItemArray &items)
{
    checkRecord(parameters, "Slide show ");
    for (std::size_t i = 0; i < items.size(); ++i)
        checkRecord(items[i], "Item " + std::to_string(i + 1) + ", ");
}

void ProjectFileWriter::save(const std::filesystem::path &path)
{
    checkStorable(m_parameters, m_items);
    fileio::writeFileAtomically(path, text());
}

std::string ProjectFileWriter::text()
{
    const int itemCount = static_cast<int>(m_items.size());
    ProgressScope scope(m_progress, "Saving Data ... ...", 9 * itemCount + 15);
    m_text.clear();
    m_text.reserve(512 + m_items.size() * 128);
    for (auto line : {tags::warningOpen, tags::warningLine1, tags::warningLine2, tags::warningClose,
                      tags::productNameOpen, tags::productName, tags::productNameClose,
                      tags::productVersionOpen, tags::productVersion, tags::productVersionClose})
        appendLine(line);
    m_progress.advance(10);
    appendLine(tags::parametersOpen);
    appendRecordLine(m_parameters, 0);
    appendLine(tags::parametersClose);
    m_progress.advance(5);
    appendLine(tags::itemsOpen);
    for (const TItemData &item : m_items)
        appendRecordLine(item, 1);
    appendLine(tags::itemsClose);
    return std::move(m_text);
}

void ProjectFileWriter::appendLine(std::string_view line)
{
    m_text.append(line);
    m_text.append(lineEnd);
}

template <typename Record>
void ProjectFileWriter::appendRecordLine(const Record &record, int stepPerField)
{
    for (auto field : Record::fields) {
        m_text.append(record.*field);
        m_text.append(fieldSeparator);
        if (stepPerField)
            m_progress.advance(stepPerField);
    }
    m_text.append(lineEnd);
}
