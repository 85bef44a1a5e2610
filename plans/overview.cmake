# The plan overview and the leave editor: the logic (QtCore) ...
target_sources(zf_plans PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/overview.cpp ${CMAKE_CURRENT_LIST_DIR}/overview.h
  ${CMAKE_CURRENT_LIST_DIR}/editcalendar.cpp ${CMAKE_CURRENT_LIST_DIR}/editcalendar.h)
