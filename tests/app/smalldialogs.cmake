# Tip-of-the-day logic, and the small windows offscreen.
zf_add_gtest(test_tips SOURCES ${CMAKE_CURRENT_LIST_DIR}/tips_test.cpp LIBS zf_app)
# One case checks the tip file the build ships.
add_dependencies(test_tips zf_tip_file)

zf_add_qtest(test_smalldialogs
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/smalldialogs_test.cpp
  LIBS zf_app_ui)
