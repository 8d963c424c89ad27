# The release artefacts under Wine, in the test prefix: scripts/test makes
# them with scripts/package after the Windows build and before the tests.
if(NULLVANE_WINDOWS)
    add_test(NAME package
             COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/wine-package-test.sh
                     ${CMAKE_SOURCE_DIR}/dist ${CMAKE_SOURCE_DIR}/docs/help ${CMAKE_BINARY_DIR}
                     ${CMAKE_SOURCE_DIR}/packaging/Nullvane.wxs)
    set_tests_properties(package PROPERTIES TIMEOUT 600)
    # The real end of the session ends every windowed program of the prefix:
    # it runs after the window tests.
    add_test(NAME session_end COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win/session-end.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(session_end PROPERTIES TIMEOUT 180 DEPENDS win)
endif()
