# Copies the data folder beside the executable. "config.ini" is the user's
# once it is there: only a missing one is copied.
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*)
foreach(f IN LISTS files)
    if(f STREQUAL "config.ini" AND EXISTS ${DST}/config.ini)
        continue()
    endif()
    get_filename_component(dir ${DST}/${f} DIRECTORY)
    file(COPY ${SRC}/${f} DESTINATION ${dir})
endforeach()
