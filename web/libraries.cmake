# The web edition's libraries: SDL2 (its Web Audio output), libmikmod, libpng and zlib, built for
# WebAssembly from Debian's sources by scripts/web.sh into MURKO_WEB_DEPS.
set(MURKO_WEB_DEPS "" CACHE PATH "Folder holding the WebAssembly builds of the libraries")
if(NOT EXISTS ${MURKO_WEB_DEPS}/lib/libmikmod.a)
  message(FATAL_ERROR "MURKO_WEB_DEPS holds no WebAssembly libraries: build with scripts/web.sh")
endif()

# One library, under the name the desktop build finds it by.
function(murko_web_library target file)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${MURKO_WEB_DEPS}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES ${MURKO_WEB_DEPS}/include INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

murko_web_library(SDL2::SDL2 libSDL2.a)
murko_web_library(PkgConfig::MIKMOD libmikmod.a SDL2::SDL2)
murko_web_library(ZLIB::ZLIB libz.a)
murko_web_library(PNG::PNG libpng16.a ZLIB::ZLIB)
