# Host-side readers of the PDFs that the export tests write under Wine into
# <build>/tests/artifacts/export; the multi-page report's pages stay there as PNGs.
find_package(Python3 COMPONENTS Interpreter)
if(TARGET velquist_export_tests AND Python3_Interpreter_FOUND)
    add_test(NAME export_pdf_check
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/pdf-check.py
                     ${CMAKE_CURRENT_BINARY_DIR}/artifacts/export)
    set_property(TEST export APPEND PROPERTY FIXTURES_SETUP export_pdf_files)
    set_tests_properties(export_pdf_check PROPERTIES
                         DEPENDS export FIXTURES_REQUIRED export_pdf_files TIMEOUT 300)
endif()
