# The plan overview and the leave editor: the logic on a real embedded database ...
zf_add_gtest(test_plans_overview
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/overview_test.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendar_test.cpp ${CMAKE_CURRENT_LIST_DIR}/overview_seed.h
  LIBS zf_plans zf_testsupport_db)
add_dependencies(test_plans_overview zf_schema_scripts)

# Staffing thresholds and the calendar export; the export's files are read back by Python's
# icalendar package (python3-icalendar).
zf_add_gtest(test_plans_staffing
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/staffing_test.cpp ${CMAKE_CURRENT_LIST_DIR}/icalendar_test.cpp ${CMAKE_CURRENT_LIST_DIR}/overview_seed.h
  LIBS zf_plans zf_testsupport_db)
add_dependencies(test_plans_staffing zf_schema_scripts)

# The Labour Code's leave rules against hand-counted plans, and from the overview's load.
zf_add_gtest(test_plans_laborcode
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/laborcode_test.cpp ${CMAKE_CURRENT_LIST_DIR}/overview_seed.h
  LIBS zf_plans zf_testsupport_db)
add_dependencies(test_plans_laborcode zf_schema_scripts)

# ... and the windows offscreen.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
zf_add_qtest(test_plans_overview_windows
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/overview_windows_test.cpp
  LIBS zf_plans_ui)
add_dependencies(test_plans_overview_windows zf_schema_scripts)
