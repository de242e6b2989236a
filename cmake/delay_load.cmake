# Libraries the programs load only when they first call into them. A second
# start hands its folder to the running instance, and the launcher does the
# same for the shell or starts Quorlen, before they call into any of them: they
# start without the time the window, shell, COM and common-controls libraries
# take to load (under Wine, loading the window library connects to the display).
#
# MinGW's linker delay-loads through an import library made from a list of the
# functions used (cmake/delayload/NAME.def); a function missing from the list
# is simply imported the ordinary way, through the library's own import
# library, which comes after on the link line. Visual C++ takes /DELAYLOAD.
set(QUORLEN_DELAY_LOADED user32 gdi32 comctl32 shell32 ole32 oleaut32 shlwapi dwmapi version)

if(MINGW)
  string(REGEX REPLACE "g\\+\\+(-posix)?$" "dlltool" QUORLEN_DLLTOOL_GUESS "${CMAKE_CXX_COMPILER}")
  find_program(QUORLEN_DLLTOOL NAMES "${QUORLEN_DLLTOOL_GUESS}" x86_64-w64-mingw32-dlltool dlltool REQUIRED)
  set(QUORLEN_DELAY_LIBRARIES)
  foreach(library IN LISTS QUORLEN_DELAY_LOADED)
    set(definition ${CMAKE_SOURCE_DIR}/cmake/delayload/${library}.def)
    set(archive ${CMAKE_BINARY_DIR}/delayload/lib${library}_delay.a)
    add_custom_command(OUTPUT ${archive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
      COMMAND ${QUORLEN_DLLTOOL} --input-def ${definition} --dllname ${library}.dll --output-delaylib ${archive}
      DEPENDS ${definition}
      COMMENT "Delay-load import library for ${library}.dll")
    list(APPEND QUORLEN_DELAY_LIBRARIES ${archive})
  endforeach()
  add_custom_target(quorlen_delay_libraries DEPENDS ${QUORLEN_DELAY_LIBRARIES})
endif()

# Links the target's calls into the delay-loaded libraries through their delay
# import libraries; they must come before the libraries' own import libraries.
function(quorlen_delay_load target)
  if(MINGW)
    add_dependencies(${target} quorlen_delay_libraries)
    target_link_libraries(${target} PRIVATE ${QUORLEN_DELAY_LIBRARIES} delayimp)
  elseif(MSVC)
    foreach(library IN LISTS QUORLEN_DELAY_LOADED)
      target_link_options(${target} PRIVATE /DELAYLOAD:${library}.dll)
    endforeach()
    target_link_libraries(${target} PRIVATE delayimp)
  endif()
endfunction()
