# Without an installation path setting the program's own users live in the account's data
# folder: two accounts (two homes) running one build each see only their own users, and the
# build tree's data folder receives none.
include(${CMAKE_CURRENT_LIST_DIR}/fitquill_cli.cmake)
fq_sandbox()
get_filename_component(build_data "${FITQUILL}/../../share/fitquill" ABSOLUTE)
file(GLOB build_users_before LIST_DIRECTORIES true "${build_data}/Fitquill/Desktop/Users/*")

unset(ENV{XDG_DATA_HOME})
file(MAKE_DIRECTORY "${WORK}/home2")
set(ENV{HOME} "${WORK}/home")
fq_run(0 users add Ann)
set(ENV{HOME} "${WORK}/home2")
fq_run(0 users add Bob)
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Bob\n" "the second account's users")
set(ENV{HOME} "${WORK}/home")
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "Ann\n" "the first account's users")
fq_expect_exists("${WORK}/home/.local/share/fitquill/Fitquill/Desktop/Users/Users.udb")
fq_expect_exists("${WORK}/home/.local/share/fitquill/Fitquill/Desktop/Users/Ann")
fq_expect_exists("${WORK}/home2/.local/share/fitquill/Fitquill/Desktop/Users/Bob")

# XDG_DATA_HOME moves them; the setting wins over both.
set(ENV{XDG_DATA_HOME} "${WORK}/data")
fq_run(0 users add Cleo)
fq_expect_exists("${WORK}/data/fitquill/Fitquill/Desktop/Users/Cleo")
fq_settings("Name=${WORK}/install/")
fq_run(0 users list)
fq_expect_equal("${FQ_OUT}" "" "the users below the set installation path")
fq_expect_exists("${WORK}/install/Fitquill/Desktop/Users/Users.udb")

file(GLOB build_users_after LIST_DIRECTORIES true "${build_data}/Fitquill/Desktop/Users/*")
fq_expect_equal("${build_users_after}" "${build_users_before}" "the build tree's users")
