#pragma once

// libjpeg reports errors by calling back and expects the callback never to return. Throwing
// a C++ exception through libjpeg's C frames is not safe, so the callback jumps back to
// run(), which sits right around the libjpeg calls and reports the failure as false. Steps
// given to run() must keep no object with a destructor alive: the jump skips their frames.
//
// Warnings about damaged data (premature end of file, bad Huffman codes, lost sync) stop
// the run as errors, so a damaged or truncated picture fails at the first sign of damage
// instead of being decoded into grey filler.

#include <csetjmp>
#include <cstddef>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

class JpegErrorTrap
{
public:
    JpegErrorTrap();
    JpegErrorTrap(const JpegErrorTrap &) = delete;
    JpegErrorTrap &operator=(const JpegErrorTrap &) = delete;

    jpeg_error_mgr *manager() { return &m_manager; }

    template <typename Step> bool run(Step step)
    {
        if (setjmp(m_jump) != 0)
            return false;
        step();
        return true;
    }

    // libjpeg's code and text of the message that stopped the last failed run.
    int code() const { return m_code; }
    const char *message() const { return m_message; }

    // Warnings that say nothing about the picture being damaged.
    static bool isHarmlessWarning(int code);

    // Code of a run stopped by refuse(); message() is then the reason given.
    static constexpr int refusedCode = -1;
    // Stops the current run from inside a libjpeg callback (the progress monitor, say) for a
    // reason of our own, as libjpeg's own errors do.
    [[noreturn]] static void refuse(j_common_ptr info, const char *reason);

private:
    static JpegErrorTrap *of(j_common_ptr info);
    [[noreturn]] static void onError(j_common_ptr info);
    static void onMessage(j_common_ptr info, int level);
    [[noreturn]] void stop(j_common_ptr info);

    // First member, so that libjpeg's pointer to it leads back to the trap.
    jpeg_error_mgr m_manager;
    std::jmp_buf m_jump;
    int m_code = 0;
    char m_message[JMSG_LENGTH_MAX] = {};
};
