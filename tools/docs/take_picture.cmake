# Takes a picture of Fitquill Desktop's main window showing one page, for the user guide:
#   cmake -DDESKTOP=program -DFITQUILL=tool -DWORK=folder -DPAGE=n -DOUTPUT=file.png -P ...
# Everything the programs touch lives in WORK: home, settings, users and the runtime folder.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home" "${WORK}/config/Quorvel" "${WORK}/data" "${WORK}/etc"
                    "${WORK}/run")
file(CHMOD "${WORK}/run" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{HOME} "${WORK}/home")
set(ENV{XDG_CONFIG_HOME} "${WORK}/config")
set(ENV{XDG_CONFIG_DIRS} "${WORK}/etc")
set(ENV{XDG_DATA_HOME} "${WORK}/data")
set(ENV{XDG_CACHE_HOME} "${WORK}/cache")
set(ENV{XDG_RUNTIME_DIR} "${WORK}/run")
set(ENV{FITQUILL_RUNTIME_DIR} "${WORK}/run")
set(ENV{FITQUILL_TODAY} "2024-03-15")
set(ENV{QT_QPA_PLATFORM} "offscreen")
# A picture, not a test: in sanitizer builds the leak check stays out of it.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
unset(ENV{FITQUILL_PALM_ROOT})
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
file(WRITE "${WORK}/config/Quorvel/Fitquill.conf"
     "[CurrentUser]\nName=Ann\n\n[WindowStates]\nCurrentTab=${PAGE}\n"
     "NormalPositionLeft=0\nNormalPositionTop=0\nNormalPositionRight=1120\n"
     "NormalPositionBottom=760\n")

execute_process(COMMAND "${FITQUILL}" demo --user Ann --days 60
                RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET TIMEOUT 60)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "fitquill demo failed (${status}): ${errors}")
endif()
file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${DESKTOP}" --screenshot "${OUTPUT}"
                RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET TIMEOUT 60)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "fitquill-desktop --screenshot failed (${status}): ${errors}")
endif()
file(REMOVE_RECURSE "${WORK}")
