if(LIBRARIES MATCHES "Widgets")
  message(FATAL_ERROR "velmora_core links Qt Widgets: ${LIBRARIES}")
endif()
message(STATUS "velmora_core links no widgets")
