# Turns one scdoc page into roff, and a gzip copy of it for installing:
#   cmake -DSCDOC=... -DGZIP=... -DINPUT=x.1.scd -DOUTPUT=x.1 -DVERSION=... -P scdoc.cmake
# The version is put into the page's footer first.
get_filename_component(out_dir ${OUTPUT} DIRECTORY)
set(configured ${OUTPUT}.scd)
set(PROJECT_VERSION ${VERSION})
configure_file(${INPUT} ${configured} @ONLY)
execute_process(COMMAND ${SCDOC} INPUT_FILE ${configured} OUTPUT_FILE ${OUTPUT}.tmp
                ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "scdoc ${INPUT}: ${err}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
# -n: no name or time stamp in the archive, so the same page packs the same.
execute_process(COMMAND ${GZIP} -9 -n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gzip ${OUTPUT} failed")
endif()
