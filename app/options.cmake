# Program options and the passwords of the program's users.
target_sources(zf_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/options.cpp ${CMAKE_CURRENT_LIST_DIR}/options.h)
target_sources(zf_app_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/optionswindow.cpp ${CMAKE_CURRENT_LIST_DIR}/optionswindow.h)
