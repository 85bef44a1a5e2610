# Employee import from CSV: its logic joins the personnel library, its window the window library.
target_sources(zf_personnel PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/importcsv.cpp ${CMAKE_CURRENT_LIST_DIR}/importcsv.h
  ${CMAKE_CURRENT_LIST_DIR}/importgrid.cpp ${CMAKE_CURRENT_LIST_DIR}/importgrid.h
  ${CMAKE_CURRENT_LIST_DIR}/importemployees.cpp ${CMAKE_CURRENT_LIST_DIR}/importemployees.h)

if(NOT TARGET zf_personnel_ui)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_library(zf_personnel_ui STATIC)
  target_include_directories(zf_personnel_ui PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(zf_personnel_ui PUBLIC zf_personnel zf_data_ui Qt6::Widgets zf_common)
endif()
target_sources(zf_personnel_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/importwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/importwindow.h)
