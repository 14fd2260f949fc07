# Checks of the built program: it must start on a bare Windows, so it may import system DLLs only.
# Included by the test tree it registers the checks; run with -P it performs the import check.
if(CMAKE_SCRIPT_MODE_FILE)
    cmake_minimum_required(VERSION 3.20)
    execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "objdump failed on ${PROGRAM}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
    if(NOT imports)
        message(FATAL_ERROR "no imports found in ${PROGRAM}")
    endif()
    set(system_dlls kernel32 user32 gdi32 comctl32 comdlg32 uxtheme dwmapi ole32 oleaut32 advapi32 dxgi msvcrt shell32
                    version)
    foreach(line ${imports})
        string(REGEX REPLACE "DLL Name: *" "" dll "${line}")
        string(TOLOWER "${dll}" dll)
        string(REGEX REPLACE "\\.dll$" "" base "${dll}")
        if(NOT base IN_LIST system_dlls AND NOT base MATCHES "^api-ms-win-")
            message(FATAL_ERROR "Velquist.exe imports ${dll}, which is not part of Windows")
        endif()
        message(STATUS "import: ${dll}")
    endforeach()
    return()
endif()

if(TARGET Velquist)
    find_program(VELQUIST_OBJDUMP NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-objdump x86_64-w64-mingw32-objdump)
    if(VELQUIST_OBJDUMP)
        add_test(NAME app_system_imports
                 COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${VELQUIST_OBJDUMP} -DPROGRAM=$<TARGET_FILE:Velquist>
                         -P ${CMAKE_CURRENT_LIST_FILE})
    endif()
    # The window tests start the program itself. Under Wine they find it beside tests/; a native
    # build, whose test exe may sit in a per-configuration folder, names it.
    add_dependencies(velquist_app_tests Velquist)
    if(NOT CMAKE_CROSSCOMPILING)
        set_property(TEST app APPEND PROPERTY ENVIRONMENT "VELQUIST_EXE=$<TARGET_FILE:Velquist>")
    endif()
endif()
