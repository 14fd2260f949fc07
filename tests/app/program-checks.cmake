# Checks of the built program on the host: it must start on a bare Windows, so it may import system
# DLLs only, and it carries its icons, version block and manifest.
# Included by the test tree this file registers the checks; run with -P and CHECK it performs one.
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.20)
    if(CHECK STREQUAL "imports")
        execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "objdump failed on ${PROGRAM}")
        endif()
        string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
        if(NOT imports)
            message(FATAL_ERROR "no imports found in ${PROGRAM}")
        endif()
        set(system_dlls kernel32 user32 gdi32 comctl32 comdlg32 uxtheme dwmapi ole32 oleaut32 advapi32 dxgi msvcrt
                        shell32 version)
        foreach(line ${imports})
            string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
            string(TOLOWER "${dll}" dll)
            string(REGEX REPLACE "\\.dll$" "" base "${dll}")
            if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-")
                message(FATAL_ERROR "Velquist.exe imports ${dll}, which is not part of Windows")
            endif()
            message(STATUS "import: ${dll}")
        endforeach()
    elseif(CHECK STREQUAL "resources")
        # windres writes the program's resources back as a script; the version texts must have
        # kept their dash, which a wrong code page would have broken.
        execute_process(COMMAND ${WINDRES} -i ${PROGRAM} -O rc OUTPUT_VARIABLE script RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "windres cannot read the resources of ${PROGRAM}")
        endif()
        string(REGEX MATCHALL "[0-9]+ 3 /\\* RT_ICON \\*/" icons "${script}")
        list(LENGTH icons iconCount)
        string(REGEX MATCHALL "24 /\\* RT_MANIFEST \\*/" manifests "${script}")
        list(LENGTH manifests manifestCount)
        set(failures "")
        if(NOT iconCount EQUAL 7)
            string(APPEND failures " ${iconCount} icon images instead of 7;")
        endif()
        if(NOT manifestCount EQUAL 1)
            string(APPEND failures " ${manifestCount} manifests instead of 1;")
        endif()
        foreach(expected "101 14 /* RT_GROUP_ICON */" "102, \"Velquist\"" "FILEVERSION 1, 4, 1, 0"
                         "PRODUCTVERSION 1, 4, 1, 0" "BLOCK \"040704B0\""
                         "VALUE \"FileDescription\", L\"Velquist \\x2013 Windows-Hardwareanalyse\""
                         "VALUE \"FileVersion\", \"1.4.1\"" "VALUE \"ProductName\", \"Velquist\""
                         "VALUE \"Translation\", 0x407, 1200")
            string(FIND "${script}" "${expected}" at)
            if(at EQUAL -1)
                string(APPEND failures " missing ${expected};")
            endif()
        endforeach()
        file(STRINGS ${PROGRAM} manifestLines REGEX "Orvenna\\.Velquist|PerMonitorV2|SegmentHeap|asInvoker")
        list(LENGTH manifestLines manifestLineCount)
        if(manifestLineCount LESS 4)
            string(APPEND failures " manifest text incomplete: ${manifestLines};")
        endif()
        if(failures)
            message(FATAL_ERROR "Resources of ${PROGRAM}:${failures}")
        endif()
    endif()
    return()
endif()

if(TARGET Velquist)
    find_program(VELQUIST_OBJDUMP NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-objdump x86_64-w64-mingw32-objdump)
    if(VELQUIST_OBJDUMP)
        add_test(NAME app_system_imports
                 COMMAND ${CMAKE_COMMAND} -DCHECK=imports -DOBJDUMP=${VELQUIST_OBJDUMP}
                         -DPROGRAM=$<TARGET_FILE:Velquist> -P ${CMAKE_CURRENT_LIST_FILE})
    endif()
    if(CMAKE_RC_COMPILER MATCHES "windres")
        add_test(NAME app_resources
                 COMMAND ${CMAKE_COMMAND} -DCHECK=resources -DWINDRES=${CMAKE_RC_COMPILER}
                         -DPROGRAM=$<TARGET_FILE:Velquist> -P ${CMAKE_CURRENT_LIST_FILE})
    endif()
    # The window tests start the program itself. Under Wine they find it beside tests/; a native
    # build, whose test exe may sit in a per-configuration folder, names it.
    add_dependencies(velquist_app_tests Velquist)
    if(NOT CMAKE_CROSSCOMPILING)
        set_property(TEST app APPEND PROPERTY ENVIRONMENT "VELQUIST_EXE=$<TARGET_FILE:Velquist>")
    endif()
endif()
