# Checks that run on the host (readers of exported files, checks of the built exe):
# each subsystem's test folder may add its own in a *.cmake file.
file(GLOB velquist_host_checks CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/*.cmake)
foreach(check ${velquist_host_checks})
    include(${check})
endforeach()
