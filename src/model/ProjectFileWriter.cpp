#include "ProjectFileWriter.h"

#include "ExtractField.h"
#include "PageRules.h"
#include "ProgressScope.h"
#include "ProjectFileTags.h"
#include "platform/FileIO.h"
#include "platform/VelloriaError.h"

namespace {

constexpr std::string_view lineEnd = "\r\n";

// `where` builds the message's start only for a value that fails.
template <typename Record, typename Where> void checkRecord(const Record &record, Where where)
{
    for (std::size_t k = 0; k < Record::fieldCount; ++k)
        if (const char *reason = unstorableTextReason(record.*Record::fields[k]))
            throw ProjectValueError(where() + std::string(Record::fieldLabels[k]) + ": " + reason);
}

} // namespace

ProjectFileWriter::ProjectFileWriter(const TAppletData &parameters, const TItemArray &items,
                                     ProgressDisplay &progress)
    : m_parameters(parameters), m_items(items), m_progress(progress)
{}

void ProjectFileWriter::checkStorable(const TAppletData &parameters, const TItemArray &items)
{
    checkRecord(parameters, [] { return std::string("Slide show, "); });
    for (std::size_t i = 0; i < items.size(); ++i)
        checkRecord(items[i], [i] { return "Item " + std::to_string(i + 1) + ", "; });
}

void ProjectFileWriter::save(const std::filesystem::path &path)
{
    checkStorable(m_parameters, m_items);
    fileio::writeFileAtomically(path, text(), fileio::Durability::flushed, fileio::Links::follow);
}

std::string ProjectFileWriter::text()
{
    const int itemCount = static_cast<int>(m_items.size());
    ProgressScope scope(m_progress, "Saving Data ... ...", 9 * itemCount + 15);
    m_text.clear();
    std::size_t size = 512;
    for (const TItemData &item : m_items)
        for (auto field : TItemData::fields)
            size += (item.*field).size() + fieldSeparator.size();
    m_text.reserve(size + 2 * m_items.size());
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
