# Makes the sample pages that samples/index.html shows, one folder per sample:
#   cmake -DCLI=<velloria-cli> -DMAKE_PHOTO=<make-photo> -DOUT=<samples folder>
#         -DLAYOUTS=<folder of page layouts> -DWORK=<scratch folder> -P MakeSamplePages.cmake
# Each sample is published by velloria-cli from pictures made by make-photo in the shape of
# its show. The code Velloria writes for pasting is then put, unchanged, into a page layout
# from LAYOUTS, as a designer pastes it into a page of their own: the samples show that it
# works. Projects are made fresh each time, so they always match the current generator.

set(border_style_names none dotted dashed solid double groove ridge inset window-inset outset)

function(html_escape text out)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\"" "&quot;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The show's settings, as `velloria-cli set` takes them: FIELD=VALUE words.
function(show_settings out name width height background delay step border)
    list(GET border 0 border_width)
    list(GET border 1 border_index)
    list(GET border 2 border_colour)
    list(GET border_style_names ${border_index} border_name)
    set(${out} name=${name} width=${width} height=${height} background=${background}
        delay=${delay} step=${step} border-width=${border_width} border-style=${border_name}
        border-color=${border_colour} PARENT_SCOPE)
endfunction()

# The code a designer pastes, as `velloria-cli publish --code-only` prints it: the marked
# scripts, then the div line as the last line.
function(split_pasted_code pasted code_out div_out)
    string(REGEX MATCH "([^\n]*)\n$" last "${pasted}")
    if(NOT CMAKE_MATCH_1 OR last STREQUAL pasted)
        message(FATAL_ERROR "velloria-cli printed no code to paste: ${pasted}")
    endif()
    string(LENGTH "${pasted}" length)
    string(LENGTH "${last}" last_length)
    math(EXPR code_length "${length} - ${last_length}")
    string(SUBSTRING "${pasted}" 0 ${code_length} code)
    set(${code_out} "${code}" PARENT_SCOPE)
    set(${div_out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Tenths of a second as "x.y s".
function(seconds tenths out)
    math(EXPR whole "${tenths} / 10")
    math(EXPR tenth "${tenths} % 10")
    set(${out} "${whole}.${tenth} s" PARENT_SCOPE)
endfunction()

# The settings of the "How this sample was made" section.
function(describe_settings out width height background delay step border photo_size)
    list(GET border 0 border_width)
    list(GET border 1 border_index)
    list(GET border 2 border_colour)
    list(GET border_style_names ${border_index} border_name)
    math(EXPR hold "30 + ${delay}")
    math(EXPR fade "(${step} * 33 + 50) / 100")
    seconds(${hold} hold)
    seconds(${fade} fade)
    list(JOIN photo_size " &times; " photo_size)
    set(text "<p>Made by the build with <code>velloria-cli</code> from pictures drawn by ")
    string(APPEND text "make-photo, our own picture generator. The settings, as on Velloria's ")
    string(APPEND text "Script page:</p>\n<dl class=\"settings\">\n")
    string(APPEND text "<dt>Size</dt><dd>${width} &times; ${height} pixels</dd>\n")
    string(APPEND text "<dt>Background</dt><dd>#${background}</dd>\n")
    string(APPEND text "<dt>Timing</dt><dd>delay ${delay}, step ${step}: each picture holds ")
    string(APPEND text "${hold}, then fades into the next in ${fade}</dd>\n")
    if(border_index EQUAL 0)
        string(APPEND text "<dt>Border</dt><dd>none</dd>\n")
    else()
        set(pixels pixels)
        if(border_width EQUAL 1)
            set(pixels pixel)
        endif()
        string(APPEND text "<dt>Border</dt><dd>${border_width} ${pixels}, ${border_name}, ")
        string(APPEND text "#${border_colour}</dd>\n")
    endif()
    string(APPEND text "<dt>Pictures</dt><dd>${photo_size} pixels, made by make-photo; ")
    string(APPEND text "Velloria scales them to the show's height</dd>\n</dl>\n")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The commands that made the sample, and the code pasted from Velloria's page.
function(describe_making out name settings slides code div)
    string(TOLOWER "${name}" project)
    list(JOIN settings " " settings)
    set(text "<p>The commands, one <code>add</code> per picture:</p>\n<pre><code>velloria-cli new ${project}.jfs\n")
    string(APPEND text "velloria-cli set ${project}.jfs ${settings}\n")
    foreach(slide IN LISTS slides)
        string(REPLACE "|" ";" slide "${slide}")
        list(GET slide 0 scene)
        list(GET slide 2 link)
        list(GET slide 3 tooltip)
        html_escape("${tooltip}" tooltip)
        string(APPEND text "velloria-cli add ${project}.jfs ${scene}.jpg --link \"${link}\" \\\n")
        string(APPEND text "    --target _self --tooltip \"${tooltip}\"\n")
    endforeach()
    string(APPEND text "velloria-cli publish ${project}.jfs --to ${project}</code></pre>\n")
    html_escape("${code}${div}" pasted)
    string(APPEND text "<p>The code from the page Velloria wrote, pasted into this one unchanged:</p>\n")
    string(APPEND text "<pre><code>${pasted}</code></pre>\n")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One sample: FOLDER NAME SIZE w h BACKGROUND RRGGBB DELAY n STEP n BORDER width style colour
# PHOTO_SIZE w h SLIDES "scene|seed|link|tooltip"... The page is LAYOUTS/<folder>.html with
# @PASTED_CODE@, @PASTED_DIV@ and @HOW_IT_WAS_MADE@ filled in, written as <folder>/index.html.
function(sample folder)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAME;BACKGROUND;DELAY;STEP"
        "SIZE;BORDER;PHOTO_SIZE;SLIDES")
    list(GET arg_SIZE 0 width)
    list(GET arg_SIZE 1 height)
    set(work "${WORK}/${folder}")
    set(project "${work}/${arg_NAME}.jfs")
    file(REMOVE_RECURSE "${work}")
    file(MAKE_DIRECTORY "${work}")
    execute_process(COMMAND "${CLI}" new --force "${project}" COMMAND_ERROR_IS_FATAL ANY)
    show_settings(fields ${arg_NAME} ${width} ${height} ${arg_BACKGROUND} ${arg_DELAY}
        ${arg_STEP} "${arg_BORDER}")
    execute_process(COMMAND "${CLI}" set "${project}" ${fields} COMMAND_ERROR_IS_FATAL ANY)
    foreach(slide IN LISTS arg_SLIDES)
        string(REPLACE "|" ";" slide "${slide}")
        list(GET slide 0 scene)
        list(GET slide 1 seed)
        list(GET slide 2 link)
        list(GET slide 3 tooltip)
        set(photo "${work}/${scene}-${seed}.jpg")
        execute_process(COMMAND "${MAKE_PHOTO}" "${photo}" ${arg_PHOTO_SIZE} --seed ${seed}
            --scene ${scene} COMMAND_ERROR_IS_FATAL ANY)
        execute_process(COMMAND "${CLI}" add "${project}" "${photo}" --link "${link}"
            --target _self --tooltip "${tooltip}" OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    set(site "${OUT}/${folder}")
    file(REMOVE_RECURSE "${site}")
    execute_process(COMMAND "${CLI}" publish "${project}" --to "${site}" --code-only
        OUTPUT_VARIABLE pasted COMMAND_ERROR_IS_FATAL ANY)

    split_pasted_code("${pasted}" code div)
    describe_settings(settings ${width} ${height} ${arg_BACKGROUND} ${arg_DELAY} ${arg_STEP}
        "${arg_BORDER}" "${arg_PHOTO_SIZE}")
    describe_making(making ${arg_NAME} "${fields}" "${arg_SLIDES}" "${code}" "${div}")
    file(READ "${LAYOUTS}/${folder}.html" page)
    foreach(placeholder PASTED_CODE PASTED_DIV HOW_IT_WAS_MADE)
        string(FIND "${page}" "@${placeholder}@" at)
        if(at LESS 0)
            message(FATAL_ERROR "${LAYOUTS}/${folder}.html: no @${placeholder}@")
        endif()
    endforeach()
    string(REPLACE "@PASTED_CODE@\n" "${code}" page "${page}")
    string(REPLACE "@PASTED_DIV@" "${div}" page "${page}")
    string(REPLACE "@HOW_IT_WAS_MADE@\n" "${settings}${making}" page "${page}")
    # The site needs the page, the three script files and the slides; the bare page, the
    # project (with this build's paths) and the report stay out of it.
    file(REMOVE "${site}/${arg_NAME}.html" "${site}/${arg_NAME}.jfs"
        "${site}/${arg_NAME}_PublishReport.txt")
    file(WRITE "${site}/index.html" "${page}")
    file(REMOVE_RECURSE "${work}")
endfunction()

# A wide banner across a site's header: 3:1 pictures, a slow hold and fade, no border.
sample(banner NAME Banner SIZE 960 320 BACKGROUND 14222E DELAY 20 STEP 45
    BORDER 0 0 000000 PHOTO_SIZE 1200 400
    SLIDES "harbour|3|#programme|The harbour at dusk"
           "dunes|2|#walks|The dunes at Saltmarsh Point"
           "tower|1|#town|The old town and its granary tower"
           "meadow|4|#walks|The marsh meadows in June")
# A framed photo in an article column: 3:2 pictures in a wide white mat.
sample(article NAME Article SIZE 600 400 BACKGROUND FFFFFF DELAY 10 STEP 30
    BORDER 10 3 FFFFFF PHOTO_SIZE 900 600
    SLIDES "meadow|12|#day-one|Day one: the meadows above Kerrow"
           "dunes|14|#day-two|Day two: sand and wind at Brannock Bay"
           "harbour|11|#day-three|Day three: evening in Polmere harbour"
           "tower|13|#day-four|Day four: the lighthouse road")
# A square box in a side column: square pictures, the default timing, a thin solid border.
sample(sidebox NAME Sidebox SIZE 240 240 BACKGROUND F4EFE6 DELAY 0 STEP 30
    BORDER 1 3 D8CFC0 PHOTO_SIZE 360 360
    SLIDES "tower|21|#rooms|The granary tower from the garden"
           "meadow|22|#walks|Morning on the hill path"
           "harbour|23|#harbour|The harbour, a short walk away"
           "dunes|24|#walks|The beach below the dunes")
# A small show in a strip across a page: small 4:3 pictures, a quick fade, a ridge frame.
sample(strip NAME Strip SIZE 200 150 BACKGROUND 2B2B2B DELAY 0 STEP 10
    BORDER 4 6 C9A227 PHOTO_SIZE 300 225
    SLIDES "dunes|31|#entries|Dunes after rain, by M. Okafor"
           "tower|32|#entries|Granary tower, by J. Lind"
           "harbour|33|#entries|Harbour lights, by A. Costa"
           "meadow|34|#entries|Hay meadow, by R. Patel"
           "dunes|35|#entries|Salt flats, by E. Novak")
