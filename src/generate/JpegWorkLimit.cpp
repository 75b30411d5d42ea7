#include "JpegWorkLimit.h"

#include <algorithm>
#include <type_traits>

static_assert(std::is_standard_layout_v<JpegWorkLimit>,
              "the progress manager must sit at the start of the limit");

namespace {

// With Huffman coding every block of a complete picture costs at least one bit, so a file
// holds at most 8 blocks per byte per component. Only arithmetic coding of flat areas or a
// file cut short leaves more; pictures below a megablock are cheap whatever their file.
constexpr std::uint64_t maxBlocksPerByte = 64;
constexpr std::uint64_t blocksAlwaysAllowed = std::uint64_t(1) << 20;

// A DC scan costs a bit per block, an AC scan of a flat area almost nothing: photos need
// one or two block visits per byte of their file, flat grey pictures about 25. 16 million
// visits take about a tenth of a second; files too small to earn that many still get them.
constexpr std::uint64_t maxBlockVisitsPerByte = 128;
constexpr std::uint64_t blockVisitsAlwaysAllowed = std::uint64_t(16) << 20;

std::uint64_t blocksOf(const jpeg_component_info &component)
{
    return std::uint64_t(component.width_in_blocks) * component.height_in_blocks;
}

} // namespace

JpegWorkLimit::JpegWorkLimit() : m_manager{}
{
    m_manager.progress_monitor = &JpegWorkLimit::onProgress;
}

std::string JpegWorkLimit::declaredSizeRefusal(const jpeg_decompress_struct &info) const
{
    std::uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += blocksOf(info.comp_info[c]);
    if (blocks <= blocksAlwaysAllowed || blocks <= maxBlocksPerByte * m_fileBytes)
        return {};
    return "the file is too small for the picture it declares (" +
           std::to_string(info.image_width) + " x " + std::to_string(info.image_height) +
           " pixels in " + std::to_string(m_fileBytes) + " bytes)";
}

void JpegWorkLimit::watch(jpeg_decompress_struct &info, std::uintmax_t fileBytes)
{
    m_fileBytes = fileBytes;
    info.progress = &m_manager;
}

void JpegWorkLimit::onProgress(j_common_ptr info)
{
    if (info->is_decompressor)
        reinterpret_cast<JpegWorkLimit *>(info->progress)
            ->countScan(reinterpret_cast<j_decompress_ptr>(info));
}

// Called many times per scan; counts each scan once, when it is first seen.
void JpegWorkLimit::countScan(j_decompress_ptr info)
{
    if (info->input_scan_number <= m_scansSeen)
        return;
    m_scansSeen = info->input_scan_number;
    if (m_scansSeen > maxScans) {
        static const std::string tooMany =
            "the picture has too many scans (more than " + std::to_string(maxScans) + ")";
        JpegErrorTrap::refuse(reinterpret_cast<j_common_ptr>(info), tooMany.c_str());
    }
    for (int c = 0; c < info->comps_in_scan; ++c)
        m_blockVisits += blocksOf(*info->cur_comp_info[c]);
    if (m_blockVisits > maxBlockVisits())
        JpegErrorTrap::refuse(reinterpret_cast<j_common_ptr>(info),
                              "its scans ask for far more decoding than the file's size "
                              "justifies");
}

std::uint64_t JpegWorkLimit::maxBlockVisits() const
{
    return std::max(blockVisitsAlwaysAllowed, maxBlockVisitsPerByte * m_fileBytes);
}
