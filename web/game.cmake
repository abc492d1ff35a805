# The web edition's program: the same layers as the desktop's, the browser's host and its entry,
# linked into murko.js and murko.wasm with the data (Graph/ and Sound/, made by the native tools
# into MURKO_WEB_DATA) packed into murko.data for the virtual file system's /murko/.
set(MURKO_WEB_DATA "" CACHE PATH "Folder holding the Graph and Sound folders the native tools made")

add_executable(murko app/web_main.cpp ${WEB_SOURCES})
set_property(TARGET murko APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/platform/web_host.js)
target_link_libraries(murko PRIVATE murko_shell)
target_link_options(murko PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createMurko -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sINVOKE_RUN=0
  -sEXPORTED_RUNTIME_METHODS=[FS,IDBFS,callMain,ccall]
  -sEXPORTED_FUNCTIONS=[_main,_WebButton,_WebStick,_WebReleaseAll,_WebTap,_WebTyped,_WebTakesText,_WebDumpState,_WebPause,_WebLookedAway,_WebSuspend]
  --js-library=${CMAKE_SOURCE_DIR}/platform/web_host.js -lidbfs.js
  --exclude-file=*.built
  --preload-file=${MURKO_WEB_DATA}/Graph@/murko/Graph
  --preload-file=${MURKO_WEB_DATA}/Sound@/murko/Sound)
