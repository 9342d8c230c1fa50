# cmake -DFROM=<dir> -DTO=<dir> -P CopyMissing.cmake
# Copies the files of FROM that TO lacks; files already in TO (the user's own
# edits, a call list) are left alone.
file(MAKE_DIRECTORY ${TO})
file(GLOB _files ${FROM}/*)
foreach(_f ${_files})
  get_filename_component(_n ${_f} NAME)
  if(NOT EXISTS ${TO}/${_n})
    file(COPY ${_f} DESTINATION ${TO})
  endif()
endforeach()
