# Fails when an include under src/ runs upward, or when a file other than the platform layer
# includes a system header or asks for _WIN32. Run as: cmake -DSOURCE_DIR=<project>/src -P check_includes.cmake
#
# Folders from the ground up: core, job, ui, the subsystem header, the subsystems fiducial and
# booklet side by side (neither includes the other), sketch, the conversion that runs them
# all, then app and batch side by side.
# Inside a folder: logic, then model, then window (core, job, conversion and batch are logic). Logic
# includes logic of its own folder or of folders below. A model or window may use any logic,
# and of models and windows only its own folder's and the shared ones of ui: the app wires the
# windows together.
set(folder_rank_core 0)
set(folder_rank_job 1)
set(folder_rank_ui 2)
set(folder_rank_header 3)
set(folder_rank_fiducial 4)
set(folder_rank_booklet 4)
set(folder_rank_sketch 5)
set(folder_rank_conversion 6)
set(folder_rank_app 7)
set(folder_rank_batch 7)
set(level_logic 0)
set(level_model 1)
set(level_window 2)

# Sets <prefix>_folder, <prefix>_rank and <prefix>_level for a path relative to src/.
function(classify path prefix)
    string(REPLACE "/" ";" parts "${path}")
    list(GET parts 0 folder)
    set(level 0)
    list(LENGTH parts count)
    if(count GREATER 2)
        list(GET parts 1 sub)
        if(DEFINED level_${sub})
            set(level ${level_${sub}})
        endif()
    endif()
    set(${prefix}_folder "${folder}" PARENT_SCOPE)
    set(${prefix}_rank "${folder_rank_${folder}}" PARENT_SCOPE)
    set(${prefix}_level "${level}" PARENT_SCOPE)
endfunction()

set(system_headers "unistd\\.h|fcntl\\.h|windows\\.h|io\\.h|direct\\.h|share\\.h|sys/")
set(problems "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(source IN LISTS sources)
    classify("${source}" from)
    if(from_rank STREQUAL "")
        string(APPEND problems "  ${source}: folder '${from_folder}' has no place in the order\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" windows_only REGEX "_WIN32")
    if(windows_only AND NOT source MATCHES "/platform_")
        string(APPEND problems "  ${source}: _WIN32 outside the platform layer\n")
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "<(${system_headers})" AND NOT source MATCHES "^core/platform_")
            string(APPEND problems "  ${source}: system header outside the platform layer: ${line}\n")
        endif()
        if(NOT line MATCHES "\"([^\"]+)\"")
            continue()
        endif()
        set(target "${CMAKE_MATCH_1}")
        if(NOT target MATCHES "/")
            continue()
        endif()
        classify("${target}" to)
        if(to_rank STREQUAL "")
            string(APPEND problems "  ${source}: includes from no known folder: ${target}\n")
        elseif(from_level GREATER 0 AND to_level EQUAL 0 AND NOT to_folder STREQUAL "batch")
            # A model or window may use any logic.
        elseif(to_level GREATER from_level
               OR (to_level GREATER 0 AND NOT to_folder STREQUAL from_folder
                   AND NOT to_folder STREQUAL "ui" AND NOT from_folder STREQUAL "app")
               OR to_rank GREATER from_rank
               OR (to_rank EQUAL from_rank AND NOT to_folder STREQUAL from_folder))
            string(APPEND problems "  ${source}: includes against the layering: ${target}\n")
        endif()
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "Includes against the layering:\n${problems}")
endif()
