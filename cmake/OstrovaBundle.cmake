# Lays out Ostrova.app in the build tree as on a Mac:
#   Ostrova.app/Contents/Info.plist
#   Ostrova.app/Contents/Frameworks/libAuxiliary.so
#   Ostrova.app/Contents/Helpers/ostrova
# Deliverables built later add themselves with ostrova_bundle_add(TARGET DESTINATION).
set(OSTROVA_BUNDLE_DIR ${CMAKE_BINARY_DIR}/Ostrova.app)
set(OSTROVA_BUNDLE_IDENTIFIER com.qzt.ostrova)

add_custom_target(ostrova_bundle ALL)
configure_file(${CMAKE_SOURCE_DIR}/cmake/Info.plist.in ${OSTROVA_BUNDLE_DIR}/Contents/Info.plist @ONLY)
# The daemon's launchd job, pointing at the daemon of this bundle; the app corrects the path when
# the bundle is moved.
set(OSTROVA_DAEMON_IN_BUNDLE ${OSTROVA_BUNDLE_DIR}/Contents/MacOS/OstrovaDaemon)
configure_file(${CMAKE_SOURCE_DIR}/cmake/com.halvane.ostrova.plist.in
  ${OSTROVA_BUNDLE_DIR}/Contents/Resources/com.halvane.ostrova.plist @ONLY)
# The rights the daemon asks the system for; installed beside its job file.
configure_file(${CMAKE_SOURCE_DIR}/cmake/com.halvane.ostrova.policy
  ${OSTROVA_BUNDLE_DIR}/Contents/Resources/com.halvane.ostrova.policy COPYONLY)
set(OSTROVA_POLICY_FILE ${CMAKE_SOURCE_DIR}/cmake/com.halvane.ostrova.policy)

# Copies a built target into the bundle, relative to Contents/, after every build of it.
function(ostrova_bundle_add target destination)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${OSTROVA_BUNDLE_DIR}/Contents/${destination}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${OSTROVA_BUNDLE_DIR}/Contents/${destination}/
    VERBATIM)
  add_dependencies(ostrova_bundle ${target})
endfunction()
