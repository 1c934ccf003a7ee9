# Removes every file the last `cmake --install` listed in its manifest
# (cmake -DMANIFEST=<build>/install_manifest.txt -P uninstall.cmake).
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing (install first).")
endif()
file(STRINGS "${MANIFEST}" files)
foreach(f ${files})
  if(EXISTS "${f}" OR IS_SYMLINK "${f}")
    message(STATUS "Removing ${f}")
    file(REMOVE "${f}")
  endif()
endforeach()
