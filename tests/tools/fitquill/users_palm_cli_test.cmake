# Users of a Palm Desktop folder: named by FITQUILL_PALM_ROOT, or by the setting, which wins.
include(${CMAKE_CURRENT_LIST_DIR}/fitquill_cli.cmake)
fq_sandbox()
fq_settings("Name=${WORK}/install/")
set(ENV{FITQUILL_PALM_ROOT} "${WORK}/palm")

fq_run(0 users add Ann)
fq_run(0 users add bob)
fq_run(1 users add ../x)
fq_expect_equal("${FQ_ERR}"
    "Could not add the user.  Make sure you are not inputting a duplicate name.\n" "unsafe name")
fq_run(1 users add Ann)
fq_run(0 users rename bob Zed)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Ann\nZed\n" "the Palm users in list order")
fq_expect_exists("${WORK}/palm/users.idx")
fq_expect_missing("${WORK}/install")

fq_run(0 demo --user Ann --days 2)
file(GLOB_RECURSE journals "${WORK}/palm/*/UserDB.ddb")
list(LENGTH journals count)
fq_expect_equal("${count}" "1" "Ann's journal in her Palm Desktop folder")
fq_run(0 users delete Ann)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Zed\n" "after the delete")
file(GLOB_RECURSE journals "${WORK}/palm/*/UserDB.ddb")
fq_expect_equal("${journals}" "" "the deleted user's journal")

# The setting names the folder before the environment does.
fq_settings("Name=${WORK}/install/" "PalmDesktop=${WORK}/palm2")
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "" "the setting's empty Palm Desktop folder")
fq_run(0 users add Eve)
fq_expect_exists("${WORK}/palm2/users.idx")
