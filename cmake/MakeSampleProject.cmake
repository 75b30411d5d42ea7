# Makes the sample project beside the installed sample photos, with their absolute paths:
#   cmake -DCLI=... -DOUT=.../sample.jfs -DPHOTOS=<folder> -P MakeSampleProject.cmake
# Each photo becomes one slide; its tooltip is its name.
file(GLOB photos "${PHOTOS}/*.jpg")
list(SORT photos)
set(temp "${OUT}.new")
execute_process(COMMAND "${CLI}" new --force "${temp}" COMMAND_ERROR_IS_FATAL ANY)
foreach(photo IN LISTS photos)
    get_filename_component(name "${photo}" NAME_WE)
    execute_process(COMMAND "${CLI}" add "${temp}" "${photo}"
        --link "https://example.org/${name}.html" --target _blank --tooltip "${name}"
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(RENAME "${temp}" "${OUT}")
