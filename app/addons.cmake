# Add-on tools: running the "D&odatki" slots and installing add-ons from ".ppi" descriptions.
# The slots themselves (app/toolslots.*) are built with the application shell.
target_sources(zf_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/addons.cpp ${CMAKE_CURRENT_LIST_DIR}/addons.h)
