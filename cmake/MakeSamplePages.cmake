# Publishes the sample slide shows that samples/index.html links to, one folder per show:
#   cmake -DCLI=... -DOUT=<samples folder> -DPHOTOS=<folder> -P MakeSamplePages.cmake
# Each show differs in size, border, colours and timing, so the samples show what the
# parameters do. Projects are made fresh each time: they always match the current generator.

# Parameter line of a project: name, div id, width, height, background, delay, step, config
# name, border width, border style (0 none ... 6 ridge ... 9 outset), border colour, roots, flag.
function(publish_sample folder name width height background delay step border_width
         border_style border_color)
    set(project "${OUT}/${name}.jfs")
    execute_process(COMMAND "${CLI}" new --force "${project}" COMMAND_ERROR_IS_FATAL ANY)
    # The parameter line is the one between <Applet_Parameters> and its end tag.
    file(READ "${project}" text)
    string(FIND "${text}" "<Applet_Parameters>" start)
    string(FIND "${text}" "</Applet_Parameters>" end)
    math(EXPR start "${start} + 19")
    string(SUBSTRING "${text}" 0 ${start} head)
    string(SUBSTRING "${text}" ${end} -1 tail)
    set(line "${name}#$@${name}_div#$@${width}#$@${height}#$@${background}#$@${delay}#$@")
    string(APPEND line "${step}#$@${name}cfg#$@${border_width}#$@${border_style}#$@")
    string(APPEND line "${border_color}#$@#$@#$@1#$@")
    set(text "${head}\r\n${line}\r\n${tail}")
    file(WRITE "${project}" "${text}")
    foreach(scene IN LISTS ARGN)
        execute_process(COMMAND "${CLI}" add "${project}" "${PHOTOS}/${scene}.jpg"
            --link "https://example.org/${scene}.html" --target _blank --tooltip "${scene}"
            COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    file(REMOVE_RECURSE "${OUT}/${folder}")
    execute_process(COMMAND "${CLI}" publish "${project}" --to "${OUT}/${folder}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE "${project}")
endfunction()

# The defaults: 3 s hold, 1 s fade, a thin solid frame.
publish_sample(classic Classic 320 240 FFFFFF 0 30 2 3 333333 harbour meadow dunes tower)
# A wide banner: slow, 5 s hold and 1.5 s fade, double frame on black.
publish_sample(banner Banner 480 160 000000 20 45 6 4 996633 dunes harbour tower)
# A small thumbnail with a quick fade and a ridge frame.
publish_sample(thumbnail Thumbnail 160 120 FFEECC 0 10 8 6 CC3300 meadow tower harbour)
# Narrower than its pictures, which are centred and clipped; a long 2 s fade.
publish_sample(portrait Portrait 200 300 E8F0FF 10 60 3 2 0066CC tower dunes meadow harbour)
