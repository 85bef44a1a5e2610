# Plan configuration, the folder chooser and the entitlement windows.
target_sources(zf_plans PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/entitlement.h
  ${CMAKE_CURRENT_LIST_DIR}/planconfig.cpp ${CMAKE_CURRENT_LIST_DIR}/planconfig.h)

# The windows; the text fields refuse what Windows-1250 cannot hold with the personnel
# windows' validator.
target_sources(zf_plans_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/daysspinedit.cpp ${CMAKE_CURRENT_LIST_DIR}/daysspinedit.h
  ${CMAKE_CURRENT_LIST_DIR}/editholidaydays.cpp ${CMAKE_CURRENT_LIST_DIR}/editholidaydays.h
  ${CMAKE_CURRENT_LIST_DIR}/batchedit.cpp ${CMAKE_CURRENT_LIST_DIR}/batchedit.h
  ${CMAKE_CURRENT_LIST_DIR}/selectdir.cpp ${CMAKE_CURRENT_LIST_DIR}/selectdir.h
  ${CMAKE_CURRENT_LIST_DIR}/planconfigwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/planconfigwindow.h)
target_link_libraries(zf_plans_ui PUBLIC zf_personnel_ui)
