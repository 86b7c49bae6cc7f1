# The subsystems whose screens the program offers. Each subsystem's library registers its
# screens with the screen framework when the program starts (screens/registry.h); the
# program and the tests that open screens link every subsystem whole, so that no
# registration is left out and the shell never names a subsystem.
function(configura_subsystem name)
  set_property(GLOBAL APPEND PROPERTY CONFIGURA_SUBSYSTEMS ${name})
endfunction()

function(configura_link_subsystems target)
  get_property(subsystems GLOBAL PROPERTY CONFIGURA_SUBSYSTEMS)
  list(JOIN subsystems "," listed)
  target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${listed}>")
endfunction()
