#include "JpegErrorTrap.h"

#include <csetjmp>
#include <cstdio>
#include <jerror.h>
#include <type_traits>

static_assert(std::is_standard_layout_v<JpegErrorTrap>,
              "the error manager must sit at the start of the trap");

JpegErrorTrap::JpegErrorTrap() : m_manager{}
{
    jpeg_std_error(&m_manager);
    m_manager.error_exit = &JpegErrorTrap::onError;
    m_manager.emit_message = &JpegErrorTrap::onMessage;
}

bool JpegErrorTrap::isHarmlessWarning(int code)
{
    // Stray bytes between markers and unknown revision or transform codes are common in
    // files from cameras and editors that decode fine everywhere else.
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_BOGUS_ICC;
}

JpegErrorTrap *JpegErrorTrap::of(j_common_ptr info)
{
    return reinterpret_cast<JpegErrorTrap *>(info->err);
}

void JpegErrorTrap::onError(j_common_ptr info)
{
    of(info)->stop(info);
}

void JpegErrorTrap::onMessage(j_common_ptr info, int level)
{
    // Levels 0 and up are trace messages; -1 is a warning.
    if (level >= 0)
        return;
    JpegErrorTrap *trap = of(info);
    if (!isHarmlessWarning(trap->m_manager.msg_code)) {
        trap->stop(info);
    }
    ++trap->m_manager.num_warnings;
}

void JpegErrorTrap::refuse(j_common_ptr info, const char *reason)
{
    JpegErrorTrap *trap = of(info);
    trap->m_code = refusedCode;
    std::snprintf(trap->m_message, sizeof trap->m_message, "%s", reason);
    std::longjmp(trap->m_jump, 1);
}

void JpegErrorTrap::stop(j_common_ptr info)
{
    m_code = m_manager.msg_code;
    m_manager.format_message(info, m_message);
    std::longjmp(m_jump, 1);
}
