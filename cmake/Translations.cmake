# The translations kept in translations/*.ts, made from today's sources by
# lupdate: every text of src/ in tr() or translate(), without line numbers so a
# moved line changes nothing.
#   MODE=update  rewrites the .ts files (make translations), then a translator
#                fills in the new texts (Qt Linguist, or by hand)
#   MODE=check   fails when a .ts is not what lupdate makes of the sources, or
#                holds a text without a finished translation (make test)
# cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<tree> -DWORK=<scratch dir> -DMODE=... -P Translations.cmake
file(GLOB TS_FILES ${SOURCE_DIR}/translations/*.ts)
if(NOT TS_FILES)
  message(FATAL_ERROR "no translations in ${SOURCE_DIR}/translations")
endif()
file(MAKE_DIRECTORY ${WORK})
set(FAILED "")
foreach(ts ${TS_FILES})
  get_filename_component(name ${ts} NAME)
  set(target ${ts})
  if(MODE STREQUAL "check")
    set(target ${WORK}/${name})
    configure_file(${ts} ${target} COPYONLY)
  endif()
  execute_process(COMMAND ${LUPDATE} -silent -locations none -no-obsolete ${SOURCE_DIR}/src -ts ${target}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "lupdate failed on ${name}")
  endif()
  if(MODE STREQUAL "check")
    file(READ ${ts} committed)
    file(READ ${target} fresh)
    if(NOT committed STREQUAL fresh)
      list(APPEND FAILED "${name} is not up to date with the sources: run make translations and translate what is new")
    endif()
    # Each unfinished text, named by its source.
    string(REGEX MATCHALL "<source>[^<]*</source>[^<]*(<comment>[^<]*</comment>[^<]*)?<translation type=\"unfinished\""
           unfinished "${fresh}")
    foreach(u ${unfinished})
      string(REGEX REPLACE "<source>([^<]*)</source>.*" "\\1" text "${u}")
      list(APPEND FAILED "${name}: no finished translation of \"${text}\"")
    endforeach()
  endif()
endforeach()
if(FAILED)
  list(JOIN FAILED "\n" report)
  message(FATAL_ERROR "${report}")
endif()
