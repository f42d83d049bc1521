# Runs one test program as on a screen of another resolution: the prefix's LogPixels is set before
# the program starts (a process reads it once) and taken away afterwards, whatever the result.
#   -DEMULATOR=<wine-run> -DPROGRAM=<exe> -DDPI=<n> -DFILTER=<gtest filter>
cmake_minimum_required(VERSION 3.20)

set(key "HKCU\\Control Panel\\Desktop")
execute_process(COMMAND ${EMULATOR} reg add ${key} /v LogPixels /t REG_DWORD /d ${DPI} /f
                RESULT_VARIABLE set OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT set EQUAL 0)
  message(FATAL_ERROR "could not set LogPixels to ${DPI}: ${err}")
endif()
set(ENV{GTEST_FILTER} "${FILTER}")
set(ENV{TESSEL_EXPECTED_DPI} "${DPI}")
execute_process(COMMAND ${EMULATOR} ${PROGRAM} RESULT_VARIABLE rc)
execute_process(COMMAND ${EMULATOR} reg delete ${key} /v LogPixels /f RESULT_VARIABLE back OUTPUT_QUIET ERROR_QUIET)
if(NOT back EQUAL 0)
  message(FATAL_ERROR "could not take LogPixels away again: the prefix stays at ${DPI} dpi")
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} at ${DPI} dpi failed (${rc})")
endif()
