# Run by `cmake --install`: the sample project names its photos by absolute path, and the
# build made it beside the build's copy of the photos; the installed one names the installed
# photos. VELLORIA_BUILT_SAMPLES and VELLORIA_DATA_DIR are set by the install rules.
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${prefix}")
    get_filename_component(prefix "${prefix}" ABSOLUTE)
endif()
set(installed "${prefix}/${VELLORIA_DATA_DIR}/samples")
set(project "$ENV{DESTDIR}${installed}/sample.jfs")
if(EXISTS "${project}")
    file(READ "${project}" text)
    string(REPLACE "${VELLORIA_BUILT_SAMPLES}/photos/" "${installed}/photos/" text "${text}")
    file(WRITE "${project}" "${text}")
endif()
