# The plan overview and the leave editor: the logic (QtCore) ...
target_sources(zf_plans PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overview.cpp ${CMAKE_CURRENT_LIST_DIR}/overview.h
  ${CMAKE_CURRENT_LIST_DIR}/editcalendar.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendar.h
  ${CMAKE_CURRENT_LIST_DIR}/staffing.cpp ${CMAKE_CURRENT_LIST_DIR}/staffing.h
  ${CMAKE_CURRENT_LIST_DIR}/icalendar.cpp ${CMAKE_CURRENT_LIST_DIR}/icalendar.h)

# ... and the windows: the painted grid, the overview and the leave editor.
target_sources(zf_plans_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overviewgrid.cpp ${CMAKE_CURRENT_LIST_DIR}/overviewgrid.h
  ${CMAKE_CURRENT_LIST_DIR}/overviewwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/overviewwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/editcalendarwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendarwindow.h)
