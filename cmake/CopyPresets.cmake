# cmake -DFROM=DIR -DTO=DIR -P CopyPresets.cmake: TO becomes a copy of the
# settings files in FROM (a native build's preset library).
file(GLOB presets "${FROM}/*.q9r")
if(NOT presets)
  message(FATAL_ERROR "No preset library in ${FROM}: build the native tree first "
                      "(ninja -C build/native), or set STELLANE_NATIVE_BUILD_DIR.")
endif()
file(GLOB stale "${TO}/*.q9r")
foreach(file IN LISTS stale)
  cmake_path(GET file FILENAME name)
  if(NOT EXISTS "${FROM}/${name}")
    file(REMOVE "${file}")
  endif()
endforeach()
file(COPY ${presets} DESTINATION "${TO}")
