# The tests whose names match filter once more on two off-screen screens, of
# device pixel ratios 1 and 2 (see TwoScreens.h); in the other runs they are
# skipped.
function(ionpath_add_two_screen_run name filter)
  add_test(NAME ${name}.TwoScreens COMMAND ${name} --gtest_filter=${filter})
  set_tests_properties(${name}.TwoScreens PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_FUNCTION_LIST_DIR}/TwoScreens.json")
endfunction()
