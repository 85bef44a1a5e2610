# Checks the built manual: cmake -DPDF=<file> -P check-pdf.cmake
# The file must exist, be a complete PDF (header and end marker), hold more than one page and
# name no font but DejaVu, so no Polish letter can have fallen back to another font.
if(NOT DEFINED PDF OR NOT EXISTS "${PDF}")
  message(FATAL_ERROR "manual PDF not found: ${PDF}")
endif()

file(SIZE "${PDF}" size)
if(size LESS 10000)
  message(FATAL_ERROR "manual PDF is too small (${size} bytes): ${PDF}")
endif()

# "%PDF-" in hexadecimal.
file(READ "${PDF}" header LIMIT 5 HEX)
if(NOT header STREQUAL "255044462d")
  message(FATAL_ERROR "not a PDF file (first bytes ${header}): ${PDF}")
endif()

math(EXPR tail_offset "${size} - 32")
file(READ "${PDF}" tail OFFSET ${tail_offset})
if(NOT tail MATCHES "%%EOF")
  message(FATAL_ERROR "PDF has no end marker, it may be cut short: ${PDF}")
endif()

# Page objects: "/Type /Page" but not the page tree "/Type /Pages".
file(STRINGS "${PDF}" pages REGEX "/Type[ ]*/Page([^s]|$)")
list(LENGTH pages page_count)
if(page_count LESS 2)
  message(FATAL_ERROR "manual PDF has ${page_count} page(s), expected more than one")
endif()

file(STRINGS "${PDF}" fonts REGEX "/BaseFont")
if(NOT fonts)
  message(FATAL_ERROR "manual PDF names no font")
endif()
foreach(font IN LISTS fonts)
  if(NOT font MATCHES "DejaVu")
    message(FATAL_ERROR "manual PDF uses a font other than DejaVu: ${font}")
  endif()
endforeach()

message(STATUS "manual PDF: ${page_count} pages, ${size} bytes")
