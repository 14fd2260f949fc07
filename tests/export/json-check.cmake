# Host-side reader of the JSON and text files that the export tests write under Wine
# into <build>/tests/artifacts/export.
find_package(Python3 COMPONENTS Interpreter)
if(TARGET velquist_export_tests AND Python3_Interpreter_FOUND)
    add_test(NAME export_json_check
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/json-check.py
                     ${CMAKE_CURRENT_BINARY_DIR}/artifacts/export)
    # APPEND: other host checks hang their own fixtures on the same test entry.
    set_property(TEST export APPEND PROPERTY FIXTURES_SETUP export_text_files)
    set_tests_properties(export_json_check PROPERTIES
                         DEPENDS export FIXTURES_REQUIRED export_text_files TIMEOUT 120)
endif()
