# Run by `cmake --install`: the sample projects name their photos by absolute path, and the
# build made them beside the build's copy of the photos; the installed ones name the
# installed photos. VELLORIA_BUILT_SAMPLES and VELLORIA_DATA_DIR are set by the install rules.
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT IS_ABSOLUTE "${prefix}")
    get_filename_component(prefix "${prefix}" ABSOLUTE)
endif()
set(installed "${prefix}/${VELLORIA_DATA_DIR}/samples")
file(GLOB_RECURSE projects "$ENV{DESTDIR}${installed}/*.jfs")
foreach(project IN LISTS projects)
    file(READ "${project}" text)
    string(REPLACE "${VELLORIA_BUILT_SAMPLES}/photos/" "${installed}/photos/" text "${text}")
    file(WRITE "${project}" "${text}")
endforeach()
