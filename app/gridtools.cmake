# The data grid of the main window and the table its "do CSV" command exports.
target_sources(zf_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gridcsv.cpp ${CMAKE_CURRENT_LIST_DIR}/gridcsv.h)
target_sources(zf_app_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dbgrid.cpp ${CMAKE_CURRENT_LIST_DIR}/dbgrid.h)
