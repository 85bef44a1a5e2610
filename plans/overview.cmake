# The Labour Code's leave rules: pure functions (QtCore, no data layer) shared by the office's
# overview and editor and by the employees' zefirant-plan, which must not carry the database.
add_library(zf_laborcode STATIC
  ${CMAKE_CURRENT_LIST_DIR}/laborcode.cpp ${CMAKE_CURRENT_LIST_DIR}/laborcode.h)
target_include_directories(zf_laborcode PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zf_laborcode PUBLIC zf_util Qt6::Core zf_common)

# The plan overview and the leave editor: the logic (QtCore) ...
target_sources(zf_plans PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overview.cpp ${CMAKE_CURRENT_LIST_DIR}/overview.h
  ${CMAKE_CURRENT_LIST_DIR}/overviewlaborcode.cpp ${CMAKE_CURRENT_LIST_DIR}/overviewlaborcode.h
  ${CMAKE_CURRENT_LIST_DIR}/editcalendar.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendar.h
  ${CMAKE_CURRENT_LIST_DIR}/staffing.cpp ${CMAKE_CURRENT_LIST_DIR}/staffing.h
  ${CMAKE_CURRENT_LIST_DIR}/icalendar.cpp ${CMAKE_CURRENT_LIST_DIR}/icalendar.h)
target_link_libraries(zf_plans PUBLIC zf_laborcode)

# ... and the windows: the painted grid, the overview and the leave editor.
target_sources(zf_plans_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overviewgrid.cpp ${CMAKE_CURRENT_LIST_DIR}/overviewgrid.h
  ${CMAKE_CURRENT_LIST_DIR}/overviewwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/overviewwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/editcalendarwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendarwindow.h)
