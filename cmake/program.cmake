# The program itself: one self-contained GUI exe at the build root, with its icon, version block
# and application manifest.
add_executable(Velquist WIN32 ${VELQUIST_ENTRY} ${PROJECT_SOURCE_DIR}/src/app/res/Velquist.rc)
target_link_libraries(Velquist PRIVATE velquist_app)
# The generator expression keeps multi-config generators from adding a per-configuration folder.
set_target_properties(Velquist PROPERTIES RUNTIME_OUTPUT_DIRECTORY $<1:${CMAKE_BINARY_DIR}>)
set_source_files_properties(${PROJECT_SOURCE_DIR}/src/app/res/Velquist.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/src/app/res/Velquist.ico;${PROJECT_SOURCE_DIR}/src/app/res/Velquist.manifest")
if(MINGW)
    target_link_options(Velquist PRIVATE -municode)
endif()
if(MSVC)
    # The manifest comes from the resource script; a second one from the linker would collide.
    target_link_options(Velquist PRIVATE /MANIFEST:NO)
endif()
