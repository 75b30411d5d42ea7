#pragma once

// Keeps the work a JPEG file can ask of the decoder in proportion to the file's size.
// Decoding costs time per block of the picture, not per byte of the file: a progressive
// scan visits every block of its components however few bytes it holds, so one tiny scan
// repeated thousands of times, or a picture whose declared size the file could never fill,
// would keep a publish busy for minutes. Real photos stay far inside every limit here:
// about 10 scans, and well under one block visit per byte of the file.
//
// libjpeg reads all scans of a progressive picture inside jpeg_start_decompress, calling
// its progress monitor as it goes; the monitor stops the read through the error trap.

#include "JpegErrorTrap.h"

#include <cstdint>
#include <string>

class JpegWorkLimit
{
public:
    static constexpr int maxScans = 100;

    JpegWorkLimit();
    JpegWorkLimit(const JpegWorkLimit &) = delete;
    JpegWorkLimit &operator=(const JpegWorkLimit &) = delete;

    // Why a picture whose header has been read declares more blocks than its file can hold;
    // empty when it does not.
    std::string declaredSizeRefusal(const jpeg_decompress_struct &info) const;
    // Watches the scans as libjpeg reads them from a file of fileBytes bytes. The limit must
    // live as long as the decompressor.
    void watch(jpeg_decompress_struct &info, std::uintmax_t fileBytes);

private:
    static void onProgress(j_common_ptr info);
    void countScan(j_decompress_ptr info);
    std::uint64_t maxBlockVisits() const;

    // First member, so that libjpeg's pointer to it leads back to the limit.
    jpeg_progress_mgr m_manager;
    std::uintmax_t m_fileBytes = 0;
    int m_scansSeen = 0;
    std::uint64_t m_blockVisits = 0;
};
