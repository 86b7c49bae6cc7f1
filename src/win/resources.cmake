# The dialog templates (resources/dialogs/*.rc), embedded in the program as the text returned
# by win::embeddedDialogText(). Included by this directory's CMakeLists.txt, which adds
# WIN_RESOURCE_SOURCES to the window layer's sources.
file(GLOB WIN_DIALOG_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/dialogs/*.rc)
set(WIN_RESOURCE_SOURCES ${CMAKE_BINARY_DIR}/generated/dialog_data.cpp)
add_custom_command(
  OUTPUT ${WIN_RESOURCE_SOURCES}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${WIN_RESOURCE_SOURCES}
          -DSYMBOL=embeddedDialogText -DNAMESPACE=win -DINPUTS="${WIN_DIALOG_FILES}"
          -P ${CMAKE_SOURCE_DIR}/cmake/embed_text.cmake
  DEPENDS ${WIN_DIALOG_FILES} ${CMAKE_SOURCE_DIR}/cmake/embed_text.cmake
  COMMENT "Embedding the dialog templates")
