# Checks that a translation file is complete and up to date with the sources: lupdate, run over
# the sources into a copy of it, must change nothing, and no entry may be unfinished, vanished or
# obsolete.
#   cmake -DLUPDATE=... -DTS_FILE=... -DSOURCE_DIR=<src> -DWORK_DIR=... -P checktranslations.cmake
foreach(variable LUPDATE TS_FILE SOURCE_DIR WORK_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "checktranslations: ${variable} is not set")
  endif()
endforeach()
get_filename_component(name ${TS_FILE} NAME)
set(copy ${WORK_DIR}/${name})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY_FILE ${TS_FILE} ${copy})
execute_process(
  COMMAND ${LUPDATE} -I ${SOURCE_DIR} -no-obsolete -locations none
          ${SOURCE_DIR}/chrome ${SOURCE_DIR}/document ${SOURCE_DIR}/editor ${SOURCE_DIR}/shell -ts ${copy}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed:\n${output}")
endif()
file(READ ${copy} updated)
file(READ ${TS_FILE} original)
foreach(mark "type=\"unfinished\"" "type=\"vanished\"" "type=\"obsolete\"")
  string(FIND "${updated}" "${mark}" at)
  if(NOT at EQUAL -1)
    string(SUBSTRING "${updated}" ${at} 400 around)
    message(FATAL_ERROR "${name} has an entry marked ${mark} (run the update_translations target "
                        "and translate it):\n${around}")
  endif()
endforeach()
if(NOT updated STREQUAL original)
  message(FATAL_ERROR "${name} is not up to date with the sources; run the update_translations target:\n${output}")
endif()
message(STATUS "${name}: complete")
